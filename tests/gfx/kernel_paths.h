#pragma once
#include <vector>

#include "gfx/kernel_path.h"

// Every kernel path this CPU can run, the scalar one first.
inline std::vector<KernelPath> RunnableKernelPaths() {
  std::vector<KernelPath> paths;
  for (int32_t p = 0; p <= static_cast<int32_t>(BestKernelPath()); ++p) {
    paths.push_back(static_cast<KernelPath>(p));
  }
  return paths;
}

// Forces a path for a scope, then goes back to the best one.
class ScopedKernelPath {
 public:
  explicit ScopedKernelPath(KernelPath path) : ok_(ForceKernelPath(path) == RC_OK) {}
  ~ScopedKernelPath() { ForceKernelPath(BestKernelPath()); }
  ScopedKernelPath(const ScopedKernelPath&) = delete;
  ScopedKernelPath& operator=(const ScopedKernelPath&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};
