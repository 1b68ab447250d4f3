#pragma once

// Moves `source` over an existing `target` without MoveFileExA, which Windows 95, 98 and Me do
// not have: the old file steps aside under a free name ("<target>.old", or ".old1" to ".old9"
// when that is taken), the new one takes its name, and only then does the old one go. If the new
// one cannot take the name, the old one comes back, so a failure leaves the target as it was.
// A file that already has one of those names is never touched.
bool ReplaceStepwise(const char* source, const char* target);
