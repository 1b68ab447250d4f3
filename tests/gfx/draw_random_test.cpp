// Thousands of random operations through the library and the reference model, on test
// surfaces whose Locks can fail and on the display's heap and DIB surfaces (rows padded to 8
// pixels), through every kernel path the CPU can run.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "draw_random.h"
#include "gfx/display.h"
#include "draw/draw_frame.h"
#include "kernel_paths.h"
#include "reference/test_surface32.h"

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

enum class Store { kHeap, kDib, kMixed };

// Surfaces of a closed display: its DIB sections take the screen's context.
class DisplaySurfaceMaker : public SurfaceMaker {
 public:
  explicit DisplaySurfaceMaker(Store store) : store_(store) {}

  int32_t MinimumSize() const override { return 1; }
  bool ControlsLocks() const override { return false; }
  Surface32* Make(int32_t width, int32_t height, int32_t, const std::string&) override {
    const bool dib = store_ == Store::kDib || (store_ == Store::kMixed && made_++ % 2 == 1);
    Surface32* surface = display_.CreateSurface32(dib ? Display::kDibKind : Display::kHeapKind);
    return surface && surface->Create(width, height) == RC_OK ? surface : nullptr;
  }
  void Arm(Surface32*, ResultCode, std::vector<std::string>*) override {}
  void Reset() override { display_.DestroyAllSurfaces(); }

 private:
  Display display_;
  Store store_;
  int made_ = 0;
};

// One instance per kernel path; a path this CPU or its system cannot run is skipped, and says so.
class DrawRandom : public testing::TestWithParam<KernelPath> {
 protected:
  void SetUp() override {
    if (static_cast<int32_t>(GetParam()) > static_cast<int32_t>(BestKernelPath())) {
      GTEST_SKIP() << KernelPathName(GetParam())
                   << " path skipped: this CPU or its system cannot run it (best path here: "
                   << KernelPathName(BestKernelPath()) << ")";
    }
  }

  void RunSeeds(uint32_t firstSeed, int seeds, int count, SurfaceMaker& maker) {
    ScopedKernelPath forced(GetParam());
    ASSERT_TRUE(forced.ok());
    ASSERT_EQ(CurrentKernelPath(), GetParam());
    for (uint32_t seed = firstSeed; seed < firstSeed + seeds; ++seed) {
      RunRandomDrawCases(seed, count, maker);
    }
  }
};

TEST_P(DrawRandom, LibraryMatchesReferenceOnTestSurfaces) {
  TestSurfaceMaker maker;
  RunSeeds(1, 16, 2500, maker);
}

TEST_P(DrawRandom, LibraryMatchesReferenceOnDisplaySurfaces) {
  for (Store store : {Store::kHeap, Store::kDib, Store::kMixed}) {
    SCOPED_TRACE(static_cast<int>(store));
    DisplaySurfaceMaker maker(store);
    RunSeeds(101 + 101 * static_cast<uint32_t>(store), 1, 3000, maker);
  }
}

INSTANTIATE_TEST_SUITE_P(KernelPaths, DrawRandom,
                         testing::Values(KernelPath::kScalar, KernelPath::kSse2,
                                         KernelPath::kAvx2, KernelPath::kAvx512),
                         [](const testing::TestParamInfo<KernelPath>& param) {
                           std::string name = KernelPathName(param.param);
                           name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                           return name;
                         });

// The grey average divides a sum of up to 17 bits by 3: every sum a pixel can give, which
// random pixels would hardly reach.
TEST(KernelPaths, EveryPathAgreesOnEveryGreySum) {
  std::vector<uint32_t> pixels;
  for (uint32_t sum = 0; sum <= 0xFFFF + 0xFF + 0xFF; ++sum) {
    const uint32_t high = sum < 0xFFFF ? sum : 0xFFFF;
    const uint32_t rest = sum - high;
    const uint32_t green = rest < 0xFF ? rest : 0xFF;
    pixels.push_back((high << 16) | (green << 8) | (rest - green));
  }
  std::vector<uint32_t> expected = pixels;
  kScalarRowKernels.grayAverage(expected.data(), static_cast<int32_t>(expected.size()), {});
  for (KernelPath path : RunnableKernelPaths()) {
    ScopedKernelPath forced(path);
    std::vector<uint32_t> actual = pixels;
    KernelOf(ActiveRowKernels(), &RowKernels::grayAverage)(actual.data(), static_cast<int32_t>(actual.size()), {});
    EXPECT_EQ(actual, expected) << KernelPathName(path);
  }
}

// Random surfaces are too narrow for the widest vectors of the blur's means and for Mosaic's
// pieces of 1,024 columns: rows past both, through every path, against the scalar one.
TEST(KernelPaths, EveryPathAgreesOnWideRowsOfMosaicAndBlur) {
  std::vector<uint32_t> expected;
  for (KernelPath path : RunnableKernelPaths()) {
    ScopedKernelPath forced(path);
    TestSurface32 source(2100, 23, 2103);
    TestSurface32 dest(2100, 23, 2100);
    uint32_t noise = 1;
    for (TestSurface32* surface : {&source, &dest}) {
      for (uint32_t& p : surface->Pixels()) p = noise = noise * 1664525u + 1013904223u;
    }
    const Rect band{3, 1, 2099, 22};
    const Rect lowerRows{0, 14, 2100, 23};
    ASSERT_EQ(dest.Mosaic(7, &band, 1, 5, 0), RC_OK);
    ASSERT_EQ(dest.BlurFrom(8, &source, &lowerRows, 1), RC_OK);
    ASSERT_EQ(source.BlurFrom(6, &dest, nullptr, 3), RC_OK);
    std::vector<uint32_t> actual = dest.Pixels();
    actual.insert(actual.end(), source.Pixels().begin(), source.Pixels().end());
    if (path == KernelPath::kScalar) expected = actual;
    EXPECT_EQ(actual, expected) << KernelPathName(path);
  }
}

TEST(KernelPaths, ForcingSwitchesTheKernelsAndRefusesPathsTheCpuCannotRun) {
  {
    ScopedKernelPath scalar(KernelPath::kScalar);
    EXPECT_EQ(&ActiveRowKernels(), &kScalarRowKernels);
  }
  for (int32_t path : {-1, static_cast<int32_t>(BestKernelPath()) + 1,
                       static_cast<int32_t>(KernelPath::kAvx512) + 1}) {
    EXPECT_EQ(ForceKernelPath(static_cast<KernelPath>(path)), RC_FAILED) << path;
  }
  EXPECT_EQ(CurrentKernelPath(), BestKernelPath());
}

}  // namespace
