// The vector kernels against the scalar ones, row by row: every width around the vector
// widths, row starts on and off vector boundaries, every checkerboard and dissolve phase, and
// the forcing of paths.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "gfx/draw_frame.h"
#include "gfx/kernel_path.h"
#include "kernel_paths.h"

namespace {

template <typename Kernel>
struct Named {
  const char* name;
  Kernel RowKernels::*kernel;
};

const Named<RectRowKernel> kRectKernels[] = {
    {"fill", &RowKernels::fill},           {"maskOrColor", &RowKernels::maskOrColor},
    {"screenColor", &RowKernels::screenColor}, {"multiplyColor", &RowKernels::multiplyColor},
    {"grayAverage", &RowKernels::grayAverage}, {"grayWeighted", &RowKernels::grayWeighted},
};
const Named<BlitRowKernel> kBlitKernels[] = {
    {"copy", &RowKernels::copy},           {"copyKeyed", &RowKernels::copyKeyed},
    {"copyKeyedMesh", &RowKernels::copyKeyedMesh}, {"blendKeyed", &RowKernels::blendKeyed},
    {"copyMesh", &RowKernels::copyMesh},   {"copyDissolve", &RowKernels::copyDissolve},
    {"maskOr", &RowKernels::maskOr},       {"clear", &RowKernels::clear},
    {"multiply", &RowKernels::multiply},   {"blend", &RowKernels::blend},
};
const Named<MaskRowKernel> kMaskKernels[] = {
    {"maskBlend", &RowKernels::maskBlend},
    {"maskMultiply", &RowKernels::maskMultiply},
    {"maskKey", &RowKernels::maskKey},
};

constexpr int32_t kMaxWidth = 40;
constexpr int32_t kMaxOffset = 9;  // row starts on and off 16- and 32-byte boundaries

class Words {
 public:
  explicit Words(uint32_t seed) : gen_(seed) {}
  uint32_t Next() {
    constexpr uint32_t kSpecial[] = {0, 0x00FFFFFF, 0xFFFFFFFF, 0xFF000000, 0x00010101,
                                     0x00FEFEFE, 0x00808080, 0x000000FF, 0x00FF0000};
    const uint32_t kind = gen_() % 4;
    if (kind == 0) return kSpecial[gen_() % (sizeof kSpecial / sizeof kSpecial[0])];
    return kind == 1 ? gen_() & 0x00FFFFFF : static_cast<uint32_t>(gen_());
  }
  std::vector<uint32_t> Row(size_t size) {
    std::vector<uint32_t> row(size);
    for (uint32_t& p : row) p = Next();
    return row;
  }
  KernelArgs Args() {
    KernelArgs args;
    args.colour = Next() & 0x00FFFFFF;
    const uint32_t weights = Next();
    args.weightRed = weights & 0xFF;
    args.weightGreen = (weights >> 8) & 0xFF;
    args.weightBlue = (weights >> 16) & 0xFF;
    args.destX = gen_() % 2;
    args.dissolveColumns = static_cast<uint32_t>(gen_()) & 0xFFFF;
    args.maskKey = gen_() % 3 == 0 ? Next() : Next() & 0xFF;
    return args;
  }

