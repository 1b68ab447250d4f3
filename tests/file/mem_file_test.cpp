#include "file/mem_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "temp_dir.h"

namespace {

class MemFileTest : public ::testing::Test {
 protected:
  // A buffer of the given capacity holding "0123456789..." at the given position.
  void Prepare(uint32_t capacity, uint32_t position) {
    ASSERT_EQ(mem_.Allocate(capacity), RC_OK);
    for (uint32_t i = 0; i < capacity; ++i) mem_.GetBuffer()[i] = static_cast<uint8_t>('0' + i % 10);
    ASSERT_EQ(mem_.Seek(static_cast<int32_t>(position)), RC_OK);
  }
  std::string Contents() const {
    return std::string(reinterpret_cast<const char*>(mem_.GetBuffer()), mem_.GetCapacity());
  }

  TempDir dir_;
  std::string path_ = dir_.Path("mem.bin");
  MemFile mem_;
};

TEST_F(MemFileTest, EveryBufferOperationNeedsABufferFirst) {
  uint32_t moved = 99;
  EXPECT_EQ(mem_.Seek(0), RC_NO_BUFFER);
  EXPECT_EQ(mem_.SeekEnd(), RC_NO_BUFFER);
  EXPECT_EQ(mem_.Fill(0), RC_NO_BUFFER);
  EXPECT_EQ(mem_.Move(1), RC_NO_BUFFER);
  EXPECT_EQ(mem_.WriteBytes(nullptr, 0, &moved), RC_NO_BUFFER);
  EXPECT_EQ(mem_.ReadBytes(nullptr, 0, &moved), RC_NO_BUFFER);
  EXPECT_EQ(moved, 99u);
  WriteWholeFile(path_, "untouched");
  EXPECT_EQ(mem_.Save(path_.c_str(), 0), RC_NO_BUFFER);
  EXPECT_EQ(ReadWholeFile(path_), "untouched");
  EXPECT_EQ(mem_.Free(), RC_OK);
  EXPECT_EQ(mem_.GetBuffer(), nullptr);
  EXPECT_EQ(mem_.GetCapacity(), 0u);
  EXPECT_EQ(mem_.GetPosition(), 0u);
}

TEST_F(MemFileTest, AllocateKeepsAnUnchangedCapacity) {
  Prepare(8, 3);
  uint8_t* buffer = mem_.GetBuffer();
  EXPECT_EQ(mem_.Allocate(8), RC_OK);
  EXPECT_EQ(mem_.GetBuffer(), buffer);
  EXPECT_EQ(mem_.GetPosition(), 3u);
  EXPECT_EQ(Contents(), "01234567");
  EXPECT_EQ(mem_.Allocate(4), RC_OK);
  EXPECT_EQ(mem_.GetCapacity(), 4u);
  EXPECT_EQ(mem_.GetPosition(), 0u);
  EXPECT_EQ(mem_.Fill(0x141), RC_OK);
  EXPECT_EQ(Contents(), "AAAA");
  EXPECT_EQ(mem_.Allocate(0), RC_OK);
  EXPECT_EQ(mem_.GetBuffer(), nullptr);
  EXPECT_EQ(mem_.GetCapacity(), 0u);
}

TEST_F(MemFileTest, PositionRequestsClampToTheBuffer) {
  Prepare(10, 0);
  EXPECT_EQ(mem_.Seek(9), RC_OK);
  EXPECT_EQ(mem_.GetPosition(), 9u);
  EXPECT_EQ(mem_.Seek(10), RC_OUT_OF_RANGE);
  EXPECT_EQ(mem_.GetPosition(), 10u);
  EXPECT_EQ(mem_.SeekEnd(), RC_OK);
  EXPECT_EQ(mem_.GetPosition(), 9u);
  EXPECT_EQ(mem_.Seek(-1), RC_OUT_OF_RANGE);
  EXPECT_EQ(mem_.GetPosition(), 10u);

  struct Case { uint32_t from; int32_t delta; uint32_t to; ResultCode rc; };
  const Case cases[] = {
      {8, 5, 10, RC_OUT_OF_RANGE}, {8, 2, 10, RC_OUT_OF_RANGE}, {8, 1, 9, RC_OK},
      {8, -8, 0, RC_OK},           {8, -9, 0, RC_OUT_OF_RANGE}, {8, 0, 8, RC_OK},
      {8, INT32_MAX, 10, RC_OUT_OF_RANGE}, {8, INT32_MIN, 0, RC_OUT_OF_RANGE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delta);
    mem_.Seek(static_cast<int32_t>(c.from));
    EXPECT_EQ(mem_.Move(c.delta), c.rc);
    EXPECT_EQ(mem_.GetPosition(), c.to);
  }
}

TEST_F(MemFileTest, ByteCopiesAreShortenedAtTheCapacity) {
  Prepare(10, 7);
  uint32_t moved = 99;
  EXPECT_EQ(mem_.WriteBytes("abcde", 5, &moved), RC_OK);
  EXPECT_EQ(moved, 3u);
  EXPECT_EQ(mem_.GetPosition(), 10u);
  EXPECT_EQ(Contents(), "0123456abc");
  EXPECT_EQ(mem_.WriteBytes("x", 1, &moved), RC_OK);
  EXPECT_EQ(moved, 0u);
  EXPECT_EQ(mem_.WriteBytes("x", 1, nullptr), RC_OK);

  char out[8] = {};
  mem_.Seek(5);
  EXPECT_EQ(mem_.ReadBytes(out, 7, &moved), RC_OK);
  EXPECT_EQ(moved, 5u);
  EXPECT_STREQ(out, "56abc");
  EXPECT_EQ(mem_.ReadBytes(out, 0, &moved), RC_BAD_LENGTH);
  EXPECT_EQ(mem_.ReadBytes(nullptr, 0, &moved), RC_NULL_ARGUMENT);
  EXPECT_EQ(mem_.WriteBytes(nullptr, 3, &moved), RC_NULL_ARGUMENT);
  EXPECT_EQ(moved, 5u);
}

TEST_F(MemFileTest, SaveWritesUpToThePositionOrTheLength) {
  Prepare(10, 4);
  EXPECT_EQ(mem_.Save(path_.c_str(), 0), RC_OK);
  EXPECT_EQ(ReadWholeFile(path_), "0123");
  EXPECT_EQ(mem_.Save(path_.c_str(), 10), RC_OK);
  EXPECT_EQ(ReadWholeFile(path_), "0123456789");
  EXPECT_EQ(mem_.GetPosition(), 4u);
  EXPECT_EQ(mem_.GetSize(), uint32_t(RC_FILE_NOT_OPEN));  // closed again

  mem_.Seek(0);
  EXPECT_EQ(mem_.Save(path_.c_str(), 0), RC_BAD_LENGTH);
  EXPECT_EQ(ReadWholeFile(path_), "");
  EXPECT_TRUE(PathExists(path_));
}

TEST_F(MemFileTest, SaveRefusesWhatItCannotDoWithoutHarm) {
  Prepare(10, 4);
  WriteWholeFile(path_, "old");
  EXPECT_EQ(mem_.Save(path_.c_str(), 11), RC_OUT_OF_RANGE);
  EXPECT_EQ(ReadWholeFile(path_), "old");
  EXPECT_EQ(mem_.Save(dir_.Path("no\\such\\folder.bin").c_str(), 0), RC_OPEN_FAILED);
  EXPECT_EQ(mem_.Save(nullptr, 0), RC_OPEN_FAILED);

  DiskFile holder;
  ASSERT_EQ(holder.OpenRead(path_.c_str()), RC_OK);
  EXPECT_EQ(mem_.Save(path_.c_str(), 0), RC_OPEN_FAILED);
  holder.Close();
  EXPECT_EQ(ReadWholeFile(path_), "old");
}

TEST_F(MemFileTest, LoadTakesTheWholeFileOrTheLength) {
  std::string bytes(1000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  WriteWholeFile(path_, bytes);
  EXPECT_EQ(mem_.Load(path_.c_str(), 0), RC_OK);
  EXPECT_EQ(mem_.GetCapacity(), 1000u);
  EXPECT_EQ(mem_.GetPosition(), 0u);
  EXPECT_EQ(Contents(), bytes);
  EXPECT_EQ(mem_.GetSize(), uint32_t(RC_FILE_NOT_OPEN));

  EXPECT_EQ(mem_.Load(path_.c_str(), 16), RC_OK);
  EXPECT_EQ(Contents(), bytes.substr(0, 16));
  // Same capacity: the buffer and the position stay; a short file fills the beginning.
  WriteWholeFile(path_, "abc");
  mem_.Seek(5);
  EXPECT_EQ(mem_.Load(path_.c_str(), 16), RC_OK);
  EXPECT_EQ(mem_.GetPosition(), 5u);
  EXPECT_EQ(Contents(), "abc" + bytes.substr(3, 13));
}

TEST_F(MemFileTest, LoadFailuresKeepOrReleaseTheBuffer) {
  Prepare(4, 2);
  EXPECT_EQ(mem_.Load(dir_.Path("missing").c_str(), 0), RC_OPEN_FAILED);
  EXPECT_EQ(mem_.Load(nullptr, 0), RC_OPEN_FAILED);
  EXPECT_EQ(Contents(), "0123");
  EXPECT_EQ(mem_.GetPosition(), 2u);
  WriteWholeFile(path_, "");
  EXPECT_EQ(mem_.Load(path_.c_str(), 0), RC_NULL_ARGUMENT);
  EXPECT_EQ(mem_.GetBuffer(), nullptr);
  EXPECT_EQ(mem_.GetCapacity(), 0u);
}

}  // namespace
