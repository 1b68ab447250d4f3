#include "draw/draw_frame.h"

ResultCode Surface32::FillRect(uint32_t colour, const Rect* rect) {
  return DrawRectRows(*this, rect, &RowKernels::fill, ColourArgs(colour));
}

ResultCode Surface32::FrameRect(uint32_t colour, const Rect* rect) {
  const uint32_t q = pixel::ToPixelOrder(colour);
  return WithLockedRect(*this, rect, [q](const PixelRows& rows, const Rect& work) {
    // Without columns the side edges would fall outside the Rect, even outside the surface.
    if (work.bottom <= work.top || work.right <= work.left) return RC_EMPTY_RECT;
    for (int32_t y = work.top; y < work.bottom; ++y) {
      *rows.At(work.left, y) = q;
      *rows.At(work.right - 1, y) = q;
    }
    for (int32_t x = work.left; x < work.right; ++x) {
      *rows.At(x, work.top) = q;
      *rows.At(x, work.bottom - 1) = q;
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
