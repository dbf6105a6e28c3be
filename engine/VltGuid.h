// GUID helpers shared by the engine and plug-ins.
#pragma once

#include "VltExport.h"

// {11111111-1111-1111-1111-111111111111}: any channel type at a link position.
VEXILON_API extern const GUID VLT_WILDCARD_GUID;
// {00000000-0000-0000-0000-000000000000}: no type.
VEXILON_API extern const GUID VLT_NULL_GUID;

VEXILON_API bool VltGuidEqual(const GUID& a, const GUID& b);
VEXILON_API bool VltGuidIsNull(const GUID& g);
// Writes the GUID as "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X" (37 bytes with the
// terminator).
VEXILON_API void VltGuidToText(const GUID& g, char out[37]);
// Parses that text form (braces optional); false on malformed text.
VEXILON_API bool VltGuidFromText(const char* text, GUID* out);
