// The operations that stand for others: a run of dissolve levels and the fixed-weight blends
// go through the virtual table, so a subclass's replacement serves them too; between the
// library's own surfaces a run is drawn in one pass that must leave what the levels would.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/display.h"
#include "surface/mem_surface32.h"

namespace {

class RecordingSurface : public MemSurface32 {
 public:
  using MemSurface32::MemSurface32;
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

TEST(DrawShortcuts, RangeAndFixedBlendsCallTheReplacedOperations) {
  Display display;
  auto* dest = new RecordingSurface(&display);
  ASSERT_EQ(display.AddSurface(dest), RC_OK);
  Surface32* source = display.CreateSurface32(Display::kHeapKind);
  ASSERT_EQ(dest->Create(4, 4), RC_OK);
  ASSERT_EQ(source->Create(4, 4), RC_OK);
  const Rect rect{1, 1, 3, 3};

  EXPECT_EQ(dest->BltDissolveRange(3, -4, source, &rect, 14, 18), RC_OK);
  ASSERT_EQ(dest->calls.size(), 4u);
  for (uint32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(dest->calls[i].value, 14 + i);
    EXPECT_EQ(dest->calls[i].x, 3);
    EXPECT_EQ(dest->calls[i].y, -4);
    EXPECT_EQ(dest->calls[i].source, source);
    EXPECT_EQ(dest->calls[i].rect, &rect);
  }
  dest->calls.clear();
  EXPECT_EQ(dest->BltBlendLevel(1, 2, source, &rect, 0x1C0), 42);
  EXPECT_EQ(dest->BltBlendHalf(1, 2, source, nullptr), 42);
  ASSERT_EQ(dest->calls.size(), 2u);
  EXPECT_EQ(dest->calls[0].value, 0xC0C0C0u);
  EXPECT_EQ(dest->calls[1].value, 0x7F7F7Fu);
  EXPECT_EQ(dest->calls[1].rect, nullptr);
}

// Only a valid level locks the source: a released one is left with its lastError as the
// levels one by one would leave it.
TEST(DrawShortcuts, OnePassDissolveRunLocksOnlyForAValidLevel) {
  Display display;
  Surface32* dest = display.CreateSurface32(Display::kDibKind);
  Surface32* source = display.CreateSurface32(Display::kHeapKind);
  ASSERT_EQ(dest->Create(4, 4), RC_OK);
  ASSERT_EQ(source->Create(4, 4), RC_OK);
  ASSERT_EQ(source->Release(), RC_OK);
  EXPECT_EQ(dest->BltDissolveRange(0, 0, source, nullptr, 16, 20), RC_OK);
  EXPECT_EQ(source->LastError(), RC_OK);
  EXPECT_EQ(dest->BltDissolveRange(0, 0, source, nullptr, 15, 16), RC_OK);
  EXPECT_EQ(source->LastError(), RC_NO_PIXELS);
}

}  // namespace
