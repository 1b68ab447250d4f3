#pragma once
// Test hooks of the native file substitute.
#include <cstdint>
#include <optional>
#include <string>

namespace subst {

// Drive paths "X:\rest" name "<dir>/X/rest" (the letter upper-cased). With no root set, or
// after SetDriveRoot(nullptr), drive paths name nothing and every call on them fails.
void SetDriveRoot(const char* dir);

// Handles from CreateFileA not yet closed.
int32_t OpenFileHandles();

// A power cut, for the files under the drive root (folders stay as made). While the model runs,
// a file's bytes reach the disk only when flushed, and a name only by a move written through;
// all else stays in the cache. It starts with the files there now on the disk, the call log
// (fault_hooks.h) empty.
void StartDiskModel();
void StopDiskModel();
// After that many logged calls, nothing more reaches the disk; -1: the power stays on.
void CutPowerAfter(int32_t calls);
// The bytes the disk holds under a path: what the machine finds after the cut.
std::optional<std::string> OnDisk(const char* path);

}  // namespace subst
