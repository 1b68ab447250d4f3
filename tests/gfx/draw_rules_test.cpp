// Worked examples that pin down the readings of the rules the reference model shares with the
// library: argument byte order, the divisions by 256 and 255, the top byte, the checkerboard's
// and the dissolve's phases, the mosaic grid, the blur window and the clipping. Then what random
// cases cannot reach: replaced operations standing in for others, and very large blur windows.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <new>
#include <random>
#include <tuple>

#include "draw/grid_blur.h"
#include "draw/window_average.h"
#include "gfx/display.h"
#include "reference/draw_call.h"
#include "reference/test_surface32.h"

// Array allocations are replaced in this program, so that BlurFrom's working memory can fail.
namespace {
bool arraysFail = false;
}  // namespace
void* operator new[](std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  return block ? block : (std::abort(), nullptr);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return arraysFail ? nullptr : std::malloc(size ? size : 1);
}
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

struct PixelExample {
  const char* what;
  DrawOp op;
  uint32_t colour, weights;
  int32_t level;
  uint32_t d, s, m, want;
};

TEST(DrawRules, PixelExamples) {
  const PixelExample examples[] = {
      {"fill swaps red and blue", DrawOp::FillRect, 0x12345678, 0, 0, 0, 0, 0, 0x00785634},
      {"mask-or red alone", DrawOp::MaskOrColor, 0, 0, 0, 0x00800000, 0, 0, 0x00FF00FF},
      {"clear ignores its colour", DrawOp::ClearRect, 0xFFFFFF, 0, 0, 0xFF123456, 0, 0, 0},
      {"screen", DrawOp::ScreenColor, 0x000080FF, 0, 0, 0x00804020, 0, 0, 0x00FE9F20},
      {"multiply", DrawOp::MultiplyColor, 0xFFFFFF, 0, 0, 0x12345678, 0, 0, 0x00335577},
      {"average with top byte", DrawOp::GrayAverage, 0, 0, 0, 0x01000000, 0, 0, 0x00555555},
      {"weighted white", DrawOp::GrayWeighted, 0, 0, 0, 0x00FFFFFF, 0, 0, 0x00FDFDFD},
      {"weighted red", DrawOp::GrayWeighted, 0, 0, 0, 0xFFFF0000, 0, 0, 0x005F5F5F},
      {"key compares whole words", DrawOp::BltKeyed, 0, 0, 0, 7, 0xFF000000, 0, 0xFF000000},
      {"key skips", DrawOp::BltKeyed, 0xFF, 0, 0, 7, 0x00FF0000, 0, 7},
      {"keyed blend", DrawOp::BltKeyedBlend, 1, 0x804020, 0, 0x9ABCDEF0, 0x12345678, 0, 0x00AABBB3},
      {"blit mask-or drops the top byte", DrawOp::BltMaskOr, 0, 0, 0, 0xFF000000, 0, 0, 0},
      {"blit multiply", DrawOp::BltMultiply, 0, 0, 0, 0x00FFFFFF, 0x00808080, 0, 0x007F7F7F},
      {"half of white", DrawOp::BltBlendHalf, 0, 0, 0, 0, 0x00FFFFFF, 0, 0x007E7E7E},
      {"half over white", DrawOp::BltBlendHalf, 0, 0, 0, 0x00FFFFFF, 0, 0, 0x007F7F7F},
      {"level's low byte", DrawOp::BltBlendLevel, 0, 0, -1, 0, 0x00FFFFFF, 0, 0x00FEFEFE},
      {"colour weights", DrawOp::BltBlendColor, 0xFF, 0, 0, 0x00102030, 0x00FFFFFF, 0, 0x00FE1F2F},
      {"mask blend", DrawOp::BltMaskBlend, 0, 0, 0, 0x00405060, 0x00102030, 0xFF, 0x003F4F2F},
      {"mask multiply", DrawOp::BltMaskMultiply, 0, 0, 0, 0x00C8C8C8, 0x00808080, 0x00808080, 0x00717171},
      {"white mask multiply", DrawOp::BltMaskMultiply, 0, 0, 0, 0x00C8C8C8, 0x12345678, 0x00FFFFFF, 0x00345678},
      {"black mask multiply", DrawOp::BltMaskMultiply, 0, 0, 0, 0xFF123456, 0x00FFFFFF, 0, 0x00123456},
      {"mask key copies the top byte", DrawOp::BltMaskKey, 0x80, 0, 0, 7, 0xAB123456, 0x00FFFF80, 0xAB123456},
      {"mask key past a byte", DrawOp::BltMaskKey, 256, 0, 0, 7, 0xAB123456, 0, 7},
  };
  for (const PixelExample& e : examples) {
    TestSurface32 d(1, 1, 1), s(1, 1, 1), m(1, 1, 1);
    d.At(0, 0) = e.d, s.At(0, 0) = e.s, m.At(0, 0) = e.m;
    DrawCall call;
    call.op = e.op, call.source = 1, call.mask = 2, call.colour = e.colour, call.weights = e.weights;
    call.n[0] = e.level;
    Surface32* surfaces[] = {&d, &s, &m};
    EXPECT_EQ(CallLibrary(call, surfaces), RC_OK) << e.what;
    EXPECT_EQ(d.At(0, 0), e.want) << e.what << ": got " << std::hex << d.At(0, 0);
  }
}

