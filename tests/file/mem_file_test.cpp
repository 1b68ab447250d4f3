// MemFile and TextFile through the platform's files, here and under Wine. What they do within
// the buffer is the fuzz target's model.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "file/text_file.h"
#include "temp_dir.h"

namespace {

class MemFileOnDisk : public ::testing::Test {
 protected:
  // Capacity bytes "0123456789..." with the position set.
  void Prepare(uint32_t capacity, uint32_t position) {
    ASSERT_EQ(mem_.Allocate(capacity), RC_OK);
    for (uint32_t i = 0; i < capacity; ++i) mem_.GetBuffer()[i] = static_cast<uint8_t>('0' + i % 10);
    mem_.Seek(static_cast<int32_t>(position));
  }
  std::string Contents() const {
    return std::string(reinterpret_cast<const char*>(mem_.GetBuffer()), mem_.GetCapacity());
  }

  TempDir dir_;
  std::string path_ = dir_.Path("表.bin");  // trail byte 0x5C: not a separator
  MemFile mem_;
};

TEST_F(MemFileOnDisk, SaveWritesWithinTheBufferOrNothing) {
  WriteWholeFile(path_, "untouched");
  EXPECT_EQ(mem_.Save(path_.c_str(), 0), RC_NO_BUFFER);
  Prepare(10, 4);
  EXPECT_EQ(mem_.Save(path_.c_str(), 11), RC_OUT_OF_RANGE);  // would read past the buffer
  EXPECT_EQ(ReadWholeFile(path_), "untouched");
  EXPECT_EQ(mem_.Save(path_.c_str(), 0), RC_OK);
  EXPECT_EQ(ReadWholeFile(path_), "0123");
  EXPECT_EQ(mem_.Save(path_.c_str(), 10), RC_OK);
  DiskFile holder;
  ASSERT_EQ(holder.OpenRead(path_.c_str()), RC_OK);
  EXPECT_EQ(mem_.Save(path_.c_str(), 0), RC_OPEN_FAILED);
  holder.Close();
  EXPECT_EQ(ReadWholeFile(path_), "0123456789");
  mem_.Seek(0);
  EXPECT_EQ(mem_.Save(path_.c_str(), 0), RC_BAD_LENGTH);
  EXPECT_EQ(ReadWholeFile(path_), "");
  EXPECT_EQ(mem_.GetSize(), uint32_t(RC_FILE_NOT_OPEN));  // closed on every path
}

TEST_F(MemFileOnDisk, LoadTakesTheFileOrKeepsTheBuffer) {
  std::string bytes(1000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  WriteWholeFile(path_, bytes);
  EXPECT_EQ(mem_.Load(path_.c_str(), 0), RC_OK);
  EXPECT_EQ(Contents(), bytes);
  EXPECT_EQ(mem_.Load(path_.c_str(), 16), RC_OK);
  mem_.Seek(5);  // same capacity: buffer, bytes and position stay; a short file fills the start
  WriteWholeFile(path_, "abc");
  EXPECT_EQ(mem_.Load(path_.c_str(), 16), RC_OK);
  EXPECT_EQ(mem_.GetPosition(), 5u);
  EXPECT_EQ(Contents(), "abc" + bytes.substr(3, 13));
  EXPECT_EQ(mem_.Load(dir_.Path("missing").c_str(), 0), RC_OPEN_FAILED);
  WriteWholeFile(path_, "");
  EXPECT_EQ(mem_.Load(path_.c_str(), 0), RC_NULL_ARGUMENT);
  EXPECT_EQ(mem_.GetBuffer(), nullptr);
}

TEST_F(MemFileOnDisk, TextLoadsBackLineByLineUpToTheCapacity) {
  const std::string folder = "C:\\ゲーム\\表示\\";  // trail bytes 0x5C inside
  TextFile text;
  ASSERT_EQ(text.AllocateZeroed(280), RC_OK);
  EXPECT_EQ(text.WriteLine(folder.c_str()), RC_OK);
  EXPECT_EQ(text.WriteString("1,2,5"), RC_OK);
  EXPECT_EQ(text.SaveText(path_.c_str()), RC_OK);
  EXPECT_EQ(ReadWholeFile(path_), folder + "\r\n1,2,5");
  TextFile loaded;
  char line[300];
  ASSERT_EQ(loaded.LoadText(path_.c_str()), RC_OK);
  EXPECT_EQ(folder, loaded.ReadLine(line, 299));
  EXPECT_STREQ(loaded.ReadLine(line, 299), "1,2,5");
  EXPECT_EQ(loaded.GetPosition(), loaded.GetCapacity());
  EXPECT_EQ(loaded.GetLineCount(), 1);
  EXPECT_EQ(loaded.GetColumn(), 5);

  WriteWholeFile(path_, "AB\r\n表示\\\r");  // a CR as the last byte: nothing to skip after it
  ASSERT_EQ(loaded.LoadText(path_.c_str()), RC_OK);
  EXPECT_STREQ(loaded.ReadLine(line, 1), "A");
  EXPECT_STREQ(loaded.ReadLine(line, 299), "B");
  EXPECT_STREQ(loaded.ReadLine(line, 299), "表示\\");
  EXPECT_EQ(loaded.GetPosition(), 10u);
  EXPECT_STREQ(loaded.ReadLine(line, 299), "");
  EXPECT_EQ(loaded.GetPosition(), 10u);
}

}  // namespace
