// The display when its surface table cannot be allocated. Array allocations are replaced for
// this program so that they can be made to fail; AddressSanitizer's leak check then proves
// that a surface which could not be registered is not left behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "gfx/display.h"
#include "gfx/grid_blur.h"
#include "gfx/surface32.h"
#include "gfx/window_average.h"
#include "pixel_pattern.h"
#include "test_surface32.h"
#include "test_window.h"

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

TEST(DisplayWithoutMemory, FullTableStaysAsItWasAndCreateGivesNull) {
  Display display;
  Surface* first = display.CreateSurface(0);
  for (int32_t i = 1; i < 30; ++i) display.CreateSurface32(i % 3);
  ASSERT_EQ(display.TableCapacity(), 30);
  {
    ArraysFail failing;
    EXPECT_EQ(display.GrowSurfaceTable(), RC_NO_MEMORY);
    EXPECT_EQ(display.CreateSurface(0), nullptr);
    EXPECT_EQ(display.CreateSurface32(0), nullptr);
    EXPECT_EQ(display.CreateSurface32(1), nullptr);
  }
  EXPECT_EQ(display.TableCapacity(), 30);
  EXPECT_EQ(display.SurfaceCount(), 30);
  EXPECT_EQ(display.SurfaceAt(0), first);
  EXPECT_NE(display.CreateSurface32(0), nullptr);
  EXPECT_EQ(display.TableCapacity(), 40);
}

TEST(DisplayWithoutMemory, OpenWithoutAPrimaryReportsNoSurfaceAndPresentToo) {
  TestWindow window(32, 32);
  Display display;
  const DisplayDesc desc = DescFor(window.handle(), 32, 32);
  {
    ArraysFail failing;
    EXPECT_EQ(display.Open(&desc), RC_NO_SURFACE);
  }
  EXPECT_EQ(display.GetPrimarySurface(), nullptr);
  EXPECT_EQ(display.GetDesc()->width, 32);
  EXPECT_NE(display.DeviceContext(), nullptr);
  EXPECT_EQ(display.Present(nullptr), RC_NO_SURFACE);
  EXPECT_EQ(display.Close(), RC_OK);
}

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
