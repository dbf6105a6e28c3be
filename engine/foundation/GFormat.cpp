// _gcvt, rebuilt from its documented and observed behaviour rather than called, so that Linux
// and the MinGW build (whose printf rounds and pads differently) write identical texts.
//
// How the Windows runtime lays the number out:
//   1. The value is rounded to `digits` significant digits; decpt is the position of the
//      decimal point relative to the first digit (value = 0.d1d2... x 10^decpt), so the decimal
//      exponent is decpt - 1.
//   2. Exponent < -1 or > digits-1: exponential, as printf's "%.*e" with digits-1 decimals and
//      the runtime's three-digit exponent ("-1.23456789012e-002" for -0.0123456789012 with 12
//      digits). Note the lower bound is -1, not %g's -4: 0.05 becomes "5.e-002".
//      Otherwise fixed, as "%.*f" with digits - decpt decimals: 1e20 with 50 digits is
//      "100000000000000000000." and only with fewer than 21 digits becomes "1.e+020".
//   3. When the text has a decimal point, the zeros at the end of the fraction (before the
//      exponent) are removed, but the point itself stays: 7 gives "7.", 0 gives "0.".
//      With no decimals at all there is no point: 123456789012 with 12 digits prints as is.
// Digits are the exact decimal expansion of the binary value (0.1 with 50 digits is
// 0.1000000000000000055511151231257827021181583404541), as the current runtime prints them, and
// rounding looks at the exact remainder: a following digit of 5 or more rounds up.
// Infinities and NaN, which the runtime spells in several ways, are written "inf", "-inf" and
// "nan".
#include "GFormat.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// value = 0.digits x 10^decpt; digits has no leading zeros; empty digits means zero.
struct Decimal {
  std::string digits;
  int decpt = 0;
};

// Unsigned big integer in base 10^9, least significant limb first.
class BigDecimal {
 public:
  explicit BigDecimal(uint64_t v) {
    do {
      limbs_.push_back(static_cast<uint32_t>(v % kBase));
      v /= kBase;
    } while (v != 0);
  }

  void Multiply(uint32_t factor) {
    uint64_t carry = 0;
    for (uint32_t& limb : limbs_) {
      const uint64_t product = static_cast<uint64_t>(limb) * factor + carry;
      limb = static_cast<uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }

  // Multiplies by base^exponent, in steps that keep each factor below 2^32.
  void MultiplyPower(uint32_t base, uint32_t step, uint32_t stepFactor, int exponent) {
    while (exponent >= static_cast<int>(step)) {
      Multiply(stepFactor);
      exponent -= static_cast<int>(step);
    }
    uint32_t rest = 1;
    for (int i = 0; i < exponent; ++i) rest *= base;
    if (rest != 1) Multiply(rest);
  }

  std::string ToText() const {
    std::string text = std::to_string(limbs_.back());
    for (size_t i = limbs_.size() - 1; i-- > 0;) {
      std::string part = std::to_string(limbs_[i]);
      text.append(9 - part.size(), '0');
      text += part;
    }
    return text;
  }

 private:
  static constexpr uint64_t kBase = 1000000000u;
  std::vector<uint32_t> limbs_;
};

// The exact decimal expansion of a finite, non-negative double.
Decimal ExactDecimal(double value) {
  Decimal out;
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof(bits));
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
  int exponent2 = 0;
  if (biased == 0) {
    if (mantissa == 0) return out;  // zero
    exponent2 = -1074;
  } else {
    mantissa |= uint64_t{1} << 52;
    exponent2 = biased - 1075;
  }
  while ((mantissa & 1) == 0) {
    mantissa >>= 1;
    ++exponent2;
  }

  BigDecimal number(mantissa);
  int shift = 0;
  if (exponent2 > 0) {
    number.MultiplyPower(2, 29, uint32_t{1} << 29, exponent2);
  } else if (exponent2 < 0) {
    // m / 2^k == m * 5^k / 10^k
    number.MultiplyPower(5, 13, 1220703125u, -exponent2);
    shift = -exponent2;
  }
  out.digits = number.ToText();
  out.decpt = static_cast<int>(out.digits.size()) - shift;
  const size_t last = out.digits.find_last_not_of('0');
  out.digits.erase(last + 1);
  return out;
}