// The pixels a call (in colour 0xFF) changes on a 6 x 6 destination of zeros, from a 6 x 6
// white source.
std::string Changed(DrawOp op, int32_t x, int32_t y, Rect rect, int32_t level) {
  TestSurface32 d(6, 6, 6), s(6, 6, 6);
  s.Pixels().assign(s.Pixels().size(), 0x00FFFFFF);
  DrawCall call;
  call.op = op, call.source = 1, call.hasRect = true, call.rect = rect, call.x = x, call.y = y;
  call.colour = 0xFF, call.n[0] = level;
  Surface32* surfaces[] = {&d, &s};
  EXPECT_EQ(CallLibrary(call, surfaces), RC_OK);
  std::string changed;
  for (int32_t row = 0; row < 6; ++row)
    for (int32_t column = 0; column < 6; ++column)
      if (d.At(column, row) != 0) changed += std::to_string(column) + "," + std::to_string(row) + " ";
  return changed;
}

TEST(DrawRules, AreaPatterns) {
  // The checkerboard is fixed to destination columns and the area's first row.
  EXPECT_EQ(Changed(DrawOp::BltMesh, 1, 0, {0, 0, 4, 2}, 0), "2,0 4,0 1,1 3,1 ");
  EXPECT_EQ(Changed(DrawOp::BltKeyedMesh, 0, 1, {0, 0, 4, 2}, 0), "0,1 2,1 1,2 3,2 ");
  // The dissolve grid is anchored at the clipped area.
  EXPECT_EQ(Changed(DrawOp::BltDissolve, 0, 0, {0, 0, 5, 5}, 0), "1,1 ");
  EXPECT_EQ(Changed(DrawOp::BltDissolve, 0, 0, {0, 0, 5, 5}, 4), "0,0 4,0 0,4 4,4 ");
  EXPECT_EQ(Changed(DrawOp::BltDissolve, -1, 0, {0, 0, 6, 1}, 4), "0,0 4,0 ");
  // A frame is the outline of the clipped Rect.
  EXPECT_EQ(Changed(DrawOp::FrameRect, 0, 0, {-10, -10, 3, 2}, 0), "0,0 1,0 2,0 0,1 1,1 2,1 ");
  EXPECT_EQ(Changed(DrawOp::FrameRect, 0, 0, {1, 1, 5, 4}, 0), "1,1 2,1 3,1 4,1 1,2 4,2 1,3 2,3 3,3 4,3 ");
}

TEST(DrawRules, MosaicGridAndBlurWindows) {
  TestSurface32 s(8, 8, 8);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) s.At(x, y) = 0xFF000000 | static_cast<uint32_t>(x * 8 + y);
  const Rect all{0, 0, 8, 8};
  ASSERT_EQ(s.Mosaic(4, &all, 1, 1, 1), RC_OK);  // blocks from columns and rows 0, 1 and 5
  EXPECT_EQ(s.At(0, 0), 0u);
  EXPECT_EQ(s.At(1, 1), 22u);  // x * 8 + y over x, y in 1..4
  EXPECT_EQ(s.At(4, 4), 22u);
  EXPECT_EQ(s.At(7, 7), 6u * 8 + 6);
  // 30 / 2 is the largest ratio of size to step kept as it is: every other pixel.
  TestSurface32 row(30, 1, 30);
  for (int32_t x = 0; x < 30; ++x) row.At(x, 0) = static_cast<uint32_t>(2 * x);
  ASSERT_EQ(row.Mosaic(30, nullptr, 2, 0, 0), RC_OK);
  EXPECT_EQ(row.At(29, 0), 28u);

  TestSurface32 dot(3, 3, 3), out(8, 8, 8);
  dot.At(1, 1) = 36;
  ASSERT_EQ(out.BlurFrom(1, &dot, nullptr, 1), RC_OK);
  EXPECT_EQ(out.At(0, 0), 36u / 4);
  EXPECT_EQ(out.At(1, 0), 36u / 6);
  EXPECT_EQ(out.At(1, 1), 36u / 9);
  EXPECT_EQ(out.At(3, 0), 0u);  // outside the source: never written
  TestSurface32 tens(7, 1, 7);
  for (int32_t x = 0; x < 7; ++x) tens.At(x, 0) = static_cast<uint32_t>(10 * x);
  ASSERT_EQ(out.BlurFrom(3, &tens, nullptr, 2), RC_OK);  // reach 2: offsets -2, 0, 2
  EXPECT_EQ(out.At(0, 0), (0u + 20) / 2);
  EXPECT_EQ(out.At(3, 0), (10u + 30 + 50) / 3);
}

