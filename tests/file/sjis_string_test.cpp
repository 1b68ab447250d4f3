#include "file/sjis_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

TEST(SjisString, CountsDoubleByteCharactersOnce) {
  struct Case { const char* text; int32_t count; std::vector<int> kinds; };  // kinds from -1
  const Case cases[] = {
      {"", 0, {255, 255}},
      {"\x82\xA0" "AB", 3, {255, 2, 3, 1, 1, 255}},
      {"\x81\x81", 1, {255, 2, 3, 255}},                // a trail byte in the lead range
      {"\xB1\xDF\xA0\x80\xFD", 5, {255, 1, 1, 1, 1, 1, 255}},  // half-width katakana and gaps
      {"\x9F", 1, {255, 2, 255}},                       // lead byte with no trail
      {"\xE0\x40\xFC\xFC", 2, {255, 2, 3, 2, 3, 255}},      // the upper lead range's ends
      {"表示\\", 3, {255, 2, 3, 2, 3, 1, 255}},         // trail bytes 0x5C, then a real one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SjisString s;
    s = c.text;
    EXPECT_STREQ(s.GetText(), c.text);
    EXPECT_EQ(s.GetCharCount(), c.count);
    EXPECT_EQ(s.IsEmpty(), c.count == 0);
    std::vector<int> kinds;
    for (int32_t i = -1; i <= s.GetLength(); ++i) kinds.push_back(s.CharKind(i));
    EXPECT_EQ(kinds, c.kinds);
  }
}

TEST(SjisString, AllocBlockGivesZeroBytesOfTheLength) {
  SjisString s;
  s = "abc";
  EXPECT_EQ(s.AllocBlock(-1), 0);
  EXPECT_STREQ(s.GetText(), "abc");
  EXPECT_EQ(s.AllocBlock(5), 1);
  EXPECT_EQ(s.GetLength(), 5);
  EXPECT_EQ(s.GetCharCount(), 0);
  EXPECT_EQ(s.IsEmpty(), 0);
  EXPECT_EQ(s.CharKind(3), SjisString::kNul);
  EXPECT_EQ(std::string(s.GetText(), 6), std::string(6, '\0'));
  // Too large for some platforms: either all of it or nothing.
  int32_t result = s.AllocBlock(INT32_MAX);
  EXPECT_EQ(result == 1, s.GetText() != nullptr);
  EXPECT_EQ(s.GetLength(), result == 1 ? INT32_MAX : 0);
}

TEST(SjisString, NullEmptiesReleaseLetsGoOwnTextCanBeAssigned) {
  SjisString s;
  s = "ab表示";
  s.Assign(s.GetText());
  EXPECT_STREQ(s.GetText(), "ab表示");
  s = s.GetText() + 2;
  EXPECT_STREQ(s.GetText(), "表示");
  EXPECT_EQ(s.GetCharCount(), 2);
  s.Assign(nullptr);
  ASSERT_NE(s.GetText(), nullptr);
  EXPECT_STREQ(s.GetText(), "");
  s.Release();
  EXPECT_EQ(s.GetText(), nullptr);
  EXPECT_EQ(s.CharKind(0), SjisString::kOutside);
  s.Recount();
  EXPECT_EQ(s.IsEmpty(), 1);
}

}  // namespace
