// The display's surface table under random create, Create, Release, destroy, destroy-all,
// Open, Close and Present sequences, with one heap or GDI call failing now and then. After
// every step the table, the primary surface, each surface's geometry and the GDI objects held
// are checked against a plain model; every pixel word a surface claims is written through Lock.
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "fuzz_support.h"
#include "gfx/dib_store.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "platform/subst/fault_hooks.h"
#include "platform/subst/window_hooks.h"

namespace {

using subst::Fault;

constexpr int32_t kWindowWidth = 24;
constexpr int32_t kWindowHeight = 16;

struct SurfaceModel {
  Surface* surface = nullptr;
  bool dib = false;
  bool family32 = false;
  bool hasPixels = false;
  PixelType pixelType = 0;
  int32_t width = 0, height = 0, pitch = 0;
  uint32_t flags = 0;
};

struct DisplayModel {
  std::vector<std::optional<SurfaceModel>> slots;  // empty: no table
  bool hasTable = false;
  int32_t count = 0;
  Surface* primary = nullptr;
  DisplayDesc desc{};
  bool hasDC = false;
  FaultPlan faults;

  SurfaceModel* Find(const Surface* s) {
    for (auto& slot : slots)
      if (slot && slot->surface == s) return &*slot;
    return nullptr;
  }

  // GetDC on a window: null for a failure or for a handle that names no window.
  bool TakeDC(HWND window, HWND testWindow) {
    if (faults.Fails(Fault::kGetDC)) return false;
    return window == nullptr || window == testWindow;
  }

  // Where AddSurface puts the next surface, or -1 when no slot can be had.
  int32_t FreeSlot() {
    if (!hasTable || count == static_cast<int32_t>(slots.size())) {
      if (!faults.Fails(Fault::kHeapAlloc)) {
        slots.resize(hasTable ? slots.size() + DisplayBase::kTableGrowth
                              : DisplayBase::kInitialTableSlots);
        if (!hasTable) count = 0;
        hasTable = true;
      }
    }
    for (size_t i = 0; i < slots.size(); ++i)
      if (!slots[i]) return static_cast<int32_t>(i);
    return -1;
  }

  // A section goes back through SelectObject before it is deleted.
  void DestroySection(SurfaceModel& m) {
    if (m.dib && m.hasPixels) faults.Fails(Fault::kSelect);
    m.hasPixels = false;
  }

  // Release of either store; the surface keeps its registration.
  void Release(SurfaceModel& m) {
    DestroySection(m);
    m = SurfaceModel{m.surface, m.dib, m.family32};
  }

  void DestroyAll() {
    for (auto& slot : slots)
      if (slot) DestroySection(*slot);
    slots.clear();
    hasTable = false;
    count = 0;
    primary = nullptr;
  }

  ResultCode Create(SurfaceModel& m, int32_t width, int32_t height, HWND testWindow) {
    const int64_t pitch = m.dib ? DibPitch(width) : width;
    if (width <= 0 || !IsStorableBlock(pitch * 4, height)) return RC_BAD_LENGTH;
    if (!m.dib) {
      m.hasPixels = false;
      if (faults.Fails(Fault::kHeapAlloc)) return RC_NO_MEMORY;
    } else {
      if (!TakeDC(WindowFromDesc(desc), testWindow)) return RC_GET_DC_FAILED;
      DestroySection(m);
      if (faults.Fails(Fault::kMemoryDC)) return RC_NO_DC;
      if (faults.Fails(Fault::kSection) || faults.Fails(Fault::kSelect)) return RC_DIB_FAILED;
    }
    m.hasPixels = true;
    m.pixelType = kPixelType32;
    m.width = width;
    m.height = height;
    m.pitch = static_cast<int32_t>(pitch);
    m.flags = m.dib ? Surface::kFlagsDib : Surface::kFlagsHeap;
    return RC_OK;
  }
};

enum class Op {
  kCreateSurface,
  kCreateSurface32,
  kCreate,
  kRelease,
  kDestroy,
  kDestroyPrimary,
  kDestroyForeign,
  kDestroyAll,
  kOpen,
  kClose,
  kPresent,
  kPaint,
  kClearStateFlag,
  kCount
};

constexpr Fault kFaultKinds[] = {Fault::kHeapAlloc, Fault::kGetDC, Fault::kMemoryDC,
                                 Fault::kSection, Fault::kSelect};

class Session {
 public:
  Session(FuzzedDataProvider& in, HWND window, Surface* foreign)
      : in_(in), window_(window), foreign_(foreign) {}

