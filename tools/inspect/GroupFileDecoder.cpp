#include "GroupFileDecoder.h"

#include <string>
#include <vector>

#include "ByteText.h"
#include "DecodeError.h"
#include "FieldBlocks.h"
#include "Inspector.h"
#include "RecordDecoder.h"

namespace vinspect {

namespace {

const char* const kClosingTags[] = {"CHSC", "CGIC", "CGII", "CINA", "CGGG", "CBTD"};

}  // namespace

bool GroupFileDecoder::AtClosingBlock(const BlockReader& r) {
  for (const char* tag : kClosingTags) {
    if (r.PeekTag(tag)) return true;
  }
  return false;
}

void GroupFileDecoder::Unscramble(uint8_t* bytes, size_t size) {
  // The same key stream as the engine's writer: seeded by the length, one byte per step.
  uint32_t state = 0x6B43A9B5u ^ static_cast<uint32_t>(size);
  for (size_t i = 0; i < size; ++i) {
    state = state * 1664525u + 1013904223u;
    bytes[i] ^= static_cast<uint8_t>(state >> 24);
  }
}

void GroupFileDecoder::DecodeProtected(BlockReader& r, InspectNode& parent, Inspector& inspector,
                                       int depth) {
  parent.AddChild(r.ReadMarker("__3_", "protected group"));
  const int32_t length = FieldBlocks::Int(r, parent, "OPRT", "length of the plain body");
  const size_t bodyOffset = r.Position();
  const BlockView body = r.ReadBlock("WWRT", "scrambled body");
  InspectNode& node = parent.AddChild(BlockNode(body, "scrambled group file"));
  if (static_cast<int64_t>(body.size) != length) {
    r.Fail(bodyOffset, "\"WWRT\": size " + std::to_string(body.size) + ", \"OPRT\" gives " +
                           std::to_string(length));
  }
  if (depth + 1 > Inspector::kMaxContainerDepth || !inspector.ChargeTranslated(body.size)) {
    r.Fail(bodyOffset, "protected bodies and containers nest too deep");
  }
  std::vector<uint8_t> plain(body.data, body.data + body.size);
  Unscramble(plain.data(), plain.size());
  InspectNode translated("translated", 0, std::string(), static_cast<int64_t>(plain.size()));
  translated.label_ = "unscrambled data (offsets below count from its start)";
  InspectNode& inner = node.AddChild(std::move(translated));
  try {
    inspector.DecodeStream(plain.data(), plain.size(), inner, depth + 1);
  } catch (DecodeError& e) {
    const std::string here =
        "in the data unscrambled from the protected body at offset " + std::to_string(bodyOffset);
    e.context_ = e.context_.empty() ? here : e.context_ + ", " + here;
    throw;
  }
  FieldBlocks::TrailingBlocks(r, parent, "block after the protected body, not read by the engine");
}

void GroupFileDecoder::Decode(BlockReader& r, InspectNode& parent, Inspector& inspector,
                              int depth) {
  if (r.PeekTag("__3_")) {
    DecodeProtected(r, parent, inspector, depth);
    return;
  }

  int32_t version = 0;
  if (FieldBlocks::OptionalInt(r, parent, "LVRS", "file version", &version) &&
      static_cast<uint32_t>(version) > static_cast<uint32_t>(kEngineVersion)) {
    parent.children_.back().AddNote("newer than engine version 57: the engine refuses the file");
  }
  parent.AddChild(r.ReadMarker("VLTG", "group file"));
  FieldBlocks::OptionalGuid(r, parent, "CGGG", "group GUID");
  FieldBlocks::OptionalInt(r, parent, "ENVR", "ignored value");
  const int32_t slots = FieldBlocks::Int(r, parent, "CHCO", "number of channel slots");

  for (int32_t i = 0; i < slots; ++i) {
    // The engine searches forward for each "CHIX"; whatever lies before it is skipped.
    if (!r.PeekTag("CHIX")) DecodeOwnBlocks(r, parent, false);
    DecodeSlot(r, parent, i, i + 1 == slots);
  }

  FieldBlocks::OptionalInt(r, parent, "CHSC", "start channel index");
  int32_t count = 0;
  FieldBlocks::OptionalInt(r, parent, "CGIC", "number of parameter records", &count);
  if (r.PeekTag("CGII")) {
    const BlockView b = r.ReadBlock("CGII", "parameter records");
    InspectNode& records = parent.AddChild(BlockNode(b, "parameter records"));
    const uint64_t wanted = count > 0 ? static_cast<uint64_t>(count) : 0;
    const uint64_t stored = b.size / RecordDecoder::kParameterInterfaceInfoSize;
    if (wanted > stored) {
      r.Fail(b.offset, "\"CGII\": \"CGIC\" gives " + std::to_string(wanted) +
                           " records of 56 bytes, the block holds " + std::to_string(b.size) +
                           " bytes");
    }
    if (b.size != wanted * RecordDecoder::kParameterInterfaceInfoSize) {
      records.AddNote("the block holds " + std::to_string(b.size) +
                      " bytes, \"CGIC\" accounts for " +
                      std::to_string(wanted * RecordDecoder::kParameterInterfaceInfoSize));
    }
    for (uint64_t k = 0; k < wanted; ++k) {
      const size_t at = k * RecordDecoder::kParameterInterfaceInfoSize;
      InspectNode rec("record", b.DataOffset() + at);
      RecordDecoder::ParameterInterfaceInfo(b.data + at, rec);
      rec.label_ = "parameter " + std::to_string(k) + " (ParameterInterfaceInfo)";
      records.AddChild(std::move(rec));
    }
  }
  FieldBlocks::OptionalText(r, parent, "CINA", "instance name");
  FieldBlocks::OptionalGuid(r, parent, "CGGG", "group GUID, read again");
  FieldBlocks::OptionalMarker(r, parent, "CBTD", "ignored marker");
  FieldBlocks::TrailingBlocks(r, parent, "block after the group, not read by the engine");
}

void GroupFileDecoder::DecodeSlot(BlockReader& r, InspectNode& group, int32_t slot, bool last) {
  const std::string what = "index of channel slot " + std::to_string(slot);
  InspectNode node("slot", r.Position());
  node.label_ = "channel slot " + std::to_string(slot);
  InspectNode& channel = group.AddChild(std::move(node));
  const int32_t index = FieldBlocks::Int(r, channel, "CHIX", what.c_str());
  if (index == -1) {
    channel.label_ += ": empty";
    if (!last && !r.PeekTag("CHIX")) DecodeOwnBlocks(r, channel, false);
    return;
  }
  channel.AddInt("index", index);
  FieldBlocks::OptionalGuid(r, channel, "CHID", "type GUID");
  FieldBlocks::OptionalText(r, channel, "CHNM", "type name");
  FieldBlocks::OptionalInt(r, channel, "CHVE", "third version value");
  FieldBlocks::OptionalGuid(r, channel, "CHBG", "base GUID");
  const bool engineOnly =
      FieldBlocks::OptionalMarker(r, channel, "CHES", "only the engine block follows");
  if (engineOnly) channel.AddText("saved", "engine block only");
  DecodeEngineBlock(r, channel);
  if (!r.PeekTag("CHIX") && !(last && AtClosingBlock(r))) DecodeOwnBlocks(r, channel, last);
}

void GroupFileDecoder::DecodeEngineBlock(BlockReader& r, InspectNode& channel) {
  FieldBlocks::OptionalByte(r, channel, "CHIC", "ignoreTreeCount");
  const BlockView name = r.ReadBlock("CHNA", "channel name");
  InspectNode& nameNode = channel.AddChild(BlockNode(name, "channel name"));
  const std::string text = FieldBlocks::AddBlockText(name, nameNode);
  channel.AddText("name", text);

  int32_t interfaceType = 0;
  if (FieldBlocks::OptionalInt(r, channel, "CHIT", "interfaceType", &interfaceType)) {
    const char* typeName = RecordDecoder::InterfaceTypeName(interfaceType);
    if (*typeName) channel.children_.back().AddText("name", typeName);
  }
  // Which blocks follow depends on the interface type, as in the engine's reader.
  if (interfaceType == 2) {
    if (r.PeekTag("CHES")) {
      const BlockView b =
          r.ReadBlockExact("CHES", RecordDecoder::kPublicCallInfoSize, "PublicCallInfo");
      InspectNode& block = channel.AddChild(BlockNode(b, "public call record"));
      InspectNode record("record", b.DataOffset());
      RecordDecoder::PublicCallInfo(b.data, record);
      block.AddChild(std::move(record));
    }
    FieldBlocks::OptionalByte(r, channel, "CHTM", "treeCountMode");
  }
  if (interfaceType == 3) FieldBlocks::OptionalInt(r, channel, "CEXI", "parameter number");
  if ((interfaceType == 1 || interfaceType == 5) &&
      FieldBlocks::OptionalGuid(r, channel, "CEPG", "public interface group GUID")) {
    int32_t items = 0;
    if (FieldBlocks::OptionalInt(r, channel, "CHPC", "number of interface items", &items)) {
      for (int32_t j = 0; j < items; ++j) {
        if (!FieldBlocks::OptionalInt(r, channel, "CHPT", "interface item")) break;
      }
    }
  }

  const int32_t links = FieldBlocks::Int(r, channel, "CHLC", "number of link records");
  for (int32_t j = 0; j < links; ++j) {
    InspectNode node("link", r.Position());
    node.label_ = "link record " + std::to_string(j);
    InspectNode& link = channel.AddChild(std::move(node));
    const int32_t index = FieldBlocks::Int(r, link, "CHLI", "child index");
    int32_t position = -1;
    FieldBlocks::OptionalInt(r, link, "CHUL", "link position", &position);
    int32_t rank = j - position;
    FieldBlocks::OptionalInt(r, link, "CHRP", "rank", &rank);
    link.AddInt("child", index);
    link.AddInt("linkPosition", position);
    link.AddInt("rank", rank);
  }
  FieldBlocks::OptionalByte(r, channel, "CHUP", "usePoolChannel");
  DecodePoolNames(r, channel, "CHNC", "CHPN", "CHEN", "pool info names");
  DecodePoolNames(r, channel, "CPNC", "CPNP", "CPEN", "entered pool names");
}

void GroupFileDecoder::DecodePoolNames(BlockReader& r, InspectNode& channel, const char* countTag,
                                       const char* nameTag, const char* emptyTag,
                                       const char* what) {
  int32_t count = 0;
  if (!FieldBlocks::OptionalInt(r, channel, countTag, what, &count)) return;
  // Each name is one block: a name, or the marker of an empty name.
  int32_t found = 0;
  while (found < count && (FieldBlocks::OptionalText(r, channel, nameTag, "pool name") ||
                           FieldBlocks::OptionalMarker(r, channel, emptyTag, "empty pool name"))) {
    ++found;
  }
  if (found != count && count > 0) {
    channel.AddNote(std::string("\"") + countTag + "\" gives " + std::to_string(count) +
                    " names, " + std::to_string(found) + " follow");
  }
}

void GroupFileDecoder::DecodeOwnBlocks(BlockReader& r, InspectNode& channel, bool last) {
  while (!r.AtEnd() && !r.PeekTag("CHIX") && !(last && AtClosingBlock(r))) {
    const size_t start = r.Position();
    const uint8_t* p = r.Data() + start;
    if (FieldBlocks::AtWholeBlock(r)) {
      const BlockView b = r.ReadAnyBlock("block of the channel type");
      FieldBlocks::AddGuessedValue(b, channel.AddChild(BlockNode(b, "block of the channel type")));
      continue;
    }
    // Not a block boundary (a marker of the type's own, or foreign bytes): skip to the next
    // tag the engine looks for, as its forward search does.
    size_t next = r.Size();
    for (size_t q = start + 1; q + 4 <= r.Size() && next == r.Size(); ++q) {
      r.MoveTo(q);
      if (r.PeekTag("CHIX") || (last && AtClosingBlock(r))) next = q;
    }
    if (next == r.Size()) {
      // Nothing the engine looks for comes after: the file was cut inside a block.
      r.MoveTo(start);
      if (last) r.Fail(start, "the data ends inside a block of the channel type");
    }
    InspectNode bytes("bytes", start, std::string(), static_cast<int64_t>(next - start));
    bytes.label_ = "bytes skipped up to the next channel";
    bytes.AddHex("firstBytes", p, next - start < 16 ? next - start : 16);
    channel.AddChild(std::move(bytes));
    r.MoveTo(next);
  }
}

}  // namespace vinspect
