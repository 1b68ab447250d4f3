#include "reference/draw_call.h"

#include <cstdio>

const char* DrawOpName(DrawOp op) {
  static const char* const kNames[] = {
      "FillRect",      "FrameRect",     "MaskOrColor",      "ClearRect",   "ScreenColor",
      "MultiplyColor", "GrayAverage",   "GrayWeighted",     "Mosaic",      "BlurFrom",
      "Blt",           "BltKeyed",      "BltKeyedMesh",     "BltKeyedBlend", "BltMesh",
      "BltDissolveRange", "BltDissolve", "BltMaskOr",       "BltClear",    "BltMultiply",
      "BltBlendLevel", "BltBlendColor", "BltBlendHalf",     "BltMaskBlend", "BltMaskMultiply",
      "BltMaskKey"};
  static_assert(sizeof(kNames) / sizeof(kNames[0]) == static_cast<size_t>(DrawOp::Count));
  return kNames[static_cast<int>(op)];
}

bool IsBlit(DrawOp op) { return op >= DrawOp::Blt; }
bool IsMaskBlit(DrawOp op) { return op >= DrawOp::BltMaskBlend; }

std::string DrawCall::Describe() const {
  char text[400];
  std::snprintf(text, sizeof text,
                "%s dest %d source %d mask %d rect %s(%d,%d,%d,%d) point (%d,%d) mask point "
                "(%d,%d) colour 0x%08X weights 0x%08X n (%d,%d,%d,%d)",
                DrawOpName(op), dest, source, mask, hasRect ? "" : "null ", rect.left,
                rect.top, rect.right, rect.bottom, x, y, maskX, maskY, colour, weights, n[0],
                n[1], n[2], n[3]);
  return text;
}

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
    case DrawOp::BltMaskMultiply:
      return d.BltMaskMultiply(c.x, c.y, s, r, m, c.maskX, c.maskY);
    case DrawOp::BltMaskKey: return d.BltMaskKey(c.x, c.y, s, r, m, c.maskX, c.maskY, c.colour);
    case DrawOp::Count: break;
  }
  return -1;
}
