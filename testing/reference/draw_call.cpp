#include "reference/draw_call.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <random>

#include "gfx/display.h"
#include "reference/draw_reference.h"
#include "reference/test_surface32.h"

ResultCode CallLibrary(const DrawCall& c, Surface32* const* surfaces) {
  Surface32& d = *surfaces[c.dest];
  Surface32* s = c.source >= 0 ? surfaces[c.source] : nullptr;
  Surface32* m = c.mask >= 0 ? surfaces[c.mask] : nullptr;
  const Rect* r = c.RectOrNull();
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
constexpr uint32_t kArguments[] = {0, 0x00FFFFFF, 0xFF, 0x80, 0x804020, 0x7F7F7F, 0xFF000000};

// Mostly on or near a side of a surface of that extent, sometimes far outside, now and then at
// the ends of the range.
int32_t Coordinate(CaseBits& bits, int32_t extent) {
  const int kind = bits.Range(0, 99);
  return kind < 6 ? bits.Pick(kExtremes) : kind < 16 ? bits.Range(-40, 60) : bits.Range(-4, extent + 2);
}

// A pixel of the image, or random bits when it has none.
uint32_t SomePixel(CaseBits& bits, const RefImage& image) {
  if (image.width <= 0 || image.height <= 0) return bits.Bits();
  return image.At(bits.Range(0, image.width - 1), bits.Range(0, image.height - 1));
}

int PickSurface(CaseBits& bits, int usual) {
  const int choice = bits.Range(0, 24);
  return choice == 0 ? -1 : choice < 16 ? usual : choice < 20 ? 0 : 3 - usual;  // often shared
}

DrawCall RandomCall(CaseBits& bits, const std::vector<RefImage>& images) {
  DrawCall c;
  c.op = static_cast<DrawOp>(bits.Range(0, static_cast<int>(DrawOp::Count) - 1));
  if (IsBlit(c.op) || c.op == DrawOp::BlurFrom) c.source = PickSurface(bits, 1);
  if (IsMaskBlit(c.op)) c.mask = PickSurface(bits, 2);
  const RefImage& dest = images[0];
  const RefImage& source = images[static_cast<size_t>(std::max(c.source, 0))];
  const RefImage& mask = images[static_cast<size_t>(std::max(c.mask, 0))];
  const RefImage& owner = IsBlit(c.op) ? source : dest;
  c.hasRect = bits.Percent(80);
  c.rect.left = Coordinate(bits, owner.width);
  c.rect.top = Coordinate(bits, owner.height);
  // Mostly a plausible extent after the start, sometimes anything.
  const auto end = [&](int32_t start, int32_t extent) {
    const int64_t plausible = std::clamp<int64_t>(int64_t{start} + bits.Range(-2, extent + 3), INT32_MIN, INT32_MAX);
    return bits.Percent(20) ? Coordinate(bits, extent) : static_cast<int32_t>(plausible);
  };
  c.rect.right = end(c.rect.left, owner.width);
  c.rect.bottom = end(c.rect.top, owner.height);
  c.x = Coordinate(bits, dest.width);
  c.y = Coordinate(bits, dest.height);
  c.maskX = Coordinate(bits, mask.width);
  c.maskY = Coordinate(bits, mask.height);
  // As a key the colour must match now and then: a source pixel, or its mask's blue byte.
  const uint32_t p = IsMaskBlit(c.op) ? SomePixel(bits, mask) & 0xFF : SomePixel(bits, source);
  const int kind = bits.Range(0, 3);
  c.colour = kind == 0 ? bits.Bits() : kind == 1 ? bits.Pick(kArguments)
             : !IsMaskBlit(c.op) ? ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF)
             : p | (kind == 3 ? bits.Pick(kExtremes) & 0xFFFFFF00 : 0);  // past the byte
  c.weights = bits.Percent(50) ? bits.Bits() : bits.Pick(kArguments);
  c.n[0] = bits.Range(-3, 20);                          // sizes, radii, levels, a first level
  c.n[1] = bits.Percent(40) ? 1 : bits.Range(-1, 20);   // steps, mostly 1; an end level
  c.n[2] = Coordinate(bits, dest.width);                // Mosaic's origin
  c.n[3] = Coordinate(bits, dest.height);
  if (c.op == DrawOp::Mosaic) c.n[0] += bits.Range(0, 20);  // blocks past the step's limit
  if (c.op == DrawOp::BltBlendLevel && bits.Percent(50)) c.n[0] = static_cast<int32_t>(bits.Bits());
  // Any value now and then, but not in a run of levels, each of which is a call.
  if (c.op != DrawOp::BltDissolveRange && bits.Percent(6)) c.n[bits.Range(0, 1)] = bits.Pick(kExtremes);
  return c;
}

}  // namespace

