#include "host/fake_host.h"

#include <cstring>

bool FakeHost::QueryOsVersion(OsVersion& out) {
  if (!versionKnown) return false;
  out = version;
  return true;
}

int FakeHost::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  messages.push_back({owner, text, caption, type});
  return (type & MB_YESNO) == MB_YESNO ? answer : IDOK;
}

UINT FakeHost::QueryWindowsDirectory(char* buffer, UINT capacity) {
  if (windowsDirectoryFails) return 0;
  const UINT length = static_cast<UINT>(windowsDirectory.size());
  if (length + 1 > capacity) return length + 1;
  std::memcpy(buffer, windowsDirectory.c_str(), length + 1);
  return length;
}

bool FakeHost::QueryUserName(char* buffer, DWORD& size) {
  const DWORD needed = static_cast<DWORD>(userName.size() + 1);
  if (userNameFails || needed > size) {
    size = needed;
    return false;
  }
  std::memcpy(buffer, userName.c_str(), needed);
  size = needed;
  return true;
}

bool FakeHost::Exists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool FakeHost::MoveReplacing(const char* source, const char* target) {
  moves.push_back(std::string(source) + ">" + target);
  if (moveFails) return false;
  return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool FakeHost::MoveToNewName(const char* source, const char* target) {
  moves.push_back(std::string(source) + ">" + target);
  if (moveFails) return false;
  return MoveFileExA(source, target, MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool FakeHost::RemoveFile(const char* path) { return DeleteFileA(path) != FALSE; }

bool FakeHost::MakeFolder(const char* path, SECURITY_ATTRIBUTES* security) {
  folders.push_back({path, *security});
  return foldersOnDisk && CreateDirectoryA(path, security) != FALSE;
}

bool FakeHost::RemoveFolder(const char* path) { return RemoveDirectoryA(path) != FALSE; }

// Drive paths are already full; the substitute knows no current folder.
bool FakeHost::QueryFullFolderPath(const char* path, char* buffer, DWORD capacity) {
  const size_t length = std::strlen(path);
  if (length + 1 > capacity) return false;
  std::memcpy(buffer, path, length + 1);
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
