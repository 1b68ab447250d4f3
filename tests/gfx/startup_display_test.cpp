// The start-up display on a hidden window, as the program entry makes it.
#include <gtest/gtest.h>

#include "app/startup_display.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "test_window.h"

TEST(StartDisplay, RefusesUnusableArgumentsThenOpensTheDisplay) {
  TestWindow window(800, 600, TestWindow::Shown::kNo);
  EXPECT_EQ(StartDisplay(nullptr, 800, 600), 0);
  EXPECT_EQ(StartDisplay(window.handle(), 0, 600), 0);
  EXPECT_EQ(StartDisplay(window.handle(), 800, -1), 0);
  EXPECT_EQ(g_display, nullptr);

  ASSERT_EQ(StartDisplay(window.handle(), 800, 600), 1);
  ASSERT_NE(g_display, nullptr);
  const DisplayDesc* desc = g_display->GetDesc();
  EXPECT_EQ(desc->size, 28);
  EXPECT_EQ(desc->width, 800);
  EXPECT_EQ(desc->height, 600);
  EXPECT_EQ(desc->bitDepth, 24);
  EXPECT_EQ(WindowFromDesc(*desc), window.handle());

  Surface32* primary = g_display->GetPrimarySurface();
  ASSERT_NE(primary, nullptr);
  EXPECT_EQ(primary->Width(), 800);
  EXPECT_EQ(primary->Pitch(), 800);
  EXPECT_EQ(primary->Height(), 600);
  EXPECT_NE(primary->Lock(), nullptr);
}
