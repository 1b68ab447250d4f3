// The settings dialog as a user works it: with mouse and keyboard, the folder browser, a Set
// that fails, a second start beside it, and the colour depth it needs.
#include <cstdlib>
#include <fstream>
#include <set>
#include <vector>

#include "tool_fixture.h"

namespace {

const char kDone[] = "インストール情報ファイルを設定しました";
const char kAskOverwrite[] = "既にインストール情報ファイルが存在します\n上書きしますか？";

std::vector<int> CheckedRadios(HWND dialog) {
  std::vector<int> checked;
  for (int id = IDC_TITLE_TARNWICK; id <= IDC_MODE_ALL; ++id) {
    if (IsChecked(dialog, id)) checked.push_back(id);
  }
  return checked;
}

HWND Focused(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  return info.hwndFocus;
}

// The id of the control that has the focus after one more Tab.
int Tab(HWND dialog) {
  const HWND before = Focused(dialog);
  PostKey(dialog, VK_TAB);
  WaitUntil([&] { return Focused(dialog) != before; }, 3000);
  return GetDlgCtrlID(Focused(dialog));
}

using DialogTest = ToolTest;

// Windows 95 is warned about before the dialog shows, and takes the file in its own folder.
TEST_F(DialogTest, PickingTitleFolderAndModeThenSetWritesTheFile) {
  MakeFolders(L"C:\\ゲーム\\表");
  ASSERT_NO_FATAL_FAILURE(UseWindowsVersion("win95"));
  ASSERT_NO_FATAL_FAILURE(StartTool("", "Windows95は動作保証外です！"));
  ExpectNoMessageBox();
  const std::pair<int, const char*> kTexts[] = {
      {IDC_EXIT, "終了"}, {IDC_SELECT_FOLDER, "フォルダの選択"}, {IDC_SET, "設定"},
      {IDC_TITLE_TARNWICK, "Tarnwick"}, {IDC_TITLE_OXBELLOW, "Oxbellow"},
      {IDC_TITLE_QUILLANE, "Quillane"}, {IDC_MODE_STANDARD, "標準"}, {IDC_MODE_ALL, "全て"},
      {IDC_GAME_FOLDER, "選択したインストール先が表示されます"}};
  for (const auto& [id, text] : kTexts) EXPECT_EQ(ControlText(dialog_, id), text) << id;
  EXPECT_EQ(CheckedRadios(dialog_), (std::vector<int>{IDC_TITLE_TARNWICK, IDC_MODE_STANDARD}));

  // Tab passes every control without selecting; Space selects.
  std::vector<int> reached;
  for (int i = 0; i < 12; ++i) reached.push_back(Tab(dialog_));
  EXPECT_EQ(reached, (std::vector<int>{IDC_SELECT_FOLDER, IDC_SET, IDC_TITLE_TARNWICK,
                                       IDC_TITLE_OXBELLOW, IDC_TITLE_QUILLANE, IDC_MODE_STANDARD,
                                       IDC_MODE_ALL, IDC_EXIT, IDC_SELECT_FOLDER, IDC_SET,
                                       IDC_TITLE_TARNWICK, IDC_TITLE_OXBELLOW}));
  EXPECT_EQ(CheckedRadios(dialog_), (std::vector<int>{IDC_TITLE_TARNWICK, IDC_MODE_STANDARD}));
  PostKey(Focused(dialog_), VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog_, IDC_TITLE_OXBELLOW); }, 3000));
  EXPECT_EQ(CheckedRadios(dialog_), (std::vector<int>{IDC_TITLE_OXBELLOW, IDC_MODE_STANDARD}));

  // Cancelling before anything was chosen leaves the folder empty. 表 ends in the byte 0x5C in
  // Shift-JIS, which is no backslash.
  ASSERT_NO_FATAL_FAILURE(ChooseFolder(L""));
  EXPECT_EQ(browserPrompt_, "ゲームをインストールしたフォルダを選択して下さい");
  EXPECT_EQ(ControlText(dialog_, IDC_GAME_FOLDER), "");
  ASSERT_NO_FATAL_FAILURE(ChooseFolder(L"C:\\ゲーム\\表"));
  EXPECT_EQ(ControlText(dialog_, IDC_GAME_FOLDER), "C:\\ゲーム\\表\\");
  Choose(IDC_TITLE_QUILLANE);
  Choose(IDC_MODE_ALL);
  EXPECT_EQ(CheckedRadios(dialog_), (std::vector<int>{IDC_TITLE_QUILLANE, IDC_MODE_ALL}));
  Press(dialog_, IDC_SET);
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("完了", kDone, IDOK));
  EXPECT_EQ(FileAt(WindowsDirectory() + "\\quil.ifo"), "C:\\ゲーム\\表\\\r\n0 1 2 10 11 ");
  Press(dialog_, IDC_EXIT);
  EXPECT_EQ(ExitCode(tool_), 0u);
}

