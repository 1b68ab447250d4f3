#include "file/disk_file.h"

#include <gtest/gtest.h>

#include <string>

#include "temp/temp_dir.h"

namespace {

struct OpenMode {
  const char* name;
  ResultCode (DiskFile::*open)(const char*);
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
  std::string path_ = dir_.Path("表示.bin");  // trail byte 0x5C: not a separator
  DiskFile file_;
};

TEST_F(DiskFileTest, OpenModesCreateTruncateOrKeepAndHoldTheFileAlone) {
  for (const OpenMode& mode : kOpenModes) {
    SCOPED_TRACE(mode.name);
    std::string fresh = dir_.Path(std::string("new-") + mode.name);
    EXPECT_EQ((file_.*mode.open)(fresh.c_str()), mode.createsMissing ? RC_OK : RC_OPEN_FAILED);
    WriteWholeFile(path_, "contents");
    ASSERT_EQ((file_.*mode.open)(path_.c_str()), RC_OK);
    EXPECT_EQ(file_.GetSize(), mode.keepsContents ? 8u : 0u);
    DiskFile other;  // no other opener gets the held file, nor truncates it
    for (const OpenMode& second : kOpenModes)
      EXPECT_EQ((other.*second.open)(path_.c_str()), RC_OPEN_FAILED);
    EXPECT_EQ(other.OpenRead(fresh.c_str()), mode.createsMissing ? RC_OK : RC_OPEN_FAILED);
    file_.Close();
    EXPECT_EQ(ReadWholeFile(path_), mode.keepsContents ? "contents" : "");
  }
}

TEST_F(DiskFileTest, ChecksRunInOrderOpenFileBufferCount) {
  char byte = 0;
  for (ResultCode rc : {file_.Read(nullptr, 0), file_.Write(nullptr, 0), file_.Seek(0),
                        file_.SeekEnd(), file_.Flush(), ResultCode(file_.GetSize())})
    EXPECT_EQ(rc, RC_FILE_NOT_OPEN);
  EXPECT_EQ(file_.Close(), RC_OK);
  ASSERT_EQ(file_.CreateReadWrite(path_.c_str()), RC_OK);
  EXPECT_EQ(file_.Read(nullptr, 0), RC_NULL_ARGUMENT);
  EXPECT_EQ(file_.Write(&byte, 0), RC_BAD_LENGTH);
  EXPECT_EQ(file_.OpenRead(nullptr), RC_OPEN_FAILED);
  EXPECT_EQ(file_.Write(&byte, 1), RC_FILE_NOT_OPEN);  // the failed open closed it
  ASSERT_EQ(file_.OpenRead(path_.c_str()), RC_OK);
  EXPECT_EQ(file_.Write(&byte, 1), RC_IO_FAILED);  // the mode's access holds
  ASSERT_EQ(file_.CreateWrite(path_.c_str()), RC_OK);
  EXPECT_EQ(file_.Read(&byte, 1), RC_IO_FAILED);
  EXPECT_EQ(file_.GetFilePosition() + file_.IsAtEnd(), 0);
}

TEST_F(DiskFileTest, TransfersMoveThePositionAndSetTheEndFlag) {
  char text[100] = {};
  ASSERT_EQ(file_.CreateReadWrite(path_.c_str()), RC_OK);
  ASSERT_EQ(file_.Write("hello world", 11), RC_OK);
  ASSERT_EQ(file_.Seek(6), RC_OK);
  ASSERT_EQ(file_.Write("WORLD", 5), RC_OK);
  EXPECT_EQ(file_.SeekEnd(), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 11);
  ASSERT_EQ(file_.Seek(2), RC_OK);
  EXPECT_EQ(file_.Read(text, sizeof text), RC_OK);  // short: not an error
  EXPECT_STREQ(text, "llo WORLD");
  EXPECT_EQ(file_.GetFilePosition(), 11);
  EXPECT_EQ(file_.IsAtEnd(), 0);
  EXPECT_EQ(file_.Read(text, sizeof text), RC_OK);
  EXPECT_EQ(file_.IsAtEnd(), 1);
  EXPECT_EQ(file_.Seek(-1), RC_FAILED);  // clears the flag all the same
  EXPECT_EQ(file_.GetFilePosition() + file_.IsAtEnd(), 11);
  EXPECT_EQ(file_.Flush(), RC_OK);
  EXPECT_EQ(file_.Close(), RC_OK);
  EXPECT_EQ(file_.GetFilePosition(), 0);
  EXPECT_EQ(ReadWholeFile(path_), "hello WORLD");
}

}  // namespace
