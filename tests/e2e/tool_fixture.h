#pragma once
// The tool driven from another process as a user would drive it, in a Wine session whose
// reported Windows version the test chooses.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "resource.h"

inline const char kToolCaption[] = "Zorvel インストール設定ツール";
inline constexpr DWORD kWaitMs = 20000;
inline constexpr int kMessageText = 0xFFFF;  // the text of a message box
inline constexpr int kBrowserPrompt = 0x3742;

template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kWaitMs) {
  for (const DWORD start = GetTickCount(); !condition(); Sleep(30)) {
    if (GetTickCount() - start >= timeoutMs) return false;
  }
  return true;
}

// The build gives a Unix path, which Wine shows on drive Z:.
inline std::string ToolPath() {
  std::string path = std::getenv("ZV_E2E_TOOL") ? std::getenv("ZV_E2E_TOOL") : "ZorvelSetup.exe";
  std::replace(path.begin(), path.end(), '/', '\\');
  return path[0] == '\\' ? "Z:" + path : path;
}

inline std::string WindowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

inline std::string ProfileDirectory() {
  return WindowsDirectory().substr(0, 3) + "Documents and Settings\\" + std::getenv("USERNAME");
}

inline std::string FileAt(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// Keeps `path` open, as another program might, so that no one else can open it until the
// handle goes. An empty path holds nothing.
inline std::unique_ptr<void, decltype(&CloseHandle)> HoldOpen(const std::string& path) {
  return {CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
          &CloseHandle};
}

// Every folder along `path`; throws when one cannot be made.
inline void MakeFolders(const std::wstring& path) { std::filesystem::create_directories(path); }

inline std::set<std::string> FolderListing(const std::string& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// The top-level dialogs of a process: its own dialog, message boxes, the folder browser. A
// dialog is hidden until its modal loop first runs dry.
inline std::vector<HWND> DialogsOf(DWORD processId, bool visibleOnly = true) {
  std::vector<HWND> found;
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && (IsWindowVisible(window) || !visibleOnly)) found.push_back(window);
  }
  return found;
}

// -1 when the window does not answer.
inline LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

inline std::string WindowText(HWND window) {
  char text[1024] = {};
  const LRESULT copied = Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return copied < 0 ? "<no answer>" : std::string(text, static_cast<size_t>(copied));
}

