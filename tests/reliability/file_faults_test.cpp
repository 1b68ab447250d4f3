// The file classes when platform calls fail: each call of each operation fails in turn. The
// result must name the failure, success must mean the bytes arrived, and no handle or block
// may be left behind (LeakSanitizer checks the blocks at exit).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "faults/fault_sweep.h"
#include "file/sjis_string.h"
#include "file/text_file.h"
#include "subst/file_hooks.h"
#include "temp/temp_dir.h"

namespace {

using subst::Fault;

std::string BufferOf(const MemFile& file) {
  return std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetCapacity());
}

void ExpectClosed(const DiskFile& file) {
  EXPECT_EQ(subst::OpenFileHandles(), 0);
  EXPECT_EQ(file.GetSize(), static_cast<uint32_t>(RC_FILE_NOT_OPEN));
  EXPECT_EQ(file.GetFilePosition(), 0);
  EXPECT_EQ(file.IsAtEnd(), 0);
}

TEST(FileFaults, SaveReportsEveryFailureAndSuccessMeansTheBytesArrived) {
  TempDir dir;
  const std::string path = dir.Path("out.bin");
  const std::string content = "new content\r\n0 1 ";
  SweepFaults({Fault::kOpen, Fault::kSeek, Fault::kWrite, Fault::kClose}, [&](const FaultCase& f) {
    WriteWholeFile(path, "old");
    MemFile file;
    file.Allocate(static_cast<uint32_t>(content.size()));
    file.WriteBytes(content.data(), static_cast<uint32_t>(content.size()), nullptr);
    const ResultCode rc = file.Save(path.c_str(), 0);

    // A failed rewind changes nothing: a file created afresh is already at its start.
    const ResultCode expected = f.Fails(Fault::kOpen)    ? RC_OPEN_FAILED
                                : f.Fails(Fault::kWrite) ? RC_IO_FAILED
                                : f.Fails(Fault::kClose) ? RC_IO_FAILED
                                                         : RC_OK;
    EXPECT_EQ(rc, expected);
    if (rc == RC_OK) {
      EXPECT_EQ(ReadWholeFile(path), content);
    }
    if (f.Fails(Fault::kOpen)) {
      EXPECT_EQ(ReadWholeFile(path), "old");
    }
    EXPECT_EQ(BufferOf(file), content);
    ExpectClosed(file);
  });
}

TEST(FileFaults, LoadReportsEveryFailureAndSuccessMeansTheWholeFile) {
  TempDir dir;
  const std::string path = dir.Path("in.bin");
  const std::string content(300, 'x');
  WriteWholeFile(path, content);
  SweepFaults(
      {Fault::kOpen, Fault::kSize, Fault::kHeapAlloc, Fault::kSeek, Fault::kRead, Fault::kClose},
      [&](const FaultCase& f) {
        // The first block is the one loaded over, the second the file's.
        const bool firstBlockFails = f.Fails(Fault::kHeapAlloc) && f.nth == 1;
        const bool fileBlockFails = f.Fails(Fault::kHeapAlloc) && (f.nth == 2 || f.andLater);
        TextFile file;
        file.AllocateZeroed(8);
        file.WriteString("kept");
        const ResultCode rc = file.LoadText(path.c_str());

        // The size, not known, must not become a buffer of 4 GiB read as success.
        const ResultCode expected = f.Fails(Fault::kOpen)   ? RC_OPEN_FAILED
                                    : f.Fails(Fault::kSize) ? RC_IO_FAILED
                                    : fileBlockFails        ? RC_NULL_ARGUMENT
                                    : f.Fails(Fault::kRead) ? RC_IO_FAILED
                                                            : RC_OK;
        EXPECT_EQ(rc, expected);
        if (rc == RC_OK) {
          EXPECT_EQ(BufferOf(file), content);
        }
        if ((f.Fails(Fault::kOpen) || f.Fails(Fault::kSize)) && !firstBlockFails) {
          EXPECT_EQ(BufferOf(file), std::string("kept\0\0\0\0", 8));
          EXPECT_EQ(file.GetPosition(), 4u);
        }
        if (fileBlockFails) {
          EXPECT_EQ(file.GetBuffer(), nullptr);
        }
        ExpectClosed(file);
      });
}

