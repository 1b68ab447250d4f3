// The display and its surfaces when heap blocks or GDI objects cannot be had, each such call
// failing in turn (the table's growth among them): every failure is the call's own code and
// leaves the rest as it was, a surface that reports success has pixels, and Close gives back
// every device context and section.
#include <gtest/gtest.h>

#include "faults/fault_sweep.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "subst/window_hooks.h"

namespace {

using subst::Fault;

TEST(DisplayFaults, FailuresAreReportedAndCloseGivesEverythingBack) {
  const auto nothingHeld = [] {
    const auto held = subst::OutstandingGdiObjects();
    return held.windowDCs + held.memoryDCs + held.bitmaps == 0;
  };
  const HWND window = subst::CreateTestWindow(32, 32);
  const DisplayDesc desc{kDisplayDescSize, 0, 0, 32, 20, 24, WindowToDesc(window)};
  SweepFaults({Fault::kHeapAlloc, Fault::kGetDC, Fault::kMemoryDC, Fault::kSection, Fault::kSelect},
              [&](const FaultCase& f) {
    const ResultCode code = !f.kind ? RC_OK : f.Fails(Fault::kHeapAlloc) ? RC_NO_MEMORY
                            : f.Fails(Fault::kGetDC) ? RC_GET_DC_FAILED
                            : f.Fails(Fault::kMemoryDC) ? RC_NO_DC : RC_DIB_FAILED;  // section, select
    {
      Display display;
      const ResultCode opened = display.Open(&desc);
      Surface32* primary = display.GetPrimarySurface();  // none without a table
      EXPECT_EQ(opened, !primary ? RC_NO_SURFACE : primary->Lock() ? RC_OK : code);
      // Past the table's first 30 slots: heap, DIB and plain DIB surfaces.
      int32_t count = primary ? 1 : 0;
      for (int32_t i = 0; i < 31; ++i) {
        const int32_t capacity = display.TableCapacity();
        Surface* s = i % 3 == 2 ? display.CreateSurface(2) : display.CreateSurface32(i % 3);
        // A surface takes the next slot, or the table could not grow and stays as it was.
        EXPECT_TRUE(s ? display.SurfaceAt(count++) == s
                      : f.Fails(Fault::kHeapAlloc) && display.TableCapacity() == capacity);
        if (!s) continue;
        // A second Create takes the place of the first; for one surface, after a Release.
        EXPECT_EQ(i != 1 || s->Create(17, 2) != RC_OK ? RC_OK : s->Release(), RC_OK);
        const ResultCode created = s->Create(9, 5);
        uint32_t* pixels = s->Lock();
        EXPECT_EQ(created, pixels ? RC_OK : code);
        for (int32_t k = 0; pixels && k < s->Pitch() * s->Height(); ++k) pixels[k] = 0x00123456;
      }
      const int32_t capacity = display.TableCapacity();
      const ResultCode grown = display.GrowSurfaceTable();
      EXPECT_EQ(grown, display.TableCapacity() > capacity ? RC_OK : code);
      EXPECT_EQ(display.SurfaceCount(), count);
      EXPECT_EQ(display.PresentAll(), !display.DeviceContext() ? RC_NO_DC : primary ? RC_OK : RC_NO_SURFACE);
      EXPECT_EQ(display.Close(), RC_OK);
      EXPECT_TRUE(nothingHeld());
    }
    EXPECT_TRUE(nothingHeld());
  });
  subst::DestroyTestWindow(window);
}

}  // namespace
