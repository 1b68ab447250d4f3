#include "app/win32/folder_browser.h"

#include <objbase.h>
#include <shlobj.h>

#include <memory>

namespace {

struct ItemIdListDeleter {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using ItemIdList = std::unique_ptr<ITEMIDLIST, ItemIdListDeleter>;

}  // namespace

char* ChooseFolder(HWND owner, char* buffer, const char* prompt) {
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.pszDisplayName = buffer;
  info.lpszTitle = prompt;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  const ItemIdList chosen(SHBrowseForFolderA(&info));
  // The browser leaves the item's display name in the buffer: never let that pass for a path.
  if (!chosen || !SHGetPathFromIDListA(chosen.get(), buffer)) buffer[0] = '\0';
  return buffer;
}
