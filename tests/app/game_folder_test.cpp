#include "app/logic/game_folder.h"

#include <gtest/gtest.h>

#include <string>

#include "app/logic/app_state.h"

namespace {

struct GameFolder {
  char bytes[kPathBufferSize] = {};
  GameFolder() = default;
  explicit GameFolder(const std::string& text) { text.copy(bytes, text.size()); }
  std::string text() const { return bytes; }
};

std::string PathOfLength(size_t length, char last = 'x') {
  std::string path = "C:\\";
  while (path.size() + 1 < length) path += (path.size() % 50 == 49) ? '\\' : 'a';
  return path + last;
}

TEST(StoreChosenFolder, EndsWithExactlyOneBackslash) {
  // 表 and ソ are 0x95 0x5C and 0x83 0x5C in Shift-JIS: their second byte is no backslash.
  const struct {
    const char* chosen;
    const char* stored;
  } cases[] = {
      {"C:\\Games", "C:\\Games\\"},
      {"D:\\", "D:\\"},
      {"C:\\表", "C:\\表\\"},
      {"C:\\ソフト\\", "C:\\ソフト\\"},
  };
  for (const auto& c : cases) {
    GameFolder folder;
    EXPECT_EQ(StoreChosenFolder(c.chosen, folder.bytes), FolderChoice::kStored) << c.chosen;
    EXPECT_EQ(folder.text(), c.stored);
  }
  EXPECT_FALSE(EndsWithBackslash(""));
}

TEST(StoreChosenFolder, NothingChosenKeepsThePreviousFolder) {
  GameFolder folder("C:\\Old\\");
  EXPECT_EQ(StoreChosenFolder("", folder.bytes), FolderChoice::kNone);
  EXPECT_EQ(folder.text(), "C:\\Old\\");
}

TEST(StoreChosenFolder, TheFolderAndItsBackslashMustFitTheBuffer) {
  GameFolder folder("C:\\Old\\");
  const std::string longest = PathOfLength(kPathBufferSize - 2);
  ASSERT_EQ(longest.size(), 258u);
  EXPECT_EQ(StoreChosenFolder(longest.c_str(), folder.bytes), FolderChoice::kStored);
  EXPECT_EQ(folder.text(), longest + "\\");

  const GameFolder previous("C:\\Old\\");
  folder = previous;
  EXPECT_EQ(StoreChosenFolder(PathOfLength(kPathBufferSize - 1).c_str(), folder.bytes),
            FolderChoice::kTooLong);
  EXPECT_EQ(folder.text(), previous.text());

  // A 259-byte path that already ends with a backslash needs nothing more and fits.
  const std::string full = PathOfLength(kPathBufferSize - 1, '\\');
  EXPECT_EQ(StoreChosenFolder(full.c_str(), folder.bytes), FolderChoice::kStored);
  EXPECT_EQ(folder.text(), full);
}

}  // namespace
