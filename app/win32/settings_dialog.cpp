#include "app/win32/settings_dialog.h"

#include <cstring>

#include "app/logic/app_state.h"
#include "app/win32/folder_browser.h"
#include "app/logic/game_folder.h"
#include "app/logic/messages.h"
#include "app/logic/os_check.h"
#include "app/logic/set_command.h"
#include "app/logic/system_host.h"
#include "res/resource.h"

namespace {

// Every radio button starts its own group, so the dialog keeps each set exclusive itself.
struct RadioChoice {
  int id;
  int firstOfSet;
  int lastOfSet;
  int32_t Selection::*field;
  int32_t value;
};

constexpr RadioChoice kRadioChoices[] = {
    {IDC_TITLE_TARNWICK, IDC_TITLE_TARNWICK, IDC_TITLE_QUILLANE, &Selection::titleIndex, 0},
    {IDC_TITLE_OXBELLOW, IDC_TITLE_TARNWICK, IDC_TITLE_QUILLANE, &Selection::titleIndex, 1},
    {IDC_TITLE_QUILLANE, IDC_TITLE_TARNWICK, IDC_TITLE_QUILLANE, &Selection::titleIndex, 2},
    {IDC_MODE_STANDARD, IDC_MODE_STANDARD, IDC_MODE_ALL, &Selection::installMode, 0},
    {IDC_MODE_ALL, IDC_MODE_STANDARD, IDC_MODE_ALL, &Selection::installMode, 1},
};

SystemHost& HostOf(HWND dialog) {
  return *reinterpret_cast<SystemHost*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR OnInitDialog(HWND dialog, LPARAM host) {
  SetWindowLongPtrA(dialog, DWLP_USER, host);
  CheckOperatingSystem(HostOf(dialog), dialog);
  std::memset(g_selection.gameFolder, 0, sizeof g_selection.gameFolder);
  // The title and mode keep their values; only the buttons start at the first of each set.
  CheckRadioButton(dialog, IDC_TITLE_TARNWICK, IDC_TITLE_QUILLANE, IDC_TITLE_TARNWICK);
  CheckRadioButton(dialog, IDC_MODE_STANDARD, IDC_MODE_ALL, IDC_MODE_STANDARD);
  return TRUE;
}

void OnSelectFolder(HWND dialog) {
  char chosen[kPathBufferSize];
  ChooseFolder(dialog, chosen, kPromptChooseGameFolder);
  if (StoreChosenFolder(chosen, g_selection.gameFolder) == FolderChoice::kTooLong) {
    HostOf(dialog).ShowMessageBox(dialog, kMessageFolderTooLong, kCaptionError, MB_ICONERROR);
  }
  SetDlgItemTextA(dialog, IDC_GAME_FOLDER, g_selection.gameFolder);
}

void OnRadioChoice(HWND dialog, const RadioChoice& choice) {
  CheckRadioButton(dialog, choice.firstOfSet, choice.lastOfSet, choice.id);
  g_selection.*choice.field = choice.value;
}

void OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDC_EXIT:
      EndDialog(dialog, 0);
      return;
    case IDC_SELECT_FOLDER:
      OnSelectFolder(dialog);
      return;
    case IDC_SET:
      RunSetCommand(HostOf(dialog), dialog);
      return;
    default:
      for (const RadioChoice& choice : kRadioChoices) {
        if (choice.id == id) OnRadioChoice(dialog, choice);
      }
      return;
  }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, lParam);
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return FALSE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam));
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR RunSettingsDialog(HINSTANCE instance, HWND owner, SystemHost& host) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDialogProc,
                         reinterpret_cast<LPARAM>(&host));
}
