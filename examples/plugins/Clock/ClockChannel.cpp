#include "ClockChannel.h"

#include <cstdio>

#include "../ExampleTypes.h"
#include "platform/Platform.h"

ClockChannel::ClockChannel() : started_(false), startTick_(0) {
  SetChannelName("Clock");
  SetChildCreationCount(1);
  ChildCreation rate;
  rate.requestLink = 0;
  rate.createDefaultChild = 1;
  rate.defaultChildType = EXAMPLE_PASSRATE_GUID;
  std::snprintf(rate.linkName, sizeof(rate.linkName), "%s", "Measured");
  SetChildCreateType(rate, 0);
}

ClockChannel::~ClockChannel() = default;

void ClockChannel::CallChannel() {
  if (!CheckRenderCount()) return;
  const uint32_t now = vplat::tickCount();
  if (!started_) {
    started_ = true;
    startTick_ = now;
  }
  // The tick count wraps; the difference does not.
  const uint32_t elapsed = now - startTick_;
  char text[64];
  std::snprintf(text, sizeof(text), "Elapsed time: %u.%03u s", elapsed / 1000, elapsed % 1000);
  if (engine != nullptr) engine->GetExt()->DebugOut(text, 0);
  for (int i = 0; i < GetChildCount(); ++i)
    if (Vlt_Channel* child = GetChild(i)) child->CallChannel();
}

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new ClockChannel(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;  // static: the unused name bytes stay zero in the stored record
  return VltFillPluginType(&type, "Example Clock", EXAMPLE_CLOCK_GUID, EXAMPLE_CLOCK_GUID, 1);
}
