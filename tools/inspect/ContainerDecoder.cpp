#include "ContainerDecoder.h"

#include <zlib.h>

#include <string>
#include <vector>

#include "ByteText.h"
#include "DecodeError.h"
#include "Inspector.h"

namespace vinspect {

const char* const ContainerDecoder::kCompressionTranslator = "51D0E7A3-96BC-4F2E-B478-0A3C6E9D12F4";

namespace {

// Inflates one zlib stream of `size` bytes that must give exactly `expected` bytes. The
// output grows only as data really comes out, so a hostile "ZIOS" cannot make us allocate.
std::vector<uint8_t> Inflate(const BlockReader& reader, const BlockView& block, uint32_t expected,
                             Inspector& inspector) {
  std::vector<uint8_t> out;
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) reader.Fail(block.offset, "\"ZICB\": zlib could not start");
  zs.next_in = const_cast<Bytef*>(block.data);
  zs.avail_in = block.size;
  int rc = Z_OK;
  uint8_t chunk[16384];
  while (rc != Z_STREAM_END) {
    zs.next_out = chunk;
    zs.avail_out = sizeof chunk;
    rc = inflate(&zs, Z_NO_FLUSH);
    const size_t produced = sizeof chunk - zs.avail_out;
    if (rc != Z_OK && rc != Z_STREAM_END) {
      const std::string why = rc == Z_BUF_ERROR ? "the stream ends early"
                              : zs.msg          ? zs.msg
                                                : "error " + std::to_string(rc);
      const uint64_t at = block.DataOffset() + zs.total_in;
      inflateEnd(&zs);
      reader.Fail(at, "\"ZICB\": the zlib stream is damaged (" + why + ")");
    }
    if (out.size() + produced > expected) {
      inflateEnd(&zs);
      reader.Fail(block.offset, "\"ZICB\": inflates to more than the " + std::to_string(expected) +
                                    " bytes that \"ZIOS\" gives");
    }
    if (!inspector.ChargeTranslated(produced)) {
      inflateEnd(&zs);
      reader.Fail(block.offset, "\"ZICB\": the translated data exceeds the tool's limit of " +
                                    std::to_string(Inspector::kMaxTranslatedBytes) + " bytes");
    }
    out.insert(out.end(), chunk, chunk + produced);
  }
  const uLong usedIn = zs.total_in;
  inflateEnd(&zs);
  if (out.size() != expected) {
    reader.Fail(block.offset, "\"ZICB\": inflates to " + std::to_string(out.size()) +
                                  " bytes, \"ZIOS\" gives " + std::to_string(expected));
  }
  if (usedIn != block.size) {
    reader.Fail(block.DataOffset() + usedIn, "\"ZICB\": " + std::to_string(block.size - usedIn) +
                                                 " bytes follow the end of the zlib stream");
  }
  return out;
}

}  // namespace

void ContainerDecoder::Decode(BlockReader& reader, InspectNode& parent, Inspector& inspector,
                              int depth) {
  const BlockView header = reader.ReadBlockExact("VLTF", 16, "container header");
  InspectNode& container = parent.AddChild(BlockNode(header, "container"));
  container.kind_ = "container";
  container.AddGuid("translator", header.data);
  const std::string translator = GuidText(header.data);
  if (translator != kCompressionTranslator) {
    container.AddNote("unknown translator " + translator + ": its body (" +
                      std::to_string(reader.Remaining()) + " bytes) cannot be decoded");
    inspector.MarkIncomplete();
    return;
  }
  container.AddText("translatorName", "compression translator");
  if (depth + 1 > Inspector::kMaxContainerDepth) {
    reader.Fail(header.offset, "containers nest more than " +
                                   std::to_string(Inspector::kMaxContainerDepth) + " levels deep");
  }

  const BlockView zios = reader.ReadBlockExact("ZIOS", 4, "size before compression");
  const uint32_t plainSize = LoadU32(zios.data);
  container.AddChild(BlockNode(zios, "size before compression")).AddInt("value", plainSize);
  const BlockView zins = reader.ReadBlockExact("ZINS", 4, "compressed size");
  const uint32_t packedSize = LoadU32(zins.data);
  container.AddChild(BlockNode(zins, "compressed size")).AddInt("value", packedSize);
  const size_t zicbOffset = reader.Position();
  const BlockView zicb = reader.ReadBlock("ZICB", "compressed data");
  if (zicb.size != packedSize) {
    reader.Fail(zicbOffset, "\"ZICB\": size " + std::to_string(zicb.size) + ", \"ZINS\" gives " +
                                std::to_string(packedSize));
  }
  container.AddChild(BlockNode(zicb, "zlib stream"));
  if (!reader.AtEnd()) {
    container.AddNote(std::to_string(reader.Remaining()) +
                      " bytes follow the container body; the translator ignores them");
  }

  const std::vector<uint8_t> plain = Inflate(reader, zicb, plainSize, inspector);
  InspectNode translated("translated", 0, std::string(), static_cast<int64_t>(plain.size()));
  translated.label_ = "translated data (offsets below count from its start)";
  InspectNode& inner = container.AddChild(std::move(translated));
  try {
    inspector.DecodeStream(plain.data(), plain.size(), inner, depth + 1);
  } catch (DecodeError& e) {
    const std::string here =
        "in the data translated from the container at offset " + std::to_string(header.offset);
    e.context_ = e.context_.empty() ? here : e.context_ + ", " + here;
    throw;
  }
}

}  // namespace vinspect
