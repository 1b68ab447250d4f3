#pragma once
#include "platform/win32.h"

// Milliseconds spent in the parts of a frame, averaged over the frames since the last report.
class FrameClock {
 public:
  FrameClock() { QueryPerformanceFrequency(&frequency_); }

  LONGLONG Now() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
  }
  void Add(LONGLONG drawStart, LONGLONG drawEnd, LONGLONG presentEnd) {
    drawTicks_ += drawEnd - drawStart;
    presentTicks_ += presentEnd - drawEnd;
    ++frames_;
  }
  int Frames() const { return frames_; }
  double DrawMs() const { return Average(drawTicks_); }
  double PresentMs() const { return Average(presentTicks_); }
  void Reset() { drawTicks_ = presentTicks_ = 0, frames_ = 0; }

 private:
  double Average(LONGLONG ticks) const {
    return frames_ == 0 ? 0 : 1000.0 * ticks / frames_ / frequency_.QuadPart;
  }

  LARGE_INTEGER frequency_;
  LONGLONG drawTicks_ = 0;
  LONGLONG presentTicks_ = 0;
  int frames_ = 0;
};
