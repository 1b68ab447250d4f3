// The tool on screens of every colour depth; the script beside this file starts each screen
// and tells the depth Windows programs see there through ZV_E2E_SCREEN_BITS.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tool_fixture.h"
#include "ui_probe.h"

namespace {

int ScreenBitsPerPixel() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

using ColourDepthTest = ToolTest;

TEST_F(ColourDepthTest, RunsOnlyFromSixteenBitsPerPixelUp) {
  const char* expected = std::getenv("ZV_E2E_SCREEN_BITS");
  ASSERT_NE(expected, nullptr) << "run through colour_depth.sh";
  // The screen must really be the one the script meant, or nothing below tells anything.
  const int bits = ScreenBitsPerPixel();
  ASSERT_EQ(bits, std::atoi(expected));

  ASSERT_NO_FATAL_FAILURE(StartTool(bits >= 16));
  if (bits < 16) {
    ASSERT_NO_FATAL_FAILURE(AnswerMessageBox(
        "エラー",
        "本製品は、256色モードには対応しておりません。\n"
        "ハイカラー(16ビット)か、フルカラー(24ビット以上)に設定して下さいますようお願いいたします。",
        IDOK));
    EXPECT_EQ(WaitForDialog(tool_.id(), kToolCaption, 500), nullptr);
  } else {
    ExpectNoMessageBox();
    Click(kExitButton);
  }
  ExpectExitCode0();
}

}  // namespace
