// The rules written out plainly, a pixel and a channel at a time, without the library's packed
// tricks or its kernels.
#include "reference/draw_call.h"

#include <algorithm>
#include <cstdlib>

namespace {

uint32_t R(uint32_t p) { return (p >> 16) & 0xFF; }
uint32_t G(uint32_t p) { return (p >> 8) & 0xFF; }
uint32_t B(uint32_t p) { return p & 0xFF; }
uint32_t Spread(uint32_t v) { return v | (v << 8) | (v << 16); }
// A 0x00BBGGRR argument as a pixel: its low byte is red.
uint32_t AsPixel(uint32_t v) { return (v & 0xFF) << 16 | (v & 0xFF00) | ((v >> 16) & 0xFF); }

// Each channel of the result from that channel of a, b and c.
template <typename Rule>
uint32_t PerChannel(uint32_t a, uint32_t b, uint32_t c, Rule rule) {
  uint32_t out = 0;
  for (int k = 0; k <= 16; k += 8) out |= rule(a >> k & 0xFF, b >> k & 0xFF, c >> k & 0xFF) << k;
  return out;
}

uint32_t MaskOr(uint32_t a, uint32_t b) {
  const bool redBlue = R(a) || B(a) || R(b) || B(b);
  return (redBlue ? 0xFF00FF : 0) | (G(a) || G(b) ? 0xFF00 : 0);
}

// The level at which each position of a 4 x 4 block of the area is copied, rows top to bottom.
constexpr int kDissolveLevelAt[4][4] = {{4, 8, 7, 11}, {12, 0, 15, 3}, {6, 10, 5, 9}, {14, 2, 13, 1}};

}  // namespace

uint32_t ReferencePixel(const DrawCall& c, uint32_t s, uint32_t m, uint32_t d, int64_t i,
                        int64_t j, int64_t x) {
  const uint32_t q = AsPixel(c.colour);
  const bool onMesh = (x + j + i) % 2 == 0;
  const auto multiply = [](uint32_t a, uint32_t b, uint32_t) { return a * b / 256; };
  const auto screen = [](uint32_t a, uint32_t b, uint32_t) { return a + (255 - a) * b / 256; };
  // k of 255 from the source, the rest from the destination.
  const auto mix = [](uint32_t a, uint32_t b, uint32_t k) { return (a * k + b * (255 - k)) / 256; };
  const auto weights = [&](uint32_t w) { return PerChannel(s, d, AsPixel(w), mix); };
  switch (c.op) {
    case DrawOp::FillRect: case DrawOp::FrameRect: return q;
    case DrawOp::MaskOrColor: return MaskOr(d, q);
    case DrawOp::ScreenColor: return PerChannel(d, q, 0, screen);
    case DrawOp::MultiplyColor: return PerChannel(d, q, 0, multiply);
    case DrawOp::GrayAverage: return Spread(((d >> 16) + G(d) + B(d)) / 3);  // the top byte too
    case DrawOp::GrayWeighted: return Spread(3 * R(d) / 8 + G(d) / 2 + B(d) / 8);
    case DrawOp::Blt: return s;
    case DrawOp::BltKeyed: return s != q ? s : d;
    case DrawOp::BltKeyedMesh: return onMesh && s != q ? s : d;
    case DrawOp::BltKeyedBlend: return s != q ? weights(c.weights) : d;
    case DrawOp::BltMesh: return onMesh ? s : d;
    case DrawOp::BltDissolve: return kDissolveLevelAt[i % 4][j % 4] == c.n[0] ? s : d;
    case DrawOp::BltMaskOr: return MaskOr(s, d);
    case DrawOp::BltMultiply: return PerChannel(s, d, 0, multiply);
    case DrawOp::BltBlendLevel: return weights((c.n[0] & 0xFF) * 0x010101u);
    case DrawOp::BltBlendColor: return weights(c.colour);
    case DrawOp::BltBlendHalf: return weights(0x7F7F7F);
    case DrawOp::BltMaskBlend: return PerChannel(s, d, m, mix);
    case DrawOp::BltMaskMultiply:
      return PerChannel(s, m, d, [](uint32_t a, uint32_t k, uint32_t b) {
        return a * k / 255 + b * a / 255 * (255 - k) / 255;
      });
    case DrawOp::BltMaskKey: return B(m) == c.colour ? s : d;
    default: return 0;  // the clears
  }
}

