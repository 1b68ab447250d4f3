#include "draw/grid_blur.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

// The window of (x, y) holds the samples (x + i * step, y + j * step) inside the working Rect
// with |i|, |j| <= reach / step; it is the product of a column window and a row window, each
// within one residue class modulo step. So the rows of one class are swept top to bottom while
// each column keeps the channel sums of its window rows (a row enters at the bottom and leaves
// at the top), and each output row is read from prefix sums of those column sums taken along
// the row within each column class.

namespace {

// Past this many samples a window's mean could lie nearer to an integer than the rounding of
// WideSums' double-precision reciprocal; no surface that fits in memory comes near it.
constexpr int64_t kMaxSamples = int64_t{1} << 40;

// The three channel sums in one 64-bit word, 21 bits apart, added and subtracted modulo 2^64.
// Prefix sums may spill from field to field, yet a window's sum, a difference of such words,
// reads exactly while each of its channels stays below 2^21: up to 8,224 samples.
struct PackedSums {
  static constexpr int64_t kMaxWindow = 0x1FFFFF / 255;

  static PackedSums Of(uint32_t p) {
    const uint64_t q = p;
    return {((q & 0xFF0000) << 26) | ((q & 0xFF00) << 13) | (q & 0xFF)};
  }
  PackedSums& operator+=(PackedSums other) {
    word += other.word;
    return *this;
  }
  PackedSums& operator-=(PackedSums other) {
    word -= other.word;
    return *this;
  }
  // floor(sum / count) as (sum * magic) >> 40, magic = 2^40 / count + 1: for sums below 2^21
  // the product errs by less than 2^-19, below the 1 / count that keeps a quotient's fraction
  // from the next integer.
  struct Divider {
    explicit Divider(int64_t count)
        : magic((uint64_t{1} << 40) / static_cast<uint64_t>(count) + 1) {}
    uint32_t operator()(uint64_t sum) const { return static_cast<uint32_t>((sum * magic) >> 40); }
    uint64_t magic;
  };
  uint32_t Mean(const Divider& divide) const {
    return (divide(word >> 42) << 16) | (divide((word >> 21) & 0x1FFFFF) << 8) |
           divide(word & 0x1FFFFF);
  }

  uint64_t word;
};

// One 64-bit sum a channel, for windows of any size.
struct WideSums {
  static WideSums Of(uint32_t p) { return {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}; }
  WideSums& operator+=(WideSums other) {
    red += other.red;
    green += other.green;
    blue += other.blue;
    return *this;
  }
  WideSums& operator-=(WideSums other) {
    red -= other.red;
    green -= other.green;
    blue -= other.blue;
    return *this;
  }
  // floor(sum / count) as (sum + 0.5) * (1 / count): (sum + 0.5) / count lies at least
  // 0.5 / count from an integer, more than the rounding of the product below kMaxSamples.
  struct Divider {
    explicit Divider(int64_t count) : inverse(1.0 / static_cast<double>(count)) {}
    uint32_t operator()(int64_t sum) const {
      return static_cast<uint32_t>((static_cast<double>(sum) + 0.5) * inverse);
    }
    double inverse;
  };
  uint32_t Mean(const Divider& divide) const {
    return (divide(red) << 16) | (divide(green) << 8) | divide(blue);
  }

