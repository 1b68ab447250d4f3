// BlurFrom's windows beyond what random cases on small surfaces reach: running sums packed
// into one 64-bit word up to 8,224 samples, one word a channel past that, and the direct
// method's sums, which must hold any number of samples.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "draw/grid_blur.h"
#include "draw/window_average.h"

namespace {

// A window of white at the edge of each kind of sum: every channel's sum at its largest.
TEST(BlurWindows, WhiteStaysWhiteInTheLargestWindows) {
  // 8,128 samples, the most the kernels' means take; 8,224 and 8,225 either side of one word.
  const Rect sizes[] = {{0, 0, 64, 127}, {0, 0, 32, 257}, {0, 0, 25, 329}, {0, 0, 300, 300}};
  for (const Rect& work : sizes) {
    std::vector<uint32_t> white(static_cast<size_t>(work.right * work.bottom), 0xFFFFFFFF);
    std::vector<uint32_t> out(white.size(), 0);
    ASSERT_TRUE(BlurWithRunningSums(PixelRows{out.data(), work.right},
                                    PixelRows{white.data(), work.right}, work, 400, 1));
    for (uint32_t p : out) ASSERT_EQ(p, 0x00FFFFFFu) << work.right << " x " << work.bottom;
  }
  // Over 65,793 samples of green 255 pass 32 bits in a green sum kept in place.
  constexpr int kSide = 257;
  std::vector<uint32_t> white(kSide * kSide, 0x00FFFFFF);
  const Rect work{0, 0, kSide, kSide};
  EXPECT_EQ(WindowAverage(PixelRows{white.data(), kSide}, work, 128, 128, kSide, 1), 0x00FFFFFFu);
}

TEST(BlurWindows, RunningSumsMatchTheDirectMethodInLargeWindows) {
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
