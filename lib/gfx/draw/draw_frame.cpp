#include "draw/draw_frame.h"

#include <algorithm>

namespace {

// How many area rows of width pixels one kernel call may take: all of them when every surface's
// rows follow each other without a gap (a pitch of exactly width, counted upwards), one
// otherwise. A run stays within int32_t.
int64_t RowsPerCall(const PixelRows* rows, int count, int64_t width, int64_t height) {
  for (int i = 0; i < count; ++i) {
    if (rows[i].pitch != width) return 1;
  }
  return std::min<int64_t>(height, INT32_MAX / width);
}

// Only a source that is also the destination can see the call's own writes: such calls keep to
// the scalar kernels, whose pixel order they rely on.
const RowKernels& RowKernelsFor(const Surface32& dest, const Surface32* source,
                                const Surface32* mask) {
  const bool readsOwnWrites = source == &dest || mask == &dest;
  return readsOwnWrites ? kScalarRowKernels : ActiveRowKernels();
}

// Resolve, clip, the both-negative test, Lock in order, drawRow for each visited area row,
// Unlock in reverse. Without a mask the frame has two surfaces, with one three.
template <typename DrawRow>
ResultCode RunBlitFrame(Surface32& dest, int32_t x, int32_t y, Surface32* source,
                        const Rect* sourceRect, Surface32* mask, int32_t maskX, int32_t maskY,
                        RowPattern pattern, KernelArgs args, DrawRow&& drawRow) {
  Rect work;
  dest.ResolveSourceRect(work, sourceRect, source);
  BlitArea area = AreaOf(x, y, work, maskX, maskY);
  const SurfaceSize maskSize = mask != nullptr ? SizeOf(*mask) : SurfaceSize{0, 0};
  ClipBlitArea(area, SizeOf(dest), SizeOf(*source), mask != nullptr ? &maskSize : nullptr);

  const int64_t width = area.Width();
  const int64_t height = area.Height();
  if (width < 0 && height < 0) return RC_CLIP_EMPTY;

  Surface32* const surfaces[] = {&dest, source, mask};
  const int count = mask != nullptr ? 3 : 2;
  PixelRows rows[3];
  if (const ResultCode locked = LockInOrder(surfaces, count, rows); locked != RC_OK) {
    return locked;
  }
  if (width > 0 && height > 0) {
    args.destX = static_cast<uint32_t>(area.x);
    const bool joinRows = pattern.rowsAlike && pattern.rowStep == 1;
    const int64_t rowsPerCall = joinRows ? RowsPerCall(rows, count, width, height) : 1;
    const int64_t rowStep = joinRows ? rowsPerCall : pattern.rowStep;
    for (int64_t i = pattern.firstRow; i < height; i += rowStep) {
      const int64_t runRows = std::min(rowsPerCall, height - i);
      drawRow(rows[0].At(area.x, area.y + i), rows[1].At(area.left, area.top + i),
              mask != nullptr ? rows[2].At(area.x2, area.y2 + i) : nullptr,
              static_cast<int32_t>(width * runRows), static_cast<int32_t>(i), args);
    }
  }
  return UnlockInReverse(surfaces, count);
}

}  // namespace

ResultCode LockInOrder(Surface32* const* surfaces, int count, PixelRows* rows) {
  for (int i = 0; i < count; ++i) {
    rows[i].bits = surfaces[i]->Lock();
    if (rows[i].bits == nullptr) {
      for (int locked = 0; locked < i; ++locked) surfaces[locked]->Unlock();
      return surfaces[i]->LastError();
    }
    rows[i].pitch = surfaces[i]->Pitch();
  }
  return RC_OK;
}

ResultCode UnlockInReverse(Surface32* const* surfaces, int count) {
  ResultCode result = RC_OK;
  for (int i = count - 1; i >= 0; --i) result = surfaces[i]->Unlock();
  return result;
}

ResultCode DrawRectRows(Surface32& surface, const Rect* rect, RectRowKernel RowKernels::*kernel,
                        const KernelArgs& args) {
  return WithLockedRect(surface, rect, [&](const PixelRows& rows, const Rect& work) {
    if (work.right <= work.left || work.bottom <= work.top) return RC_OK;
    const RectRowKernel drawRow = KernelOf(ActiveRowKernels(), kernel);
    const int64_t width = work.right - work.left;
    const int64_t height = work.bottom - work.top;
    const int64_t rowsPerCall = RowsPerCall(&rows, 1, width, height);
    for (int64_t i = 0; i < height; i += rowsPerCall) {
      drawRow(rows.At(work.left, work.top + i),
              static_cast<int32_t>(width * std::min(rowsPerCall, height - i)), args);
    }
    return RC_OK;
  });
}

ResultCode DrawBlit(Surface32& dest, int32_t x, int32_t y, Surface32* source,
                    const Rect* sourceRect, BlitRowKernel RowKernels::*kernel,
                    const KernelArgs& args, RowPattern pattern) {
  if (source == nullptr) return RC_NULL_ARGUMENT;
  const BlitRowKernel drawRow = KernelOf(RowKernelsFor(dest, source, nullptr), kernel);
  return RunBlitFrame(dest, x, y, source, sourceRect, nullptr, 0, 0, pattern, args,
                      [drawRow](uint32_t* destRow, const uint32_t* sourceRow, const uint32_t*,
                                int32_t width, int32_t areaRow, const KernelArgs& rowArgs) {
                        drawRow(destRow, sourceRow, width, areaRow, rowArgs);
                      });
}

ResultCode DrawMaskBlit(Surface32& dest, int32_t x, int32_t y, Surface32* source,
                        const Rect* sourceRect, Surface32* mask, int32_t maskX, int32_t maskY,
                        MaskRowKernel RowKernels::*kernel, const KernelArgs& args) {
  if (source == nullptr || mask == nullptr) return RC_NULL_ARGUMENT;
  const MaskRowKernel drawRow = KernelOf(RowKernelsFor(dest, source, mask), kernel);
  return RunBlitFrame(dest, x, y, source, sourceRect, mask, maskX, maskY, RowPattern{}, args,
                      [drawRow](uint32_t* destRow, const uint32_t* sourceRow,
                                const uint32_t* maskRow, int32_t width, int32_t,
                                const KernelArgs& rowArgs) {
                        drawRow(destRow, sourceRow, maskRow, width, rowArgs);
                      });
}
