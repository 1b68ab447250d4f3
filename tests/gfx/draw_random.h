#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/surface32.h"

// Makes the surfaces of the random cases. Test surfaces take the pitch the case chooses and
// can be armed to fail Lock and log Lock and Unlock; real surfaces choose their own pitch.
class SurfaceMaker {
 public:
  virtual ~SurfaceMaker() = default;
  virtual int32_t MinimumSize() const = 0;
  virtual bool ControlsLocks() const = 0;
  // Valid until the next Reset. pitch is a wish that only test surfaces follow.
  virtual Surface32* Make(int32_t width, int32_t height, int32_t pitch,
                          const std::string& name) = 0;
  // Only when ControlsLocks(): from now on Lock fails with lockError unless it is RC_OK, and
  // every Lock and Unlock is logged.
  virtual void Arm(Surface32* surface, ResultCode lockError, std::vector<std::string>* log) = 0;
  virtual void Reset() = 0;
};

// Runs count random operations from seed through the library and the reference model and
// checks that the clip operations' values, results, every pixel word (padding included) and,
// for armed surfaces, the Lock and Unlock sequences agree. Failures are reported through GoogleTest with the seed and the
// case; returns the number of cases that disagreed.
int RunRandomDrawCases(uint32_t seed, int count, SurfaceMaker& maker);
