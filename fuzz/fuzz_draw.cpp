// Every drawing operation with arbitrary sizes, rectangles, points and parameters on small
// heap and DIB surfaces of a Display (its primary surface among them), the same surface often
// serving as destination, source and mask at once, and a surface without pixels now and then,
// through each kernel path the CPU can run.
// Each call is compared with the reference model of the gfx tests: the result, and every word
// of every surface, row padding included.
#include <climits>
#include <vector>

#include "reference/draw_call.h"
#include "reference/draw_reference.h"
#include "fuzz_support.h"
#include "gfx/display.h"
#include "gfx/kernel_path.h"
#include "gfx/surface32.h"
#include "subst/window_hooks.h"

namespace {

constexpr int32_t kSurfaces = 3;
constexpr int32_t kMaxSide = 16;
constexpr int32_t kPrimaryWidth = 13;
constexpr int32_t kPrimaryHeight = 9;

int32_t Extreme(FuzzedDataProvider& in) {
  static constexpr int32_t kValues[] = {INT32_MIN,  INT32_MIN + 1, INT32_MAX, INT32_MAX - 1,
                                        -(1 << 30), 1 << 30,       -65536,    65536};
  return in.PickValueInArray(kValues);
}

// Mostly near a surface, sometimes far outside, now and then at the ends of the range.
int32_t Coordinate(FuzzedDataProvider& in) {
  const int kind = in.ConsumeIntegralInRange<int>(0, 15);
  if (kind == 0) return Extreme(in);
  if (kind == 1) return in.ConsumeIntegral<int32_t>();
  return in.ConsumeIntegralInRange<int32_t>(-20, kMaxSide + 4);
}

int32_t SmallOrAny(FuzzedDataProvider& in, int32_t low, int32_t high) {
  return in.ConsumeIntegralInRange<int>(0, 9) == 0 ? in.ConsumeIntegral<int32_t>()
                                                   : in.ConsumeIntegralInRange<int32_t>(low, high);
}

int PickSurface(FuzzedDataProvider& in) {
  // -1 (null) now and then; otherwise any of the surfaces, so aliasing is common.
  return in.ConsumeIntegralInRange<int>(0, 15) == 0
             ? -1
             : in.ConsumeIntegralInRange<int>(0, kSurfaces - 1);
}

DrawCall Call(FuzzedDataProvider& in) {
  DrawCall c;
  c.op =
      static_cast<DrawOp>(in.ConsumeIntegralInRange<int>(0, static_cast<int>(DrawOp::Count) - 1));
  c.dest = in.ConsumeIntegralInRange<int>(0, kSurfaces - 1);
  if (IsBlit(c.op) || c.op == DrawOp::BlurFrom) c.source = PickSurface(in);
  if (IsMaskBlit(c.op)) c.mask = PickSurface(in);
  c.hasRect = in.ConsumeIntegralInRange<int>(0, 4) != 0;
  c.rect = Rect{Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in)};
  c.x = Coordinate(in);
  c.y = Coordinate(in);
  c.maskX = Coordinate(in);
  c.maskY = Coordinate(in);
  c.colour = in.ConsumeIntegral<uint32_t>();
  c.weights = in.ConsumeIntegral<uint32_t>();
  switch (c.op) {
    case DrawOp::Mosaic:
      c.n[0] = SmallOrAny(in, -2, 20);
      c.n[1] = SmallOrAny(in, -1, 12);
      c.n[2] = Coordinate(in);
      c.n[3] = Coordinate(in);
      break;
    case DrawOp::BlurFrom:
      c.n[0] = SmallOrAny(in, -1, 8);
      c.n[1] = SmallOrAny(in, -1, 6);
      break;
    case DrawOp::BltDissolve:
    case DrawOp::BltBlendLevel: c.n[0] = SmallOrAny(in, -2, 17); break;
    case DrawOp::BltDissolveRange:
      // Every level of the range is one call, refused or not: keep the runs short.
      c.n[0] = in.ConsumeIntegralInRange<int32_t>(-40, 40);
      c.n[1] = in.ConsumeIntegralInRange<int32_t>(-40, 60);
      break;
    case DrawOp::BltMaskKey:
      // Mostly a byte, so that some positions match.
      if (in.ConsumeBool()) c.colour &= 0xFF;
      break;
    default: break;
  }
  return c;
}

