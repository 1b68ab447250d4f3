// The tool started from a command line: the unattended run with each of its exit codes, the
// usage, the dialog opening with the given values, and the dialog worked from the keyboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tool_fixture.h"
#include "ui_probe.h"

namespace {

enum class Before { kNothing, kOldFile, kOldFileHeld };

struct SilentCase {
  const char* name;
  const char* version;
  const char* arguments;  // %LONG% stands for a folder name of 300 bytes
  Before before;
  DWORD exitCode;
  const char* file;   // under the Windows directory, or (winxp) the profile's Vorn folder
  const char* bytes;  // what the file holds afterwards; null: it does not exist
};

const char kOld[] = "old contents";

const SilentCase kSilentCases[] = {
    {"JapaneseFolderInWindowsDirectory", "win98",
     "/title:Oxbellow /folder:\"C:\\ゲーム\\表\" /mode:all /silent", Before::kNothing, 0, "ox.ifo",
     "C:\\ゲーム\\表\\\r\n0 1 2 10 "},
    {"ProfileFolderOnXp", "winxp", "/SILENT /Title:quillane \"/folder:C:\\ゲーム\\表\\\"",
     Before::kNothing, 0, "quil.ifo", "C:\\ゲーム\\表\\\r\n0 1 2 "},
    {"OverwriteReplacesAndWarningsStayUnshown", "win95",
     "/silent /overwrite /title:Tarnwick /folder:C:\\ゲーム\\.\\表", Before::kOldFile, 0, "tw.ifo",
     "C:\\ゲーム\\表\\\r\n0 1 "},
    {"ExistingFileKeptAndNoFolderMade", "winxp", "/silent /title:Tarnwick /folder:C:\\ゲーム\\表",
     Before::kOldFile, 3, "tw.ifo", kOld},
    {"HeldFileNotWritten", "win98", "/silent /overwrite /title:Tarnwick /folder:C:\\ゲーム\\表",
     Before::kOldFileHeld, 4, "tw.ifo", kOld},
    {"MissingFolder", "win98", "/silent /title:Tarnwick /folder:C:\\ゲーム\\無い", Before::kNothing,
     2, "tw.ifo", nullptr},
    {"FolderTooLong", "win98", "/silent /title:Tarnwick /folder:C:\\%LONG%", Before::kNothing, 2,
     "tw.ifo", nullptr},
    {"NoTitle", "winxp", "/silent /folder:C:\\ゲーム\\表", Before::kNothing, 1, "tw.ifo", nullptr},
    {"Usage", "win98", "/? /silent", Before::kNothing, 0, "tw.ifo", nullptr},
};

// Every top-level window of the process counts, shown or not.
bool HasTopLevelWindow(DWORD processId) {
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return true;
  }
  return false;
}

class SilentRunTest : public ToolTest, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentRunTest, ShowsNothingAndTellsByItsExitCode) {
  const SilentCase& c = GetParam();
  ASSERT_TRUE(MakeFolders(L"C:\\ゲーム\\表"));
  ASSERT_NO_FATAL_FAILURE(UseWindowsVersion(c.version));
  const bool profile = std::string(c.version) == "winxp";
  const std::string folder =
      profile ? ProfileDirectory() + "\\Application Data\\Vorn" : WindowsDirectory();
  const std::string path = folder + "\\" + c.file;
  if (c.before != Before::kNothing) {
    ASSERT_TRUE(MakeFolders(std::wstring(folder.begin(), folder.end())));
    ASSERT_NO_FATAL_FAILURE(WriteFileBytes(path, kOld));
  }
  HANDLE held = c.before == Before::kOldFileHeld
                    ? CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                    : INVALID_HANDLE_VALUE;
  const std::vector<std::string> before = FolderListing(folder);

  std::string arguments = c.arguments;
  const size_t longAt = arguments.find("%LONG%");
  if (longAt != std::string::npos) arguments.replace(longAt, 6, std::string(300, 'd'));
  ASSERT_TRUE(tool_.Start(ToolPath(), arguments));
  bool windowSeen = false;
  ASSERT_TRUE(WaitUntil([&] {
    windowSeen = windowSeen || HasTopLevelWindow(tool_.id());
    return !tool_.Running();
  }));
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  DWORD exitCode = 99;
  ASSERT_TRUE(tool_.WaitForExit(0, exitCode));
  EXPECT_EQ(exitCode, c.exitCode);
  EXPECT_FALSE(windowSeen);

  bool exists = false;
  const std::string bytes = ReadFileBytes(path, exists);
  EXPECT_EQ(exists ? bytes : "<missing>", c.bytes != nullptr ? c.bytes : "<missing>");
  std::vector<std::string> expected = before;
  if (c.before == Before::kNothing && c.bytes != nullptr) expected.push_back(c.file);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderListing(folder), expected) << "something was left behind";
  if (profile) {
    EXPECT_EQ(Exists(ProfileDirectory() + "\\Local Settings"), exitCode == 0);
  }
}

