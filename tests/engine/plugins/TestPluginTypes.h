// The test plug-ins' type GUIDs and file names, shared by the plug-ins, the tests and the build.
// Each library is named after its type GUID, as installed plug-ins are.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "VltExport.h"

namespace testplugins {

constexpr GUID MakeTestGuid(uint8_t n) {
  return GUID{0xA1B2C3D4, 0x0001, 0x4E00, {0x80, 0, 0, 0, 0, 0, 0, n}};
}

constexpr GUID kGoodType = MakeTestGuid(1);
constexpr GUID kVersion58Type = MakeTestGuid(2);
constexpr GUID kNoInitType = MakeTestGuid(3);
constexpr GUID kNoTypeType = MakeTestGuid(4);
constexpr GUID kNullInitType = MakeTestGuid(5);
constexpr GUID kChildMakerType = MakeTestGuid(6);
constexpr GUID kNestType = MakeTestGuid(7);
constexpr GUID kDependentType = MakeTestGuid(8);
// Registered nowhere: a default child of this type cannot be created.
constexpr GUID kMissingType = MakeTestGuid(0x99);
// The outside types the engine itself asks for.
constexpr GUID kFileDialogType = {
    0xE6F1B38A, 0x7C25, 0x4D90, {0xB4, 0xE3, 0x18, 0xA9, 0xD2, 0xC6, 0x5F, 0x07}};
constexpr GUID kReleaseNotifyType = {
    0x27D9C4E5, 0xB81F, 0x4A36, {0x9C, 0x07, 0xF5, 0xE2, 0xA8, 0x4B, 0x1D, 0x63}};

// File names relative to the channels folder, as a folder scan reports them.
constexpr const char* kGoodFile = "A1B2C3D4-0001-4E00-8000-000000000001.dll";
constexpr const char* kVersion58File = "A1B2C3D4-0001-4E00-8000-000000000002.dll";
constexpr const char* kNoInitFile = "A1B2C3D4-0001-4E00-8000-000000000003.dll";
constexpr const char* kNoTypeFile = "A1B2C3D4-0001-4E00-8000-000000000004.dll";
constexpr const char* kNullInitFile = "A1B2C3D4-0001-4E00-8000-000000000005.dll";
constexpr const char* kChildMakerFile = "A1B2C3D4-0001-4E00-8000-000000000006.dll";
constexpr const char* kNestFile = "A1B2C3D4-0001-4E00-8000-000000000007.dll";
constexpr const char* kDependentFile = "A1B2C3D4-0001-4E00-8000-000000000008.dll";
constexpr const char* kMissingFile = "A1B2C3D4-0001-4E00-8000-000000000099.dll";
constexpr const char* kFileDialogFile = "E6F1B38A-7C25-4D90-B4E3-18A9D2C65F07.dll";
constexpr const char* kReleaseNotifyFile = "27D9C4E5-B81F-4A36-9C07-F5E2A84B1D63.dll";

// Plug-ins append what happens to them (construction order, release order, module unload) to
// this environment variable, which outlives their modules.
constexpr const char* kLogVariable = "VEXILON_TEST_LOG";

}  // namespace testplugins
