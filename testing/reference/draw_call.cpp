#include "reference/draw_call.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <tuple>

#include "gfx/display.h"
#include "reference/test_surface32.h"

ResultCode CallLibrary(const DrawCall& c, Surface32* const* surfaces) {
  Surface32 &d = *surfaces[c.dest], *s = c.source >= 0 ? surfaces[c.source] : nullptr;
  Surface32* m = c.mask >= 0 ? surfaces[c.mask] : nullptr;
  const Rect* r = c.hasRect ? &c.rect : nullptr;
  switch (c.op) {
    case DrawOp::FillRect: return d.FillRect(c.colour, r);
    case DrawOp::FrameRect: return d.FrameRect(c.colour, r);
    case DrawOp::MaskOrColor: return d.MaskOrColor(c.colour, r);
    case DrawOp::ClearRect: return d.ClearRect(c.colour, r);
    case DrawOp::ScreenColor: return d.ScreenColor(c.colour, r);
    case DrawOp::MultiplyColor: return d.MultiplyColor(c.colour, r);
    case DrawOp::GrayAverage: return d.GrayAverage(r);
    case DrawOp::GrayWeighted: return d.GrayWeighted(r);
    case DrawOp::Mosaic: return d.Mosaic(c.n[0], r, c.n[1], c.n[2], c.n[3]);
    case DrawOp::BlurFrom: return d.BlurFrom(c.n[0], s, r, c.n[1]);
    case DrawOp::Blt: return d.Blt(c.x, c.y, s, r);
    case DrawOp::BltKeyed: return d.BltKeyed(c.x, c.y, s, r, c.colour);
    case DrawOp::BltKeyedMesh: return d.BltKeyedMesh(c.x, c.y, s, r, c.colour);
    case DrawOp::BltKeyedBlend: return d.BltKeyedBlend(c.x, c.y, s, r, c.colour, c.weights);
    case DrawOp::BltMesh: return d.BltMesh(c.x, c.y, s, r);
    case DrawOp::BltDissolveRange: return d.BltDissolveRange(c.x, c.y, s, r, c.n[0], c.n[1]);
    case DrawOp::BltDissolve: return d.BltDissolve(c.x, c.y, s, r, c.n[0]);
    case DrawOp::BltMaskOr: return d.BltMaskOr(c.x, c.y, s, r);
    case DrawOp::BltClear: return d.BltClear(c.x, c.y, s, r);
    case DrawOp::BltMultiply: return d.BltMultiply(c.x, c.y, s, r);
    case DrawOp::BltBlendLevel: return d.BltBlendLevel(c.x, c.y, s, r, c.n[0]);
    case DrawOp::BltBlendColor: return d.BltBlendColor(c.x, c.y, s, r, c.colour);
    case DrawOp::BltBlendHalf: return d.BltBlendHalf(c.x, c.y, s, r);
    case DrawOp::BltMaskBlend: return d.BltMaskBlend(c.x, c.y, s, r, m, c.maskX, c.maskY);
    case DrawOp::BltMaskMultiply: return d.BltMaskMultiply(c.x, c.y, s, r, m, c.maskX, c.maskY);
    case DrawOp::BltMaskKey: return d.BltMaskKey(c.x, c.y, s, r, m, c.maskX, c.maskY, c.colour);
    case DrawOp::Count: break;
  }
  return -1;
}

