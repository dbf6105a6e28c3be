#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GFormat.h"

namespace {

struct GCase {
  double value;
  int digits;
  const char* expected;
};

TEST(GFormat, MatchesTheWindowsRuntimeLayout) {
  const GCase cases[] = {
      // Whole numbers keep their decimal point; zeros at the end of a fraction go.
      {7, 50, "7."},
      {0, 50, "0."},
      {-2.5, 50, "-2.5"},
      {1.5, 5, "1.5"},
      {-0.0, 10, "-0."},
      // Exact binary expansion, up to the requested number of digits.
      {0.1, 50, "0.1000000000000000055511151231257827021181583404541"},
      {0.1, 10, "0.1"},
      {static_cast<double>(0.1f), 50, "0.100000001490116119384765625"},
      {3.14159265358979, 10, "3.141592654"},
      // Fixed while the exponent is -1 to digits-1.
      {1e20, 50, "100000000000000000000."},
      {-123456789012.3, 12, "-123456789012"},  // no decimals left: no point
      {-12345678901.23, 12, "-12345678901.2"},
      {-0.123456789012, 12, "-0.123456789012"},
      // Exponential outside it, with a signed three-digit exponent.
      {1e20, 10, "1.e+020"},
      {-1234567890123.0, 12, "-1.23456789012e+012"},
      {-0.0123456789012, 12, "-1.23456789012e-002"},
      {0.05, 10, "5.e-002"},
      {1e-5, 50, "1.0000000000000000818030539140313095458623138256371e-005"},
      {1e300, 10, "1.e+300"},
      {5e-324, 10, "4.940656458e-324"},
      // Rounding can carry into a new leading digit, and so move to exponential form.
      {9.99999, 5, "10."},
      {99999.5, 5, "1.e+005"},
      {0.0999999, 5, "0.1"},
      {2147483647.0, 10, "2147483647"},
      {4294967295.0, 50, "4294967295."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GFormat(c.value, c.digits), c.expected) << c.value << " with " << c.digits;
}

TEST(GFormat, SpecialValues) {
  EXPECT_EQ(GFormat(std::numeric_limits<double>::infinity(), 10), "inf");
  EXPECT_EQ(GFormat(-std::numeric_limits<double>::infinity(), 10), "-inf");
  EXPECT_EQ(GFormat(std::nan(""), 10), "nan");
}

}  // namespace
