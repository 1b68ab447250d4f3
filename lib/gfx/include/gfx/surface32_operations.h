#pragma once
// The 26 drawing operations of the 32-bit surfaces, in their table order. Listed once so that
// Surface32Base (which declares them abstract) and Surface32 (which implements them) cannot
// drift apart: SURFACE32_DRAWING_OPERATIONS(= 0) or SURFACE32_DRAWING_OPERATIONS(override).
//
// Colour, key and weights arguments are 0x00BBGGRR (red in the low byte); pixels are
// 0x00RRGGBB. Source Rects may be null (the whole source); destination Rects likewise.

#define SURFACE32_DRAWING_OPERATIONS(VIRT)                                                     \
  /* Fills and colour transforms */                                                           \
  virtual ResultCode FillRect(uint32_t colour, const Rect* rect) VIRT;                        \
  virtual ResultCode FrameRect(uint32_t colour, const Rect* rect) VIRT;                       \
  virtual ResultCode MaskOrColor(uint32_t colour, const Rect* rect) VIRT;                     \
  virtual ResultCode ClearRect(uint32_t colour, const Rect* rect) VIRT;                       \
  virtual ResultCode ScreenColor(uint32_t colour, const Rect* rect) VIRT;                     \
  virtual ResultCode MultiplyColor(uint32_t colour, const Rect* rect) VIRT;                   \
  virtual ResultCode GrayAverage(const Rect* rect) VIRT;                                      \
  virtual ResultCode GrayWeighted(const Rect* rect) VIRT;                                     \
  /* Mosaic and blur */                                                                       \
  virtual ResultCode Mosaic(int32_t size, const Rect* rect, int32_t step, int32_t originX,    \
                            int32_t originY) VIRT;                                            \
  virtual ResultCode BlurFrom(int32_t radius, Surface32* source, const Rect* rect,            \
                              int32_t step) VIRT;                                             \
  /* Two-surface blits */                                                                     \
  virtual ResultCode Blt(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect)     \
      VIRT;                                                                                   \
  virtual ResultCode BltKeyed(int32_t x, int32_t y, Surface32* source,                        \
                              const Rect* sourceRect, uint32_t key) VIRT;                     \
  virtual ResultCode BltKeyedMesh(int32_t x, int32_t y, Surface32* source,                    \
                                  const Rect* sourceRect, uint32_t key) VIRT;                 \
  virtual ResultCode BltKeyedBlend(int32_t x, int32_t y, Surface32* source,                   \
                                   const Rect* sourceRect, uint32_t key, uint32_t weights)    \
      VIRT;                                                                                   \
  virtual ResultCode BltMesh(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect) \
      VIRT;                                                                                   \
  /* Dissolve blits */                                                                        \
  virtual ResultCode BltDissolveRange(int32_t x, int32_t y, Surface32* source,                \
                                      const Rect* sourceRect, int32_t firstLevel,             \
                                      int32_t endLevel) VIRT;                                 \
  virtual ResultCode BltDissolve(int32_t x, int32_t y, Surface32* source,                     \
                                 const Rect* sourceRect, int32_t level) VIRT;                 \
  /* Combining blits */                                                                       \
  virtual ResultCode BltMaskOr(int32_t x, int32_t y, Surface32* source,                       \
                               const Rect* sourceRect) VIRT;                                  \
  virtual ResultCode BltClear(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect) \
      VIRT;                                                                                   \
  virtual ResultCode BltMultiply(int32_t x, int32_t y, Surface32* source,                     \
                                 const Rect* sourceRect) VIRT;                                \
  /* Blend blits */                                                                           \
  virtual ResultCode BltBlendLevel(int32_t x, int32_t y, Surface32* source,                   \
                                   const Rect* sourceRect, int32_t level) VIRT;               \
  virtual ResultCode BltBlendColor(int32_t x, int32_t y, Surface32* source,                   \
                                   const Rect* sourceRect, uint32_t weights) VIRT;            \
  virtual ResultCode BltBlendHalf(int32_t x, int32_t y, Surface32* source,                    \
                                  const Rect* sourceRect) VIRT;                               \
  /* Mask blits */                                                                            \
  virtual ResultCode BltMaskBlend(int32_t x, int32_t y, Surface32* source,                    \
                                  const Rect* sourceRect, Surface32* mask, int32_t maskX,     \
                                  int32_t maskY) VIRT;                                        \
  virtual ResultCode BltMaskMultiply(int32_t x, int32_t y, Surface32* source,                 \
                                     const Rect* sourceRect, Surface32* mask, int32_t maskX,  \
                                     int32_t maskY) VIRT;                                     \
  virtual ResultCode BltMaskKey(int32_t x, int32_t y, Surface32* source,                      \
                                const Rect* sourceRect, Surface32* mask, int32_t maskX,       \
                                int32_t maskY, uint32_t key) VIRT;