  int64_t red;
  int64_t green;
  int64_t blue;
};

template <typename Sums>
struct Column {
  Sums rows;            // this column's samples in the current window rows
  Sums prefix;          // rows, plus prefix of the column step to the left
  int32_t last;         // the column window's last column
  int32_t beforeFirst;  // the column one step before its first, or -1
  int64_t count;        // the number of columns in the window
  typename Sums::Divider divide{1};  // by the window's samples in the current row
};

// A row entering the window rows at the bottom and (or) one leaving at the top; then the
// prefix sums along the row.
template <bool kEntering, bool kLeaving, typename Sums>
void SlideRows(Column<Sums>* columns, int32_t width, int32_t step, const uint32_t* entering,
               const uint32_t* leaving) {
  for (int32_t x = 0; x < width; ++x) {
    Column<Sums>& c = columns[x];
    if (kEntering) c.rows += Sums::Of(entering[x]);
    if (kLeaving) c.rows -= Sums::Of(leaving[x]);
    c.prefix = c.rows;
    if (x >= step) c.prefix += columns[x - step].prefix;
  }
}

template <typename Sums>
void Slide(Column<Sums>* columns, int32_t width, int32_t step, const uint32_t* entering,
           const uint32_t* leaving) {
  if (entering != nullptr && leaving != nullptr) {
    SlideRows<true, true>(columns, width, step, entering, leaving);
  } else if (entering != nullptr) {
    SlideRows<true, false>(columns, width, step, entering, leaving);
  } else if (leaving != nullptr) {
    SlideRows<false, true>(columns, width, step, entering, leaving);
  } else {
    SlideRows<false, false>(columns, width, step, entering, leaving);
  }
}

template <typename Sums>
void SetDividers(Column<Sums>* columns, int32_t width, int64_t windowRows) {
  for (int32_t x = 0; x < width; ++x) {
    columns[x].divide = typename Sums::Divider(columns[x].count * windowRows);
  }
}

template <typename Sums>
void WriteRow(const Column<Sums>* columns, int32_t width, uint32_t* out) {
  for (int32_t x = 0; x < width; ++x) {
    const Column<Sums>& c = columns[x];
    Sums window = columns[c.last].prefix;
    if (c.beforeFirst >= 0) window -= columns[c.beforeFirst].prefix;
    out[x] = window.Mean(c.divide);
  }
}

template <typename Sums>
void SetColumnWindows(Column<Sums>* columns, int32_t width, int64_t reach, int64_t step) {
  for (int64_t x = 0; x < width; ++x) {
    const int64_t first = x - reach >= 0 ? x - reach : x % step;
    const int64_t last = x + reach < width ? x + reach : x + ((width - 1 - x) / step) * step;
    columns[x].last = static_cast<int32_t>(last);
    columns[x].beforeFirst = static_cast<int32_t>(first - step >= 0 ? first - step : -1);
    columns[x].count = (last - first) / step + 1;
  }
}

// reach and step at most the Rect's longer side, reach a multiple of step or past the side.
template <typename Sums>
bool Blur(const PixelRows& dest, const PixelRows& source, const Rect& work, int64_t reach,
          int64_t step) {
  const int32_t width = work.right - work.left;
  std::unique_ptr<Column<Sums>[]> columns(
      new (std::nothrow) Column<Sums>[static_cast<size_t>(width)]);
  if (!columns) return false;
  SetColumnWindows(columns.get(), width, reach, step);
  const int64_t halfRows = reach / step;
  const auto gridStep = static_cast<int32_t>(step);

  int64_t dividersFor = 0;  // the window rows the dividers were set for
  for (int64_t first = work.top; first < work.bottom && first < work.top + step; ++first) {
    const auto rowOfClass = [&](const PixelRows& rows, int64_t k) {
      return rows.At(work.left, first + k * step);
    };
    const int64_t rowsInClass = (work.bottom - first + step - 1) / step;
    for (int32_t x = 0; x < width; ++x) columns[x].rows = Sums{};
    for (int64_t k = 0; k <= halfRows && k < rowsInClass; ++k) {
      Slide(columns.get(), width, gridStep, rowOfClass(source, k), nullptr);
    }
    for (int64_t k = 0; k < rowsInClass; ++k) {
      const int64_t windowRows = std::min(rowsInClass - 1, k + halfRows) -
                                 std::max<int64_t>(0, k - halfRows) + 1;
      if (windowRows != dividersFor) {
        SetDividers(columns.get(), width, windowRows);
        dividersFor = windowRows;
      }
      WriteRow(columns.get(), width, rowOfClass(dest, k));
      if (k + 1 == rowsInClass) break;
      const int64_t entering = k + 1 + halfRows;
      const int64_t leaving = k - halfRows;
      Slide(columns.get(), width, gridStep,
            entering < rowsInClass ? rowOfClass(source, entering) : nullptr,
            leaving >= 0 ? rowOfClass(source, leaving) : nullptr);
    }
  }
  return true;
}

// The same sweep with the kernels' column sums: four 32-bit lanes a column, so the sums of
// several columns share a vector. Prefix sums taken modulo 2^32 give a window's sums exactly,
// and the kernels' single-precision means are exact, for windows of fewer than 2^13 samples.
constexpr int64_t kMaxKernelWindow = (int64_t{1} << 13) - 1;

// floor(sum / samples) of each channel of the window last - before (before null: nothing), in
// single precision as the kernels' means: exact below 2^13 samples, and cheaper than dividing.
uint32_t MeanOfColumns(const uint32_t* last, const uint32_t* before, float inverse) {
  uint32_t p = 0;
  for (int32_t c = 0; c < 3; ++c) {
    const uint32_t sum = last[c] - (before != nullptr ? before[c] : 0);
    p |= static_cast<uint32_t>((static_cast<float>(sum) + 0.5f) * inverse) << (8 * c);
  }
  return p;
}

bool BlurWithKernels(const RowKernels& kernels, const PixelRows& dest, const PixelRows& source,
                     const Rect& work, int64_t reach, int64_t step) {
  const int32_t width = work.right - work.left;
  if (static_cast<uint64_t>(width) > SIZE_MAX / (8 * sizeof(uint32_t))) return false;
  std::unique_ptr<uint32_t[]> memory(new (std::nothrow) uint32_t[8 * static_cast<size_t>(width)]);
  // The edge columns' reciprocals, set again only when the window rows change.
  std::unique_ptr<float[]> inverses(new (std::nothrow) float[static_cast<size_t>(width)]);
  if (!memory || !inverses) return false;
  uint32_t* const sums = memory.get();
  uint32_t* const prefix = sums + 4 * static_cast<size_t>(width);
  const int64_t halfRows = reach / step;
  const auto gridStep = static_cast<int32_t>(step);
  // Inner columns have their whole window and a column one step before it: one kernel call
  // serves them. Their window spans 2 * reach / step + 1 columns, as reach < width there.
  const int64_t innerBegin = std::min<int64_t>(reach + step, width);
  const int64_t innerEnd = std::max(innerBegin, width - reach);
  const int64_t innerColumns = 2 * (reach / step) + 1;
  const auto edgeWindow = [&](int64_t x, int64_t& first, int64_t& last) {
    first = x - reach >= 0 ? x - reach : x % step;
    last = x + reach < width ? x + reach : x + ((width - 1 - x) / step) * step;
  };
  const auto setInverse = [&](int64_t x, int64_t windowRows) {
    int64_t first = 0;
    int64_t last = 0;
    edgeWindow(x, first, last);
    inverses[x] = 1.0f / static_cast<float>(((last - first) / step + 1) * windowRows);
  };
  const auto edgeColumn = [&](int64_t x, uint32_t* out) {
    int64_t first = 0;
    int64_t last = 0;
    edgeWindow(x, first, last);
    const int64_t before = first - step;
    out[x] = MeanOfColumns(prefix + 4 * last, before >= 0 ? prefix + 4 * before : nullptr,
                           inverses[x]);
  };
  int64_t inversesFor = 0;  // the window rows the reciprocals were set for

  for (int64_t first = work.top; first < work.bottom && first < work.top + step; ++first) {
    const auto rowOfClass = [&](const PixelRows& rows, int64_t k) {
      return rows.At(work.left, first + k * step);
    };
    const int64_t rowsInClass = (work.bottom - first + step - 1) / step;
    std::fill(sums, sums + 4 * static_cast<size_t>(width), 0u);
    for (int64_t k = 0; k < halfRows && k < rowsInClass; ++k) {
      kernels.blurColumns(sums, prefix, rowOfClass(source, k), nullptr, width, gridStep);
    }
    for (int64_t k = 0; k < rowsInClass; ++k) {
      const int64_t entering = k + halfRows;
      const int64_t leaving = k - halfRows - 1;
      kernels.blurColumns(sums, prefix, entering < rowsInClass ? rowOfClass(source, entering) : nullptr,
                          leaving >= 0 ? rowOfClass(source, leaving) : nullptr, width, gridStep);
      const int64_t windowRows = std::min(rowsInClass - 1, k + halfRows) -
                                 std::max<int64_t>(0, k - halfRows) + 1;
      if (windowRows != inversesFor) {
        for (int64_t x = 0; x < innerBegin; ++x) setInverse(x, windowRows);
        for (int64_t x = innerEnd; x < width; ++x) setInverse(x, windowRows);
        inversesFor = windowRows;
      }
      uint32_t* const out = rowOfClass(dest, k);
      for (int64_t x = 0; x < innerBegin; ++x) edgeColumn(x, out);
      if (innerEnd > innerBegin) {
        kernels.blurMeans(out + innerBegin, prefix + 4 * (innerBegin + reach),
                          prefix + 4 * (innerBegin - reach - step),
                          static_cast<int32_t>(innerEnd - innerBegin),
                          1.0f / static_cast<float>(innerColumns * windowRows));
      }
      for (int64_t x = innerEnd; x < width; ++x) edgeColumn(x, out);
    }
  }
  return true;
}

}  // namespace

