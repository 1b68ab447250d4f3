// The Set command over a real folder: the substitute maps drive X: (and any other letter whose
// folder exists) under a temporary root.
#include "app/set_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "fake_host.h"
#include "file/text_file.h"
#include "platform/subst/file_hooks.h"
#include "temp_dir.h"

namespace {

HWND const kDialog = reinterpret_cast<HWND>(static_cast<uintptr_t>(0xD1A));

const char kNoFolder[] = "インストール先が設定されていません！";
const char kAsk[] = "既にインストール情報ファイルが存在します\n上書きしますか？";
const char kFailed[] = "インストール情報ファイルを書き込めませんでした！";
const char kDone[] = "インストール情報ファイルを設定しました";

constexpr UINT kErrorType = MB_ICONERROR;
constexpr UINT kQuestionType = MB_YESNO | MB_ICONINFORMATION;

// Public: the failure scenarios below arrange the fixture from lambdas.
class SetCommandTest : public ::testing::Test {
 public:
  void SetUp() override {
    subst::SetDriveRoot(root_.path().c_str());
    ResetDisk();
    Select(0, 0, "D:\\Games\\Tarnwick\\");
    g_profileFolderFlag = 0;
  }

  void TearDown() override {
    subst::SetDriveRoot(nullptr);
    g_selection = Selection();
    g_profileFolderFlag = 0;
  }

  static void Select(int32_t title, int32_t mode, const std::string& folder) {
    g_selection.titleIndex = title;
    g_selection.installMode = mode;
    std::memset(g_selection.gameFolder, 0, sizeof(g_selection.gameFolder));
    std::memcpy(g_selection.gameFolder, folder.data(), folder.size());
  }

  // Only X:\WINDOWS, empty, is left.
  void ResetDisk() {
    for (const auto& entry : std::filesystem::directory_iterator(root_.path()))
      std::filesystem::remove_all(entry.path());
    std::filesystem::create_directories(root_.Path("X/WINDOWS"));
  }

  // "X/WINDOWS/tw.ifo" style, under the drive root.
  std::string OnDisk(const std::string& relative) const { return root_.Path(relative); }
  std::string Read(const std::string& relative) const { return ReadWholeFile(OnDisk(relative)); }
  bool Present(const std::string& relative) const { return PathExists(OnDisk(relative)); }

  std::vector<std::string> Listing(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(OnDisk(relative)))
      names.push_back(entry.path().filename().string());
    return names;
  }

  void ExpectMessages(const std::vector<std::string>& texts) const {
    ASSERT_EQ(host_.messages.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      const MessageBoxCall& call = host_.messages[i];
      EXPECT_EQ(call.owner, kDialog);
      EXPECT_EQ(call.text, texts[i]);
      if (texts[i] == kAsk) {
        EXPECT_EQ(call.caption, "情報ファイルの上書き");
        EXPECT_EQ(call.type, kQuestionType);
      } else if (texts[i] == kDone) {
        EXPECT_EQ(call.caption, "完了");
        EXPECT_EQ(call.type, static_cast<UINT>(MB_OK));
      } else {
        EXPECT_EQ(call.caption, "エラー");
        EXPECT_EQ(call.type, kErrorType);
      }
    }
  }

  void Run() { RunSetCommand(host_, kDialog); }

  TempDir root_;
  FakeHost host_;
  HANDLE held_ = INVALID_HANDLE_VALUE;  // another opener's exclusive handle
};

struct TitleCase {
  int32_t title;
  int32_t mode;
  const char* fileName;
  const char* components;
};

}  // namespace

TEST_F(SetCommandTest, WritesEachTitleAndModeIntoTheWindowsDirectory) {
  const TitleCase cases[] = {
      {0, 0, "tw.ifo", "0 1 "},     {0, 1, "tw.ifo", "0 1 10 "},
      {1, 0, "ox.ifo", "0 1 2 "},   {1, 1, "ox.ifo", "0 1 2 10 "},
      {2, 0, "quil.ifo", "0 1 2 "}, {2, 1, "quil.ifo", "0 1 2 10 11 "},
      {7, 1, "quil.ifo", "0 1 2 10 11 "},
      {-1, 0, "quil.ifo", "0 1 2 "},
  };
  const std::string folder = "D:\\Games\\Tarnwick\\";
  for (const TitleCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.title) + "/" + std::to_string(c.mode));
    ResetDisk();
    host_.messages.clear();
    Select(c.title, c.mode, folder);

    Run();

    const std::string expected = folder + "\r\n" + c.components;
    EXPECT_EQ(Read(std::string("X/WINDOWS/") + c.fileName), expected);
    EXPECT_EQ(expected.size(), folder.size() + 2 + std::strlen(c.components));
    EXPECT_EQ(Listing("X/WINDOWS"), std::vector<std::string>{c.fileName});
    ExpectMessages({kDone});
    EXPECT_TRUE(host_.folders.empty());
  }
  EXPECT_EQ(g_textFile.GetCapacity(), 0u);
}

