// The Set command over a real folder: the substitute maps drive paths under a temporary root.
#include "app/logic/set_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/logic/app_state.h"
#include "host/fake_host.h"
#include "file/text_file.h"
#include "subst/file_hooks.h"
#include "host/recorded_messages.h"
#include "temp/temp_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string kFolder = "D:\\Games\\Tarnwick\\";
const std::string kUserFolder = "X/Documents and Settings/taro/";

// Public: the failure scenarios arrange the fixture from lambdas.
class SetCommandTest : public ::testing::Test {
 public:
  void SetUp() override {
    subst::SetDriveRoot(root_.path().c_str());
    ResetDisk();
    Select(0, 0, kFolder);
  }

  void TearDown() override {
    subst::SetDriveRoot(nullptr);
    g_selection = Selection();
    g_profileFolderFlag = 0;
  }

  // Leaves only X:\WINDOWS, empty, and a fresh host.
  void ResetDisk() {
    for (const auto& entry : fs::directory_iterator(root_.path())) fs::remove_all(entry.path());
    fs::create_directories(root_.Path("X/WINDOWS"));
    host_ = FakeHost();
    g_profileFolderFlag = 0;
  }

  static void Select(int32_t title, int32_t mode, const std::string& folder) {
    g_selection.titleIndex = title;
    g_selection.installMode = mode;
    std::memset(g_selection.gameFolder, 0, sizeof(g_selection.gameFolder));
    std::memcpy(g_selection.gameFolder, folder.data(), folder.size());
  }

  // Paths relative to the drive root, such as "X/WINDOWS/tw.ifo".
  std::string OnDisk(const std::string& relative) const { return root_.Path(relative); }
  std::string Read(const std::string& relative) const { return ReadWholeFile(OnDisk(relative)); }

  std::vector<std::string> Listing(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(OnDisk(relative)))
      names.push_back(entry.path().filename().string());
    return names;
  }

  void Run() { RunSetCommand(host_, kDialog); }

  TempDir root_;
  FakeHost host_;
  HANDLE held_ = INVALID_HANDLE_VALUE;  // another opener's exclusive handle
};

std::vector<std::string> Only(const std::string& name) { return {name}; }

}  // namespace

TEST_F(SetCommandTest, WritesEachTitleAndModeIntoTheWindowsDirectory) {
  struct TitleCase {
    int32_t title, mode;
    const char* fileName;
    const char* components;
    std::string folder;
  };
  const TitleCase cases[] = {
      {0, 0, "tw.ifo", "0 1 ", kFolder},
      {0, 1, "tw.ifo", "0 1 10 ", "E:\\X\\"},
      {1, 0, "ox.ifo", "0 1 2 ", "C:\\ゲーム\\表示\\"},
      {1, 1, "ox.ifo", "0 1 2 10 ", kFolder},
      {2, 0, "quil.ifo", "0 1 2 ", kFolder},
      {2, 1, "quil.ifo", "0 1 2 10 11 ", "D:\\" + std::string(255, 'g') + "\\"},  // 259 bytes
      {7, 1, "quil.ifo", "0 1 2 10 11 ", kFolder},
      {-1, 0, "quil.ifo", "0 1 2 ", kFolder},
  };
  for (const TitleCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.title) + "/" + std::to_string(c.mode));
    ResetDisk();
    Select(c.title, c.mode, c.folder);

    Run();

    const std::string content = Read(std::string("X/WINDOWS/") + c.fileName);
    EXPECT_EQ(content, c.folder + "\r\n" + c.components);
    EXPECT_EQ(content.size(), c.folder.size() + 2 + std::strlen(c.components));
    EXPECT_EQ(Listing("X/WINDOWS"), Only(c.fileName));
    ExpectMessages(host_.messages, {kDone});
    EXPECT_TRUE(host_.folders.empty());
    EXPECT_EQ(g_textFile.GetCapacity(), 0u);
  }
}

