#include "app/logic/path_validation.h"

#include <cstring>

#include "app/logic/system_host.h"

namespace {

constexpr size_t kScanLimit = 260;
// A quoted path may hold 260 bytes besides its terminator.
constexpr size_t kWorkBufferSize = kScanLimit + 1;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsRefusedCharacter(char c) { return c != '\0' && std::strchr("\"*,/:;<>?|", c) != nullptr; }

// Bytes are examined one by one, so a double-byte character's trail byte counts as ASCII.
bool IsRefusedAt(const char* path, size_t i) {
  return IsRefusedCharacter(path[i]) || (path[i] == '\\' && path[i + 1] == '\\');
}

}  // namespace

int32_t ValidatePath(const char* path) {
  if (path == nullptr) return 0;
  const size_t length = std::strlen(path);
  const size_t q = (length > 0 && path[0] == '"' && path[length - 1] == '"') ? 1 : 0;
  if (length < 3 + 2 * q) return 0;
  if (!IsAsciiLetter(path[q]) || path[q + 1] != ':' || path[q + 2] != '\\') return 0;

  // The scan takes in the drive's backslash, so "C:\\..." counts as a doubled backslash and the
  // root can never reach CreateFolderChain. Looking q bytes ahead leaves a closing quote
  // unexamined.
  for (size_t i = q + 2; i < kScanLimit; ++i) {
    if (path[i + q] == '\0') return 1;
    if (IsRefusedAt(path, i)) return 0;
  }
  return 0;
}

int32_t CreateFolderChain(SystemHost& host, const char* path) {
  if (!ValidatePath(path)) return 0;
  const size_t q = path[0] == '"' ? 1 : 0;

  char work[kWorkBufferSize];
  std::memcpy(work, path, std::strlen(path) + 1);

  SECURITY_ATTRIBUTES security = {};
  security.nLength = sizeof(security);
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = TRUE;

  for (size_t i = q + 3; work[i] != '\0' && work[i] != '"'; ++i) {
    if (work[i] != '\\') continue;
    work[i] = '\0';
    host.MakeFolder(work + q, &security);
    work[i] = '\\';
  }
  return 1;
}
