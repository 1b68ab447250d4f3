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
  const Rect rects[] = {{4, 4, 4, 9}, {4, 4, 9, 4}, {9, 9, 2, 2}};
  for (const Rect& rect : rects) {
    EXPECT_TRUE(BlurWithRunningSums(dest.Rows(), source.Rows(), rect, 2, 1));
  }
  EXPECT_EQ(dest.words, background.words);
}

// A window of 300 x 300 samples of white: the green sums pass 32 bits held in place, and the
// mean is still exact.
TEST(GridBlur, LargeWindowsOfWhiteStayWhite) {
  constexpr int32_t kSide = 300;
  std::vector<uint32_t> white(kSide * kSide, 0xFFFFFFFF);
  std::vector<uint32_t> out(kSide * kSide, 0);
  const Rect work{0, 0, kSide, kSide};
  ASSERT_TRUE(BlurWithRunningSums(PixelRows{out.data(), kSide}, PixelRows{white.data(), kSide},
                                  work, kSide, 1));
  for (uint32_t p : out) ASSERT_EQ(p, 0x00FFFFFFu);
}

}  // namespace
