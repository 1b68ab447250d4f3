#include "tool_fixture.h"

#include <algorithm>
#include <cstdlib>

#include "folder_browser_driver.h"
#include "ui_probe.h"

namespace {

const char* const kInfoFileNames[] = {"tw.ifo", "ox.ifo", "quil.ifo"};

std::string CurrentUserName() {
  char name[256] = {};
  DWORD size = sizeof name;
  GetUserNameA(name, &size);
  return name;
}

// Wine's settings for the tool alone.
std::string ToolSettingsKey() { return std::string("Software\\Wine\\AppDefaults\\") + kToolFileName; }

}  // namespace

// The build gives a Unix path, which Wine shows on drive Z:.
std::string ToolPath() {
  const char* unixPath = std::getenv("ZV_E2E_TOOL");
  if (unixPath == nullptr) return "ZorvelSetup.exe";
  std::string path = unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path[0] == '\\' ? "Z:" + path : path;
}

std::string WindowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

std::string ProfileDirectory() {
  return WindowsDirectory().substr(0, 3) + "Documents and Settings\\" + CurrentUserName();
}

std::string ReadFileBytes(const std::string& path, bool& exists) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  exists = file != INVALID_HANDLE_VALUE;
  if (!exists) return "";
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void DeleteTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    DeleteFileA(path.c_str());
    return;
  }
  for (const std::string& name : FolderListing(path)) DeleteTree(path + "\\" + name);
  RemoveDirectoryA(path.c_str());
}

std::vector<std::string> FolderListing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

bool MakeFolders(const std::wstring& path) {
  for (size_t at = path.find(L'\\', 3); ; at = path.find(L'\\', at + 1)) {
    const std::wstring prefix = L"\\\\?\\" + path.substr(0, at);
    if (!CreateDirectoryW(prefix.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
    if (at == std::wstring::npos) return true;
  }
}

// Wine reads its settings for a program from the user's registry when the program starts.
void SetUserValue(const std::string& key, const char* name, const char* value) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &handle, nullptr),
            ERROR_SUCCESS)
      << key;
  const LONG result = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                     static_cast<DWORD>(strlen(value) + 1));
  RegCloseKey(handle);
  ASSERT_EQ(result, ERROR_SUCCESS) << key << "\\" << name;
}

void ToolTest::SetUp() {
  // No window manager runs on the test screen: waiting for one only slows every window's end.
  ASSERT_NO_FATAL_FAILURE(SetUserValue(ToolSettingsKey() + "\\X11 Driver", "Managed", "N"));
  KillStrayTools();
  RemoveOutputs();
  UseWindowsVersion("win98");
}

void ToolTest::TearDown() {
  RemoveOutputs();
}

void ToolTest::RemoveOutputs() {
  for (const char* name : kInfoFileNames) DeleteFileA((WindowsDirectory() + "\\" + name).c_str());
  DeleteTree(WindowsDirectory().substr(0, 3) + "Documents and Settings");
}

void ToolTest::UseWindowsVersion(const char* version) {
  SetUserValue(ToolSettingsKey(), "Version", version);
}

void ToolTest::StartTool(bool expectDialog, const std::string& arguments) {
  ASSERT_TRUE(tool_.Start(ToolPath(), arguments)) << "cannot start " << ToolPath();
  if (!expectDialog) return;
  dialog_ = WaitForDialog(tool_.id(), kToolCaption);
  ASSERT_NE(dialog_, nullptr) << "the settings dialog did not open";
}

void ToolTest::AnswerMessageBox(const std::string& caption, const std::string& text, int button) {
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND dialog : DialogsOf(tool_.id())) {
      if (dialog != dialog_ && GetDlgItem(dialog, 0xFFFF) != nullptr) box = dialog;
    }
    return box != nullptr;
  })) << "no message box \"" << caption << "\" came";
  EXPECT_EQ(WindowText(box), caption);
  EXPECT_EQ(MessageText(box), text);
  ASSERT_NE(GetDlgItem(box, button), nullptr) << "the box has no button " << button;
  PressButton(box, button);
  ASSERT_TRUE(WaitUntilGone(box)) << "the box stayed open";
}

void ToolTest::ExpectNoMessageBox() {
  ASSERT_TRUE(Settle(dialog_)) << "the tool does not answer";
  for (HWND dialog : DialogsOf(tool_.id(), false)) {
    EXPECT_EQ(dialog, dialog_) << "unexpected box \"" << WindowText(dialog) << "\": "
                               << MessageText(dialog);
  }
}

void ToolTest::ChooseFolder(const std::wstring& path) {
  Click(kSelectFolderButton);
  HWND browser = WaitForFolderBrowser(tool_.id());
  ASSERT_NE(browser, nullptr) << "the folder browser did not open";
  FolderBrowserDriver driver(browser, tool_.handle());
  std::string error;
  ASSERT_TRUE(driver.Select(path, error)) << error;
  driver.PressOk();
  ASSERT_TRUE(WaitUntilGone(browser)) << "the folder browser stayed open";
}

void ToolTest::CancelFolderChoice() {
  Click(kSelectFolderButton);
  HWND browser = WaitForFolderBrowser(tool_.id());
  ASSERT_NE(browser, nullptr) << "the folder browser did not open";
  FolderBrowserDriver(browser, tool_.handle()).PressCancel();
  ASSERT_TRUE(WaitUntilGone(browser)) << "the folder browser stayed open";
}

std::string ToolTest::FolderBrowserPrompt() {
  Click(kSelectFolderButton);
  HWND browser = WaitForFolderBrowser(tool_.id());
  if (browser == nullptr) return "<no folder browser>";
  const int kPromptId = 0x3742;
  const std::string prompt = ControlText(browser, kPromptId);
  FolderBrowserDriver(browser, tool_.handle()).PressCancel();
  WaitUntilGone(browser);
  return prompt;
}

void ToolTest::ExpectExitCode0() {
  DWORD exitCode = 1;
  ASSERT_TRUE(tool_.WaitForExit(kWaitMs, exitCode)) << "the tool did not end";
  EXPECT_EQ(exitCode, 0u);
}
