#pragma once
#include <cstddef>
#include <cstdint>

#include "draw/clip_area.h"
#include "kernels/pixel_rules.h"
#include "kernels/row_kernels.h"
#include "gfx/surface32.h"

// The clipping and locking frames shared by the drawing operations: the operations supply
// only a row kernel (or, for the area filters, a body) and their per-call values.

// The locked pixels of one surface: pixel (x, y) is word y * pitch + x from bits.
struct PixelRows {
  uint32_t* bits = nullptr;
  ptrdiff_t pitch = 0;

  uint32_t* At(int64_t x, int64_t y) const {
    return bits + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x);
  }
};

// The colour or key of an operation, converted to pixel order.
inline KernelArgs ColourArgs(uint32_t colour) {
  KernelArgs args;
  args.colour = pixel::ToPixelOrder(colour);
  return args;
}

// Adds the source's share of each channel from a 0x00BBGGRR weights argument.
inline KernelArgs WeightsArgs(uint32_t weights, KernelArgs args = {}) {
  args.weightRed = weights & 0xFF;
  args.weightGreen = (weights >> 8) & 0xFF;
  args.weightBlue = (weights >> 16) & 0xFF;
  return args;
}

// Locks count surfaces in order, the destination first. When a Lock gives null, unlocks the
// surfaces already locked, in the same order, and returns the failing surface's lastError.
ResultCode LockInOrder(Surface32* const* surfaces, int count, PixelRows* rows);
// Unlocks in reverse order and returns the destination's (the first surface's) result.
ResultCode UnlockInReverse(Surface32* const* surfaces, int count);

// One-surface frame: Lock, the working Rect, the body, Unlock. A body that returns a code
// other than RC_OK has the surface unlocked and that code returned.
template <typename Body>
ResultCode WithLockedRect(Surface32& surface, const Rect* rect, Body&& body) {
  Surface32* const surfaces[] = {&surface};
  PixelRows rows[1];
  if (const ResultCode locked = LockInOrder(surfaces, 1, rows); locked != RC_OK) return locked;
  Rect work;
  surface.ResolveRect(work, rect);
  const ResultCode drawn = body(rows[0], work);
  const ResultCode unlocked = UnlockInReverse(surfaces, 1);
  return drawn != RC_OK ? drawn : unlocked;
}

// Runs a row kernel over the rows of the working Rect, top to bottom.
ResultCode DrawRectRows(Surface32& surface, const Rect* rect, RectRowKernel RowKernels::*kernel,
                        const KernelArgs& args);

// Which area rows a blit visits: firstRow, firstRow + rowStep, ... A kernel that treats every
// row alike may be given rows that follow each other in memory in every surface as one longer
// row: the pixels and their order are the same, the per-row cost is paid once.
struct RowPattern {
  int32_t firstRow = 0;
  int32_t rowStep = 1;
  bool rowsAlike = true;
};

// The blit frame: null source test, working source Rect, clip, the both-negative test (RC_CLIP_EMPTY),
// Lock destination then source, the kernel over the area's rows, Unlock in reverse.
ResultCode DrawBlit(Surface32& dest, int32_t x, int32_t y, Surface32* source,
                    const Rect* sourceRect, BlitRowKernel RowKernels::*kernel,
                    const KernelArgs& args, RowPattern pattern = {});

// The same with a mask read alongside the source from its own point.
ResultCode DrawMaskBlit(Surface32& dest, int32_t x, int32_t y, Surface32* source,
                        const Rect* sourceRect, Surface32* mask, int32_t maskX, int32_t maskY,
                        MaskRowKernel RowKernels::*kernel, const KernelArgs& args);
