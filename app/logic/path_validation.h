#pragma once
#include <cstdint>

class SystemHost;

// The path checks, and the folder creation that follows them: CreateFolderChain creates only
// along a path ValidatePath accepts, so the two stay together.

// 1 when `path` is an absolute drive path (X:\...), optionally wrapped in double quotes, free of
// the characters a file name may not hold and of doubled backslashes; 0 otherwise.
int32_t ValidatePath(const char* path);

// Creates every folder along a valid path, shortest first; the last component only when the
// path ends with a backslash, the drive root never. Returns 0 (creating nothing) for a path
// ValidatePath refuses, else 1 whether or not each folder could be made.
int32_t CreateFolderChain(SystemHost& host, const char* path);
