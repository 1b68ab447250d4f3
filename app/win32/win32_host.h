#pragma once
#include "app/logic/system_host.h"

// The real Win32 API behind SystemHost.
class Win32Host : public SystemHost {
 public:
  bool QueryOsVersion(OsVersion& version) override;
  int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
  UINT QueryWindowsDirectory(char* buffer, UINT capacity) override;
  bool QueryUserName(char* buffer, DWORD& size) override;
  bool Exists(const char* path) override;
  bool MoveReplacing(const char* source, const char* target) override;
  bool MoveToNewName(const char* source, const char* target) override;
  bool RemoveFile(const char* path) override;
  bool MakeFolder(const char* path, SECURITY_ATTRIBUTES* security) override;
  bool RemoveFolder(const char* path) override;
  bool QueryFullFolderPath(const char* path, char* buffer, DWORD capacity) override;
};
