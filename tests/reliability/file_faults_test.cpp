// Every platform call of saving, loading and assigning fails in turn: the operation reports it,
// success means the bytes arrived, and no handle is left open (LeakSanitizer checks the blocks
// at exit).
#include <gtest/gtest.h>

#include <string>

#include "faults/fault_sweep.h"
#include "file/disk_file.h"
#include "file/sjis_string.h"
#include "file/text_file.h"
#include "subst/file_hooks.h"
#include "temp/temp_dir.h"

using subst::Fault;

static std::string Bytes(const MemFile& file) {
  return {reinterpret_cast<const char*>(file.GetBuffer()), file.GetCapacity()};
}

TEST(FileFaults, EveryFailingCallIsReportedAndSuccessMeansTheBytesArrived) {
  TempDir dir;
  const std::string saved = dir.Path("tw.ifo"), loaded = dir.Path("in.bin");
  const std::string text = "D:\\表示\\\r\n0 1 10 ", bytes(300, 'x');
  WriteWholeFile(loaded, bytes);
  SweepFaults({Fault::kHeapAlloc, Fault::kOpen, Fault::kWrite, Fault::kFlush, Fault::kClose,
               Fault::kSize, Fault::kRead, Fault::kGlobalAlloc},
              [&](const FaultCase& f) {
    auto calls = [&] { return f.kind ? subst::CallsOf(*f.kind) : 0; };
    // Whether the planned failure struck a call made since there were `before` calls.
    auto struck = [&](int32_t before) {
      return calls() >= f.nth && (f.andLater ? calls() > before : before < f.nth);
    };
    TextFile file;
    int32_t before = calls();
    ResultCode rc = file.AllocateZeroed(64);
    if (rc == RC_OK) rc = file.WriteString(text.c_str());
    if (rc == RC_OK) rc = file.SaveTextFlushed(saved.c_str());
    EXPECT_EQ(rc != RC_OK, struck(before));
    if (rc == RC_OK) { EXPECT_EQ(ReadWholeFile(saved), text); }

    const std::string kept = Bytes(file);
    before = calls();
    rc = file.LoadText(loaded.c_str());
    EXPECT_EQ(rc != RC_OK, struck(before) && !f.Fails(Fault::kClose));  // the bytes are in
    const bool stays = f.Fails(Fault::kOpen) || f.Fails(Fault::kSize);  // the old block's kept
    if (rc == RC_OK || stays) { EXPECT_EQ(Bytes(file), rc == RC_OK ? bytes : kept); }
    EXPECT_EQ(subst::OpenFileHandles(), 0);

    SjisString s;
    before = calls();
    s = "\x82\xA0" "AB";
    EXPECT_EQ(s.GetText() == nullptr, struck(before));
  });
}

TEST(FileFaults, SeekEndGivesTheSizeOrReportsTheFailedSeek) {
  TempDir dir;
  const std::string path = dir.Path("f.bin");
  WriteWholeFile(path, std::string(300, 'x'));
  SweepFaults({Fault::kSize, Fault::kSeek}, [&](const FaultCase& f) {
    DiskFile file;
    ASSERT_EQ(file.OpenRead(path.c_str()), RC_OK);
    const ResultCode rc = file.SeekEnd();
    EXPECT_EQ(rc, f.Fails(Fault::kSeek) ? RC_FAILED : RC_OK);
    if (rc == RC_OK) { EXPECT_EQ(file.GetFilePosition(), 300); }
  });
}
