// The settings dialog as a user meets it: what it shows, its radio buttons, the folder browser,
// and every way to leave it.
#include <gtest/gtest.h>

#include <ostream>

#include "tool_fixture.h"
#include "ui_probe.h"

namespace {

struct ControlLook {
  int id;
  const char* text;
  LONG kind;   // BS_ or SS_ type
  LONG flags;  // WS_GROUP and WS_TABSTOP as the resource sets them
};

constexpr LONG kGroupAndTab = WS_GROUP | WS_TABSTOP;
const ControlLook kControls[] = {
    {kExitButton, "終了", BS_DEFPUSHBUTTON, WS_TABSTOP},
    {kSelectFolderButton, "フォルダの選択", BS_PUSHBUTTON, WS_TABSTOP},
    {kSetButton, "設定", BS_PUSHBUTTON, WS_TABSTOP},
    {kTarnwickRadio, "Tarnwick", BS_AUTORADIOBUTTON, kGroupAndTab},
    {kOxbellowRadio, "Oxbellow", BS_AUTORADIOBUTTON, kGroupAndTab},
    {kQuillaneRadio, "Quillane", BS_AUTORADIOBUTTON, kGroupAndTab},
    {kFolderText, "選択したインストール先が表示されます", SS_LEFT, WS_GROUP},
    {kStandardRadio, "標準", BS_AUTORADIOBUTTON, kGroupAndTab},
    {kAllRadio, "全て", BS_AUTORADIOBUTTON, kGroupAndTab},
};

const int kRadios[] = {kTarnwickRadio, kOxbellowRadio, kQuillaneRadio, kStandardRadio, kAllRadio};

std::vector<int> CheckedRadios(HWND dialog) {
  std::vector<int> checked;
  for (int id : kRadios) {
    if (IsChecked(dialog, id)) checked.push_back(id);
  }
  return checked;
}

using DialogTest = ToolTest;

TEST_F(DialogTest, OpensWithItsControlsAndTheFirstChoiceOfEachSet) {
  ASSERT_NO_FATAL_FAILURE(StartTool());
  ExpectNoMessageBox();
  for (const ControlLook& control : kControls) {
    SCOPED_TRACE(control.id);
    EXPECT_EQ(ControlText(dialog_, control.id), control.text);
    const LONG style = StyleOf(dialog_, control.id);
    EXPECT_EQ(style & (control.id == kFolderText ? SS_TYPEMASK : BS_TYPEMASK), control.kind);
    EXPECT_EQ(style & kGroupAndTab, control.flags);
  }
  const std::vector<int> firstOfEach = {kTarnwickRadio, kStandardRadio};
  EXPECT_EQ(CheckedRadios(dialog_), firstOfEach);
}

TEST_F(DialogTest, EachSetOfRadioButtonsKeepsOneChecked) {
  ASSERT_NO_FATAL_FAILURE(StartTool());
  Choose(kQuillaneRadio);
  Choose(kAllRadio);
  EXPECT_EQ(CheckedRadios(dialog_), (std::vector<int>{kQuillaneRadio, kAllRadio}));
  Choose(kOxbellowRadio);
  EXPECT_EQ(CheckedRadios(dialog_), (std::vector<int>{kOxbellowRadio, kAllRadio}));
  Choose(kStandardRadio);
  Choose(kTarnwickRadio);
  EXPECT_EQ(CheckedRadios(dialog_), (std::vector<int>{kTarnwickRadio, kStandardRadio}));
}

TEST_F(DialogTest, TheChosenFolderIsShownWithOneFinalBackslash) {
  ASSERT_TRUE(MakeFolders(L"C:\\Games\\Tarnwick"));
  ASSERT_TRUE(MakeFolders(L"C:\\ゲーム\\表"));
  ASSERT_NO_FATAL_FAILURE(StartTool());

  // Cancelling before anything was chosen leaves the folder empty.
  EXPECT_EQ(FolderBrowserPrompt(), "ゲームをインストールしたフォルダを選択して下さい");
  EXPECT_EQ(ControlText(dialog_, kFolderText), "");

  ASSERT_NO_FATAL_FAILURE(ChooseFolder(L"C:\\Games"));
  EXPECT_EQ(ControlText(dialog_, kFolderText), "C:\\Games\\");
  ASSERT_NO_FATAL_FAILURE(ChooseFolder(L"C:"));
  EXPECT_EQ(ControlText(dialog_, kFolderText), "C:\\");
  ASSERT_NO_FATAL_FAILURE(ChooseFolder(L"C:\\Games\\Tarnwick"));
  EXPECT_EQ(ControlText(dialog_, kFolderText), "C:\\Games\\Tarnwick\\");

  // Cancelling keeps the previous choice on show.
  ASSERT_NO_FATAL_FAILURE(CancelFolderChoice());
  EXPECT_EQ(ControlText(dialog_, kFolderText), "C:\\Games\\Tarnwick\\");

  // 表 ends in the byte 0x5C in Shift-JIS, which is no backslash.
  ASSERT_NO_FATAL_FAILURE(ChooseFolder(L"C:\\ゲーム\\表"));
  EXPECT_EQ(ControlText(dialog_, kFolderText), "C:\\ゲーム\\表\\");
  ExpectNoMessageBox();
}

TEST_F(DialogTest, AFolderTooLongForItsBackslashIsRefused) {
  // "C:\" + 200 + "\" + 54 bytes is 258: with the backslash, 259 bytes and the terminator fit.
  const std::wstring base = L"C:\\" + std::wstring(200, L'd');
  const std::wstring longest = base + L"\\" + std::wstring(54, L'f');
  const std::wstring tooLong = base + L"\\" + std::wstring(55, L'f');
  ASSERT_TRUE(MakeFolders(longest));
  ASSERT_TRUE(MakeFolders(tooLong));
  const std::string longestText(longest.begin(), longest.end());

  ASSERT_NO_FATAL_FAILURE(StartTool());
  ASSERT_NO_FATAL_FAILURE(ChooseFolder(longest));
  EXPECT_EQ(ControlText(dialog_, kFolderText), longestText + "\\");

  ASSERT_NO_FATAL_FAILURE(ChooseFolder(tooLong));
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("エラー", "選択したフォルダのパスが長すぎます！", IDOK));
  EXPECT_EQ(ControlText(dialog_, kFolderText), longestText + "\\");

