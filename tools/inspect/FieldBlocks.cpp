#include "FieldBlocks.h"

#include "ByteText.h"

namespace vinspect {

int32_t FieldBlocks::Int(BlockReader& r, InspectNode& parent, const char* tag, const char* label) {
  const BlockView b = r.ReadBlockExact(tag, 4, label);
  const int32_t value = LoadI32(b.data);
  parent.AddChild(BlockNode(b, label)).AddInt("value", value);
  return value;
}

bool FieldBlocks::OptionalInt(BlockReader& r, InspectNode& parent, const char* tag,
                              const char* label, int32_t* value) {
  if (!r.PeekTag(tag)) return false;
  const int32_t v = Int(r, parent, tag, label);
  if (value) *value = v;
  return true;
}

bool FieldBlocks::OptionalByte(BlockReader& r, InspectNode& parent, const char* tag,
                               const char* label) {
  if (!r.PeekTag(tag)) return false;
  const BlockView b = r.ReadBlockExact(tag, 1, label);
  parent.AddChild(BlockNode(b, label)).AddInt("value", b.data[0]);
  return true;
}

bool FieldBlocks::OptionalGuid(BlockReader& r, InspectNode& parent, const char* tag,
                               const char* label) {
  if (!r.PeekTag(tag)) return false;
  const BlockView b = r.ReadBlockExact(tag, 16, label);
  parent.AddChild(BlockNode(b, label)).AddGuid("value", b.data);
  return true;
}

std::string FieldBlocks::AddBlockText(const BlockView& block, InspectNode& node) {
  bool terminated = false;
  std::string text = FieldText(block.data, block.size, &terminated);
  node.AddText("value", text);
  if (!terminated) node.AddNote("the text has no terminating zero inside the block");
  return text;
}

std::string FieldBlocks::Text(BlockReader& r, InspectNode& parent, const char* tag,
                              const char* label) {
  const BlockView b = r.ReadBlock(tag, label);
  return AddBlockText(b, parent.AddChild(BlockNode(b, label)));
}

bool FieldBlocks::OptionalText(BlockReader& r, InspectNode& parent, const char* tag,
                               const char* label) {
  if (!r.PeekTag(tag)) return false;
  Text(r, parent, tag, label);
  return true;
}

bool FieldBlocks::OptionalMarker(BlockReader& r, InspectNode& parent, const char* tag,
                                 const char* label) {
  if (!r.PeekTag(tag)) return false;
  parent.AddChild(r.ReadMarker(tag, label));
  return true;
}

bool FieldBlocks::AtWholeBlock(const BlockReader& r) {
  const uint8_t* p = r.Data() + r.Position();
  return r.Remaining() >= 8 && IsTagLike(p) && LoadU32(p + 4) <= r.Remaining() - 8;
}

void FieldBlocks::TrailingBlocks(BlockReader& r, InspectNode& parent, const char* label) {
  while (!r.AtEnd()) {
    if (!AtWholeBlock(r)) {
      r.Fail(r.Position(), "the data ends inside a block, or " + std::to_string(r.Remaining()) +
                               " bytes here do not form one");
    }
    const BlockView b = r.ReadAnyBlock(label);
    AddGuessedValue(b, parent.AddChild(BlockNode(b, label)));
  }
}

void FieldBlocks::AddGuessedValue(const BlockView& block, InspectNode& node) {
  if (block.size == 1) {
    node.AddInt("byte", block.data[0]);
  } else if (block.size == 4) {
    node.AddInt("int", LoadI32(block.data));
  } else if (block.size == 16) {
    node.AddGuid("guid", block.data);
  } else if (block.size >= 2 && block.data[block.size - 1] == 0) {
    bool printable = true;
    for (uint32_t i = 0; i + 1 < block.size && printable; ++i) {
      printable = block.data[i] >= 0x20 && block.data[i] < 0x7f;
    }
    if (printable) {
      node.AddText("text", FieldText(block.data, block.size));
      return;
    }
  }
  if (block.size != 1 && block.size != 4 && block.size != 16) {
    const uint32_t shown = block.size < 32 ? block.size : 32;
    node.AddHex(shown < block.size ? "firstBytes" : "bytes", block.data, shown);
  }
}

}  // namespace vinspect