struct ClipCase {
  int32_t x, y;
  Rect rect;
  int32_t maskX, maskY;
  int32_t wantX, wantY;
  Rect wantRect;
  int32_t wantMaskX, wantMaskY;
};

// An 800 x 600 destination, 100 x 100 source and mask. Exact arithmetic: a point at the end of
// the range empties its dimension, saturated, instead of wrapping round into the surfaces.
TEST(DrawRules, ClippingKeepsDestinationSourceAndMaskInStep) {
  TestSurface32 dest(800, 600, 800), source(100, 100, 100), mask(100, 100, 100);
  const ClipCase cases[] = {
      {-10, 5, {0, 0, 100, 100}, 0, 0, 0, 5, {10, 0, 100, 100}, 10, 0},
      {750, 580, {0, 0, 100, 100}, 0, 0, 750, 580, {0, 0, 50, 20}, 0, 0},
      {0, 0, {-20, -20, 50, 50}, 0, 0, 20, 20, {0, 0, 50, 50}, 20, 20},
      {850, 650, {0, 0, 100, 100}, 0, 0, 850, 650, {0, 0, -50, -50}, 0, 0},
      {0, 0, {0, 0, 10, 10}, -4, 0, 4, 0, {4, 0, 10, 10}, 0, 0},
      {0, 0, {-3, 0, 10, 10}, 5, 5, 3, 0, {0, 0, 10, 10}, 8, 5},
      {0, 0, {0, 0, 100, 100}, 95, 98, 0, 0, {0, 0, 5, 2}, 95, 98},
      {INT32_MIN, 0, {0, 0, 100, 100}, 0, 0, 0, 0, {INT32_MAX, 0, 100, 100}, INT32_MAX, 0},
  };
  for (const ClipCase& c : cases) {
    int32_t x = c.x, y = c.y, maskX = c.maskX, maskY = c.maskY;
    Rect rect = c.rect;
    dest.ClipBlit2(x, y, &source, rect, &mask, maskX, maskY);
    const int32_t got[] = {x, y, rect.left, rect.top, rect.right, rect.bottom, maskX, maskY};
    const int32_t want[] = {c.wantX, c.wantY, c.wantRect.left, c.wantRect.top, c.wantRect.right,
                            c.wantRect.bottom, c.wantMaskX, c.wantMaskY};
    EXPECT_TRUE(std::equal(got, got + 8, want)) << "from " << c.x << "," << c.y;
  }
  Rect out;
  EXPECT_TRUE(dest.ResolveRect(out, nullptr) == (Rect{0, 0, 800, 600}));
  const Rect inverted{900, 10, 1000, 5};
  EXPECT_TRUE(dest.ResolveRect(out, &inverted) == (Rect{900, 10, 800, 5}));  // never reordered
  EXPECT_FALSE(out == (Rect{900, 10, 800, 6}));
}

// Only the one kind of surface that the library knows draws a run of dissolve levels or a fixed
// blend itself: for any other the run calls BltDissolve level by level (its failures do not
// stop the run) and the fixed blends call BltBlendColor.
class Recording : public TestSurface32 {
 public:
  using TestSurface32::TestSurface32;
  ResultCode BltDissolve(int32_t x, int32_t y, Surface32* s, const Rect* r, int32_t level) override {
    calls.emplace_back(x, y, s, r, static_cast<uint32_t>(level));
    return RC_NO_PIXELS;
  }
  ResultCode BltBlendColor(int32_t x, int32_t y, Surface32* s, const Rect* r, uint32_t weights) override {
    calls.emplace_back(x, y, s, r, weights);
    return 42;
  }
  std::vector<std::tuple<int32_t, int32_t, Surface32*, const Rect*, uint32_t>> calls;
};

