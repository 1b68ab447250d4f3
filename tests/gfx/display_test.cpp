// The display: its surface table, Open and Close, and what Present and Paint put in the window.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "app/win32/startup_display.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "pixel_pattern.h"
#include "window/test_window.h"

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

TEST(DisplayTable, GrowsByTenKeepsSlotsAndReusesTheLowestFreeSlot) {
  Display display;
  std::vector<Surface*> made;
  for (int32_t i = 0; i < 41; ++i) {
    made.push_back(i % 2 ? display.CreateSurface(i % 3) : display.CreateSurface32(i % 3));
    ASSERT_NE(made.back(), nullptr);
    EXPECT_EQ(made.back()->OwnerSerial(), display.Serial());
    if (i < 30) {
      EXPECT_EQ(display.TableCapacity(), 30);
    } else if (i < 40) {
      EXPECT_EQ(display.TableCapacity(), 40);
    }
  }
  EXPECT_EQ(display.TableCapacity(), 50);
  EXPECT_EQ(display.SurfaceCount(), 41);
  for (int32_t slot = 0; slot < 41; ++slot) EXPECT_EQ(display.SurfaceAt(slot), made[slot]);

  ASSERT_EQ(display.DestroySurface(made[3]), RC_OK);
  EXPECT_EQ(display.DestroySurface(made[3]), RC_NOT_FOUND);
  EXPECT_EQ(display.SurfaceAt(3), nullptr);
  EXPECT_EQ(display.SurfaceCount(), 40);
  Surface* refill = display.CreateSurface(0);
  EXPECT_EQ(display.SurfaceAt(3), refill);
  EXPECT_EQ(display.SurfaceCount(), 41);
  EXPECT_EQ(display.TableCapacity(), 50);
}

TEST(DisplayTable, UnknownKindsMakeNothingAndKindTwoIsADibSurface) {
  Display display;
  EXPECT_EQ(display.CreateSurface(3), nullptr);
  EXPECT_EQ(display.CreateSurface(-1), nullptr);
  EXPECT_EQ(display.CreateSurface32(3), nullptr);
  EXPECT_EQ(display.CreateSurface32(-1), nullptr);
  EXPECT_EQ(display.SurfaceCount(), 0);

  // Closed, the display hands DIB surfaces the null window's (the screen's) context.
  Surface* plain = display.CreateSurface(2);
  Surface32* drawing = display.CreateSurface32(2);
  ASSERT_EQ(plain->Create(16, 4), RC_OK);
  ASSERT_EQ(drawing->Create(16, 4), RC_OK);
  EXPECT_EQ(plain->FamilyCode(), 24);
  EXPECT_EQ(drawing->FamilyCode(), 15);
  EXPECT_EQ(plain->Flags(), Surface::kFlagsDib);
  EXPECT_NE(plain->GetDeviceContext(), nullptr);
  EXPECT_NE(drawing->PresentDC(), nullptr);
  EXPECT_EQ(drawing->PresentDC(), drawing->GetDeviceContext());
  EXPECT_EQ(display.SurfaceCount(), 2);
}

TEST(DisplayTable, DestroyRefusesNullForeignAndForgottenSurfaces) {
  Display display;
  Display other;
  Surface* foreign = other.CreateSurface32(0);
  Surface* own = display.CreateSurface(0);
  EXPECT_EQ(display.DestroySurface(nullptr), RC_NO_MEMORY);
  EXPECT_EQ(display.AddSurface(nullptr), RC_NO_MEMORY);
  EXPECT_EQ(display.DestroySurface(foreign), RC_NOT_FOUND);
  EXPECT_EQ(other.SurfaceAt(0), foreign);

  EXPECT_EQ(display.DestroyAllSurfaces(), RC_OK);
  EXPECT_EQ(display.TableCapacity(), 0);
  EXPECT_EQ(display.DestroySurface(own), RC_NOT_FOUND);
  Surface* fresh = display.CreateSurface(0);
  EXPECT_EQ(display.SurfaceAt(0), fresh);
  EXPECT_EQ(display.TableCapacity(), 30);
  EXPECT_EQ(display.SurfaceCount(), 1);
}

class DisplayOnWindow : public ::testing::Test {
 protected:
  TestWindow window_{320, 240};
  Display display_;
};

TEST_F(DisplayOnWindow, OpenRefusesBadDescriptorsAndChangesNothing) {
  EXPECT_EQ(display_.Open(nullptr), RC_NULL_ARGUMENT);
  for (int32_t size : {27, 32}) {
    DisplayDesc desc = DescFor(window_.handle(), 320, 240);
    desc.size = size;
    EXPECT_EQ(display_.Open(&desc), RC_BAD_FORMAT);
  }
  EXPECT_TRUE(IsAllZero(*display_.GetDesc()));
  EXPECT_EQ(display_.GetPrimarySurface(), nullptr);
  EXPECT_EQ(display_.GetPixelType(), 0);
  EXPECT_EQ(display_.DeviceContext(), nullptr);
  EXPECT_EQ(display_.SurfaceCount(), 0);
}

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
