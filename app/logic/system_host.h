#pragma once
// Every platform call the tool's logic makes goes through this interface, so tests can stand
// in for the user and the system. The names keep clear of <windows.h>'s A/W macros.
#include "platform/win32.h"

struct OsVersion {
  DWORD platformId = 0;
  DWORD majorVersion = 0;
  DWORD minorVersion = 0;
};

class SystemHost {
 public:
  virtual ~SystemHost() = default;

  // false when the platform does not tell its version.
  virtual bool QueryOsVersion(OsVersion& version) = 0;
  // Modal message box; returns the button pressed (IDOK, IDYES, IDNO, ...).
  virtual int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) = 0;
  // As GetWindowsDirectoryA: the length written, 0 on failure, or the size needed (terminator
  // included) when `capacity` is too small.
  virtual UINT QueryWindowsDirectory(char* buffer, UINT capacity) = 0;
  // As GetUserNameA: `size` is the capacity on entry and, on success, the bytes written with
  // the terminator.
  virtual bool QueryUserName(char* buffer, DWORD& size) = 0;
  // true when anything (file or folder) stands at the path.
  virtual bool Exists(const char* path) = 0;
  // Moves `source` over `target`, replacing it in one step that is on the disk when this
  // returns. The caller flushes the file's bytes first.
  virtual bool MoveReplacing(const char* source, const char* target) = 0;
  // Moves `source` to `target`, failing when anything stands at `target` already.
  virtual bool MoveToNewName(const char* source, const char* target) = 0;
  virtual bool RemoveFile(const char* path) = 0;
  virtual bool MakeFolder(const char* path, SECURITY_ATTRIBUTES* security) = 0;
  // Removes an empty folder.
  virtual bool RemoveFolder(const char* path) = 0;
  // As GetFullPathNameA, for a folder that exists: false when nothing or a file stands at
  // `path`, or when its full path needs more than `capacity` bytes.
  virtual bool QueryFullFolderPath(const char* path, char* buffer, DWORD capacity) = 0;
};