bool BlurWithRunningSums(const PixelRows& dest, const PixelRows& source, const Rect& work,
                         int64_t reach, int64_t step) {
  // In 64 bits: the edges of an inverted Rect may lie further apart than 32 bits can tell.
  const int64_t width = int64_t{work.right} - work.left;
  const int64_t height = int64_t{work.bottom} - work.top;
  if (width <= 0 || height <= 0) return true;
  if (width * height >= kMaxSamples) return false;
  // A step or a reach past the Rect's longer side samples the same as that side.
  const int64_t side = std::max(width, height);
  const int64_t gridStep = std::min(step, side);
  const int64_t gridReach = std::min(reach, side);
  const int64_t windowSide = 2 * (gridReach / gridStep) + 1;
  const auto samplesAlong = [&](int64_t extent) {
    return std::min(windowSide, (extent + gridStep - 1) / gridStep);
  };
  const int64_t largestWindow = samplesAlong(width) * samplesAlong(height);
  const RowKernels& kernels = ActiveRowKernels();
  if (kernels.blurColumns != nullptr && largestWindow <= kMaxKernelWindow) {
    return BlurWithKernels(kernels, dest, source, work, gridReach, gridStep);
  }
  return largestWindow <= PackedSums::kMaxWindow
             ? Blur<PackedSums>(dest, source, work, gridReach, gridStep)
             : Blur<WideSums>(dest, source, work, gridReach, gridStep);
}
