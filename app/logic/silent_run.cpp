#include "app/logic/silent_run.h"

#include <cstring>

#include "app/logic/command_line.h"
#include "app/logic/game_folder.h"
#include "app/logic/messages.h"
#include "app/logic/os_check.h"
#include "app/logic/set_command.h"
#include "app/logic/system_host.h"

namespace {

constexpr int kMaxFoldersMade = 16;  // the profile's two chains hold a dozen at most

// Stands between the Set command and the system: it shows nothing, answers the overwrite
// question as the command line says, remembers how the command ended by what it would have
// told the user, and can take away the folders made for a run that failed.
class QuietHost : public SystemHost {
 public:
  QuietHost(SystemHost& system, bool overwrite) : system_(system), overwrite_(overwrite) {}

  int ShowMessageBox(HWND, const char* text, const char*, UINT type) override {
    if ((type & MB_YESNO) == MB_YESNO) {
      declined_ = !overwrite_;
      return overwrite_ ? IDYES : IDNO;
    }
    if (std::strcmp(text, kMessageSetDone) == 0) written_ = true;
    return IDOK;
  }

  bool MakeFolder(const char* path, SECURITY_ATTRIBUTES* security) override {
    if (!system_.MakeFolder(path, security)) return false;
    if (madeCount_ < kMaxFoldersMade) {
      // The chain's paths come from a buffer of this size, so they fit with their terminator.
      const void* end = std::memchr(path, '\0', kPathBufferSize);
      if (end != nullptr) {
        std::memcpy(made_[madeCount_++], path, static_cast<const char*>(end) - path + 1);
      }
    }
    return true;
  }

  ExitCode Outcome() const {
    if (written_) return kExitDone;
    return declined_ ? kExitFileExists : kExitWriteFailed;
  }

  // Deepest first, so each folder is empty by the time its turn comes.
  void RemoveFoldersMade() {
    while (madeCount_ > 0) system_.RemoveFolder(made_[--madeCount_]);
  }

  bool QueryOsVersion(OsVersion& version) override { return system_.QueryOsVersion(version); }
  UINT QueryWindowsDirectory(char* buffer, UINT capacity) override {
    return system_.QueryWindowsDirectory(buffer, capacity);
  }
  bool QueryUserName(char* buffer, DWORD& size) override {
    return system_.QueryUserName(buffer, size);
  }
  bool Exists(const char* path) override { return system_.Exists(path); }
  bool MoveReplacing(const char* source, const char* target) override {
    return system_.MoveReplacing(source, target);
  }
  bool MoveToNewName(const char* source, const char* target) override {
    return system_.MoveToNewName(source, target);
  }
  bool RemoveFile(const char* path) override { return system_.RemoveFile(path); }
  bool RemoveFolder(const char* path) override { return system_.RemoveFolder(path); }
  bool QueryFullFolderPath(const char* path, char* buffer, DWORD capacity) override {
    return system_.QueryFullFolderPath(path, buffer, capacity);
  }

 private:
  SystemHost& system_;
  const bool overwrite_;
  bool declined_ = false;
  bool written_ = false;
  char made_[kMaxFoldersMade][kPathBufferSize] = {};
  int madeCount_ = 0;
};

}  // namespace

int32_t SelectionFromCommandLine(SystemHost& host, const CommandLine& line, Selection& selection) {
  selection.titleIndex = line.titleIndex;
  selection.installMode = line.installMode;
  std::memset(selection.gameFolder, 0, sizeof selection.gameFolder);
  if (line.folderTooLong) return 0;
  if (line.folder[0] == '\0') return 1;
  char full[kPathBufferSize];
  if (!host.QueryFullFolderPath(line.folder, full, sizeof full)) return 0;
  return StoreChosenFolder(full, selection.gameFolder) == FolderChoice::kStored ? 1 : 0;
}

ExitCode RunSilently(SystemHost& host, const CommandLine& line) {
  if (!SelectionFromCommandLine(host, line, g_selection)) return kExitBadFolder;
  QuietHost quiet(host, line.overwrite);
  CheckOperatingSystem(quiet, nullptr);
  RunSetCommand(quiet, nullptr);
  const ExitCode outcome = quiet.Outcome();
  if (outcome != kExitDone) quiet.RemoveFoldersMade();
  return outcome;
}