TEST_F(SetCommandTest, KeepsTheGameFolderBytesExactly) {
  const std::string longest = "D:\\" + std::string(255, 'g') + "\\";
  ASSERT_EQ(longest.size(), 259u);
  for (const std::string& folder : {std::string("E:\\X\\"), std::string("C:\\ゲーム\\表示\\"), longest}) {
    Select(1, 0, folder);
    std::filesystem::remove(OnDisk("X/WINDOWS/ox.ifo"));
    Run();
    EXPECT_EQ(Read("X/WINDOWS/ox.ifo"), folder + "\r\n0 1 2 ");
  }
}

TEST_F(SetCommandTest, ProfileFlagWritesUnderApplicationDataAndMakesTheTempFolder) {
  g_profileFolderFlag = 1;
  Select(0, 1, "D:\\Games\\Tarnwick\\");

  Run();

  const std::string user = "X/Documents and Settings/taro/";
  EXPECT_EQ(Read(user + "Application Data/Vorn/tw.ifo"), "D:\\Games\\Tarnwick\\\r\n0 1 10 ");
  EXPECT_EQ(Listing(user + "Application Data/Vorn"), std::vector<std::string>{"tw.ifo"});
  EXPECT_TRUE(std::filesystem::is_directory(OnDisk(user + "Local Settings/Temp")));
  EXPECT_FALSE(Present("X/WINDOWS/tw.ifo"));
  ExpectMessages({kDone});

  const std::string base = "X:\\Documents and Settings";
  const std::vector<std::string> expected = {
      base, base + "\\taro", base + "\\taro\\Application Data",
      base + "\\taro\\Application Data\\Vorn",
      base, base + "\\taro", base + "\\taro\\Local Settings", base + "\\taro\\Local Settings\\Temp"};
  std::vector<std::string> made;
  for (const FolderCall& call : host_.folders) made.push_back(call.path);
  EXPECT_EQ(made, expected);
}

TEST_F(SetCommandTest, ProfileKeepsTheDriveOfTheWindowsDirectory) {
  g_profileFolderFlag = 1;
  std::filesystem::create_directories(OnDisk("D/WINNT"));
  host_.windowsDirectory = "D:\\WINNT";
  host_.userName = "花子";
  Run();
  EXPECT_EQ(Read("D/Documents and Settings/花子/Application Data/Vorn/tw.ifo"),
            "D:\\Games\\Tarnwick\\\r\n0 1 ");
  EXPECT_FALSE(Present("X/Documents and Settings"));
  ASSERT_FALSE(host_.folders.empty());
  EXPECT_EQ(host_.folders[0].path, "D:\\Documents and Settings");
}

TEST_F(SetCommandTest, EmptyGameFolderOnlyShowsTheError) {
  Select(0, 0, "");
  g_profileFolderFlag = 1;
  Run();
  ExpectMessages({kNoFolder});
  EXPECT_TRUE(host_.folders.empty());
  EXPECT_EQ(Listing("X"), std::vector<std::string>{"WINDOWS"});
  EXPECT_TRUE(Listing("X/WINDOWS").empty());
}

TEST_F(SetCommandTest, AsksBeforeReplacingAndNoTouchesNothing) {
  WriteWholeFile(OnDisk("X/WINDOWS/tw.ifo"), "old content");
  host_.answer = IDNO;
  Run();
  ExpectMessages({kAsk});
  EXPECT_EQ(Read("X/WINDOWS/tw.ifo"), "old content");
  EXPECT_EQ(Listing("X/WINDOWS"), std::vector<std::string>{"tw.ifo"});

  host_.messages.clear();
  host_.answer = IDYES;
  Run();
  ExpectMessages({kAsk, kDone});
  EXPECT_EQ(Read("X/WINDOWS/tw.ifo"), "D:\\Games\\Tarnwick\\\r\n0 1 ");
  EXPECT_EQ(Listing("X/WINDOWS"), std::vector<std::string>{"tw.ifo"});
  EXPECT_EQ(host_.moves.size(), 1u);
}