// On XP the file goes into the profile; the command line chooses title, mode and folder.
TEST_F(DialogTest, AFailedSetShowsTheErrorAndKeepsTheOldFile) {
  ASSERT_NO_FATAL_FAILURE(UseWindowsVersion("winxp"));
  const std::string folder = ProfileDirectory() + "\\Application Data\\Vorn";
  const std::string path = folder + "\\ox.ifo";
  MakeFolders(std::wstring(folder.begin(), folder.end()));
  MakeFolders(L"C:\\ゲーム\\表");
  std::ofstream(path) << "old";
  auto held = HoldOpen(path);
  ASSERT_NO_FATAL_FAILURE(StartTool("/title:Oxbellow /mode:all /folder:\"C:\\ゲーム\\表\""));
  EXPECT_EQ(CheckedRadios(dialog_), (std::vector<int>{IDC_TITLE_OXBELLOW, IDC_MODE_ALL}));
  EXPECT_EQ(ControlText(dialog_, IDC_GAME_FOLDER), "C:\\ゲーム\\表\\");

  Press(dialog_, IDC_SET);
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("情報ファイルの上書き", kAskOverwrite, IDYES));
  ASSERT_NO_FATAL_FAILURE(
      AnswerMessageBox("エラー", "インストール情報ファイルを書き込めませんでした！", IDOK));
  ExpectNoMessageBox();
  held.reset();
  EXPECT_EQ(FileAt(path), "old");
  EXPECT_EQ(FolderListing(folder), std::set<std::string>{"ox.ifo"});

  Press(dialog_, IDC_SET);
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("情報ファイルの上書き", kAskOverwrite, IDYES));
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("完了", kDone, IDOK));
  EXPECT_EQ(FileAt(path), "C:\\ゲーム\\表\\\r\n0 1 2 10 ");
  EXPECT_TRUE(Exists(ProfileDirectory() + "\\Local Settings\\Temp"));
}

// A second start and an unattended run neither wait for the open dialog nor touch it; the
// close box ends it.
TEST_F(DialogTest, ASecondStartEndsAtOnceBesideTheOpenDialog) {
  ASSERT_NO_FATAL_FAILURE(StartTool());
  EXPECT_EQ(ExitCode(Start("")), 0u);
  EXPECT_EQ(ExitCode(Start("/silent /title:Tarnwick /folder:C:\\")), 0u);
  EXPECT_EQ(FileAt(WindowsDirectory() + "\\tw.ifo"), "C:\\\r\n0 1 ");
  ExpectNoMessageBox();
  PostMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(ExitCode(tool_), 0u);
}

using ColourDepthTest = ToolTest;

// colour_depth.sh runs this on screens of 8 and 16 bits and tells which through
// ZV_E2E_SCREEN_BITS; the other tests have 32.
TEST_F(ColourDepthTest, TheToolRunsOnlyFromSixteenBitsPerPixelUp) {
  const char* expected = std::getenv("ZV_E2E_SCREEN_BITS");
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  // The screen must really be the one meant, or nothing below tells anything.
  ASSERT_EQ(bits, expected != nullptr ? std::atoi(expected) : 32);
  if (bits >= 16) {
    StartTool();
    return;
  }
  tool_ = Start("");
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox(
      "エラー",
      "本製品は、256色モードには対応しておりません。\n"
      "ハイカラー(16ビット)か、フルカラー(24ビット以上)に設定して下さいますようお願いいたします。",
      IDOK));
  EXPECT_EQ(ExitCode(tool_), 0u);
}

}  // namespace
