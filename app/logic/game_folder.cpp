#include "app/logic/game_folder.h"

#include <cstring>

#include "app/logic/app_state.h"
#include "file/sjis_string.h"

bool EndsWithBackslash(const char* path) {
  bool lastIsBackslash = false;
  for (const char* p = path; *p != '\0'; ++p) {
    lastIsBackslash = *p == '\\';
    if (IsSjisLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') ++p;
  }
  return lastIsBackslash;
}

FolderChoice StoreChosenFolder(const char* chosen, char* gameFolder) {
  if (chosen[0] == '\0') return FolderChoice::kNone;
  const size_t length = std::strlen(chosen);
  const size_t backslash = EndsWithBackslash(chosen) ? 0 : 1;
  if (length + backslash + 1 > static_cast<size_t>(kPathBufferSize)) return FolderChoice::kTooLong;
  std::memcpy(gameFolder, chosen, length);
  if (backslash != 0) gameFolder[length] = '\\';
  gameFolder[length + backslash] = '\0';
  return FolderChoice::kStored;
}
