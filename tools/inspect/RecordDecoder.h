#pragma once

#include <cstddef>
#include <cstdint>

#include "InspectNode.h"

namespace vinspect {

// Field-by-field decoders of the fixed records that files store byte for byte. Each adds the
// record's fields to `node`; the caller has checked that the record's bytes are there.
class RecordDecoder {
 public:
  static constexpr size_t kChannelTypeSize = 132;
  static constexpr size_t kChildCreationSize = 264;
  static constexpr size_t kPublicCallInfoSize = 696;
  static constexpr size_t kParameterInterfaceInfoSize = 56;

  static void ChannelType(const uint8_t* p, InspectNode& node);
  static void ChildCreation(const uint8_t* p, InspectNode& node);
  static void PublicCallInfo(const uint8_t* p, InspectNode& node);
  static void ParameterInterfaceInfo(const uint8_t* p, InspectNode& node);

  // A stored text field of `capacity` bytes, noting a missing terminator.
  static void TextField(const char* name, const uint8_t* p, size_t capacity, InspectNode& node);

  // The name of a channel interface type 0-5, or "" for another value.
  static const char* InterfaceTypeName(int32_t value);
};

}  // namespace vinspect
