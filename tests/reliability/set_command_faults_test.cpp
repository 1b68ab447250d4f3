// The Set command while the system fails it: each platform call it makes fails in turn (and,
// separately, every later call of that kind too). Whatever fails, the install information
// file is either the new one, with the completion message, or exactly what it was before,
// with the write-error message; no handle, block or temporary file is left behind.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/logic/app_state.h"
#include "app/logic/set_command.h"
#include "host/recorded_messages.h"
#include "faults/fault_sweep.h"
#include "file/text_file.h"
#include "subst/file_hooks.h"
#include "temp/temp_dir.h"

namespace fs = std::filesystem;

namespace {

using subst::Fault;

const std::string kGameFolder = "D:\\Games\\表示\\";
const std::string kNewContent = kGameFolder + "\r\n0 1 10 ";
const std::string kOldContent = "E:\\Old\\\r\n0 1 ";

struct Setup {
  bool profile;
  bool oldFile;
};

class SetCommandFaults : public ::testing::TestWithParam<Setup> {
 protected:
  void SetUp() override {
    subst::SetDriveRoot(root_.path().c_str());
    g_profileFolderFlag = GetParam().profile ? 1 : 0;
    g_selection.titleIndex = 0;
    g_selection.installMode = 1;
    std::memset(g_selection.gameFolder, 0, sizeof g_selection.gameFolder);
    std::memcpy(g_selection.gameFolder, kGameFolder.data(), kGameFolder.size());
  }
  void TearDown() override {
    subst::StopDiskModel();
    subst::SetDriveRoot(nullptr);
    g_selection = Selection();
    g_profileFolderFlag = 0;
  }

  std::string Folder() const {
    return GetParam().profile ? "X/Documents and Settings/taro/Application Data/Vorn" : "X/WINDOWS";
  }
  std::string InfoFile() const { return root_.Path(Folder() + "/tw.ifo"); }

  // X:\WINDOWS, and the old file where the case wants one.
  void ResetDisk() {
    for (const auto& entry : fs::directory_iterator(root_.path())) fs::remove_all(entry.path());
    fs::create_directories(root_.Path("X/WINDOWS"));
    if (!GetParam().oldFile) return;
    fs::create_directories(root_.Path(Folder()));
    WriteWholeFile(InfoFile(), kOldContent);
  }

  // The single outcome a run may have; the file and the messages must agree with it.
  void ExpectWholeOutcome(const FakeHost& host, bool deleteFailed) {
    ASSERT_FALSE(host.messages.empty());
    const std::string& last = host.messages.back().text;
    const bool done = last == kDone;
    EXPECT_TRUE(done || last == kFailed) << last;
    if (done) {
      EXPECT_EQ(ReadWholeFile(InfoFile()), kNewContent);
    } else if (GetParam().oldFile) {
      EXPECT_EQ(ReadWholeFile(InfoFile()), kOldContent);
    } else {
      EXPECT_FALSE(PathExists(InfoFile()));
    }
    const bool asked = host.messages.size() == 2 && host.messages[0].text == kAsk;
    EXPECT_TRUE(host.messages.size() == 1 || asked);
    // Replacing a file the user was not asked about would lose it without a word.
    if (GetParam().oldFile && !asked) {
      EXPECT_EQ(ReadWholeFile(InfoFile()), kOldContent);
    }
    if (!deleteFailed) {
      EXPECT_FALSE(PathExists(InfoFile() + ".tmp"));
    }
    EXPECT_EQ(subst::OpenFileHandles(), 0);
    EXPECT_EQ(g_textFile.GetBuffer(), nullptr);
  }

  // The information file the disk holds after the command with the power cut after that many
  // platform calls (-1: never), and the calls made.
  std::optional<std::string> RunWithPowerCut(int32_t cut, std::vector<Fault>* calls = nullptr) {
    ResetDisk();
    subst::StartDiskModel();
    subst::CutPowerAfter(cut);
    FakeHost host;
    RunSetCommand(host, kDialog);
    if (calls) *calls = subst::CallLog();
    std::optional<std::string> onDisk = subst::OnDisk(InfoFile().c_str());
    subst::StopDiskModel();
    return onDisk;
  }

