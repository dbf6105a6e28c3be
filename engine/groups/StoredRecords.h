// Byte layouts of the records a group file stores. Every record is written and read field by
// field, little-endian, so that a file is the same on every platform and word size; the
// in-memory structs carry pointers and padding that differ between builds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ChannelType.h"
#include "ChildCreation.h"
#include "PublicCallInfo.h"

namespace vgroups {

constexpr size_t kGuidBytes = 16;
constexpr size_t kChannelTypeBytes = 132;
constexpr size_t kChildCreationBytes = 264;
constexpr size_t kPublicCallInfoBytes = 696;
constexpr size_t kParameterInterfaceInfoBytes = 56;

void PutU32(uint8_t* out, uint32_t value);
uint32_t GetU32(const uint8_t* in);
void PutGuid(uint8_t* out, const GUID& guid);
GUID GetGuid(const uint8_t* in);

void PutChannelType(uint8_t* out, const ChannelType& type);
void GetChannelType(const uint8_t* in, ChannelType* type);
// The head reference is written as zero and comes back as none: it only means something in the
// memory of the channel that owns the position.
void PutChildCreation(uint8_t* out, const ChildCreation& creation);
void GetChildCreation(const uint8_t* in, ChildCreation* creation);
void PutPublicCallInfo(uint8_t* out, const PublicCallInfo& info);
void GetPublicCallInfo(const uint8_t* in, PublicCallInfo* info);
void PutParameterInterfaceInfo(uint8_t* out, const ParameterInterfaceInfo& info);
void GetParameterInterfaceInfo(const uint8_t* in, ParameterInterfaceInfo* info);

}  // namespace vgroups
