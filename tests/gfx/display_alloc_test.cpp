// The display when its surface table cannot be allocated (native only: the substitute's heap
// is made to fail). AddressSanitizer's leak check then proves that a surface which could not
// be registered is not left behind.
#include <gtest/gtest.h>

#include "gfx/display.h"
#include "gfx/surface32.h"
#include "subst/fault_hooks.h"
#include "window/test_window.h"

namespace {

class TableAllocationFails {
 public:
  TableAllocationFails() { subst::FailCallsFrom(subst::Fault::kHeapAlloc); }
  ~TableAllocationFails() { subst::ClearFaults(); }
};

TEST(DisplayWithoutMemory, FullTableStaysAsItWasAndCreateGivesNull) {
  Display display;
  Surface* first = display.CreateSurface(0);
  for (int32_t i = 1; i < 30; ++i) display.CreateSurface32(i % 3);
  ASSERT_EQ(display.TableCapacity(), 30);
  {
    TableAllocationFails failing;
    EXPECT_EQ(display.GrowSurfaceTable(), RC_NO_MEMORY);
    EXPECT_EQ(display.CreateSurface(0), nullptr);
    EXPECT_EQ(display.CreateSurface32(0), nullptr);
    EXPECT_EQ(display.CreateSurface32(1), nullptr);
  }
  EXPECT_EQ(display.TableCapacity(), 30);
  EXPECT_EQ(display.SurfaceCount(), 30);
  EXPECT_EQ(display.SurfaceAt(0), first);
  EXPECT_NE(display.CreateSurface32(0), nullptr);
  EXPECT_EQ(display.TableCapacity(), 40);
}

TEST(DisplayWithoutMemory, OpenWithoutAPrimaryReportsNoSurfaceAndPresentToo) {
  TestWindow window(32, 32);
  Display display;
  const DisplayDesc desc = DescFor(window.handle(), 32, 32);
  {
    TableAllocationFails failing;
    EXPECT_EQ(display.Open(&desc), RC_NO_SURFACE);
  }
  EXPECT_EQ(display.GetPrimarySurface(), nullptr);
  EXPECT_EQ(display.GetDesc()->width, 32);
  EXPECT_NE(display.DeviceContext(), nullptr);
  EXPECT_EQ(display.Present(nullptr), RC_NO_SURFACE);
  EXPECT_EQ(display.Close(), RC_OK);
}

}  // namespace
