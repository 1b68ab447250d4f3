#pragma once
// The tool's process-wide state. The dialog owns the selection, the operating-system check
// owns the profile-folder flag, the shell owns the global TextFile; the Set command reads all.
#include <cstdint>

class TextFile;

inline constexpr int kPathBufferSize = 260;  // bytes, terminator included

struct Selection {
  int32_t titleIndex = 0;   // 0, 1, 2: radio buttons 1003, 1004, 1005
  int32_t installMode = 0;  // 0 standard (radio 1006), 1 all (radio 1007)
  char gameFolder[kPathBufferSize] = {};  // ends with a backslash once chosen
};

extern Selection g_selection;

// 1: the install information file goes into the user's profile; 0: the Windows directory.
extern int32_t g_profileFolderFlag;

// Constructed before the entry function runs, destroyed at exit; only the Set command uses it.
extern TextFile g_textFile;