  TempDir root_;
};

TEST_P(SetCommandFaults, EveryPlatformCallFailingInTurn) {
  std::vector<Fault> kinds = {Fault::kAttributes, Fault::kGlobalAlloc, Fault::kHeapAlloc,
                              Fault::kOpen,       Fault::kSeek,        Fault::kWrite,
                              Fault::kClose,      Fault::kFlush,       Fault::kMove};
  // Folders are made only under the profile.
  if (GetParam().profile) kinds.push_back(Fault::kCreateFolder);
  SweepFaults(kinds, [&](const FaultCase& f) {
    ResetDisk();
    FakeHost host;
    RunSetCommand(host, kDialog);
    ExpectWholeOutcome(host, false);
    // A failed rewind of a file created afresh changes nothing.
    if (!f.kind || f.Fails(Fault::kSeek)) {
      ASSERT_FALSE(host.messages.empty());
      EXPECT_EQ(host.messages.back().text, kDone);
    }
  });
}

// The temporary file is removed after a failed write, flush or move; if even that fails, it is the
// only thing left over, and the old file is still whole.
TEST_P(SetCommandFaults, TemporaryFileThatCannotBeRemoved) {
  for (Fault first : {Fault::kWrite, Fault::kFlush, Fault::kClose, Fault::kMove}) {
    SCOPED_TRACE(subst::FaultName(first));
    ResetDisk();
    subst::FaultScope scope;
    subst::FailCallsFrom(first);
    subst::FailCallsFrom(Fault::kDelete);
    FakeHost host;
    RunSetCommand(host, kDialog);
    EXPECT_EQ(subst::CallsOf(Fault::kDelete), 1);
    ExpectWholeOutcome(host, true);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, kFailed);
  }
}

// A file already under the temporary name that cannot be opened is not the command's to remove.
TEST_P(SetCommandFaults, AFileUnderTheTemporaryNameThatCannotBeOpenedStays) {
  ResetDisk();
  fs::create_directories(root_.Path(Folder()));
  WriteWholeFile(InfoFile() + ".tmp", "someone else's");
  subst::FaultScope scope;
  subst::FailCall(Fault::kOpen);
  FakeHost host;
  RunSetCommand(host, kDialog);
  ExpectWholeOutcome(host, true);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().text, kFailed);
  EXPECT_EQ(ReadWholeFile(InfoFile() + ".tmp"), "someone else's");
}

// Whichever call the power is cut after, the disk holds the whole old file or the whole new one,
// never an empty or partial one, and no file only where there was none.
TEST_P(SetCommandFaults, PowerCutAfterAnyCallLeavesAWholeFile) {
  std::vector<Fault> calls;
  EXPECT_EQ(RunWithPowerCut(-1, &calls), kNewContent);
  // The bytes reach the disk after the last write, before the close and the move.
  std::vector<std::string> fileSteps;
  for (Fault kind : calls)
    if (kind == Fault::kWrite || kind == Fault::kFlush || kind == Fault::kClose ||
        kind == Fault::kMove)
      fileSteps.push_back(subst::FaultName(kind));
  EXPECT_EQ(fileSteps, (std::vector<std::string>{"write", "flush", "close", "move"}));

  for (int32_t cut = 0; cut <= static_cast<int32_t>(calls.size()); ++cut) {
    SCOPED_TRACE("power cut after call " + std::to_string(cut) + " (" +
                 (cut > 0 ? subst::FaultName(calls[cut - 1]) : "none") + ")");
    const std::optional<std::string> onDisk = RunWithPowerCut(cut);
    if (!onDisk) {
      EXPECT_FALSE(GetParam().oldFile) << "the old file is gone";
    } else if (*onDisk != kNewContent) {
      EXPECT_TRUE(GetParam().oldFile && *onDisk == kOldContent) << "holds \"" << *onDisk << '"';
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Destinations, SetCommandFaults,
                         ::testing::Values(Setup{false, false}, Setup{false, true},
                                           Setup{true, false}, Setup{true, true}),
                         [](const ::testing::TestParamInfo<Setup>& setup) {
                           return std::string(setup.param.profile ? "Profile" : "Windows") +
                                  (setup.param.oldFile ? "Replacing" : "New");
                         });

}  // namespace
