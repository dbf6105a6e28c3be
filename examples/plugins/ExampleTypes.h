// Type GUIDs of the example channels.
#pragma once

#include "Vexilon.h"

// C10C4A11-5E3D-4B2A-9F17-0A6E2D8B3C41: shows the time since the project started.
constexpr GUID EXAMPLE_CLOCK_GUID = {
    0xC10C4A11, 0x5E3D, 0x4B2A, {0x9F, 0x17, 0x0A, 0x6E, 0x2D, 0x8B, 0x3C, 0x41}};
// 7A55E0B2-84C6-4F1D-A3E9-5B0C2D7F6E18: shows how many passes the engine runs per second.
constexpr GUID EXAMPLE_PASSRATE_GUID = {
    0x7A55E0B2, 0x84C6, 0x4F1D, {0xA3, 0xE9, 0x5B, 0x0C, 0x2D, 0x7F, 0x6E, 0x18}};
