// BlurFrom without working memory. Array allocations are replaced for this program so that
// they can be made to fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "gfx/grid_blur.h"
#include "gfx/surface32.h"
#include "gfx/window_average.h"
#include "pixel_pattern.h"
#include "test_surface32.h"

namespace {
bool failArrays = false;

void* AllocateArray(std::size_t size) { return std::malloc(size ? size : 1); }
}  // namespace

void* operator new[](std::size_t size) {
  void* block = AllocateArray(size);
  if (!block) std::abort();
  return block;
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return failArrays ? nullptr : AllocateArray(size);
}
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace {

class ArraysFail {
 public:
  ArraysFail() { failArrays = true; }
  ~ArraysFail() { failArrays = false; }
};

// BlurFrom's running sums need working memory; without it the direct method draws the same.
TEST(BlurWithoutMemory, FallsBackToTheDirectMethod) {
  TestSurface32 source(23, 17, 23);
  TestSurface32 dest(23, 17, 25);
  FillPattern(source, 3);
  const Rect rect{2, 1, 21, 16};
  std::vector<uint32_t> expected = dest.Pixels();
  BlurDirect(PixelRows{expected.data(), dest.Pitch()}, PixelRows{source.Pixels().data(), 23}, rect,
             4, 2);
  {
    ArraysFail failing;
    std::vector<uint32_t> untouched = dest.Pixels();
    EXPECT_FALSE(BlurWithRunningSums(PixelRows{untouched.data(), dest.Pitch()},
                                     PixelRows{source.Pixels().data(), 23}, rect, 4, 2));
    EXPECT_EQ(untouched, dest.Pixels());
    EXPECT_EQ(dest.BlurFrom(5, &source, &rect, 2), RC_OK);
  }
  EXPECT_EQ(dest.Pixels(), expected);
}

}  // namespace

