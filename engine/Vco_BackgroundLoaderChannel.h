// The outside unique channel that loads group files for public calls. The engine asks it to load
// a group in the background (a call whose target group should arrive without stalling the loop),
// tells it the pool name of a group it is about to load at once, and tells it to stop its pending
// loads before groups are released. The base versions do nothing. The order of the virtual
// operations continues Vlt_Channel's and is part of the binary interface.
#pragma once

#include "Vlt_Channel.h"

class VEXILON_API Vco_BackgroundLoaderChannel : public Vlt_Channel {
 public:
  Vco_BackgroundLoaderChannel();
  ~Vco_BackgroundLoaderChannel() override;

  // Starts loading the group file at path; the group is created later, on the engine's thread,
  // with poolName as its instance name, and its public channels are published. False when the
  // load cannot be started.
  virtual bool LoadGroupInBackground(const char* path, const char* poolName);  // 15
  // Number of background loads that have not created their group yet.
  virtual int GetPendingLoadCount();  // 16
  // Abandons every pending load; the engine calls it before it releases the groups.
  virtual void StopPendingLoads();  // 17
  // The pool name of a group the engine is about to load at once for a public call.
  virtual void SetAutoLoadPoolName(const char* poolName);  // 18
};
