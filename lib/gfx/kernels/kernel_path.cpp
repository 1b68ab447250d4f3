#include "gfx/kernel_path.h"

#include <cstdlib>

#include "kernels/row_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define ZV_CPUID_AVAILABLE 1
#endif

namespace {

#ifdef ZV_CPUID_AVAILABLE
// A vector register file is usable only where the system saves it on a switch (XCR0): SSE and
// YMM state (bits 1 and 2) for AVX2, and for AVX-512 also the opmasks and both halves of the ZMM
// state (bits 5 to 7). A CPU with the instructions under a system that does not save them must
// not take their path.
constexpr uint32_t kYmmState = 0x06;
constexpr uint32_t kZmmState = 0xE6;

uint32_t SavedStateMask() {
  uint32_t low = 0;
  uint32_t high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}

KernelPath DetectBestPath() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return KernelPath::kScalar;  // no CPUID
  const bool sse2 = (edx & bit_SSE2) != 0;
  const uint32_t saved = (ecx & bit_OSXSAVE) != 0 ? SavedStateMask() : 0;
  const bool avx = (ecx & bit_AVX) != 0 && (saved & kYmmState) == kYmmState;
  if (!avx || __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) == 0 || (ebx & bit_AVX2) == 0) {
    return sse2 ? KernelPath::kSse2 : KernelPath::kScalar;
  }
  const bool avx512 = (ebx & bit_AVX512F) != 0 && (ebx & bit_AVX512BW) != 0 &&
                      (saved & kZmmState) == kZmmState;
  return avx512 ? KernelPath::kAvx512 : KernelPath::kAvx2;
}
#else
KernelPath DetectBestPath() { return KernelPath::kScalar; }
#endif

const RowKernels& KernelsOf(KernelPath path) {
  if (path == KernelPath::kAvx512) return kAvx512RowKernels;
  if (path == KernelPath::kAvx2) return kAvx2RowKernels;
  if (path == KernelPath::kSse2) return kSse2RowKernels;
  return kScalarRowKernels;
}

// Equal but for the case of ASCII letters.
bool SameLetters(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c + 0; };
    if (lower(*a) != lower(*b)) return false;
  }
  return *a == *b;
}

// ZV_KERNEL_PATH=scalar|sse2|avx2|avx-512 starts any program on that path, so that the end-to-end
// tests, fuzz targets and benchmark can run each one. A path the CPU cannot run, or another
// value, leaves the best path.
KernelPath StartingPath(KernelPath best) {
  const char* wanted = std::getenv("ZV_KERNEL_PATH");
  if (wanted == nullptr) return best;
  constexpr KernelPath kPaths[] = {KernelPath::kScalar, KernelPath::kSse2, KernelPath::kAvx2,
                                   KernelPath::kAvx512};
  for (const KernelPath path : kPaths) {
    const bool runnable = static_cast<int32_t>(path) <= static_cast<int32_t>(best);
    if (runnable && SameLetters(wanted, KernelPathName(path))) return path;
  }
  return best;
}

struct Selection {
  KernelPath best;
  KernelPath current;
  const RowKernels* kernels;
};

Selection& TheSelection() {
  static Selection selection = [] {
    const KernelPath best = DetectBestPath();
    const KernelPath start = StartingPath(best);
    return Selection{best, start, &KernelsOf(start)};
  }();
  return selection;
}

}  // namespace

KernelPath BestKernelPath() { return TheSelection().best; }

KernelPath CurrentKernelPath() { return TheSelection().current; }

ResultCode ForceKernelPath(KernelPath path) {
  Selection& selection = TheSelection();
  const auto wanted = static_cast<int32_t>(path);
  if (wanted < 0 || wanted > static_cast<int32_t>(selection.best)) {
    return RC_FAILED;
  }
  selection.current = path;
  selection.kernels = &KernelsOf(path);
  return RC_OK;
}

const char* KernelPathName(KernelPath path) {
  switch (path) {
    case KernelPath::kScalar: return "scalar";
    case KernelPath::kSse2: return "SSE2";
    case KernelPath::kAvx2: return "AVX2";
    case KernelPath::kAvx512: return "AVX-512";
  }
  return "unknown";
}

const RowKernels& ActiveRowKernels() { return *TheSelection().kernels; }
