#pragma once
// A SystemHost whose user and system are scripted: it records the texts it is asked to show and
// the folders it is asked to make, answers the question with `answer`, and reports the version,
// Windows directory and user name it is given. Files and folders go to the platform.
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "app/logic/system_host.h"
#include "temp/temp_dir.h"

inline HWND const kDialog = reinterpret_cast<HWND>(0xD1AULL);

class FakeHost : public SystemHost {
 public:
  bool QueryOsVersion(OsVersion& out) override { out = version; return true; }
  // A box owned by anything but the dialog would not be modal to it.
  int ShowMessageBox(HWND owner, const char* text, const char*, UINT type) override {
    shown.push_back(owner == kDialog ? text : std::string("unowned: ") + text);
    return (type & MB_YESNO) == MB_YESNO ? answer : IDOK;
  }
  // An empty directory is the call failing.
  UINT QueryWindowsDirectory(char* buffer, UINT capacity) override {
    const bool fits = windowsDirectory.size() < capacity;
    if (fits) std::strcpy(buffer, windowsDirectory.c_str());
    return static_cast<UINT>(windowsDirectory.size() + (fits ? 0 : 1));
  }
  bool QueryUserName(char* buffer, DWORD& size) override {
    const bool fits = userName.size() < size;
    if (fits) std::strcpy(buffer, userName.c_str());
    size = static_cast<DWORD>(userName.size() + 1);
    return fits;
  }
  // A path off the drives would land wherever the process runs: shown, so the tests see it.
  bool Exists(const char* path) override {
    if (path[0] == '\0' || path[1] != ':') shown.push_back(std::string("off the drives: ") + path);
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
  }
  bool MoveReplacing(const char* from, const char* to) override {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  bool MoveToNewName(const char* from, const char* to) override {
    return MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH);
  }
  bool RemoveFile(const char* path) override { return DeleteFileA(path); }
  bool MakeFolder(const char* path, SECURITY_ATTRIBUTES* security) override {
    folders.push_back(path);
    return CreateDirectoryA(path, security);
  }
  bool RemoveFolder(const char* path) override { return RemoveDirectoryA(path); }
  // Drive paths are already full; the substitute knows no current folder.
  bool QueryFullFolderPath(const char* path, char* buffer, DWORD capacity) override {
    const DWORD attributes = GetFileAttributesA(path);
    if (std::strlen(path) >= capacity || attributes == INVALID_FILE_ATTRIBUTES) return false;
    std::strcpy(buffer, path);
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  OsVersion version;
  std::string windowsDirectory = "X:\\WINDOWS";
  std::string userName = "taro";
  int answer = IDYES;
  std::vector<std::string> shown;    // "unowned: " before a text whose box had another owner
  std::vector<std::string> folders;  // in the order asked
};

// Everything under a folder: files with their bytes, folders as "/".
inline std::map<std::string, std::string> TreeUnder(const std::string& root) {
  std::map<std::string, std::string> tree;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
    tree[e.path().string().substr(root.size() + 1)] = e.is_directory() ? "/" : ReadWholeFile(e.path());
  }
  return tree;
}
