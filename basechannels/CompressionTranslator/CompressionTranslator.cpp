#include "CompressionTranslator.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

namespace {

// The uncompressed size is refused above this, and above what deflate can reach from the
// compressed size (at most 1032 to 1), so that a hostile header cannot make a huge allocation.
constexpr uint64_t kMaxOriginalSize = uint64_t{1} << 30;
constexpr uint64_t kMaxDeflateRatio = 1032;

// A "tag, size 4, value" block at the loader's position.
bool ReadValueBlock(Vco_FileLoaderChannel* loader, const char* tag, uint32_t& value) {
  if (!loader->GetInfoIfTag(tag) || loader->GetSizeDataBlock(false) != 4) return false;
  uint8_t bytes[4];
  if (!loader->CopyTagDataToPointer(bytes)) return false;
  value = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
          (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
  return true;
}

void SaveValueBlock(VltFileSaver* saver, const char* tag, uint32_t value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  saver->SaveTag(tag);
  saver->SaveBlockSize(4);
  saver->SaveDataToFile(bytes, 4);
}

}  // namespace

CompressionTranslator::CompressionTranslator() = default;
CompressionTranslator::~CompressionTranslator() = default;

bool CompressionTranslator::Translate(Vco_FileLoaderChannel* loader) {
  if (loader == nullptr) return false;
  uint32_t originalSize = 0;
  uint32_t packedSize = 0;
  if (!ReadValueBlock(loader, "ZIOS", originalSize) ||
      !ReadValueBlock(loader, "ZINS", packedSize) || !loader->GetInfoIfTag("ZICB"))
    return false;
  // The stream block must hold exactly the announced bytes, and they must lie in the data.
  const int bufferSize = loader->GetBufferSize();
  if (bufferSize < 0 || packedSize > static_cast<uint32_t>(bufferSize) ||
      loader->GetSizeDataBlock(false) != packedSize)
    return false;
  if (originalSize > kMaxOriginalSize || originalSize > kMaxDeflateRatio * packedSize) return false;
  std::vector<uint8_t> packed(packedSize);
  if (!loader->CopyTagDataToPointer(packed.data())) return false;
  std::vector<uint8_t> original(originalSize);
  uLongf produced = originalSize;
  // uncompress never writes past produced; it fails when the stream does not end there.
  if (uncompress(original.data(), &produced, packed.data(), packedSize) != Z_OK ||
      produced != originalSize)
    return false;
  loader->SetBuffer(original.data(), originalSize, true);
  return true;
}

bool CompressionTranslator::WrapData(const void* data, uint32_t size, VltFileSaver* saver) {
  if (saver == nullptr || (data == nullptr && size > 0)) return false;
  if (size > kMaxOriginalSize) return false;
  uLongf packedSize = compressBound(size);
  std::vector<uint8_t> packed(packedSize);
  static const uint8_t kNothing = 0;
  if (compress2(packed.data(), &packedSize, size > 0 ? static_cast<const Bytef*>(data) : &kNothing,
                size, Z_BEST_COMPRESSION) != Z_OK)
    return false;
  // The GUID in its stored layout: 32-bit, two 16-bit parts little-endian, then eight bytes.
  const GUID& type = VLT_COMPRESSION_TRANSLATOR_GUID;
  uint8_t guid[16] = {
      static_cast<uint8_t>(type.Data1),       static_cast<uint8_t>(type.Data1 >> 8),
      static_cast<uint8_t>(type.Data1 >> 16), static_cast<uint8_t>(type.Data1 >> 24),
      static_cast<uint8_t>(type.Data2),       static_cast<uint8_t>(type.Data2 >> 8),
      static_cast<uint8_t>(type.Data3),       static_cast<uint8_t>(type.Data3 >> 8)};
  for (int i = 0; i < 8; ++i) guid[8 + i] = type.Data4[i];
  saver->SaveTag("VLTF");
  saver->SaveBlockSize(16);
  saver->SaveDataToFile(guid, 16);
  SaveValueBlock(saver, "ZIOS", size);
  SaveValueBlock(saver, "ZINS", static_cast<uint32_t>(packedSize));
  saver->SaveTag("ZICB");
  saver->SaveBlockSize(static_cast<uint32_t>(packedSize));
  saver->SaveDataToFile(packed.data(), static_cast<uint32_t>(packedSize));
  return true;
}

VEXILON_PLUGIN_EXPORT Vlt_Channel* InitDLL() { return new CompressionTranslator(); }

VEXILON_PLUGIN_EXPORT ChannelType* GetType() {
  static ChannelType type;  // static: the unused name bytes stay zero in the stored record
  return VltFillPluginType(&type, "Compression Translator", VLT_COMPRESSION_TRANSLATOR_GUID,
                           VLT_COMPRESSION_TRANSLATOR_GUID, 0);
}
