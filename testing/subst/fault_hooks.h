#pragma once
// Test hooks of the native substitute: make platform calls fail on demand. Every substitute
// call of a kind below counts itself and, when a plan says so, fails the way the real call
// reports failure, without doing its work.
#include <cstdint>
#include <vector>

namespace subst {

enum class Fault : int32_t {
  kOpen,          // CreateFileA: INVALID_HANDLE_VALUE
  kRead,          // ReadFile: FALSE, nothing read
  kWrite,         // WriteFile: FALSE after writing the first half of the bytes, as a full disk
  kSeek,          // SetFilePointer: INVALID_SET_FILE_POINTER, pointer unmoved
  kSize,          // GetFileSize: INVALID_FILE_SIZE
  kClose,         // CloseHandle: FALSE, yet the handle is gone, as after a failed flush
  kFlush,         // FlushFileBuffers: FALSE, nothing flushed
  kAttributes,    // GetFileAttributesA: INVALID_FILE_ATTRIBUTES
  kDelete,        // DeleteFileA: FALSE
  kMove,          // MoveFileExA, MoveFileA: FALSE, nothing moved
  kCreateFolder,  // CreateDirectoryA: FALSE
  kGlobalAlloc,   // GlobalAlloc: null
  kHeapAlloc,     // AllocateHeapBlock (platform/heap.h): null
  kGetDC,         // GetDC: null
  kMemoryDC,      // CreateCompatibleDC: null
  kSection,       // CreateDIBSection: null
  kSelect,        // SelectObject: null
  kCount
};

const char* FaultName(Fault kind);

// The nth call of that kind from now on fails (1: the next one); replaces the kind's plan.
void FailCall(Fault kind, int32_t nth = 1);
// The nth call of that kind and every later one fail; replaces the kind's plan.
void FailCallsFrom(Fault kind, int32_t nth = 1);
// Calls of that kind made since the last plan for it or the last ClearFaults, failed ones too.
int32_t CallsOf(Fault kind);
// No plans left; every count starts again at 0.
void ClearFaults();

// For the substitute itself: counts the call and tells whether it must fail.
bool FaultDue(Fault kind);

// While on, every call of the kinds above is logged in the order made; switching empties the log.
void LogCalls(bool on);
const std::vector<Fault>& CallLog();

// Clears every plan when it goes, so a failing test cannot leave faults behind.
class FaultScope {
 public:
  FaultScope() { ClearFaults(); }
  ~FaultScope() { ClearFaults(); }
  FaultScope(const FaultScope&) = delete;
  FaultScope& operator=(const FaultScope&) = delete;
};

}  // namespace subst