namespace {

constexpr int32_t kExtremes[] = {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1,
                                 -1000000,  1 << 30,       -(1 << 30), 65536};
constexpr uint32_t kPixels[] = {0,          0x00FFFFFF, 0xFF000000, 0x00FF0000, 0x000000FF,
                                0x00808080, 0x0000FF00, 0x01000000, 0x00000001, 0xFFFFFFFF};

// Mostly on or near a side of a surface of that extent, sometimes far outside, now and then at
// the ends of the range.
int32_t Coordinate(CaseBits& bits, int32_t extent) {
  const int kind = Range(bits, 0, 99);
  if (kind < 6) return kExtremes[Range(bits, 0, 7)];
  return kind < 16 ? Range(bits, -40, 60) : Range(bits, -4, extent + 2);
}

// Mostly a plausible end after start.
int32_t End(CaseBits& bits, int32_t start, int32_t extent) {
  const int64_t end = int64_t{start} + Range(bits, -2, extent + 3);
  return Percent(bits, 20) ? Coordinate(bits, extent) : int32_t(std::clamp<int64_t>(end, INT_MIN, INT_MAX));
}

// A pixel of the image, or random bits when it has none.
uint32_t SomePixel(CaseBits& bits, RefImage& image) {
  if (image.width <= 0 || image.height <= 0) return bits();
  return image.At(Range(bits, 0, image.width - 1), Range(bits, 0, image.height - 1));
}

// Mostly the usual surface, else one that has another role too, now and then none.
int PickSurface(CaseBits& bits, int usual) {
  const int choice = Range(bits, 0, 24);
  return choice == 0 ? -1 : choice < 16 ? usual : choice < 20 ? 0 : 3 - usual;
}

DrawCall RandomCall(CaseBits& bits, std::vector<RefImage>& images) {
  DrawCall c;
  c.op = static_cast<DrawOp>(Range(bits, 0, static_cast<int>(DrawOp::Count) - 1));
  const bool masked = IsMaskBlit(c.op);
  if (IsBlit(c.op) || c.op == DrawOp::BlurFrom) c.source = PickSurface(bits, 1);
  if (masked) c.mask = PickSurface(bits, 2);
  RefImage& dest = images[0];
  RefImage& source = images[size_t(std::max(c.source, 0))];
  RefImage& mask = images[size_t(std::max(c.mask, 0))];
  const RefImage& owner = IsBlit(c.op) ? source : dest;
  c.hasRect = Percent(bits, 80);
  c.rect.left = Coordinate(bits, owner.width);
  c.rect.top = Coordinate(bits, owner.height);
  c.rect.right = End(bits, c.rect.left, owner.width);
  c.rect.bottom = End(bits, c.rect.top, owner.height);
  c.x = Coordinate(bits, dest.width), c.y = Coordinate(bits, dest.height);
  c.maskX = Coordinate(bits, mask.width), c.maskY = Coordinate(bits, mask.height);
  // As a key the colour must match now and then: a source pixel, or its mask's blue byte
  // (alone, or with bits past the byte that must keep it from matching).
  const uint32_t p = masked ? SomePixel(bits, mask) & 0xFF : SomePixel(bits, source);
  const uint32_t key = masked ? p | (Percent(bits, 50) ? kExtremes[Range(bits, 0, 7)] & ~0xFFu : 0)
                              : (p & 0xFF) << 16 | (p & 0xFF00) | ((p >> 16) & 0xFF);
  c.colour = Percent(bits, 50) ? key : Percent(bits, 80) ? bits() : kPixels[Range(bits, 0, 9)];
  c.weights = Percent(bits, 80) ? bits() : kPixels[Range(bits, 0, 9)];
  // Sizes and levels, then steps (mostly 1) or an end level, then Mosaic's origin.
  c.n[0] = Range(bits, -3, 20) + (c.op == DrawOp::Mosaic ? Range(bits, 0, 20) : 0);
  c.n[1] = Percent(bits, 40) ? 1 : Range(bits, -1, 20);
  c.n[2] = Coordinate(bits, dest.width), c.n[3] = Coordinate(bits, dest.height);
  if (c.op == DrawOp::BltBlendLevel && Percent(bits, 50)) c.n[0] = int32_t(bits());
  // Any value now and then, but not in a run of levels, each of which is a call.
  if (c.op != DrawOp::BltDissolveRange && Percent(bits, 6)) c.n[Range(bits, 0, 1)] = Coordinate(bits, 0);
  // The whole of surfaces alike in size, whose rows may go to a kernel as one run.
  if (Percent(bits, 10)) c.hasRect = false, c.x = c.y = c.maskX = c.maskY = 0;
  // A blit within one surface a step or two from where it reads: it must read its own writes.
  if (c.source == 0 && Percent(bits, 30)) {
    const int64_t x = int64_t{c.hasRect ? c.rect.left : 0} + Range(bits, -2, 2);
    const int64_t y = int64_t{c.hasRect ? c.rect.top : 0} + Range(bits, -1, 1);
    c.x = int32_t(std::clamp<int64_t>(x, INT_MIN, INT_MAX)), c.y = int32_t(std::clamp<int64_t>(y, INT_MIN, INT_MAX));
  }
  return c;
}

}  // namespace