  void Step(int step) {
    const auto op =
        static_cast<Op>(in_.ConsumeIntegralInRange<int>(0, static_cast<int>(Op::kCount) - 1));
    const std::string failing = m_.faults.ArmSometimes(in_, 6, kFaultKinds);
    where_ =
        "step " + std::to_string(step) + " op " + std::to_string(static_cast<int>(op)) + failing;
    Run(op);
    m_.faults.Disarm();
    Check();
  }

  void Finish() {
    display_.reset();
    const subst::GdiObjectCounts held = subst::OutstandingGdiObjects();
    // The other display's heap surface holds no GDI object.
    FUZZ_EXPECT_EQ(held.windowDCs, 0, "window DCs left after the display went");
    FUZZ_EXPECT_EQ(held.memoryDCs, 0, "memory DCs left after the display went");
    FUZZ_EXPECT_EQ(held.bitmaps, 0, "sections left after the display went");
  }

 private:
  int32_t Size() {
    static constexpr int32_t kRefused[] = {INT32_MAX, INT32_MIN, 1 << 29, -1, 0};
    return in_.ConsumeIntegralInRange<int>(0, 9) == 0 ? in_.PickValueInArray(kRefused)
                                                      : in_.ConsumeIntegralInRange<int32_t>(1, 40);
  }
  int32_t Kind() {
    return in_.ConsumeIntegralInRange<int>(0, 9) == 0 ? in_.ConsumeIntegral<int32_t>()
                                                      : in_.ConsumeIntegralInRange<int32_t>(-1, 3);
  }
  int32_t Coordinate() {
    return in_.ConsumeIntegralInRange<int>(0, 9) == 0 ? in_.ConsumeIntegral<int32_t>()
                                                      : in_.ConsumeIntegralInRange<int32_t>(-8, 48);
  }
  // One of the surfaces in the model's table, or none when it is empty.
  SurfaceModel* PickLive() {
    std::vector<SurfaceModel*> live;
    for (auto& slot : m_.slots)
      if (slot) live.push_back(&*slot);
    if (live.empty()) return nullptr;
    return live[in_.ConsumeIntegralInRange<size_t>(0, live.size() - 1)];
  }
  void Expect(ResultCode got, ResultCode expected) { FUZZ_EXPECT_EQ(got, expected, where_); }

  void CreateSurface(bool family32) {
    const int32_t kind = Kind();
    Surface* made = family32 ? display_->CreateSurface32(kind) : display_->CreateSurface(kind);
    if (kind < 0 || kind > 2) {
      FUZZ_CHECK(made == nullptr, where_ + ": unknown kind " + std::to_string(kind));
      return;
    }
    const int32_t slot = m_.FreeSlot();
    if (slot < 0) {
      FUZZ_CHECK(made == nullptr, where_ + ": surface without a slot");
      return;
    }
    FUZZ_CHECK(made != nullptr, where_);
    m_.slots[static_cast<size_t>(slot)] = SurfaceModel{made, kind != 0, family32};
    ++m_.count;
  }

