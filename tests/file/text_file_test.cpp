#include "file/text_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "temp_dir.h"

namespace {

class TextFileTest : public ::testing::Test {
 protected:
  // A zeroed buffer holding text, the position at its end.
  void Prepare(uint32_t capacity, const std::string& text) {
    ASSERT_EQ(text_.AllocateZeroed(capacity), RC_OK);
    ASSERT_LT(text.size(), capacity);
    std::memcpy(text_.GetBuffer(), text.data(), text.size());
    ASSERT_EQ(text_.SetPosition(static_cast<uint32_t>(text.size())), RC_OK);
  }
  std::string Written() const {
    return std::string(reinterpret_cast<const char*>(text_.GetBuffer()), text_.GetPosition());
  }

  TempDir dir_;
  std::string path_ = dir_.Path("text.txt");
  TextFile text_;
};

TEST_F(TextFileTest, SetCommandSequenceWritesExactlyTheText) {
  const std::string folder = "C:\\ゲーム\\表示\\";  // trail bytes 0x5C inside
  ASSERT_EQ(text_.AllocateZeroed(280), RC_OK);
  EXPECT_EQ(text_.WriteLine(folder.c_str()), RC_OK);
  EXPECT_EQ(text_.WriteString("1,2,5"), RC_OK);
  EXPECT_EQ(text_.SaveText(path_.c_str()), RC_OK);
  EXPECT_EQ(ReadWholeFile(path_), folder + "\r\n1,2,5");
  EXPECT_EQ(text_.SetPosition(0), RC_OK);
  EXPECT_EQ(text_.Free(), RC_OK);
  EXPECT_EQ(text_.GetBuffer(), nullptr);
}

TEST_F(TextFileTest, WithoutBufferEverythingReportsIt) {
  char line[4] = "x";
  EXPECT_EQ(text_.AllocateZeroed(0), RC_NO_BUFFER);
  EXPECT_EQ(text_.WriteString(nullptr), RC_NO_BUFFER);
  EXPECT_EQ(text_.WriteLine("a"), RC_NO_BUFFER);
  EXPECT_EQ(text_.WriteEmptyLines(1), RC_NO_BUFFER);
  EXPECT_EQ(text_.PadToColumn(-1), RC_NO_BUFFER);
  EXPECT_EQ(text_.SetPosition(0), RC_NO_BUFFER);
  EXPECT_EQ(text_.ReadLine(line, 3), nullptr);
  EXPECT_EQ(text_.GetLineCount(), RC_NO_BUFFER);
  EXPECT_EQ(text_.GetColumn(), RC_NO_BUFFER);
  EXPECT_EQ(text_.SaveText(path_.c_str()), RC_NO_BUFFER);
  EXPECT_FALSE(PathExists(path_));
  text_.CountLines();
  Prepare(4, "");
  EXPECT_EQ(text_.WriteString(nullptr), RC_NULL_ARGUMENT);
  EXPECT_EQ(text_.WriteLine(nullptr), RC_NULL_ARGUMENT);
  EXPECT_EQ(text_.ReadLine(nullptr, 3), nullptr);
  EXPECT_EQ(text_.SaveText(path_.c_str()), RC_BAD_LENGTH);
  EXPECT_EQ(ReadWholeFile(path_), "");
}

TEST_F(TextFileTest, WritesLeaveTheLastByteFree) {
  Prepare(10, "");
  EXPECT_EQ(text_.WriteString("1234567890"), RC_OUT_OF_RANGE);
  EXPECT_EQ(text_.GetPosition(), 0u);
  EXPECT_EQ(text_.WriteString("123456789"), RC_OK);
  EXPECT_EQ(text_.GetPosition(), 9u);
  EXPECT_EQ(text_.WriteString(""), RC_OK);
  text_.SetPosition(10);
  EXPECT_EQ(text_.WriteString(""), RC_OUT_OF_RANGE);  // at the capacity nothing fits
  EXPECT_EQ(text_.WriteEmptyLines(0), RC_OUT_OF_RANGE);

  // The text fits, its line end would take the last byte: the text stays alone.
  Prepare(10, "");
  EXPECT_EQ(text_.WriteLine("12345678"), RC_OUT_OF_RANGE);
  EXPECT_EQ(Written(), "12345678");
  Prepare(10, "");
  EXPECT_EQ(text_.WriteLine("1234567"), RC_OK);
  EXPECT_EQ(Written(), "1234567\r\n");
  EXPECT_EQ(text_.GetBuffer()[9], 0);
}

TEST_F(TextFileTest, EmptyLinesFitWholeOrNotAtAll) {
  Prepare(10, "ab");
  EXPECT_EQ(text_.WriteEmptyLines(0), RC_OK);
  EXPECT_EQ(text_.WriteEmptyLines(-5), RC_OK);
  EXPECT_EQ(text_.WriteEmptyLines(4), RC_OUT_OF_RANGE);
  // 2 x count must not wrap around into a small sum.
  EXPECT_EQ(text_.WriteEmptyLines(INT32_MAX), RC_OUT_OF_RANGE);
  EXPECT_EQ(text_.WriteEmptyLines(INT32_MIN + 1), RC_OK);
  EXPECT_EQ(Written(), "ab");
  EXPECT_EQ(text_.WriteEmptyLines(3), RC_OK);
  EXPECT_EQ(Written(), "ab\r\n\r\n\r\n");
  EXPECT_EQ(text_.GetLineCount(), 3);
}

TEST_F(TextFileTest, ColumnsCountBytesAfterTheLastLineFeed) {
  Prepare(20, "AB\r\nCDE");
  EXPECT_EQ(text_.GetColumn(), 3);
  EXPECT_EQ(text_.PadToColumn(6), RC_OK);
  EXPECT_EQ(Written(), "AB\r\nCDE   ");
  EXPECT_EQ(text_.PadToColumn(1), RC_OK);
  EXPECT_EQ(text_.GetPosition(), 5u);
  EXPECT_EQ(text_.PadToColumn(1), RC_OK);
  EXPECT_EQ(text_.PadToColumn(-1), RC_OUT_OF_RANGE);
  EXPECT_EQ(text_.PadToColumn(16), RC_OUT_OF_RANGE);
  EXPECT_EQ(text_.GetPosition(), 5u);
  EXPECT_EQ(text_.PadToColumn(15), RC_OK);
  EXPECT_EQ(text_.GetPosition(), 19u);

  Prepare(8, "\nAB");
  EXPECT_EQ(text_.GetColumn(), 2);
  Prepare(8, "表示");  // no line feed: the column is the position
  EXPECT_EQ(text_.GetColumn(), 4);
}

TEST_F(TextFileTest, LineCountStaysRightAfterEveryChange) {
  Prepare(20, "ONE\r\nTWO\r\n");
  text_.CountLines();
  EXPECT_EQ(text_.GetLineCount(), 2);
  EXPECT_EQ(text_.SetPosition(10), RC_OK);
  EXPECT_EQ(text_.GetLineCount(), 2);
  EXPECT_EQ(text_.WriteString("3\r4"), RC_OK);
  EXPECT_EQ(text_.GetLineCount(), 3);
  EXPECT_EQ(text_.PadToColumn(1), RC_OK);  // back over a lone CR
  EXPECT_EQ(text_.GetLineCount(), 2);
  EXPECT_EQ(text_.WriteLine("x"), RC_OK);
  EXPECT_EQ(text_.GetLineCount(), 3);
  EXPECT_EQ(text_.Seek(3), RC_OK);
  EXPECT_EQ(text_.GetLineCount(), 0);
  EXPECT_EQ(text_.Move(2), RC_OK);
  EXPECT_EQ(text_.GetLineCount(), 1);
  uint32_t moved = 0;
  EXPECT_EQ(text_.WriteBytes("\r\n\r\n", 4, &moved), RC_OK);
  EXPECT_EQ(text_.GetLineCount(), 3);
  char line[8];
  text_.Seek(0);
  EXPECT_STREQ(text_.ReadLine(line, 7), "ONE");
  EXPECT_EQ(text_.GetLineCount(), 1);
  EXPECT_EQ(text_.AllocateZeroed(20), RC_OK);  // zeroed, position kept
  EXPECT_EQ(text_.GetPosition(), 5u);
  EXPECT_EQ(text_.GetLineCount(), 0);
  // A CR right after a counted CR is taken for its line feed.
  Prepare(20, "\r\r\r\n");
  EXPECT_EQ(text_.GetLineCount(), 2);
}

TEST_F(TextFileTest, ReadLineSplitsAtCarriageReturns) {
  char line[11];
  WriteWholeFile(path_, "A\r\nB");
  ASSERT_EQ(text_.LoadText(path_.c_str()), RC_OK);
  EXPECT_STREQ(text_.ReadLine(line, 10), "A");
  EXPECT_EQ(text_.GetPosition(), 3u);
  EXPECT_STREQ(text_.ReadLine(line, 10), "B");
  EXPECT_EQ(text_.GetPosition(), 4u);
  EXPECT_STREQ(text_.ReadLine(line, 10), "");
  EXPECT_EQ(text_.GetPosition(), 4u);

  WriteWholeFile(path_, "ABCD\r\n表示\\\r");
  ASSERT_EQ(text_.LoadText(path_.c_str()), RC_OK);
  EXPECT_STREQ(text_.ReadLine(line, 2), "AB");
  EXPECT_STREQ(text_.ReadLine(line, 2), "CD");
  EXPECT_EQ(text_.GetPosition(), 4u);
  EXPECT_STREQ(text_.ReadLine(line, 2), "");
  EXPECT_EQ(text_.GetPosition(), 6u);
  EXPECT_STREQ(text_.ReadLine(line, 0), "");
  EXPECT_EQ(text_.GetPosition(), 6u);
  EXPECT_STREQ(text_.ReadLine(line, 10), "表示\\");
  EXPECT_EQ(text_.GetPosition(), text_.GetCapacity());  // the last byte was a CR

  // Past the text written, the zero rest of the buffer reads as empty lines.
  Prepare(8, "xy");
  text_.SetPosition(0);
  EXPECT_STREQ(text_.ReadLine(line, 10), "xy");
  EXPECT_EQ(text_.GetPosition(), 8u);
}

TEST_F(TextFileTest, SavedShiftJisTextLoadsBackIntoAFileNamedInShiftJis) {
  const std::string name = dir_.Path("表.txt");
  Prepare(64, "");
  ASSERT_EQ(text_.WriteLine("ソ\\能"), RC_OK);  // 0x83 0x5C, then 0x5C, 0x94 0x5C
  ASSERT_EQ(text_.WriteLine(""), RC_OK);
  ASSERT_EQ(text_.SaveText(name.c_str()), RC_OK);
  EXPECT_EQ(ReadWholeFile(name), "ソ\\能\r\n\r\n");

  TextFile loaded;
  ASSERT_EQ(loaded.LoadText(name.c_str()), RC_OK);
  EXPECT_EQ(loaded.GetCapacity(), 9u);
  EXPECT_EQ(loaded.SetPosition(9), RC_OUT_OF_RANGE);
  EXPECT_EQ(loaded.GetLineCount(), 2);
  EXPECT_EQ(loaded.GetColumn(), 0);
}

}  // namespace