TEST_F(SetCommandTest, ProfileFlagWritesUnderApplicationDataAndMakesTheTempFolder) {
  g_profileFolderFlag = 1;
  Select(0, 1, kFolder);

  Run();

  EXPECT_EQ(Read(kUserFolder + "Application Data/Vorn/tw.ifo"), kFolder + "\r\n0 1 10 ");
  EXPECT_EQ(Listing(kUserFolder + "Application Data/Vorn"), Only("tw.ifo"));
  EXPECT_TRUE(fs::is_directory(OnDisk(kUserFolder + "Local Settings/Temp")));
  EXPECT_TRUE(Listing("X/WINDOWS").empty());
  ExpectMessages(host_.messages, {kDone});

  const std::string base = "X:\\Documents and Settings";
  const std::vector<std::string> expected = {
      base, base + "\\taro", base + "\\taro\\Application Data",
      base + "\\taro\\Application Data\\Vorn", base, base + "\\taro",
      base + "\\taro\\Local Settings", base + "\\taro\\Local Settings\\Temp"};
  std::vector<std::string> made;
  for (const FolderCall& call : host_.folders) made.push_back(call.path);
  EXPECT_EQ(made, expected);
}

TEST_F(SetCommandTest, ProfileKeepsTheDriveOfTheWindowsDirectory) {
  g_profileFolderFlag = 1;
  fs::create_directories(OnDisk("D/WINNT"));
  host_.windowsDirectory = "D:\\WINNT";
  host_.userName = "花子";
  Run();
  EXPECT_EQ(Read("D/Documents and Settings/花子/Application Data/Vorn/tw.ifo"),
            kFolder + "\r\n0 1 ");
  EXPECT_EQ(Listing("X"), Only("WINDOWS"));
}

TEST_F(SetCommandTest, EmptyGameFolderOnlyShowsTheError) {
  Select(0, 0, "");
  g_profileFolderFlag = 1;
  Run();
  ExpectMessages(host_.messages, {kNoFolder});
  EXPECT_TRUE(host_.folders.empty());
  EXPECT_EQ(Listing("X"), Only("WINDOWS"));
  EXPECT_TRUE(Listing("X/WINDOWS").empty());
}

TEST_F(SetCommandTest, AsksBeforeReplacingAndNoTouchesNothing) {
  WriteWholeFile(OnDisk("X/WINDOWS/tw.ifo"), "old content");
  host_.answer = IDNO;
  Run();
  ExpectMessages(host_.messages, {kAsk});
  EXPECT_EQ(Read("X/WINDOWS/tw.ifo"), "old content");
  EXPECT_EQ(Listing("X/WINDOWS"), Only("tw.ifo"));

  host_.messages.clear();
  host_.answer = IDYES;
  Run();
  ExpectMessages(host_.messages, {kAsk, kDone});
  EXPECT_EQ(Read("X/WINDOWS/tw.ifo"), kFolder + "\r\n0 1 ");
  EXPECT_EQ(Listing("X/WINDOWS"), Only("tw.ifo"));
  EXPECT_EQ(host_.moves.size(), 1u);
}

