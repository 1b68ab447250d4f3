#include "draw/grid_blur.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
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

uint32_t BitsOf(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}
float FloatOf(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// The same sweep with the kernels' column sums: four 32-bit lanes a column, so the sums of
// several columns share a vector. Prefix sums taken modulo 2^32 give a window's sums exactly,
// and the kernels' single-precision means are exact, for windows of fewer than 2^13 samples.
constexpr int64_t kMaxKernelWindow = (int64_t{1} << 13) - 1;

// 1 / samples rounded up to single precision, as the kernels' means take it. Worked on through
// its bits: x87 code (the i686 build) keeps a quotient in a wider register and rounds it only
// when it is stored, maybe down, after the check below had seen the wider value.
float InverseRoundedUp(int64_t samples) {
  uint32_t bits = BitsOf(1.0f / static_cast<float>(samples));
  // Exact in double: a 24-bit significand times samples below 2^13.
  if (static_cast<double>(FloatOf(bits)) * static_cast<double>(samples) < 1.0) ++bits;
  return FloatOf(bits);
}

// The prefix row of the column sums, with reach + step columns of zeros before it and reach
// columns after it that repeat the prefix of their class: as if the columns outside the Rect
// summed to 0. Then, for a reach that is a multiple of step, the window of every column x is
// prefix(x + reach) - prefix(x - reach - step), and only the edge columns' sample counts
// differ from the inner ones'.
class PaddedPrefix {
 public:
  PaddedPrefix(int32_t width, int64_t reach, int64_t step)
      : width_(width), reach_(reach), step_(step), before_(reach + step) {}
  bool Allocate() {
    const uint64_t columns = static_cast<uint64_t>(before_) + width_ + reach_;
    if (columns > SIZE_MAX / (4 * sizeof(uint32_t))) return false;
    lanes_.reset(new (std::nothrow) uint32_t[4 * static_cast<size_t>(columns)]);
    if (!lanes_) return false;
    std::fill(lanes_.get(), lanes_.get() + 4 * before_, 0u);
    return true;
  }
  uint32_t* Row() { return At(0); }
  // The columns past the end, each its class's last prefix. Read from the row itself, not
  // from the copy just made: a chain of copies waited on each store in turn.
  void Extend() {
    for (int64_t i = 0, c = 0; i < reach_; ++i, c = c + 1 < step_ ? c + 1 : 0) {
      std::copy_n(At(width_ - step_ + c), 4, At(width_ + i));
    }
  }
  uint32_t* At(int64_t x) { return lanes_.get() + 4 * (before_ + x); }

 private:
  int64_t width_;
  int64_t reach_;
  int64_t step_;
  int64_t before_;
  std::unique_ptr<uint32_t[]> lanes_;
};

bool BlurWithKernels(const RowKernels& kernels, const PixelRows& dest, const PixelRows& source,
                     const Rect& work, int64_t reach, int64_t step) {
  const int32_t width = work.right - work.left;
  std::unique_ptr<uint32_t[]> sums(new (std::nothrow) uint32_t[4 * static_cast<size_t>(width)]);
  // Each edge column's reciprocal in its four lanes, set again only when the window rows change.
  std::unique_ptr<float[]> inverses(new (std::nothrow) float[4 * static_cast<size_t>(width)]);
  // A window's columns lie within classReach of its own, in its class: reach may be past the
  // Rect's side and no multiple of step.
  const int64_t classReach = reach / step * step;
  PaddedPrefix prefix(width, classReach, step);
  if (!sums || !inverses || !prefix.Allocate()) return false;
  const int64_t halfRows = reach / step;
  const auto gridStep = static_cast<int32_t>(step);
  // Inner columns have their whole window: 2 * reach / step + 1 columns.
  const int64_t innerBegin = std::min<int64_t>(classReach, width);
  const int64_t innerEnd = std::max(innerBegin, width - classReach);
  const int64_t innerColumns = 2 * (reach / step) + 1;
  const auto setInverses = [&](int64_t x, int64_t windowRows) {
    const int64_t first = x - classReach >= 0 ? x - classReach : x % step;
    const int64_t last = x + classReach < width ? x + classReach : x + (width - 1 - x) / step * step;
    std::fill_n(&inverses[4 * x], 4, InverseRoundedUp(((last - first) / step + 1) * windowRows));
  };
  // The means of columns begin..end, with the edge columns' own reciprocals or the inner one.
  const auto writeMeans = [&](uint32_t* out, int64_t begin, int64_t end, float inner) {
    if (end <= begin) return;
    kernels.blurMeans(out + begin, prefix.At(begin + classReach),
                      prefix.At(begin - classReach - step),
                      static_cast<int32_t>(end - begin), inner,
                      inner == 0.0f ? &inverses[4 * begin] : nullptr);
  };
  int64_t inversesFor = 0;  // the window rows the reciprocals were set for

  for (int64_t first = work.top; first < work.bottom && first < work.top + step; ++first) {
    const auto rowOfClass = [&](const PixelRows& rows, int64_t k) {
      return rows.At(work.left, first + k * step);
    };
    const int64_t rowsInClass = (work.bottom - first + step - 1) / step;
    std::fill(sums.get(), sums.get() + 4 * static_cast<size_t>(width), 0u);
    for (int64_t k = 0; k < halfRows && k < rowsInClass; ++k) {
      kernels.blurColumns(sums.get(), prefix.Row(), rowOfClass(source, k), nullptr, width,
                          gridStep);
    }
    for (int64_t k = 0; k < rowsInClass; ++k) {
      const int64_t entering = k + halfRows;
      const int64_t leaving = k - halfRows - 1;
      kernels.blurColumns(sums.get(), prefix.Row(),
                          entering < rowsInClass ? rowOfClass(source, entering) : nullptr,
                          leaving >= 0 ? rowOfClass(source, leaving) : nullptr, width, gridStep);
      prefix.Extend();
      const int64_t windowRows = std::min(rowsInClass - 1, k + halfRows) -
                                 std::max<int64_t>(0, k - halfRows) + 1;
      if (windowRows != inversesFor) {
        for (int64_t x = 0; x < innerBegin; ++x) setInverses(x, windowRows);
        for (int64_t x = innerEnd; x < width; ++x) setInverses(x, windowRows);
        inversesFor = windowRows;
      }
      uint32_t* const out = rowOfClass(dest, k);
      writeMeans(out, 0, innerBegin, 0.0f);
      writeMeans(out, innerBegin, innerEnd, InverseRoundedUp(innerColumns * windowRows));
      writeMeans(out, innerEnd, width, 0.0f);
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
