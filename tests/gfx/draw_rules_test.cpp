// Worked examples of the per-pixel rules and the area patterns. They pin down the readings of
// the rules that the reference model shares with the library: argument byte order, the
// divisions by 256 and 255, the top byte, the checkerboard's and the dissolve's phases, the
// mosaic grid and the blur window.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "reference/test_surface32.h"

namespace {

using PixelOp = std::function<ResultCode(TestSurface32& d, TestSurface32& s, TestSurface32& m)>;

struct PixelExample {
  const char* what;
  PixelOp op;
  uint32_t d, s, m, want;
};

TEST(DrawRules, PixelExamples) {
  const PixelExample examples[] = {
      {"fill swaps red and blue", [](auto& d, auto&, auto&) { return d.FillRect(0x12345678, nullptr); },
       0, 0, 0, 0x00785634},
      {"mask-or red alone", [](auto& d, auto&, auto&) { return d.MaskOrColor(0, nullptr); },
       0x00800000, 0, 0, 0x00FF00FF},
      {"clear ignores its colour", [](auto& d, auto&, auto&) { return d.ClearRect(0xFFFFFF, nullptr); },
       0xFF123456, 0, 0, 0},
      {"screen", [](auto& d, auto&, auto&) { return d.ScreenColor(0x000080FF, nullptr); },
       0x00804020, 0, 0, 0x00FE9F20},
      {"multiply", [](auto& d, auto&, auto&) { return d.MultiplyColor(0xFFFFFF, nullptr); },
       0x12345678, 0, 0, 0x00335577},
      {"average with top byte", [](auto& d, auto&, auto&) { return d.GrayAverage(nullptr); },
       0x01000000, 0, 0, 0x00555555},
      {"weighted white", [](auto& d, auto&, auto&) { return d.GrayWeighted(nullptr); },
       0x00FFFFFF, 0, 0, 0x00FDFDFD},
      {"weighted red", [](auto& d, auto&, auto&) { return d.GrayWeighted(nullptr); },
       0xFFFF0000, 0, 0, 0x005F5F5F},
      {"key compares whole words", [](auto& d, auto& s, auto&) { return d.BltKeyed(0, 0, &s, nullptr, 0); },
       7, 0xFF000000, 0, 0xFF000000},
      {"key skips", [](auto& d, auto& s, auto&) { return d.BltKeyed(0, 0, &s, nullptr, 0xFF); },
       7, 0x00FF0000, 0, 7},
      {"keyed blend", [](auto& d, auto& s, auto&) { return d.BltKeyedBlend(0, 0, &s, nullptr, 1, 0x00804020); },
       0x9ABCDEF0, 0x12345678, 0, 0x00AABBB3},
      {"blit mask-or drops the top byte", [](auto& d, auto& s, auto&) { return d.BltMaskOr(0, 0, &s, nullptr); },
       0xFF000000, 0, 0, 0},
      {"blit multiply", [](auto& d, auto& s, auto&) { return d.BltMultiply(0, 0, &s, nullptr); },
       0x00FFFFFF, 0x00808080, 0, 0x007F7F7F},
      {"half of white", [](auto& d, auto& s, auto&) { return d.BltBlendHalf(0, 0, &s, nullptr); },
       0, 0x00FFFFFF, 0, 0x007E7E7E},
      {"half over white", [](auto& d, auto& s, auto&) { return d.BltBlendHalf(0, 0, &s, nullptr); },
       0x00FFFFFF, 0, 0, 0x007F7F7F},
      {"level uses the low byte", [](auto& d, auto& s, auto&) { return d.BltBlendLevel(0, 0, &s, nullptr, -1); },
       0, 0x00FFFFFF, 0, 0x00FEFEFE},
      {"blend by colour weights", [](auto& d, auto& s, auto&) { return d.BltBlendColor(0, 0, &s, nullptr, 0xFF); },
       0x00102030, 0x00FFFFFF, 0, 0x00FE1F2F},
      {"mask blend", [](auto& d, auto& s, auto& m) { return d.BltMaskBlend(0, 0, &s, nullptr, &m, 0, 0); },
       0x00405060, 0x00102030, 0x000000FF, 0x003F4F2F},
      {"mask multiply", [](auto& d, auto& s, auto& m) { return d.BltMaskMultiply(0, 0, &s, nullptr, &m, 0, 0); },
       0x00C8C8C8, 0x00808080, 0x00808080, 0x00717171},
      {"mask multiply white mask", [](auto& d, auto& s, auto& m) { return d.BltMaskMultiply(0, 0, &s, nullptr, &m, 0, 0); },
       0x00C8C8C8, 0x12345678, 0x00FFFFFF, 0x00345678},
      {"mask multiply black mask", [](auto& d, auto& s, auto& m) { return d.BltMaskMultiply(0, 0, &s, nullptr, &m, 0, 0); },
       0xFF123456, 0x00FFFFFF, 0, 0x00123456},
      {"mask key copies the top byte", [](auto& d, auto& s, auto& m) { return d.BltMaskKey(0, 0, &s, nullptr, &m, 0, 0, 0x80); },
       7, 0xAB123456, 0x00FFFF80, 0xAB123456},
      {"mask key past a byte", [](auto& d, auto& s, auto& m) { return d.BltMaskKey(0, 0, &s, nullptr, &m, 0, 0, 256); },
       7, 0xAB123456, 0, 7},
  };
  for (const PixelExample& e : examples) {
    TestSurface32 d(1, 1, 1), s(1, 1, 1), m(1, 1, 1);
    d.At(0, 0) = e.d;
    s.At(0, 0) = e.s;
    m.At(0, 0) = e.m;
    EXPECT_EQ(e.op(d, s, m), RC_OK) << e.what;
    EXPECT_EQ(d.At(0, 0), e.want) << e.what << ": got 0x" << std::hex << d.At(0, 0);
  }
}

using Positions = std::vector<std::pair<int, int>>;

// The positions of the surface, row by row, whose pixel is no longer old.
Positions Changed(TestSurface32& s, uint32_t old) {
  Positions changed;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.At(x, y) != old) changed.emplace_back(x, y);
  return changed;
}

