// The display on a window: Open and Close, and what Present and Paint put in the window.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "app/startup_display.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "pixel_pattern.h"
#include "test_window.h"

namespace {

bool IsAllZero(const DisplayDesc& desc) {
  static const DisplayDesc zero{};
  return std::memcmp(&desc, &zero, sizeof desc) == 0;
}

// Covers the whole window with a pattern through a display of its own.
void PaintWindow(const TestWindow& window, uint32_t seed) {
  Display painter;
  const DisplayDesc desc = DescFor(window.handle(), window.width(), window.height());
  ASSERT_EQ(painter.Open(&desc), RC_OK);
  FillPattern(*painter.GetPrimarySurface(), seed);
  ASSERT_EQ(painter.PresentAll(), RC_OK);
}

class DisplayOnWindow : public ::testing::Test {
 protected:
  TestWindow window_{320, 240};
  Display display_;
};

// As the program entry makes it: on a hidden window, 800 x 600.
TEST(StartDisplay, RefusesUnusableArgumentsThenOpensAPrimaryDibSurfaceOfTheArea) {
  TestWindow window(800, 600, TestWindow::Shown::kNo);
  EXPECT_EQ(StartDisplay(nullptr, 800, 600), 0);
  EXPECT_EQ(StartDisplay(window.handle(), 0, 600), 0);
  EXPECT_EQ(StartDisplay(window.handle(), 800, -1), 0);
  EXPECT_EQ(g_display, nullptr);

  ASSERT_EQ(StartDisplay(window.handle(), 800, 600), 1);
  ASSERT_NE(g_display, nullptr);
  Display& display = *g_display;
  const DisplayDesc* desc = display.GetDesc();
  EXPECT_EQ(desc->size, 28);
  EXPECT_EQ(desc->width, 800);
  EXPECT_EQ(desc->height, 600);
  EXPECT_EQ(desc->bitDepth, 24);
  EXPECT_EQ(WindowFromDesc(*desc), window.handle());
  EXPECT_EQ(display.GetPixelType(), kPixelType32);
  EXPECT_EQ(display.GetBitsPerPixel(), 32);
  EXPECT_NE(display.DeviceContext(), nullptr);

  Surface32* primary = display.GetPrimarySurface();
  ASSERT_NE(primary, nullptr);
  EXPECT_EQ(display.SurfaceAt(0), primary);
  EXPECT_EQ(primary->Width(), 800);
  EXPECT_EQ(primary->Pitch(), 800);
  EXPECT_EQ(primary->Height(), 600);
  EXPECT_EQ(primary->Flags(), Surface::kFlagsDib);
  EXPECT_EQ(primary->FamilyCode(), 15);
  EXPECT_NE(primary->PresentDC(), nullptr);
  EXPECT_NE(primary->Lock(), nullptr);
}

// The area is 301 wide, so the section's rows are 304 pixels: a copy that ignored the pitch
// would shear the picture. The window shows pattern 1 before.
TEST_F(DisplayOnWindow, PresentCopiesTheRectOrTheWholeAreaToTheSamePlace) {
  PaintWindow(window_, 1);
  const DisplayDesc desc = DescFor(window_.handle(), 301, 200);
  ASSERT_EQ(display_.Open(&desc), RC_OK);
  EXPECT_EQ(std::memcmp(display_.GetDesc(), &desc, sizeof desc), 0);  // reserved fields too
  Surface32& primary = *display_.GetPrimarySurface();
  ASSERT_EQ(primary.Pitch(), 304);
  const Rect area{0, 0, 301, 200};

  FillPattern(primary, 2);
  ASSERT_EQ(display_.PresentAll(), RC_OK);
  EXPECT_EQ(FirstMismatch(window_.Capture(), 320, 1, {{area, 2}}), "");

  FillPattern(primary, 3);
  const Rect block{10, 20, 110, 70};
  ASSERT_EQ(display_.Present(&block), RC_OK);
  EXPECT_EQ(FirstMismatch(window_.Capture(), 320, 1, {{area, 2}, {block, 3}}), "");

  FillPattern(primary, 4);
  const Rect overhanging{-10, -20, 150, 100};
  ASSERT_EQ(display_.Present(&overhanging), RC_OK);
  const Rect copied{0, 0, 150, 100};
  EXPECT_EQ(FirstMismatch(window_.Capture(), 320, 1, {{area, 2}, {block, 3}, {copied, 4}}), "");

  const Rect extreme{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_EQ(display_.Present(&extreme), RC_OK);
}

TEST_F(DisplayOnWindow, PaintPresentsTheInvalidRect) {
  PaintWindow(window_, 1);
  const DisplayDesc desc = DescFor(window_.handle(), 320, 240);
  ASSERT_EQ(display_.Open(&desc), RC_OK);
  FillPattern(*display_.GetPrimarySurface(), 5);

  window_.InvalidateOnly(RECT{30, 40, 90, 100});
  ASSERT_EQ(display_.Paint(), RC_OK);
  EXPECT_EQ(FirstMismatch(window_.Capture(), 320, 1, {{Rect{30, 40, 90, 100}, 5}}), "");
}

TEST_F(DisplayOnWindow, CloseEndsTheBindingAndOpenWorksAgain) {
  const DisplayDesc desc = DescFor(window_.handle(), 320, 240);
  ASSERT_EQ(display_.Open(&desc), RC_OK);
  display_.CreateSurface(1)->Create(8, 8);
  display_.CreateSurface32(0)->Create(8, 8);

  EXPECT_EQ(display_.Close(), RC_OK);
  EXPECT_TRUE(IsAllZero(*display_.GetDesc()));
  EXPECT_EQ(display_.GetPrimarySurface(), nullptr);
  EXPECT_EQ(display_.SurfaceCount(), 0);
  EXPECT_EQ(display_.DeviceContext(), nullptr);
  EXPECT_EQ(display_.Present(nullptr), RC_NO_DC);
  EXPECT_EQ(display_.PresentAll(), RC_NO_DC);
  EXPECT_EQ(display_.Paint(), RC_NO_DC);
  EXPECT_EQ(display_.GetPixelType(), kPixelType32);
  EXPECT_EQ(display_.GetBitsPerPixel(), 32);

  ASSERT_EQ(display_.Open(&desc), RC_OK);
  EXPECT_EQ(display_.SurfaceAt(0), display_.GetPrimarySurface());
  EXPECT_EQ(display_.PresentAll(), RC_OK);
}

TEST_F(DisplayOnWindow, OpenReportsWhatThePrimaryLacks) {
  DisplayDesc desc = DescFor(window_.handle(), 0, 240);
  EXPECT_EQ(display_.Open(&desc), RC_BAD_LENGTH);
  ASSERT_NE(display_.GetPrimarySurface(), nullptr);
  EXPECT_EQ(display_.GetPrimarySurface()->Lock(), nullptr);
  EXPECT_EQ(display_.GetPrimarySurface()->LastError(), RC_NO_PIXELS);
  display_.Close();

  window_.Destroy();
  desc.width = 320;
  EXPECT_EQ(display_.Open(&desc), RC_GET_DC_FAILED);
  EXPECT_EQ(display_.Present(nullptr), RC_NO_DC);
}

}  // namespace
