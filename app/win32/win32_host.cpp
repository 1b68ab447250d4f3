#include "app/win32/win32_host.h"

#include "app/win32/stepwise_replace.h"

bool Win32Host::QueryOsVersion(OsVersion& version) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info)) return false;
  version.platformId = info.dwPlatformId;
  version.majorVersion = info.dwMajorVersion;
  version.minorVersion = info.dwMinorVersion;
  return true;
}

int Win32Host::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner, text, caption, type);
}

UINT Win32Host::QueryWindowsDirectory(char* buffer, UINT capacity) {
  return GetWindowsDirectoryA(buffer, capacity);
}

bool Win32Host::QueryUserName(char* buffer, DWORD& size) {
  return GetUserNameA(buffer, &size) != FALSE;
}

bool Win32Host::Exists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Windows 95, 98 and Me report MoveFileExA as not implemented.
bool Win32Host::MoveReplacing(const char* source, const char* target) {
  if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED && ReplaceStepwise(source, target);
}

bool Win32Host::MoveToNewName(const char* source, const char* target) {
  return MoveFileA(source, target) != FALSE;
}

bool Win32Host::RemoveFile(const char* path) {
  return DeleteFileA(path) != FALSE;
}

bool Win32Host::MakeFolder(const char* path, SECURITY_ATTRIBUTES* security) {
  return CreateDirectoryA(path, security) != FALSE;
}

bool Win32Host::RemoveFolder(const char* path) {
  return RemoveDirectoryA(path) != FALSE;
}

bool Win32Host::QueryFullFolderPath(const char* path, char* buffer, DWORD capacity) {
  char* fileNamePart = nullptr;
  const DWORD length = GetFullPathNameA(path, capacity, buffer, &fileNamePart);
  if (length == 0 || length >= capacity) return false;
  const DWORD attributes = GetFileAttributesA(buffer);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
