// The rules written out plainly, channel by channel, without the library's packed tricks.
#include "reference/draw_reference.h"

#include <algorithm>
#include <functional>

namespace {

uint32_t R(uint32_t p) { return (p >> 16) & 0xFF; }
uint32_t G(uint32_t p) { return (p >> 8) & 0xFF; }
uint32_t B(uint32_t p) { return p & 0xFF; }
uint32_t Pack(uint32_t r, uint32_t g, uint32_t b) { return r * 65536 + g * 256 + b; }

// A 0x00BBGGRR argument as a pixel: its red byte goes to the pixel's red channel.
uint32_t ArgumentAsPixel(uint32_t v) { return Pack(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }

uint32_t MaskOrRule(uint32_t a, uint32_t b) {
  const bool redBlue = R(a) != 0 || B(a) != 0 || R(b) != 0 || B(b) != 0;
  const bool green = G(a) != 0 || G(b) != 0;
  return Pack(redBlue ? 255 : 0, green ? 255 : 0, redBlue ? 255 : 0);
}
uint32_t Multiply256(uint32_t a, uint32_t b) {
  return Pack(R(a) * R(b) / 256, G(a) * G(b) / 256, B(a) * B(b) / 256);
}
uint32_t Screen(uint32_t p, uint32_t q) {
  return Pack(R(p) + (255 - R(p)) * R(q) / 256, G(p) + (255 - G(p)) * G(q) / 256,
              B(p) + (255 - B(p)) * B(q) / 256);
}
uint32_t Mix(uint32_t s, uint32_t d, uint32_t wr, uint32_t wg, uint32_t wb) {
  return Pack((R(s) * wr + R(d) * (255 - wr)) / 256, (G(s) * wg + G(d) * (255 - wg)) / 256,
              (B(s) * wb + B(d) * (255 - wb)) / 256);
}
uint32_t MaskMultiplyChannel(uint32_t s, uint32_t m, uint32_t d) {
  const uint32_t t = s * m / 255;
  const uint32_t u = d * s / 255;
  const uint32_t v = u * (255 - m) / 255;
  return t + v;
}

// The level at which each position of a 4 x 4 block is copied, rows top to bottom.
constexpr int kDissolveLevelAt[4][4] = {
    {4, 8, 7, 11}, {12, 0, 15, 3}, {6, 10, 5, 9}, {14, 2, 13, 1}};

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }
// a mod b in 0..b-1 for b > 0.
int64_t Modulo(int64_t a, int64_t b) { return ((a % b) + b) % b; }

class Model {
 public:
  Model(std::vector<RefImage>& images, std::vector<std::string>& log)
      : images_(images), log_(log) {}

  ResultCode Run(const DrawCall& c);

 private:
  RefImage* Image(int index) { return index >= 0 ? &images_[static_cast<size_t>(index)] : nullptr; }
  bool Lock(RefImage& s) {
    log_.push_back("L" + s.name);
    return s.lockError == RC_OK;
  }
  void Unlock(RefImage& s) { log_.push_back("U" + s.name); }

  Rect WorkRect(const DrawCall& c, const RefImage& d) {
    return RefResolveRect(c.RectOrNull(), d.width, d.height);
  }

  // Lock, working Rect, new value of every pixel in it, Unlock.
  ResultCode EachPixel(const DrawCall& c, const std::function<uint32_t(uint32_t)>& rule) {
    RefImage& d = *Image(c.dest);
    if (!Lock(d)) return d.lockError;
    const Rect r = WorkRect(c, d);
    for (int64_t y = r.top; y < r.bottom; ++y)
      for (int64_t x = r.left; x < r.right; ++x) d.At(x, y) = rule(d.At(x, y));
    Unlock(d);
    return RC_OK;
  }

  ResultCode Frame(const DrawCall& c);
  ResultCode Mosaic(const DrawCall& c);
  ResultCode Blur(const DrawCall& c);
  using BlitRule = std::function<uint32_t(uint32_t s, uint32_t m, uint32_t d, int64_t row,
                                          int64_t column, int64_t destX)>;
  ResultCode Blit(const DrawCall& c, const BlitRule& rule);
  ResultCode Dissolve(const DrawCall& c, int32_t level);

