#include "gfx/grid_blur.h"

#include <algorithm>
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
// the double-precision reciprocal below; no surface that fits in memory comes near it.
constexpr int64_t kMaxSamples = int64_t{1} << 40;

struct Sums {
  int64_t red = 0;
  int64_t green = 0;
  int64_t blue = 0;
};

struct Column {
  Sums rows;            // this column's samples in the current window rows
  Sums prefix;          // rows, plus prefix of the column step to the left
  int32_t last;         // the column window's last column
  int32_t beforeFirst;  // the column one step before its first, or -1
  double inverseCount;  // 1 / the number of columns in the window
};

// Entering and leaving rows (either may be null) update every column's window-row sums.
void SlideRows(Column* columns, int32_t width, const uint32_t* entering,
               const uint32_t* leaving) {
  if (entering != nullptr) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t p = entering[x];
      columns[x].rows.red += (p >> 16) & 0xFF;
      columns[x].rows.green += (p >> 8) & 0xFF;
      columns[x].rows.blue += p & 0xFF;
    }
  }
  if (leaving != nullptr) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t p = leaving[x];
      columns[x].rows.red -= (p >> 16) & 0xFF;
      columns[x].rows.green -= (p >> 8) & 0xFF;
      columns[x].rows.blue -= p & 0xFF;
    }
  }
}

// floor(sum / count) with inverse = 1 / count: (sum + 0.5) / count lies at least 0.5 / count
// from an integer, more than the rounding error of the product while count < kMaxSamples.
uint32_t Mean(int64_t sum, double inverse) {
  return static_cast<uint32_t>((static_cast<double>(sum) + 0.5) * inverse);
}

void WriteRow(Column* columns, int32_t width, int32_t step, int64_t windowRows, uint32_t* out) {
  for (int32_t x = 0; x < width; ++x) {
    Column& c = columns[x];
    c.prefix = c.rows;
    if (x >= step) {
      const Sums& before = columns[x - step].prefix;
      c.prefix.red += before.red;
      c.prefix.green += before.green;
      c.prefix.blue += before.blue;
    }
  }
  const double inverseRows = 1.0 / static_cast<double>(windowRows);
  for (int32_t x = 0; x < width; ++x) {
    const Column& c = columns[x];
    Sums window = columns[c.last].prefix;
    if (c.beforeFirst >= 0) {
      const Sums& before = columns[c.beforeFirst].prefix;
      window.red -= before.red;
      window.green -= before.green;
      window.blue -= before.blue;
    }
    const double inverse = c.inverseCount * inverseRows;
    out[x] = (Mean(window.red, inverse) << 16) | (Mean(window.green, inverse) << 8) |
             Mean(window.blue, inverse);
  }
}

void SetColumnWindows(Column* columns, int32_t width, int64_t reach, int64_t step) {
  for (int64_t x = 0; x < width; ++x) {
    const int64_t first = x - reach >= 0 ? x - reach : x % step;
    const int64_t last = x + reach < width ? x + reach : x + ((width - 1 - x) / step) * step;
    columns[x].last = static_cast<int32_t>(last);
    columns[x].beforeFirst = static_cast<int32_t>(first - step >= 0 ? first - step : -1);
    columns[x].inverseCount = 1.0 / static_cast<double>((last - first) / step + 1);
  }
}

}  // namespace

bool BlurWithRunningSums(const PixelRows& dest, const PixelRows& source, const Rect& work,
                         int64_t reach, int64_t step) {
  const int32_t width = work.right - work.left;
  const int32_t height = work.bottom - work.top;
  if (width <= 0 || height <= 0) return true;
  if (int64_t{width} * height >= kMaxSamples) return false;
  // A step or a reach past the Rect's longer side samples the same as that side.
  const int64_t side = std::max(width, height);
  const int64_t gridStep = std::min(step, side);
  const int64_t halfRows = std::min(reach, side) / gridStep;

  std::unique_ptr<Column[]> columns(new (std::nothrow) Column[static_cast<size_t>(width)]);
  if (!columns) return false;
  SetColumnWindows(columns.get(), width, std::min(reach, side), gridStep);

  for (int64_t first = work.top; first < work.bottom && first < work.top + gridStep; ++first) {
    const auto rowOfClass = [&](const PixelRows& rows, int64_t k) {
      return rows.At(work.left, first + k * gridStep);
    };
    const int64_t rowsInClass = (work.bottom - first + gridStep - 1) / gridStep;
    for (int32_t x = 0; x < width; ++x) columns[x].rows = Sums{};
    for (int64_t k = 0; k <= halfRows && k < rowsInClass; ++k) {
      SlideRows(columns.get(), width, rowOfClass(source, k), nullptr);
    }
    for (int64_t k = 0; k < rowsInClass; ++k) {
      const int64_t windowRows = std::min(rowsInClass - 1, k + halfRows) -
                                 std::max<int64_t>(0, k - halfRows) + 1;
      WriteRow(columns.get(), width, static_cast<int32_t>(gridStep), windowRows,
               rowOfClass(dest, k));
      const int64_t entering = k + 1 + halfRows;
      const int64_t leaving = k - halfRows;
      SlideRows(columns.get(), width, entering < rowsInClass ? rowOfClass(source, entering) : nullptr,
                leaving >= 0 ? rowOfClass(source, leaving) : nullptr);
    }
  }
  return true;
}
