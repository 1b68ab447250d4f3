#include "file/sjis_string.h"

#include <gtest/gtest.h>

#include <vector>

// Blocks, own-block sources and failed allocations are fuzz_sjis_string's part.
TEST(SjisString, CountsAndKindsFollowTheCharacterBoundaries) {
  struct Case { const char* text; int32_t count; std::vector<int> kinds; };  // kinds from -1
  const Case cases[] = {
      {nullptr, 0, {255, 255}},  // empties
      {"\x82\xA0" "AB", 3, {255, 2, 3, 1, 1, 255}},
      {"\x81\x81", 1, {255, 2, 3, 255}},                       // a trail byte in the lead range
      {"\xB1\xDF\xA0\x80\xFD", 5, {255, 1, 1, 1, 1, 1, 255}},  // half-width katakana and gaps
      {"\x9F", 1, {255, 2, 255}},                              // lead byte with no trail
      {"\xE0\x40\xFC\xFC", 2, {255, 2, 3, 2, 3, 255}},         // the upper lead range's ends
      {"表示\\", 3, {255, 2, 3, 2, 3, 1, 255}},                // trail bytes 0x5C, then a real one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    SjisString s;
    s = "x";
    s = c.text;
    EXPECT_STREQ(s.GetText(), c.text ? c.text : "");
    EXPECT_EQ(s.GetCharCount(), c.count);
    EXPECT_EQ(s.IsEmpty(), c.count == 0);
    std::vector<int> kinds;
    for (int32_t i = -1; i <= s.GetLength(); ++i) kinds.push_back(s.CharKind(i));
    EXPECT_EQ(kinds, c.kinds);
  }
}
