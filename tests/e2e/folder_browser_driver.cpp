#include "folder_browser_driver.h"

#include "ui_probe.h"

namespace {

constexpr int kTextChars = MAX_PATH;
constexpr SIZE_T kRemoteSize = sizeof(TVITEMW) + kTextChars * sizeof(wchar_t);
// Item texts in a Japanese prefix.
const wchar_t kComputerItem[] = L"マイ コンピュータ";

struct ClassSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<ClassSearch*>(lParam);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, search.className) != 0) return TRUE;
  search.found = window;
  return FALSE;
}

HWND ChildOfClass(HWND parent, const char* className) {
  ClassSearch search{className, nullptr};
  EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = path.find(L'\\', start);
    const std::wstring part = path.substr(start, end - start);
    if (!part.empty()) parts.push_back(part);
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return parts;
}

std::string Narrow(const std::wstring& text) {
  char bytes[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof bytes - 1, nullptr, nullptr);
  return bytes;
}

}  // namespace

HWND WaitForFolderBrowser(DWORD processId) {
  HWND browser = nullptr;
  WaitUntil([&] {
    for (HWND dialog : DialogsOf(processId)) {
      if (ChildOfClass(dialog, "SysTreeView32") != nullptr) browser = dialog;
    }
    return browser != nullptr;
  });
  return browser;
}

FolderBrowserDriver::FolderBrowserDriver(HWND browser, HANDLE process)
    : browser_(browser),
      tree_(ChildOfClass(browser, "SysTreeView32")),
      process_(process),
      remote_(static_cast<char*>(
          VirtualAllocEx(process, nullptr, kRemoteSize, MEM_COMMIT, PAGE_READWRITE))) {}

FolderBrowserDriver::~FolderBrowserDriver() {
  if (remote_ != nullptr) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
}

LRESULT FolderBrowserDriver::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(tree_, message, wParam, lParam, SMTO_ABORTIFHUNG, 15000, &result);
  return static_cast<LRESULT>(result);
}

HTREEITEM FolderBrowserDriver::Root() {
  return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

std::vector<HTREEITEM> FolderBrowserDriver::Children(HTREEITEM parent) {
  std::vector<HTREEITEM> children;
  auto item = reinterpret_cast<HTREEITEM>(
      Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
  while (item != nullptr) {
    children.push_back(item);
    item = reinterpret_cast<HTREEITEM>(
        Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
  }
  return children;
}

std::wstring FolderBrowserDriver::Text(HTREEITEM item) {
  TVITEMW request = {};
  request.mask = TVIF_TEXT | TVIF_HANDLE;
  request.hItem = item;
  request.pszText = reinterpret_cast<wchar_t*>(remote_ + sizeof(TVITEMW));
  request.cchTextMax = kTextChars;
  const wchar_t empty = L'\0';
  if (!WriteProcessMemory(process_, remote_, &request, sizeof request, nullptr) ||
      !WriteProcessMemory(process_, request.pszText, &empty, sizeof empty, nullptr)) {
    return L"";
  }
  Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote_));
  TVITEMW answer = {};
  ReadProcessMemory(process_, remote_, &answer, sizeof answer, nullptr);
  // The control may answer with a pointer to its own copy: read wherever it points.
  std::wstring text;
  for (int i = 0; i < kTextChars; ++i) {
    wchar_t c = L'\0';
    if (!ReadProcessMemory(process_, answer.pszText + i, &c, sizeof c, nullptr) || c == L'\0') {
      break;
    }
    text += c;
  }
  return text;
}

void FolderBrowserDriver::Expand(HTREEITEM item) {
  Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

HTREEITEM FolderBrowserDriver::FindChild(HTREEITEM parent, const std::wstring& text, bool partial) {
  Expand(parent);
  for (HTREEITEM child : Children(parent)) {
    const std::wstring childText = Text(child);
    if (partial ? childText.find(text) != std::wstring::npos : childText == text) return child;
  }
  return nullptr;
}

bool FolderBrowserDriver::Select(const std::wstring& path, std::string& error) {
  if (tree_ == nullptr || remote_ == nullptr) {
    error = "no tree view, or no memory in the tool's process";
    return false;
  }
  HTREEITEM computer = FindChild(Root(), kComputerItem, true);
  if (computer == nullptr) {
    error = "no computer item under the desktop";
    return false;
  }
  const std::vector<std::wstring> parts = SplitPath(path);
  HTREEITEM item = FindChild(computer, L"(" + parts.at(0) + L")", true);
  for (size_t i = 1; item != nullptr && i < parts.size(); ++i) {
    item = FindChild(item, parts[i], false);
  }
  if (item == nullptr) {
    error = "no item for " + Narrow(path);
    return false;
  }
  Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  return true;
}

void FolderBrowserDriver::PressOk() { PressButton(browser_, IDOK); }

void FolderBrowserDriver::PressCancel() { PressButton(browser_, IDCANCEL); }
