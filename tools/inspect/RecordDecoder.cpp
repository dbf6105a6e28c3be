#include "RecordDecoder.h"

#include <string>

#include "ByteText.h"

namespace vinspect {

void RecordDecoder::TextField(const char* name, const uint8_t* p, size_t capacity,
                              InspectNode& node) {
  bool terminated = false;
  node.AddText(name, FieldText(p, capacity, &terminated));
  if (!terminated) {
    node.AddNote(std::string(name) + ": no terminating zero within its " +
                 std::to_string(capacity) + " bytes");
  }
}

void RecordDecoder::ChannelType(const uint8_t* p, InspectNode& node) {
  node.kind_ = "record";
  node.label_ = "ChannelType";
  TextField("name", p, 80, node);
  node.AddGuid("typeGuid", p + 80);
  node.AddGuid("baseGuid", p + 96);
  node.AddIntList("version", {LoadI32(p + 112), LoadI32(p + 116), LoadI32(p + 120)});
  node.AddIntList("reserved", {LoadI32(p + 124), LoadI32(p + 128)});
}

void RecordDecoder::ChildCreation(const uint8_t* p, InspectNode& node) {
  node.kind_ = "record";
  node.label_ = "ChildCreation";
  TextField("typeName", p, 80, node);
  node.AddGuid("typeGuid", p + 80);
  node.AddGuid("baseGuid", p + 96);
  node.AddIntList("version", {LoadI32(p + 112), LoadI32(p + 116), LoadI32(p + 120)});
  node.AddIntList("reserved", {LoadI32(p + 124), LoadI32(p + 128)});
  node.AddInt("requestLink", LoadI32(p + 132));
  node.AddInt("flag", p[136]);
  node.AddInt("createDefaultChild", p[137]);
  TextField("linkName", p + 138, 99, node);
  node.AddGuid("defaultChildType", p + 240);
  // The stored head reference (bytes 256-259) means nothing in a file.
  node.AddInt("positionIndex", LoadI32(p + 260));
}

void RecordDecoder::PublicCallInfo(const uint8_t* p, InspectNode& node) {
  node.kind_ = "record";
  node.label_ = "PublicCallInfo";
  TextField("channelName", p, 80, node);
  TextField("poolName", p + 80, 80, node);
  TextField("targetPath", p + 160, 260, node);
  node.AddInt("poolNr", LoadI32(p + 420));
  node.AddInt("autoLoadGroup", p[424]);
  node.AddInt("dynamicAutoLoadGroup", LoadI32(p + 428));
  InspectNode position("record", node.offset_ + 432);
  ChildCreation(p + 432, position);
  position.label_ = "unresolvedPosition (ChildCreation)";
  node.AddChild(std::move(position));
}

void RecordDecoder::ParameterInterfaceInfo(const uint8_t* p, InspectNode& node) {
  node.kind_ = "record";
  node.label_ = "ParameterInterfaceInfo";
  TextField("name", p, 40, node);
  node.AddGuid("typeGuid", p + 40);
}

const char* RecordDecoder::InterfaceTypeName(int32_t value) {
  static const char* const kNames[] = {"VCO_NONE",      "VCO_PUBLIC",   "VCO_PUBLICCALL",
                                       "VCO_PARAMETER", "VCO_INDIRECT", "VCO_PUBLICINDIRECT"};
  return value >= 0 && value < 6 ? kNames[value] : "";
}

}  // namespace vinspect
