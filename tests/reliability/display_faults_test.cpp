// The display and its surfaces when heap blocks or GDI objects cannot be had, each such call
// failing in turn: every failure is the documented code, a surface that reports success has
// pixels, and Close gives back every device context and section, whichever call failed.
#include <gtest/gtest.h>

#include "faults/fault_sweep.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "subst/window_hooks.h"

namespace {

using subst::Fault;

ResultCode CodeOf(const FaultCase& f) {
  if (!f.kind) return RC_OK;
  switch (*f.kind) {
    case Fault::kHeapAlloc: return RC_NO_MEMORY;
    case Fault::kGetDC: return RC_GET_DC_FAILED;
    case Fault::kMemoryDC: return RC_NO_DC;
    default: return RC_DIB_FAILED;  // the section, or selecting it
  }
}

// A Create either worked, and the pixels are there, or failed with the fault's own code.
void ExpectCreated(Surface* s, int32_t width, int32_t height, const FaultCase& f) {
  if (!s) return;
  const ResultCode rc = s->Create(width, height);
  if (rc != RC_OK) {
    EXPECT_EQ(rc, CodeOf(f));
  }
  uint32_t* pixels = s->Lock();
  EXPECT_EQ(pixels != nullptr, rc == RC_OK);
  for (int32_t i = 0; pixels && i < s->Pitch() * s->Height(); ++i) pixels[i] = 0x00123456;
}

void ExpectNothingHeld() {
  const subst::GdiObjectCounts held = subst::OutstandingGdiObjects();
  EXPECT_EQ(held.windowDCs, 0);
  EXPECT_EQ(held.memoryDCs, 0);
  EXPECT_EQ(held.bitmaps, 0);
}

TEST(DisplayFaults, FailuresAreReportedAndCloseGivesEverythingBack) {
  const HWND window = subst::CreateTestWindow(32, 32);
  DisplayDesc desc{};
  desc.size = kDisplayDescSize;
  desc.width = 32;
  desc.height = 20;
  desc.window = WindowToDesc(window);
  SweepFaults({Fault::kHeapAlloc, Fault::kGetDC, Fault::kMemoryDC, Fault::kSection, Fault::kSelect},
              [&](const FaultCase& f) {
                {
                  Display display;
                  const ResultCode opened = display.Open(&desc);
                  // Without a table there is no primary surface to create.
                  if (opened != RC_OK) {
                    EXPECT_EQ(opened, f.Fails(Fault::kHeapAlloc) ? RC_NO_SURFACE : CodeOf(f));
                  }
                  Surface* heap = display.CreateSurface32(0);
                  Surface* dib = display.CreateSurface32(1);
                  Surface* plainDib = display.CreateSurface(2);
                  if (!f.kind) {
                    EXPECT_NE(heap, nullptr);
                  }
                  ExpectCreated(heap, 8, 8, f);
                  ExpectCreated(dib, 9, 5, f);
                  ExpectCreated(plainDib, 3, 3, f);
                  // Selecting the old bitmap back may fail as well as anything else here.
                  if (dib) {
                    EXPECT_EQ(dib->Release(), RC_OK);
                  }
                  ExpectCreated(dib, 17, 2, f);
                  const ResultCode presented = display.PresentAll();
                  if (!f.kind) {
                    EXPECT_EQ(presented, RC_OK);
                  }
                  EXPECT_EQ(display.Close(), RC_OK);
                  ExpectNothingHeld();
                }
                ExpectNothingHeld();
              });
  subst::DestroyTestWindow(window);
}

}  // namespace
