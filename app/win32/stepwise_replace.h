#pragma once

// Moves `source` over an existing `target` without MoveFileExA, which Windows 95, 98 and Me do
// not have: the old file steps aside as "<target>.old", the new one takes its name, and only
// then does the old one go. If the new one cannot take the name, the old one comes back, so a
// failure leaves the target as it was.
bool ReplaceStepwise(const char* source, const char* target);
