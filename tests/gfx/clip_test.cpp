// Rect resolution and blit clipping against an 800 x 600 destination and 100 x 100 sources.
#include <gtest/gtest.h>

#include <climits>

#include "reference/test_surface32.h"

namespace {

class Clip : public ::testing::Test {
 protected:
  TestSurface32 dest_{800, 600, 800};
  TestSurface32 source_{100, 100, 100, "s"};
  TestSurface32 mask_{100, 100, 100, "m"};
};

TEST_F(Clip, ResolveRectClampsButNeverReorders) {
  Rect out;
  EXPECT_EQ(dest_.ResolveRect(out, nullptr), (Rect{0, 0, 800, 600}));
  const Rect cases[][2] = {
      {{-10, -10, 900, 700}, {0, 0, 800, 600}},
      {{900, 10, 1000, 20}, {900, 10, 800, 20}},
      {{50, 40, 10, 60}, {50, 40, 10, 60}},
      {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {0, 0, 800, 600}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dest_.ResolveRect(out, &c[0]), c[1]);
  }
}

TEST_F(Clip, ResolveSourceRectCopiesOrTakesTheWholeSource) {
  Rect out;
  const Rect rect{-20, -20, 500, 500};
  dest_.ResolveSourceRect(out, &rect, &source_);
  EXPECT_EQ(out, rect);
  dest_.ResolveSourceRect(out, nullptr, &source_);
  EXPECT_EQ(out, (Rect{0, 0, 100, 100}));
}

struct BlitClipCase {
  int32_t x, y;
  Rect rect;
  int32_t wantX, wantY;
  Rect wantRect;
};

TEST_F(Clip, ClipBlitKeepsSourceAndDestinationInStep) {
  const BlitClipCase cases[] = {
      {-10, 5, {0, 0, 100, 100}, 0, 5, {10, 0, 100, 100}},
      {750, 580, {0, 0, 100, 100}, 750, 580, {0, 0, 50, 20}},
      {0, 0, {-20, -20, 50, 50}, 20, 20, {0, 0, 50, 50}},
      {-3, 0, {-5, 0, 100, 100}, 2, 0, {0, 0, 100, 100}},
      {850, 0, {0, 0, 100, 100}, 850, 0, {0, 0, -50, 100}},
      {850, 650, {0, 0, 100, 100}, 850, 650, {0, 0, -50, -50}},
  };
  for (const BlitClipCase& c : cases) {
    int32_t x = c.x, y = c.y;
    Rect rect = c.rect;
    dest_.ClipBlit(x, y, &source_, rect);
    EXPECT_EQ(x, c.wantX) << c.x << "," << c.y;
    EXPECT_EQ(y, c.wantY) << c.x << "," << c.y;
    EXPECT_EQ(rect, c.wantRect) << c.x << "," << c.y;
  }
}

TEST_F(Clip, ClipBlit2MovesTheMaskPointAlong) {
  int32_t x = 0, y = 0, mx = -4, my = 0;
  Rect rect{0, 0, 10, 10};
  dest_.ClipBlit2(x, y, &source_, rect, &mask_, mx, my);
  EXPECT_EQ(rect, (Rect{4, 0, 10, 10}));
  EXPECT_EQ((std::pair{x, y}), (std::pair{4, 0}));
  EXPECT_EQ((std::pair{mx, my}), (std::pair{0, 0}));

  x = 0, y = 0, mx = 5, my = 5;
  rect = {-3, 0, 10, 10};
  dest_.ClipBlit2(x, y, &source_, rect, &mask_, mx, my);
  EXPECT_EQ(rect, (Rect{0, 0, 10, 10}));
  EXPECT_EQ((std::pair{x, y}), (std::pair{3, 0}));
  EXPECT_EQ((std::pair{mx, my}), (std::pair{8, 5}));
}

// Exact arithmetic: a point or Rect at the ends of the 32-bit range empties its dimension
// instead of wrapping round into the surfaces.
TEST_F(Clip, ExtremeCoordinatesClipExactlyAndSaturate) {
  int32_t x = INT32_MIN, y = 0;
  Rect rect{0, 0, 100, 100};
  dest_.ClipBlit(x, y, &source_, rect);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(rect, (Rect{INT32_MAX, 0, 100, 100}));  // left 2^31 exactly, saturated

  x = INT32_MAX, y = INT32_MAX;
  rect = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  dest_.ClipBlit(x, y, &source_, rect);
  EXPECT_LT(int64_t{rect.right} - rect.left, 0);
  EXPECT_LT(int64_t{rect.bottom} - rect.top, 0);

  // The mask point moves past 2^31 while the destination point is clipped.
  int32_t mx = INT32_MAX, my = 0;
  x = INT32_MIN + 2, y = 0;
  rect = {0, 0, 10, 10};
  dest_.ClipBlit2(x, y, &source_, rect, &mask_, mx, my);
  EXPECT_LT(int64_t{rect.right} - rect.left, 0);
}

}  // namespace