  std::vector<RefImage>& images_;
  std::vector<std::string>& log_;
};

ResultCode Model::Frame(const DrawCall& c) {
  RefImage& d = *Image(c.dest);
  if (!Lock(d)) return d.lockError;
  const Rect r = WorkRect(c, d);
  if (r.bottom <= r.top || r.right <= r.left) {
    Unlock(d);
    return RC_EMPTY_RECT;
  }
  const uint32_t q = ArgumentAsPixel(c.colour);
  for (int64_t y = r.top; y < r.bottom; ++y)
    for (int64_t x = r.left; x < r.right; ++x)
      if (y == r.top || y == r.bottom - 1 || x == r.left || x == r.right - 1) d.At(x, y) = q;
  Unlock(d);
  return RC_OK;
}

ResultCode Model::Mosaic(const DrawCall& c) {
  const int64_t size = c.n[0];
  int64_t step = c.n[1];
  if (size < 1 || step < 1) return RC_BAD_LENGTH;
  if (size / step > 15) step = size / 8;
  RefImage& d = *Image(c.dest);
  if (!Lock(d)) return d.lockError;
  const Rect r = WorkRect(c, d);
  // The grid cell holding the working Rect's corner.
  const int64_t firstX = r.left - Modulo(r.left - int64_t{c.n[2]}, size);
  const int64_t firstY = r.top - Modulo(r.top - int64_t{c.n[3]}, size);
  for (int64_t by = firstY; by < r.bottom; by += size) {
    for (int64_t bx = firstX; bx < r.right; bx += size) {
      const int64_t x0 = std::max<int64_t>(bx, r.left), x1 = std::min<int64_t>(bx + size, r.right);
      const int64_t y0 = std::max<int64_t>(by, r.top), y1 = std::min<int64_t>(by + size, r.bottom);
      if (x1 <= x0 || y1 <= y0) continue;
      uint64_t red = 0, green = 0, blue = 0;
      for (int64_t y = y0; y < y1; y += step)
        for (int64_t x = x0; x < x1; x += step) {
          red += R(d.At(x, y));
          green += G(d.At(x, y));
          blue += B(d.At(x, y));
        }
      const uint64_t n = static_cast<uint64_t>(CeilDiv(y1 - y0, step) * CeilDiv(x1 - x0, step));
      const uint32_t colour = Pack(static_cast<uint32_t>(red / n), static_cast<uint32_t>(green / n),
                                   static_cast<uint32_t>(blue / n));
      for (int64_t y = y0; y < y1; ++y)
        for (int64_t x = x0; x < x1; ++x) d.At(x, y) = colour;
    }
  }
  Unlock(d);
  return RC_OK;
}

ResultCode Model::Blur(const DrawCall& c) {
  const int64_t radius = c.n[0];
  const int64_t step = c.n[1];
  if (radius < 1) return RC_BAD_LENGTH;
  if (c.source < 0) return RC_NULL_ARGUMENT;
  if (step < 1) return RC_BAD_LENGTH;
  RefImage& d = *Image(c.dest);
  RefImage& s = *Image(c.source);
  if (!Lock(d)) return d.lockError;
  if (!Lock(s)) {
    Unlock(d);
    return s.lockError;
  }
  Rect r = WorkRect(c, d);
  r.right = std::min(r.right, s.width);
  r.bottom = std::min(r.bottom, s.height);
  const int64_t reach = (radius / step) * step;
  // The samples: positions inside the working Rect whose offsets from (x, y) are multiples of
  // the step, no further than reach in either direction.
  for (int64_t y = r.top; y < r.bottom; ++y) {
    for (int64_t x = r.left; x < r.right; ++x) {
      uint64_t red = 0, green = 0, blue = 0, count = 0;
      for (int64_t sy = r.top; sy < r.bottom; ++sy) {
        if ((sy - y) % step != 0 || sy - y > reach || y - sy > reach) continue;
        for (int64_t sx = r.left; sx < r.right; ++sx) {
          if ((sx - x) % step != 0 || sx - x > reach || x - sx > reach) continue;
          red += R(s.At(sx, sy));
          green += G(s.At(sx, sy));
          blue += B(s.At(sx, sy));
          ++count;
        }
      }
      d.At(x, y) = Pack(static_cast<uint32_t>(red / count), static_cast<uint32_t>(green / count),
                        static_cast<uint32_t>(blue / count));
    }
  }
  Unlock(s);
  Unlock(d);
  return RC_OK;
}

ResultCode Model::Blit(const DrawCall& c, const BlitRule& rule) {
  const bool withMask = IsMaskBlit(c.op);
  RefImage& d = *Image(c.dest);
  RefImage* s = Image(c.source);
  RefImage* m = Image(c.mask);
  if (s == nullptr || (withMask && m == nullptr)) return RC_NULL_ARGUMENT;
  const RefClip clip = RefClipOf(c, images_);
  const int64_t w = clip.right - clip.left;
  const int64_t h = clip.bottom - clip.top;
  if (w < 0 && h < 0) return RC_CLIP_EMPTY;

  if (!Lock(d)) return d.lockError;
  if (!Lock(*s)) {
    Unlock(d);
    return s->lockError;
  }
  if (withMask && !Lock(*m)) {
    Unlock(d);
    Unlock(*s);
    return m->lockError;
  }
  for (int64_t i = 0; i < h; ++i) {
    for (int64_t j = 0; j < w; ++j) {
      const uint32_t sv = s->At(clip.left + j, clip.top + i);
      const uint32_t mv = withMask ? m->At(clip.x2 + j, clip.y2 + i) : 0;
      uint32_t& dv = d.At(clip.x + j, clip.y + i);
      dv = rule(sv, mv, dv, i, j, clip.x);
    }
  }
  if (withMask) Unlock(*m);
  Unlock(*s);
  Unlock(d);
  return RC_OK;
}

ResultCode Model::Dissolve(const DrawCall& c, int32_t level) {
  if (level < 0 || level > 15) return RC_BAD_LENGTH;
  return Blit(c, [level](uint32_t s, uint32_t, uint32_t d, int64_t i, int64_t j, int64_t) {
    return kDissolveLevelAt[i % 4][j % 4] == level ? s : d;
  });
}

ResultCode Model::Run(const DrawCall& c) {
  const uint32_t q = ArgumentAsPixel(c.colour);
  const uint32_t wr = c.colour & 0xFF, wg = (c.colour >> 8) & 0xFF, wb = (c.colour >> 16) & 0xFF;
  auto onMesh = [](int64_t i, int64_t j, int64_t x) { return (x + j + i) % 2 == 0; };
  switch (c.op) {
    case DrawOp::FillRect: return EachPixel(c, [q](uint32_t) { return q; });
    case DrawOp::FrameRect: return Frame(c);
    case DrawOp::MaskOrColor: return EachPixel(c, [q](uint32_t p) { return MaskOrRule(p, q); });
    case DrawOp::ClearRect: return EachPixel(c, [](uint32_t) { return 0u; });
    case DrawOp::ScreenColor: return EachPixel(c, [q](uint32_t p) { return Screen(p, q); });
    case DrawOp::MultiplyColor:
      return EachPixel(c, [q](uint32_t p) { return Multiply256(p, q); });
    case DrawOp::GrayAverage:
      return EachPixel(c, [](uint32_t p) {
        const uint32_t v = ((p >> 16) + G(p) + B(p)) / 3;
        return v | (v << 8) | (v << 16);
      });
    case DrawOp::GrayWeighted:
      return EachPixel(c, [](uint32_t p) {
        const uint32_t v = 3 * R(p) / 8 + G(p) / 2 + B(p) / 8;
        return Pack(v, v, v);
      });
    case DrawOp::Mosaic: return Mosaic(c);
    case DrawOp::BlurFrom: return Blur(c);
    case DrawOp::Blt:
      return Blit(c, [](uint32_t s, uint32_t, uint32_t, int64_t, int64_t, int64_t) { return s; });
    case DrawOp::BltKeyed:
      return Blit(c, [q](uint32_t s, uint32_t, uint32_t d, int64_t, int64_t, int64_t) {
        return s != q ? s : d;
      });
    case DrawOp::BltKeyedMesh:
      return Blit(c, [&](uint32_t s, uint32_t, uint32_t d, int64_t i, int64_t j, int64_t x) {
        return onMesh(i, j, x) && s != q ? s : d;
      });
    case DrawOp::BltKeyedBlend: {
      const uint32_t vr = c.weights & 0xFF, vg = (c.weights >> 8) & 0xFF;
      const uint32_t vb = (c.weights >> 16) & 0xFF;
      return Blit(c, [=](uint32_t s, uint32_t, uint32_t d, int64_t, int64_t, int64_t) {
        return s != q ? Mix(s, d, vr, vg, vb) : d;
      });
    }
    case DrawOp::BltMesh:
      return Blit(c, [&](uint32_t s, uint32_t, uint32_t d, int64_t i, int64_t j, int64_t x) {
        return onMesh(i, j, x) ? s : d;
      });
    case DrawOp::BltDissolveRange:
      if (c.n[0] > c.n[1]) return RC_BAD_LENGTH;
      if (c.source < 0) return RC_NULL_ARGUMENT;
      for (int64_t level = c.n[0]; level < c.n[1]; ++level) {
        if (level >= 0 && level <= 15) Dissolve(c, static_cast<int32_t>(level));
      }
      return RC_OK;
    case DrawOp::BltDissolve: return Dissolve(c, c.n[0]);
    case DrawOp::BltMaskOr:
      return Blit(c, [](uint32_t s, uint32_t, uint32_t d, int64_t, int64_t, int64_t) {
        return MaskOrRule(s, d);
      });
    case DrawOp::BltClear:
      return Blit(c, [](uint32_t, uint32_t, uint32_t, int64_t, int64_t, int64_t) { return 0u; });
    case DrawOp::BltMultiply:
      return Blit(c, [](uint32_t s, uint32_t, uint32_t d, int64_t, int64_t, int64_t) {
        return Multiply256(s, d);
      });
    case DrawOp::BltBlendLevel:
    case DrawOp::BltBlendColor:
    case DrawOp::BltBlendHalf: {
      uint32_t r = wr, g = wg, b = wb;
      if (c.op == DrawOp::BltBlendLevel) r = g = b = static_cast<uint32_t>(c.n[0]) % 256;
      if (c.op == DrawOp::BltBlendHalf) r = g = b = 127;
      return Blit(c, [=](uint32_t s, uint32_t, uint32_t d, int64_t, int64_t, int64_t) {
        return Mix(s, d, r, g, b);
      });
    }
    case DrawOp::BltMaskBlend:
      return Blit(c, [](uint32_t s, uint32_t m, uint32_t d, int64_t, int64_t, int64_t) {
        return Mix(s, d, R(m), G(m), B(m));
      });
    case DrawOp::BltMaskMultiply:
      return Blit(c, [](uint32_t s, uint32_t m, uint32_t d, int64_t, int64_t, int64_t) {
        return Pack(MaskMultiplyChannel(R(s), R(m), R(d)), MaskMultiplyChannel(G(s), G(m), G(d)),
                    MaskMultiplyChannel(B(s), B(m), B(d)));
      });
    case DrawOp::BltMaskKey:
      return Blit(c, [&](uint32_t s, uint32_t m, uint32_t d, int64_t, int64_t, int64_t) {
        return B(m) == c.colour ? s : d;
      });
    case DrawOp::Count: break;
  }
  return -1;
}

}  // namespace

