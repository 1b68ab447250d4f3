#include "draw/draw_frame.h"

namespace {

// The pixel each level copies in every 4 by 4 block of the area; the 16 levels together
// copy each position once.
struct Phase {
  int32_t column;
  int32_t row;
};
constexpr Phase DissolvePhase[16] = {
    {1, 1}, {3, 3}, {1, 3}, {3, 1}, {0, 0}, {2, 2}, {0, 2}, {2, 0},
    {1, 0}, {3, 2}, {1, 2}, {3, 0}, {0, 1}, {2, 3}, {0, 3}, {2, 1},
};

uint32_t ColumnsOfLevel(int32_t level) {
  const Phase phase = DissolvePhase[level];
  return 1u << (phase.row * 4 + phase.column);
}

// Levels first..end-1 from a source that is not the destination, in one pass: no position is
// copied twice, so the order of the levels cannot show. Lock and Unlock give the same answer
// every time, so one bracket stands for one per level.
void DissolveLevelsAtOnce(Surface32& dest, int32_t x, int32_t y, Surface32* source,
                          const Rect* sourceRect, int32_t firstLevel, int32_t endLevel) {
  KernelArgs args;
  for (int32_t level = firstLevel < 0 ? 0 : firstLevel; level < endLevel && level < 16; ++level) {
    args.dissolveColumns |= ColumnsOfLevel(level);
  }
  if (args.dissolveColumns == 0) return;
  // Rows differ unless every level is drawn.
  const bool rowsAlike = args.dissolveColumns == 0xFFFF;
  DrawBlit(dest, x, y, source, sourceRect, &RowKernels::copyDissolve, args,
           RowPattern{0, 1, rowsAlike});
}

}  // namespace

ResultCode Surface32::BltDissolveRange(int32_t x, int32_t y, Surface32* source,
                                       const Rect* sourceRect, int32_t firstLevel,
                                       int32_t endLevel) {
  if (firstLevel > endLevel) return RC_BAD_LENGTH;
  // Every step would fail alike; the run would report success for drawing nothing.
  if (source == nullptr) return RC_NULL_ARGUMENT;
  if (source != this && IsLibrarySurface() && source->IsLibrarySurface()) {
    DissolveLevelsAtOnce(*this, x, y, source, sourceRect, firstLevel, endLevel);
    return RC_OK;
  }
  // The steps' own failures are part of a dissolve's normal run (levels past 15, empty areas).
  for (int32_t level = firstLevel; level < endLevel; ++level) {
    BltDissolve(x, y, source, sourceRect, level);
  }
  return RC_OK;
}

ResultCode Surface32::BltDissolve(int32_t x, int32_t y, Surface32* source,
                                  const Rect* sourceRect, int32_t level) {
  if (level < 0 || level > 15) return RC_BAD_LENGTH;
  KernelArgs args;
  args.dissolveColumns = ColumnsOfLevel(level);
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::copyDissolve, args,
                  RowPattern{DissolvePhase[level].row, 4, false});
}
