// Type GUIDs of the base channels the engine itself creates: the file loader and saver, the
// container translators, the file dialog, the background loader and the directory lister.
#pragma once

#include "VltExport.h"

// A4E19C73-5B2F-4D86-9E0A-37C1F8D24B65
constexpr GUID VLT_FILELOADER_GUID = {
    0xA4E19C73, 0x5B2F, 0x4D86, {0x9E, 0x0A, 0x37, 0xC1, 0xF8, 0xD2, 0x4B, 0x65}};
// F2B8073D-94C1-4A5E-8D26-C5E3A91B7F08
constexpr GUID VLT_FILESAVER_GUID = {
    0xF2B8073D, 0x94C1, 0x4A5E, {0x8D, 0x26, 0xC5, 0xE3, 0xA9, 0x1B, 0x7F, 0x08}};
// 51D0E7A3-96BC-4F2E-B478-0A3C6E9D12F4: undoes and writes "ZIOS"/"ZINS"/"ZICB" containers.
constexpr GUID VLT_COMPRESSION_TRANSLATOR_GUID = {
    0x51D0E7A3, 0x96BC, 0x4F2E, {0xB4, 0x78, 0x0A, 0x3C, 0x6E, 0x9D, 0x12, 0xF4}};
// E6F1B38A-7C25-4D90-B4E3-18A9D2C65F07
constexpr GUID VLT_FILEDIALOG_GUID = {
    0xE6F1B38A, 0x7C25, 0x4D90, {0xB4, 0xE3, 0x18, 0xA9, 0xD2, 0xC6, 0x5F, 0x07}};
// 27D9C4E5-B81F-4A36-9C07-F5E2A84B1D63
constexpr GUID VLT_BACKGROUNDLOADER_GUID = {
    0x27D9C4E5, 0xB81F, 0x4A36, {0x9C, 0x07, 0xF5, 0xE2, 0xA8, 0x4B, 0x1D, 0x63}};
// 0C5B8E21-6F4A-4D93-A7E0-93B2D5F1C846: the directory lister. The engine creates it from its
// file name ("channels/Directory"), never by type; the GUID only names its type record.
constexpr GUID VLT_DIRECTORY_GUID = {
    0x0C5B8E21, 0x6F4A, 0x4D93, {0xA7, 0xE0, 0x93, 0xB2, 0xD5, 0xF1, 0xC8, 0x46}};