TEST_F(SetCommandTest, FailedWritesReportAnErrorAndKeepTheOldFile) {
  struct Failure {
    const char* name;
    void (*arrange)(SetCommandTest& test);
    bool asks;  // the old file is found, so the question comes first
  };
  const Failure failures[] = {
      {"move refused", [](SetCommandTest& t) { t.host_.moveFails = true; }, true},
      {"target held open",
       [](SetCommandTest& t) {
         t.held_ = CreateFileA("X:\\WINDOWS\\tw.ifo", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
       },
       true},
      {"temporary name held open",
       [](SetCommandTest& t) {
         WriteWholeFile(t.OnDisk("X/WINDOWS/tw.ifo.tmp"), "someone else's");
         t.held_ = CreateFileA("X:\\WINDOWS\\tw.ifo.tmp", GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
       },
       true},
      {"missing drive", [](SetCommandTest& t) { t.host_.windowsDirectory = "Q:\\WINDOWS"; }, false},
      {"file where a folder must be",
       [](SetCommandTest& t) {
         g_profileFolderFlag = 1;
         WriteWholeFile(t.OnDisk("X/Documents and Settings"), "a file");
       },
       false},
      {"folder where the file must be",
       [](SetCommandTest& t) {
         fs::remove(t.OnDisk("X/WINDOWS/tw.ifo"));
         fs::create_directory(t.OnDisk("X/WINDOWS/tw.ifo"));
       },
       true},
  };
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.name);
    ResetDisk();
    WriteWholeFile(OnDisk("X/WINDOWS/tw.ifo"), "old content");
    held_ = INVALID_HANDLE_VALUE;
    failure.arrange(*this);
    const std::vector<std::string> before = Listing("X/WINDOWS");

    Run();

    if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
    ExpectMessages(host_.messages, failure.asks ? std::vector<std::string>{kAsk, kFailed}
                                                : std::vector<std::string>{kFailed});
    EXPECT_EQ(Listing("X/WINDOWS"), before);
    if (fs::is_regular_file(OnDisk("X/WINDOWS/tw.ifo"))) {
      EXPECT_EQ(Read("X/WINDOWS/tw.ifo"), "old content");
    }
    if (fs::exists(OnDisk("X/WINDOWS/tw.ifo.tmp"))) {
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
    bool systemFails;  // the Windows directory or the user name is not available
  };
  // The longest paths: X:\ + 245 bytes + \tw.ifo.tmp, and a user name of 200 bytes.
  const std::string longestDirectory = "X:\\" + std::string(245, 'W');
  const Unfit cases[] = {
      {"directory too long for its buffer", 0, "X:\\" + std::string(300, 'W'), "taro", false},
      {"no room for the file name", 0, longestDirectory + "W", "taro", false},
      {"directory unavailable", 0, "X:\\WINDOWS", "taro", true},
      {"user name too long for its buffer", 1, "X:\\WINDOWS", std::string(240, 'u'), false},
      {"no room after the user name", 1, "X:\\WINDOWS", std::string(201, 'u'), false},
      {"user name unavailable", 1, "X:\\WINDOWS", "taro", true},
      {"user name empty", 1, "X:\\WINDOWS", "", false},
      {"no drive prefix", 1, "X:", "taro", false},
  };
  for (const Unfit& c : cases) {
    SCOPED_TRACE(c.name);
    ResetDisk();
    host_.windowsDirectory = c.windowsDirectory;
    host_.userName = c.userName;
    (c.profile ? host_.userNameFails : host_.windowsDirectoryFails) = c.systemFails;
    g_profileFolderFlag = c.profile;

    Run();

    ExpectMessages(host_.messages, {kFailed});
    EXPECT_TRUE(host_.folders.empty());
    EXPECT_EQ(Listing("X"), Only("WINDOWS"));
    EXPECT_TRUE(Listing("X/WINDOWS").empty());
  }

  ResetDisk();
  host_.windowsDirectory = longestDirectory;
  fs::create_directories(OnDisk("X/" + std::string(245, 'W')));
  Run();
  ExpectMessages(host_.messages, {kDone});
  EXPECT_EQ(Read("X/" + std::string(245, 'W') + "/tw.ifo"), kFolder + "\r\n0 1 ");

  ResetDisk();
  g_profileFolderFlag = 1;
  host_.userName = std::string(200, 'u');
  Run();
  ExpectMessages(host_.messages, {kDone});
  EXPECT_EQ(Listing("X/Documents and Settings/" + host_.userName + "/Application Data/Vorn"),
            Only("tw.ifo"));
}

TEST_F(SetCommandTest, RefusesAGameFolderWithoutTerminator) {
  std::memset(g_selection.gameFolder, 'g', sizeof(g_selection.gameFolder));
  Run();
  ExpectMessages(host_.messages, {kFailed});
  EXPECT_TRUE(Listing("X/WINDOWS").empty());
}
