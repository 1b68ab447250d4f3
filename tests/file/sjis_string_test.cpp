#include "file/sjis_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::vector<int> KindsOf(const SjisString& s, int32_t upTo) {
  std::vector<int> kinds;
  for (int32_t i = -1; i <= upTo; ++i) kinds.push_back(s.CharKind(i));
  return kinds;
}

TEST(SjisString, NewStringIsEmptyOnAZeroBlock) {
  SjisString s;
  EXPECT_EQ(s.IsEmpty(), 1);
  ASSERT_NE(s.GetText(), nullptr);
  EXPECT_EQ(s.GetText()[0], '\0');
  EXPECT_EQ(s.CharKind(0), SjisString::kOutside);
}

TEST(SjisString, CountsDoubleByteCharactersOnce) {
  struct Case { const char* text; int32_t length; int32_t count; std::vector<int> kinds; };
  const Case cases[] = {
      {"\x82\xA0" "AB", 4, 3, {255, 2, 3, 1, 1, 255}},
      {"\x81\x81", 2, 1, {255, 2, 3, 255}},            // a trail byte in the lead range
      {"\xB1\xDF\xA0", 3, 3, {255, 1, 1, 1, 255}},     // half-width katakana
      {"\x9F", 1, 1, {255, 2, 255}},                   // lead byte with no trail
      {"表示\\", 5, 3, {255, 2, 3, 2, 3, 1, 255}},     // trail byte 0x5C, then a real one
      {"\x80\xFD\xFC\x41", 4, 3, {255, 1, 1, 2, 3, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SjisString s;
    s = c.text;
    EXPECT_EQ(std::string(s.GetText()), c.text);
    EXPECT_EQ(s.GetLength(), c.length);
    EXPECT_EQ(s.GetCharCount(), c.count);
    EXPECT_EQ(s.IsEmpty(), 0);
    EXPECT_EQ(KindsOf(s, c.length), c.kinds);
  }
}

TEST(SjisString, AllocBlockGivesZeroBytesOfTheLength) {
  SjisString s;
  s.Assign("abc");
  EXPECT_EQ(s.AllocBlock(-1), 0);
  EXPECT_STREQ(s.GetText(), "abc");
  EXPECT_EQ(s.GetCharCount(), 3);
  EXPECT_EQ(s.AllocBlock(5), 1);
  EXPECT_EQ(s.GetLength(), 5);
  EXPECT_EQ(s.GetCharCount(), 0);
  EXPECT_EQ(s.IsEmpty(), 0);
  EXPECT_EQ(s.CharKind(3), SjisString::kNul);
  EXPECT_EQ(std::string(s.GetText(), 6), std::string(6, '\0'));
  s.Recount();
  EXPECT_EQ(s.GetLength(), 0);
  EXPECT_EQ(s.IsEmpty(), 1);
}

TEST(SjisString, HugeBlockIsRefusedOrWhole) {
  SjisString s;
  int32_t result = s.AllocBlock(INT32_MAX);
  EXPECT_EQ(result == 1, s.GetText() != nullptr);
  EXPECT_EQ(s.GetLength(), result == 1 ? INT32_MAX : 0);
  s.Assign("ok");
  EXPECT_STREQ(s.GetText(), "ok");
}

TEST(SjisString, NullEmptiesAndReleaseLetsGo) {
  SjisString s;
  s = "表";
  s.Assign(nullptr);
  EXPECT_EQ(s.IsEmpty(), 1);
  ASSERT_NE(s.GetText(), nullptr);
  EXPECT_EQ(s.GetText()[0], '\0');
  EXPECT_EQ(s.Clear(), 1);
  s.Release();
  EXPECT_EQ(s.GetText(), nullptr);
  EXPECT_EQ(s.CharKind(0), SjisString::kOutside);
  s.Release();
  s.Recount();
  EXPECT_EQ(s.GetLength(), 0);
  s = "ab";
  EXPECT_STREQ(s.GetText(), "ab");
}

TEST(SjisString, AssignFromItsOwnBlock) {
  SjisString s;
  s = "ab表示";
  s.Assign(s.GetText());
  EXPECT_STREQ(s.GetText(), "ab表示");
  EXPECT_EQ(s.GetCharCount(), 4);
  s = s.GetText() + 2;
  EXPECT_STREQ(s.GetText(), "表示");
  EXPECT_EQ(s.GetCharCount(), 2);
  s = s.GetText() + 4;
  EXPECT_EQ(s.IsEmpty(), 1);
}

}  // namespace
