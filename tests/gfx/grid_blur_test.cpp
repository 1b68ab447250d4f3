// BlurFrom's running sums against its direct method, which follows the definition window by
// window: many radii, steps and Rects, windows cut by every edge, radii and steps past the Rect.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "gfx/grid_blur.h"
#include "gfx/window_average.h"

namespace {

constexpr int32_t kWidth = 37;
constexpr int32_t kHeight = 29;
constexpr int32_t kPitch = 41;

struct Pixels {
  std::vector<uint32_t> words = std::vector<uint32_t>(kPitch * kHeight);
  PixelRows Rows() { return PixelRows{words.data(), kPitch}; }
};

Pixels RandomPixels(uint32_t seed) {
  std::mt19937 gen(seed);
  Pixels pixels;
  for (uint32_t& p : pixels.words) p = static_cast<uint32_t>(gen());
  return pixels;
}

TEST(GridBlur, MatchesTheDirectMethod) {
  Pixels source = RandomPixels(7);
  const Pixels background = RandomPixels(8);
  const Rect rects[] = {{0, 0, kWidth, kHeight}, {3, 2, 30, 27}, {5, 4, 6, 20},
                        {1, 9, 36, 10},          {0, 0, 1, 1},   {11, 7, 19, 8}};
  const int32_t radii[] = {1, 2, 3, 4, 5, 7, 8, 12, 13, 28, 36, 100, INT32_MAX};
  const int32_t steps[] = {1, 2, 3, 4, 5, 6, 9, 28, 36, 37, 1000, INT32_MAX};
  for (const Rect& rect : rects) {
    for (int32_t radius : radii) {
      for (int32_t step : steps) {
        const int64_t reach = int64_t{radius / step} * step;
        Pixels direct = background;
        Pixels sums = background;
        BlurDirect(direct.Rows(), source.Rows(), rect, reach, step);
        ASSERT_TRUE(BlurWithRunningSums(sums.Rows(), source.Rows(), rect, reach, step));
        ASSERT_EQ(sums.words, direct.words) << "radius " << radius << " step " << step
                                            << " rect " << rect.left << "," << rect.top << ","
                                            << rect.right << "," << rect.bottom;
      }
    }
  }
}

TEST(GridBlur, EmptyRectsWriteNothing) {
  Pixels source = RandomPixels(9);
  const Pixels background = RandomPixels(10);
  Pixels dest = background;
  // The last two are inverted so far that their width or height overflows 32 bits.
  const Rect rects[] = {{4, 4, 4, 9},          {4, 4, 9, 4},
                        {9, 9, 2, 2},          {11, 0, INT32_MIN, 5},
                        {0, 3, 5, INT32_MIN}};
  for (const Rect& rect : rects) {
    EXPECT_TRUE(BlurWithRunningSums(dest.Rows(), source.Rows(), rect, 2, 1));
  }
  EXPECT_EQ(dest.words, background.words);
}

// The sums of up to 8,224 samples share one 64-bit word; a larger window takes one word a
// channel. At the edge of each, a window of white: every channel's sum at its largest.
TEST(GridBlur, WhiteStaysWhiteInTheLargestWindows) {
  const Rect sizes[] = {{0, 0, 32, 257}, {0, 0, 25, 329}, {0, 0, 300, 300}};  // 8,224 and 8,225
  for (const Rect& work : sizes) {
    std::vector<uint32_t> white(static_cast<size_t>(work.right * work.bottom), 0xFFFFFFFF);
    std::vector<uint32_t> out(white.size(), 0);
    ASSERT_TRUE(BlurWithRunningSums(PixelRows{out.data(), work.right},
                                    PixelRows{white.data(), work.right}, work, 400, 1));
    for (uint32_t p : out) ASSERT_EQ(p, 0x00FFFFFFu) << work.right << " x " << work.bottom;
  }
}

// Windows past 8,224 samples, with the sums a channel apart.
TEST(GridBlur, MatchesTheDirectMethodInLargeWindows) {
  constexpr int32_t kSide = 92;
  std::mt19937 gen(11);
  std::vector<uint32_t> source(kSide * kSide);
  for (uint32_t& p : source) p = static_cast<uint32_t>(gen());
  std::vector<uint32_t> direct(source.size(), 0);
  std::vector<uint32_t> sums(source.size(), 0);
  const Rect work{0, 1, kSide, kSide};
  BlurDirect(PixelRows{direct.data(), kSide}, PixelRows{source.data(), kSide}, work, 100, 1);
  ASSERT_TRUE(BlurWithRunningSums(PixelRows{sums.data(), kSide}, PixelRows{source.data(), kSide},
                                  work, 100, 1));
  EXPECT_EQ(sums, direct);
}

}  // namespace
