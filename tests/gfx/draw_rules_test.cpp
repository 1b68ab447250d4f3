// What random cases cannot reach: replaced operations standing in for others, the largest blur
// windows, a blur without memory, the limit of Mosaic's samples, copies of long runs.
#include <gtest/gtest.h>

#include <new>
#include <tuple>

#include "draw/grid_blur.h"
#include "gfx/display.h"
#include "reference/test_surface32.h"

// The array allocation that BlurFrom's working memory comes from is replaced in this program, so
// that it can fail.
static bool arraysFail = false;
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return arraysFail ? nullptr : ::operator new[](size);
}

namespace {

// Only between the library's own surfaces are a run of dissolve levels and the fixed blends
// drawn directly: otherwise the run calls BltDissolve level by level (whatever each gives) and
// the fixed blends call BltBlendColor, whichever class replaced them. (Between the library's own
// surfaces the one pass of a run must leave what the levels would: the random cases show it.)
struct Recording : TestSurface32 {
  using TestSurface32::TestSurface32;
  ResultCode BltDissolve(int32_t x, int32_t y, Surface32* s, const Rect* r, int32_t n) override {
    return calls.emplace_back(x, y, s, r, n), RC_NO_PIXELS;
  }
  ResultCode BltBlendColor(int32_t x, int32_t y, Surface32* s, const Rect* r, uint32_t w) override {
    return calls.emplace_back(x, y, s, r, w), 42;
  }
  std::vector<std::tuple<int32_t, int32_t, Surface32*, const Rect*, uint32_t>> calls;
};

TEST(DrawRules, RunsAndFixedBlendsCallTheReplacedOperations) {
  Recording dest(4, 4, 4);
  Display display;  // a source of the library's own
  Surface32* s = display.CreateSurface32(Display::kHeapKind);
  const Rect r{1, 1, 3, 3};
  EXPECT_EQ(dest.BltDissolveRange(3, -4, s, &r, 14, 17), RC_OK);
  EXPECT_TRUE(dest.BltBlendLevel(1, 2, s, &r, 0x1C0) == 42 && dest.BltBlendHalf(1, 2, s, nullptr) == 42);
  EXPECT_EQ(dest.calls, (decltype(dest.calls){{3, -4, s, &r, 14}, {3, -4, s, &r, 15}, {3, -4, s, &r, 16},
                                              {1, 2, s, &r, 0xC0C0C0}, {1, 2, s, nullptr, 0x7F7F7F}}));
}

// The running sums in one packed word up to 8,224 samples, and one word a channel past that.
TEST(DrawRules, LargestBlurWindowsKeepTheirSums) {
  for (const Rect& r : {Rect{0, 0, 64, 127}, {0, 0, 32, 257}, {0, 0, 25, 329}, {0, 0, 300, 300}}) {
    std::vector<uint32_t> white(size_t(r.right * r.bottom), 0xFFFFFFFF), out(white.size());
    ASSERT_TRUE(BlurWithRunningSums({out.data(), r.right}, {white.data(), r.right}, r, 400, 1));
    EXPECT_EQ(out, std::vector<uint32_t>(out.size(), 0x00FFFFFF)) << r.bottom;
  }
}

// Without working memory for the running sums BlurFrom takes the direct method.
TEST(DrawRules, BlurWithoutMemoryDrawsTheSame) {
  TestSurface32 source(23, 17, 23), dest(23, 17, 25), expected(23, 17, 25);
  for (size_t i = 0; i < source.Pixels().size(); ++i) source.Pixels()[i] = uint32_t(i * 0x9E3779B1u);
  const Rect rect{-4, 1, 30, 16};
  ASSERT_EQ(expected.BlurFrom(5, &source, &rect, 2), RC_OK);
  arraysFail = true;
  EXPECT_EQ(dest.BlurFrom(5, &source, &rect, 2), RC_OK);
  arraysFail = false;
  EXPECT_EQ(dest.Pixels(), expected.Pixels());
}

// A block of 30 sampled at every second pixel keeps its step: 15 samples a side are not too many.
TEST(DrawRules, MosaicKeepsAStepOfFifteenSamplesABlock) {
  TestSurface32 row(30, 1, 30);
  for (int32_t x = 0; x < 30; ++x) row.At(x, 0) = static_cast<uint32_t>(2 * x);
  ASSERT_EQ(row.Mosaic(30, nullptr, 2, 0, 0), RC_OK);
  EXPECT_EQ(row.At(29, 0), 28u);
}

// Surfaces whose rows follow one another are copied as one run, in pieces of 32,768 pixels.
TEST(DrawRules, LongRunsCopyEveryPixel) {
  TestSurface32 source(300, 120, 300), dest(300, 120, 300);
  for (size_t i = 0; i < 300 * 120; ++i) source.Pixels()[i] = uint32_t(i * 0x9E3779B1u);
  ASSERT_EQ(dest.Blt(0, 0, &source, nullptr), RC_OK);
  EXPECT_EQ(dest.Pixels(), source.Pixels());
}

}  // namespace