  // The folder kept is the one the Set command writes.
  Click(kSetButton);
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("完了", "インストール情報ファイルを設定しました", IDOK));
  bool exists = false;
  EXPECT_EQ(ReadFileBytes(WindowsDirectory() + "\\tw.ifo", exists),
            longestText + "\\\r\n0 1 ");
  DeleteTree("C:\\" + std::string(200, 'd'));
}

enum class ExitWay { kExitButton, kCloseBox, kEscape };

void PrintTo(ExitWay way, std::ostream* out) {
  const char* const names[] = {"exit button", "close box", "Esc"};
  *out << names[static_cast<int>(way)];
}

class DialogExitTest : public ToolTest, public ::testing::WithParamInterface<ExitWay> {};

TEST_P(DialogExitTest, EndsTheProcessWithCode0) {
  ASSERT_NO_FATAL_FAILURE(StartTool());
  switch (GetParam()) {
    case ExitWay::kExitButton:
      Click(kExitButton);
      break;
    case ExitWay::kCloseBox:
      PressCloseBox(dialog_);
      break;
    case ExitWay::kEscape:
      PressEscape(dialog_);
      break;
  }
  ExpectExitCode0();
}

INSTANTIATE_TEST_SUITE_P(AllWays, DialogExitTest,
                         ::testing::Values(ExitWay::kExitButton, ExitWay::kCloseBox,
                                           ExitWay::kEscape));

TEST_F(DialogTest, ASecondInstanceEndsAtOnceWithoutShowingAnything) {
  ASSERT_NO_FATAL_FAILURE(StartTool());
  ToolProcess second;
  ASSERT_TRUE(second.Start(ToolPath()));
  bool showedSomething = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        showedSomething = showedSomething || !DialogsOf(second.id(), false).empty();
        return !second.Running();
      },
      10000))
      << "the second instance kept running";
  DWORD exitCode = 1;
  ASSERT_TRUE(second.WaitForExit(0, exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(showedSomething);
  EXPECT_TRUE(tool_.Running());
  EXPECT_TRUE(IsWindowVisible(dialog_));
}

}  // namespace
