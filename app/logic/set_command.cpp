#include "app/logic/set_command.h"

#include <cstring>

#include "app/logic/app_state.h"
#include "app/logic/messages.h"
#include "app/logic/path_validation.h"
#include "app/logic/safe_write.h"
#include "app/logic/set_paths.h"
#include "app/logic/system_host.h"
#include "file/sjis_string.h"

namespace {

struct TitleRow {
  const char* fileName;
  const char* standardComponents;
  const char* allComponents;
};

constexpr TitleRow kTitles[] = {
    {"tw.ifo", "0 1 ", "0 1 10 "},
    {"ox.ifo", "0 1 2 ", "0 1 2 10 "},
    {"quil.ifo", "0 1 2 ", "0 1 2 10 11 "},
};

const TitleRow& RowFor(int32_t titleIndex) {
  if (titleIndex == 0) return kTitles[0];
  if (titleIndex == 1) return kTitles[1];
  return kTitles[2];
}

const char* ComponentsFor(const TitleRow& row, int32_t installMode) {
  return installMode == 0 ? row.standardComponents : row.allComponents;
}

bool GameFolderIsUsable() {
  return std::memchr(g_selection.gameFolder, '\0', sizeof(g_selection.gameFolder)) != nullptr;
}

void ShowError(SystemHost& host, HWND owner, const char* text) {
  host.ShowMessageBox(owner, text, kCaptionError, MB_ICONERROR);
}

bool UserAllowsOverwrite(SystemHost& host, HWND owner) {
  return host.ShowMessageBox(owner, kMessageAskOverwrite, kCaptionOverwrite,
                             MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

}  // namespace

void RunSetCommand(SystemHost& host, HWND owner) {
  if (g_selection.gameFolder[0] == '\0') {
    ShowError(host, owner, kMessageNoGameFolder);
    return;
  }

  const TitleRow& row = RowFor(g_selection.titleIndex);
  SjisString components;
  components.Assign(ComponentsFor(row, g_selection.installMode));

  const bool profile = g_profileFolderFlag == 1;
  InstallPaths paths;
  if (!GameFolderIsUsable() || !BuildPaths(host, profile, row.fileName, paths)) {
    ShowError(host, owner, kMessageWriteFailed);
    return;
  }
  if (profile) {
    CreateFolderChain(host, paths.information.Text());
    CreateFolderChain(host, paths.temporaryFolder.Text());
  }

  const bool replacing = host.Exists(paths.information.Text());
  if (replacing && !UserAllowsOverwrite(host, owner)) return;

  if (!WriteInformationFile(host, g_selection.gameFolder, components.GetText(), paths, replacing)) {
    ShowError(host, owner, kMessageWriteFailed);
    return;
  }
  host.ShowMessageBox(owner, kMessageSetDone, kCaptionDone, MB_OK);
}
