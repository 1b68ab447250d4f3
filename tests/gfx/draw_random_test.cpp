// The drawing operations' backbone: random cases through the library on every kernel path the
// CPU can run, against the reference model. ZV_DRAW_CASES sets the cases a path (for soak runs).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "gfx/kernel_path.h"
#include "kernels/row_kernels.h"
#include "reference/draw_call.h"

namespace {

// Each path is forced in turn; one the CPU cannot run is refused and changes nothing.
class DrawRandom : public testing::TestWithParam<KernelPath> {
  void TearDown() override {
    ASSERT_EQ(ForceKernelPath(BestKernelPath()), RC_OK);
    EXPECT_TRUE(ForceKernelPath(KernelPath(4)) == RC_FAILED && CurrentKernelPath() == BestKernelPath());
  }
};

TEST_P(DrawRandom, LibraryMatchesTheReference) {
  const KernelPath path = GetParam();
  if (path > BestKernelPath()) {
    GTEST_SKIP() << KernelPathName(path) << " path skipped: this CPU or its system cannot run it "
                 << "(best here: " << KernelPathName(BestKernelPath()) << ")";
  }
  const RowKernels* const tables[] = {&kScalarRowKernels, &kSse2RowKernels, &kAvx2RowKernels,
                                      &kAvx512RowKernels};
  ASSERT_EQ(ForceKernelPath(path), RC_OK);
  ASSERT_TRUE(CurrentKernelPath() == path && &ActiveRowKernels() == tables[int(path)]);
  std::mt19937 gen(1 + static_cast<uint32_t>(path));  // the same output in every build
  CaseBits bits = [&gen] { return static_cast<uint32_t>(gen()); };
  const int count = std::getenv("ZV_DRAW_CASES") ? std::atoi(std::getenv("ZV_DRAW_CASES")) : 20000;
  for (int i = 0, failures = 0; i < count && failures < 5; ++i) {
    const std::string problem = RunRandomCase(bits);
    if (!problem.empty()) ++failures, ADD_FAILURE() << "case " << i << ": " << problem;
  }
}

INSTANTIATE_TEST_SUITE_P(KernelPaths, DrawRandom,
                         testing::Values(KernelPath::kScalar, KernelPath::kSse2, KernelPath::kAvx2,
                                         KernelPath::kAvx512),
                         [](const testing::TestParamInfo<KernelPath>& p) {  // no '-' in a name
                           return std::string(p.param == KernelPath::kAvx512 ? "AVX512"
                                                                             : KernelPathName(p.param));
                         });

}  // namespace
