// Replacing a file where MoveFileExA is missing: whichever move or delete fails, the target holds
// the old bytes or the new ones; only when even putting the old file back fails is it aside.
#include "app/win32/stepwise_replace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "temp/temp_dir.h"
#ifndef _WIN32
#include "faults/fault_sweep.h"
#endif

namespace {

class StepwiseReplace : public ::testing::Test {
 protected:
  void Arrange() {
    std::remove(aside_.c_str());
    WriteWholeFile(target_, "old");
    WriteWholeFile(source_, "new");
  }

  TempDir dir_;
  const std::string target_ = dir_.Path("tw.ifo");
  const std::string source_ = dir_.Path("tw.ifo.tmp");
  const std::string aside_ = dir_.Path("tw.ifo.old");
};

// A "<target>.old" that is already there may be the user's own: it stays as it was.
TEST_F(StepwiseReplace, NewFileTakesTheNameAndAnExistingOldFileIsKept) {
  Arrange();
  WriteWholeFile(aside_, "the user's");
  EXPECT_TRUE(ReplaceStepwise(source_.c_str(), target_.c_str()));
  EXPECT_EQ(ReadWholeFile(target_), "new");
  EXPECT_FALSE(PathExists(source_));
  EXPECT_EQ(ReadWholeFile(aside_), "the user's");
  EXPECT_FALSE(PathExists(aside_ + "1"));
}

TEST_F(StepwiseReplace, MissingSourceLeavesTheOldFile) {
  WriteWholeFile(target_, "old");
  EXPECT_FALSE(ReplaceStepwise(source_.c_str(), target_.c_str()));
  EXPECT_EQ(ReadWholeFile(target_), "old");
  EXPECT_FALSE(PathExists(aside_));
}

#ifndef _WIN32
TEST_F(StepwiseReplace, FailingMovesAndDeletesNeverLoseTheOldBytes) {
  SweepFaults({subst::Fault::kFlush, subst::Fault::kMove, subst::Fault::kDelete},
              [&](const FaultCase& f) {
    Arrange();
    const bool replaced = ReplaceStepwise(source_.c_str(), target_.c_str());
    // Only a failed flush of the new file, or a failed move of it or of the old one aside,
    // stops the replacement.
    const bool moveStops = f.Fails(subst::Fault::kMove) && f.nth <= 2;
    EXPECT_EQ(replaced, !moveStops && !f.Fails(subst::Fault::kFlush));
    const bool oldStaysAside = f.Fails(subst::Fault::kMove) && f.nth == 2 && f.andLater;
    if (oldStaysAside) {
      EXPECT_FALSE(PathExists(target_));
      EXPECT_EQ(ReadWholeFile(aside_), "old");
      return;
    }
    EXPECT_EQ(ReadWholeFile(target_), replaced ? "new" : "old");
    if (!f.Fails(subst::Fault::kDelete)) {
      EXPECT_FALSE(PathExists(aside_));
    }
  });
}
#endif

}  // namespace
