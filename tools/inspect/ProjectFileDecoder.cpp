#include "ProjectFileDecoder.h"

#include <string>

#include "ByteText.h"
#include "FieldBlocks.h"

namespace vinspect {

void ProjectFileDecoder::Decode(BlockReader& r, InspectNode& parent) {
  FieldBlocks::Int(r, parent, "LSPT", "editor version");
  if (r.PeekTag("LSGR")) {
    FieldBlocks::Text(r, parent, "LSGR", "start group");
    InspectNode& start = parent.children_.back();
    if (start.size_ >= 400) {
      start.AddNote("400 bytes or more: the engine leaves the start group name empty");
    }
  }
  int32_t needed = 0;
  if (FieldBlocks::OptionalInt(r, parent, "LHPV", "lowest engine version", &needed) &&
      needed > 57) {
    parent.children_.back().AddNote("newer than engine version 57: the engine refuses the project");
  }
  FieldBlocks::OptionalMarker(r, parent, "LFKR", "keep the application running");

  int32_t count = 0;
  const bool listed =
      FieldBlocks::OptionalInt(r, parent, "LDDC", "number of dependency entries", &count);
  if (listed) {
    for (int32_t i = 0; i < count; ++i) {
      if (!r.PeekTag("LFDB") && !r.PeekTag("LNDB")) {
        // The engine reads nothing for such an entry, and so nothing for those after it.
        parent.AddNote("dependency entries " + std::to_string(i) + " to " +
                       std::to_string(count - 1) + " hold nothing");
        break;
      }
      InspectNode node("entry", r.Position());
      node.label_ = "dependency " + std::to_string(i);
      DecodeDependency(r, parent.AddChild(std::move(node)));
    }
  }
  // Without "LDDC" the engine reads no further, not even the support libraries.
  if (listed &&
      FieldBlocks::OptionalInt(r, parent, "LDGC", "number of support library entries", &count)) {
    for (int32_t i = 0; i < count; ++i) {
      if (!r.PeekTag("LDFF") && !r.PeekTag("LDDF")) {
        parent.AddNote("support library entries " + std::to_string(i) + " to " +
                       std::to_string(count - 1) + " hold nothing");
        break;
      }
      InspectNode node("entry", r.Position());
      node.label_ = "support library " + std::to_string(i);
      DecodeSupportLibrary(r, parent.AddChild(std::move(node)));
    }
  }
  FieldBlocks::TrailingBlocks(r, parent, "block after the project, not read by the engine");
}

void ProjectFileDecoder::DecodeDependency(BlockReader& r, InspectNode& entry) {
  if (FieldBlocks::OptionalMarker(r, entry, "LFDB", "entry without content")) return;
  const BlockView type = r.ReadBlockExact("LNDB", 16, "channel type");
  entry.AddChild(BlockNode(type, "channel type")).AddGuid("value", type.data);
  const BlockView version = r.ReadUntagged(12, "minimum version words");
  InspectNode node("untagged", version.offset, std::string(), version.size);
  node.label_ = "minimum version";
  node.AddIntList("value",
                  {LoadI32(version.data), LoadI32(version.data + 4), LoadI32(version.data + 8)});
  entry.AddChild(std::move(node));
  const BlockView crc = r.ReadUntagged(4, "library checksum");
  InspectNode sum("untagged", crc.offset, std::string(), crc.size);
  sum.label_ = "library checksum";
  sum.AddHex("value", crc.data, 4);
  sum.AddInt("uint", LoadU32(crc.data));
  entry.AddChild(std::move(sum));
  DecodeAttachedCopy(r, entry, "LCAN", "LCAS", "LCAF");
}

void ProjectFileDecoder::DecodeSupportLibrary(BlockReader& r, InspectNode& entry) {
  if (FieldBlocks::OptionalMarker(r, entry, "LDFF", "entry without content")) return;
  FieldBlocks::Text(r, entry, "LDDF", "library name");
  if (r.PeekTag("LCRC")) {
    const BlockView b = r.ReadBlockExact("LCRC", 4, "library checksum");
    InspectNode& sum = entry.AddChild(BlockNode(b, "library checksum (not checked)"));
    sum.AddHex("value", b.data, 4);
  }
  DecodeAttachedCopy(r, entry, "LDLN", "LDLS", "LDLF");
}

void ProjectFileDecoder::DecodeAttachedCopy(BlockReader& r, InspectNode& entry, const char* nameTag,
                                            const char* sizeTag, const char* bytesTag) {
  if (!FieldBlocks::OptionalText(r, entry, nameTag, "attached copy: file name")) return;
  int32_t size = -1;
  FieldBlocks::OptionalInt(r, entry, sizeTag, "attached copy: byte size", &size);
  if (r.PeekTag(bytesTag)) {
    const BlockView b = r.ReadBlock(bytesTag, "attached copy: bytes");
    InspectNode& bytes = entry.AddChild(BlockNode(b, "attached copy: bytes"));
    if (static_cast<int64_t>(b.size) != size) {
      bytes.AddNote("the size differs from \"" + std::string(sizeTag) +
                    "\": the engine takes the copy as absent");
    }
  }
}

}  // namespace vinspect