TEST(DrawRules, FrameRectDrawsTheClippedOutline) {
  TestSurface32 s(30, 20, 32);
  const Rect rect{10, 10, 20, 15};
  ASSERT_EQ(s.FrameRect(0xFF, &rect), RC_OK);
  Positions want;
  for (int y = 10; y < 15; ++y)
    for (int x = 10; x < 20; ++x)
      if (y == 10 || y == 14 || x == 10 || x == 19) want.emplace_back(x, y);
  EXPECT_EQ(Changed(s, 0), want);
  EXPECT_EQ(s.At(10, 10), 0x00FF0000u);

  TestSurface32 t(8, 8, 8);
  const Rect outside{-10, -10, 3, 2};
  ASSERT_EQ(t.FrameRect(0xFF, &outside), RC_OK);
  EXPECT_EQ(Changed(t, 0), (Positions{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}));
}

TEST(DrawRules, MosaicGridFollowsItsOrigin) {
  TestSurface32 s(8, 8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) s.At(x, y) = 0xFF000000 | static_cast<uint32_t>(x * 8 + y);
  const Rect rect{0, 0, 8, 8};
  ASSERT_EQ(s.Mosaic(4, &rect, 1, 1, 1), RC_OK);
  // Blocks start at columns and rows 0, 1 and 5: 1 x 1, 4 x 4 and 3 x 3 where they meet.
  EXPECT_EQ(s.At(0, 0), 0u);
  EXPECT_EQ(s.At(1, 0), s.At(4, 0));
  EXPECT_NE(s.At(4, 0), s.At(5, 0));
  EXPECT_EQ(s.At(1, 1), 22u);  // x*8+y over x, y in 1..4 averages 22.5
  EXPECT_EQ(s.At(5, 5), s.At(7, 7));
  EXPECT_EQ(s.At(5, 5), 6u * 8 + 6);
}

TEST(DrawRules, MosaicAdjustsItsStepAndSamplesFromTheBlockCorner) {
  TestSurface32 s(16, 16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) s.At(x, y) = (x % 2 == 0 && y % 2 == 0) ? 0x00FFFFFF : 0;
  ASSERT_EQ(s.Mosaic(16, nullptr, 1, 0, 0), RC_OK);  // step 1 becomes 2: only the white ones
  EXPECT_EQ(Changed(s, 0x00FFFFFF).size(), 0u);

  TestSurface32 two(2, 1, 2);
  two.At(1, 0) = 0x00FFFFFF;
  ASSERT_EQ(two.Mosaic(2, nullptr, 1, 0, 0), RC_OK);
  EXPECT_EQ(two.At(0, 0), 0x007F7F7Fu);
}

