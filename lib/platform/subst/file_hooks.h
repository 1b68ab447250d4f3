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

// A power cut, for the files under the drive root. While the model runs, what has reached the
// disk is kept apart from what is only cached: a file's bytes reach it when flushed, a name
// when a move is written through. Creating, writing, closing, deleting and plain moves stay in
// the cache until then. Folders are not modelled: they stay as made.
// Starts the model with every file under the drive root on the disk as it is now, and the
// call log (fault_hooks.h) empty.
void StartDiskModel();
void StopDiskModel();
// After that many logged calls, nothing more reaches the disk; -1: the power stays on.
void CutPowerAfter(int32_t calls);
// The bytes the disk holds under a path: what the machine finds after the cut.
std::optional<std::string> OnDisk(const char* path);

}  // namespace subst
