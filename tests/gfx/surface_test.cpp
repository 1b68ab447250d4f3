// Surfaces and their pixel stores: geometry, flags, Lock, Release and re-Create, bad sizes.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "gfx/dib_store.h"
#include "gfx/display.h"
#include "gfx/mem_surface32.h"
#include "gfx/pixel_store.h"
#include "gfx/surface32.h"
#include "test_window.h"

namespace {

struct Kind {
  bool drawing;  // CreateSurface32 rather than CreateSurface
  int32_t kind;
};

class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const DisplayDesc desc = DescFor(window_.handle(), 16, 16);
    ASSERT_EQ(display_.Open(&desc), RC_OK);
  }
  Surface* Make(Kind kind) {
    return kind.drawing ? static_cast<Surface*>(display_.CreateSurface32(kind.kind))
                        : display_.CreateSurface(kind.kind);
  }

  TestWindow window_{16, 16, TestWindow::Shown::kNo};
  Display display_;
};

constexpr Kind kAllKinds[] = {{false, 0}, {false, 1}, {true, 0}, {true, 1}};

TEST_F(SurfaceTest, CreateSetsGeometryFlagsAndFamilyPerStore) {
  struct Expected {
    Kind kind;
    int32_t pitch;
    int32_t byteSize;
    uint32_t flags;
    int32_t family;
  };
  const Expected cases[] = {
      {{false, 0}, 801, 1922400, 1, 24},       // PlainSurface
      {{false, 1}, 808, 1939200, 0x1002, 24},  // DibSurface
      {{true, 0}, 801, 1922400, 1, 15},        // MemSurface32
      {{true, 1}, 808, 1939200, 0x1002, 15},   // DibSurface32
  };
  for (const Expected& expected : cases) {
    SCOPED_TRACE(testing::Message()
                 << "drawing " << expected.kind.drawing << " kind " << expected.kind.kind);
    Surface* surface = Make(expected.kind);
    ASSERT_EQ(surface->Create(801, 600), RC_OK);
    EXPECT_EQ(surface->Width(), 801);
    EXPECT_EQ(surface->Height(), 600);
    EXPECT_EQ(surface->Pitch(), expected.pitch);
    EXPECT_EQ(surface->ByteSize(), expected.byteSize);
    EXPECT_EQ(surface->Flags(), expected.flags);
    EXPECT_EQ(surface->FamilyCode(), expected.family);
    EXPECT_EQ(surface->GetPixelType(), kPixelType32);
    EXPECT_EQ(surface->GetDeviceContext() != nullptr, expected.kind.kind == 1);

    // The whole of height x pitch is storage (AddressSanitizer would catch a short block).
    uint32_t* pixels = surface->Lock();
    ASSERT_NE(pixels, nullptr);
    std::memset(pixels, 0xAB, static_cast<size_t>(surface->ByteSize()));
    EXPECT_EQ(surface->Unlock(), RC_OK);

    ASSERT_EQ(surface->Create(800, 600), RC_OK);
    EXPECT_EQ(surface->Pitch(), 800);
    EXPECT_EQ(surface->ByteSize(), 1920000);
  }
}

TEST_F(SurfaceTest, ReleaseZeroesTheFieldsAndCreateWorksAgain) {
  for (Kind kind : kAllKinds) {
    Surface* surface = Make(kind);
    ASSERT_EQ(surface->Create(20, 10), RC_OK);
    EXPECT_EQ(surface->Release(), RC_OK);
    EXPECT_EQ(surface->Width(), 0);
    EXPECT_EQ(surface->Pitch(), 0);
    EXPECT_EQ(surface->Height(), 0);
    EXPECT_EQ(surface->Flags(), 0u);
    EXPECT_EQ(surface->GetPixelType(), 0);
    EXPECT_EQ(surface->GetDeviceContext(), nullptr);

    EXPECT_EQ(surface->Lock(), nullptr);
    EXPECT_EQ(surface->LastError(), RC_NO_PIXELS);
    EXPECT_EQ(surface->Unlock(), RC_OK);
    EXPECT_EQ(surface->Release(), RC_OK);
    EXPECT_EQ(surface->LastError(), RC_OK);

    ASSERT_EQ(surface->Create(24, 12), RC_OK);
    EXPECT_EQ(surface->OwnerSerial(), display_.Serial());
    EXPECT_NE(surface->Lock(), nullptr);
  }
}

