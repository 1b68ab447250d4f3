#pragma once
// Resource and control ids, shared by zorvel.rc and the code.

#define IDI_ZORVEL 1
#define IDD_SETTINGS 101

// Push buttons. Exit is the cancel id, so Esc and the close box end the dialog like it.
#define IDC_EXIT 2
#define IDC_SELECT_FOLDER 3
#define IDC_SET 6

// Title radio buttons, one per game, in title-index order.
#define IDC_TITLE_TARNWICK 1003
#define IDC_TITLE_OXBELLOW 1004
#define IDC_TITLE_QUILLANE 1005

// Install-mode radio buttons: standard, all.
#define IDC_MODE_STANDARD 1006
#define IDC_MODE_ALL 1007

// Static text showing the chosen game folder.
#define IDC_GAME_FOLDER 1008

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