namespace {

// Channel sums of some pixels, and their mean, each channel truncated.
struct Mean {
  uint64_t red = 0, green = 0, blue = 0, count = 0;
  void Add(uint32_t p) { red += R(p), green += G(p), blue += B(p), ++count; }
  uint32_t Get() const { return uint32_t(red / count << 16 | green / count << 8 | blue / count); }
};

int64_t Modulo(int64_t a, int64_t b) { return ((a % b) + b) % b; }

// Every block of the grid of size from the origin, cut to r, takes the mean of its pixels at
// every step-th row and column from its top-left corner; a step too small for the size becomes
// size / 8.
void Mosaic(const DrawCall& c, RefImage& d, const Rect& r) {
  const int64_t size = c.n[0], step = size / c.n[1] > 15 ? size / 8 : c.n[1];
  for (int64_t by = r.top - Modulo(r.top - int64_t{c.n[3]}, size); by < r.bottom; by += size) {
    for (int64_t bx = r.left - Modulo(r.left - int64_t{c.n[2]}, size); bx < r.right; bx += size) {
      const int64_t x0 = std::max<int64_t>(bx, r.left), x1 = std::min<int64_t>(bx + size, r.right);
      const int64_t y0 = std::max<int64_t>(by, r.top), y1 = std::min<int64_t>(by + size, r.bottom);
      Mean mean;
      for (int64_t y = y0; y < y1; y += step)
        for (int64_t x = x0; x < x1; x += step) mean.Add(d.At(x, y));
      for (int64_t y = y0; y < y1; ++y)
        for (int64_t x = x0; x < x1; ++x) d.At(x, y) = mean.Get();
    }
  }
}

// Each pixel of r (cut to the source) takes the mean of the source pixels of r at offsets that
// are multiples of the step and no further than the radius, rounded down to a multiple of the
// step, either way.
void Blur(const DrawCall& c, RefImage& d, RefImage& s, Rect r) {
  r.right = std::min(r.right, s.width), r.bottom = std::min(r.bottom, s.height);
  const int64_t step = c.n[1], reach = c.n[0] / step * step;
  const auto inReach = [&](int64_t a, int64_t b) { return (a - b) % step == 0 && std::abs(a - b) <= reach; };
  for (int64_t y = r.top; y < r.bottom; ++y) {
    for (int64_t x = r.left; x < r.right; ++x) {
      Mean mean;
      for (int64_t sy = r.top; sy < r.bottom; ++sy)
        for (int64_t sx = r.left; sx < r.right; ++sx)
          if (inReach(sy, y) && inReach(sx, x)) mean.Add(s.At(sx, sy));
      d.At(x, y) = mean.Get();
    }
  }
}

// One axis of a blit: the destination point p, the source span lo..hi and the mask point p2
// clipped in exact arithmetic to the destination, the source, then any mask. A point below 0
// moves the others along; a span that would end past an edge is cut.
void ClipAxis(int64_t& p, int64_t& lo, int64_t& hi, int64_t& p2, int64_t dest, int64_t source,
              const int32_t* mask) {
  if (p < 0) lo -= p, p2 -= p, p = 0;
  if (p + (hi - lo) > dest) hi = lo + (dest - p);
  if (lo < 0) p -= lo, p2 -= lo, lo = 0;
  hi = std::min(hi, source);
  if (mask && p2 < 0) lo -= p2, p -= p2, p2 = 0;
  if (mask && p2 + (hi - lo) > *mask) hi = lo + (*mask - p2);
}

}  // namespace