Rect RefResolveRect(const Rect* rect, int32_t width, int32_t height) {
  if (rect == nullptr) return Rect{0, 0, width, height};
  Rect r = *rect;
  if (r.left < 0) r.left = 0;
  if (r.top < 0) r.top = 0;
  if (r.right > width) r.right = width;
  if (r.bottom > height) r.bottom = height;
  return r;
}

namespace {

void ClipToDestinationAndSource(RefClip& c, int64_t dw, int64_t dh, int64_t sw, int64_t sh) {
  if (c.y < 0) { c.top -= c.y; c.y2 -= c.y; c.y = 0; }
  if (c.y + (c.bottom - c.top) > dh) c.bottom = c.top + (dh - c.y);
  if (c.x < 0) { c.left -= c.x; c.x2 -= c.x; c.x = 0; }
  if (c.x + (c.right - c.left) > dw) c.right = c.left + (dw - c.x);
  if (c.top < 0) { c.y -= c.top; c.y2 -= c.top; c.top = 0; }
  if (c.bottom > sh) c.bottom = sh;
  if (c.left < 0) { c.x -= c.left; c.x2 -= c.left; c.left = 0; }
  if (c.right > sw) c.right = sw;
}

void ClipToMask(RefClip& c, int64_t mw, int64_t mh) {
  if (c.y2 < 0) { c.top -= c.y2; c.y -= c.y2; c.y2 = 0; }
  if (c.y2 + (c.bottom - c.top) > mh) c.bottom = c.top + (mh - c.y2);
  if (c.x2 < 0) { c.left -= c.x2; c.x -= c.x2; c.x2 = 0; }
  if (c.x2 + (c.right - c.left) > mw) c.right = c.left + (mw - c.x2);
}

}  // namespace

RefClip RefClipOf(const DrawCall& call, const std::vector<RefImage>& images) {
  const RefImage& d = images[static_cast<size_t>(call.dest)];
  const RefImage& s = images[static_cast<size_t>(call.source)];
  RefClip clip{call.x, call.y, 0, 0, s.width, s.height, call.maskX, call.maskY};
  if (call.hasRect) {
    clip.left = call.rect.left;
    clip.top = call.rect.top;
    clip.right = call.rect.right;
    clip.bottom = call.rect.bottom;
  }
  ClipToDestinationAndSource(clip, d.width, d.height, s.width, s.height);
  if (IsMaskBlit(call.op)) {
    const RefImage& m = images[static_cast<size_t>(call.mask)];
    ClipToMask(clip, m.width, m.height);
  }
  return clip;
}

ResultCode RunReference(const DrawCall& call, std::vector<RefImage>& images,
                        std::vector<std::string>& log) {
  return Model(images, log).Run(call);
}