 private:
  std::mt19937 gen_;
};

std::string Where(const char* kernel, int32_t width, int32_t offset, int32_t areaRow) {
  return std::string(kernel) + " width " + std::to_string(width) + " offset " +
         std::to_string(offset) + " area row " + std::to_string(areaRow);
}

class VectorKernels : public ::testing::TestWithParam<KernelPath> {
 protected:
  void SetUp() override {
    if (GetParam() > BestKernelPath()) {
      GTEST_SKIP() << "this CPU has no " << KernelPathName(GetParam());
    }
    ASSERT_EQ(ForceKernelPath(GetParam()), RC_OK);
  }
  void TearDown() override { ForceKernelPath(BestKernelPath()); }
  const RowKernels& Fast() const { return ActiveRowKernels(); }
};

TEST_P(VectorKernels, RectRowsMatchScalar) {
  Words words(1);
  for (const auto& k : kRectKernels) {
    for (int32_t width = 1; width <= kMaxWidth; ++width) {
      for (int32_t offset = 0; offset < kMaxOffset; ++offset) {
        const KernelArgs args = words.Args();
        std::vector<uint32_t> expected = words.Row(kMaxWidth + kMaxOffset + 1);
        std::vector<uint32_t> actual = expected;
        (kScalarRowKernels.*k.kernel)(expected.data() + offset, width, args);
        (Fast().*k.kernel)(actual.data() + offset, width, args);
        ASSERT_EQ(actual, expected) << Where(k.name, width, offset, 0);
      }
    }
  }
}

TEST_P(VectorKernels, BlitRowsMatchScalar) {
  Words words(2);
  for (const auto& k : kBlitKernels) {
    for (int32_t width = 1; width <= kMaxWidth; ++width) {
      for (int32_t offset = 0; offset < kMaxOffset; ++offset) {
        for (int32_t areaRow = 0; areaRow < 4; ++areaRow) {
          const KernelArgs args = words.Args();
          const std::vector<uint32_t> source = words.Row(kMaxWidth + kMaxOffset);
          std::vector<uint32_t> expected = words.Row(kMaxWidth + kMaxOffset + 1);
          std::vector<uint32_t> actual = expected;
          // Source and destination rows start at different phases of the vector width.
          const int32_t sourceOffset = (offset * 5) % kMaxOffset;
          (kScalarRowKernels.*k.kernel)(expected.data() + offset, source.data() + sourceOffset,
                                        width, areaRow, args);
          (Fast().*k.kernel)(actual.data() + offset, source.data() + sourceOffset, width,
                             areaRow, args);
          ASSERT_EQ(actual, expected) << Where(k.name, width, offset, areaRow);
        }
      }
    }
  }
}

TEST_P(VectorKernels, MaskRowsMatchScalar) {
  Words words(3);
  for (const auto& k : kMaskKernels) {
    for (int32_t width = 1; width <= kMaxWidth; ++width) {
      for (int32_t offset = 0; offset < kMaxOffset; ++offset) {
        KernelArgs args = words.Args();
        const std::vector<uint32_t> source = words.Row(kMaxWidth + kMaxOffset);
        std::vector<uint32_t> mask = words.Row(kMaxWidth + kMaxOffset);
        // Keys that the mask holds, so that both choices of the key rule are taken.
        if (offset % 2 == 0) args.maskKey = mask[static_cast<size_t>(width / 2)] & 0xFF;
        for (size_t i = 0; i < mask.size(); i += 3) mask[i] = (mask[i] & ~0xFFu) | args.maskKey;
        std::vector<uint32_t> expected = words.Row(kMaxWidth + kMaxOffset + 1);
        std::vector<uint32_t> actual = expected;
        const int32_t sourceOffset = (offset * 5) % kMaxOffset;
        const int32_t maskOffset = (offset * 7) % kMaxOffset;
        (kScalarRowKernels.*k.kernel)(expected.data() + offset, source.data() + sourceOffset,
                                      mask.data() + maskOffset, width, args);
        (Fast().*k.kernel)(actual.data() + offset, source.data() + sourceOffset,
                           mask.data() + maskOffset, width, args);
        ASSERT_EQ(actual, expected) << Where(k.name, width, offset, 0);
      }
    }
  }
}

// Every dissolve row pattern and every checkerboard phase, including the run of all levels.
TEST_P(VectorKernels, EveryColumnPatternMatchesScalar) {
  Words words(4);
  KernelArgs args;
  for (uint32_t columns = 0; columns < 16; ++columns) {
    for (int32_t areaRow = 0; areaRow < 8; ++areaRow) {
      for (int32_t width = 1; width <= 20; ++width) {
        args.dissolveColumns = columns * 0x1111u;
        args.destX = columns & 1;
        const std::vector<uint32_t> source = words.Row(24);
        for (const auto& k : kBlitKernels) {
          std::vector<uint32_t> expected = words.Row(24);
          std::vector<uint32_t> actual = expected;
          (kScalarRowKernels.*k.kernel)(expected.data() + 1, source.data() + 3, width, areaRow,
                                        args);
          (Fast().*k.kernel)(actual.data() + 1, source.data() + 3, width, areaRow, args);
          ASSERT_EQ(actual, expected) << Where(k.name, width, columns, areaRow);
        }
      }
    }
  }
}

// Mosaic's block sums and fills over odd pitches, with blocks of up to 15 x 15 pixels.
TEST_P(VectorKernels, BlockSumsAndFillsMatchScalar) {
  Words words(5);
  constexpr ptrdiff_t kPitch = 47;
  std::vector<uint32_t> pixels = words.Row(static_cast<size_t>(kPitch) * 16);
  for (int32_t width = 1; width <= 15; ++width) {
    for (int32_t height = 1; height <= 15; height += 2) {
      for (int32_t offset = 0; offset < kMaxOffset; ++offset) {
        const BlockSums expected =
            kScalarRowKernels.sumBlock(pixels.data() + offset, kPitch, width, height);
        const BlockSums actual = Fast().sumBlock(pixels.data() + offset, kPitch, width, height);
        ASSERT_EQ(actual.redBlue, expected.redBlue) << width << "x" << height;
        ASSERT_EQ(actual.green, expected.green) << width << "x" << height;

        std::vector<uint32_t> filledScalar = pixels;
        std::vector<uint32_t> filledFast = pixels;
        kScalarRowKernels.fillBlock(filledScalar.data() + offset, kPitch, width, height, 0x123456);
        Fast().fillBlock(filledFast.data() + offset, kPitch, width, height, 0x123456);
        ASSERT_EQ(filledFast, filledScalar) << width << "x" << height;
      }
    }
  }
}

// The grey average divides a sum of up to 17 bits by 3: every sum a pixel can give.
TEST_P(VectorKernels, GrayAverageOfEverySum) {
  std::vector<uint32_t> expected;
  for (uint32_t sum = 0; sum <= 0xFFFF + 0xFF + 0xFF; ++sum) {
    const uint32_t high = sum < 0xFFFF ? sum : 0xFFFF;
    const uint32_t rest = sum - high;
    const uint32_t green = rest < 0xFF ? rest : 0xFF;
    expected.push_back((high << 16) | (green << 8) | (rest - green));
  }
  std::vector<uint32_t> actual = expected;
  kScalarRowKernels.grayAverage(expected.data(), static_cast<int32_t>(expected.size()), {});
  Fast().grayAverage(actual.data(), static_cast<int32_t>(actual.size()), {});
  EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, VectorKernels,
                         ::testing::Values(KernelPath::kSse2, KernelPath::kAvx2),
                         [](const ::testing::TestParamInfo<KernelPath>& param) {
                           return std::string(KernelPathName(param.param));
                         });

TEST(KernelPaths, ForcingStaysWithinWhatTheCpuHas) {
  const KernelPath best = BestKernelPath();
  EXPECT_EQ(CurrentKernelPath(), best);
  for (KernelPath path : RunnableKernelPaths()) {
    ScopedKernelPath forced(path);
    ASSERT_TRUE(forced.ok());
    EXPECT_EQ(CurrentKernelPath(), path);
  }
  EXPECT_EQ(CurrentKernelPath(), best);
  if (best != KernelPath::kAvx2) {
    EXPECT_EQ(ForceKernelPath(KernelPath::kAvx2), RC_FAILED);
  }
  EXPECT_EQ(ForceKernelPath(static_cast<KernelPath>(3)), RC_FAILED);
  EXPECT_EQ(ForceKernelPath(static_cast<KernelPath>(-1)), RC_FAILED);
  EXPECT_EQ(CurrentKernelPath(), best);

  ASSERT_EQ(ForceKernelPath(KernelPath::kScalar), RC_OK);
  EXPECT_EQ(&ActiveRowKernels(), &kScalarRowKernels);
  ForceKernelPath(best);
}

}  // namespace