std::array<int64_t, 8> ClipArea(const DrawCall& c, std::vector<RefImage>& images) {
  const RefImage& d = images[size_t(c.dest)];
  const RefImage& s = images[size_t(c.source)];
  const RefImage* m = IsMaskBlit(c.op) ? &images[size_t(c.mask)] : nullptr;
  const Rect r = c.hasRect ? c.rect : Rect{0, 0, s.width, s.height};
  std::array<int64_t, 8> a{c.x, c.y, r.left, r.top, r.right, r.bottom, c.maskX, c.maskY};
  ClipAxis(a[1], a[3], a[5], a[7], d.height, s.height, m ? &m->height : nullptr);
  ClipAxis(a[0], a[2], a[4], a[6], d.width, s.width, m ? &m->width : nullptr);
  return a;
}

ResultCode RunReference(const DrawCall& c, std::vector<RefImage>& images) {
  const auto image = [&](int k) { return k >= 0 ? &images[static_cast<size_t>(k)] : nullptr; };
  const bool twoSurfaces = IsBlit(c.op) || c.op == DrawOp::BlurFrom;
  RefImage* d = image(c.dest);
  RefImage* s = twoSurfaces ? image(c.source) : nullptr;
  RefImage* m = IsMaskBlit(c.op) ? image(c.mask) : nullptr;
  // The arguments, in the order the operations check them.
  if (c.op == DrawOp::Mosaic && (c.n[0] < 1 || c.n[1] < 1)) return RC_BAD_LENGTH;
  if (c.op == DrawOp::BlurFrom && c.n[0] < 1) return RC_BAD_LENGTH;
  if (c.op == DrawOp::BltDissolveRange && c.n[0] > c.n[1]) return RC_BAD_LENGTH;
  if (c.op == DrawOp::BltDissolve && (c.n[0] < 0 || c.n[0] > 15)) return RC_BAD_LENGTH;
  if (twoSurfaces && (!s || (IsMaskBlit(c.op) && !m))) return RC_NULL_ARGUMENT;
  if (c.op == DrawOp::BlurFrom && c.n[1] < 1) return RC_BAD_LENGTH;
  if (c.op == DrawOp::BltDissolveRange) {  // level by level; the levels' failures do not count
    DrawCall level = c;
    level.op = DrawOp::BltDissolve;
    for (level.n[0] = std::max(c.n[0], 0); level.n[0] < std::min(c.n[1], 16); ++level.n[0])
      RunReference(level, images);
    return RC_OK;
  }
  const std::array<int64_t, 8> a = IsBlit(c.op) ? ClipArea(c, images) : std::array<int64_t, 8>{};
  if (IsBlit(c.op) && a[4] < a[2] && a[5] < a[3]) return RC_CLIP_EMPTY;
  // Locked in order, the destination first: the first that fails gives the result.
  for (RefImage* locked : {d, s, m}) {
    if (locked && locked->lockError != RC_OK) return locked->lockError;
  }
  const Rect r = !c.hasRect ? Rect{0, 0, d->width, d->height}
                            : Rect{std::max(c.rect.left, 0), std::max(c.rect.top, 0),
                                   std::min(c.rect.right, d->width), std::min(c.rect.bottom, d->height)};
  if (c.op == DrawOp::Mosaic) {
    Mosaic(c, *d, r);
  } else if (c.op == DrawOp::BlurFrom) {
    Blur(c, *d, *s, r);
  } else if (IsBlit(c.op)) {
    for (int64_t i = 0; i < a[5] - a[3]; ++i)
      for (int64_t j = 0; j < a[4] - a[2]; ++j) {
        uint32_t& dv = d->At(a[0] + j, a[1] + i);
        dv = ReferencePixel(c, s->At(a[2] + j, a[3] + i), m ? m->At(a[6] + j, a[7] + i) : 0, dv, i, j, a[0]);
      }
  } else if (c.op == DrawOp::FrameRect && (r.bottom <= r.top || r.right <= r.left)) {
    return RC_EMPTY_RECT;
  } else {
    for (int64_t row = r.top; row < r.bottom; ++row)
      for (int64_t col = r.left; col < r.right; ++col) {
        const bool edge = row == r.top || row == r.bottom - 1 || col == r.left || col == r.right - 1;
        uint32_t& dv = d->At(col, row);
        if (c.op != DrawOp::FrameRect || edge) dv = ReferencePixel(c, 0, 0, dv, 0, 0, 0);
      }
  }
  return RC_OK;
}
