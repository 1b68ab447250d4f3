// The Set command over real files: the substitute maps drive paths under a temporary root.
#include "app/logic/set_command.h"

#include <gtest/gtest.h>

#include "app/logic/app_state.h"
#include "app/logic/messages.h"
#include "host/fake_host.h"
#include "subst/file_hooks.h"

const std::string kFolder = "D:\\Games\\Tarnwick\\", kWindows = "X:\\WINDOWS";
const std::string kLongest = "X:\\" + std::string(245, 'W');  // its temporary file: 259 bytes

TEST(SetCommand, WritesTheTitlesFileWhereTheSystemSaysOrChangesNothing) {
  // One table for every end of the command. `file` lies under the drive root (none: nothing may
  // change); `old` stands there first, and the user answers the question with `answer`.
  struct Case {
    int32_t title, mode, profile;
    std::string windows, user, folder, file, components;
    const char* old = nullptr;
    int answer = IDYES;
  };
  const std::string tw = "X/WINDOWS/tw.ifo", quil = "X/WINDOWS/quil.ifo";
  const std::string g259 = "D:\\" + std::string(255, 'g') + "\\", vorn = "/Application Data/Vorn/tw.ifo";
  const Case cases[] = {
      {0, 0, 0, kWindows, "taro", kFolder, tw, "0 1 "},
      {0, 1, 0, kWindows, "taro", "C:\\ゲーム\\表示\\", tw, "0 1 10 "},
      {1, 0, 0, kWindows, "taro", kFolder, "X/WINDOWS/ox.ifo", "0 1 2 "},
      {1, 1, 0, kWindows, "taro", kFolder, "X/WINDOWS/ox.ifo", "0 1 2 10 "},
      {2, 0, 0, kWindows, "taro", kFolder, quil, "0 1 2 "},
      {2, 1, 0, kWindows, "taro", g259, quil, "0 1 2 10 11 "},  // the longest folder and list
      {0, 0, 0, kLongest, "taro", kFolder, "X/" + kLongest.substr(3) + "/tw.ifo", "0 1 "},
      // The profile keeps the drive of the Windows directory.
      {0, 0, 1, "D:\\WINNT", "花子", kFolder, "D/Documents and Settings/花子" + vorn, "0 1 "},
      // An old file goes only after a yes.
      {0, 0, 0, kWindows, "taro", kFolder, tw, "0 1 ", "old"},
      {0, 0, 0, kWindows, "taro", kFolder, tw, "0 1 ", "old", IDNO},
      // Paths that do not fit, system answers of no use, no usable game folder.
      {0, 0, 0, kLongest + "W", "taro", kFolder, "", ""},
      {0, 0, 0, "", "taro", kFolder, "", ""},
      {0, 0, 1, kWindows, std::string(201, 'u'), kFolder, "", ""},
      {0, 0, 1, kWindows, "", kFolder, "", ""},
      {0, 0, 1, "X:", "taro", kFolder, "", ""},
      {0, 0, 0, kWindows, "taro", std::string(kPathBufferSize, 'g'), "", ""},
      {0, 0, 1, kWindows, "taro", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    TempDir root;
    subst::SetDriveRoot(root.path().c_str());
    for (const char* w : {"X/WINDOWS", "D/WINNT"}) std::filesystem::create_directories(root.Path(w));
    CreateDirectoryA(kLongest.c_str(), nullptr);
    if (c.old) WriteWholeFile(root.Path(c.file), c.old);
    // The folder's bytes as given: 260 of them leave no terminator.
    g_selection = Selection{c.title, c.mode, {}};
    c.folder.copy(g_selection.gameFolder, c.folder.size());
    g_profileFolderFlag = c.profile;
    FakeHost host;
    host.windowsDirectory = c.windows;
    host.userName = c.user;
    host.answer = c.answer;
    const auto before = TreeUnder(root.path());
    RunSetCommand(host, kDialog);
    subst::SetDriveRoot(nullptr);

    // The question first where there is an old file; after a no, nothing more.
    const bool written = !c.file.empty() && c.answer == IDYES;
    const char* last = c.folder.empty() ? kMessageNoGameFolder
                       : written        ? kMessageSetDone
                                        : kMessageWriteFailed;
    std::vector<std::string> shown = {c.old ? kMessageAskOverwrite : last, last};
    shown.resize(c.old && c.answer == IDYES ? 2 : 1);
    EXPECT_EQ(host.shown, shown);
    // Nothing else changed; a profile gained its six folders, its temporary folder among them.
    auto after = TreeUnder(root.path());
    EXPECT_EQ(after.size(), before.size() + (written && !c.old) + (written && c.profile ? 6 : 0));
    for (const auto& [name, bytes] : before) EXPECT_TRUE(name == c.file || after[name] == bytes) << name;
    EXPECT_EQ(after[c.file], written ? c.folder + "\r\n" + c.components : c.old ? c.old : "");
  }
}