  void Open() {
    static constexpr int32_t kSizes[] = {28, 28, 28, 0, 27, 32};
    DisplayDesc desc{};
    desc.size = in_.PickValueInArray(kSizes);
    desc.width = Size();
    desc.height = Size();
    desc.bitDepth = 24;
    const int which = in_.ConsumeIntegralInRange<int>(0, 3);
    desc.window = which == 0 ? 0 : which == 1 ? 0x7777 : WindowToDesc(window_);
    if (in_.ConsumeIntegralInRange<int>(0, 15) == 0) {
      Expect(display_->Open(nullptr), RC_NULL_ARGUMENT);
      return;
    }
    const ResultCode got = display_->Open(&desc);
    if (desc.size != kDisplayDescSize) return Expect(got, RC_BAD_FORMAT);
    m_.desc = desc;
    m_.hasDC = m_.TakeDC(WindowFromDesc(desc), window_);
    const int32_t slot = m_.FreeSlot();
    if (slot < 0) {
      m_.primary = nullptr;
      return Expect(got, RC_NO_SURFACE);
    }
    Surface* primary = display_->GetPrimarySurface();
    FUZZ_CHECK(primary != nullptr, where_);
    m_.slots[static_cast<size_t>(slot)] = SurfaceModel{primary, true, true};
    ++m_.count;
    m_.primary = primary;
    Expect(got, m_.Create(*m_.Find(primary), desc.width, desc.height, window_));
  }

  void Present(bool paint) {
    Rect rect{Coordinate(), Coordinate(), Coordinate(), Coordinate()};
    const bool whole = in_.ConsumeBool();
    if (paint) subst::SetInvalidRect(window_, RECT{rect.left, rect.top, rect.right, rect.bottom});
    const ResultCode got = paint ? display_->Paint() : display_->Present(whole ? nullptr : &rect);
    const ResultCode expected = !m_.hasDC ? RC_NO_DC : !m_.primary ? RC_NO_SURFACE : RC_OK;
    Expect(got, expected);
    if (got != RC_OK || paint || !whole || WindowFromDesc(m_.desc) != window_) return;
    // What the whole display area put in the window.
    Surface32* primary = display_->GetPrimarySurface();
    const uint32_t* pixels = primary->Lock();
    if (!pixels) return;
    const int32_t w = std::min({primary->Width(), m_.desc.width, kWindowWidth});
    const int32_t h = std::min({primary->Height(), m_.desc.height, kWindowHeight});
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        FUZZ_EXPECT_EQ(subst::WindowPixel(window_, x, y),
                       pixels[static_cast<size_t>(y) * primary->Pitch() + x], where_);
  }

  void Run(Op op) {
    switch (op) {
      case Op::kCreateSurface: CreateSurface(false); break;
      case Op::kCreateSurface32: CreateSurface(true); break;
      case Op::kCreate: {
        SurfaceModel* m = PickLive();
        const int32_t width = Size(), height = Size();
        if (m) Expect(m->surface->Create(width, height), m_.Create(*m, width, height, window_));
        break;
      }
      case Op::kRelease:
        if (SurfaceModel* m = PickLive()) {
          Expect(m->surface->Release(), RC_OK);
          m_.Release(*m);
        }
        break;
      case Op::kDestroy:
      case Op::kDestroyPrimary: {
        SurfaceModel* m = op == Op::kDestroy ? PickLive() : m_.Find(m_.primary);
        if (!m) break;
        Expect(display_->DestroySurface(m->surface), RC_OK);
        if (m->surface == m_.primary) m_.primary = nullptr;
        m_.DestroySection(*m);
        for (auto& slot : m_.slots)
          if (slot && &*slot == m) slot.reset();
        --m_.count;
        break;
      }
      case Op::kDestroyForeign:
        Expect(display_->DestroySurface(nullptr), RC_NO_MEMORY);
        Expect(display_->DestroySurface(foreign_), RC_NOT_FOUND);
        break;
      case Op::kDestroyAll:
        Expect(display_->DestroyAllSurfaces(), RC_OK);
        m_.DestroyAll();
        break;
      case Op::kOpen: Open(); break;
      case Op::kClose:
        Expect(display_->Close(), RC_OK);
        m_.DestroyAll();
        m_.desc = DisplayDesc{};
        m_.hasDC = false;
        break;
      case Op::kPresent: Present(false); break;
      case Op::kPaint: Present(true); break;
      case Op::kClearStateFlag:
        if (SurfaceModel* m = PickLive()) {
          m->surface->ClearStateFlag();
          m->flags &= ~Surface::kStateFlag;
        }
        break;
      case Op::kCount: break;
    }
  }

