// The display's surface table under random sequences of create, Create, Release, destroy,
// destroy-all, Open, Close, Present and Paint, with the heap failing now and then. After every
// step the invariants hold: the table, the primary surface and the GDI objects held agree with
// the surfaces; a surface with pixels owns every word its geometry claims (written through Lock);
// every result is one the step may give.
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "subst/window_hooks.h"

namespace {

int32_t Value(FuzzedDataProvider& in, int32_t low, int32_t high) {
  return in.ConsumeIntegralInRange<int>(0, 9) == 0 ? in.ConsumeIntegral<int32_t>()
                                                   : in.ConsumeIntegralInRange<int32_t>(low, high);
}

void Check(Display& display, const std::string& where) {
  int32_t count = 0, sections = 0;
  const int32_t capacity = display.TableCapacity();
  FUZZ_CHECK(capacity == 0 || (capacity >= 30 && capacity % 10 == 0), where);
  FUZZ_CHECK(!display.SurfaceAt(-1) && !display.SurfaceAt(capacity), where);
  bool primaryFound = display.GetPrimarySurface() == nullptr;
  for (int32_t slot = 0; slot < capacity; ++slot) {
    Surface* s = display.SurfaceAt(slot);
    if (!s) continue;
    ++count;
    primaryFound = primaryFound || s == display.GetPrimarySurface();
    FUZZ_EXPECT_EQ(s->OwnerSerial(), display.Serial(), where);
    FUZZ_EXPECT_EQ(s->ByteSize(), s->Height() * s->Pitch() * 4, where);
    uint32_t* pixels = s->Lock();
    FUZZ_CHECK((pixels != nullptr) == (s->Width() > 0), where + ": pixels for a size");
    FUZZ_CHECK(!pixels || s->Pitch() == (s->Flags() == Surface::kFlagsDib ? (s->Width() + 7) / 8 * 8 : s->Width()), where);
    for (int64_t i = 0; pixels && i < int64_t{s->Pitch()} * s->Height(); ++i) pixels[i] = 0x5A5A5A;
    sections += s->GetDeviceContext() != nullptr;
  }
  FUZZ_EXPECT_EQ(display.SurfaceCount(), count, where);
  FUZZ_CHECK(primaryFound, where + ": the primary is in the table");
  const subst::GdiObjectCounts held = subst::OutstandingGdiObjects();
  FUZZ_EXPECT_EQ(held.windowDCs, display.DeviceContext() ? 1 : 0, where);
  FUZZ_EXPECT_EQ(held.memoryDCs, sections, where);
  FUZZ_EXPECT_EQ(held.bitmaps, sections, where);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const HWND window = subst::CreateTestWindow(16, 16);
  FuzzedDataProvider in(data, size);
  subst::FaultScope faults;
  auto display = std::make_unique<Display>();
  for (int step = 0; in.remaining_bytes() > 0 && step < 120; ++step) {
    const int op = in.ConsumeIntegralInRange<int>(0, 8);
    if (in.ConsumeIntegralInRange<int>(0, 7) == 0) subst::FailCallsFrom(subst::Fault::kHeapAlloc);
    const std::string where = "step " + std::to_string(step) + " op " + std::to_string(op);
    const int32_t slot = in.ConsumeIntegralInRange<int32_t>(0, display->TableCapacity());
    Surface* s = op == 3 ? display->GetPrimarySurface() : display->SurfaceAt(slot);
    const Rect rect{Value(in, -8, 48), Value(in, -8, 48), Value(in, -8, 48), Value(in, -8, 48)};
    ResultCode rc = RC_OK;
    if (op == 0) in.ConsumeBool() ? display->CreateSurface(Value(in, -1, 3)) : display->CreateSurface32(Value(in, -1, 3));
    if (op == 1 && s) rc = s->Create(rect.left, rect.top);
    FUZZ_CHECK(rc == RC_OK || rc == RC_BAD_LENGTH || rc == RC_NO_MEMORY || rc == RC_GET_DC_FAILED, where);
    if (op == 2 && s) FUZZ_EXPECT_EQ(s->Release(), RC_OK, where);
    if (op == 3 && s) FUZZ_EXPECT_EQ(display->DestroySurface(s), RC_OK, where);
    if (op == 4) FUZZ_EXPECT_EQ(display->DestroyAllSurfaces(), RC_OK, where);
    if (op == 5) {
      DisplayDesc desc{in.PickValueInArray({28, 28, 27}), 0, 0, rect.left, rect.top, 24,
                       in.PickValueInArray({0u, 0x7777u, WindowToDesc(window)})};
      rc = display->Open(&desc);
      FUZZ_CHECK(rc == (desc.size != 28 ? RC_BAD_FORMAT : rc) && rc != RC_NULL_ARGUMENT, where);
    }
    if (op == 6) FUZZ_EXPECT_EQ(display->Close(), RC_OK, where);
    if (op == 7 || op == 8) {
      subst::SetInvalidRect(window, RECT{rect.left, rect.top, rect.right, rect.bottom});
      rc = op == 7 ? display->Present(in.ConsumeBool() ? nullptr : &rect) : display->Paint();
      FUZZ_EXPECT_EQ(rc, !display->DeviceContext() ? RC_NO_DC : !display->GetPrimarySurface() ? RC_NO_SURFACE : RC_OK, where);
    }
    subst::ClearFaults();
    Check(*display, where);
  }
  display.reset();
  const subst::GdiObjectCounts held = subst::OutstandingGdiObjects();
  FUZZ_EXPECT_EQ(held.windowDCs + held.memoryDCs + held.bitmaps, 0, "GDI objects left");
  return 0;
}
