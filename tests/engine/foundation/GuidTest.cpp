#include <gtest/gtest.h>

#include <string>

#include "VltGuid.h"

namespace {

const GUID kSample = {0xA1B2C3D4, 0x0E0F, 0x1234, {0x5A, 0x6B, 0x7C, 0x8D, 0x9E, 0xAF, 0x00, 0x01}};

std::string Text(const GUID& g) {
  char out[37];
  VltGuidToText(g, out);
  return out;
}

TEST(VltGuid, TextFormIsUpperCaseWithoutBraces) {
  EXPECT_EQ(Text(kSample), "A1B2C3D4-0E0F-1234-5A6B-7C8D9EAF0001");
  EXPECT_EQ(Text(VLT_WILDCARD_GUID), "11111111-1111-1111-1111-111111111111");
  EXPECT_EQ(Text(VLT_NULL_GUID), "00000000-0000-0000-0000-000000000000");
  const GUID high = {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
  EXPECT_EQ(Text(high), "FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF");
}

TEST(VltGuid, ParsesItsTextFormWithOrWithoutBraces) {
  for (const char* text :
       {"A1B2C3D4-0E0F-1234-5A6B-7C8D9EAF0001", "{a1b2c3d4-0e0f-1234-5a6b-7c8d9eaf0001}"}) {
    GUID g = VLT_NULL_GUID;
    ASSERT_TRUE(VltGuidFromText(text, &g)) << text;
    EXPECT_TRUE(VltGuidEqual(g, kSample)) << text;
  }
}

TEST(VltGuid, RejectsMalformedText) {
  for (const char* text :
       {"", "A1B2C3D4-0E0F-1234-5A6B-7C8D9EAF000", "A1B2C3D4-0E0F-1234-5A6B-7C8D9EAF00011",
        "A1B2C3D40E0F-1234-5A6B-7C8D9EAF0001", "{A1B2C3D4-0E0F-1234-5A6B-7C8D9EAF0001",
        "A1B2C3D4-0E0F-1234-5A6B7C8D9EAF0001", "G1B2C3D4-0E0F-1234-5A6B-7C8D9EAF0001"}) {
    GUID g = kSample;
    EXPECT_FALSE(VltGuidFromText(text, &g)) << text;
    EXPECT_TRUE(VltGuidEqual(g, kSample)) << "output untouched for " << text;
  }
  GUID g;
  EXPECT_FALSE(VltGuidFromText(nullptr, &g));
}

TEST(VltGuid, EqualityIsBytewise) {
  GUID other = kSample;
  EXPECT_TRUE(VltGuidEqual(other, kSample));
  other.Data4[7] ^= 1;
  EXPECT_FALSE(VltGuidEqual(other, kSample));
  EXPECT_TRUE(VltGuidIsNull(VLT_NULL_GUID));
  EXPECT_FALSE(VltGuidIsNull(other));
}

}  // namespace
