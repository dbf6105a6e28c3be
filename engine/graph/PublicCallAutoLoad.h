// Loading the group a public call targets when no group offers its public channel: at once from
// the file the call names, or in the background through the outside loader channel.
#pragma once

#include "PublicCallInfo.h"

class Vlt_Channel;

class PublicCallAutoLoad {
 public:
  // The caller must be a public call with its record; both outlive this object.
  PublicCallAutoLoad(Vlt_Channel* caller, PublicCallInfo* record);

  // Loads the target group from its file under the call's pool name. True when the group was
  // loaded, so that the caller looks for its public channel again. False without a file to load,
  // when the group is there already but lacks the channel, or when the load fails; the last two
  // are reported and switch auto-loading off for this call.
  bool LoadTargetGroup();

  // Asks the outside loader channel to load the target group in the background. True when a
  // load was started. An existing group without the channel, a missing loader or a refused load
  // is reported and switches dynamic loading off for this call.
  bool StartBackgroundLoad();

 private:
  // The target's file resolved against the caller's group file; false when targetPath is too
  // short to name a file or the caller's group has no file name.
  bool ResolveTargetPath();
  void ReportMissingChannel();
  void Report(const char* text);

  Vlt_Channel* caller_;
  PublicCallInfo* record_;
  char completePath_[260];
};
