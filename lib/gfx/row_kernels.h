#pragma once
#include <cstdint>

// The drawing operations work one row at a time through these kernels; the frames in
// draw_frame.h do the clipping, locking and row addressing once for every operation.

// Values a kernel needs that do not change along the area, prepared once per call.
struct KernelArgs {
  uint32_t colour = 0;       // colour or key, already in pixel order
  uint32_t weightRed = 0;    // the source's share of each channel, 0..255
  uint32_t weightGreen = 0;
  uint32_t weightBlue = 0;
  uint32_t destX = 0;        // clipped destination x: fixes the checkerboard to its columns
  int32_t columnPhase = 0;   // dissolve: the first area column a row copies
  uint32_t maskKey = 0;      // compared with the mask's blue byte as it is
};

// A row of width pixels (width > 0) starting at the given addresses. areaRow counts the rows
// of the clipped area from 0. The scalar kernels are the reference and the order-preserving
// path: pixel by pixel from the left, each source pixel read just before the destination
// pixel of its position is written, so a call whose source overlaps its destination reads
// what it has already written.
using RectRowKernel = void (*)(uint32_t* row, int32_t width, const KernelArgs& args);
using BlitRowKernel = void (*)(uint32_t* dest, const uint32_t* source, int32_t width,
                               int32_t areaRow, const KernelArgs& args);
using MaskRowKernel = void (*)(uint32_t* dest, const uint32_t* source, const uint32_t* mask,
                               int32_t width, const KernelArgs& args);

// One kernel per operation that has a row rule. A faster table may replace the scalar one
// only for calls whose surfaces are all different objects.
struct RowKernels {
  RectRowKernel fill;
  RectRowKernel maskOrColor;
  RectRowKernel screenColor;
  RectRowKernel multiplyColor;
  RectRowKernel grayAverage;
  RectRowKernel grayWeighted;

  BlitRowKernel copy;
  BlitRowKernel copyKeyed;
  BlitRowKernel copyKeyedMesh;
  BlitRowKernel blendKeyed;
  BlitRowKernel copyMesh;
  BlitRowKernel copyDissolve;  // every fourth pixel from columnPhase
  BlitRowKernel maskOr;
  BlitRowKernel clear;
  BlitRowKernel multiply;
  BlitRowKernel blend;

  MaskRowKernel maskBlend;
  MaskRowKernel maskMultiply;
  MaskRowKernel maskKey;
};

extern const RowKernels kScalarRowKernels;
