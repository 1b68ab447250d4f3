#pragma once
// Turning the folder the user picked into the game folder the Set command writes out.

enum class FolderChoice {
  kNone,     // nothing was chosen: the game folder is unchanged
  kStored,   // the game folder now holds the choice, ending with a backslash
  kTooLong,  // the choice and its backslash would not fit: the game folder is unchanged
};

// True when the Shift-JIS path ends with a backslash character, not with a double-byte
// character whose second byte happens to be 0x5C (such as 表 or ソ).
bool EndsWithBackslash(const char* path);

// Copies `chosen` (empty when the user cancelled) into `gameFolder`, a buffer of
// kPathBufferSize bytes, and appends a backslash unless it already ends with one.
FolderChoice StoreChosenFolder(const char* chosen, char* gameFolder);
