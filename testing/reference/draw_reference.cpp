// The rules written out plainly, a pixel and a channel at a time, without the library's packed
// tricks or its kernels.
#include "reference/draw_reference.h"

#include <algorithm>

namespace {

uint32_t R(uint32_t p) { return (p >> 16) & 0xFF; }
uint32_t G(uint32_t p) { return (p >> 8) & 0xFF; }
uint32_t B(uint32_t p) { return p & 0xFF; }
uint32_t Pack(uint32_t r, uint32_t g, uint32_t b) { return r * 65536 + g * 256 + b; }
// A 0x00BBGGRR argument as a pixel: its low byte is red.
uint32_t AsPixel(uint32_t v) { return Pack(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }

uint32_t MaskOr(uint32_t a, uint32_t b) {
  const uint32_t redBlue = R(a) || B(a) || R(b) || B(b) ? 255 : 0;
  return Pack(redBlue, G(a) || G(b) ? 255 : 0, redBlue);
}
uint32_t Multiply(uint32_t a, uint32_t b) {
  return Pack(R(a) * R(b) / 256, G(a) * G(b) / 256, B(a) * B(b) / 256);
}
uint32_t Screen(uint32_t p, uint32_t q) {
  return Pack(R(p) + (255 - R(p)) * R(q) / 256, G(p) + (255 - G(p)) * G(q) / 256,
              B(p) + (255 - B(p)) * B(q) / 256);
}
// w is the source's share of each channel, as a 0x00BBGGRR argument.
uint32_t Mix(uint32_t s, uint32_t d, uint32_t w) {
  const uint32_t q = AsPixel(w);
  const auto mix = [](uint32_t a, uint32_t b, uint32_t k) { return (a * k + b * (255 - k)) / 256; };
  return Pack(mix(R(s), R(d), R(q)), mix(G(s), G(d), G(q)), mix(B(s), B(d), B(q)));
}
uint32_t MaskMultiply(uint32_t s, uint32_t m, uint32_t d) {
  return s * m / 255 + d * s / 255 * (255 - m) / 255;
}

// The level at which each position of a 4 x 4 block of the area is copied, rows top to bottom.
constexpr int kDissolveLevelAt[4][4] = {
    {4, 8, 7, 11}, {12, 0, 15, 3}, {6, 10, 5, 9}, {14, 2, 13, 1}};

// The new value of destination pixel d, from source pixel s and mask pixel m at row i and
// column j of an area whose first destination column is x (the rect operations see 0, 0, 0).
uint32_t NewPixel(const DrawCall& c, uint32_t s, uint32_t m, uint32_t d, int64_t i, int64_t j,
                  int64_t x) {
  const uint32_t q = AsPixel(c.colour);
  const bool onMesh = (x + j + i) % 2 == 0;
  switch (c.op) {
    case DrawOp::FillRect: case DrawOp::FrameRect: return q;
    case DrawOp::MaskOrColor: return MaskOr(d, q);
    case DrawOp::ScreenColor: return Screen(d, q);
    case DrawOp::MultiplyColor: return Multiply(d, q);
    case DrawOp::GrayAverage: {
      const uint32_t v = ((d >> 16) + G(d) + B(d)) / 3;  // the top byte counts with red
      return v | (v << 8) | (v << 16);
    }
    case DrawOp::GrayWeighted: {
      const uint32_t v = 3 * R(d) / 8 + G(d) / 2 + B(d) / 8;
      return Pack(v, v, v);
    }
    case DrawOp::Blt: return s;
    case DrawOp::BltKeyed: return s != q ? s : d;
    case DrawOp::BltKeyedMesh: return onMesh && s != q ? s : d;
    case DrawOp::BltKeyedBlend: return s != q ? Mix(s, d, c.weights) : d;
    case DrawOp::BltMesh: return onMesh ? s : d;
    case DrawOp::BltDissolve: return kDissolveLevelAt[i % 4][j % 4] == c.n[0] ? s : d;
    case DrawOp::BltMaskOr: return MaskOr(s, d);
    case DrawOp::BltMultiply: return Multiply(s, d);
    case DrawOp::BltBlendLevel: return Mix(s, d, (c.n[0] & 0xFF) * 0x010101u);
    case DrawOp::BltBlendColor: return Mix(s, d, c.colour);
    case DrawOp::BltBlendHalf: return Mix(s, d, 0x7F7F7F);
    case DrawOp::BltMaskBlend: return Mix(s, d, Pack(B(m), G(m), R(m)));
    case DrawOp::BltMaskMultiply:
      return Pack(MaskMultiply(R(s), R(m), R(d)), MaskMultiply(G(s), G(m), G(d)),
                  MaskMultiply(B(s), B(m), B(d)));
    case DrawOp::BltMaskKey: return B(m) == c.colour ? s : d;
    default: return 0;  // the clears
  }
}

// Channel sums of some pixels, and their mean, each channel truncated.
struct Mean {
  uint64_t red = 0, green = 0, blue = 0, count = 0;
  void Add(uint32_t p) { red += R(p), green += G(p), blue += B(p), ++count; }
  uint32_t Get() const {
    return Pack(uint32_t(red / count), uint32_t(green / count), uint32_t(blue / count));
  }
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
  r.right = std::min(r.right, s.width);
  r.bottom = std::min(r.bottom, s.height);
  const int64_t step = c.n[1], reach = c.n[0] / step * step;
  const auto near = [&](int64_t a, int64_t b) {
    return (a - b) % step == 0 && a - b <= reach && b - a <= reach;
  };
  for (int64_t y = r.top; y < r.bottom; ++y) {
    for (int64_t x = r.left; x < r.right; ++x) {
      Mean mean;
      for (int64_t sy = r.top; sy < r.bottom; ++sy)
        for (int64_t sx = r.left; sx < r.right; ++sx)
          if (near(sy, y) && near(sx, x)) mean.Add(s.At(sx, sy));
      d.At(x, y) = mean.Get();
    }
  }
}

// The caller's Rect clamped to the surface, or the whole surface for null.
Rect ResolveRect(const Rect* rect, int32_t width, int32_t height) {
  if (rect == nullptr) return Rect{0, 0, width, height};
  return Rect{std::max(rect->left, 0), std::max(rect->top, 0), std::min(rect->right, width),
              std::min(rect->bottom, height)};
}

// A blit's destination point, source Rect and mask point clipped step by step, exactly.
struct Clip {
  int64_t x, y, left, top, right, bottom, x2, y2;
};
Clip ClipOf(const DrawCall& call, const std::vector<RefImage>& images) {
  const RefImage& d = images[static_cast<size_t>(call.dest)];
  const RefImage& s = images[static_cast<size_t>(call.source)];
  const Rect r = call.hasRect ? call.rect : Rect{0, 0, s.width, s.height};
  Clip c{call.x, call.y, r.left, r.top, r.right, r.bottom, call.maskX, call.maskY};
  // Destination, then source: a point below 0 moves the others along; a far end is cut.
  if (c.y < 0) c.top -= c.y, c.y2 -= c.y, c.y = 0;
  if (c.y + (c.bottom - c.top) > d.height) c.bottom = c.top + (d.height - c.y);
  if (c.x < 0) c.left -= c.x, c.x2 -= c.x, c.x = 0;
  if (c.x + (c.right - c.left) > d.width) c.right = c.left + (d.width - c.x);
  if (c.top < 0) c.y -= c.top, c.y2 -= c.top, c.top = 0;
  c.bottom = std::min<int64_t>(c.bottom, s.height);
  if (c.left < 0) c.x -= c.left, c.x2 -= c.left, c.left = 0;
  c.right = std::min<int64_t>(c.right, s.width);
  if (!IsMaskBlit(call.op)) return c;  // then against the mask
  const RefImage& m = images[static_cast<size_t>(call.mask)];
  if (c.y2 < 0) c.top -= c.y2, c.y -= c.y2, c.y2 = 0;
  if (c.y2 + (c.bottom - c.top) > m.height) c.bottom = c.top + (m.height - c.y2);
  if (c.x2 < 0) c.left -= c.x2, c.x -= c.x2, c.x2 = 0;
  if (c.x2 + (c.right - c.left) > m.width) c.right = c.left + (m.width - c.x2);
  return c;
}

}  // namespace

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
  if (c.op == DrawOp::BltDissolveRange) {  // level by level; the steps' failures do not count
    DrawCall level = c;
    level.op = DrawOp::BltDissolve;
    for (level.n[0] = std::max(c.n[0], 0); level.n[0] < std::min(c.n[1], 16); ++level.n[0]) {
      RunReference(level, images);
    }
    return RC_OK;
  }
  Clip clip{};
  if (IsBlit(c.op)) {
    clip = ClipOf(c, images);
    if (clip.right < clip.left && clip.bottom < clip.top) return RC_CLIP_EMPTY;
  }
  // Locks in order, the destination first: the first that fails gives the result.
  for (RefImage* locked : {d, s, m}) {
    if (locked && locked->lockError != RC_OK) return locked->lockError;
  }
  const Rect r = ResolveRect(c.RectOrNull(), d->width, d->height);
  if (c.op == DrawOp::Mosaic) {
    Mosaic(c, *d, r);
  } else if (c.op == DrawOp::BlurFrom) {
    Blur(c, *d, *s, r);
  } else if (IsBlit(c.op)) {
    for (int64_t i = 0; i < clip.bottom - clip.top; ++i)
      for (int64_t j = 0; j < clip.right - clip.left; ++j) {
        const uint32_t mv = IsMaskBlit(c.op) ? m->At(clip.x2 + j, clip.y2 + i) : 0;
        uint32_t& dv = d->At(clip.x + j, clip.y + i);
        dv = NewPixel(c, s->At(clip.left + j, clip.top + i), mv, dv, i, j, clip.x);
      }
  } else if (c.op == DrawOp::FrameRect && (r.bottom <= r.top || r.right <= r.left)) {
    return RC_EMPTY_RECT;
  } else {
    for (int64_t y = r.top; y < r.bottom; ++y)
      for (int64_t x = r.left; x < r.right; ++x) {
        const bool edge = y == r.top || y == r.bottom - 1 || x == r.left || x == r.right - 1;
        if (c.op != DrawOp::FrameRect || edge) d->At(x, y) = NewPixel(c, 0, 0, d->At(x, y), 0, 0, 0);
      }
  }
  return RC_OK;
}