// What the Set command does with the global TextFile, with no buffer to be had among the cases:
// nothing may reach the disk then.
TEST(FileFaults, SetCommandSequenceWritesAllOrReportsFailure) {
  TempDir dir;
  const std::string path = dir.Path("tw.ifo");
  SweepFaults({Fault::kHeapAlloc, Fault::kOpen, Fault::kSeek, Fault::kWrite, Fault::kFlush,
               Fault::kClose},
              [&](const FaultCase& f) {
                std::remove(path.c_str());
                TextFile text;
                ResultCode rc = text.AllocateZeroed(280);
                if (rc == RC_OK) rc = text.WriteLine("D:\\Games\\Tarnwick\\");
                if (rc == RC_OK) rc = text.WriteString("0 1 10 ");
                if (rc == RC_OK) rc = text.SaveTextFlushed(path.c_str());
                text.SetPosition(0);
                text.Free();

                const bool fails = f.kind && !f.Fails(Fault::kSeek);
                EXPECT_EQ(rc == RC_OK, !fails) << rc;
                if (rc == RC_OK) {
                  EXPECT_EQ(ReadWholeFile(path), "D:\\Games\\Tarnwick\\\r\n0 1 10 ");
                }
                if (f.Fails(Fault::kHeapAlloc)) {
                  EXPECT_EQ(rc, RC_NO_BUFFER);
                  EXPECT_FALSE(PathExists(path));
                }
                EXPECT_EQ(text.GetBuffer(), nullptr);
                ExpectClosed(text);
              });
}

TEST(FileFaults, DiskFileCallsReportTheirOwnFailureAndKeepTheirBookkeeping) {
  TempDir dir;
  const std::string path = dir.Path("disk.bin");
  SweepFaults(
      {Fault::kOpen, Fault::kWrite, Fault::kSeek, Fault::kRead, Fault::kSize, Fault::kClose},
      [&](const FaultCase& f) {
        std::remove(path.c_str());
        DiskFile file;
        const ResultCode opened = file.CreateReadWrite(path.c_str());
        EXPECT_EQ(opened, f.Fails(Fault::kOpen) ? RC_OPEN_FAILED : RC_OK);
        if (opened != RC_OK) return ExpectClosed(file);

        const bool writeFails = f.Fails(Fault::kWrite);
        EXPECT_EQ(file.Write("abcdef", 6), writeFails ? RC_IO_FAILED : RC_OK);
        EXPECT_EQ(file.GetFilePosition(), writeFails ? 0 : 6);

        const bool seekFails = f.Fails(Fault::kSeek) && f.nth == 1;
        EXPECT_EQ(file.Seek(1), seekFails ? RC_FAILED : RC_OK);
        EXPECT_EQ(file.GetFilePosition(), seekFails ? (writeFails ? 0 : 6) : 1);
        EXPECT_EQ(file.IsAtEnd(), 0);

        char got[8] = {};
        const bool readFails = f.Fails(Fault::kRead);
        const int32_t before = file.GetFilePosition();
        EXPECT_EQ(file.Read(got, 8), readFails ? RC_IO_FAILED : RC_OK);
        if (readFails) {
          EXPECT_EQ(file.GetFilePosition(), before);
        }
        if (!f.kind) {
          EXPECT_STREQ(got, "bcdef");
        }

        const uint32_t size = file.GetSize();
        if (f.Fails(Fault::kSize) && f.nth == 1) {
          EXPECT_EQ(size, INVALID_FILE_SIZE);
        } else if (!writeFails) {
          EXPECT_EQ(size, 6u);
        }
        const ResultCode ended = file.SeekEnd();
        const bool endSeekFails = f.Fails(Fault::kSeek) && (f.nth == 2 || f.andLater);
        EXPECT_EQ(ended, endSeekFails ? RC_FAILED : RC_OK);

        // A close the platform refuses is reported, yet the handle is gone.
        EXPECT_EQ(file.Close(), f.Fails(Fault::kClose) ? RC_IO_FAILED : RC_OK);
        ExpectClosed(file);
        EXPECT_EQ(file.Close(), RC_OK);
      });
}

TEST(FileFaults, SjisStringWithoutMemoryIsEmptyAndRecovers) {
  SweepFaults({Fault::kGlobalAlloc}, [](const FaultCase& f) {
    SjisString s;
    s.Assign(
        "\x82\xA0"
        "AB");
    s = "0 1 2 10 11 ";
    if (!f.kind) {
      EXPECT_STREQ(s.GetText(), "0 1 2 10 11 ");
      return;
    }
    // Each block is made afresh: whichever failed, the last one decides.
    const bool lastFailed = f.andLater || f.nth == 3;
    EXPECT_EQ(s.GetText() == nullptr, lastFailed);
    EXPECT_EQ(s.GetLength(), lastFailed ? 0 : 12);
    EXPECT_EQ(s.CharKind(0), lastFailed ? SjisString::kOutside : SjisString::kSingleByte);
    subst::ClearFaults();
    s.Assign("\x82\xA0");
    EXPECT_EQ(s.GetCharCount(), 1);
  });
}

}  // namespace
