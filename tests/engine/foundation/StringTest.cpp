#include <gtest/gtest.h>

#include <string>

#include "Vlt_String.h"

namespace {

std::string Narrow(const Vlt_String& s) { return s.GetString() ? s.GetString() : "<null>"; }
std::u16string Wide(const Vlt_String& s) { return s.GetWString() ? s.GetWString() : u"<null>"; }

TEST(VltString, NewStringHasBothSidesNull) {
  Vlt_String s;
  EXPECT_EQ(s.GetString(), nullptr);
  EXPECT_EQ(s.GetWString(), nullptr);
}

TEST(VltString, SidesAreIndependent) {
  Vlt_String s;
  s.SetString("abc");
  EXPECT_EQ(s.GetWString(), nullptr);
  s.SetWString(u"xyz");
  EXPECT_EQ(Narrow(s), "abc");
  EXPECT_EQ(Wide(s), u"xyz");
  s.SetString(nullptr);
  EXPECT_EQ(s.GetString(), nullptr);
  EXPECT_EQ(Wide(s), u"xyz");
  s.SetWString(u"");
  EXPECT_EQ(Wide(s), u"");
  s.SetString("");
  EXPECT_EQ(Narrow(s), "");
}

TEST(VltString, SetStringFromItsOwnText) {
  Vlt_String s;
  s.SetString("C:\\dir\\file.cgr");
  s.SetString(s.GetString() + 7);  // points into the storage being replaced
  EXPECT_EQ(Narrow(s), "file.cgr");
  s.SetString(s.GetString());
  EXPECT_EQ(Narrow(s), "file.cgr");
  s.SetWString(u"wide text");
  s.SetWString(s.GetWString() + 5);
  EXPECT_EQ(Wide(s), u"text");
}

TEST(VltString, AddString) {
  const struct {
    const char* start;  // null: side not set
    const char* added;  // null: nothing passed
    const char* expected;
  } cases[] = {
      {"ab", "cd", "abcd"}, {"ab", "", "ab"},  {"ab", nullptr, "ab"},
      {nullptr, "x", "x"},  {nullptr, "", ""}, {nullptr, nullptr, nullptr},
      {"", "x", "x"},
  };
  for (const auto& c : cases) {
    Vlt_String s;
    s.SetString(c.start);
    s.AddString(c.added);
    if (c.expected == nullptr)
      EXPECT_EQ(s.GetString(), nullptr);
    else
      EXPECT_EQ(Narrow(s), c.expected)
          << (c.start ? c.start : "null") << " + " << (c.added ? c.added : "null");
  }
}

TEST(VltString, AddStringWideAndFromItself) {
  Vlt_String s;
  s.AddString(u"ab");
  s.AddString(u"cd");
  EXPECT_EQ(Wide(s), u"abcd");
  EXPECT_EQ(s.GetString(), nullptr);
  s.SetString("xy");
  s.AddString(s.GetString());
  EXPECT_EQ(Narrow(s), "xyxy");
}

TEST(VltString, SetMaxCarsCutsLongerSidesOnly) {
  Vlt_String s;
  s.SetString("abcdef");
  s.SetWString(u"ab");
  s.SetMaxCars(3);
  EXPECT_EQ(Narrow(s), "abc");
  EXPECT_EQ(Wide(s), u"ab");
  for (int ignored : {0, -2}) {
    s.SetMaxCars(ignored);
    EXPECT_EQ(Narrow(s), "abc");
  }
  s.SetWString(u"abcdef");
  s.SetMaxCars(1);
  EXPECT_EQ(Narrow(s), "a");
  EXPECT_EQ(Wide(s), u"a");
  Vlt_String empty;
  empty.SetMaxCars(2);  // both sides null: nothing to cut
  EXPECT_EQ(empty.GetString(), nullptr);
}

TEST(VltString, CaseChangesOnlyAsciiLettersOnBothSides) {
  Vlt_String s;
  s.SetString("MiXed 1-\xC4\xE4");
  s.SetWString(u"MiXed \u00C4");
  s.StrLwr();
  EXPECT_EQ(Narrow(s), "mixed 1-\xC4\xE4");
  EXPECT_EQ(Wide(s), u"mixed \u00C4");
  s.StrUpr();
  EXPECT_EQ(Narrow(s), "MIXED 1-\xC4\xE4");
  EXPECT_EQ(Wide(s), u"MIXED \u00C4");
  Vlt_String none;
  none.StrUpr();
  EXPECT_EQ(none.GetString(), nullptr);
}

TEST(VltString, MakeFullNameKeepsTheLastComponent) {
  const struct {
    const char* path;
    const char* expected;
  } cases[] = {
      {"C:\\dir\\file.cgr", "file.cgr"},
      {"dir/sub/x", "x"},
      {"file.cgr", "file.cgr"},
      {"\\file", "\\file"},  // position 0 is never examined
      {"/file", "/file"},
      {"a\\", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    char buffer[260];
    std::snprintf(buffer, sizeof(buffer), "%s", c.path);
    Vlt_String s;
    EXPECT_EQ(s.MakeFULLName(buffer), buffer);
    EXPECT_STREQ(buffer, c.expected) << c.path;
    EXPECT_EQ(s.GetString(), nullptr);  // the object's own text is not involved
  }
}

TEST(VltString, MakeFullNameLooksOnlyAtTheFirst258Characters) {
  // A separator past character 258 is not seen; the one before it is.
  std::string path = "dir\\" + std::string(250, 'a') + "\\bcdefgh\\tail";
  ASSERT_GT(path.size(), 258u);
  char buffer[300];
  std::snprintf(buffer, sizeof(buffer), "%s", path.c_str());
  Vlt_String s;
  s.MakeFULLName(buffer);
  EXPECT_STREQ(buffer, "bcd");  // characters 255..257, cut with the working buffer
}

}  // namespace
