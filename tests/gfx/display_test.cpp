// The display and its surfaces: serials, the surface table, each store's geometry, Open and
// Close, and what Present and Paint put in a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "app/win32/startup_display.h"
#include "gfx/display.h"
#include "surface/dib_surface32.h"
#include "surface/pixel_store.h"
#ifndef _WIN32
#include "subst/window_hooks.h"
#endif

namespace {

#ifdef _WIN32
// No background brush: nothing but the test paints the window. Shown without activation, it
// stays out of the window manager's hands (Wine would wait for one on destruction).
HWND NewWindow(int32_t width, int32_t height) {
  static WNDCLASSA windowClass{0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), nullptr,
                               nullptr, nullptr, nullptr, "zv_test_window"};
  static const ATOM atom = RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, width,
                                height, nullptr, nullptr, windowClass.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}
void EndWindow(HWND window) { DestroyWindow(window); }
void InvalidateOnly(HWND window, RECT rect) {
  ValidateRect(window, nullptr);
  InvalidateRect(window, &rect, FALSE);
}
#else
HWND NewWindow(int32_t width, int32_t height) { return subst::CreateTestWindow(width, height); }
void EndWindow(HWND window) { subst::DestroyTestWindow(window); }
void InvalidateOnly(HWND window, RECT rect) { subst::SetInvalidRect(window, rect); }
void GdiFlush() {}
#endif

// Draws a pattern of seed over rect of the surface, and over the same pixels of a picture of a
// window 320 pixels wide unless that is null.
void Draw(Surface32& surface, const Rect& rect, uint32_t seed, std::vector<uint32_t>* picture) {
  for (int32_t y = std::max(rect.top, 0); y < std::min(rect.bottom, surface.Height()); ++y)
    for (int32_t x = std::max(rect.left, 0); x < std::min(rect.right, surface.Width()); ++x) {
      const uint32_t p = (seed * 0x9E3779B1u + uint32_t(x) * 0x10F01u + uint32_t(y) * 0x3A0107u) & 0xFFFFFF;
      surface.Lock()[y * surface.Pitch() + x] = p;
      if (picture) (*picture)[y * 320 + x] = p;
    }
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
  for (int32_t i = 0; i < width * height; ++i)
    pixels.push_back(copy->Lock()[i / width * copy->Pitch() + i % width] & 0xFFFFFF);
  return pixels;
}

// First in the program: the first display of a process is number 1, and serials are not reused.
TEST(Display, SerialsAndTheSurfaceTable) {
  ASSERT_EQ(displaySerialCounter, 1);
  auto first = std::make_unique<Display>();
  Display display, other;
  EXPECT_EQ(first->Serial(), 1);
  first.reset();
  EXPECT_EQ(Display().Serial(), 4);
  // 30 slots at first, then 10 more at a time; a new surface takes the lowest free slot.
  std::vector<Surface*> made;
  for (int32_t i = 0; i < 30; ++i)
    made.push_back(i % 2 ? display.CreateSurface(i % 3) : display.CreateSurface32(i % 3));
  EXPECT_TRUE(made[0]->OwnerSerial() == 2 && display.TableCapacity() == 30);
  EXPECT_TRUE(display.DestroySurface(made[29]) == RC_OK && display.DestroySurface(made[29]) == RC_NOT_FOUND);
  EXPECT_EQ(display.SurfaceCount(), 29);
  made[29] = display.CreateSurface(0);
  made.push_back(display.CreateSurface32(0));
  EXPECT_EQ(display.TableCapacity(), 40);
  for (int32_t slot = -1; slot <= 40; ++slot)
    EXPECT_EQ(display.SurfaceAt(slot), slot >= 0 && slot <= 30 ? made[slot] : nullptr) << slot;
  EXPECT_TRUE(!display.CreateSurface(3) && !display.CreateSurface32(-1));
  EXPECT_TRUE(display.DestroySurface(nullptr) == RC_NO_MEMORY && display.AddSurface(nullptr) == RC_NO_MEMORY);
  EXPECT_EQ(display.DestroySurface(other.CreateSurface(0)), RC_NOT_FOUND);
  EXPECT_EQ(display.SurfaceCount(), 31);
  EXPECT_TRUE(display.DestroyAllSurfaces() == RC_OK && display.TableCapacity() == 0);
  Surface* fresh = display.CreateSurface(1);
  EXPECT_TRUE(display.SurfaceAt(0) == fresh && display.TableCapacity() == 30);
}

