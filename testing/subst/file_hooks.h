#pragma once
// Test hooks of the native file substitute.
#include <cstdint>

namespace subst {

// Drive paths "X:\rest" name "<dir>/X/rest" (the letter upper-cased). With no root set, or
// after SetDriveRoot(nullptr), drive paths name nothing and every call on them fails.
void SetDriveRoot(const char* dir);

// Handles from CreateFileA not yet closed.
int32_t OpenFileHandles();

}  // namespace subst