INSTANTIATE_TEST_SUITE_P(CommandLines, SilentRunTest, ::testing::ValuesIn(kSilentCases),
                         [](const auto& test) { return std::string(test.param.name); });

struct BoxCase {
  const char* arguments;
  const char* caption;
  const char* textStart;
  DWORD exitCode;
};

const BoxCase kBoxCases[] = {
    {"/?", "Zorvel インストール設定ツール", "使い方:\nZorvelSetup.exe [/title:", 0},
    {"/title:Oxbellow /mode:every", "エラー", "値が正しくありません: /mode:every\n\n使い方:", 1},
    {"/folder:C:\\ゲーム\\無い", "エラー", "指定されたフォルダが存在しないか", 2},
};

using CommandLineTest = ToolTest;

TEST_F(CommandLineTest, UsageAndWrongCommandLinesAreShownInABox) {
  for (const BoxCase& c : kBoxCases) {
    SCOPED_TRACE(c.arguments);
    ToolProcess tool;
    ASSERT_TRUE(tool.Start(ToolPath(), c.arguments));
    ASSERT_TRUE(WaitUntil([&] { return !DialogsOf(tool.id()).empty(); }));
    const HWND box = DialogsOf(tool.id())[0];
    EXPECT_EQ(WindowText(box), c.caption);
    EXPECT_EQ(MessageText(box).rfind(c.textStart, 0), 0u) << MessageText(box);
    PressButton(box, IDOK);
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.WaitForExit(kWaitMs, exitCode));
    EXPECT_EQ(exitCode, c.exitCode);
  }
}

TEST_F(CommandLineTest, TheDialogOpensWithTheGivenValuesAndSetUsesThem) {
  ASSERT_TRUE(MakeFolders(L"C:\\ゲーム\\表"));
  ASSERT_NO_FATAL_FAILURE(
      StartTool(true, "/title:Quillane /mode:all /overwrite /folder:\"C:\\ゲーム\\表\""));
  for (int id : {kTarnwickRadio, kOxbellowRadio, kQuillaneRadio, kStandardRadio, kAllRadio}) {
    EXPECT_EQ(IsChecked(dialog_, id), id == kQuillaneRadio || id == kAllRadio) << id;
  }
  EXPECT_EQ(ControlText(dialog_, kFolderText), "C:\\ゲーム\\表\\");

  // An unattended run beside the open dialog neither waits for it nor ends it.
  ToolProcess silent;
  ASSERT_TRUE(silent.Start(ToolPath(), "/silent /title:Tarnwick /folder:C:\\"));
  DWORD exitCode = 99;
  ASSERT_TRUE(silent.WaitForExit(kWaitMs, exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(Exists(WindowsDirectory() + "\\tw.ifo"));
  EXPECT_TRUE(IsWindowVisible(dialog_));

  Click(kSetButton);
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("完了", "インストール情報ファイルを設定しました", IDOK));
  bool exists = false;
  EXPECT_EQ(ReadFileBytes(WindowsDirectory() + "\\quil.ifo", exists),
            "C:\\ゲーム\\表\\\r\n0 1 2 10 11 ");
  Click(kExitButton);
  ExpectExitCode0();
}

HWND Focused(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  return info.hwndFocus;
}

void PostKey(HWND window, WPARAM key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// The id of the control that has the focus after one more Tab.
int Tab(HWND dialog) {
  const HWND before = Focused(dialog);
  PostKey(dialog, VK_TAB);
  WaitUntil([&] { return Focused(dialog) != before; }, 3000);
  return GetDlgCtrlID(Focused(dialog));
}

TEST_F(CommandLineTest, TabReachesEveryControlAndSpaceSelectsARadioButton) {
  ASSERT_NO_FATAL_FAILURE(StartTool());
  std::vector<int> reached;
  for (int i = 0; i < 8; ++i) reached.push_back(Tab(dialog_));
  EXPECT_EQ(reached, (std::vector<int>{kSelectFolderButton, kSetButton, kTarnwickRadio,
                                       kOxbellowRadio, kQuillaneRadio, kStandardRadio, kAllRadio,
                                       kExitButton}));
  EXPECT_TRUE(IsChecked(dialog_, kTarnwickRadio)) << "passing by must not select";

  for (int i = 0; i < 3; ++i) Tab(dialog_);
  ASSERT_EQ(Tab(dialog_), kOxbellowRadio);
  PostKey(Focused(dialog_), VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog_, kOxbellowRadio); }, 3000));
  EXPECT_FALSE(IsChecked(dialog_, kTarnwickRadio));
}

}  // namespace