std::vector<uint32_t> Words(Surface32& s, size_t count) {
  const uint32_t* bits = s.Lock();
  std::vector<uint32_t> words(bits, bits + count);
  s.Unlock();
  return words;
}

class Surfaces {
 public:
  explicit Surfaces(Display& display) : display_(display) {}
  ~Surfaces() {
    for (Surface32* s : made_) display_.DestroySurface(s);
  }
  Surfaces(const Surfaces&) = delete;
  Surfaces& operator=(const Surfaces&) = delete;

  // A surface as the input describes it, with its image in the model.
  Surface32* Make(FuzzedDataProvider& in, RefImage& image) {
    int kind = in.ConsumeIntegralInRange<int>(0, 9);
    if (kind == 0 && primaryTaken_) kind = 1;  // one image per surface
    primaryTaken_ = primaryTaken_ || kind == 0;
    Surface32* s = kind == 0 ? display_.GetPrimarySurface() : display_.CreateSurface32(kind % 2);
    if (!s) Finding(__FILE__, __LINE__, "no surface");
    if (kind != 0) {
      made_.push_back(s);
      const int32_t width = in.ConsumeIntegralInRange<int32_t>(1, kMaxSide);
      const int32_t height = in.ConsumeIntegralInRange<int32_t>(1, kMaxSide);
      FUZZ_EXPECT_EQ(s->Create(width, height), RC_OK, "Create");
      if (kind == 9) s->Release();  // no pixels: every Lock fails
    }
    image.width = s->Width();
    image.height = s->Height();
    image.pitch = s->Pitch();
    image.lockError = s->Lock() ? RC_OK : RC_NO_PIXELS;
    s->Unlock();
    image.pixels.resize(static_cast<size_t>(image.pitch) * static_cast<size_t>(image.height));
    if (image.pixels.empty()) return s;
    // The pixels, padding included: from the input, then a pattern.
    const uint32_t seed = in.ConsumeIntegral<uint32_t>();
    uint32_t* bits = s->Lock();
    for (size_t i = 0; i < image.pixels.size(); ++i) {
      image.pixels[i] = in.remaining_bytes() >= 4 && in.ConsumeBool()
                            ? in.ConsumeIntegral<uint32_t>()
                            : (seed + static_cast<uint32_t>(i)) * 0x9E3779B1u;
      bits[i] = image.pixels[i];
    }
    s->Unlock();
    return s;
  }

 private:
  Display& display_;
  std::vector<Surface32*> made_;
  bool primaryTaken_ = false;
};

Display& TheDisplay() {
  static Display* display = [] {
    auto* d = new Display;
    const HWND window = subst::CreateTestWindow(kPrimaryWidth, kPrimaryHeight);
    DisplayDesc desc{};
    desc.size = kDisplayDescSize;
    desc.width = kPrimaryWidth;
    desc.height = kPrimaryHeight;
    desc.bitDepth = 24;
    desc.window = WindowToDesc(window);
    if (d->Open(&desc) != RC_OK) std::abort();
    return d;
  }();
  return *display;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const auto path = static_cast<KernelPath>(
      in.ConsumeIntegralInRange<int32_t>(0, static_cast<int32_t>(BestKernelPath())));
  if (ForceKernelPath(path) != RC_OK) Finding(__FILE__, __LINE__, "kernel path refused");
  Display& display = TheDisplay();
  Surfaces owned(display);
  std::vector<RefImage> images(kSurfaces);
  Surface32* surfaces[kSurfaces];
  for (int32_t k = 0; k < kSurfaces; ++k) {
    images[k].name = std::string(1, static_cast<char>('a' + k));
    surfaces[k] = owned.Make(in, images[k]);
  }
  for (int step = 0; step < 8 && in.remaining_bytes() > 0; ++step) {
    const DrawCall call = Call(in);
    const ResultCode got = CallLibrary(call, surfaces);
    std::vector<std::string> log;
    const ResultCode expected = RunReference(call, images, log);
    FUZZ_EXPECT_EQ(got, expected, call.Describe());
    for (int32_t k = 0; k < kSurfaces; ++k) {
      if (images[k].pixels.empty()) continue;
      const std::vector<uint32_t> words = Words(*surfaces[k], images[k].pixels.size());
      for (size_t i = 0; i < words.size(); ++i) {
        FUZZ_EXPECT_EQ(
            words[i], images[k].pixels[i],
            call.Describe() + " surface " + images[k].name + " word " + std::to_string(i));
      }
    }
  }
  return 0;
}
