#include "app/set_command.h"

#include <cstring>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/path_validation.h"
#include "app/system_host.h"
#include "file/sjis_string.h"
#include "file/text_file.h"

namespace {

struct TitleRow {
  const char* fileName;
  const char* standardComponents;
  const char* allComponents;
};

constexpr TitleRow kTitles[] = {
    {"tw.ifo", "0 1 ", "0 1 10 "},
    {"ox.ifo", "0 1 2 ", "0 1 2 10 "},
    {"quil.ifo", "0 1 2 ", "0 1 2 10 11 "},
};

constexpr uint32_t kTextCapacity = 280;  // 259-byte folder, CR LF and the longest list fit
constexpr char kTempSuffix[] = ".tmp";

const TitleRow& RowFor(int32_t titleIndex) {
  if (titleIndex == 0) return kTitles[0];
  if (titleIndex == 1) return kTitles[1];
  return kTitles[2];
}

const char* ComponentsFor(const TitleRow& row, int32_t installMode) {
  return installMode == 0 ? row.standardComponents : row.allComponents;
}

// A NUL-terminated path in a fixed buffer that refuses, whole, anything that would not fit.
class PathBuffer {
 public:
  bool Append(const char* text) { return AppendBytes(text, std::strlen(text)); }

  bool AppendBytes(const char* bytes, size_t count) {
    if (count >= sizeof(bytes_) - length_) return false;
    std::memcpy(bytes_ + length_, bytes, count);
    length_ += count;
    bytes_[length_] = '\0';
    return true;
  }

  // Lets a platform call write at the end; Adopt then takes in what it wrote.
  char* Tail() { return bytes_ + length_; }
  size_t SpaceLeft() const { return sizeof(bytes_) - length_; }
  void Adopt() { length_ += strnlen(Tail(), SpaceLeft() - 1); bytes_[length_] = '\0'; }

  const char* Text() const { return bytes_; }
  size_t Length() const { return length_; }

 private:
  char bytes_[kPathBufferSize] = {};
  size_t length_ = 0;
};

struct InstallPaths {
  PathBuffer information;
  PathBuffer temporaryFile;  // beside the information file, moved over it when complete
  PathBuffer temporaryFolder;
};

bool AppendUserName(SystemHost& host, PathBuffer& path) {
  DWORD size = static_cast<DWORD>(path.SpaceLeft());
  if (!host.QueryUserName(path.Tail(), size)) return false;
  const size_t before = path.Length();
  path.Adopt();
  return path.Length() > before;
}

// The profile folder keeps the drive of the Windows directory ("C:\").
bool BuildProfileFolders(SystemHost& host, const char* windowsDirectory, size_t length,
                         InstallPaths& paths) {
  PathBuffer user;
  if (length < 3 || !user.AppendBytes(windowsDirectory, 3) ||
      !user.Append("Documents and Settings\\") || !AppendUserName(host, user)) {
    return false;
  }
  paths.information = user;
  paths.temporaryFolder = user;
  return paths.information.Append("\\Application Data\\Vorn\\") &&
         paths.temporaryFolder.Append("\\Local Settings\\Temp\\");
}

// false when the system's answers are unusable or a path would not fit its buffer.
bool BuildPaths(SystemHost& host, bool profile, const char* fileName, InstallPaths& paths) {
  char windowsDirectory[kPathBufferSize] = {};
  const UINT length = host.QueryWindowsDirectory(windowsDirectory, kPathBufferSize);
  if (length == 0 || length >= kPathBufferSize) return false;

  const bool folderBuilt =
      profile ? BuildProfileFolders(host, windowsDirectory, length, paths)
              : paths.information.AppendBytes(windowsDirectory, length) &&
                    paths.information.Append("\\");
  if (!folderBuilt || !paths.information.Append(fileName)) return false;
  paths.temporaryFile = paths.information;
  return paths.temporaryFile.Append(kTempSuffix);
}

ResultCode BuildContent(const char* gameFolder, const char* components) {
  ResultCode result = g_textFile.AllocateZeroed(kTextCapacity);
  if (result == RC_OK) result = g_textFile.WriteLine(gameFolder);
  if (result == RC_OK) result = g_textFile.WriteString(components);
  return result;
}

// The content goes to a temporary file beside the information file, which then replaces the
// old one in a single move: a failure at any step leaves the old file whole. Only a file the
// user agreed to replace is replaced; one that the existence test missed stays.
bool WriteInformationFile(SystemHost& host, const char* components, const InstallPaths& paths,
                          bool replacing) {
  const char* temporary = paths.temporaryFile.Text();
  ResultCode result = BuildContent(g_selection.gameFolder, components);
  if (result == RC_OK) {
    result = g_textFile.SaveTextFlushed(temporary);
    // After a refused open nothing under the temporary name is ours to remove.
    if (result != RC_OK && result != RC_OPEN_FAILED) host.RemoveFile(temporary);
  }
  g_textFile.SetPosition(0);
  g_textFile.Free();
  if (result != RC_OK) return false;

  const char* target = paths.information.Text();
  if (replacing ? host.MoveReplacing(temporary, target) : host.MoveToNewName(temporary, target))
    return true;
  host.RemoveFile(temporary);
  return false;
}

bool GameFolderIsUsable() {
  return std::memchr(g_selection.gameFolder, '\0', sizeof(g_selection.gameFolder)) != nullptr;
}

void ShowError(SystemHost& host, HWND owner, const char* text) {
  host.ShowMessageBox(owner, text, kCaptionError, MB_ICONERROR);
}

bool UserAllowsOverwrite(SystemHost& host, HWND owner) {
  return host.ShowMessageBox(owner, kMessageAskOverwrite, kCaptionOverwrite,
                             MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

}  // namespace

void RunSetCommand(SystemHost& host, HWND owner) {
  if (g_selection.gameFolder[0] == '\0') {
    ShowError(host, owner, kMessageNoGameFolder);
    return;
  }

  const TitleRow& row = RowFor(g_selection.titleIndex);
  SjisString components;
  components.Assign(ComponentsFor(row, g_selection.installMode));

  const bool profile = g_profileFolderFlag == 1;
  InstallPaths paths;
  if (!GameFolderIsUsable() || !BuildPaths(host, profile, row.fileName, paths)) {
    ShowError(host, owner, kMessageWriteFailed);
    return;
  }
  if (profile) {
    CreateFolderChain(host, paths.information.Text());
    CreateFolderChain(host, paths.temporaryFolder.Text());
  }

  const bool replacing = host.Exists(paths.information.Text());
  if (replacing && !UserAllowsOverwrite(host, owner)) return;

  if (!WriteInformationFile(host, components.GetText(), paths, replacing)) {
    ShowError(host, owner, kMessageWriteFailed);
    return;
  }
  host.ShowMessageBox(owner, kMessageSetDone, kCaptionDone, MB_OK);
}
