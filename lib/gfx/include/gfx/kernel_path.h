#pragma once
#include <cstdint>

#include "common/result_code.h"

// The drawing operations run their rows through one of these kernel sets, chosen at start-up
// from what the CPU supports. Every path gives the same pixels; forcing one is for tests and
// benchmarks.
enum class KernelPath : int32_t { kScalar = 0, kSse2 = 1, kAvx2 = 2, kAvx512 = 3 };

// The fastest path this CPU (and its operating system) can run.
KernelPath BestKernelPath();
// The path in use: BestKernelPath(), or the one the environment variable ZV_KERNEL_PATH names
// (scalar, sse2 or avx2) when this CPU can run it, until forced.
KernelPath CurrentKernelPath();
// Uses path from now on. RC_FAILED, and no change, when the CPU cannot run it.
ResultCode ForceKernelPath(KernelPath path);

const char* KernelPathName(KernelPath path);
