// The display and its surfaces when heap blocks or GDI objects cannot be had, each such call
// failing in turn (the table's growth among them): every failure is the call's own code and
// changes nothing else, a surface that reports success has pixels, and Close gives back every
// device context and section.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "faults/fault_sweep.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "subst/window_hooks.h"

namespace {

using subst::Fault;

void ExpectNothingHeld() {
  const subst::GdiObjectCounts held = subst::OutstandingGdiObjects();
  EXPECT_EQ(held.windowDCs + held.memoryDCs + held.bitmaps, 0);
}

TEST(DisplayFaults, FailuresAreReportedAndCloseGivesEverythingBack) {
  const HWND window = subst::CreateTestWindow(32, 32);
  const DisplayDesc desc{kDisplayDescSize, 0, 0, 32, 20, 24, WindowToDesc(window)};
  const Fault kinds[] = {Fault::kHeapAlloc, Fault::kGetDC, Fault::kMemoryDC, Fault::kSection, Fault::kSelect};
  const ResultCode codes[] = {RC_NO_MEMORY, RC_GET_DC_FAILED, RC_NO_DC, RC_DIB_FAILED, RC_DIB_FAILED};
  SweepFaults({std::begin(kinds), std::end(kinds)}, [&](const FaultCase& f) {
    const ResultCode code = f.kind ? codes[std::find(kinds, std::end(kinds), *f.kind) - kinds] : RC_OK;
    {
      Display display;
      const ResultCode opened = display.Open(&desc);
      Surface32* primary = display.GetPrimarySurface();  // none without a table
      EXPECT_EQ(opened, !primary ? RC_NO_SURFACE : primary->Lock() ? RC_OK : code);
      // Past the table's first 30 slots; heap, DIB and plain DIB surfaces.
      int32_t count = primary ? 1 : 0;
      for (int32_t i = 0; i < 31; ++i) {
        const int32_t capacity = display.TableCapacity();
        Surface* s = i % 3 == 2 ? display.CreateSurface(2) : display.CreateSurface32(i % 3);
        if (!s) {
          EXPECT_TRUE(f.Fails(Fault::kHeapAlloc));
          EXPECT_EQ(display.TableCapacity(), capacity);
          continue;
        }
        EXPECT_EQ(display.SurfaceAt(count++), s);
        // A second Create replaces the first; Release first, for one surface.
        if (i == 1) {
          EXPECT_EQ(s->Create(17, 2) == RC_OK ? s->Release() : RC_OK, RC_OK);
        }
        const ResultCode created = s->Create(9, 5);
        uint32_t* pixels = s->Lock();
        EXPECT_EQ(created, pixels ? RC_OK : code);
        for (int32_t k = 0; pixels && k < s->Pitch() * s->Height(); ++k) pixels[k] = 0x00123456;
      }
      EXPECT_EQ(display.SurfaceCount(), count);
      EXPECT_EQ(display.PresentAll(),
                !display.DeviceContext() ? RC_NO_DC : !primary ? RC_NO_SURFACE : RC_OK);
      EXPECT_EQ(display.Close(), RC_OK);
      ExpectNothingHeld();
    }
    ExpectNothingHeld();
  });
  subst::DestroyTestWindow(window);
}

}  // namespace
