#include "app/win32/stepwise_replace.h"

#include <cstdio>

#include "platform/win32.h"

bool ReplaceStepwise(const char* source, const char* target) {
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
