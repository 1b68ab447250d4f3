// The Set command over a real folder: the substitute maps drive paths under a temporary root.
// The fuzz target proves that a refusal never writes anything; these prove that the longest
// paths that fit are not refused.
#include "app/set_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "app/app_state.h"
#include "platform/subst/file_hooks.h"
#include "recorded_messages.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string kFolder = "D:\\Games\\Tarnwick\\";

class SetCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    subst::SetDriveRoot(root_.path().c_str());
    g_selection.titleIndex = 0;
    g_selection.installMode = 0;
    std::memcpy(g_selection.gameFolder, kFolder.c_str(), kFolder.size() + 1);
  }
  void TearDown() override {
    subst::SetDriveRoot(nullptr);
    g_selection = Selection();
    g_profileFolderFlag = 0;
  }

  // Runs the command on a drive holding only the folder; returns the bytes of the file it
  // should have written ("<none>" when there is none) after checking the one message.
  std::string Run(int32_t profile, const std::string& windowsFolder, const std::string& userName,
                  const std::string& infoFolder, const char* message) {
    for (const auto& entry : fs::directory_iterator(root_.path())) fs::remove_all(entry.path());
    fs::create_directories(root_.Path("X/" + windowsFolder));
    FakeHost host;
    host.windowsDirectory = "X:\\" + windowsFolder;
    host.userName = userName;
    g_profileFolderFlag = profile;
    RunSetCommand(host, kDialog);
    ExpectMessages(host.messages, {message});
    const std::string file = root_.Path("X/" + infoFolder + "/tw.ifo");
    return PathExists(file) ? ReadWholeFile(file) : "<none>";
  }

  TempDir root_;
};

// X:\ + 245 bytes + \tw.ifo.tmp is 259 bytes, the most a path buffer holds.
TEST_F(SetCommandTest, TheLongestWindowsDirectoryIsUsedAndOneByteMoreIsRefused) {
  const std::string longest(245, 'W');
  EXPECT_EQ(Run(0, longest, "taro", longest, kDone), kFolder + "\r\n0 1 ");
  EXPECT_EQ(Run(0, longest + "W", "taro", longest + "W", kFailed), "<none>");
}

// X:\Documents and Settings\ + 200 bytes + \Application Data\Vorn\tw.ifo.tmp is 259 bytes.
TEST_F(SetCommandTest, TheLongestUserNameIsUsedAndOneByteMoreIsRefused) {
  const std::string longest(200, 'u');
  const std::string vorn = "/Application Data/Vorn";
  EXPECT_EQ(Run(1, "WINDOWS", longest, "Documents and Settings/" + longest + vorn, kDone),
            kFolder + "\r\n0 1 ");
  EXPECT_EQ(Run(1, "WINDOWS", longest + "u", "Documents and Settings/" + longest + "u" + vorn,
                kFailed),
            "<none>");
  EXPECT_FALSE(PathExists(root_.Path("X/Documents and Settings")));
}

}  // namespace
