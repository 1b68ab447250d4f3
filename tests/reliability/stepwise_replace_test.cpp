// Replacing a file where MoveFileExA is missing: whichever move or delete fails, the target holds
// the old bytes or the new ones, and a file under one of the aside names is never touched.
#include "app/win32/stepwise_replace.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "faults/fault_sweep.h"
#include "temp/temp_dir.h"

TEST(StepwiseReplace, ReplacesOnlyWhenTheOldFileCanStepAsideUnderAFreeName) {
  TempDir dir;
  const std::string target = dir.Path("tw.ifo"), source = target + ".tmp";
  // ".old" is someone's own: ".old1" serves, and goes again.
  WriteWholeFile(target, "old");
  WriteWholeFile(target + ".old", "the user's");
  WriteWholeFile(source, "new");
  EXPECT_TRUE(ReplaceStepwise(source.c_str(), target.c_str()));
  EXPECT_EQ(ReadWholeFile(target), "new");
  EXPECT_EQ(ReadWholeFile(target + ".old"), "the user's");
  EXPECT_FALSE(PathExists(source) || PathExists(target + ".old1"));
  // No aside name fits beside a target of 256 bytes.
  const std::string longTarget = dir.Path(std::string(255 - dir.path().size(), 'a'));
  WriteWholeFile(longTarget, "old");
  EXPECT_FALSE(ReplaceStepwise(target.c_str(), longTarget.c_str()));
  EXPECT_EQ(ReadWholeFile(longTarget), "old");
}

#ifndef _WIN32
TEST(StepwiseReplace, FailingMovesAndDeletesNeverLoseTheOldBytes) {
  TempDir dir;
  const std::string target = dir.Path("tw.ifo"), source = target + ".tmp", aside = target + ".old";
  SweepFaults({subst::Fault::kFlush, subst::Fault::kMove, subst::Fault::kDelete}, [&](const FaultCase& f) {
    std::remove(aside.c_str());
    WriteWholeFile(target, "old");
    WriteWholeFile(source, "new");
    const bool replaced = ReplaceStepwise(source.c_str(), target.c_str());
    // A failed flush, or a failed move of either file, stops the replacement; when the way back
    // fails too, the old file waits aside.
    EXPECT_EQ(replaced, !(f.Fails(subst::Fault::kMove) && f.nth <= 2) && !f.Fails(subst::Fault::kFlush));
    const bool stuckAside = f.Fails(subst::Fault::kMove) && f.nth == 2 && f.andLater;
    EXPECT_EQ(ReadWholeFile(stuckAside ? aside : target), replaced ? "new" : "old");
    EXPECT_EQ(PathExists(aside), stuckAside || f.Fails(subst::Fault::kDelete));
  });
}
#endif
