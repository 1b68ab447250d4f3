#include "file/text_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "temp/temp_dir.h"

namespace {

class TextFileTest : public ::testing::Test {
 protected:
  // A zeroed buffer holding text, the position at its end.
  void Prepare(uint32_t capacity, const std::string& text) {
    ASSERT_EQ(text_.AllocateZeroed(capacity), RC_OK);
    std::memcpy(text_.GetBuffer(), text.data(), text.size());
    ASSERT_EQ(text_.SetPosition(static_cast<uint32_t>(text.size())), RC_OK);
  }
  std::string Written() const {
    return std::string(reinterpret_cast<const char*>(text_.GetBuffer()), text_.GetPosition());
  }

  TempDir dir_;
  std::string path_ = dir_.Path("表.txt");
  TextFile text_;
};

TEST_F(TextFileTest, SetCommandSequenceSavesExactlyTheTextAndLoadsItBack) {
  const std::string folder = "C:\\ゲーム\\表示\\";  // trail bytes 0x5C inside
  ASSERT_EQ(text_.AllocateZeroed(280), RC_OK);
  EXPECT_EQ(text_.WriteLine(folder.c_str()), RC_OK);
  EXPECT_EQ(text_.WriteString("1,2,5"), RC_OK);
  EXPECT_EQ(text_.SaveText(path_.c_str()), RC_OK);
  EXPECT_EQ(ReadWholeFile(path_), folder + "\r\n1,2,5");
  TextFile loaded;
  char line[300];
  ASSERT_EQ(loaded.LoadText(path_.c_str()), RC_OK);
  EXPECT_EQ(folder, loaded.ReadLine(line, 299));
  EXPECT_STREQ(loaded.ReadLine(line, 299), "1,2,5");
  EXPECT_EQ(loaded.GetPosition(), loaded.GetCapacity());
  EXPECT_EQ(loaded.GetLineCount(), 1);
  EXPECT_EQ(loaded.GetColumn(), 5);
}

TEST_F(TextFileTest, WithoutBufferEverythingSaysSo) {
  char line[4] = "x";
  EXPECT_EQ(text_.AllocateZeroed(0), RC_NO_BUFFER);
  for (ResultCode rc : {text_.WriteString(nullptr), text_.WriteLine(nullptr),
                        text_.WriteEmptyLines(1), text_.PadToColumn(-1), text_.SetPosition(0),
                        text_.GetLineCount(), text_.GetColumn(), text_.SaveText(path_.c_str())})
    EXPECT_EQ(rc, RC_NO_BUFFER);
  EXPECT_EQ(text_.ReadLine(line, 3), nullptr);
  EXPECT_FALSE(PathExists(path_));
  Prepare(4, "");
  EXPECT_EQ(text_.WriteString(nullptr), RC_NULL_ARGUMENT);
  EXPECT_EQ(text_.ReadLine(nullptr, 3), nullptr);
  EXPECT_EQ(text_.SaveText(path_.c_str()), RC_BAD_LENGTH);
  EXPECT_EQ(ReadWholeFile(path_), "");
}

TEST_F(TextFileTest, WritesThatWouldTakeTheLastByteAreRefusedWhole) {
  Prepare(10, "");
  EXPECT_EQ(text_.WriteString("1234567890"), RC_OUT_OF_RANGE);
  EXPECT_EQ(text_.WriteLine("12345678"), RC_OUT_OF_RANGE);  // the text stays, no line end
  EXPECT_EQ(Written(), "12345678");
  Prepare(10, "");
  EXPECT_EQ(text_.WriteLine("1234567"), RC_OK);
  EXPECT_EQ(Written(), "1234567\r\n");
  text_.SetPosition(10);
  EXPECT_EQ(text_.WriteString(""), RC_OUT_OF_RANGE);
  Prepare(10, "ab");
  EXPECT_EQ(text_.WriteEmptyLines(4), RC_OUT_OF_RANGE);
  EXPECT_EQ(text_.WriteEmptyLines(INT32_MAX), RC_OUT_OF_RANGE);  // 2 x count must not wrap
  EXPECT_EQ(text_.WriteEmptyLines(INT32_MIN + 1), RC_OK);
  EXPECT_EQ(text_.WriteEmptyLines(3), RC_OK);
  EXPECT_EQ(Written(), "ab\r\n\r\n\r\n");
}

TEST_F(TextFileTest, ColumnsCountBytesAfterTheLastLineFeed) {
  Prepare(20, "AB\r\nCDE");
  EXPECT_EQ(text_.GetColumn(), 3);
  EXPECT_EQ(text_.PadToColumn(6), RC_OK);
  EXPECT_EQ(Written(), "AB\r\nCDE   ");
  EXPECT_EQ(text_.PadToColumn(1), RC_OK);
  EXPECT_EQ(text_.GetPosition(), 5u);
  EXPECT_EQ(text_.PadToColumn(-1), RC_OUT_OF_RANGE);
  EXPECT_EQ(text_.PadToColumn(16), RC_OUT_OF_RANGE);
  EXPECT_EQ(text_.PadToColumn(15), RC_OK);
  EXPECT_EQ(text_.GetPosition(), 19u);
  Prepare(8, "\nAB");
  EXPECT_EQ(text_.GetColumn(), 2);
}

TEST_F(TextFileTest, LineCountStaysRightAfterEveryChange) {
  Prepare(20, "ONE\r\nTWO\r\n");
  EXPECT_EQ(text_.GetLineCount(), 2);
  EXPECT_EQ(text_.WriteString("3\r4"), RC_OK);
  EXPECT_EQ(text_.GetLineCount(), 3);
  EXPECT_EQ(text_.PadToColumn(1), RC_OK);  // back over a lone CR
  EXPECT_EQ(text_.GetLineCount(), 2);
  EXPECT_EQ(text_.Seek(3), RC_OK);
  EXPECT_EQ(text_.GetLineCount(), 0);
  EXPECT_EQ(text_.Move(2), RC_OK);
  EXPECT_EQ(text_.WriteBytes("\r\n\r\n", 4, nullptr), RC_OK);
  EXPECT_EQ(text_.GetLineCount(), 3);
  char line[8];
  text_.Seek(0);
  EXPECT_STREQ(text_.ReadLine(line, 7), "ONE");
  EXPECT_EQ(text_.GetLineCount(), 1);
  EXPECT_EQ(text_.AllocateZeroed(20), RC_OK);  // zeroed, position kept
  EXPECT_EQ(text_.GetLineCount(), 0);
  Prepare(20, "\r\r\r\n");  // a CR right after a counted one is taken for its LF
  EXPECT_EQ(text_.GetLineCount(), 2);
}

TEST_F(TextFileTest, ReadLineStopsAtCrAtMaximumOrAtTheCapacity) {
  char line[11];
  WriteWholeFile(path_, "ABCD\r\n表示\\\r");
  ASSERT_EQ(text_.LoadText(path_.c_str()), RC_OK);
  EXPECT_STREQ(text_.ReadLine(line, 2), "AB");
  EXPECT_STREQ(text_.ReadLine(line, 2), "CD");
  EXPECT_STREQ(text_.ReadLine(line, 2), "");
  EXPECT_EQ(text_.GetPosition(), 6u);
  EXPECT_STREQ(text_.ReadLine(line, 0), "");
  EXPECT_STREQ(text_.ReadLine(line, 10), "表示\\");
  EXPECT_EQ(text_.GetPosition(), 12u);  // the CR was the last byte
  EXPECT_STREQ(text_.ReadLine(line, 10), "");
  EXPECT_EQ(text_.GetPosition(), 12u);
  Prepare(8, "xy");  // the zero rest of the buffer is read too
  text_.SetPosition(0);
  EXPECT_STREQ(text_.ReadLine(line, 10), "xy");
  EXPECT_EQ(text_.GetPosition(), 8u);
}

}  // namespace
