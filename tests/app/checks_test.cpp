// The checks of what the tool is given: its command line, the folder the user chose, and paths
// with the folder creation that follows their check. The operating-system check is proved
// against the versions Wine reports (set_command_wine_test).
#include <gtest/gtest.h>

#include "app/logic/command_line.h"
#include "app/logic/game_folder.h"
#include "app/logic/path_validation.h"
#include "host/fake_host.h"

// What a parse took in, in a few words: "silent overwrite usage title1 mode1 <folder>", led by
// the fault and the argument at fault when it refused the line (the fuzz target checks that the
// result agrees with the fault).
static std::string Parsed(const std::string& commandLine) {
  static const char* const kFaults[] = {"", "unknown ", "missing ", "bad ", "incomplete "};
  CommandLine l;
  ParseCommandLine(commandLine.c_str(), l);
  return kFaults[static_cast<int>(l.error)] + std::string(l.errorArgument) + (l.silent ? " silent" : "") +
         (l.overwrite ? " overwrite" : "") + (l.showUsage ? " usage" : "") +
         (l.hasTitle ? " title" + std::to_string(l.titleIndex) : "") + " mode" +
         std::to_string(l.installMode) + " " + (l.folderTooLong ? "too long" : l.folder);
}

TEST(ParseCommandLine, TakesEachFormOrNamesTheFirstFault) {
  const std::string a259(259, 'a'), a61(61, 'a');
  const struct { std::string commandLine, parsed; } cases[] = {
      {"ZorvelSetup.exe", " mode0 "},
      {"\"C:\\Program Files\\ZorvelSetup.exe\"/?", " usage mode0 "},
      {"x /TITLE:oxBELLOW /Folder:\"D:\\ゲーム\\表\" /mode:ALL /Silent /OVERWRITE",
       " silent overwrite title1 mode1 D:\\ゲーム\\表"},
      // 表 ends in 0x5C: before the closing quote it stays a character, not an escape.
      {"x \"/folder:D:\\ゲーム\\表\"  /title:Quillane\t/mode:standard", " title2 mode0 D:\\ゲーム\\表"},
      {"x /folder:D:\\My\" \"Games\\ /title:Tarnwick /title:Oxbellow", " title1 mode0 D:\\My Games\\"},
      {"x /folder:" + a259, " mode0 " + a259},
      // Too long for any path, yet given.
      {"x /silent /title:tarnwick /folder:" + a259 + "a", " silent title0 mode0 too long"},
      {"x /silent /?", " silent usage mode0 "},
      // The excerpt of an argument keeps 63 bytes, or fewer to keep a character whole.
      {"x /tittle:" + std::string(60, 'x'), "unknown /tittle:" + std::string(55, 'x') + " mode0 "},
      // A later /silent still counts: it decides whether anything is shown.
      {"x Oxbellow /silent", "unknown Oxbellow silent mode0 "},
      {"x /" + a61 + "表", "unknown /" + a61 + " mode0 "},
      {"x /title: /silent", "missing /title: silent mode0 "},
      {"x /title:Zorvel", "bad /title:Zorvel mode0 "},
      {"x /silent:yes", "bad /silent:yes mode0 "},
      {"x /silent /title:Oxbellow", "incomplete  silent title1 mode0 "},
      {"x /silent /folder:C:\\", "incomplete  silent mode0 C:\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(Parsed(c.commandLine), c.parsed) << c.commandLine;
}

TEST(StoreChosenFolder, StoresTheChoiceWithOneEndingBackslashWhenItFits) {
  const std::string longest = "C:\\" + std::string(255, 'a');  // 258 bytes: its backslash fits
  const auto kStored = FolderChoice::kStored;
  // 表 and ソ end in 0x5C: no backslash there.
  const struct { std::string chosen; FolderChoice choice; std::string stored; } cases[] = {
      {"C:\\Games", kStored, "C:\\Games\\"}, {"D:\\", kStored, "D:\\"}, {"C:\\表", kStored, "C:\\表\\"},
      {"C:\\ソフト\\", kStored, "C:\\ソフト\\"}, {longest, kStored, longest + "\\"},
      {longest + "\\", kStored, longest + "\\"}, {longest + "a", FolderChoice::kTooLong, "C:\\Old\\"},
      {"", FolderChoice::kNone, "C:\\Old\\"},
  };
  for (const auto& c : cases) {
    char folder[kPathBufferSize] = "C:\\Old\\";
    EXPECT_EQ(StoreChosenFolder(c.chosen.c_str(), folder), c.choice) << c.chosen;
    EXPECT_EQ(folder, c.stored) << c.chosen;
  }
}

// The chain makes the folders along a path the check accepts, shortest first, never the root.
TEST(ValidatePath, AcceptsAbsoluteDrivePathsOfAllowedBytesForCreateFolderChain) {
  const std::string at259 = "C:\\" + std::string(256, 'a'), a = "C:\\" + std::string(100, 'a'),
                    b = a + "\\" + std::string(100, 'b'), c = b + "\\" + std::string(52, 'c');
  // The long paths first: the short ones then run in a work buffer still holding their bytes.
  const struct { std::string path; int32_t valid; std::vector<std::string> made = {}; } cases[] = {
      {"\"" + c + "\\\"", 1, {a, b, c}}, {c + "\\", 1, {a, b, c}}, {at259, 1},
      {"\"" + at259.substr(0, 258) + "\"", 1}, {"C:\\A\\B", 1, {"C:\\A"}}, {"C:\\", 1}, {"z:\\", 1},
      {"\"D:\\A\\B\"", 1, {"D:\\A"}}, {"D:\\Games\\Tarnwick\\", 1, {"D:\\Games", "D:\\Games\\Tarnwick"}},
      {"C:\\a b.c\\d-e_f\t'(){}[]=+&%$#!~`@^", 1, {"C:\\a b.c"}}, {"C:\\ゲーム\\設定", 1, {"C:\\ゲーム"}},
      {"C:\\\x80\xA0\xFD\xFE\xFF", 1},
      // Examined byte by byte: the trail bytes of 表 and ポ count as '\' and '|'.
      {"C:\\表A\\", 1, {"C:\\\x95", "C:\\表A"}}, {"C:\\表\\", 0}, {"C:\\ポ", 0},
      {"", 0}, {"C:", 0}, {"C:A", 0}, {"1:\\A", 0}, {"C;\\", 0}, {"C:/", 0}, {"\\\\srv\\x", 0},
      {"\"C:\\A", 0}, {"\"C:\"", 0}, {"C:\\A\\\\B\\", 0}, {at259 + "a", 0}, {"\"" + at259 + "\"", 0},
      {"C:\\A\"B", 0}, {"C:\\A*B", 0}, {"C:\\A,B", 0}, {"C:\\A/B", 0}, {"C:\\A:B", 0}, {"C:\\A;B", 0},
      {"C:\\A<B", 0}, {"C:\\A>B", 0}, {"C:\\A?B", 0}, {"C:\\A|B", 0},
      // A doubled backslash right after the drive would make the root a folder to create.
      {"C:\\\\", 0}, {"\"C:\\\\A\"", 0}, {"\"C:\\A\\\\\"", 0},
  };
  for (const auto& each : cases) {
    EXPECT_EQ(ValidatePath(each.path.c_str()), each.valid) << each.path;
    FakeHost host;  // no drive root: nothing reaches the disk
    EXPECT_EQ(CreateFolderChain(host, each.path.c_str()), each.valid) << each.path;
    EXPECT_EQ(host.folders, each.made) << each.path;
  }
}
