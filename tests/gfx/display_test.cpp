// The display and its surfaces: serials, the surface table, each store's geometry, Open and
// Close, and what Present and Paint put in a window.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "app/win32/startup_display.h"
#include "gfx/display.h"
#include "surface/dib_surface32.h"
#include "surface/mem_surface32.h"
#include "surface/pixel_store.h"
#ifndef _WIN32
#include "subst/window_hooks.h"
#endif

namespace {

#ifdef _WIN32
// No background brush: nothing but the test paints the window. Shown without activation, it
// stays out of the window manager's hands (Wine would wait for one on destruction).
HWND NewWindow(int32_t width, int32_t height) {
  static WNDCLASSA windowClass{0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, "zv_test"};
  static const ATOM registered = RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, MAKEINTATOM(registered), "", WS_POPUP, 0, 0,
                                width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}
void EndWindow(HWND window) { DestroyWindow(window); }
void InvalidateOnly(HWND window, const RECT& rect) {
  ValidateRect(window, nullptr);
  InvalidateRect(window, &rect, FALSE);
}
#else
HWND NewWindow(int32_t width, int32_t height) { return subst::CreateTestWindow(width, height); }
void EndWindow(HWND window) { subst::DestroyTestWindow(window); }
void InvalidateOnly(HWND window, const RECT& rect) { subst::SetInvalidRect(window, rect); }
void GdiFlush() {}
#endif

// Reserved fields set, to show that they are kept.
DisplayDesc DescFor(HWND window, int32_t width, int32_t height) {
  return DisplayDesc{kDisplayDescSize, 0x1111, 0x2222, width, height, 24, WindowToDesc(window)};
}

uint32_t Pattern(size_t x, size_t y, uint32_t seed) {
  return (seed * 0x9E3779B1u + static_cast<uint32_t>(x * 0x10F01u + y * 0x3A0107u)) & 0xFFFFFF;
}

// Draws pattern seed over rect of the surface, and over the same pixels of a window's picture
// (320 pixels wide) unless that is null.
void Draw(Surface32& surface, const Rect& rect, uint32_t seed, std::vector<uint32_t>* picture) {
  uint32_t* pixels = surface.Lock();
  for (int32_t y = std::max(rect.top, 0); y < std::min(rect.bottom, surface.Height()); ++y) {
    for (int32_t x = std::max(rect.left, 0); x < std::min(rect.right, surface.Width()); ++x) {
      pixels[y * surface.Pitch() + x] = Pattern(x, y, seed);
      if (picture) (*picture)[y * 320 + x] = Pattern(x, y, seed);
    }
  }
  surface.Unlock();
}

// The window's pixels, copied out through a DIB surface's context.
std::vector<uint32_t> Capture(HWND window, int32_t width, int32_t height) {
  Display display;
  Surface32* copy = display.CreateSurface32(Display::kDibKind);
  copy->Create(width, height);
  HDC windowDC = GetDC(window);
  BitBlt(copy->GetDeviceContext(), 0, 0, width, height, windowDC, 0, 0, SRCCOPY);
  ReleaseDC(window, windowDC);
  GdiFlush();
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) pixels.push_back(copy->Lock()[y * copy->Pitch() + x] & 0xFFFFFF);
  return pixels;
}

// First in the program: the first display of a process is number 1.
TEST(Display, SerialsCountFromOneWithoutReuseAndStampSurfaces) {
  ASSERT_EQ(displaySerialCounter, 1);
  auto first = std::make_unique<Display>();
  Display second;
  EXPECT_EQ(first->Serial(), 1);
  EXPECT_EQ(second.CreateSurface32(1)->OwnerSerial(), 2);
  first.reset();
  EXPECT_EQ(Display().Serial(), 3);
}

