// Thousands of random operations through the library and the reference model.
#include <gtest/gtest.h>

#include <memory>

#include "draw_random.h"
#include "kernel_paths.h"
#include "test_surface32.h"

namespace {

class TestSurfaceMaker : public SurfaceMaker {
 public:
  int32_t MinimumSize() const override { return 0; }
  bool ControlsLocks() const override { return true; }
  Surface32* Make(int32_t width, int32_t height, int32_t pitch,
                  const std::string& name) override {
    surfaces_.push_back(std::make_unique<TestSurface32>(width, height, pitch, name));
    return surfaces_.back().get();
  }
  void Arm(Surface32* surface, ResultCode lockError, std::vector<std::string>* log) override {
    auto* test = static_cast<TestSurface32*>(surface);
    test->FailLocksWith(lockError);
    test->LogTo(log);
  }
  void Reset() override { surfaces_.clear(); }

 private:
  std::vector<std::unique_ptr<TestSurface32>> surfaces_;
};

TEST(DrawRandom, LibraryMatchesReferenceOnTestSurfacesThroughEveryPath) {
  TestSurfaceMaker maker;
  for (KernelPath path : RunnableKernelPaths()) {
    SCOPED_TRACE(KernelPathName(path));
    ScopedKernelPath forced(path);
    ASSERT_TRUE(forced.ok());
    for (uint32_t seed = 1; seed <= 16; ++seed) RunRandomDrawCases(seed, 2500, maker);
  }
}

}  // namespace
