#include "draw_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "reference/draw_call.h"
#include "reference/draw_reference.h"

namespace {

// std::mt19937's output is fixed by the standard, unlike the distributions, so a seed
// reproduces the same cases in every build.
class Rng {
 public:
  explicit Rng(uint32_t seed) : gen_(seed) {}
  uint32_t Bits() { return static_cast<uint32_t>(gen_()); }
  int32_t Range(int32_t low, int32_t high) {
    const uint64_t span = static_cast<uint64_t>(int64_t{high} - low) + 1;
    return static_cast<int32_t>(low + static_cast<int64_t>(Bits() % span));
  }
  bool Percent(int percent) { return Range(0, 99) < percent; }
  template <typename T, size_t N>
  T Pick(const T (&values)[N]) {
    return values[Bits() % N];
  }

 private:
  std::mt19937 gen_;
};

constexpr int32_t kExtremes[] = {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1,
                                 -1000000,  1 << 30,       -(1 << 30), 65536};
constexpr uint32_t kPixels[] = {0,          0x00FFFFFF, 0xFF000000, 0x00FF0000, 0x000000FF,
                                0x00808080, 0x0000FF00, 0x01000000, 0x00000001, 0xFFFFFFFF};
constexpr uint32_t kArguments[] = {0, 0x00FFFFFF, 0xFF, 0x80, 0x804020, 0x7F7F7F, 0xFF000000};

// Mostly on or near a surface side of the given extent, sometimes far outside, now and then
// at the ends of the range.
int32_t Coordinate(Rng& rng, int32_t extent) {
  const int kind = rng.Range(0, 99);
  if (kind < 6) return rng.Pick(kExtremes);
  if (kind < 16) return rng.Range(-40, 60);
  return rng.Range(-4, extent + 2);
}

// Mostly a plausible extent after start, sometimes anything.
int32_t EndAfter(Rng& rng, int32_t start, int32_t extent) {
  if (rng.Percent(20)) return Coordinate(rng, extent);
  const int64_t end = int64_t{start} + rng.Range(-2, extent + 3);
  return end > INT32_MAX ? INT32_MAX : end < INT32_MIN ? INT32_MIN : static_cast<int32_t>(end);
}

uint32_t RandomPixel(Rng& rng) {
  const int kind = rng.Range(0, 9);
  if (kind < 3) return rng.Bits();
  if (kind < 6) return rng.Bits() & 0x00FFFFFF;
  return rng.Pick(kPixels);
}

uint32_t PixelAsArgument(uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// A pixel of the image, or a random word when it has none.
uint32_t SomePixel(Rng& rng, const RefImage& image) {
  if (image.width <= 0 || image.height <= 0) return rng.Bits();
  return image.pixels[static_cast<size_t>(rng.Range(0, image.height - 1) * image.pitch +
                                          rng.Range(0, image.width - 1))];
}

int PickSurface(Rng& rng, int usual, int percentNull) {
  if (rng.Percent(percentNull)) return -1;
  const int choice = rng.Range(0, 9);
  return choice < 6 ? usual : choice < 8 ? 0 : 3 - usual;  // often the usual, else shared
}

DrawCall RandomCall(Rng& rng, const std::vector<RefImage>& images) {
  DrawCall c;
  c.op = static_cast<DrawOp>(rng.Range(0, static_cast<int>(DrawOp::Count) - 1));
  c.dest = 0;
  if (IsBlit(c.op) || c.op == DrawOp::BlurFrom) c.source = PickSurface(rng, 1, 4);
  if (IsMaskBlit(c.op)) c.mask = PickSurface(rng, 2, 4);
  c.hasRect = rng.Percent(80);
  // The Rect is the source's in a blit, else the destination's.
  const RefImage& dest = images[0];
  const RefImage& keySource = images[static_cast<size_t>(c.source >= 0 ? c.source : 0)];
  const RefImage& maskImage = images[static_cast<size_t>(c.mask >= 0 ? c.mask : 0)];
  const RefImage& rectOwner = IsBlit(c.op) ? keySource : dest;
  c.rect.left = Coordinate(rng, rectOwner.width);
  c.rect.top = Coordinate(rng, rectOwner.height);
  c.rect.right = EndAfter(rng, c.rect.left, rectOwner.width);
  c.rect.bottom = EndAfter(rng, c.rect.top, rectOwner.height);
  c.x = Coordinate(rng, dest.width);
  c.y = Coordinate(rng, dest.height);
  c.maskX = Coordinate(rng, maskImage.width);
  c.maskY = Coordinate(rng, maskImage.height);

  const int colourKind = rng.Range(0, 3);
  c.colour = colourKind == 0   ? rng.Bits()
             : colourKind == 1 ? rng.Pick(kArguments)
                               : PixelAsArgument(SomePixel(rng, keySource));
  c.weights = rng.Percent(50) ? rng.Bits() : rng.Pick(kArguments);
  switch (c.op) {
    case DrawOp::Mosaic:
      c.n[0] = rng.Percent(10) ? rng.Pick(kExtremes) : rng.Range(-2, 20);
      c.n[1] = rng.Percent(5) ? INT32_MAX : rng.Range(-1, 12);
      c.n[2] = Coordinate(rng, dest.width);
      c.n[3] = Coordinate(rng, dest.height);
      break;
    case DrawOp::BlurFrom:
      c.n[0] = rng.Percent(10) ? INT32_MAX : rng.Range(-1, 7);
      c.n[1] = rng.Percent(5) ? INT32_MAX : rng.Range(-1, 5);
      break;
    case DrawOp::BltDissolve: c.n[0] = rng.Range(-2, 17); break;
    case DrawOp::BltDissolveRange:
      c.n[0] = rng.Range(-3, 18);
      c.n[1] = rng.Range(-3, 20);
      break;
    case DrawOp::BltBlendLevel: c.n[0] = rng.Percent(50) ? rng.Range(-300, 600) : rng.Bits(); break;
    case DrawOp::BltMaskKey: {
      const int kind = rng.Range(0, 2);
      // A byte of the mask, that byte with high bits that must keep it from matching, or any.
      constexpr uint32_t kHighBits[] = {0x100, 0xFFFFFF00, 0x80000000};
      const uint32_t byte = SomePixel(rng, maskImage) & 0xFF;
      c.colour = kind == 0 ? byte : kind == 1 ? byte | rng.Pick(kHighBits) : rng.Bits();
      break;
    }
    default: break;
  }
  return c;
}

// The first word where the two differ, described, or "" when they agree.
std::string FirstDifference(const RefImage& expected, const std::vector<uint32_t>& actual) {
  for (size_t i = 0; i < expected.pixels.size(); ++i) {
    if (expected.pixels[i] == actual[i]) continue;
    char text[160];
    std::snprintf(text, sizeof text, "surface %s word %zu (x %zu, y %zu): expected 0x%08X, got 0x%08X",
                  expected.name.c_str(), i, i % static_cast<size_t>(expected.pitch ? expected.pitch : 1),
                  i / static_cast<size_t>(expected.pitch ? expected.pitch : 1), expected.pixels[i],
                  actual[i]);
    return text;
  }
  return "";
}

int32_t Saturated(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The library's own clip operations for the call's surfaces against the reference's, whose
// exact values the library saturates to 32 bits; "" when they agree.
std::string ClipDifference(const DrawCall& call, Surface32* const* surfaces,
                           const std::vector<RefImage>& images) {
  const Surface32& dest = *surfaces[call.dest];
  Rect resolved;
  dest.ResolveRect(resolved, call.RectOrNull());
  if (resolved != RefResolveRect(call.RectOrNull(), images[0].width, images[0].height)) {
    return "ResolveRect differs";
  }
  if (!IsBlit(call.op) || call.source < 0 || (IsMaskBlit(call.op) && call.mask < 0)) return "";
  const RefClip ref = RefClipOf(call, images);
  Rect rect;
  dest.ResolveSourceRect(rect, call.RectOrNull(), surfaces[call.source]);
  int32_t x = call.x, y = call.y, x2 = call.maskX, y2 = call.maskY;
  if (IsMaskBlit(call.op)) {
    dest.ClipBlit2(x, y, surfaces[call.source], rect, surfaces[call.mask], x2, y2);
  } else {
    dest.ClipBlit(x, y, surfaces[call.source], rect);
  }
  const Rect refRect{Saturated(ref.left), Saturated(ref.top), Saturated(ref.right),
                     Saturated(ref.bottom)};
  const bool same = x == Saturated(ref.x) && y == Saturated(ref.y) && rect == refRect &&
                    (!IsMaskBlit(call.op) || (x2 == Saturated(ref.x2) && y2 == Saturated(ref.y2)));
  return same ? "" : "ClipBlit differs";
}

std::vector<uint32_t> ReadWords(Surface32& surface, size_t count) {
  const uint32_t* bits = surface.Lock();
  std::vector<uint32_t> words(bits, bits + count);
  surface.Unlock();
  return words;
}

void WriteWords(Surface32& surface, const std::vector<uint32_t>& words) {
  uint32_t* bits = surface.Lock();
  std::copy(words.begin(), words.end(), bits);
  surface.Unlock();
}

}  // namespace

int RunRandomDrawCases(uint32_t seed, int count, SurfaceMaker& maker) {
  Rng rng(seed);
  int failures = 0;
  for (int index = 0; index < count && failures < 5; ++index) {
    maker.Reset();
    std::vector<RefImage> images(3);
    std::vector<Surface32*> surfaces;
    for (size_t k = 0; k < images.size(); ++k) {
      RefImage& image = images[k];
      image.name = std::string(1, static_cast<char>('a' + k));
      image.width = rng.Range(maker.MinimumSize(), 18);
      image.height = rng.Range(maker.MinimumSize(), 18);
      const int32_t pitchWish = image.width + rng.Range(0, 4);
      const int lockKind = rng.Range(0, 99);
      if (maker.ControlsLocks()) {
        image.lockError = lockKind < 3 ? RC_NO_PIXELS : lockKind < 5 ? RC_LOCK_UNSUPPORTED : RC_OK;
      }
      Surface32* surface = maker.Make(image.width, image.height, pitchWish, image.name);
      if (surface == nullptr) {
        ADD_FAILURE() << "seed " << seed << " case " << index << ": no surface";
        return failures + 1;
      }
      image.pitch = surface->Pitch();
      // Every word the surface owns, padding included.
      image.pixels.resize(static_cast<size_t>(image.pitch) * static_cast<size_t>(image.height));
      for (uint32_t& p : image.pixels) p = RandomPixel(rng);
      WriteWords(*surface, image.pixels);
      surfaces.push_back(surface);
    }
    std::vector<std::string> libraryLog;
    if (maker.ControlsLocks()) {
      for (size_t k = 0; k < images.size(); ++k) {
        maker.Arm(surfaces[k], images[k].lockError, &libraryLog);
      }
    }
    const DrawCall call = RandomCall(rng, images);
    const ResultCode got = CallLibrary(call, surfaces.data());
    std::vector<std::string> referenceLog;
    const ResultCode expected = RunReference(call, images, referenceLog);

    std::string problem = ClipDifference(call, surfaces.data(), images);
    if (problem.empty() && got != expected) {
      problem = "result " + std::to_string(got) + ", expected " + std::to_string(expected);
    }
    if (problem.empty() && maker.ControlsLocks() && libraryLog != referenceLog) {
      problem = "Lock/Unlock sequence differs";
    }
    if (maker.ControlsLocks()) {
      for (size_t k = 0; k < images.size(); ++k) maker.Arm(surfaces[k], RC_OK, nullptr);
    }
    for (size_t k = 0; k < images.size() && problem.empty(); ++k) {
      problem = FirstDifference(images[k], ReadWords(*surfaces[k], images[k].pixels.size()));
    }
    if (!problem.empty()) {
      ++failures;
      ADD_FAILURE() << "seed " << seed << " case " << index << ": " << call.Describe()
                    << "\n  surfaces a " << images[0].width << "x" << images[0].height << "/"
                    << images[0].pitch << " lock " << images[0].lockError << ", b "
                    << images[1].width << "x" << images[1].height << "/" << images[1].pitch
                    << " lock " << images[1].lockError << ", c " << images[2].width << "x"
                    << images[2].height << "/" << images[2].pitch << " lock "
                    << images[2].lockError << "\n  " << problem;
    }
  }
  return failures;
}
