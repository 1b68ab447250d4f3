// The frames around the rules: order of checks, Lock and Unlock, the result of every path, and
// the unsafe inputs that are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "draw_call.h"
#include "gfx/window_average.h"
#include "test_surface32.h"

namespace {

using Log = std::vector<std::string>;

class DrawFrame : public ::testing::Test {
 protected:
  DrawFrame() {
    source_.Fill(0x00FFFFFF);
    mask_.Fill(0x00FFFFFF);
  }
  bool DestUntouched() {
    return std::all_of(dest_.Pixels().begin(), dest_.Pixels().end(),
                       [](uint32_t p) { return p == 0; });
  }

  Log log_;
  TestSurface32 dest_{8, 6, 8, "d", &log_};
  TestSurface32 source_{4, 4, 4, "s", &log_};
  TestSurface32 mask_{4, 4, 4, "m", &log_};
};

TEST_F(DrawFrame, FailedLocksReturnTheFailingSurfacesError) {
  mask_.FailLocksWith(RC_NO_PIXELS);
  EXPECT_EQ(dest_.BltMaskBlend(0, 0, &source_, nullptr, &mask_, 0, 0), RC_NO_PIXELS);
  EXPECT_EQ(log_, (Log{"Ld", "Ls", "Lm", "Ud", "Us"}));

  log_.clear();
  source_.FailLocksWith(RC_LOCK_UNSUPPORTED);
  EXPECT_EQ(dest_.BltClear(0, 0, &source_, nullptr), RC_LOCK_UNSUPPORTED);
  EXPECT_EQ(log_, (Log{"Ld", "Ls", "Ud"}));

  log_.clear();
  dest_.FailLocksWith(RC_NO_PIXELS);
  EXPECT_EQ(dest_.Blt(0, 0, &source_, nullptr), RC_NO_PIXELS);
  EXPECT_EQ(dest_.FillRect(0xFF, nullptr), RC_NO_PIXELS);
  EXPECT_EQ(log_, (Log{"Ld", "Ld"}));
  dest_.FailLocksWith(RC_OK);
  EXPECT_TRUE(DestUntouched());
}

// The abstract family has no storage: its own Lock fails and the operations pass that on.
class StoragelessSurface32 : public Surface32 {
 public:
  StoragelessSurface32() : Surface32(nullptr) {}
  HDC PresentDC() override { return nullptr; }
  void Reserved() override {}
};

TEST_F(DrawFrame, SurfaceWithoutStorageReportsLockUnsupported) {
  StoragelessSurface32 bare;
  EXPECT_EQ(bare.GrayAverage(nullptr), RC_LOCK_UNSUPPORTED);
  EXPECT_EQ(dest_.Blt(0, 0, &bare, nullptr), RC_LOCK_UNSUPPORTED);
}

TEST_F(DrawFrame, ClipEmptyOnlyWhenBothSizesAreNegative) {
  EXPECT_EQ(dest_.Blt(10, 8, &source_, nullptr), RC_CLIP_EMPTY);
  EXPECT_EQ(dest_.BltMaskMultiply(10, 8, &source_, nullptr, &mask_, 0, 0), RC_CLIP_EMPTY);
  EXPECT_TRUE(log_.empty());

  const Rect empty{2, 2, 2, 2};
  EXPECT_EQ(dest_.Blt(10, 0, &source_, nullptr), RC_OK);
  EXPECT_EQ(dest_.BltMultiply(0, 0, &source_, &empty), RC_OK);
  EXPECT_EQ(log_, (Log{"Ld", "Ls", "Us", "Ud", "Ld", "Ls", "Us", "Ud"}));
  EXPECT_TRUE(DestUntouched());
}

TEST_F(DrawFrame, NullSourceOrMaskIsRefusedBeforeAnythingIsLocked) {
  for (int op = static_cast<int>(DrawOp::BlurFrom); op < static_cast<int>(DrawOp::Count); ++op) {
    DrawCall call;
    call.op = static_cast<DrawOp>(op);
    call.source = -1;
    call.mask = 2;
    call.n[0] = call.n[1] = 1;  // a valid radius, step and level, an empty dissolve run
    Surface32* surfaces[] = {&dest_, &source_, &mask_};
    EXPECT_EQ(CallLibrary(call, surfaces), RC_NULL_ARGUMENT) << DrawOpName(call.op);
    if (IsMaskBlit(call.op)) {
      call.source = 1;
      call.mask = -1;
      EXPECT_EQ(CallLibrary(call, surfaces), RC_NULL_ARGUMENT) << DrawOpName(call.op);
    }
  }
  EXPECT_TRUE(log_.empty());
  // The argument tests that come first still do.
  EXPECT_EQ(dest_.BlurFrom(0, nullptr, nullptr, 1), RC_BAD_LENGTH);
  EXPECT_EQ(dest_.BltDissolve(0, 0, nullptr, nullptr, 16), RC_BAD_LENGTH);
  EXPECT_EQ(dest_.BltDissolveRange(0, 0, nullptr, nullptr, 2, 1), RC_BAD_LENGTH);
}

TEST_F(DrawFrame, SamplingStepBelowOneIsRefusedBeforeLocking) {
  EXPECT_EQ(dest_.Mosaic(4, nullptr, 0, 0, 0), RC_BAD_LENGTH);
  EXPECT_EQ(dest_.Mosaic(4, nullptr, -3, 0, 0), RC_BAD_LENGTH);
  EXPECT_EQ(dest_.BlurFrom(2, &source_, nullptr, 0), RC_BAD_LENGTH);
  EXPECT_EQ(dest_.BlurFrom(2, &source_, nullptr, INT32_MIN), RC_BAD_LENGTH);
  EXPECT_EQ(dest_.Mosaic(0, nullptr, 0, 0, 0), RC_BAD_LENGTH);
  EXPECT_TRUE(log_.empty());
}

TEST_F(DrawFrame, FrameRectWithoutRowsOrColumnsDrawsNothing) {
  const Rect cases[] = {{2, 3, 6, 3}, {9, 1, 12, 5}, {3, 1, 3, 5}, {-9, 1, -2, 5}};
  for (const Rect& rect : cases) {
    EXPECT_EQ(dest_.FrameRect(0xFFFFFF, &rect), RC_EMPTY_RECT);
  }
  EXPECT_EQ(log_.size(), 8u);  // each locked and unlocked once
  EXPECT_TRUE(DestUntouched());
}

// Over 65,793 samples of green 255 pass 32 bits in the in-place green sum.
TEST(DrawFrameBlur, WindowSumsHoldAnyNumberOfSamples) {
  constexpr int kSide = 257;
  std::vector<uint32_t> white(kSide * kSide, 0x00FFFFFF);
  const PixelRows rows{white.data(), kSide};
  const Rect work{0, 0, kSide, kSide};
  EXPECT_EQ(WindowAverage(rows, work, 128, 128, kSide, 1), 0x00FFFFFFu);
}

// Records the calls that the shortcuts make through the virtual table.
class RecordingSurface : public TestSurface32 {
 public:
  RecordingSurface() : TestSurface32(4, 4, 4) {}
  ResultCode BltDissolve(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect,
                         int32_t level) override {
    calls.push_back({x, y, source, sourceRect, static_cast<uint32_t>(level)});
    return RC_NO_PIXELS;  // a failing step does not stop the run
  }
  ResultCode BltBlendColor(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect,
                           uint32_t weights) override {
    calls.push_back({x, y, source, sourceRect, weights});
    return 42;
  }
  struct Call {
    int32_t x, y;
    Surface32* source;
    const Rect* rect;
    uint32_t value;
  };
  std::vector<Call> calls;
};

TEST(DrawFrameVirtual, RangeAndBlendShortcutsCallTheOverrides) {
  RecordingSurface dest;
  TestSurface32 source(4, 4, 4);
  const Rect rect{1, 1, 3, 3};
  EXPECT_EQ(dest.BltDissolveRange(3, -4, &source, &rect, 14, 18), RC_OK);
  ASSERT_EQ(dest.calls.size(), 4u);
  for (uint32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(dest.calls[i].value, 14 + i);
    EXPECT_EQ(dest.calls[i].x, 3);
    EXPECT_EQ(dest.calls[i].y, -4);
    EXPECT_EQ(dest.calls[i].source, &source);
    EXPECT_EQ(dest.calls[i].rect, &rect);
  }
  dest.calls.clear();
  EXPECT_EQ(dest.BltBlendLevel(1, 2, &source, &rect, 0x1C0), 42);
  EXPECT_EQ(dest.BltBlendHalf(1, 2, &source, nullptr), 42);
  ASSERT_EQ(dest.calls.size(), 2u);
  EXPECT_EQ(dest.calls[0].value, 0xC0C0C0u);
  EXPECT_EQ(dest.calls[1].value, 0x7F7F7Fu);
  EXPECT_EQ(dest.calls[1].rect, nullptr);
}

}  // namespace