TEST(DrawRules, BlurWindowsStayInsideTheWorkingRect) {
  TestSurface32 source(3, 3, 3), dest(8, 8, 8);
  source.At(1, 1) = 36;
  ASSERT_EQ(dest.BlurFrom(1, &source, nullptr, 1), RC_OK);
  EXPECT_EQ(dest.At(0, 0), 36u / 4);
  EXPECT_EQ(dest.At(1, 0), 36u / 6);
  EXPECT_EQ(dest.At(1, 1), 36u / 9);
  EXPECT_EQ(dest.At(3, 0), 0u);  // outside the source: never written

  TestSurface32 row(7, 1, 7), out(7, 1, 7);
  for (int x = 0; x < 7; ++x) row.At(x, 0) = static_cast<uint32_t>(10 * x);
  ASSERT_EQ(out.BlurFrom(3, &row, nullptr, 2), RC_OK);  // reach 2: offsets -2, 0, 2
  EXPECT_EQ(out.At(0, 0), (0u + 20) / 2);
  EXPECT_EQ(out.At(1, 0), (10u + 30) / 2);
  EXPECT_EQ(out.At(3, 0), (10u + 30 + 50) / 3);

  ASSERT_EQ(out.BlurFrom(INT32_MAX, &row, nullptr, 1), RC_OK);  // every window is the row
  EXPECT_EQ(Changed(out, 30).size(), 0u);
}

// Destination positions a blit changed on a 6 x 6 destination of zeros.
Positions BlitPositions(const std::function<ResultCode(TestSurface32&, TestSurface32&)>& blit,
                        int sourceWidth = 6, int sourceHeight = 6) {
  TestSurface32 dest(6, 6, 6), source(sourceWidth, sourceHeight, sourceWidth);
  source.Fill(0x00FFFFFF);
  EXPECT_EQ(blit(dest, source), RC_OK);
  return Changed(dest, 0);
}

TEST(DrawRules, CheckerboardIsFixedToDestinationColumnsAndTheAreasFirstRow) {
  const Rect area{0, 0, 4, 2};
  EXPECT_EQ(BlitPositions([&](auto& d, auto& s) { return d.BltMesh(0, 0, &s, &area); }),
            (Positions{{0, 0}, {2, 0}, {1, 1}, {3, 1}}));
  EXPECT_EQ(BlitPositions([&](auto& d, auto& s) { return d.BltMesh(1, 0, &s, &area); }),
            (Positions{{2, 0}, {4, 0}, {1, 1}, {3, 1}}));
  EXPECT_EQ(BlitPositions([&](auto& d, auto& s) { return d.BltKeyedMesh(0, 1, &s, &area, 0); }),
            (Positions{{0, 1}, {2, 1}, {1, 2}, {3, 2}}));
}

TEST(DrawRules, DissolveGridIsAnchoredAtTheClippedArea) {
  const Rect area{0, 0, 5, 5};
  EXPECT_EQ(BlitPositions([&](auto& d, auto& s) { return d.BltDissolve(0, 0, &s, &area, 0); }),
            (Positions{{1, 1}}));
  EXPECT_EQ(BlitPositions([&](auto& d, auto& s) { return d.BltDissolve(0, 0, &s, &area, 4); }),
            (Positions{{0, 0}, {4, 0}, {0, 4}, {4, 4}}));
  // At x = -1 the area starts at source column 1 and the grid moves with it.
  EXPECT_EQ(BlitPositions([&](auto& d, auto& s) { return d.BltDissolve(-1, 0, &s, nullptr, 4); },
                          10, 1),
            (Positions{{0, 0}, {4, 0}}));
  // A one-column area is touched only by the levels of column phase 0.
  const Rect column{0, 0, 1, 4};
  for (int level = 0; level < 16; ++level) {
    const bool touches = level == 4 || level == 6 || level == 12 || level == 14;
    EXPECT_EQ(BlitPositions([&](auto& d, auto& s) {
                return d.BltDissolve(0, 0, &s, &column, level);
              }).empty(),
              !touches)
        << level;
  }
  EXPECT_EQ(BlitPositions([&](auto& d, auto& s) { return d.BltDissolveRange(0, 0, &s, &area, 0, 20); })
                .size(),
            25u);
}

TEST(DrawRules, OverlappingCopyWithinOneSurfaceReadsWhatItWrote) {
  TestSurface32 s(5, 2, 5);
  for (int x = 0; x < 5; ++x) s.At(x, 0) = static_cast<uint32_t>(x + 1);
  const Rect row{0, 0, 4, 1};
  ASSERT_EQ(s.Blt(1, 0, &s, &row), RC_OK);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(s.At(x, 0), 1u) << x;
}

}  // namespace
