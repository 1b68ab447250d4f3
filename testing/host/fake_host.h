#pragma once
// A SystemHost whose user and system are scripted: it records every message box and folder
// request, answers questions with `answer`, and reports the version, Windows directory and
// user name it is given. Existence, moves and deletes go to the platform's file system.
#include <cstdint>
#include <string>
#include <vector>

#include "app/logic/system_host.h"

inline HWND const kDialog = reinterpret_cast<HWND>(static_cast<uintptr_t>(0xD1A));

struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

struct FolderCall {
  std::string path;
  SECURITY_ATTRIBUTES security;
};

class FakeHost : public SystemHost {
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

  // Scripted system and user.
  bool versionKnown = true;
  OsVersion version;
  std::string windowsDirectory = "X:\\WINDOWS";
  bool windowsDirectoryFails = false;
  std::string userName = "taro";
  bool userNameFails = false;
  int answer = IDYES;
  bool moveFails = false;
  bool foldersOnDisk = true;  // false: only record folder requests

  // What the code under test did.
  std::vector<MessageBoxCall> messages;
  std::vector<FolderCall> folders;
  std::vector<std::string> moves;  // "source>target"
};
