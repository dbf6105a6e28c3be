#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vinspect {

// Little-endian reads of stored integers; the caller has checked the bytes are there.
uint32_t LoadU32(const uint8_t* p);
int32_t LoadI32(const uint8_t* p);

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" from a stored 16-byte GUID.
std::string GuidText(const uint8_t* bytes);

// Lower-case hex digits, no separators.
std::string HexText(const uint8_t* bytes, size_t count);

// A stored text in a field of `capacity` bytes: the bytes up to the first zero. `terminated`
// tells whether a zero was found inside the field.
std::string FieldText(const uint8_t* bytes, size_t capacity, bool* terminated = nullptr);

// A text for a terminal: printable ASCII as is, everything else as \xNN.
std::string EscapeForTerminal(const std::string& text);

// Whether the four bytes can be a tag: printable ASCII only.
bool IsTagLike(const uint8_t* p);

std::string TagText(const uint8_t* p);

}  // namespace vinspect
