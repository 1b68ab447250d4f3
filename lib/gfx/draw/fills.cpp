#include "draw/draw_frame.h"

ResultCode Surface32::FillRect(uint32_t colour, const Rect* rect) {
  return DrawRectRows(*this, rect, &RowKernels::fill, ColourArgs(colour));
}

ResultCode Surface32::FrameRect(uint32_t colour, const Rect* rect) {
  const KernelArgs args = ColourArgs(colour);
  return WithLockedRect(*this, rect, [&args](const PixelRows& rows, const Rect& work) {
    // Without columns the side edges would fall outside the Rect, even outside the surface.
    if (work.bottom <= work.top || work.right <= work.left) return RC_EMPTY_RECT;
    // The top and bottom edges are rows, filled as FillRect fills them.
    const RectRowKernel fillRow = KernelOf(ActiveRowKernels(), &RowKernels::fill);
    const int32_t width = work.right - work.left;
    fillRow(rows.At(work.left, work.top), width, args);
    if (work.bottom - 1 > work.top) fillRow(rows.At(work.left, work.bottom - 1), width, args);
    // Both sides in one pass down: a pass a side ran slower.
    for (int32_t y = work.top + 1; y < work.bottom - 1; ++y) {
      *rows.At(work.left, y) = args.colour;
      *rows.At(work.right - 1, y) = args.colour;
    }
    return RC_OK;
  });
}

ResultCode Surface32::MaskOrColor(uint32_t colour, const Rect* rect) {
  return DrawRectRows(*this, rect, &RowKernels::maskOrColor, ColourArgs(colour));
}

ResultCode Surface32::ClearRect(uint32_t /*colour: has no effect*/, const Rect* rect) {
  return DrawRectRows(*this, rect, &RowKernels::fill, ColourArgs(0));
}

ResultCode Surface32::ScreenColor(uint32_t colour, const Rect* rect) {
  return DrawRectRows(*this, rect, &RowKernels::screenColor, ColourArgs(colour));
}

ResultCode Surface32::MultiplyColor(uint32_t colour, const Rect* rect) {
  return DrawRectRows(*this, rect, &RowKernels::multiplyColor, ColourArgs(colour));
}

ResultCode Surface32::GrayAverage(const Rect* rect) {
  return DrawRectRows(*this, rect, &RowKernels::grayAverage, KernelArgs{});
}

ResultCode Surface32::GrayWeighted(const Rect* rect) {
  return DrawRectRows(*this, rect, &RowKernels::grayWeighted, KernelArgs{});
}
