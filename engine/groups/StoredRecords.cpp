// Field-by-field little-endian serialisation of the stored records.
#include "groups/StoredRecords.h"

#include <cstring>

namespace vgroups {

namespace {

// Copies a fixed text field and keeps it terminated, whatever the stored bytes hold.
void GetText(const uint8_t* in, char* text, size_t size) {
  std::memcpy(text, in, size);
  text[size - 1] = '\0';
}

// Writes a fixed text field up to its terminator and zeroes the rest, so that whatever the
// memory held after the text never reaches the file.
void PutText(uint8_t* out, const char* text, size_t size) {
  size_t n = 0;
  while (n < size && text[n] != '\0') ++n;
  std::memcpy(out, text, n);
  std::memset(out + n, 0, size - n);
}

}  // namespace

void PutU32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
  out[2] = static_cast<uint8_t>(value >> 16);
  out[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t GetU32(const uint8_t* in) {
  return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
         static_cast<uint32_t>(in[2]) << 16 | static_cast<uint32_t>(in[3]) << 24;
}

void PutGuid(uint8_t* out, const GUID& guid) {
  PutU32(out, guid.Data1);
  out[4] = static_cast<uint8_t>(guid.Data2);
  out[5] = static_cast<uint8_t>(guid.Data2 >> 8);
  out[6] = static_cast<uint8_t>(guid.Data3);
  out[7] = static_cast<uint8_t>(guid.Data3 >> 8);
  std::memcpy(out + 8, guid.Data4, 8);
}

GUID GetGuid(const uint8_t* in) {
  GUID guid;
  guid.Data1 = GetU32(in);
  guid.Data2 = static_cast<uint16_t>(in[4] | in[5] << 8);
  guid.Data3 = static_cast<uint16_t>(in[6] | in[7] << 8);
  std::memcpy(guid.Data4, in + 8, 8);
  return guid;
}

void PutChannelType(uint8_t* out, const ChannelType& type) {
  PutText(out, type.name, 80);
  PutGuid(out + 80, type.typeGuid);
  PutGuid(out + 96, type.baseGuid);
  for (int i = 0; i < 3; ++i) PutU32(out + 112 + 4 * i, static_cast<uint32_t>(type.version[i]));
  for (int i = 0; i < 2; ++i) PutU32(out + 124 + 4 * i, static_cast<uint32_t>(type.reserved[i]));
}

void GetChannelType(const uint8_t* in, ChannelType* type) {
  GetText(in, type->name, sizeof(type->name));
  type->typeGuid = GetGuid(in + 80);
  type->baseGuid = GetGuid(in + 96);
  for (int i = 0; i < 3; ++i) type->version[i] = static_cast<int32_t>(GetU32(in + 112 + 4 * i));
  for (int i = 0; i < 2; ++i) type->reserved[i] = static_cast<int32_t>(GetU32(in + 124 + 4 * i));
}

void PutChildCreation(uint8_t* out, const ChildCreation& creation) {
  PutChannelType(out, creation.acceptedType);
  PutU32(out + 132, static_cast<uint32_t>(creation.requestLink));
  out[136] = creation.flag;
  out[137] = creation.createDefaultChild;
  PutText(out + 138, creation.linkName, 99);
  std::memset(out + 237, 0, 3);
  PutGuid(out + 240, creation.defaultChildType);
  PutU32(out + 256, 0);
  PutU32(out + 260, static_cast<uint32_t>(creation.positionIndex));
}

void GetChildCreation(const uint8_t* in, ChildCreation* creation) {
  GetChannelType(in, &creation->acceptedType);
  creation->requestLink = static_cast<int32_t>(GetU32(in + 132));
  creation->flag = in[136];
  creation->createDefaultChild = in[137];
  GetText(in + 138, creation->linkName, sizeof(creation->linkName));
  creation->defaultChildType = GetGuid(in + 240);
  creation->head = nullptr;
  creation->positionIndex = static_cast<int32_t>(GetU32(in + 260));
}

void PutPublicCallInfo(uint8_t* out, const PublicCallInfo& info) {
  PutText(out, info.channelName, 80);
  PutText(out + 80, info.poolName, 80);
  PutText(out + 160, info.targetPath, 260);
  PutU32(out + 420, static_cast<uint32_t>(info.poolNr));
  out[424] = info.autoLoadGroup;
  std::memset(out + 425, 0, 3);
  PutU32(out + 428, static_cast<uint32_t>(info.dynamicAutoLoadGroup));
  PutChildCreation(out + 432, info.unresolvedPosition);
}

void GetPublicCallInfo(const uint8_t* in, PublicCallInfo* info) {
  GetText(in, info->channelName, sizeof(info->channelName));
  GetText(in + 80, info->poolName, sizeof(info->poolName));
  GetText(in + 160, info->targetPath, sizeof(info->targetPath));
  info->poolNr = static_cast<int32_t>(GetU32(in + 420));
  info->autoLoadGroup = in[424];
  info->dynamicAutoLoadGroup = static_cast<int32_t>(GetU32(in + 428));
  GetChildCreation(in + 432, &info->unresolvedPosition);
}

void PutParameterInterfaceInfo(uint8_t* out, const ParameterInterfaceInfo& info) {
  PutText(out, info.name, 40);
  PutGuid(out + 40, info.type);
}

void GetParameterInterfaceInfo(const uint8_t* in, ParameterInterfaceInfo* info) {
  GetText(in, info->name, sizeof(info->name));
  info->type = GetGuid(in + 40);
}

}  // namespace vgroups
