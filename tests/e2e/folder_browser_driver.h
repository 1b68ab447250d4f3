#pragma once
// Works the system folder browser of another process. Its tree view only understands pointers
// into its own process, so every item structure and text buffer lives there.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

class FolderBrowserDriver {
 public:
  // `browser` is the browser dialog; `process` a handle to the process showing it.
  FolderBrowserDriver(HWND browser, HANDLE process);
  ~FolderBrowserDriver();
  FolderBrowserDriver(const FolderBrowserDriver&) = delete;
  FolderBrowserDriver& operator=(const FolderBrowserDriver&) = delete;

  // Selects a folder given as "C:" or "C:\Games\表" by walking desktop, computer, drive and
  // folders, expanding each on the way. Returns false, with `error` set, when an item is missing.
  bool Select(const std::wstring& path, std::string& error);
  void PressOk();
  void PressCancel();

 private:
  HTREEITEM Root();
  std::vector<HTREEITEM> Children(HTREEITEM parent);
  std::wstring Text(HTREEITEM item);
  void Expand(HTREEITEM item);
  HTREEITEM FindChild(HTREEITEM parent, const std::wstring& text, bool partial);
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

  HWND browser_;
  HWND tree_;
  HANDLE process_;
  char* remote_;  // a TVITEMW followed by its text buffer, in the browser's process
};

// The tool's folder browser: a dialog of the process that holds a tree view.
HWND WaitForFolderBrowser(DWORD processId);