TEST(Display, EachStoreGivesItsGeometryAndReleaseTakesItBack) {
  Display display;  // closed: the sections take the screen's context
  struct Case {
    Surface* surface;
    int32_t pitch, family, flags;
  } const cases[] = {{display.CreateSurface(0), 801, 24, 1}, {display.CreateSurface(2), 808, 24, 0x1002},
                     {display.CreateSurface32(0), 801, 15, 1}, {display.CreateSurface32(1), 808, 15, 0x1002}};
  for (const Case& c : cases) {
    Surface& s = *c.surface;
    EXPECT_EQ(s.Width() | s.Height() | s.Pitch(), 0);
    for (const auto& [width, height] : {std::pair{801, 0}, {0, 600}, {1 << 16, 1 << 14}})
      EXPECT_EQ(s.Create(width, height), RC_BAD_LENGTH) << width << " x " << height;
    ASSERT_EQ(s.Create(801, 600), RC_OK);
    const int32_t got[] = {s.Width(), s.Height(), s.Pitch(), s.ByteSize(), s.FamilyCode(),
                           s.GetPixelType(), int32_t(s.Flags()), s.GetDeviceContext() != nullptr};
    const int32_t want[] = {801, 600, c.pitch, c.pitch * 2400, c.family, kPixelType32, c.flags, c.flags != 1};
    EXPECT_TRUE(std::equal(got, got + 8, want)) << c.pitch << " " << c.family;
    std::memset(s.Lock(), 0xAB, size_t(s.ByteSize()));  // all of it: AddressSanitizer would see
    EXPECT_EQ(s.Release(), RC_OK);
    const int32_t released[] = {s.Width(), s.Height(), s.Pitch(), s.GetPixelType(), int32_t(s.Flags()),
                                s.GetDeviceContext() != nullptr, s.Lock() != nullptr, s.LastError()};
    EXPECT_TRUE(std::count(released, released + 7, 0) == 7 && released[7] == RC_NO_PIXELS);
    EXPECT_TRUE(s.Release() == RC_OK && s.LastError() == RC_OK);
  }
  // The stores take pixel types 1 to 6 only, and no more than 2 GiB.
  PixelStore heap;
  DibSurface32 section(&display);
  for (const auto& [type, width, code] :
       {std::tuple{0, 8, RC_NO_MEMORY}, {7, 8, RC_NO_MEMORY}, {5, 1 << 16, RC_BAD_LENGTH}}) {
    EXPECT_EQ(heap.Allocate(type, width, 1 << 14), code);
    EXPECT_EQ(section.CreateSection(nullptr, type, width, 1 << 14), code);
  }
  // Pixels start on a cache line, whatever the heap's own alignment.
  PixelStore small[8];
  for (int32_t width = 1; width <= 8; ++width) {
    ASSERT_EQ(small[width - 1].Allocate(kPixelType32, width, 1), RC_OK);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(small[width - 1].Pixels()) % 64, 0u) << width;
  }
}

// As the program entry makes it: the area is 301 wide, so the section's rows are 304 pixels and
// a copy that ignored the pitch would shear the picture.
TEST(Display, OpenPresentPaintAndClose) {
  const HWND window = NewWindow(320, 240);
  EXPECT_EQ(StartDisplay(nullptr, 301, 200) + StartDisplay(window, 0, 9) + StartDisplay(window, 9, -1) +
                StartDisplay(window, 9, 0), 0);
  ASSERT_TRUE(!g_display && StartDisplay(window, 301, 200) == 1);
  Display& display = *g_display;
  DisplayDesc desc{kDisplayDescSize, 0, 0, 301, 200, 24, WindowToDesc(window)}, bad = desc, zero{};
  EXPECT_EQ(std::memcmp(display.GetDesc(), &desc, sizeof desc), 0);
  Surface32& primary = *display.GetPrimarySurface();
  EXPECT_TRUE(display.SurfaceAt(0) == &primary && primary.Pitch() == 304 && display.GetPixelType() == 5);
  std::vector<uint32_t> shown = Capture(window, 320, 240);
  const Rect presented[] = {{0, 0, 301, 200}, {10, 20, 110, 70}, {-10, -20, 150, 100}, {30, 40, 90, 100}};
  for (uint32_t seed = 0; seed < 4; ++seed) {  // the last by Paint, of the invalid Rect
    Draw(primary, presented[0], seed, nullptr);
    if (seed == 3) InvalidateOnly(window, RECT{30, 40, 90, 100});
    const Rect* rect = seed == 0 ? nullptr : &presented[seed];
    ASSERT_EQ(seed < 3 ? display.Present(rect) : display.Paint(), RC_OK);
    Draw(primary, presented[seed], seed, &shown);
    EXPECT_TRUE(Capture(window, 320, 240) == shown) << "seed " << seed;
  }
  const Rect extreme{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_EQ(display.Present(&extreme), RC_OK);
  display.CreateSurface(1)->Create(8, 8);
  EXPECT_EQ(display.Close(), RC_OK);
  EXPECT_EQ(std::memcmp(display.GetDesc(), &zero, sizeof zero), 0);
  EXPECT_TRUE(!display.GetPrimarySurface() && !display.DeviceContext() && !display.SurfaceCount());
  EXPECT_TRUE(display.Present(nullptr) == RC_NO_DC && display.Paint() == RC_NO_DC);
  bad.size = 27;
  EXPECT_TRUE(display.Open(nullptr) == RC_NULL_ARGUMENT && display.Open(&bad) == RC_BAD_FORMAT);
  EXPECT_TRUE(!display.GetPrimarySurface() && !display.DeviceContext());
  desc.width = 0;  // a primary without pixels
  EXPECT_EQ(display.Open(&desc), RC_BAD_LENGTH);
  EXPECT_TRUE(display.SurfaceAt(0) == display.GetPrimarySurface() && !display.GetPrimarySurface()->Lock());
  EndWindow(window);  // a window whose context cannot be had
  desc.width = 301;
  EXPECT_TRUE(display.Open(&desc) == RC_GET_DC_FAILED && display.Present(nullptr) == RC_NO_DC);
  delete std::exchange(g_display, nullptr);
}

}  // namespace
