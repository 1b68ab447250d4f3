#include "gfx/kernel_path.h"

#include <cstdlib>

#include "kernels/row_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define ZV_CPUID_AVAILABLE 1
#endif

namespace {

#ifdef ZV_CPUID_AVAILABLE
// The YMM registers are usable only where the system saves them (XCR0 bits 1 and 2): a CPU
// with AVX2 under a system without AVX support must not take the AVX2 path.
bool SystemSavesYmmRegisters() {
  uint32_t low = 0;
  uint32_t high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return (low & 0x6) == 0x6;
}

KernelPath DetectBestPath() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return KernelPath::kScalar;  // no CPUID
  const bool sse2 = (edx & bit_SSE2) != 0;
  const bool avx = (ecx & bit_AVX) != 0 && (ecx & bit_OSXSAVE) != 0 && SystemSavesYmmRegisters();
  const bool avx2 = avx && __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0 &&
                    (ebx & bit_AVX2) != 0;
  return avx2 ? KernelPath::kAvx2 : sse2 ? KernelPath::kSse2 : KernelPath::kScalar;
}
#else
KernelPath DetectBestPath() { return KernelPath::kScalar; }
#endif

const RowKernels& KernelsOf(KernelPath path) {
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

// ZV_KERNEL_PATH=scalar|sse2|avx2 starts any program on that path, so that the end-to-end
// tests, fuzz targets and benchmark can run each one. A path the CPU cannot run, or another
// value, leaves the best path.
KernelPath StartingPath(KernelPath best) {
  const char* wanted = std::getenv("ZV_KERNEL_PATH");
  if (wanted == nullptr) return best;
  constexpr KernelPath kPaths[] = {KernelPath::kScalar, KernelPath::kSse2, KernelPath::kAvx2};
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
  }
  return "unknown";
}

const RowKernels& ActiveRowKernels() { return *TheSelection().kernels; }
