#pragma once
// Shared ground for the end-to-end tests: one tool per test, started as a user would start it,
// in a Wine session whose reported Windows version the test chooses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tool_process.h"
#include "ui_probe.h"

inline const char kToolCaption[] = "Zorvel インストール設定ツール";
inline const char kToolFileName[] = "ZorvelSetup.exe";

// Control ids of the settings dialog, as a user meets them.
enum ToolControl {
  kExitButton = 2,
  kSelectFolderButton = 3,
  kSetButton = 6,
  kTarnwickRadio = 1003,
  kOxbellowRadio = 1004,
  kQuillaneRadio = 1005,
  kStandardRadio = 1006,
  kAllRadio = 1007,
  kFolderText = 1008,
};

// The tool as the build made it.
std::string ToolPath();

// Where the install information files land.
std::string WindowsDirectory();   // "C:\windows", without a final backslash
std::string ProfileDirectory();   // "C:\Documents and Settings\<user>"
std::string ReadFileBytes(const std::string& path, bool& exists);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
void DeleteTree(const std::string& path);
// Names in a folder, "." and ".." left out, sorted.
std::vector<std::string> FolderListing(const std::string& folder);
// Creates every folder along `path` (which may exceed the usual path limit).
bool MakeFolders(const std::wstring& path);

void SetUserValue(const std::string& key, const char* name, const char* value);

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Wine reports this Windows version (win98, winxp, ...) to the tool from its next start on.
  void UseWindowsVersion(const char* version);
  // Starts the tool; with `expectDialog` waits for the settings dialog and keeps it in dialog_.
  void StartTool(bool expectDialog = true, const std::string& arguments = "");
  // Waits for a message box, checks its caption and text, and presses `button`.
  void AnswerMessageBox(const std::string& caption, const std::string& text, int button);
  // Checks that the tool shows nothing but its settings dialog.
  void ExpectNoMessageBox();
  void ChooseFolder(const std::wstring& path);
  void CancelFolderChoice();
  // The prompt the folder browser shows; the browser is cancelled afterwards.
  std::string FolderBrowserPrompt();
  // Clicks a push button; what it opens is left to the test to wait for.
  void Click(int id) { PressButton(dialog_, id); }
  // Clicks a radio button and waits for its effect.
  void Choose(int id) { PressButtonAndWait(dialog_, id); }
  void ExpectExitCode0();

  ToolProcess tool_;
  HWND dialog_ = nullptr;

 private:
  void RemoveOutputs();
};