// A 32-bit surface class without storage of its own.
class StorelessSurface32 : public Surface32 {
 public:
  using Surface32::Surface32;
  HDC PresentDC() override { return nullptr; }
  void Reserved() override {}
};

TEST_F(SurfaceTest, LockFailsWithoutPixelsOrWithoutStorage) {
  MemSurface32 unregistered(&display_);
  EXPECT_EQ(unregistered.Create(8, 8), RC_BAD_FORMAT);
  EXPECT_EQ(unregistered.Width(), 0);
  EXPECT_EQ(unregistered.Lock(), nullptr);
  EXPECT_EQ(unregistered.LastError(), RC_NO_PIXELS);
  EXPECT_EQ(unregistered.Unlock(), RC_OK);

  StorelessSurface32 storeless(&display_);
  EXPECT_EQ(storeless.Lock(), nullptr);
  EXPECT_EQ(storeless.LastError(), RC_LOCK_UNSUPPORTED);
  EXPECT_EQ(storeless.ByteSize(), 0);
  EXPECT_EQ(storeless.FamilyCode(), 0);
}

// Sizes whose storage would be empty or whose byte count would not fit 32 bits.
TEST_F(SurfaceTest, UnusableSizesAreRefusedAndChangeNothing) {
  const int32_t sizes[][2] = {{0, 10},        {10, 0},           {-8, 10},       {10, -1},
                              {INT_MAX, 1},   {INT_MAX - 3, 1},  {65536, 65536}, {1, INT_MAX},
                              {23171, 23171}, {INT_MIN, INT_MIN}};
  for (Kind kind : kAllKinds) {
    Surface* surface = Make(kind);
    ASSERT_EQ(surface->Create(12, 5), RC_OK);
    uint32_t* pixels = surface->Lock();
    for (const auto& size : sizes) {
      SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1]);
      EXPECT_EQ(surface->Create(size[0], size[1]), RC_BAD_LENGTH);
      EXPECT_EQ(surface->Width(), 12);
      EXPECT_EQ(surface->Height(), 5);
      EXPECT_EQ(surface->Lock(), pixels);
    }
  }
}

TEST(PixelStoreTest, AllocateRefusesUnknownTypesAndKeepsTheBlock) {
  PixelStore store;
  EXPECT_EQ(store.Pixels(), nullptr);
  ASSERT_EQ(store.Allocate(4, 10, 10), RC_OK);
  void* block = store.Pixels();
  std::memset(block, 0x5A, 300);  // 3 bytes a pixel
  EXPECT_EQ(store.Allocate(0, 10, 10), RC_NO_MEMORY);
  EXPECT_EQ(store.Allocate(7, 10, 10), RC_NO_MEMORY);
  EXPECT_EQ(store.Allocate(5, 0, 10), RC_BAD_LENGTH);
  EXPECT_EQ(store.Pixels(), block);
  EXPECT_EQ(store.Free(), RC_OK);
  EXPECT_EQ(store.Pixels(), nullptr);
  EXPECT_EQ(store.Free(), RC_OK);
}

TEST(DibStoreTest, CreateSectionRefusesUnknownTypesAndDestroyEmptiesTheStore) {
  DibStore store;
  EXPECT_EQ(store.CreateSection(nullptr, 0, 8, 2), RC_NO_MEMORY);
  EXPECT_EQ(store.CreateSection(nullptr, 7, 8, 2), RC_NO_MEMORY);
  EXPECT_EQ(store.MemoryDC(), nullptr);
  ASSERT_EQ(store.CreateSection(nullptr, kPixelType32, 8, 2), RC_OK);
  EXPECT_NE(store.MemoryDC(), nullptr);
  EXPECT_NE(store.Bits(), nullptr);
  EXPECT_EQ(store.DestroySection(), RC_OK);
  EXPECT_EQ(store.Bits(), nullptr);
  EXPECT_EQ(store.MemoryDC(), nullptr);
  EXPECT_EQ(store.DestroySection(), RC_OK);
}

}  // namespace
