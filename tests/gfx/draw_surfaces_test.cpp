// The drawing operations on the display's real surfaces: heap blocks and DIB sections, whose
// rows are padded to a multiple of 8 pixels.
#include <gtest/gtest.h>

#include <vector>

#include "draw_random.h"
#include "gfx/display.h"
#include "gfx/mem_surface32.h"
#include "kernel_paths.h"
#include "pixel_pattern.h"
#include "test_window.h"

namespace {

enum class Store { kHeap, kDib, kMixed };

class DisplaySurfaceMaker : public SurfaceMaker {
 public:
  DisplaySurfaceMaker(Display& display, Store store) : display_(display), store_(store) {}
  ~DisplaySurfaceMaker() override { Reset(); }

  int32_t MinimumSize() const override { return 1; }
  bool ControlsLocks() const override { return false; }
  Surface32* Make(int32_t width, int32_t height, int32_t, const std::string&) override {
    const bool dib = store_ == Store::kDib || (store_ == Store::kMixed && made_.size() % 2 == 1);
    Surface32* surface = display_.CreateSurface32(dib ? Display::kDibKind : Display::kHeapKind);
    if (surface == nullptr) return nullptr;
    made_.push_back(surface);
    return surface->Create(width, height) == RC_OK ? surface : nullptr;
  }
  void Arm(Surface32*, ResultCode, std::vector<std::string>*) override {}
  void Reset() override {
    for (Surface32* surface : made_) display_.DestroySurface(surface);
    made_.clear();
  }

 private:
  Display& display_;
  Store store_;
  std::vector<Surface32*> made_;
};

void RunThroughEveryPath(uint32_t seed, SurfaceMaker& maker) {
  for (KernelPath path : RunnableKernelPaths()) {
    SCOPED_TRACE(KernelPathName(path));
    ScopedKernelPath forced(path);
    ASSERT_TRUE(forced.ok());
    RunRandomDrawCases(seed, 3000, maker);
  }
}

class DrawSurfaces : public ::testing::Test {
 protected:
  void SetUp() override {
    const DisplayDesc desc = DescFor(window_.handle(), 16, 16);
    ASSERT_EQ(display_.Open(&desc), RC_OK);
  }

  TestWindow window_{16, 16, TestWindow::Shown::kNo};
  Display display_;
};

TEST_F(DrawSurfaces, LibraryMatchesReferenceOnHeapSurfaces) {
  DisplaySurfaceMaker maker(display_, Store::kHeap);
  RunThroughEveryPath(101, maker);
}

TEST_F(DrawSurfaces, LibraryMatchesReferenceOnDibSurfaces) {
  DisplaySurfaceMaker maker(display_, Store::kDib);
  RunThroughEveryPath(202, maker);
}

TEST_F(DrawSurfaces, LibraryMatchesReferenceAcrossStores) {
  DisplaySurfaceMaker maker(display_, Store::kMixed);
  RunThroughEveryPath(303, maker);
}

TEST_F(DrawSurfaces, ReleasedSurfacesReportNoPixels) {
  Surface32* dest = display_.CreateSurface32(Display::kDibKind);
  Surface32* source = display_.CreateSurface32(Display::kHeapKind);
  ASSERT_EQ(dest->Create(8, 8), RC_OK);
  ASSERT_EQ(source->Create(8, 8), RC_OK);
  ASSERT_EQ(dest->FillRect(0x123456, nullptr), RC_OK);
  ASSERT_EQ(source->Release(), RC_OK);
  // A released source keeps no size: the blit clips to nothing, yet still locks.
  EXPECT_EQ(dest->Blt(0, 0, source, nullptr), RC_NO_PIXELS);
  EXPECT_EQ(dest->Lock()[7 * dest->Pitch() + 7], 0x00563412u);
  dest->Unlock();
  EXPECT_EQ(dest->Release(), RC_OK);
  EXPECT_EQ(dest->ScreenColor(0, nullptr), RC_NO_PIXELS);
}

// A run of dissolve levels between the library's own surfaces is drawn in one pass; what the
// levels one by one would leave behind must not change: the picture, the result and the
// lastError of a failed Lock.
TEST_F(DrawSurfaces, DissolveRunsLeaveWhatTheLevelsOneByOneWould) {
  Surface32* dest = display_.CreateSurface32(Display::kDibKind);
  Surface32* source = display_.CreateSurface32(Display::kHeapKind);
  ASSERT_EQ(dest->Create(9, 7), RC_OK);
  ASSERT_EQ(source->Create(9, 7), RC_OK);
  FillPattern(*source, 5);
  dest->FillRect(0, nullptr);
  // Levels 3 to 15 copy every position but those of levels 0 to 2: (1,1), (3,3), (1,3).
  EXPECT_EQ(dest->BltDissolveRange(-1, 0, source, nullptr, 3, 25), RC_OK);
  const uint32_t* d = dest->Lock();
  for (int32_t y = 0; y < 7; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const int32_t column = x % 4;
      const int32_t row = y % 4;
      const bool early = (column == 1 || column == 3) && (row == 1 || row == 3) &&
                         !(column == 3 && row == 1);
      EXPECT_EQ(d[y * dest->Pitch() + x], early ? 0u : PatternPixel(x + 1, y, 5)) << x << "," << y;
    }
    EXPECT_EQ(d[y * dest->Pitch() + 8], 0u);
  }
  dest->Unlock();

  ASSERT_EQ(source->Release(), RC_OK);
  EXPECT_EQ(dest->BltDissolveRange(0, 0, source, nullptr, 16, 20), RC_OK);
  EXPECT_EQ(source->LastError(), RC_OK);  // no valid level, nothing locked
  EXPECT_EQ(dest->BltDissolveRange(0, 0, source, nullptr, 15, 16), RC_OK);
  EXPECT_EQ(source->LastError(), RC_NO_PIXELS);
}

// A subclass may replace BltDissolve: then every level goes through it.
class CountingSurface : public MemSurface32 {
 public:
  using MemSurface32::MemSurface32;
  ResultCode BltDissolve(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect,
                         int32_t level) override {
    ++levels;
    return MemSurface32::BltDissolve(x, y, source, sourceRect, level);
  }
  int levels = 0;
};

TEST_F(DrawSurfaces, DissolveRunsCallAReplacedLevel) {
  auto* dest = new CountingSurface(&display_);
  ASSERT_EQ(display_.AddSurface(dest), RC_OK);
  Surface32* source = display_.CreateSurface32(Display::kHeapKind);
  ASSERT_EQ(dest->Create(4, 4), RC_OK);
  ASSERT_EQ(source->Create(4, 4), RC_OK);
  EXPECT_EQ(dest->BltDissolveRange(0, 0, source, nullptr, 0, 16), RC_OK);
  EXPECT_EQ(dest->levels, 16);
}

}  // namespace
