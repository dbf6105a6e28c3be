// Loading a public call's target group from the file the call names.
#include "PublicCallAutoLoad.h"

#include <string>

#include "BaseChannelTypes.h"
#include "EngineInterface.h"
#include "FilePathFind.h"
#include "Vco_BackgroundLoaderChannel.h"
#include "Vlt_Channel.h"
#include "Vlt_ChannelGroup.h"
#include "foundation/OutsideSlotCall.h"
#include "graph/GraphText.h"

namespace {

OUTSIDE_SLOT_CALL void TellAutoLoadPoolName(Vlt_Channel* loader, const char* poolName) {
  static_cast<Vco_BackgroundLoaderChannel*>(loader)->SetAutoLoadPoolName(poolName);
}

OUTSIDE_SLOT_CALL bool LoadInBackground(Vlt_Channel* loader, const char* path,
                                        const char* poolName) {
  return static_cast<Vco_BackgroundLoaderChannel*>(loader)->LoadGroupInBackground(path, poolName);
}

std::string Text(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

PublicCallAutoLoad::PublicCallAutoLoad(Vlt_Channel* caller, PublicCallInfo* record)
    : caller_(caller), record_(record) {
  completePath_[0] = '\0';
}

bool PublicCallAutoLoad::ResolveTargetPath() {
  if (record_->targetPath[0] == '\0' || record_->targetPath[1] == '\0') return false;
  Vlt_ChannelGroup* group = caller_->GetChannelGroup();
  const char* groupFile = group != nullptr ? group->GetChannelGroupFileName() : nullptr;
  if (groupFile == nullptr || groupFile[0] == '\0') return false;
  FilePathFind paths;
  paths.SetSourcePath(groupFile);
  vgraph::CopyBounded(completePath_, sizeof(completePath_),
                      paths.GetCompleteFilePath(record_->targetPath));
  return completePath_[0] != '\0';
}

void PublicCallAutoLoad::Report(const char* text) {
  if (caller_->engine != nullptr) caller_->engine->showErrorMessage_(text);
}

void PublicCallAutoLoad::ReportMissingChannel() {
  Vlt_ChannelGroup* group = caller_->GetChannelGroup();
  const std::string poolName = Text(group != nullptr ? group->GetPoolName() : nullptr);
  const std::string groupFile = Text(group != nullptr ? group->GetChannelGroupFileName() : nullptr);
  const std::string target = Text(record_->targetPath);
  const std::string lines[] = {
      "Vlt_Channel::GetPublicChannelForPublicCall error looking for channel",
      Text(caller_->GetChannelName()) + " : is a public channel looking for a non existing channel",
      "Original Poolname : " + poolName,
      "Original Filename : " + groupFile,
      "Target Filename : " + target,
      "Non existing channel : " + Text(record_->channelName),
      "Target Poolname : " + Text(record_->poolName),
      "Target Filename : " + target,
      "Autoload turned off",
      "Reason for error might be that the target public channel has been renamed or deleted but "
      "the group still exists!!",
  };
  for (const std::string& line : lines) Report(line.c_str());
}

bool PublicCallAutoLoad::LoadTargetGroup() {
  EngineInterface* engine = caller_->engine;
  if (engine == nullptr || !ResolveTargetPath()) return false;

  if (engine->GetPoolGroup(record_->poolName, 0) != nullptr) {
    ReportMissingChannel();
    record_->autoLoadGroup = 0;
    return false;
  }

  // The loader channel hears of the pool name first, so that it can tell this load from the
  // ones it runs itself.
  if (Vlt_Channel* loader = engine->GetUniqueChannel(VLT_BACKGROUNDLOADER_GUID, nullptr))
    TellAutoLoadPoolName(loader, record_->poolName);
  if (engine->LoadChannelGroup(completePath_, record_->poolName) != nullptr) return true;

  Report("Couldn't autoload group");
  Report(record_->targetPath);
  Vlt_ChannelGroup* group = caller_->GetChannelGroup();
  const std::string groupFile = Text(group != nullptr ? group->GetChannelGroupFileName() : nullptr);
  Report(groupFile.c_str());
  Report(completePath_);
  record_->autoLoadGroup = 0;
  return false;
}

bool PublicCallAutoLoad::StartBackgroundLoad() {
  EngineInterface* engine = caller_->engine;
  if (engine == nullptr || !ResolveTargetPath()) return false;

  if (engine->GetPoolGroup(record_->poolName, 0) != nullptr) {
    Report("Error channel not found dissabeling dynamic loading");
    record_->dynamicAutoLoadGroup = 0;
    return false;
  }

  Vlt_Channel* loader = engine->GetUniqueChannel(VLT_BACKGROUNDLOADER_GUID, nullptr);
  if (loader != nullptr && LoadInBackground(loader, completePath_, record_->poolName)) return true;

  // Without a loader the call would only wait: say so once and stop asking.
  Report(loader == nullptr ? "Couldn't load group in background: no background loader installed, "
                             "dynamic loading turned off"
                           : "Couldn't load group in background, dynamic loading turned off");
  Report(record_->targetPath);
  Report(completePath_);
  record_->dynamicAutoLoadGroup = 0;
  return false;
}