TEST(Display, TableGrowsByTenAndReusesTheLowestFreeSlot) {
  Display display, other;
  std::vector<Surface*> made;
  for (int32_t i = 0; i < 30; ++i) made.push_back(i % 2 ? display.CreateSurface(i % 3) : display.CreateSurface32(i % 3));
  EXPECT_EQ(display.TableCapacity(), 30);
  EXPECT_EQ(display.DestroySurface(made[29]), RC_OK);  // the last slot
  EXPECT_EQ(display.DestroySurface(made[29]), RC_NOT_FOUND);
  EXPECT_EQ(display.SurfaceCount(), 29);
  made[29] = display.CreateSurface(0);
  made.push_back(display.CreateSurface32(0));
  EXPECT_EQ(display.TableCapacity(), 40);
  for (int32_t slot = -1; slot <= 40; ++slot) {
    EXPECT_EQ(display.SurfaceAt(slot), slot >= 0 && slot <= 30 ? made[slot] : nullptr) << slot;
  }
  EXPECT_EQ(display.CreateSurface(3), nullptr);
  EXPECT_EQ(display.CreateSurface32(-1), nullptr);
  EXPECT_EQ(display.DestroySurface(nullptr), RC_NO_MEMORY);
  EXPECT_EQ(display.AddSurface(nullptr), RC_NO_MEMORY);
  EXPECT_EQ(display.DestroySurface(other.CreateSurface(0)), RC_NOT_FOUND);
  EXPECT_EQ(display.SurfaceCount(), 31);
  EXPECT_EQ(display.DestroyAllSurfaces(), RC_OK);
  EXPECT_EQ(display.TableCapacity(), 0);
  Surface* fresh = display.CreateSurface(1);
  EXPECT_EQ(display.SurfaceAt(0), fresh);
  EXPECT_EQ(display.TableCapacity() + display.SurfaceCount(), 31);
}

TEST(Display, EachStoreGivesItsGeometryAndReleaseTakesItBack) {
  Display display;  // closed: the sections take the screen's context
  struct Case {
    Surface* surface;
    int32_t pitch, family;
    uint32_t flags;
  } const cases[] = {{display.CreateSurface(0), 801, 24, 1}, {display.CreateSurface(2), 808, 24, 0x1002},
                     {display.CreateSurface32(0), 801, 15, 1}, {display.CreateSurface32(1), 808, 15, 0x1002}};
  for (const Case& c : cases) {
    Surface& s = *c.surface;
    EXPECT_EQ(s.Width() | s.Height() | s.Pitch(), 0);
    EXPECT_EQ(s.Create(801, 0), RC_BAD_LENGTH);
    EXPECT_EQ(s.Create(0, 600), RC_BAD_LENGTH);
    EXPECT_EQ(s.Create(1 << 16, 1 << 14), RC_BAD_LENGTH);  // 4 GiB
    ASSERT_EQ(s.Create(801, 600), RC_OK);
    const int32_t got[] = {s.Width(), s.Height(), s.Pitch(), s.ByteSize(), s.FamilyCode(), s.GetPixelType()};
    const int32_t want[] = {801, 600, c.pitch, c.pitch * 600 * 4, c.family, kPixelType32};
    EXPECT_TRUE(std::equal(got, got + 6, want)) << c.pitch;
    EXPECT_EQ(s.Flags(), c.flags);
    EXPECT_EQ(s.GetDeviceContext() != nullptr, c.flags != 1);
    std::memset(s.Lock(), 0xAB, static_cast<size_t>(s.ByteSize()));  // AddressSanitizer sees it
    EXPECT_EQ(s.Release(), RC_OK);
    EXPECT_EQ(s.Width() | s.Height() | s.Pitch() | s.GetPixelType() | int32_t(s.Flags()), 0);
    EXPECT_EQ(s.GetDeviceContext(), nullptr);
    EXPECT_EQ(s.Lock(), nullptr);
    EXPECT_EQ(s.LastError(), RC_NO_PIXELS);
    EXPECT_EQ(s.Release(), RC_OK);
    EXPECT_EQ(s.LastError(), RC_OK);
  }
  // Unregistered, a surface cannot be made; without storage, it cannot be locked.
  MemSurface32 unregistered(&display);
  EXPECT_EQ(unregistered.Create(8, 8), RC_BAD_FORMAT);
  EXPECT_EQ(unregistered.Lock(), nullptr);
  struct Storeless : Surface32 {
    using Surface32::Surface32;
    HDC PresentDC() override { return nullptr; }
    void Reserved() override {}
  } storeless(&display);
  EXPECT_EQ(storeless.Lock(), nullptr);
  EXPECT_EQ(storeless.LastError(), RC_LOCK_UNSUPPORTED);
  EXPECT_EQ(storeless.ByteSize() | storeless.FamilyCode(), 0);
  // The stores take the pixel types 1 to 6 only.
  PixelStore heap;
  DibSurface32 section(&display);
  for (PixelType type : {0, 7}) {
    EXPECT_EQ(heap.Allocate(type, 10, 10), RC_NO_MEMORY);
    EXPECT_EQ(section.CreateSection(nullptr, type, 8, 2), RC_NO_MEMORY);
  }
}

