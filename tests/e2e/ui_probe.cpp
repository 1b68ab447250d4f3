#include "ui_probe.h"

namespace {

constexpr UINT kSendTimeoutMs = 10000;

struct DialogSearch {
  DWORD processId;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<DialogSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search.processId && (IsWindowVisible(window) || !search.visibleOnly) &&
      std::string(className) == "#32770") {
    search.found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> DialogsOf(DWORD processId, bool visibleOnly) {
  DialogSearch search{processId, visibleOnly, {}};
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForDialog(DWORD processId, const std::string& caption, DWORD timeoutMs) {
  HWND result = nullptr;
  WaitUntil(
      [&] {
        for (HWND dialog : DialogsOf(processId)) {
          if (WindowText(dialog) == caption) result = dialog;
        }
        return result != nullptr;
      },
      timeoutMs);
  return result;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
    return "<no answer>";
  }
  return std::string(text, copied);
}

std::string ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control != nullptr ? WindowText(control) : "<no control>";
}

bool IsChecked(HWND dialog, int id) {
  DWORD_PTR state = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                      &state);
  return state == BST_CHECKED;
}

LONG StyleOf(HWND dialog, int id) { return GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE); }

void PressButton(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PressButtonAndWait(HWND dialog, int id) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                      &ignored);
}

void PressEscape(HWND dialog) {
  // The dialog's own message loop turns Esc into its cancel command.
  PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(dialog, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

void PressCloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool Settle(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored) != 0;
}
