#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "InspectNode.h"

namespace vinspect {

enum class FileKind { Unknown, Container, GroupFile, ChannelList, ProjectFile };

// The outcome of decoding one file. The tree holds everything decoded up to the point where
// decoding stopped, also when it stopped on an error.
struct InspectResult {
  InspectNode root;
  bool ok = true;
  uint64_t errorOffset = 0;
  std::string errorMessage;
  std::string errorContext;  // empty, or where errorOffset counts from
  // Decoding stopped at something this tool cannot undo (an unknown translator); the notes of
  // the tree say what.
  bool incomplete = false;

  std::string ErrorText() const;  // "offset 12 (0xc) ...: message"
};

// Recognises a stored file by its first bytes and decodes it into a tree of blocks.
class Inspector {
 public:
  // Containers may nest; more levels than this are refused as hostile.
  static constexpr int kMaxContainerDepth = 16;
  // Translated data of all containers of one file together.
  static constexpr uint64_t kMaxTranslatedBytes = 1ull << 30;

  InspectResult Inspect(const uint8_t* data, size_t size);

  static FileKind DetectKind(const uint8_t* data, size_t size);
  static const char* KindName(FileKind kind);

  // For the container decoder: decodes translated data below `parent`.
  void DecodeStream(const uint8_t* data, size_t size, InspectNode& parent, int depth);
  void MarkIncomplete() { incomplete_ = true; }
  // Counts translated bytes against kMaxTranslatedBytes; false when over.
  bool ChargeTranslated(uint64_t bytes);

 private:
  bool incomplete_ = false;
  uint64_t translated_ = 0;
};

}  // namespace vinspect
