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

struct DialogStart {
  SystemHost* host;
  const Selection* preselection;
};

SystemHost& HostOf(HWND dialog) {
  return *reinterpret_cast<SystemHost*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Checking a radio button takes the tab stop from the others of its group; here each button
// is a group of its own, and every one must stay within reach of Tab.
void MarkRadio(HWND dialog, int firstOfSet, int lastOfSet, int id) {
  CheckRadioButton(dialog, firstOfSet, lastOfSet, id);
  for (int each = firstOfSet; each <= lastOfSet; ++each) {
    HWND button = GetDlgItem(dialog, each);
    SetWindowLongA(button, GWL_STYLE, GetWindowLongA(button, GWL_STYLE) | WS_TABSTOP);
  }
}

void OnRadioChoice(HWND dialog, const RadioChoice& choice) {
  MarkRadio(dialog, choice.firstOfSet, choice.lastOfSet, choice.id);
  g_selection.*choice.field = choice.value;
}

void Preselect(HWND dialog, const Selection& preselection) {
  for (const RadioChoice& choice : kRadioChoices) {
    if (preselection.*choice.field == choice.value) OnRadioChoice(dialog, choice);
  }
  if (preselection.gameFolder[0] == '\0') return;
  std::memcpy(g_selection.gameFolder, preselection.gameFolder, sizeof g_selection.gameFolder);
  SetDlgItemTextA(dialog, IDC_GAME_FOLDER, g_selection.gameFolder);
}

INT_PTR OnInitDialog(HWND dialog, LPARAM lParam) {
  const DialogStart& start = *reinterpret_cast<const DialogStart*>(lParam);
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(start.host));
  CheckOperatingSystem(HostOf(dialog), dialog);
  std::memset(g_selection.gameFolder, 0, sizeof g_selection.gameFolder);
  MarkRadio(dialog, IDC_TITLE_TARNWICK, IDC_TITLE_QUILLANE, IDC_TITLE_TARNWICK);
  MarkRadio(dialog, IDC_MODE_STANDARD, IDC_MODE_ALL, IDC_MODE_STANDARD);
  Preselect(dialog, *start.preselection);
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

INT_PTR RunSettingsDialog(HINSTANCE instance, HWND owner, SystemHost& host,
                          const Selection& preselection) {
  DialogStart start = {&host, &preselection};
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDialogProc,
                         reinterpret_cast<LPARAM>(&start));
}