// Keeps `keep` leading digits (keep may be 0 or negative), rounding half up on the exact rest.
Decimal RoundTo(const Decimal& exact, int keep) {
  Decimal out;
  const int length = static_cast<int>(exact.digits.size());
  if (length == 0) return out;
  if (keep >= length) return exact;
  if (keep < 0) return out;  // below half of the last kept place: zero
  const bool up = exact.digits[static_cast<size_t>(keep)] >= '5';
  out.digits = exact.digits.substr(0, static_cast<size_t>(keep));
  out.decpt = exact.decpt;
  if (up) {
    int i = keep - 1;
    while (i >= 0 && out.digits[static_cast<size_t>(i)] == '9') {
      out.digits[static_cast<size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++out.digits[static_cast<size_t>(i)];
    } else {
      out.digits.insert(out.digits.begin(), '1');
      ++out.decpt;
    }
  }
  const size_t last = out.digits.find_last_not_of('0');
  if (last == std::string::npos) {
    out.digits.clear();
    out.decpt = 0;
  } else {
    out.digits.erase(last + 1);
  }
  return out;
}

// Digit i of the rounded number counted from its first digit, zero beyond the stored ones.
char DigitAt(const Decimal& d, int i) {
  return (i >= 0 && i < static_cast<int>(d.digits.size())) ? d.digits[static_cast<size_t>(i)] : '0';
}

std::string Exponential(const Decimal& rounded, int digits) {
  std::string text(1, rounded.digits.empty() ? '0' : rounded.digits[0]);
  if (digits > 1) {
    text += '.';
    for (int i = 1; i < digits; ++i) text += DigitAt(rounded, i);
  }
  const int exponent = rounded.digits.empty() ? 0 : rounded.decpt - 1;
  text += exponent < 0 ? "e-" : "e+";
  std::string number = std::to_string(exponent < 0 ? -exponent : exponent);
  if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
  return text + number;
}

std::string Fixed(const Decimal& exact, int decimals) {
  const Decimal rounded = RoundTo(exact, exact.decpt + decimals);
  std::string text;
  if (rounded.digits.empty() || rounded.decpt <= 0) {
    text = "0";
  } else {
    for (int i = 0; i < rounded.decpt; ++i) text += DigitAt(rounded, i);
  }
  if (decimals > 0) {
    text += '.';
    for (int i = 0; i < decimals; ++i)
      text += rounded.digits.empty() ? '0' : DigitAt(rounded, rounded.decpt + i);
  }
  return text;
}

// Removes the zeros that end the fraction, keeping the point and any exponent.
void TrimFraction(std::string& text) {
  const size_t point = text.find('.');
  if (point == std::string::npos) return;
  size_t end = text.find('e', point);
  if (end == std::string::npos) end = text.size();
  size_t keep = end;
  while (keep > point + 1 && text[keep - 1] == '0') --keep;
  text.erase(keep, end - keep);
}

}  // namespace

std::string GFormat(double value, int digits) {
  if (digits < 1) digits = 1;
  if (digits > 340) digits = 340;
  if (std::isnan(value)) return "nan";
  const bool negative = std::signbit(value);
  if (std::isinf(value)) return negative ? "-inf" : "inf";

  const Decimal exact = ExactDecimal(std::fabs(value));
  const Decimal rounded = RoundTo(exact, digits);
  // Zero counts as exponent -1 (0.0 x 10^0), which lands in fixed notation.
  const int magnitude = rounded.digits.empty() ? -1 : rounded.decpt - 1;

  std::string text;
  if (magnitude < -1 || magnitude > digits - 1)
    text = Exponential(rounded, digits);
  else
    text = Fixed(exact, digits - (magnitude + 1));
  TrimFraction(text);
  return negative ? "-" + text : text;
}
