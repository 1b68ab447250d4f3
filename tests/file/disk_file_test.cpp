#include "file/disk_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "temp/temp_dir.h"

TEST(DiskFile, OpenModesCreateTruncateOrKeepAndHoldTheFileAlone) {
  struct Mode { ResultCode (DiskFile::*open)(const char*); bool createsMissing, keepsContents; };
  const Mode modes[] = {
      {&DiskFile::CreateReadWrite, true, false}, {&DiskFile::OpenReadWrite, true, true},
      {&DiskFile::OpenRead, false, true}, {&DiskFile::CreateWrite, true, false}};
  TempDir dir;
  const std::string path = dir.Path("表示.bin");  // trail byte 0x5C: not a separator
  for (const Mode& mode : modes) {
    const std::string fresh = dir.Path("new" + std::to_string(&mode - modes));
    SCOPED_TRACE(fresh);
    DiskFile file, other;
    EXPECT_EQ((file.*mode.open)(fresh.c_str()), mode.createsMissing ? RC_OK : RC_OPEN_FAILED);
    WriteWholeFile(path, "contents");
    ASSERT_EQ((file.*mode.open)(path.c_str()), RC_OK);
    EXPECT_EQ(file.GetSize(), mode.keepsContents ? 8u : 0u);
    for (const Mode& second : modes)  // no other opener gets the held file, nor truncates it
      EXPECT_EQ((other.*second.open)(path.c_str()), RC_OPEN_FAILED);
    EXPECT_EQ(other.OpenRead(fresh.c_str()), mode.createsMissing ? RC_OK : RC_OPEN_FAILED);
    file.Close();
    EXPECT_EQ(ReadWholeFile(path), mode.keepsContents ? "contents" : "");
  }
}

// The platform's failures of each call are file_faults_test's part.
TEST(DiskFile, TransfersCheckTheirArgumentsAndKeepThePositionAndEndFlag) {
  TempDir dir;
  const std::string path = dir.Path("a.bin");
  DiskFile file;
  char text[16] = {};
  auto where = [&] { return std::pair(file.GetFilePosition(), file.IsAtEnd()); };
  for (ResultCode rc : {file.Read(text, 1), file.Write(text, 1), file.Seek(0), file.SeekEnd(),
                        file.Flush(), ResultCode(file.GetSize())})
    EXPECT_EQ(rc, RC_FILE_NOT_OPEN);
  ASSERT_EQ(file.CreateReadWrite(path.c_str()), RC_OK);
  EXPECT_EQ(file.Read(nullptr, 0), RC_NULL_ARGUMENT);
  EXPECT_EQ(file.Write(text, 0), RC_BAD_LENGTH);
  ASSERT_EQ(file.Write("hello world", 11), RC_OK);
  ASSERT_EQ(file.Seek(2), RC_OK);
  EXPECT_EQ(file.Read(text, sizeof text), RC_OK);  // short: not an error
  EXPECT_STREQ(text, "llo world");
  EXPECT_EQ(file.Read(text, sizeof text), RC_OK);
  EXPECT_EQ(where(), std::pair(11, 1));
  EXPECT_EQ(file.Seek(-1), RC_FAILED);  // clears the flag all the same
  EXPECT_EQ(where(), std::pair(11, 0));
  ASSERT_EQ(file.OpenRead(path.c_str()), RC_OK);
  EXPECT_EQ(file.Write(text, 1), RC_IO_FAILED);  // the mode's access holds
  EXPECT_EQ(where(), std::pair(0, 0));
}