std::string RunRandomCase(CaseBits& bits) {
  static Display& display = *new Display;  // closed: its sections take the screen's context
  display.DestroyAllSurfaces();
  std::mt19937 noise(bits.Bits());
  std::vector<RefImage> images(3);
  std::unique_ptr<TestSurface32> tests[3];
  Surface32* surfaces[3];
  std::string what;
  for (size_t k = 0; k < 3; ++k) {
    RefImage& image = images[k];
    const int kind = bits.Range(0, 9);  // a test surface, heap, DIB, released
    const bool wide = bits.Percent(10);  // past the widest vectors' batches
    const int32_t width = wide ? bits.Range(19, 150) : bits.Range(kind < 5 ? 0 : 1, 18);
    const int32_t height = bits.Range(kind < 5 ? 0 : 1, wide ? 4 : 18);
    if (kind < 5) {
      tests[k] = std::make_unique<TestSurface32>(width, height, width + bits.Range(0, 4));
      surfaces[k] = tests[k].get();
      const int lock = bits.Range(0, 99);
      image.lockError = lock < 3 ? RC_NO_PIXELS : lock < 5 ? RC_LOCK_UNSUPPORTED : RC_OK;
    } else {
      surfaces[k] = display.CreateSurface32(kind < 7 ? Display::kHeapKind : Display::kDibKind);
      if (!surfaces[k] || surfaces[k]->Create(width, height) != RC_OK) return "no surface";
      if (kind == 9) surfaces[k]->Release();
      image.lockError = kind == 9 ? RC_NO_PIXELS : RC_OK;
    }
    image.width = surfaces[k]->Width();
    image.height = surfaces[k]->Height();
    image.pitch = surfaces[k]->Pitch();
    image.pixels.resize(static_cast<size_t>(image.pitch) * static_cast<size_t>(image.height));
    uint32_t* words = surfaces[k]->Lock();
    for (size_t i = 0; words && i < image.pixels.size(); ++i) {
      const auto v = static_cast<uint32_t>(noise());
      words[i] = image.pixels[i] = v % 10 < 3   ? static_cast<uint32_t>(noise())
                                   : v % 10 < 6 ? static_cast<uint32_t>(noise()) & 0xFFFFFF
                                                : kPixels[v / 10 % 10];
    }
    surfaces[k]->Unlock();
    what += " " + std::to_string(image.width) + "x" + std::to_string(image.height) + "/" +
            std::to_string(image.pitch) + " kind " + std::to_string(kind) + ",";
  }
  const DrawCall c = RandomCall(bits, images);
  for (size_t k = 0; k < 3; ++k) {
    if (tests[k]) tests[k]->FailLocksWith(images[k].lockError);
  }
  const ResultCode got = CallLibrary(c, surfaces);
  const ResultCode expected = RunReference(c, images);
  std::string problem;
  if (got != expected) problem = " result " + std::to_string(got) + ", expected " + std::to_string(expected);
  for (size_t k = 0; k < 3; ++k) {
    if (!tests[k]) continue;
    if (tests[k]->LockDepth() != 0) problem += " surface " + std::to_string(k) + " left locked";
    tests[k]->FailLocksWith(RC_OK);
  }
  for (size_t k = 0; k < 3 && problem.empty(); ++k) {
    const uint32_t* words = surfaces[k]->Lock();
    for (size_t i = 0; words && i < images[k].pixels.size() && problem.empty(); ++i) {
      if (words[i] == images[k].pixels[i]) continue;
      problem = " surface " + std::to_string(k) + " word " + std::to_string(i) + " is " +
                std::to_string(words[i]) + ", expected " + std::to_string(images[k].pixels[i]);
    }
    surfaces[k]->Unlock();
  }
  if (problem.empty()) return "";
  char call[200];
  std::snprintf(call, sizeof call, "op %d on %d from %d mask %d, rect %s%d,%d,%d,%d at %d,%d mask at %d,%d, colour %X weights %X n %d,%d,%d,%d",
                static_cast<int>(c.op), c.dest, c.source, c.mask, c.hasRect ? "" : "(null) ", c.rect.left, c.rect.top, c.rect.right, c.rect.bottom, c.x, c.y, c.maskX, c.maskY, c.colour, c.weights, c.n[0], c.n[1], c.n[2], c.n[3]);
  return call + std::string("; surfaces") + what + problem;
}
