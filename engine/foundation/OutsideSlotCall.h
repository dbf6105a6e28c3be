// Marks a function that calls a slot of an outside channel type through the SDK's declaration of
// its slot layout. The object is the plug-in's own class, which the sanitizer's dynamic type
// check cannot see, and a plug-in may lay the slots out without deriving from the SDK class.
#pragma once

#if defined(__GNUC__)
#define OUTSIDE_SLOT_CALL __attribute__((no_sanitize("vptr")))
#else
#define OUTSIDE_SLOT_CALL
#endif
