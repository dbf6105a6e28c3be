// Protected group files. The transform only keeps casual readers out of a file; it is not
// meant to resist anyone who wants the content.
#include "groups/GroupProtection.h"

#include <vector>

#include "VltFileLoader.h"
#include "VltFileSaver.h"
#include "groups/BlockReader.h"
#include "groups/StoredRecords.h"

void GroupProtection::Scramble(uint8_t* bytes, size_t size) {
  // A linear congruential key stream seeded by the length, mixed into every byte.
  uint32_t state = 0x6B43A9B5u ^ static_cast<uint32_t>(size);
  for (size_t i = 0; i < size; ++i) {
    state = state * 1664525u + 1013904223u;
    bytes[i] ^= static_cast<uint8_t>(state >> 24);
  }
}

bool GroupProtection::Protect(EngineInterface* engine, const char* fileName) {
  if (fileName == nullptr) return false;
  std::vector<uint8_t> body;
  {
    VltFileLoader loader(engine);
    if (!loader.LoadFile(fileName)) return false;
    const int size = loader.GetBufferSize();
    if (size > 0 && loader.GetBuffer() != nullptr)
      body.assign(loader.GetBuffer(), loader.GetBuffer() + size);
  }
  Scramble(body.data(), body.size());
  VltFileSaver saver(engine);
  if (!saver.OpenSaveFile(fileName, false)) return false;
  uint8_t length[4];
  vgroups::PutU32(length, static_cast<uint32_t>(body.size()));
  saver.SaveTag("__3_");
  saver.SaveTag("OPRT");
  saver.SaveBlockSize(sizeof(length));
  saver.SaveDataToFile(length, sizeof(length));
  saver.SaveTag("WWRT");
  saver.SaveBlockSize(static_cast<uint32_t>(body.size()));
  saver.SaveDataToFile(body.data(), static_cast<uint32_t>(body.size()));
  return saver.CloseSaveFile();
}

bool GroupProtection::Unprotect(VltFileLoader* loader) {
  if (loader == nullptr) return false;
  loader->CheckHeader("__3_", true);
  vgroups::BlockReader in(loader);
  int32_t length = 0;
  if (!in.Has("OPRT") || !in.ReadInt(&length)) return false;
  std::vector<uint8_t> body;
  if (!in.Has("WWRT") || !in.ReadData(&body)) return false;
  if (length < 0 || body.size() != static_cast<size_t>(length)) return false;
  Scramble(body.data(), body.size());
  // The loader keeps its own copy: the body goes away with this function.
  loader->SetBuffer(body.data(), static_cast<uint32_t>(body.size()), true);
  return true;
}
