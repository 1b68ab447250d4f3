// The executable as a whole: started from a command line, unattended or showing the usage or
// what is wrong, and what it carries besides its dialog.
#include <fstream>
#include <set>
#include <string>

#include "tool_fixture.h"

namespace {

enum Before { kNoFile, kOldFile, kHeldFile };

struct CommandLineCase {
  const char* name;
  const char* version;
  const char* arguments;
  Before before;
  const char* box;  // the caption and the start of the text of the one box shown; null: none
  DWORD exitCode;
  const char* file;   // under the Windows directory, or on XP the profile's Vorn folder
  const char* bytes;  // what the file holds afterwards; null: it does not exist
};

const CommandLineCase kCases[] = {
    {"SilentJapaneseFolder", "win98", "/title:Oxbellow /folder:\"C:\\ゲーム\\表\" /mode:all /silent",
     kNoFile, nullptr, 0, "ox.ifo", "C:\\ゲーム\\表\\\r\n0 1 2 10 "},
    {"SilentProfileFolderOnXp", "winxp", "/SILENT /Title:quillane \"/folder:C:\\ゲーム\\表\\\"",
     kNoFile, nullptr, 0, "quil.ifo", "C:\\ゲーム\\表\\\r\n0 1 2 "},
    {"SilentOverwriteWithoutTheWarning", "win95",
     "/silent /overwrite /title:Tarnwick /folder:C:\\ゲーム\\.\\表", kOldFile, nullptr, 0, "tw.ifo",
     "C:\\ゲーム\\表\\\r\n0 1 "},
    {"SilentExistingFileKept", "winxp", "/silent /title:Tarnwick /folder:C:\\ゲーム\\表", kOldFile,
     nullptr, 3, "tw.ifo", "old"},
    {"SilentHeldFileNotWritten", "win98", "/silent /overwrite /title:Tarnwick /folder:C:\\ゲーム\\表",
     kHeldFile, nullptr, 4, "tw.ifo", "old"},
    {"SilentMissingFolder", "win98", "/silent /title:Tarnwick /folder:C:\\ゲーム\\無い", kNoFile,
     nullptr, 2, "tw.ifo", nullptr},
    {"SilentNoTitle", "winxp", "/silent /folder:C:\\ゲーム\\表", kNoFile, nullptr, 1, "tw.ifo",
     nullptr},
    {"SilentUsage", "win98", "/? /silent", kNoFile, nullptr, 0, "tw.ifo", nullptr},
    {"Usage", "win98", "/?", kNoFile,
     "Zorvel インストール設定ツール\n使い方:\nZorvelSetup.exe [/title:", 0, "tw.ifo", nullptr},
    {"WrongValue", "win98", "/title:Oxbellow /mode:every", kNoFile,
     "エラー\n値が正しくありません: /mode:every\n\n使い方:", 1, "ox.ifo", nullptr},
    {"MissingFolder", "win98", "/folder:C:\\ゲーム\\無い", kNoFile,
     "エラー\n指定されたフォルダが存在しないか", 2, "tw.ifo", nullptr},
};

class CommandLineTest : public ToolTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLineTest, EndsWithItsExitCodeLeavingOnlyItsFile) {
  const CommandLineCase& c = GetParam();
  MakeFolders(L"C:\\ゲーム\\表");
  ASSERT_NO_FATAL_FAILURE(UseWindowsVersion(c.version));
  const bool profile = std::string(c.version) == "winxp";
  const std::string folder =
      profile ? ProfileDirectory() + "\\Application Data\\Vorn" : WindowsDirectory();
  const std::string path = folder + "\\" + c.file;
  if (c.before != kNoFile) {
    MakeFolders(std::wstring(folder.begin(), folder.end()));
    std::ofstream(path) << "old";
  }
  auto held = HoldOpen(c.before == kHeldFile ? path : "");
  std::set<std::string> expected = FolderListing(folder);
  if (c.bytes != nullptr) expected.insert(c.file);

  tool_ = Start(c.arguments);
  if (c.box != nullptr) {
    ASSERT_TRUE(WaitUntil([&] { return !DialogsOf(tool_.dwProcessId).empty(); }));
    const HWND box = DialogsOf(tool_.dwProcessId)[0];
    const std::string shown = WindowText(box) + "\n" + ControlText(box, kMessageText);
    EXPECT_EQ(shown.rfind(c.box, 0), 0u) << shown;
    Press(box, IDOK);
  }
  // A silent run that showed anything would not end.
  EXPECT_EQ(ExitCode(tool_), c.exitCode);
  held.reset();
  EXPECT_EQ(FileAt(path), c.bytes != nullptr ? c.bytes : "<missing>");
  EXPECT_EQ(FolderListing(folder), expected) << "something was left behind";
  if (profile) {
    EXPECT_EQ(Exists(ProfileDirectory() + "\\Local Settings"), c.exitCode == 0);
  }
}

INSTANTIATE_TEST_SUITE_P(CommandLines, CommandLineTest, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ToolResources, AnIconInTwoSizesTheManifestAndTheVersion) {
  HMODULE module = LoadLibraryExA(ToolPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC icons = FindResourceA(module, MAKEINTRESOURCEA(1), RT_GROUP_ICON);
  HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
  ASSERT_TRUE(icons != nullptr && manifest != nullptr) << ToolPath();
  EXPECT_EQ(static_cast<const char*>(LockResource(LoadResource(module, icons)))[4], 2);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                         SizeofResource(module, manifest));
  FreeLibrary(module);
  for (const char* wanted : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "level=\"requireAdministrator\"", "supportedOS",
                             "version=\"" ZV_PROJECT_VERSION "\"", "\">true</dpiAware>"}) {
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
  }

  std::string version(GetFileVersionInfoSizeA(ToolPath().c_str(), nullptr), '\0');
  ASSERT_TRUE(GetFileVersionInfoA(ToolPath().c_str(), 0, version.size(), &version[0]));
  for (const auto& [name, wanted] : {std::pair{"ProductName", kToolCaption},
                                     std::pair{"FileVersion", ZV_PROJECT_VERSION}}) {
    const std::string key = std::string("\\StringFileInfo\\041104B0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    VerQueryValueA(version.data(), key.c_str(), reinterpret_cast<void**>(&value), &length);
    EXPECT_STREQ(value, wanted) << name;
  }
}

}  // namespace