// The area is 301 wide, so the section's rows are 304 pixels: a copy that ignored the pitch
// would shear the picture.
TEST(Display, OpenPresentPaintAndClose) {
  const HWND window = NewWindow(320, 240);
  Display display;
  std::vector<uint32_t> shown(320 * 240);
  {
    Display painter;
    const DisplayDesc whole = DescFor(window, 320, 240);
    ASSERT_EQ(painter.Open(&whole), RC_OK);
    Draw(*painter.GetPrimarySurface(), {0, 0, 320, 240}, 1, &shown);
    ASSERT_EQ(painter.PresentAll(), RC_OK);
  }
  EXPECT_EQ(display.Open(nullptr), RC_NULL_ARGUMENT);
  DisplayDesc desc = DescFor(window, 301, 200), bad = desc, zero{};
  for (int32_t size : {27, 32}) {
    bad.size = size;
    EXPECT_EQ(display.Open(&bad), RC_BAD_FORMAT);
  }
  EXPECT_EQ(std::memcmp(display.GetDesc(), &zero, sizeof zero), 0);
  EXPECT_TRUE(!display.GetPrimarySurface() && !display.DeviceContext() && !display.GetPixelType());

  ASSERT_EQ(display.Open(&desc), RC_OK);
  EXPECT_EQ(std::memcmp(display.GetDesc(), &desc, sizeof desc), 0);
  Surface32& primary = *display.GetPrimarySurface();
  EXPECT_EQ(display.SurfaceAt(0), &primary);
  EXPECT_TRUE(primary.Pitch() == 304 && primary.Flags() == Surface::kFlagsDib);
  EXPECT_TRUE(display.GetPixelType() == kPixelType32 && display.GetBitsPerPixel() == 32);
  const Rect presented[] = {{0, 0, 301, 200}, {10, 20, 110, 70}, {-10, -20, 150, 100}};
  for (uint32_t seed = 2; seed < 5; ++seed) {
    Draw(primary, {0, 0, 301, 200}, seed, nullptr);
    ASSERT_EQ(seed == 2 ? display.PresentAll() : display.Present(&presented[seed - 2]), RC_OK);
    Draw(primary, presented[seed - 2], seed, &shown);
    EXPECT_TRUE(Capture(window, 320, 240) == shown) << "seed " << seed;
  }
  const Rect extreme{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_EQ(display.Present(&extreme), RC_OK);
  Draw(primary, {0, 0, 301, 200}, 5, nullptr);
  InvalidateOnly(window, RECT{30, 40, 90, 100});
  ASSERT_EQ(display.Paint(), RC_OK);
  Draw(primary, {30, 40, 90, 100}, 5, &shown);
  EXPECT_TRUE(Capture(window, 320, 240) == shown);

  display.CreateSurface(1)->Create(8, 8);
  EXPECT_EQ(display.Close(), RC_OK);
  EXPECT_EQ(std::memcmp(display.GetDesc(), &zero, sizeof zero), 0);
  EXPECT_TRUE(!display.GetPrimarySurface() && !display.DeviceContext() && !display.SurfaceCount());
  EXPECT_EQ(display.Present(nullptr), RC_NO_DC);
  EXPECT_EQ(display.Paint(), RC_NO_DC);
  ASSERT_EQ(display.Open(&desc), RC_OK);
  EXPECT_EQ(display.SurfaceAt(0), display.GetPrimarySurface());
  // A primary without pixels, and a window whose context cannot be had.
  desc.width = 0;
  EXPECT_EQ(display.Open(&desc), RC_BAD_LENGTH);
  EXPECT_EQ(display.GetPrimarySurface()->Lock(), nullptr);
  EndWindow(window);
  desc.width = 320;
  EXPECT_EQ(display.Open(&desc), RC_GET_DC_FAILED);
  EXPECT_EQ(display.Present(nullptr), RC_NO_DC);
}

// As the program entry makes it.
TEST(Display, StartDisplayRefusesUnusableArgumentsThenOpensTheArea) {
  const HWND window = NewWindow(80, 60);
  EXPECT_EQ(StartDisplay(nullptr, 80, 60) + StartDisplay(window, 0, 60) + StartDisplay(window, 80, -1), 0);
  EXPECT_EQ(g_display, nullptr);
  ASSERT_EQ(StartDisplay(window, 80, 60), 1);
  const DisplayDesc* desc = g_display->GetDesc();
  EXPECT_TRUE(desc->size == 28 && desc->width == 80 && desc->height == 60 && desc->bitDepth == 24);
  EXPECT_EQ(WindowFromDesc(*desc), window);
  EXPECT_EQ(g_display->GetPrimarySurface()->Width(), 80);
  delete g_display;
  EndWindow(window);
}

}  // namespace
