#pragma once
#include <cstddef>
#include <cstring>

#include "app/logic/app_state.h"

class SystemHost;

// A NUL-terminated path in a fixed buffer that refuses, whole, anything that would not fit.
class PathBuffer {
 public:
  bool Append(const char* text) { return AppendBytes(text, std::strlen(text)); }

  bool AppendBytes(const char* bytes, size_t count) {
    if (count >= sizeof(bytes_) - length_) return false;
    std::memcpy(bytes_ + length_, bytes, count);
    length_ += count;
    bytes_[length_] = '\0';
    return true;
  }

  // Lets a platform call write at the end; Adopt then takes in what it wrote.
  char* Tail() { return bytes_ + length_; }
  size_t SpaceLeft() const { return sizeof(bytes_) - length_; }
  void Adopt() { length_ += strnlen(Tail(), SpaceLeft() - 1); bytes_[length_] = '\0'; }

  const char* Text() const { return bytes_; }
  size_t Length() const { return length_; }

 private:
  char bytes_[kPathBufferSize] = {};
  size_t length_ = 0;
};

// Where a Set command writes.
struct InstallPaths {
  PathBuffer information;
  PathBuffer temporaryFile;  // beside the information file, moved over it when complete
  PathBuffer temporaryFolder;
};

// The information file named fileName in the Windows directory or, for a profile install, in
// the user's profile folders, and the temporary file beside it. false when the system's
// answers are unusable or a path would not fit its buffer.
bool BuildPaths(SystemHost& host, bool profile, const char* fileName, InstallPaths& paths);
