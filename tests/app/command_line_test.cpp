#include "app/logic/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using E = CommandLineError;

struct Case {
  const char* commandLine;
  E error;
  const char* errorArgument;
  bool silent;
  int32_t title;  // -1: none given
  int32_t mode;
  const char* folder;
  bool overwrite = false;
  bool usage = false;
};

const Case kCases[] = {
    {"ZorvelSetup.exe", E::kNone, "", false, -1, 0, ""},
    {"\"C:\\Program Files\\ZorvelSetup.exe\"/?", E::kNone, "", false, -1, 0, "", false, true},
    {"x /TITLE:oxBELLOW /Folder:\"D:\\ゲーム\\表\" /mode:ALL /Silent /OVERWRITE", E::kNone, "",
     true, 1, 1, "D:\\ゲーム\\表", true},
    // 表 ends in 0x5C: before the closing quote it stays a character, not an escape.
    {"x \"/folder:D:\\ゲーム\\表\"  /title:Quillane\t/mode:standard", E::kNone, "", false, 2, 0,
     "D:\\ゲーム\\表"},
    {"x /folder:D:\\My\" \"Games\\ /title:Tarnwick /title:Oxbellow", E::kNone, "", false, 1, 0,
     "D:\\My Games\\"},
    {"x /tittle:Oxbellow", E::kUnknownSwitch, "/tittle:Oxbellow", false, -1, 0, ""},
    {"x Oxbellow /silent", E::kUnknownSwitch, "Oxbellow", true, -1, 0, ""},
    {"x -silent", E::kUnknownSwitch, "-silent", false, -1, 0, ""},
    {"x /title: /silent", E::kMissingValue, "/title:", true, -1, 0, ""},
    {"x /folder:\"\"", E::kMissingValue, "/folder:", false, -1, 0, ""},
    {"x /mode", E::kMissingValue, "/mode", false, -1, 0, ""},
    {"x /title:Zorvel", E::kBadValue, "/title:Zorvel", false, -1, 0, ""},
    {"x /mode:full", E::kBadValue, "/mode:full", false, -1, 0, ""},
    {"x /silent:yes", E::kBadValue, "/silent:yes", false, -1, 0, ""},
    {"x /silent /title:Oxbellow", E::kSilentIncomplete, "", true, 1, 0, ""},
    {"x /silent /folder:C:\\", E::kSilentIncomplete, "", true, -1, 0, "C:\\"},
    {"x /silent /?", E::kNone, "", true, -1, 0, "", false, true},
};

TEST(CommandLineTest, ParsesEachForm) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.commandLine);
    CommandLine line;
    EXPECT_EQ(ParseCommandLine(c.commandLine, line), c.error == E::kNone ? 1 : 0);
    EXPECT_EQ(line.error, c.error);
    EXPECT_STREQ(line.errorArgument, c.errorArgument);
    EXPECT_EQ(line.silent, c.silent);
    EXPECT_EQ(line.hasTitle ? line.titleIndex : -1, c.title);
    EXPECT_EQ(line.installMode, c.mode);
    EXPECT_STREQ(line.folder, c.folder);
    EXPECT_EQ(line.overwrite, c.overwrite);
    EXPECT_EQ(line.showUsage, c.usage);
    EXPECT_FALSE(line.folderTooLong);
  }
}

TEST(CommandLineTest, FoldersBeyondAnyPathAreTooLongAndExcerptsKeepCharactersWhole) {
  for (size_t length : {259u, 260u, 5000u}) {
    CommandLine line;
    EXPECT_EQ(ParseCommandLine(("x /folder:" + std::string(length, 'a')).c_str(), line), 1);
    EXPECT_EQ(line.folderTooLong, length > 259) << length;
    EXPECT_EQ(std::string(line.folder).size(), length > 259 ? 0 : length) << length;
  }
  CommandLine line;
  ParseCommandLine(("x /" + std::string(61, 'a') + "表").c_str(), line);
  EXPECT_EQ(std::string(line.errorArgument), "/" + std::string(61, 'a'));
}

}  // namespace
