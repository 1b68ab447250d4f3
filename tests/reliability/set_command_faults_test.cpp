// The Set command while the system fails it: each platform call it makes fails in turn, or the
// power goes after it. Either the new file is in place with the completion message, or the old
// one (or none, where there was none) is exactly as it was.
#include <gtest/gtest.h>

#include <tuple>

#include "app/logic/app_state.h"
#include "app/logic/messages.h"
#include "app/logic/set_command.h"
#include "faults/fault_sweep.h"
#include "file/text_file.h"
#include "host/fake_host.h"
#include "subst/file_hooks.h"

using subst::Fault;

const std::string kGameFolder = "D:\\Games\\表示\\", kNew = kGameFolder + "\r\n0 1 10 ", kOld = "old";

// Parameters: the file goes into the profile; an old file is there.
class SetCommandFaults : public ::testing::TestWithParam<std::tuple<bool, bool>> {
 protected:
  // A fresh drive and selection, with the old file where the case wants one.
  void Arrange() {
    subst::SetDriveRoot(root_.path().c_str());
    std::filesystem::remove_all(root_.Path("X"));
    std::filesystem::create_directories(root_.Path("X/WINDOWS"));
    if (old_) std::filesystem::create_directories(std::filesystem::path(file_).parent_path());
    if (old_) WriteWholeFile(file_, kOld);
    g_selection = Selection{0, 1, {}};
    kGameFolder.copy(g_selection.gameFolder, kGameFolder.size());
    g_profileFolderFlag = profile_;
  }

  TempDir root_;
  const bool profile_ = std::get<0>(GetParam()), old_ = std::get<1>(GetParam());
  const std::string file_ = root_.Path(profile_ ? "X/Documents and Settings/taro/Application Data/Vorn/tw.ifo"
                                                : "X/WINDOWS/tw.ifo");
};

TEST_P(SetCommandFaults, EveryPlatformCallFailingInTurn) {
  std::vector<Fault> kinds = {Fault::kAttributes, Fault::kGlobalAlloc, Fault::kHeapAlloc, Fault::kOpen,
                              Fault::kSeek, Fault::kWrite, Fault::kClose, Fault::kFlush, Fault::kMove};
  if (profile_) kinds.push_back(Fault::kCreateFolder);
  SweepFaults(kinds, [&](const FaultCase& f) {
    Arrange();
    FakeHost host;
    RunSetCommand(host, kDialog);
    const bool asked = host.shown.size() == 2 && host.shown[0] == kMessageAskOverwrite;
    ASSERT_TRUE(host.shown.size() == 1 || asked);
    // Only a failing call fails the command; a failed rewind of a file made afresh is none.
    const bool done = host.shown.back() == kMessageSetDone;
    EXPECT_TRUE(done || (f.kind && !f.Fails(Fault::kSeek) && host.shown.back() == kMessageWriteFailed));
    // An old file the user was not asked about must stay.
    EXPECT_EQ(PathExists(file_) ? ReadWholeFile(file_) : "none",
              done && (asked || !old_) ? kNew : old_ ? kOld : "none");
    EXPECT_FALSE(PathExists(file_ + ".tmp"));
    EXPECT_EQ(subst::OpenFileHandles(), 0);
    EXPECT_EQ(g_textFile.GetBuffer(), nullptr);
  });
}

// Whichever call the power is cut after, the disk holds the whole old file or the whole new one,
// never an empty or partial one, and no file only where there was none.
TEST_P(SetCommandFaults, PowerCutAfterAnyCallLeavesAWholeFile) {
  size_t calls = 0;
  for (int32_t cut = -1; cut <= static_cast<int32_t>(calls); ++cut) {
    SCOPED_TRACE("power cut after call " + std::to_string(cut));
    Arrange();
    subst::StartDiskModel();
    subst::CutPowerAfter(cut);
    FakeHost host;
    RunSetCommand(host, kDialog);
    if (cut < 0) calls = subst::CallLog().size();
    const std::string onDisk = subst::OnDisk(file_.c_str()).value_or("none");
    subst::StopDiskModel();
    EXPECT_TRUE(onDisk == kNew || (cut >= 0 && onDisk == (old_ ? kOld : "none"))) << onDisk;
  }
}

INSTANTIATE_TEST_SUITE_P(Setups, SetCommandFaults, testing::Combine(testing::Bool(), testing::Bool()));
