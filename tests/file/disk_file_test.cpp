#include "file/disk_file.h"

#include <gtest/gtest.h>

#include <string>

#include "temp_dir.h"

namespace {

using OpenOperation = ResultCode (DiskFile::*)(const char*);

struct OpenMode {
  const char* name;
  OpenOperation open;
  bool createsMissing;
  bool keepsContents;
};

const OpenMode kOpenModes[] = {
    {"CreateReadWrite", &DiskFile::CreateReadWrite, true, false},
    {"OpenReadWrite", &DiskFile::OpenReadWrite, true, true},
    {"OpenRead", &DiskFile::OpenRead, false, true},
    {"CreateWrite", &DiskFile::CreateWrite, true, false},
};

class DiskFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = dir_.Path("data.bin");
  DiskFile file_;
};

TEST_F(DiskFileTest, OpenModesCreateTruncateOrKeep) {
  for (const OpenMode& mode : kOpenModes) {
    SCOPED_TRACE(mode.name);
    std::string missing = dir_.Path(std::string("missing-") + mode.name);
    EXPECT_EQ((file_.*mode.open)(missing.c_str()), mode.createsMissing ? RC_OK : RC_OPEN_FAILED);
    EXPECT_EQ(PathExists(missing), mode.createsMissing);
    EXPECT_EQ(file_.GetSize(), mode.createsMissing ? 0u : uint32_t(RC_FILE_NOT_OPEN));

    WriteWholeFile(path_, "contents");
    ASSERT_EQ((file_.*mode.open)(path_.c_str()), RC_OK);
    EXPECT_EQ(file_.GetFilePosition(), 0);
    EXPECT_EQ(file_.GetSize(), mode.keepsContents ? 8u : 0u);
    file_.Close();
    EXPECT_EQ(ReadWholeFile(path_), mode.keepsContents ? "contents" : "");
  }
}

TEST_F(DiskFileTest, HeldFileIsExclusiveAndNotTruncatedByOthers) {
  WriteWholeFile(path_, "kept");
  ASSERT_EQ(file_.OpenRead(path_.c_str()), RC_OK);
  for (const OpenMode& mode : kOpenModes) {
    SCOPED_TRACE(mode.name);
    DiskFile other;
    EXPECT_EQ((other.*mode.open)(path_.c_str()), RC_OPEN_FAILED);
    EXPECT_EQ(other.GetSize(), uint32_t(RC_FILE_NOT_OPEN));
  }
  file_.Close();
  EXPECT_EQ(ReadWholeFile(path_), "kept");
  DiskFile other;
  EXPECT_EQ(other.OpenReadWrite(path_.c_str()), RC_OK);
}

TEST_F(DiskFileTest, OpeningAnotherFileReleasesTheFirst) {
  std::string second = dir_.Path("second.bin");
  ASSERT_EQ(file_.CreateReadWrite(path_.c_str()), RC_OK);
  ASSERT_EQ(file_.Write("abc", 3), RC_OK);
  ASSERT_EQ(file_.CreateWrite(second.c_str()), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 0);
  DiskFile other;
  EXPECT_EQ(other.OpenRead(path_.c_str()), RC_OK);
  // A failed open leaves the object closed, the earlier file released.
  EXPECT_EQ(file_.OpenRead(dir_.Path("none").c_str()), RC_OPEN_FAILED);
  EXPECT_EQ(file_.Write("x", 1), RC_FILE_NOT_OPEN);
  EXPECT_EQ(other.OpenRead(second.c_str()), RC_OK);
  EXPECT_EQ(file_.OpenRead(nullptr), RC_OPEN_FAILED);
}

