// TextFile and the MemFile beneath it: the rules, case by case. That any sequence of operations
// keeps the bytes, the bounds, lines read and the line counter right is fuzz_mem_file's part.
#include "file/text_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "temp/temp_dir.h"

class TextFileTest : public ::testing::Test {
 protected:
  // A zeroed buffer holding text, the position at its end.
  void Prepare(uint32_t capacity, const std::string& text) {
    ASSERT_EQ(t_.AllocateZeroed(capacity), RC_OK);
    std::memcpy(t_.GetBuffer(), text.data(), text.size());
    t_.SetPosition(static_cast<uint32_t>(text.size()));
  }
  std::string Bytes() const { return {reinterpret_cast<char*>(t_.GetBuffer()), t_.GetCapacity()}; }
  std::pair<ResultCode, uint32_t> Did(ResultCode rc) const { return {rc, t_.GetPosition()}; }

  TempDir dir_;
  const std::string path_ = dir_.Path("表.txt");
  TextFile t_;
};

TEST_F(TextFileTest, ChecksComeInOrderBufferPointerCount) {
  char line[4] = {};
  uint32_t moved = 0;
  for (ResultCode rc : {t_.AllocateZeroed(0), t_.SeekEnd(), t_.Move(1), t_.Save(path_.c_str(), 0),
                        t_.WriteBytes(line, 1, &moved), t_.WriteLine(""), t_.GetLineCount()})
    EXPECT_EQ(rc, RC_NO_BUFFER);
  EXPECT_EQ(t_.ReadLine(line, 3), nullptr);
  Prepare(4, "");
  EXPECT_EQ(t_.WriteBytes(nullptr, 0, &moved), RC_NULL_ARGUMENT);
  EXPECT_EQ(t_.ReadBytes(line, 0, &moved), RC_BAD_LENGTH);
  EXPECT_EQ(t_.ReadLine(nullptr, 3), nullptr);
}

TEST_F(TextFileTest, PositionsClampToTheBuffer) {
  struct Case { ResultCode (MemFile::*op)(int32_t); int32_t arg; ResultCode rc; uint32_t to; };
  const Case cases[] = {
      {&MemFile::Seek, 9, RC_OK, 9}, {&MemFile::Seek, 10, RC_OUT_OF_RANGE, 10},
      {&MemFile::Seek, -1, RC_OUT_OF_RANGE, 10}, {&MemFile::Move, 1, RC_OK, 9},
      {&MemFile::Move, 2, RC_OUT_OF_RANGE, 10}, {&MemFile::Move, -8, RC_OK, 0},
      {&MemFile::Move, -9, RC_OUT_OF_RANGE, 0}, {&MemFile::Move, INT32_MAX, RC_OUT_OF_RANGE, 10},
      {&MemFile::Move, INT32_MIN, RC_OUT_OF_RANGE, 0}};
  Prepare(10, "");
  for (const Case& c : cases) {
    t_.Seek(8);
    EXPECT_EQ(Did((t_.*c.op)(c.arg)), std::pair(c.rc, c.to)) << c.arg;
  }
  EXPECT_EQ(Did(t_.SeekEnd()), std::pair(RC_OK, 9u));  // the last byte, not one past it
}

TEST_F(TextFileTest, SaveWritesWithinTheBufferAndLoadTakesTheFileOrKeepsTheBuffer) {
  Prepare(10, "0123");
  EXPECT_EQ(t_.Save(path_.c_str(), 11), RC_OUT_OF_RANGE);  // would read past the buffer
  EXPECT_FALSE(PathExists(path_));
  EXPECT_EQ(t_.SaveText(path_.c_str()), RC_OK);
  EXPECT_EQ(ReadWholeFile(path_), "0123");
  t_.Fill('x');
  EXPECT_EQ(Did(t_.Load(path_.c_str(), 10)), std::pair(RC_OK, 4u));  // same capacity: kept
  EXPECT_EQ(Bytes(), "0123xxxxxx");
  EXPECT_EQ(t_.Load(dir_.Path("missing").c_str(), 0), RC_OPEN_FAILED);
  EXPECT_EQ(Did(t_.LoadText(path_.c_str())), std::pair(RC_OK, 0u));  // a new block
  EXPECT_EQ(t_.Save(path_.c_str(), 0), RC_BAD_LENGTH);  // nothing before the position
  EXPECT_EQ(t_.Load(path_.c_str(), 0), RC_NULL_ARGUMENT);  // the emptied file: no buffer
  EXPECT_EQ(t_.GetBuffer(), nullptr);
}

TEST_F(TextFileTest, TextWritesKeepTheLastByteFreeAndLinesEndAtCr) {
  Prepare(10, "");
  EXPECT_EQ(t_.WriteString("1234567890"), RC_OUT_OF_RANGE);
  EXPECT_EQ(t_.WriteLine("12345678"), RC_OUT_OF_RANGE);  // the text stays, no line end
  EXPECT_EQ(Bytes(), std::string("12345678\0\0", 10));
  Prepare(10, "ab");
  EXPECT_EQ(t_.WriteEmptyLines(4), RC_OUT_OF_RANGE);
  EXPECT_EQ(t_.WriteEmptyLines(INT32_MAX), RC_OUT_OF_RANGE);  // 2 x count must not wrap
  char line[8];
  Prepare(16, "ONE\r\nTWO\r");  // a CR right before the position counts
  EXPECT_EQ(std::pair(t_.GetLineCount(), t_.GetColumn()), std::pair(2, 4));
  EXPECT_EQ(Did(t_.PadToColumn(1)), std::pair(RC_OK, 6u));
  EXPECT_EQ(t_.GetLineCount(), 1);  // counted again after the change
  t_.SetPosition(2);
  EXPECT_STREQ(t_.ReadLine(line, 7), "E");
  EXPECT_EQ(t_.GetPosition(), 5u);  // past the CR and the byte after it
}
