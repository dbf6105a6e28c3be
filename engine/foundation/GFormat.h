// Number to text the way the Windows C runtime's _gcvt writes it, identically on every platform.
#pragma once

#include <cstddef>
#include <string>

// `value` with `digits` significant digits (1 to 340; outside, clamped): fixed notation when
// the decimal exponent is -1 to digits-1, otherwise d.ddde+XXX; trailing fractional zeros are
// removed but the decimal point stays ("7."). See GFormat.cpp for the exact rules.
std::string GFormat(double value, int digits);
