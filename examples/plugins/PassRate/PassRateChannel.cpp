#include "PassRateChannel.h"

#include <cstdio>

#include "../ExampleTypes.h"
#include "platform/Platform.h"

PassRateChannel::PassRateChannel() : started_(false), windowStart_(0), passes_(0) {
  SetChannelName("Pass rate");
}

PassRateChannel::~PassRateChannel() = default;

void PassRateChannel::CallChannel() {
  if (!CheckRenderCount()) return;
  const uint32_t now = vplat::tickCount();
  if (!started_) {
    started_ = true;
    windowStart_ = now;
    if (engine != nullptr) engine->GetExt()->DebugOut("Pass rate: measuring", 1);
  }
  ++passes_;
  const uint32_t span = now - windowStart_;
  if (span < 1000) return;
  char text[64];
  std::snprintf(text, sizeof(text), "Pass rate: %.1f passes per second",
                passes_ * 1000.0 / static_cast<double>(span));
  if (engine != nullptr) engine->GetExt()->DebugOut(text, 1);
  windowStart_ = now;
  passes_ = 0;
}

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new PassRateChannel(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;  // static: the unused name bytes stay zero in the stored record
  return VltFillPluginType(&type, "Example Pass Rate", EXAMPLE_PASSRATE_GUID, EXAMPLE_PASSRATE_GUID,
                           1);
}
