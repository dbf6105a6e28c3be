#include "Inspector.h"

#include <cstdio>
#include <cstring>

#include "BlockReader.h"
#include "ByteText.h"
#include "ChannelListDecoder.h"
#include "ContainerDecoder.h"
#include "DecodeError.h"
#include "GroupFileDecoder.h"
#include "ProjectFileDecoder.h"

namespace vinspect {

std::string InspectResult::ErrorText() const {
  char where[64];
  std::snprintf(where, sizeof where, "offset %llu (0x%llx)",
                static_cast<unsigned long long>(errorOffset),
                static_cast<unsigned long long>(errorOffset));
  std::string text = where;
  if (!errorContext.empty()) text += " " + errorContext;
  return text + ": " + errorMessage;
}

FileKind Inspector::DetectKind(const uint8_t* data, size_t size) {
  if (size < 4) return FileKind::Unknown;
  auto is = [data](const char* tag) { return std::memcmp(data, tag, 4) == 0; };
  if (is("VLTF")) return FileKind::Container;
  if (is("CHEV")) return FileKind::ChannelList;
  if (is("LVRS") || is("VLTG") || is("__3_")) return FileKind::GroupFile;
  if (is("LSPT")) return FileKind::ProjectFile;
  return FileKind::Unknown;
}

const char* Inspector::KindName(FileKind kind) {
  switch (kind) {
    case FileKind::Container:
      return "container";
    case FileKind::GroupFile:
      return "group file";
    case FileKind::ChannelList:
      return "channel list";
    case FileKind::ProjectFile:
      return "project file";
    case FileKind::Unknown:
      break;
  }
  return "unknown";
}

bool Inspector::ChargeTranslated(uint64_t bytes) {
  translated_ += bytes;
  return translated_ <= kMaxTranslatedBytes;
}

void Inspector::DecodeStream(const uint8_t* data, size_t size, InspectNode& parent, int depth) {
  BlockReader reader(data, size);
  const FileKind kind = DetectKind(data, size);
  parent.AddText("kind", KindName(kind));
  switch (kind) {
    case FileKind::Container:
      ContainerDecoder::Decode(reader, parent, *this, depth);
      return;
    case FileKind::GroupFile:
      GroupFileDecoder::Decode(reader, parent, *this, depth);
      return;
    case FileKind::ChannelList:
      ChannelListDecoder::Decode(reader, parent);
      return;
    case FileKind::ProjectFile:
      ProjectFileDecoder::Decode(reader, parent);
      return;
    case FileKind::Unknown:
      break;
  }
  if (size == 0) reader.Fail(0, "the data is empty");
  if (size < 4) reader.Fail(0, "the data is too short to hold a tag");
  reader.Fail(0, "not a stored file this tool knows: it starts with \"" + TagText(data) +
                     "\" (expected \"VLTF\", \"LVRS\", \"VLTG\", \"__3_\", \"CHEV\" or \"LSPT\")");
}

InspectResult Inspector::Inspect(const uint8_t* data, size_t size) {
  incomplete_ = false;
  translated_ = 0;
  InspectResult result;
  result.root = InspectNode("file", 0, std::string(), static_cast<int64_t>(size));
  result.root.label_ = "file";
  try {
    DecodeStream(data, size, result.root, 0);
  } catch (const DecodeError& e) {
    result.ok = false;
    result.errorOffset = e.offset_;
    result.errorMessage = e.what();
    result.errorContext = e.context_;
  } catch (const std::bad_alloc&) {
    result.ok = false;
    result.errorMessage = "out of memory";
  }
  result.incomplete = incomplete_;
  return result;
}

}  // namespace vinspect
