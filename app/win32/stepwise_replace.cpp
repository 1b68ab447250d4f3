#include "app/win32/stepwise_replace.h"

#include <cstdio>

#include "platform/win32.h"

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool Flush() const { return handle_ != INVALID_HANDLE_VALUE && FlushFileBuffers(handle_); }

 private:
  HANDLE handle_;
};

// These moves are not written through, and the system may write the new names before the
// file's bytes: a power cut must not find the target's name on an empty file.
bool FlushToDisk(const char* path) {
  const FileHandle file(
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Flush();
}

constexpr int kAsideNames = 10;

// "<target>.old", or "<target>.old1" to ".old9" where that is taken: any of them may be the
// user's own file, so none that exists is ever used.
bool FindFreeAsideName(const char* target, char (&aside)[MAX_PATH]) {
  for (int attempt = 0; attempt < kAsideNames; ++attempt) {
    const int length = attempt == 0
                           ? std::snprintf(aside, sizeof aside, "%s.old", target)
                           : std::snprintf(aside, sizeof aside, "%s.old%d", target, attempt);
    if (length < 0 || length >= static_cast<int>(sizeof aside)) return false;
    if (GetFileAttributesA(aside) == INVALID_FILE_ATTRIBUTES) return true;
  }
  return false;
}

}  // namespace

bool ReplaceStepwise(const char* source, const char* target) {
  if (!FlushToDisk(source)) return false;
  char aside[MAX_PATH];
  if (!FindFreeAsideName(target, aside)) return false;
  // MoveFileA never replaces: a name taken since the look fails the move, not the file there.
  if (!MoveFileA(target, aside)) return false;
  if (!MoveFileA(source, target)) {
    MoveFileA(aside, target);
    return false;
  }
  DeleteFileA(aside);
  return true;
}