  void CheckSurface(const SurfaceModel& m) {
    Surface& s = *m.surface;
    FUZZ_EXPECT_EQ(s.OwnerSerial(), display_->Serial(), where_);
    FUZZ_EXPECT_EQ(s.FamilyCode(), m.family32 ? 15 : 24, where_);
    FUZZ_EXPECT_EQ(s.Width(), m.width, where_);
    FUZZ_EXPECT_EQ(s.Height(), m.height, where_);
    FUZZ_EXPECT_EQ(s.Pitch(), m.pitch, where_);
    FUZZ_EXPECT_EQ(s.Flags(), m.flags, where_);
    FUZZ_EXPECT_EQ(s.ByteSize(), m.height * m.pitch * 4, where_);
    FUZZ_EXPECT_EQ(s.GetPixelType(), m.pixelType, where_);
    FUZZ_CHECK((s.GetDeviceContext() != nullptr) == (m.dib && m.hasPixels), where_);
    uint32_t* pixels = s.Lock();
    FUZZ_CHECK((pixels != nullptr) == m.hasPixels, where_ + ": Lock");
    if (!pixels) {
      FUZZ_EXPECT_EQ(s.LastError(), RC_NO_PIXELS, where_);
      return;
    }
    // Every word the surface claims is its own.
    const size_t words = static_cast<size_t>(m.pitch) * static_cast<size_t>(m.height);
    for (size_t i = 0; i < words; ++i) pixels[i] = static_cast<uint32_t>(i * 0x9E3779B1u);
    FUZZ_EXPECT_EQ(s.Unlock(), RC_OK, where_);
  }

  void Check() {
    FUZZ_EXPECT_EQ(display_->SurfaceCount(), m_.count, where_);
    FUZZ_EXPECT_EQ(display_->TableCapacity(), static_cast<int32_t>(m_.slots.size()), where_);
    FUZZ_CHECK(display_->GetPrimarySurface() == m_.primary, where_ + ": primary");
    FUZZ_CHECK(display_->SurfaceAt(-1) == nullptr, where_);
    FUZZ_CHECK(display_->SurfaceAt(static_cast<int32_t>(m_.slots.size())) == nullptr, where_);
    int32_t sections = 0;
    for (size_t i = 0; i < m_.slots.size(); ++i) {
      const auto& slot = m_.slots[i];
      FUZZ_CHECK(display_->SurfaceAt(static_cast<int32_t>(i)) == (slot ? slot->surface : nullptr),
                 where_ + ": slot " + std::to_string(i));
      if (!slot) continue;
      CheckSurface(*slot);
      if (slot->dib && slot->hasPixels) ++sections;
    }
    FUZZ_CHECK(std::memcmp(display_->GetDesc(), &m_.desc, sizeof(DisplayDesc)) == 0, where_);
    FUZZ_CHECK((display_->DeviceContext() != nullptr) == m_.hasDC, where_);
    const subst::GdiObjectCounts held = subst::OutstandingGdiObjects();
    FUZZ_EXPECT_EQ(held.windowDCs, m_.hasDC ? 1 : 0, where_ + ": window DCs");
    FUZZ_EXPECT_EQ(held.memoryDCs, sections, where_ + ": memory DCs");
    FUZZ_EXPECT_EQ(held.bitmaps, sections, where_ + ": sections");
  }

  FuzzedDataProvider& in_;
  HWND window_;
  Surface* foreign_;  // a surface of another display
  std::unique_ptr<Display> display_ = std::make_unique<Display>();
  DisplayModel m_;
  std::string where_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const HWND window = subst::CreateTestWindow(kWindowWidth, kWindowHeight);
  static Display* const other = new Display;
  static Surface* const foreign = other->CreateSurface32(0);
  FuzzedDataProvider in(data, size);
  subst::FaultScope faults;
  Session session(in, window, foreign);
  for (int step = 0; in.remaining_bytes() > 0 && step < 120; ++step) session.Step(step);
  session.Finish();
  return 0;
}
