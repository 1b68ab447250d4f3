// The substitute GDI: every device context and DIB section that the display and its surfaces
// take is given back, on every path (Close, destruction without Close, re-Create, re-Open,
// failed Creates); device contexts report their window's depth.
#include <gtest/gtest.h>

#include <ostream>

#include "gfx/dib_store.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "platform/subst/window_hooks.h"
#include "test_window.h"

// Beside the type, where gtest's lookup finds them.
namespace subst {

bool operator==(const subst::GdiObjectCounts& a, const subst::GdiObjectCounts& b) {
  return a.windowDCs == b.windowDCs && a.memoryDCs == b.memoryDCs && a.bitmaps == b.bitmaps;
}

std::ostream& operator<<(std::ostream& out, const subst::GdiObjectCounts& counts) {
  return out << counts.windowDCs << " window DCs, " << counts.memoryDCs << " memory DCs, "
             << counts.bitmaps << " bitmaps";
}

}  // namespace subst

namespace {

constexpr subst::GdiObjectCounts kNothing{0, 0, 0};

// Surfaces of every kind, DIB ones created twice without Release, and a Paint.
void Exercise(Display& display, TestWindow& window) {
  for (int32_t kind = 0; kind < 3; ++kind) {
    Surface* plain = display.CreateSurface(kind);
    Surface32* drawing = display.CreateSurface32(kind);
    for (int round = 0; round < 2; ++round) {
      ASSERT_EQ(plain->Create(10 + round, 10), RC_OK);
      ASSERT_EQ(drawing->Create(10, 10 + round), RC_OK);
    }
    plain->Release();
  }
  window.InvalidateOnly(RECT{0, 0, 8, 8});
  EXPECT_EQ(display.Paint(), RC_OK);
  EXPECT_EQ(display.PresentAll(), RC_OK);
}

TEST(GdiLeaks, OpenDisplayHoldsOneWindowDcAndOneSectionPerDibSurface) {
  TestWindow window(64, 32);
  Display display;
  const DisplayDesc desc = DescFor(window.handle(), 64, 32);
  ASSERT_EQ(display.Open(&desc), RC_OK);
  EXPECT_EQ(subst::OutstandingGdiObjects(), (subst::GdiObjectCounts{1, 1, 1}));
  Exercise(display, window);
  // The primary, plus kinds 1 and 2 of the drawing family (the plain ones were released).
  EXPECT_EQ(subst::OutstandingGdiObjects(), (subst::GdiObjectCounts{1, 3, 3}));
  ASSERT_EQ(display.Open(&desc), RC_OK);  // again without Close: the old context goes
  EXPECT_EQ(subst::OutstandingGdiObjects(), (subst::GdiObjectCounts{1, 4, 4}));
  display.Close();
  EXPECT_EQ(subst::OutstandingGdiObjects(), kNothing);
}

TEST(GdiLeaks, DestroyingAnOpenDisplayReleasesEverything) {
  TestWindow window(64, 32);
  {
    Display display;
    const DisplayDesc desc = DescFor(window.handle(), 64, 32);
    ASSERT_EQ(display.Open(&desc), RC_OK);
    Exercise(display, window);
  }
  EXPECT_EQ(subst::OutstandingGdiObjects(), kNothing);
}

TEST(GdiLeaks, FailedCreatesHoldNothing) {
  TestWindow window(64, 32);
  Display display;
  const DisplayDesc desc = DescFor(window.handle(), 64, 32);
  ASSERT_EQ(display.Open(&desc), RC_OK);
  Surface32* surface = display.CreateSurface32(1);
  EXPECT_EQ(surface->Create(0, 0), RC_BAD_LENGTH);
  window.Destroy();
  EXPECT_EQ(surface->Create(8, 8), RC_GET_DC_FAILED);
  display.Close();  // releases the context of the vanished window too
  EXPECT_EQ(subst::OutstandingGdiObjects(), kNothing);

  DibStore store;
  EXPECT_EQ(store.CreateSection(nullptr, 9, 8, 8), RC_NO_MEMORY);
  EXPECT_EQ(subst::OutstandingGdiObjects(), kNothing);
}

TEST(SubstituteGdi, DeviceContextsReportTheirWindowsDepth) {
  TestWindow window(8, 8);
  HWND shallow = subst::CreateTestWindow(8, 8, 16);
  HDC deep = GetDC(window.handle());
  HDC windowDC = GetDC(shallow);
  HDC memoryDC = CreateCompatibleDC(windowDC);
  EXPECT_EQ(GetDeviceCaps(deep, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(windowDC, BITSPIXEL), 16);
  EXPECT_EQ(GetDeviceCaps(memoryDC, BITSPIXEL), 16);
  EXPECT_EQ(ReleaseDC(shallow, deep), 0);  // not that window's context
  EXPECT_TRUE(DeleteDC(memoryDC));
  EXPECT_EQ(ReleaseDC(shallow, windowDC), 1);
  EXPECT_EQ(ReleaseDC(window.handle(), deep), 1);
  subst::DestroyTestWindow(shallow);
  EXPECT_EQ(subst::OutstandingGdiObjects(), kNothing);
}

}  // namespace
