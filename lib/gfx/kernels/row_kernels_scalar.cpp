#include "kernels/pixel_rules.h"
#include "kernels/row_kernels.h"

namespace {

using PixelRule = uint32_t (*)(uint32_t p, const KernelArgs& args);
using PairRule = uint32_t (*)(uint32_t s, uint32_t d, const KernelArgs& args);
using MaskRule = uint32_t (*)(uint32_t s, uint32_t m, uint32_t d, const KernelArgs& args);

template <PixelRule Rule>
void MapRow(uint32_t* row, int32_t width, const KernelArgs& args) {
  for (int32_t j = 0; j < width; ++j) row[j] = Rule(row[j], args);
}

// Columns first, first + Stride, ... below width; the source pixel is read before the
// destination pixel of the same position is written.
template <PairRule Rule, int32_t Stride>
void CombineColumns(uint32_t* dest, const uint32_t* source, int32_t width, int32_t first,
                    const KernelArgs& args) {
  if (first >= width) return;
  const int32_t count = (width - first - 1) / Stride + 1;
  for (int32_t k = 0; k < count; ++k) {
    const int32_t j = first + k * Stride;
    const uint32_t s = source[j];
    dest[j] = Rule(s, dest[j], args);
  }
}

template <PairRule Rule>
void EveryColumn(uint32_t* dest, const uint32_t* source, int32_t width, int32_t,
                 const KernelArgs& args) {
  CombineColumns<Rule, 1>(dest, source, width, 0, args);
}

// Destination column X of area row i is processed when X + i is even.
template <PairRule Rule>
void CheckerboardColumns(uint32_t* dest, const uint32_t* source, int32_t width,
                         int32_t areaRow, const KernelArgs& args) {
  const auto first = static_cast<int32_t>((args.destX + static_cast<uint32_t>(areaRow)) & 1u);
  CombineColumns<Rule, 2>(dest, source, width, first, args);
}

template <MaskRule Rule>
void MaskColumns(uint32_t* dest, const uint32_t* source, const uint32_t* mask, int32_t width,
                 const KernelArgs& args) {
  for (int32_t j = 0; j < width; ++j) {
    const uint32_t s = source[j];
    const uint32_t m = mask[j];
    dest[j] = Rule(s, m, dest[j], args);
  }
}

uint32_t Colour(uint32_t, const KernelArgs& args) { return args.colour; }
uint32_t MaskOrColour(uint32_t p, const KernelArgs& args) {
  return pixel::MaskOrPixel(p, args.colour);
}
uint32_t ScreenByColour(uint32_t p, const KernelArgs& args) {
  return pixel::ScreenPixel(p, args.colour);
}
uint32_t MultiplyByColour(uint32_t p, const KernelArgs& args) {
  return pixel::MultiplyPixel(p, args.colour);
}
uint32_t GrayAverage(uint32_t p, const KernelArgs&) { return pixel::GrayAveragePixel(p); }
uint32_t GrayWeighted(uint32_t p, const KernelArgs&) { return pixel::GrayWeightedPixel(p); }

uint32_t Source(uint32_t s, uint32_t, const KernelArgs&) { return s; }
uint32_t SourceUnlessKey(uint32_t s, uint32_t d, const KernelArgs& args) {
  return s != args.colour ? s : d;
}
uint32_t BlendByWeights(uint32_t s, uint32_t d, const KernelArgs& args) {
  return pixel::BlendPixel(s, d, args.weightRed, args.weightGreen, args.weightBlue);
}
uint32_t BlendUnlessKey(uint32_t s, uint32_t d, const KernelArgs& args) {
  return s != args.colour ? BlendByWeights(s, d, args) : d;
}
uint32_t MaskOrSource(uint32_t s, uint32_t d, const KernelArgs&) {
  return pixel::MaskOrPixel(s, d);
}
uint32_t Zero(uint32_t, uint32_t, const KernelArgs&) { return 0; }
uint32_t MultiplyBySource(uint32_t s, uint32_t d, const KernelArgs&) {
  return pixel::MultiplyPixel(s, d);
}

uint32_t BlendByMask(uint32_t s, uint32_t m, uint32_t d, const KernelArgs&) {
  return pixel::BlendPixel(s, d, pixel::Red(m), pixel::Green(m), pixel::Blue(m));
}
uint32_t MultiplyByMask(uint32_t s, uint32_t m, uint32_t d, const KernelArgs&) {
  return pixel::MaskMultiplyPixel(s, m, d);
}
uint32_t SourceWhereMaskKey(uint32_t s, uint32_t m, uint32_t d, const KernelArgs& args) {
  return (m & 0xFF) == args.maskKey ? s : d;
}

// One level copies one column phase in increasing order; a merged run of levels copies
// several, which only a source other than the destination may ask for.
// Columns first, first + 4, ... below width, four a pass: a loop of one store a pass runs at
// half speed or full as the code happens to be placed.
void CopyEveryFourth(uint32_t* dest, const uint32_t* source, int32_t width, int32_t first) {
  int32_t j = first;
  for (; j + 12 < width; j += 16) {
    dest[j] = source[j];
    dest[j + 4] = source[j + 4];
    dest[j + 8] = source[j + 8];
    dest[j + 12] = source[j + 12];
  }
  for (; j < width; j += 4) dest[j] = source[j];
}

void CopyDissolve(uint32_t* dest, const uint32_t* source, int32_t width, int32_t areaRow,
                  const KernelArgs& args) {
  const uint32_t columns = DissolveColumnsOfRow(args, areaRow);
  for (int32_t phase = 0; phase < 4; ++phase) {
    if (columns == (1u << phase)) {
      CopyEveryFourth(dest, source, width, phase);
      return;
    }
  }
  for (int32_t j = 0; j < width; ++j) {
    if ((columns >> (j & 3)) & 1u) dest[j] = source[j];
  }
}

BlockSums SumBlock(const uint32_t* topLeft, ptrdiff_t pitch, int32_t width, int32_t height) {
  BlockSums sums;
  for (int32_t y = 0; y < height; ++y, topLeft += pitch) {
    for (int32_t x = 0; x < width; ++x) {
      sums.redBlue += topLeft[x] & pixel::kRedBlue;
      sums.green += topLeft[x] & pixel::kGreen;
    }
  }
  return sums;
}

void FillBlock(uint32_t* topLeft, ptrdiff_t pitch, int32_t width, int32_t height,
               uint32_t colour) {
  for (int32_t y = 0; y < height; ++y, topLeft += pitch) {
    for (int32_t x = 0; x < width; ++x) topLeft[x] = colour;
  }
}

}  // namespace

const RowKernels kScalarRowKernels = {
    .fill = MapRow<Colour>,
    .maskOrColor = MapRow<MaskOrColour>,
    .screenColor = MapRow<ScreenByColour>,
    .multiplyColor = MapRow<MultiplyByColour>,
    .grayAverage = MapRow<GrayAverage>,
    .grayWeighted = MapRow<GrayWeighted>,

    .copy = EveryColumn<Source>,
    .copyKeyed = EveryColumn<SourceUnlessKey>,
    .copyKeyedMesh = CheckerboardColumns<SourceUnlessKey>,
    .blendKeyed = EveryColumn<BlendUnlessKey>,
    .copyMesh = CheckerboardColumns<Source>,
    .copyDissolve = CopyDissolve,
    .maskOr = EveryColumn<MaskOrSource>,
    .clear = EveryColumn<Zero>,
    .multiply = EveryColumn<MultiplyBySource>,
    .blend = EveryColumn<BlendByWeights>,

    .maskBlend = MaskColumns<BlendByMask>,
    .maskMultiply = MaskColumns<MultiplyByMask>,
    .maskKey = MaskColumns<SourceWhereMaskKey>,

    .sumBlock = SumBlock,
    .fillBlock = FillBlock,
};
