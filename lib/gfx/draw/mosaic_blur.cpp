#include <algorithm>

#include "draw/draw_frame.h"
#include "draw/grid_blur.h"
#include "draw/window_average.h"

namespace {

// A block side holds at most 16 samples after the step adjustment, which keeps the in-place
// channel sums of 256 samples within 32 bits.
constexpr int32_t kMaxBlockToStepRatio = 15;

struct Block {
  int64_t left;
  int64_t top;
  int64_t right;
  int64_t bottom;
};

int64_t FloorDivide(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The start of the grid cell (of origin + k * size) that contains position.
int64_t GridStart(int64_t position, int64_t origin, int64_t size) {
  return origin + FloorDivide(position - origin, size) * size;
}

uint32_t AverageColour(uint32_t red, uint32_t green, uint32_t blue, uint32_t samples) {
  return ((red / samples) & 0xFF0000) | ((green / samples) & 0xFF00) | (blue / samples);
}

// Mean of the pixels at every step-th row and column from the block's top-left corner, each
// channel truncated.
uint32_t SampledAverage(const PixelRows& rows, const Block& block, int64_t step) {
  const auto width = static_cast<int32_t>(block.right - block.left);
  const auto height = static_cast<int32_t>(block.bottom - block.top);
  if (step == 1) {
    // At most 15 x 15 pixels: blue's sum stays below red's place.
    const BlockSums sums = KernelOf(ActiveRowKernels(), &RowKernels::sumBlock)(
        rows.At(block.left, block.top), rows.pitch, width, height);
    return AverageColour(sums.redBlue & 0xFFFF0000, sums.green, sums.redBlue & 0xFFFF,
                         static_cast<uint32_t>(width * height));
  }
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
  uint32_t samples = 0;
  for (int64_t y = block.top; y < block.bottom; y += step) {
    for (int64_t x = block.left; x < block.right; x += step) {
      const uint32_t p = *rows.At(x, y);
      red += p & 0xFF0000;
      green += p & 0xFF00;
      blue += p & 0xFF;
      ++samples;
    }
  }
  return AverageColour(red, green, blue, samples);
}

void FillBlock(const PixelRows& rows, const Block& block, uint32_t colour) {
  KernelOf(ActiveRowKernels(), &RowKernels::fillBlock)(
      rows.At(block.left, block.top), rows.pitch, static_cast<int32_t>(block.right - block.left),
      static_cast<int32_t>(block.bottom - block.top), colour);
}

// First sample row (column) of a window: reach before pos, or the nearest position at or after
// low that differs from pos by a multiple of step.
int64_t WindowStart(int64_t pos, int64_t low, int64_t reach, int64_t step) {
  return pos - reach >= low ? pos - reach : pos - ((pos - low) / step) * step;
}

}  // namespace

uint32_t WindowAverage(const PixelRows& source, const Rect& work, int64_t x, int64_t y,
                       int64_t reach, int64_t step) {
  const int64_t rowEnd = std::min<int64_t>(work.bottom, y + reach + 1);
  const int64_t columnStart = WindowStart(x, work.left, reach, step);
  const int64_t columnEnd = std::min<int64_t>(work.right, x + reach + 1);
  uint64_t red = 0;
  uint64_t green = 0;
  uint64_t blue = 0;
  uint64_t samples = 0;
  for (int64_t row = WindowStart(y, work.top, reach, step); row < rowEnd; row += step) {
    for (int64_t column = columnStart; column < columnEnd; column += step) {
      const uint32_t p = *source.At(column, row);
      red += (p >> 16) & 0xFF;
      green += p & 0xFF00;
      blue += p & 0xFF;
      ++samples;
    }
  }
  return static_cast<uint32_t>(((red / samples) << 16) | ((green / samples) & 0xFF00) |
                               (blue / samples));
}

void BlurDirect(const PixelRows& dest, const PixelRows& source, const Rect& work, int64_t reach,
                int64_t step) {
  for (int32_t y = work.top; y < work.bottom; ++y) {
    for (int32_t x = work.left; x < work.right; ++x) {
      *dest.At(x, y) = WindowAverage(source, work, x, y, reach, step);
    }
  }
}

ResultCode Surface32::Mosaic(int32_t size, const Rect* rect, int32_t step, int32_t originX,
                             int32_t originY) {
  if (size < 1) return RC_BAD_LENGTH;
  if (step < 1) return RC_BAD_LENGTH;
  if (size / step > kMaxBlockToStepRatio) step = size / 8;
  return WithLockedRect(*this, rect, [&](const PixelRows& rows, const Rect& work) {
    if (work.right <= work.left || work.bottom <= work.top) return RC_OK;
    // Every block met here overlaps the working Rect, so none is empty after clipping.
    const int64_t firstColumn = GridStart(work.left, originX, size);
    const MosaicBandKernel band = ActiveRowKernels().mosaicBand;
    if (step == 1 && band != nullptr) {
      const auto firstWidth =
          static_cast<int32_t>(std::min<int64_t>(firstColumn + size, work.right) - work.left);
      for (int64_t by = GridStart(work.top, originY, size); by < work.bottom; by += size) {
        const int64_t top = std::max<int64_t>(by, work.top);
        const int64_t bottom = std::min<int64_t>(by + size, work.bottom);
        band(rows.At(work.left, top), rows.pitch, work.right - work.left,
             static_cast<int32_t>(bottom - top), firstWidth, size);
      }
      return RC_OK;
    }
    for (int64_t by = GridStart(work.top, originY, size); by < work.bottom; by += size) {
      for (int64_t bx = firstColumn; bx < work.right; bx += size) {
        const Block block{std::max<int64_t>(bx, work.left), std::max<int64_t>(by, work.top),
                          std::min<int64_t>(bx + size, work.right),
                          std::min<int64_t>(by + size, work.bottom)};
        FillBlock(rows, block, SampledAverage(rows, block, step));
      }
    }
    return RC_OK;
  });
}

ResultCode Surface32::BlurFrom(int32_t radius, Surface32* source, const Rect* rect,
                               int32_t step) {
  if (radius < 1) return RC_BAD_LENGTH;
  if (source == nullptr) return RC_NULL_ARGUMENT;
  if (step < 1) return RC_BAD_LENGTH;
  Surface32* const surfaces[] = {this, source};
  PixelRows rows[2];
  if (const ResultCode locked = LockInOrder(surfaces, 2, rows); locked != RC_OK) return locked;

  Rect work;
  ResolveRect(work, rect);
  work.right = std::min(work.right, source->Width());
  work.bottom = std::min(work.bottom, source->Height());
  const int64_t reach = static_cast<int64_t>(radius / step) * step;
  // A blur of a surface into itself reads what it has written, so only the direct method's
  // order gives its result.
  if (source == this || !BlurWithRunningSums(rows[0], rows[1], work, reach, step)) {
    BlurDirect(rows[0], rows[1], work, reach, step);
  }
  return UnlockInReverse(surfaces, 2);
}