TEST_F(DiskFileTest, ChecksRunInOrderOpenBufferCount) {
  char byte = 0;
  EXPECT_EQ(file_.Read(nullptr, 0), RC_FILE_NOT_OPEN);
  EXPECT_EQ(file_.Write(nullptr, 0), RC_FILE_NOT_OPEN);
  EXPECT_EQ(file_.Seek(0), RC_FILE_NOT_OPEN);
  EXPECT_EQ(file_.SeekEnd(), RC_FILE_NOT_OPEN);
  EXPECT_EQ(file_.GetSize(), uint32_t(RC_FILE_NOT_OPEN));
  EXPECT_EQ(file_.Close(), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 0);
  EXPECT_EQ(file_.IsAtEnd(), 0);

  ASSERT_EQ(file_.CreateReadWrite(path_.c_str()), RC_OK);
  EXPECT_EQ(file_.Read(nullptr, 0), RC_NULL_ARGUMENT);
  EXPECT_EQ(file_.Write(nullptr, 5), RC_NULL_ARGUMENT);
  EXPECT_EQ(file_.Read(&byte, 0), RC_BAD_LENGTH);
  EXPECT_EQ(file_.Write(&byte, 0), RC_BAD_LENGTH);
  EXPECT_EQ(file_.GetFilePosition(), 0);
  EXPECT_EQ(file_.IsAtEnd(), 0);
}

TEST_F(DiskFileTest, ShortReadAdvancesByWhatMovedAndEndFlagFollows) {
  WriteWholeFile(path_, std::string(40, 'x'));
  char buffer[100];
  ASSERT_EQ(file_.OpenRead(path_.c_str()), RC_OK);
  EXPECT_EQ(file_.Read(buffer, sizeof buffer), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 40);
  EXPECT_EQ(file_.IsAtEnd(), 0);
  EXPECT_EQ(file_.Read(buffer, sizeof buffer), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 40);
  EXPECT_EQ(file_.IsAtEnd(), 1);
  // A failed seek clears the flag too and keeps the position.
  EXPECT_EQ(file_.Seek(-1), RC_FAILED);
  EXPECT_EQ(file_.IsAtEnd(), 0);
  EXPECT_EQ(file_.GetFilePosition(), 40);
  EXPECT_EQ(file_.Seek(30), RC_OK);
  EXPECT_EQ(file_.Read(buffer, sizeof buffer), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 40);
  EXPECT_EQ(file_.Close(), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 0);
}

TEST_F(DiskFileTest, WritesSeeksAndReadsBack) {
  ASSERT_EQ(file_.CreateReadWrite(path_.c_str()), RC_OK);
  ASSERT_EQ(file_.Write("hello world", 11), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 11);
  ASSERT_EQ(file_.Seek(6), RC_OK);
  ASSERT_EQ(file_.Write("WORLD", 5), RC_OK);
  EXPECT_EQ(file_.SeekEnd(), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 11);
  ASSERT_EQ(file_.Write("!", 1), RC_OK);
  EXPECT_EQ(file_.GetSize(), 12u);
  char text[13] = {};
  ASSERT_EQ(file_.Seek(0), RC_OK);
  ASSERT_EQ(file_.Read(text, 12), RC_OK);
  EXPECT_STREQ(text, "hello WORLD!");
  file_.Close();
  EXPECT_EQ(ReadWholeFile(path_), "hello WORLD!");
}

TEST_F(DiskFileTest, AccessRightsOfTheModeHold) {
  WriteWholeFile(path_, "abc");
  char byte = 'z';
  ASSERT_EQ(file_.OpenRead(path_.c_str()), RC_OK);
  EXPECT_EQ(file_.Write(&byte, 1), RC_IO_FAILED);
  EXPECT_EQ(file_.GetFilePosition(), 0);
  EXPECT_EQ(file_.IsAtEnd(), 0);
  ASSERT_EQ(file_.CreateWrite(path_.c_str()), RC_OK);
  EXPECT_EQ(file_.Read(&byte, 1), RC_IO_FAILED);
  EXPECT_EQ(file_.GetFilePosition(), 0);
  file_.Close();
  EXPECT_EQ(ReadWholeFile(path_), "");
}

TEST_F(DiskFileTest, ShiftJisNameWithBackslashTrailByte) {
  // "表" is 0x95 0x5C: its trail byte must not split the name.
  std::string name = dir_.Path("表示.txt");
  ASSERT_EQ(file_.CreateWrite(name.c_str()), RC_OK);
  ASSERT_EQ(file_.Write("ok", 2), RC_OK);
  file_.Close();
  EXPECT_EQ(ReadWholeFile(name), "ok");
  EXPECT_EQ(file_.OpenRead(name.c_str()), RC_OK);
  EXPECT_EQ(file_.GetSize(), 2u);
}

}  // namespace
