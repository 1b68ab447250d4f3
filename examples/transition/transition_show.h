#pragma once
#include <cstdint>

#include "gfx/surface32.h"

// The demo's five transitions between two pictures, one after another, then again the other
// way round. Frames must be drawn in order onto the same screen: the dissolve adds to the
// frame before.
inline constexpr int32_t kScreenWidth = 800;
inline constexpr int32_t kScreenHeight = 600;

// The wipe's mask: full weight on the left, a wavy soft edge, none on the right. Sliding the
// mask point from kWipeTravel to 0 moves the edge across the screen.
inline constexpr int32_t kWipeEdge = 160;
inline constexpr int32_t kWipeWave = 24;
inline constexpr int32_t kWipeTravel = kScreenWidth + kWipeEdge + 2 * kWipeWave;
inline constexpr int32_t kWipeMaskWidth = kWipeTravel + kScreenWidth;
ResultCode PaintWipeMask(Surface32* mask);  // kWipeMaskWidth x kScreenHeight

struct ShowInputs {
  Surface32* pictures[2];  // screen-sized
  Surface32* wipeMask;
};

// Draws frame number frame onto screen and names the transition it belongs to.
ResultCode DrawShowFrame(const ShowInputs& inputs, int32_t frame, Surface32* screen,
                         const char** name);
