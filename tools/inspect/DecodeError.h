#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vinspect {

// A malformed file. Raised inside the decoders only; Inspector::Inspect turns it into a
// result, so nothing is thrown out of the library.
class DecodeError : public std::runtime_error {
 public:
  DecodeError(uint64_t offset, const std::string& message)
      : std::runtime_error(message), offset_(offset) {}

  uint64_t offset_;
  // Where the offset counts from, when not from the start of the file ("in the data
  // translated from the container at offset 0").
  std::string context_;
};

}  // namespace vinspect