TEST(DrawRules, RunsAndFixedBlendsCallTheReplacedOperations) {
  Recording dest(4, 4, 4);
  TestSurface32 source(4, 4, 4);
  const Rect rect{1, 1, 3, 3};
  EXPECT_EQ(dest.BltDissolveRange(3, -4, &source, &rect, 14, 18), RC_OK);
  EXPECT_EQ(dest.BltBlendLevel(1, 2, &source, &rect, 0x1C0), 42);
  EXPECT_EQ(dest.BltBlendHalf(1, 2, &source, nullptr), 42);
  EXPECT_EQ(dest.calls, (decltype(dest.calls){{3, -4, &source, &rect, 14}, {3, -4, &source, &rect, 15},
                                              {3, -4, &source, &rect, 16}, {3, -4, &source, &rect, 17},
                                              {1, 2, &source, &rect, 0xC0C0C0}, {1, 2, &source, nullptr, 0x7F7F7F}}));

  // Between the library's own surfaces a run is one pass, which locks only for a valid level:
  // a released source keeps the lastError that the levels one by one would leave.
  Display display;
  Surface32* to = display.CreateSurface32(Display::kDibKind);
  Surface32* from = display.CreateSurface32(Display::kHeapKind);
  ASSERT_EQ(to->Create(4, 4), RC_OK);
  EXPECT_EQ(to->BltDissolveRange(0, 0, from, nullptr, 16, 20), RC_OK);
  EXPECT_EQ(from->LastError(), RC_OK);
  EXPECT_EQ(to->BltDissolveRange(0, 0, from, nullptr, 15, 16), RC_OK);
  EXPECT_EQ(from->LastError(), RC_NO_PIXELS);
}

// The running sums in one packed word up to 8,224 samples, one word a channel past that, and
// the direct method's sums, which must hold any number of samples.
TEST(DrawRules, LargestBlurWindowsKeepTheirSums) {
  const Rect sizes[] = {{0, 0, 64, 127}, {0, 0, 32, 257}, {0, 0, 25, 329}, {0, 0, 300, 300}};
  for (const Rect& work : sizes) {
    std::vector<uint32_t> white(static_cast<size_t>(work.right * work.bottom), 0xFFFFFFFF);
    std::vector<uint32_t> out(white.size(), 0);
    ASSERT_TRUE(BlurWithRunningSums({out.data(), work.right}, {white.data(), work.right}, work, 400, 1));
    EXPECT_EQ(std::count(out.begin(), out.end(), 0x00FFFFFFu), static_cast<long>(out.size())) << work.bottom;
  }
  std::vector<uint32_t> green(257 * 257, 0x0000FF00);  // a sum past 32 bits, kept in place
  EXPECT_EQ(WindowAverage({green.data(), 257}, Rect{0, 0, 257, 257}, 128, 128, 257, 1), 0x0000FF00u);

  std::mt19937 gen(11);
  std::vector<uint32_t> noise(92 * 92), direct(noise.size()), sums(noise.size());
  for (uint32_t& p : noise) p = static_cast<uint32_t>(gen());
  const Rect work{0, 1, 92, 92};
  BlurDirect({direct.data(), 92}, {noise.data(), 92}, work, 100, 1);
  ASSERT_TRUE(BlurWithRunningSums({sums.data(), 92}, {noise.data(), 92}, work, 100, 1));
  EXPECT_EQ(sums, direct);
}

// Without working memory for the running sums BlurFrom takes the direct method.
TEST(DrawRules, BlurWithoutMemoryDrawsTheSame) {
  for (const Rect& rect : {Rect{2, 1, 21, 16}, Rect{-4, 0, 30, 9}}) {
    TestSurface32 source(23, 17, 23), dest(23, 17, 25), expected(23, 17, 25);
    std::mt19937 gen(static_cast<uint32_t>(rect.left + 10));
    for (uint32_t& p : source.Pixels()) p = static_cast<uint32_t>(gen());
    ASSERT_EQ(expected.BlurFrom(5, &source, &rect, 2), RC_OK);
    arraysFail = true;
    EXPECT_EQ(dest.BlurFrom(5, &source, &rect, 2), RC_OK);
    arraysFail = false;
    EXPECT_EQ(dest.Pixels(), expected.Pixels());
  }
}

}  // namespace
