// The data test plug-in: writes "TDVA" (its value) after the engine block, and with writeExtra
// a "TXTR" block that its own reader leaves for the group reader to skip.
#include <cstdio>
#include <cstring>

#include "TestDataChannel.h"

TestDataChannel::TestDataChannel() {
  SetChannelName("Test Data");
  SetChildCreationCount(2);
  ChildCreation single;
  single.requestLink = 0;
  SetChildCreateType(single, 0);
  ChildCreation variable;
  SetChildCreateType(variable, 1);
}

bool TestDataChannel::SaveChannel(VltFileSaver* saver) {
  if (!Vlt_Channel::SaveChannel(saver)) return false;
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  saver->SaveTag("TDVA");
  saver->SaveBlockSize(4);
  saver->SaveDataToFile(bytes, 4);
  if (writeExtra) {
    const char extra[] = "data of a newer writer";
    saver->SaveTag("TXTR");
    saver->SaveBlockSize(sizeof(extra));
    saver->SaveDataToFile(extra, sizeof(extra));
  }
  return true;
}

bool TestDataChannel::LoadChannel(VltFileLoader* loader, Vlt_ChannelGroup* group) {
  if (!Vlt_Channel::LoadChannel(loader, group)) return false;
  if (loader->GetInfoIfTag("TDVA")) {
    uint8_t bytes[4];
    if (loader->GetSizeDataBlock(false) != 4 || !loader->CopyTagDataToPointer(bytes)) return false;
    value = static_cast<int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                 static_cast<uint32_t>(bytes[3]) << 24);
  }
  return true;
}

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new TestDataChannel(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;
  std::snprintf(type.name, sizeof(type.name), "%s", "Test Data");
  type.typeGuid = grouptest::kDataType;
  type.baseGuid = grouptest::kDataType;
  return &type;
}
