// The display's surface table under random create, Create, Release, destroy, destroy-all,
// Open, Close, Present and Paint sequences, with the heap failing now and then. After every
// step the table, the primary surface, each surface's geometry and the GDI objects held are
// checked against a plain model; every pixel word a surface claims is written through Lock.
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "fuzz_support.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "subst/window_hooks.h"

namespace {

// A failed heap allocation takes the pixels and leaves the fields as they were.
struct SurfaceModel {
  Surface* surface = nullptr;
  bool dib = false;
  bool family32 = false;
  bool hasPixels = false;
  int32_t width = 0, height = 0, pitch = 0;  // 0 until a Create succeeds, and after Release
};

// The rules: a table of 30 slots made on first need, 10 more whenever it is full; a new
// surface takes the lowest free slot. DIB rows are padded to 8 pixels; storage must hold
// between 1 and INT32_MAX bytes.
struct DisplayModel {
  std::vector<std::optional<SurfaceModel>> slots;  // empty: no table
  Surface* primary = nullptr;
  DisplayDesc desc{};
  bool hasDC = false;

  int32_t Count() const {
    int32_t count = 0;
    for (const auto& slot : slots) count += slot ? 1 : 0;
    return count;
  }
  SurfaceModel* Find(const Surface* s) {
    for (auto& slot : slots)
      if (slot && slot->surface == s) return &*slot;
    return nullptr;
  }
  // The slot the next surface takes, or -1 when the table cannot grow.
  int32_t FreeSlot(bool heapFails) {
    if (Count() == static_cast<int32_t>(slots.size()) && !heapFails) {
      slots.resize(slots.empty() ? 30 : slots.size() + 10);
    }
    for (size_t i = 0; i < slots.size(); ++i)
      if (!slots[i]) return static_cast<int32_t>(i);
    return -1;
  }
  ResultCode Create(SurfaceModel& m, int32_t width, int32_t height, bool heapFails,
                    bool windowHasDC) {
    const int64_t pitch = m.dib ? (int64_t{width} + 7) / 8 * 8 : width;
    if (width <= 0 || height <= 0 || pitch * 4 > INT32_MAX / height) return RC_BAD_LENGTH;
    if (m.dib && !windowHasDC) return RC_GET_DC_FAILED;
    if (!m.dib) {
      m.hasPixels = false;
      if (heapFails) return RC_NO_MEMORY;
    }
    m.hasPixels = true;
    m.width = width;
    m.height = height;
    m.pitch = static_cast<int32_t>(pitch);
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

class Session {
 public:
  Session(FuzzedDataProvider& in, HWND window, Surface* foreign)
      : in_(in), window_(window), foreign_(foreign) {}

  void Step(int step) {
    const auto op =
        static_cast<Op>(in_.ConsumeIntegralInRange<int>(0, static_cast<int>(Op::kCount) - 1));
    heapFails_ = in_.ConsumeIntegralInRange<int>(0, 7) == 0;
    subst::ClearFaults();
    if (heapFails_) subst::FailCallsFrom(subst::Fault::kHeapAlloc);
    where_ = "step " + std::to_string(step) + " op " + std::to_string(static_cast<int>(op)) +
             (heapFails_ ? " without heap" : "");
    Run(op);
    subst::ClearFaults();
    Check();
  }

  void Finish() {
    display_.reset();
    // The other display's heap surface holds no GDI object.
    const subst::GdiObjectCounts held = subst::OutstandingGdiObjects();
    FUZZ_EXPECT_EQ(held.windowDCs + held.memoryDCs + held.bitmaps, 0,
                   "GDI objects left after the display went");
  }

 private:
  int32_t Size() {
    static constexpr int32_t kRefused[] = {INT32_MAX, INT32_MIN, 1 << 29, 65536, 23171, -1, 0};
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
  SurfaceModel* PickLive() {
    std::vector<SurfaceModel*> live;
    for (auto& slot : m_.slots)
      if (slot) live.push_back(&*slot);
    if (live.empty()) return nullptr;
    return live[in_.ConsumeIntegralInRange<size_t>(0, live.size() - 1)];
  }
  // GetDC gives a context for the screen (no window) or for a live window.
  bool WindowHasDC() const {
    const HWND window = WindowFromDesc(m_.desc);
    return window == nullptr || window == window_;
  }
  void Expect(ResultCode got, ResultCode expected) { FUZZ_EXPECT_EQ(got, expected, where_); }

  void CreateSurface(bool family32) {
    const int32_t kind = Kind();
    Surface* made = family32 ? display_->CreateSurface32(kind) : display_->CreateSurface(kind);
    const int32_t slot = kind >= 0 && kind <= 2 ? m_.FreeSlot(heapFails_) : -1;
    if (slot < 0) {
      FUZZ_CHECK(made == nullptr, where_ + ": a surface without a kind or a slot");
      return;
    }
    FUZZ_CHECK(made != nullptr, where_);
    m_.slots[static_cast<size_t>(slot)] = SurfaceModel{made, kind != 0, family32};
  }

  void Open() {
    static constexpr int32_t kSizes[] = {28, 28, 28, 0, 27, 32};
    if (in_.ConsumeIntegralInRange<int>(0, 15) == 0) {
      return Expect(display_->Open(nullptr), RC_NULL_ARGUMENT);
    }
    DisplayDesc desc{};
    desc.size = in_.PickValueInArray(kSizes);
    desc.width = Size();
    desc.height = Size();
    desc.bitDepth = 24;
    const int which = in_.ConsumeIntegralInRange<int>(0, 3);
    desc.window = which == 0 ? 0 : which == 1 ? 0x7777 : WindowToDesc(window_);
    const ResultCode got = display_->Open(&desc);
    if (desc.size != kDisplayDescSize) return Expect(got, RC_BAD_FORMAT);
    m_.desc = desc;
    m_.hasDC = WindowHasDC();
    const int32_t slot = m_.FreeSlot(heapFails_);
    if (slot < 0) {
      m_.primary = nullptr;
      return Expect(got, RC_NO_SURFACE);
    }
    m_.primary = display_->GetPrimarySurface();
    FUZZ_CHECK(m_.primary != nullptr, where_);
    SurfaceModel& primary = m_.slots[static_cast<size_t>(slot)].emplace(
        SurfaceModel{m_.primary, true, true});
    Expect(got, m_.Create(primary, desc.width, desc.height, heapFails_, WindowHasDC()));
  }

  void Present(bool paint) {
    const Rect rect{Coordinate(), Coordinate(), Coordinate(), Coordinate()};
    if (paint) subst::SetInvalidRect(window_, RECT{rect.left, rect.top, rect.right, rect.bottom});
    const ResultCode got =
        paint ? display_->Paint() : display_->Present(in_.ConsumeBool() ? nullptr : &rect);
    Expect(got, !m_.hasDC ? RC_NO_DC : !m_.primary ? RC_NO_SURFACE : RC_OK);
  }

  void Destroy(SurfaceModel* m) {
    if (!m) return;
    Expect(display_->DestroySurface(m->surface), RC_OK);
    if (m->surface == m_.primary) m_.primary = nullptr;
    for (auto& slot : m_.slots)
      if (slot && &*slot == m) slot.reset();
  }

  void Run(Op op) {
    switch (op) {
      case Op::kCreateSurface: CreateSurface(false); break;
      case Op::kCreateSurface32: CreateSurface(true); break;
      case Op::kCreate: {
        SurfaceModel* m = PickLive();
        const int32_t width = Size(), height = Size();
        if (m) {
          Expect(m->surface->Create(width, height),
                 m_.Create(*m, width, height, heapFails_, WindowHasDC()));
        }
        break;
      }
      case Op::kRelease:
        if (SurfaceModel* m = PickLive()) {
          Expect(m->surface->Release(), RC_OK);
          *m = SurfaceModel{m->surface, m->dib, m->family32};
        }
        break;
      case Op::kDestroy: Destroy(PickLive()); break;
      case Op::kDestroyPrimary: Destroy(m_.Find(m_.primary)); break;
      case Op::kDestroyForeign:
        Expect(display_->AddSurface(nullptr), RC_NO_MEMORY);
        Expect(display_->DestroySurface(nullptr), RC_NO_MEMORY);
        Expect(display_->DestroySurface(foreign_), RC_NOT_FOUND);
        break;
      case Op::kDestroyAll:
        Expect(display_->DestroyAllSurfaces(), RC_OK);
        m_.slots.clear();
        m_.primary = nullptr;
        break;
      case Op::kOpen: Open(); break;
      case Op::kClose:
        Expect(display_->Close(), RC_OK);
        m_ = DisplayModel{};
        break;
      case Op::kPresent: Present(false); break;
      case Op::kPaint: Present(true); break;
      case Op::kClearStateFlag:
        if (SurfaceModel* m = PickLive()) m->surface->ClearStateFlag();
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
    const bool created = m.width > 0;
    FUZZ_EXPECT_EQ(s.Flags(), !created ? 0u : m.dib ? 0x1002u : 0x1u, where_);
    FUZZ_EXPECT_EQ(s.ByteSize(), m.height * m.pitch * 4, where_);
    FUZZ_EXPECT_EQ(s.GetPixelType(), created ? kPixelType32 : 0, where_);
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
    FUZZ_EXPECT_EQ(display_->SurfaceCount(), m_.Count(), where_);
    FUZZ_EXPECT_EQ(display_->TableCapacity(), static_cast<int32_t>(m_.slots.size()), where_);
    FUZZ_CHECK(display_->GetPrimarySurface() == m_.primary, where_ + ": primary");
    FUZZ_CHECK(display_->SurfaceAt(-1) == nullptr, where_);
    int32_t sections = 0;
    for (size_t i = 0; i <= m_.slots.size(); ++i) {
      const bool live = i < m_.slots.size() && m_.slots[i];
      FUZZ_CHECK(display_->SurfaceAt(static_cast<int32_t>(i)) == (live ? m_.slots[i]->surface : nullptr),
                 where_ + ": slot " + std::to_string(i));
      if (!live) continue;
      CheckSurface(*m_.slots[i]);
      if (m_.slots[i]->dib && m_.slots[i]->hasPixels) ++sections;
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
  bool heapFails_ = false;
  std::string where_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const HWND window = subst::CreateTestWindow(16, 16);
  static Display* const other = new Display;
  static Surface* const foreign = other->CreateSurface32(0);
  FuzzedDataProvider in(data, size);
  subst::FaultScope faults;
  Session session(in, window, foreign);
  for (int step = 0; in.remaining_bytes() > 0 && step < 120; ++step) session.Step(step);
  session.Finish();
  return 0;
}
