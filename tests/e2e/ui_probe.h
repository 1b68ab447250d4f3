#pragma once
// Looking at and working the tool's windows from another process, as a user would.
#include <windows.h>

#include <string>
#include <vector>

inline constexpr DWORD kWaitMs = 20000;

// Polls `condition` until it holds or `timeoutMs` passes; returns whether it held.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kWaitMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(30);
  }
  return true;
}

// The top-level dialogs (class #32770) of a process: its own dialog, message boxes, the folder
// browser. A dialog is hidden until its modal loop first runs dry.
std::vector<HWND> DialogsOf(DWORD processId, bool visibleOnly = true);
// The first visible dialog of the process whose caption is `caption`; null after the timeout.
HWND WaitForDialog(DWORD processId, const std::string& caption, DWORD timeoutMs = kWaitMs);
bool WaitUntilGone(HWND window, DWORD timeoutMs = kWaitMs);

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
LONG StyleOf(HWND dialog, int id);

// Clicks a button without waiting for what the click starts (it may open a modal box).
void PressButton(HWND dialog, int id);
// Clicks a button that opens nothing and returns once the click has had its effect.
void PressButtonAndWait(HWND dialog, int id);
void PressEscape(HWND dialog);
void PressCloseBox(HWND dialog);

// Returns once the window's thread has handled everything sent to it before; a box the tool
// was about to show by then is visible afterwards.
bool Settle(HWND window);

// The message text of a message box.
inline std::string MessageText(HWND box) { return ControlText(box, 0xFFFF); }