std::string RunRandomCase(CaseBits& bits) {
  static Display& display = *new Display;  // closed: its sections take the screen's context
  display.DestroyAllSurfaces();
  std::mt19937 noise(bits());
  std::vector<RefImage> images(3);
  std::unique_ptr<TestSurface32> tests[3];
  Surface32* surfaces[3];
  const bool alike = Percent(bits, 25);  // all three of the first one's size, if it has pixels
  int32_t width = 0, height = 0;
  for (size_t k = 0; k < 3; ++k) {
    const int kind = Range(bits, 0, 9);   // a test surface, heap, DIB, released
    // Past the widest vectors' batches; half of those past the kernels' 1,024-column pieces.
    const bool wide = Percent(bits, 10);
    const int32_t widest = wide && Percent(bits, 50) ? 1100 : 150;
    if (!alike || width * height == 0) {
      width = wide ? Range(bits, widest - 131, widest) : Range(bits, kind < 5 ? 0 : 1, 18);
      height = Range(bits, kind < 5 ? 0 : 1, wide ? 4 : 18);
    }
    RefImage& image = images[k];
    if (kind < 5) {
      tests[k] = std::make_unique<TestSurface32>(width, height, width + Range(bits, 0, 4));
      surfaces[k] = tests[k].get();
      image.lockError = Percent(bits, 95) ? RC_OK : Percent(bits, 50) ? RC_NO_PIXELS : RC_LOCK_UNSUPPORTED;
    } else {
      surfaces[k] = display.CreateSurface32(kind < 7 ? Display::kHeapKind : Display::kDibKind);
      if (!surfaces[k] || surfaces[k]->Create(width, height) != RC_OK) return "no surface";
      if (kind == 9) surfaces[k]->Release(), image.lockError = RC_NO_PIXELS;
    }
    image = RefImage{surfaces[k]->Width(), surfaces[k]->Height(), surfaces[k]->Pitch(), {}, image.lockError};
    image.pixels.resize(size_t(image.pitch) * size_t(image.height));
    uint32_t* words = surfaces[k]->Lock();
    const uint32_t kept = Percent(bits, 30) ? 0xFFFFFF : ~0u;  // now and then no top bytes at all
    for (size_t i = 0; words && i < image.pixels.size(); ++i) {
      const auto v = static_cast<uint32_t>(noise()), w = static_cast<uint32_t>(noise());
      words[i] = image.pixels[i] = kept & (v % 10 < 3 ? w : v % 10 < 6 ? w & 0xFFFFFF : kPixels[v / 10 % 10]);
    }
    surfaces[k]->Unlock();
    if (tests[k]) tests[k]->FailLocksWith(image.lockError);
  }
  const DrawCall c = RandomCall(bits, images);
  const ResultCode got = CallLibrary(c, surfaces), expected = RunReference(c, images);
  std::string problem;
  if (got != expected) problem = "result " + std::to_string(got) + " not " + std::to_string(expected);
  // The clip operations give the area that the model draws, saturated to 32 bits.
  if (IsBlit(c.op) && c.source >= 0 && (c.mask >= 0 || !IsMaskBlit(c.op))) {
    const std::array<int64_t, 8> area = ClipArea(c, images);
    Rect r;
    int32_t v[8] = {c.x, c.y, 0, 0, 0, 0, c.maskX, c.maskY};
    Surface32 &d = *surfaces[c.dest], *s = surfaces[c.source];
    d.ResolveSourceRect(r, c.hasRect ? &c.rect : nullptr, s);
    if (IsMaskBlit(c.op)) d.ClipBlit2(v[0], v[1], s, r, surfaces[c.mask], v[6], v[7]);
    if (!IsMaskBlit(c.op)) d.ClipBlit(v[0], v[1], s, r);
    std::tie(v[2], v[3], v[4], v[5]) = std::tie(r.left, r.top, r.right, r.bottom);
    for (int i = 0; i < (IsMaskBlit(c.op) ? 8 : 6); ++i)  // without a mask, no mask point
      if (v[i] != std::clamp<int64_t>(area[i], INT_MIN, INT_MAX)) problem += " clip " + std::to_string(i);
  }
  for (size_t k = 0; k < 3; ++k) {
    if (tests[k] && tests[k]->LockDepth() != 0) problem += " locked " + std::to_string(k);
    if (tests[k]) tests[k]->FailLocksWith(RC_OK);
    const uint32_t* words = surfaces[k]->Lock();
    for (size_t i = 0; words && i < images[k].pixels.size() && problem.empty(); ++i) {
      if (words[i] != images[k].pixels[i]) problem = "surface " + std::to_string(k) + ":" + std::to_string(i);
    }
    surfaces[k]->Unlock();
  }
  return problem.empty() ? "" : "op " + std::to_string(int(c.op)) + ": " + problem;
}