inline std::string ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
inline bool IsChecked(HWND dialog, int id) {
  return Send(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED;
}
// Clicks a button without waiting: it may open a modal box.
inline void Press(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

inline void PostKey(HWND window, WPARAM key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No window manager runs on the test screen: waiting for one only slows every window's end.
    SetToolValue("\\X11 Driver", "Managed", "N");
    UseWindowsVersion("win98");
    // A tool an earlier run left open (found by its hidden main window) would make every start
    // here a second instance.
    DWORD stray = 0;
    for (int i = 0; i < 20 && GetWindowThreadProcessId(FindWindowA("hoep", nullptr), &stray); ++i) {
      End(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, stray));
    }
    TearDown();
  }

  // Ends every tool the test started, so that none is left to block the next one's
  // single-instance check, and removes what they wrote.
  void TearDown() override {
    for (const PROCESS_INFORMATION& started : started_) End(started.hProcess, started.hThread);
    const std::string windows = WindowsDirectory();
    for (auto name : {"\\tw.ifo", "\\ox.ifo", "\\quil.ifo"}) DeleteFileA((windows + name).c_str());
    std::error_code error;
    std::filesystem::remove_all(windows.substr(0, 3) + "Documents and Settings", error);
  }

  // Wine's settings for the tool alone, read from the user's registry when the tool starts.
  static void SetToolValue(const std::string& subkey, const char* name, const char* value) {
    const std::string key = "Software\\Wine\\AppDefaults\\ZorvelSetup.exe" + subkey;
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value, lstrlenA(value) + 1);
  }
  // Wine reports this Windows version (win98, winxp, ...) to the tool from its next start on.
  void UseWindowsVersion(const char* version) { SetToolValue("", "Version", version); }

  // Starts a tool, which ends with the test at the latest. The methods below work with tool_.
  // Wine has, rarely and at random, failed to start a process: a start gets three tries, each
  // failure with Wine's error is printed, and a tool that cannot start at all fails every try.
  PROCESS_INFORMATION Start(const std::string& arguments) {
    std::string line = "\"" + ToolPath() + "\"" + (arguments.empty() ? "" : " ") + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    for (int tries = 1; !CreateProcessA(ToolPath().c_str(), &line[0], nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &started);
         ++tries) {
      const DWORD error = GetLastError();
      std::fprintf(stderr, "start %d of %s failed with error %lu\n", tries, line.c_str(), error);
      if (tries == 3) {
        ADD_FAILURE() << "cannot start " << line;
        break;
      }
      Sleep(500);
    }
    started_.push_back(started);
    return started;
  }

  // STILL_ACTIVE when the tool has not ended in time.
  static DWORD ExitCode(const PROCESS_INFORMATION& tool) {
    WaitForSingleObject(tool.hProcess, kWaitMs);
    DWORD code = 0;
    GetExitCodeProcess(tool.hProcess, &code);
    return code;
  }

  // Starts the tool and waits for its settings dialog, answering the Windows version's warning.
  void StartTool(const std::string& arguments = "", const char* warning = nullptr) {
    ASSERT_NE((tool_ = Start(arguments)).hProcess, nullptr) << "cannot start " << ToolPath();
    dialog_ = nullptr;
    // The warning comes while the dialog, still hidden, initialises.
    if (warning != nullptr) {
      ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("警告", warning, IDOK));
    }
    ASSERT_TRUE(WaitUntil([&] { return (dialog_ = DialogWith(IDC_GAME_FOLDER)) != nullptr; }))
        << "the settings dialog did not open";
    EXPECT_EQ(WindowText(dialog_), kToolCaption);
  }

  // Waits for a message box, checks its caption and text, and presses `button`.
  void AnswerMessageBox(const std::string& caption, const std::string& text, int button) {
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = DialogWith(kMessageText)) != nullptr; }))
        << "no message box \"" << caption << "\" came";
    EXPECT_EQ(WindowText(box), caption);
    EXPECT_EQ(ControlText(box, kMessageText), text);
    Press(box, button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(box); })) << "the box stayed open";
  }

  // Checks that the tool shows nothing but its settings dialog. Once the dialog's thread has
  // handled what was sent before, a box it was about to show is there.
  void ExpectNoMessageBox() {
    ASSERT_NE(Send(dialog_, WM_NULL), -1) << "the tool does not answer";
    EXPECT_EQ(DialogsOf(tool_.dwProcessId, false), std::vector<HWND>{dialog_});
  }

  // The label of the selected item of the browser's tree, read through the tool's memory.
  std::wstring SelectedLabel(HWND tree) {
    const LRESULT item = Send(tree, TVM_GETNEXTITEM, TVGN_CARET);
    if (item == 0) return L"";
    struct Label { TVITEMW item; wchar_t text[64]; } local = {};
    char* remote = static_cast<char*>(
        VirtualAllocEx(tool_.hProcess, nullptr, sizeof local, MEM_COMMIT, PAGE_READWRITE));
    local.item.mask = TVIF_TEXT;
    local.item.hItem = reinterpret_cast<HTREEITEM>(item);
    local.item.pszText = reinterpret_cast<wchar_t*>(remote + offsetof(Label, text));
    local.item.cchTextMax = 63;
    WriteProcessMemory(tool_.hProcess, remote, &local, sizeof local, nullptr);
    Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(tool_.hProcess, remote, &local, sizeof local, nullptr);
    VirtualFreeEx(tool_.hProcess, remote, 0, MEM_RELEASE);
    return local.text;
  }

  // Picks `path` in the folder browser and presses OK; an empty path presses Cancel.
  void ChooseFolder(const std::wstring& path) {
    Press(dialog_, IDC_SELECT_FOLDER);
    HWND browser = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (browser = DialogWith(kBrowserPrompt)) != nullptr; }))
        << "the folder browser did not open";
    browserPrompt_ = ControlText(browser, kBrowserPrompt);
    if (!path.empty()) {
      // The browser reads the path in its own process.
      const SIZE_T size = (path.size() + 1) * sizeof(wchar_t);
      void* remote = VirtualAllocEx(tool_.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
      ASSERT_TRUE(WriteProcessMemory(tool_.hProcess, remote, path.c_str(), size, nullptr));
      // A selection sent while the browser still fills its tree is lost: send it again until
      // the tree's selected item is the path's last folder.
      const HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
      const std::wstring leaf = path.substr(path.find_last_of(L'\\') + 1);
      EXPECT_TRUE(WaitUntil([&] {
        Send(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote));
        Sleep(50);
        return SelectedLabel(tree) == leaf;
      })) << "the folder browser did not take the path";
      VirtualFreeEx(tool_.hProcess, remote, 0, MEM_RELEASE);
    }
    Press(browser, path.empty() ? IDCANCEL : IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); })) << "the folder browser stayed open";
  }

  // Clicks a radio button and waits for its effect.
  void Choose(int id) { Send(GetDlgItem(dialog_, id), BM_CLICK); }

  PROCESS_INFORMATION tool_ = {};
  HWND dialog_ = nullptr;
  std::string browserPrompt_;  // what the folder browser asked last

 private:
  static void End(HANDLE process, HANDLE thread = nullptr) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
    CloseHandle(thread);
  }

  // A shown dialog of the tool, other than its settings dialog, that holds the control `id`.
  HWND DialogWith(int id) {
    for (HWND dialog : DialogsOf(tool_.dwProcessId)) {
      if (dialog != dialog_ && GetDlgItem(dialog, id) != nullptr) return dialog;
    }
    return nullptr;
  }

  std::vector<PROCESS_INFORMATION> started_;
};
