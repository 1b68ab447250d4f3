#include "gfx/kernel_path.h"

#include "gfx/draw_frame.h"

namespace {

KernelPath DetectBestPath() {
#ifdef ZV_X86_KERNELS
  __builtin_cpu_init();
  // GCC's check of AVX2 includes the system's saving of the YMM registers (XGETBV).
  if (__builtin_cpu_supports("avx2")) return KernelPath::kAvx2;
  if (__builtin_cpu_supports("sse2")) return KernelPath::kSse2;
#endif
  return KernelPath::kScalar;
}

const RowKernels& KernelsOf(KernelPath path) {
#ifdef ZV_X86_KERNELS
  if (path == KernelPath::kAvx2) return kAvx2RowKernels;
  if (path == KernelPath::kSse2) return kSse2RowKernels;
#endif
  (void)path;
  return kScalarRowKernels;
}

struct Selection {
  KernelPath best;
  KernelPath current;
  const RowKernels* kernels;
};

Selection& TheSelection() {
  static Selection selection = [] {
    const KernelPath best = DetectBestPath();
    return Selection{best, best, &KernelsOf(best)};
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
