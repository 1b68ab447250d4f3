// The display's surface table under random sequences of create, Create, Release, destroy,
// destroy-all, Open, Close, Present and Paint, with the heap failing now and then. After every
// step the table, the primary surface and the GDI objects held agree with the surfaces, each of
// which owns every word its geometry claims, and the display presents only with a context and a
// primary surface.
#include <climits>
#include <memory>

#include "fuzz_support.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "subst/window_hooks.h"

namespace {

void Check(Display& display, ResultCode presented, const std::string& where) {
  const bool canPresent = display.DeviceContext() && display.GetPrimarySurface();
  FUZZ_EXPECT_EQ(presented, canPresent ? RC_OK : display.DeviceContext() ? RC_NO_SURFACE : RC_NO_DC, where);
  const int32_t capacity = display.TableCapacity();
  int32_t count = 0, sections = 0;
  bool primaryFound = !display.GetPrimarySurface();
  for (int32_t slot = 0; slot < capacity; ++slot) {
    Surface* s = display.SurfaceAt(slot);
    if (!s) continue;
    ++count, sections += s->GetDeviceContext() != nullptr;
    primaryFound = primaryFound || s == display.GetPrimarySurface();
    uint32_t* pixels = s->Lock();  // a failed re-Create keeps the earlier geometry, not the pixels
    FUZZ_CHECK(s->OwnerSerial() == display.Serial() && s->ByteSize() == s->Height() * s->Pitch() * 4 &&
                   (!pixels || (s->Width() > 0 && s->Pitch() >= s->Width())), where + ": a surface");
    for (int64_t i = 0; pixels && i < int64_t{s->Pitch()} * s->Height(); ++i) pixels[i] = 0x5A5A5A;
  }
  const subst::GdiObjectCounts held = subst::OutstandingGdiObjects();
  FUZZ_CHECK((capacity == 0 || (capacity >= 30 && capacity % 10 == 0)) && !display.SurfaceAt(capacity) &&
                 display.SurfaceCount() == count && primaryFound, where + ": the table");
  FUZZ_CHECK(held.windowDCs == (display.DeviceContext() ? 1 : 0) && held.memoryDCs == sections &&
                 held.bitmaps == sections, where + ": GDI objects");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const HWND window = subst::CreateTestWindow(16, 16);
  FuzzedDataProvider in(data, size);
  subst::FaultScope faults;
  auto display = std::make_unique<Display>();
  for (int step = 0; in.remaining_bytes() > 0 && step < 120; ++step) {
    const int op = in.ConsumeIntegralInRange(0, 8);
    if (in.ConsumeIntegralInRange(0, 7) == 0) subst::FailCallsFrom(subst::Fault::kHeapAlloc);
    Surface* s = display->SurfaceAt(in.ConsumeIntegralInRange<int32_t>(0, display->TableCapacity()));
    // Sizes and edges mostly small, now and then too large; the screen, no window or the window.
    int32_t v[4];
    for (int32_t& n : v) {
      n = in.ConsumeIntegralInRange(0, 9) ? in.ConsumeIntegralInRange(-2, 40)
                                          : in.PickValueInArray({INT32_MIN, INT32_MAX, 1 << 29, 65536});
    }
    const Rect rect{v[0], v[1], v[2], v[3]};
    const uint32_t windows[] = {0, 0x7777, WindowToDesc(window)};
    const DisplayDesc desc{in.ConsumeBool() ? 28 : 27, 0, 0, v[0], v[1], 24, in.PickValueInArray(windows)};
    if (op == 0) in.ConsumeBool() ? display->CreateSurface(v[0]) : display->CreateSurface32(v[0]);
    if (op == 1 && s) s->Create(v[0], v[1]);
    if (op == 2 && s) s->Release();
    if (op == 3) display->DestroySurface(s);
    if (op == 4) display->DestroyAllSurfaces();
    if (op == 5) display->Open(&desc);
    if (op == 6) display->Close();
    if (op == 7) subst::SetInvalidRect(window, RECT{v[0], v[1], v[2], v[3]});
    const ResultCode rc = op == 7 ? display->Paint() : display->Present(in.ConsumeBool() ? nullptr : &rect);
    subst::ClearFaults();
    Check(*display, rc, "step " + std::to_string(step) + " op " + std::to_string(op));
  }
  display.reset();
  const subst::GdiObjectCounts held = subst::OutstandingGdiObjects();
  FUZZ_EXPECT_EQ(held.windowDCs + held.memoryDCs + held.bitmaps, 0, "GDI objects left");
  return 0;
}