TEST_F(SetCommandTest, FailedWritesReportAnErrorAndKeepTheOldFile) {
  struct Failure {
    const char* name;
    void (*arrange)(SetCommandTest& test);
    bool asks;  // the old file is found and the question comes first
  };
  // Each case leaves an old tw.ifo in X:\WINDOWS (when there is a folder for it).
  const Failure failures[] = {
      {"move refused", [](SetCommandTest& t) { t.host_.moveFails = true; }, true},
      {"target held open",
       [](SetCommandTest& t) {
         t.held_ = CreateFileA("X:\\WINDOWS\\tw.ifo", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
       },
       true},
      {"temporary held open",
       [](SetCommandTest& t) {
         WriteWholeFile(t.OnDisk("X/WINDOWS/tw.ifo.tmp"), "someone else's");
         t.held_ = CreateFileA("X:\\WINDOWS\\tw.ifo.tmp", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
       },
       true},
      {"missing drive", [](SetCommandTest& t) { t.host_.windowsDirectory = "Q:\\WINDOWS"; }, false},
      {"folder is a file",
       [](SetCommandTest& t) {
         g_profileFolderFlag = 1;
         WriteWholeFile(t.OnDisk("X/Documents and Settings"), "a file");
       },
       false},
      {"target is a folder",
       [](SetCommandTest& t) {
         std::filesystem::remove(t.OnDisk("X/WINDOWS/tw.ifo"));
         std::filesystem::create_directory(t.OnDisk("X/WINDOWS/tw.ifo"));
       },
       true},
  };
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.name);
    ResetDisk();
    host_ = FakeHost();
    g_profileFolderFlag = 0;
    WriteWholeFile(OnDisk("X/WINDOWS/tw.ifo"), "old content");
    held_ = INVALID_HANDLE_VALUE;
    failure.arrange(*this);
    const std::vector<std::string> before = Listing("X/WINDOWS");

    Run();

    if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
    if (failure.asks) {
      ExpectMessages({kAsk, kFailed});
    } else {
      ExpectMessages({kFailed});
    }
    EXPECT_EQ(Listing("X/WINDOWS"), before);
    if (std::filesystem::is_regular_file(OnDisk("X/WINDOWS/tw.ifo"))) {
      EXPECT_EQ(Read("X/WINDOWS/tw.ifo"), "old content");
    }
    if (Present("X/WINDOWS/tw.ifo.tmp")) {
      EXPECT_EQ(Read("X/WINDOWS/tw.ifo.tmp"), "someone else's");
    }
    EXPECT_EQ(g_textFile.GetCapacity(), 0u);
  }
}

TEST_F(SetCommandTest, PathsThatDoNotFitWriteAndCreateNothing) {
  struct Unfit {
    const char* name;
    int32_t profile;
    std::string windowsDirectory;
    std::string userName;
    bool userNameFails;
    bool windowsDirectoryFails;
  };
  // X:\ + 245 bytes + \tw.ifo.tmp is 259 bytes, the most a path may hold.
  const std::string longestDirectory = "X:\\" + std::string(245, 'W');
  const Unfit cases[] = {
      {"directory too long for its buffer", 0, "X:\\" + std::string(300, 'W'), "taro", false, false},
      {"no room for the file name", 0, longestDirectory + "W", "taro", false, false},
      {"directory unavailable", 0, "X:\\WINDOWS", "taro", false, true},
      {"user name too long", 1, "X:\\WINDOWS", std::string(240, 'u'), false, false},
      {"user name leaves no room", 1, "X:\\WINDOWS", std::string(201, 'u'), false, false},
      {"user name unavailable", 1, "X:\\WINDOWS", "taro", true, false},
      {"user name empty", 1, "X:\\WINDOWS", "", false, false},
      {"no drive prefix", 1, "X:", "taro", false, false},
  };
  for (const Unfit& c : cases) {
    SCOPED_TRACE(c.name);
    host_ = FakeHost();
    host_.windowsDirectory = c.windowsDirectory;
    host_.windowsDirectoryFails = c.windowsDirectoryFails;
    host_.userName = c.userName;
    host_.userNameFails = c.userNameFails;
    g_profileFolderFlag = c.profile;

    Run();

    ExpectMessages({kFailed});
    EXPECT_TRUE(host_.folders.empty());
    EXPECT_EQ(Listing("X"), std::vector<std::string>{"WINDOWS"});
  }

  // The boundaries themselves are written.
  host_ = FakeHost();
  g_profileFolderFlag = 0;
  host_.windowsDirectory = longestDirectory;
  std::filesystem::create_directories(OnDisk("X/" + std::string(245, 'W')));
  Run();
  ExpectMessages({kDone});
  EXPECT_EQ(Read("X/" + std::string(245, 'W') + "/tw.ifo"), "D:\\Games\\Tarnwick\\\r\n0 1 ");

  host_ = FakeHost();
  g_profileFolderFlag = 1;
  host_.userName = std::string(200, 'u');
  Run();
  ExpectMessages({kDone});
  EXPECT_TRUE(Present("X/Documents and Settings/" + host_.userName + "/Application Data/Vorn/tw.ifo"));
}

TEST_F(SetCommandTest, RefusesAGameFolderWithoutTerminator) {
  std::memset(g_selection.gameFolder, 'g', sizeof(g_selection.gameFolder));
  Run();
  ExpectMessages({kFailed});
  EXPECT_TRUE(Listing("X/WINDOWS").empty());
}
