// The drawing operations' backbone: random cases through the library on every kernel path the
// CPU can run, against the reference model. ZV_DRAW_CASES sets the cases a path (for soak runs).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "kernels/row_kernels.h"
#include "reference/draw_call.h"
#include "reference/test_surface32.h"
#include "gfx/kernel_path.h"

namespace {

class SeededBits : public CaseBits {
 public:
  explicit SeededBits(uint32_t seed) : gen_(seed) {}
  uint32_t Bits() override { return static_cast<uint32_t>(gen_()); }

 private:
  std::mt19937 gen_;  // its output, unlike the distributions', is the same in every build
};

const RowKernels* const kTables[] = {&kScalarRowKernels, &kSse2RowKernels, &kAvx2RowKernels,
                                     &kAvx512RowKernels};

class DrawRandom : public testing::TestWithParam<KernelPath> {
 protected:
  void TearDown() override { ForceKernelPath(BestKernelPath()); }
};

TEST_P(DrawRandom, LibraryMatchesTheReference) {
  const KernelPath path = GetParam();
  if (path > BestKernelPath()) {
    GTEST_SKIP() << KernelPathName(path) << " path skipped: this CPU or its system cannot run it "
                 << "(best here: " << KernelPathName(BestKernelPath()) << ")";
  }
  ASSERT_EQ(ForceKernelPath(path), RC_OK);
  ASSERT_EQ(CurrentKernelPath(), path);
  ASSERT_EQ(&ActiveRowKernels(), kTables[static_cast<int>(path)]);
  const char* cases = std::getenv("ZV_DRAW_CASES");
  const int count = cases ? std::atoi(cases) : 20000;
  SeededBits bits(1 + static_cast<uint32_t>(path));
  for (int i = 0, failures = 0; i < count && failures < 5; ++i) {
    const std::string problem = RunRandomCase(bits);
    if (!problem.empty()) ++failures, ADD_FAILURE() << "case " << i << ": " << problem;
  }
}

INSTANTIATE_TEST_SUITE_P(KernelPaths, DrawRandom,
                         testing::Values(KernelPath::kScalar, KernelPath::kSse2,
                                         KernelPath::kAvx2, KernelPath::kAvx512),
                         [](const testing::TestParamInfo<KernelPath>& param) {
                           std::string name = KernelPathName(param.param);
                           return name == "AVX-512" ? "AVX512" : name;
                         });

// Rows past Mosaic's pieces of 1,024 columns and the blur's widest vectors, and every sum the
// grey average divides by 3: each path against the scalar one.
TEST(KernelPaths, WideRowsAgree) {
  std::vector<uint32_t> expected;
  for (int32_t path = 0; path <= static_cast<int32_t>(BestKernelPath()); ++path) {
    ASSERT_EQ(ForceKernelPath(static_cast<KernelPath>(path)), RC_OK);
    TestSurface32 grey(2100, 32, 2103), noise(2100, 23, 2100);
    for (uint32_t sum = 0; sum <= 0xFFFF + 0x1FE; ++sum) {
      const uint32_t high = std::min(sum, 0xFFFFu), green = std::min(sum - high, 0xFFu);
      grey.Pixels()[sum] = high << 16 | green << 8 | (sum - high - green);
    }
    uint32_t n = 1;
    for (uint32_t& p : noise.Pixels()) p = n = n * 1664525u + 1013904223u;
    const Rect band{3, 1, 2099, 22}, top{0, 0, 2100, 6}, bottom{0, 14, 2100, 23};
    ASSERT_EQ(grey.GrayAverage(nullptr), RC_OK);
    ASSERT_EQ(noise.Mosaic(7, &band, 1, 5, 0), RC_OK);
    ASSERT_EQ(noise.BlurFrom(6, &grey, &top, 3), RC_OK);
    ASSERT_EQ(noise.BlurFrom(8, &grey, &bottom, 1), RC_OK);
    std::vector<uint32_t> got = noise.Pixels();
    got.insert(got.end(), grey.Pixels().begin(), grey.Pixels().end());
    if (path == 0) expected = got;
    EXPECT_EQ(got, expected) << KernelPathName(static_cast<KernelPath>(path));
  }
  ForceKernelPath(BestKernelPath());
}

TEST(KernelPaths, ForcingRefusesPathsTheCpuCannotRun) {
  for (int32_t path : {-1, static_cast<int32_t>(BestKernelPath()) + 1, 4}) {
    EXPECT_EQ(ForceKernelPath(static_cast<KernelPath>(path)), RC_FAILED) << path;
  }
  EXPECT_EQ(CurrentKernelPath(), BestKernelPath());
}

}  // namespace
