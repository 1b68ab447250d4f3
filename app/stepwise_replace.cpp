#include "app/stepwise_replace.h"

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

}  // namespace

bool ReplaceStepwise(const char* source, const char* target) {
  if (!FlushToDisk(source)) return false;
  char aside[MAX_PATH];
  const int length = std::snprintf(aside, sizeof aside, "%s.old", target);
  if (length < 0 || length >= static_cast<int>(sizeof aside)) return false;
  DeleteFileA(aside);  // left over from a replacement that was cut short
  if (!MoveFileA(target, aside)) return false;
  if (!MoveFileA(source, target)) {
    MoveFileA(aside, target);
    return false;
  }
  DeleteFileA(aside);
  return true;
}
