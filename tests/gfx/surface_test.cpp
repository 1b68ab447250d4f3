// Surfaces and their pixel stores: geometry, flags, Lock, Release and re-Create.
#include <gtest/gtest.h>

#include <cstring>

#include "surface/dib_store.h"
#include "gfx/display.h"
#include "surface/mem_surface32.h"
#include "surface/pixel_store.h"
#include "gfx/surface32.h"
#include "window/test_window.h"

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

// Each store's geometry against the real platform's sections, then Release and Create again.
TEST_F(SurfaceTest, CreateSetsGeometryPerStoreAndReleaseZeroesIt) {
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

    EXPECT_EQ(surface->Release(), RC_OK);
    EXPECT_EQ(surface->Width() | surface->Pitch() | surface->Height(), 0);
    EXPECT_EQ(surface->Flags(), 0u);
    EXPECT_EQ(surface->GetPixelType(), 0);
    EXPECT_EQ(surface->GetDeviceContext(), nullptr);
    EXPECT_EQ(surface->Lock(), nullptr);
    EXPECT_EQ(surface->LastError(), RC_NO_PIXELS);
    EXPECT_EQ(surface->Release(), RC_OK);
    EXPECT_EQ(surface->LastError(), RC_OK);

    ASSERT_EQ(surface->Create(800, 600), RC_OK);
    EXPECT_EQ(surface->Pitch(), 800);
    EXPECT_EQ(surface->ByteSize(), 1920000);
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

// Both stores take pixel types 1 to 6 only, and a refusal keeps what they hold.
TEST(PixelStores, RefuseUnknownPixelTypes) {
  PixelStore store;
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

  DibStore section;
  EXPECT_EQ(section.CreateSection(nullptr, 0, 8, 2), RC_NO_MEMORY);
  EXPECT_EQ(section.CreateSection(nullptr, 7, 8, 2), RC_NO_MEMORY);
  EXPECT_EQ(section.MemoryDC(), nullptr);
  ASSERT_EQ(section.CreateSection(nullptr, kPixelType32, 8, 2), RC_OK);
  EXPECT_NE(section.Bits(), nullptr);
  EXPECT_EQ(section.DestroySection(), RC_OK);
  EXPECT_EQ(section.Bits(), nullptr);
  EXPECT_EQ(section.MemoryDC(), nullptr);
  EXPECT_EQ(section.DestroySection(), RC_OK);
}

}  // namespace
