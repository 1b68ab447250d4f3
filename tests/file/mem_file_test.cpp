// MemFile: its checks and positions, and Save and Load through the platform's files.
#include "file/mem_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "temp/temp_dir.h"

namespace {

using Outcome = std::pair<ResultCode, uint32_t>;  // result, then the position

class MemFileTest : public ::testing::Test {
 protected:
  // Capacity bytes "0123456789..." with the position set.
  void Prepare(uint32_t capacity, uint32_t position) {
    ASSERT_EQ(mem_.Allocate(capacity), RC_OK);
    for (uint32_t i = 0; i < capacity; ++i) mem_.GetBuffer()[i] = static_cast<uint8_t>('0' + i % 10);
    mem_.Seek(static_cast<int32_t>(position));
  }
  Outcome Did(ResultCode rc) const { return {rc, mem_.GetPosition()}; }
  std::string Contents() const {
    return std::string(reinterpret_cast<const char*>(mem_.GetBuffer()), mem_.GetCapacity());
  }

  TempDir dir_;
  std::string path_ = dir_.Path("表.bin");
  MemFile mem_;
};

TEST_F(MemFileTest, BufferIsCheckedFirstThenPointerThenCount) {
  uint32_t moved = 99;
  WriteWholeFile(path_, "untouched");
  for (ResultCode rc : {mem_.Seek(0), mem_.SeekEnd(), mem_.Fill(0), mem_.Move(1),
                        mem_.WriteBytes(nullptr, 0, &moved), mem_.ReadBytes(nullptr, 0, &moved),
                        mem_.Save(path_.c_str(), 0)})
    EXPECT_EQ(rc, RC_NO_BUFFER);
  EXPECT_EQ(ReadWholeFile(path_), "untouched");
  Prepare(4, 0);
  EXPECT_EQ(mem_.WriteBytes(nullptr, 0, &moved), RC_NULL_ARGUMENT);
  EXPECT_EQ(mem_.ReadBytes(&moved, 0, &moved), RC_BAD_LENGTH);
  EXPECT_EQ(moved, 99u);
}

TEST_F(MemFileTest, PositionsClampToTheBuffer) {
  Prepare(10, 0);
  EXPECT_EQ(Did(mem_.Seek(9)), Outcome(RC_OK, 9));
  EXPECT_EQ(Did(mem_.Seek(10)), Outcome(RC_OUT_OF_RANGE, 10));
  EXPECT_EQ(Did(mem_.SeekEnd()), Outcome(RC_OK, 9));
  EXPECT_EQ(Did(mem_.Seek(-1)), Outcome(RC_OUT_OF_RANGE, 10));
  for (auto [delta, expected] : {std::pair{5, Outcome(RC_OUT_OF_RANGE, 10)}, {1, {RC_OK, 9}},
                                 {-8, {RC_OK, 0}}, {-9, {RC_OUT_OF_RANGE, 0}},
                                 {INT32_MAX, {RC_OUT_OF_RANGE, 10}}, {INT32_MIN, {RC_OUT_OF_RANGE, 0}}}) {
    mem_.Seek(8);
    EXPECT_EQ(Did(mem_.Move(delta)), expected) << delta;
  }
}

TEST_F(MemFileTest, ByteCopiesAreShortenedAtTheCapacity) {
  Prepare(10, 7);
  uint32_t moved = 99;
  EXPECT_EQ(Did(mem_.WriteBytes("abcde", 5, &moved)), Outcome(RC_OK, 10));
  EXPECT_EQ(moved, 3u);
  EXPECT_EQ(Contents(), "0123456abc");
  EXPECT_EQ(mem_.WriteBytes("x", 1, &moved), RC_OK);
  EXPECT_EQ(moved, 0u);
  char out[8] = {};
  mem_.Seek(5);
  EXPECT_EQ(Did(mem_.ReadBytes(out, 7, nullptr)), Outcome(RC_OK, 10));
  EXPECT_STREQ(out, "56abc");
}

TEST_F(MemFileTest, SaveWritesWithinTheBufferOrNothing) {
  Prepare(10, 4);
  EXPECT_EQ(mem_.Save(path_.c_str(), 0), RC_OK);
  EXPECT_EQ(ReadWholeFile(path_), "0123");
  EXPECT_EQ(mem_.Save(path_.c_str(), 11), RC_OUT_OF_RANGE);  // would read past the buffer
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

TEST_F(MemFileTest, LoadTakesTheFileOrKeepsTheBuffer) {
  std::string bytes(1000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  WriteWholeFile(path_, bytes);
  EXPECT_EQ(mem_.Load(path_.c_str(), 0), RC_OK);
  EXPECT_EQ(Contents(), bytes);
  EXPECT_EQ(mem_.Load(path_.c_str(), 16), RC_OK);
  mem_.Seek(5);  // same capacity: buffer, bytes and position stay; a short file fills the start
  WriteWholeFile(path_, "abc");
  EXPECT_EQ(Did(mem_.Load(path_.c_str(), 16)), Outcome(RC_OK, 5));
  EXPECT_EQ(Contents(), "abc" + bytes.substr(3, 13));
  EXPECT_EQ(mem_.Load(dir_.Path("missing").c_str(), 0), RC_OPEN_FAILED);
  EXPECT_EQ(mem_.Fill(0x141), RC_OK);
  EXPECT_EQ(Contents(), std::string(16, 'A'));
  WriteWholeFile(path_, "");
  EXPECT_EQ(mem_.Load(path_.c_str(), 0), RC_NULL_ARGUMENT);
  EXPECT_EQ(mem_.GetBuffer(), nullptr);
}

}  // namespace
