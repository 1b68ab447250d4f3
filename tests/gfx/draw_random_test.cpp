// The drawing operations' backbone: random cases through the library on every kernel path the
// CPU can run, against the reference model. ZV_DRAW_CASES sets the cases a path (for soak runs).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "gfx/kernel_path.h"
#include "kernels/row_kernels.h"
#include "reference/draw_call.h"

namespace {

// Each path is forced in turn; one the CPU cannot run is refused and changes nothing.
class DrawRandom : public testing::TestWithParam<KernelPath> {
  void SetUp() override {
    if (GetParam() > BestKernelPath()) {
      GTEST_SKIP() << KernelPathName(GetParam()) << " path skipped: this CPU or its system "
                   << "cannot run it (best here: " << KernelPathName(BestKernelPath()) << ")";
    }
    ASSERT_EQ(ForceKernelPath(GetParam()), RC_OK);
  }
  void TearDown() override {
    ASSERT_EQ(ForceKernelPath(BestKernelPath()), RC_OK);
    EXPECT_TRUE(ForceKernelPath(KernelPath(4)) == RC_FAILED && CurrentKernelPath() == BestKernelPath());
  }
};

TEST_P(DrawRandom, LibraryMatchesTheReference) {
  const KernelPath path = GetParam();
  const RowKernels* const tables[] = {&kScalarRowKernels, &kSse2RowKernels, &kAvx2RowKernels,
                                      &kAvx512RowKernels};
  ASSERT_TRUE(CurrentKernelPath() == path && &ActiveRowKernels() == tables[int(path)]);
  std::mt19937 gen(1 + static_cast<uint32_t>(path));  // the same output in every build
  CaseBits bits = [&gen] { return static_cast<uint32_t>(gen()); };
  const int count = std::getenv("ZV_DRAW_CASES") ? std::atoi(std::getenv("ZV_DRAW_CASES")) : 20000;
  for (int i = 0, failures = 0; i < count && failures < 5; ++i) {
    const std::string problem = RunRandomCase(bits);
    if (!problem.empty()) ++failures, ADD_FAILURE() << "case " << i << ": " << problem;
  }
}

// The vector rules compute the mask multiply's quotients by high multiplies whose edges random
// bytes seldom meet: every triple of source, mask and destination byte, in every channel.
TEST_P(DrawRandom, MaskMultiplyIsExactForEveryTriple) {
  std::vector<uint32_t> source(1 << 16), mask(1 << 16), dest(1 << 16);
  DrawCall call;
  call.op = DrawOp::BltMaskMultiply;
  int failures = 0;
  for (uint32_t s = 0; s < 256 && failures < 5; ++s) {
    for (uint32_t i = 0; i < mask.size(); ++i) {
      source[i] = s * 0x010101u;
      mask[i] = (i >> 8) * 0x010101u;
      dest[i] = (i & 0xFF) * 0x010101u;
    }
    KernelOf(ActiveRowKernels(), &RowKernels::maskMultiply)(
        dest.data(), source.data(), mask.data(), static_cast<int32_t>(dest.size()), KernelArgs{});
    for (uint32_t i = 0; i < dest.size() && failures < 5; ++i) {
      const uint32_t m = i >> 8, d = i & 0xFF;
      if (dest[i] != ReferencePixel(call, source[i], mask[i], d * 0x010101u, 0, 0, 0)) {
        ++failures;
        ADD_FAILURE() << "s " << s << " m " << m << " d " << d << ": " << std::hex << dest[i];
      }
    }
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
