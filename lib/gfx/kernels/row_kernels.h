#pragma once
#include <cstddef>
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
  // Dissolve: for area row phase r (row & 3), bits 4r..4r+3 say which column phases
  // (column & 3) the row copies.
  uint32_t dissolveColumns = 0;
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

// Mosaic's blocks: the channel sums of every pixel of a block (width, height > 0), red kept in
// place and added with blue in one word (blue stays below 65,536 for up to 257 pixels), and the
// fill of a block with one colour.
struct BlockSums {
  uint32_t redBlue = 0;
  uint32_t green = 0;
};
using BlockSumKernel = BlockSums (*)(const uint32_t* topLeft, ptrdiff_t pitch, int32_t width,
                                     int32_t height);
using BlockFillKernel = void (*)(uint32_t* topLeft, ptrdiff_t pitch, int32_t width,
                                 int32_t height, uint32_t colour);

// BlurFrom's running sums with four 32-bit lanes a column (its blue, green, red and top bytes):
// blurColumns adds the entering row (when not null) to the columns' sums and takes the leaving
// row (when not null) from them, then writes prefix, each column's sums plus the prefix step
// columns to its left, modulo 2^32. blurMeans writes the pixels whose window's sums are
// last - before, lane by lane, each channel floor(sum / samples), the top byte 0, for sums
// below 2^21; inverse is 1 / samples rounded up to single precision, or where inverses is not
// null, it holds each lane's own.
using BlurColumnsKernel = void (*)(uint32_t* sums, uint32_t* prefix, const uint32_t* entering,
                                   const uint32_t* leaving, int32_t width, int32_t step);
using BlurMeansKernel = void (*)(uint32_t* out, const uint32_t* last, const uint32_t* before,
                                 int32_t width, float inverse, const float* inverses);
// Mosaic with step 1 over a band of blocks height rows high (at most 15): the first block is
// firstWidth pixels wide, the others size (at most 15), the last cut at width.
using MosaicBandKernel = void (*)(uint32_t* topLeft, ptrdiff_t pitch, int32_t width,
                                  int32_t height, int32_t firstWidth, int32_t size);

inline uint32_t DissolveColumnsOfRow(const KernelArgs& args, int32_t areaRow) {
  return (args.dissolveColumns >> ((areaRow & 3) * 4)) & 0xFu;
}

// One kernel per operation that has a row rule. Tables are written with designated
// initialisers, and a slot a table leaves empty is the scalar kernel's: a new operation needs
// only its scalar kernel to work on every path. A faster table may stand in for the scalar one
// only for calls whose surfaces are all different objects.
struct RowKernels {
  RectRowKernel fill = nullptr;
  RectRowKernel maskOrColor = nullptr;
  RectRowKernel screenColor = nullptr;
  RectRowKernel multiplyColor = nullptr;
  RectRowKernel grayAverage = nullptr;
  RectRowKernel grayWeighted = nullptr;

  BlitRowKernel copy = nullptr;
  BlitRowKernel copyKeyed = nullptr;
  BlitRowKernel copyKeyedMesh = nullptr;
  BlitRowKernel blendKeyed = nullptr;
  BlitRowKernel copyMesh = nullptr;
  BlitRowKernel copyDissolve = nullptr;  // the columns that dissolveColumns names for the row
  BlitRowKernel maskOr = nullptr;
  BlitRowKernel clear = nullptr;
  BlitRowKernel multiply = nullptr;
  BlitRowKernel blend = nullptr;

  MaskRowKernel maskBlend = nullptr;
  MaskRowKernel maskMultiply = nullptr;
  MaskRowKernel maskKey = nullptr;

  // Scalar only: where a table has mosaicBand, step 1 never sums block by block.
  BlockSumKernel sumBlock = nullptr;
  BlockFillKernel fillBlock = nullptr;

  // Empty in the scalar table: the operations' plain code serves it.
  BlurColumnsKernel blurColumns = nullptr;
  BlurMeansKernel blurMeans = nullptr;
  MosaicBandKernel mosaicBand = nullptr;
};

// Every slot filled: the reference, and the path that keeps a row's pixel order.
extern const RowKernels kScalarRowKernels;
// Empty where the build's target has no such instructions.
extern const RowKernels kSse2RowKernels;
extern const RowKernels kAvx2RowKernels;
extern const RowKernels kAvx512RowKernels;

// The table of the path in use (kernel_path.h chooses it).
const RowKernels& ActiveRowKernels();

// The table's kernel for the slot, or the scalar one where the table leaves it empty.
template <typename Kernel>
Kernel KernelOf(const RowKernels& table, Kernel RowKernels::*slot) {
  const Kernel kernel = table.*slot;
  return kernel != nullptr ? kernel : kScalarRowKernels.*slot;
}
