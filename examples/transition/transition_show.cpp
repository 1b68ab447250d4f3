#include "transition_show.h"

#include <cmath>

namespace {

struct Scene {
  Surface32* from;
  Surface32* to;
  Surface32* wipeMask;
};

// One transition: its length in frames and how frame t (0 .. frames - 1) looks.
struct Transition {
  const char* name;
  int32_t frames;
  ResultCode (*draw)(const Scene& scene, Surface32* screen, int32_t t);
};

constexpr int32_t kFramesPerDissolveStep = 3;

// Each of the 16 steps adds its sixteenth of the new picture to what is on the screen.
ResultCode Dissolve(const Scene& scene, Surface32* screen, int32_t t) {
  if (t == 0) {
    if (ResultCode rc = screen->Blt(0, 0, scene.from, nullptr)) return rc;
  }
  if (t % kFramesPerDissolveStep != 0) return RC_OK;
  return screen->BltDissolve(0, 0, scene.to, nullptr, t / kFramesPerDissolveStep);
}

ResultCode CrossFade(const Scene& scene, Surface32* screen, int32_t t) {
  if (ResultCode rc = screen->Blt(0, 0, scene.from, nullptr)) return rc;
  return screen->BltBlendLevel(0, 0, scene.to, nullptr, (t + 1) * 255 / 60);
}

// Blocks grow on the old picture, then shrink on the new one down to single pixels.
ResultCode MosaicOutIn(const Scene& scene, Surface32* screen, int32_t t) {
  const bool out = t < 30;
  if (ResultCode rc = screen->Blt(0, 0, out ? scene.from : scene.to, nullptr)) return rc;
  return screen->Mosaic(out ? 1 + t : 60 - t, nullptr, 1, 0, 0);
}

ResultCode Wipe(const Scene& scene, Surface32* screen, int32_t t) {
  if (ResultCode rc = screen->Blt(0, 0, scene.from, nullptr)) return rc;
  return screen->BltMaskBlend(0, 0, scene.to, nullptr, scene.wipeMask, kWipeTravel * (59 - t) / 59,
                              0);
}

// The old picture blurs away and the new one comes into focus.
ResultCode BlurOutIn(const Scene& scene, Surface32* screen, int32_t t) {
  return t < 30 ? screen->BlurFrom(1 + t, scene.from, nullptr, 1)
                : screen->BlurFrom(60 - t, scene.to, nullptr, 1);
}

constexpr Transition kTransitions[] = {
    {"dissolve", 16 * kFramesPerDissolveStep, Dissolve},
    {"cross-fade", 60, CrossFade},
    {"mosaic", 60, MosaicOutIn},
    {"wipe", 60, Wipe},
    {"blur", 60, BlurOutIn},
};
constexpr int32_t kTransitionCount = sizeof kTransitions / sizeof kTransitions[0];

constexpr int32_t CycleFrames() {
  int32_t frames = 0;
  for (const Transition& transition : kTransitions) frames += transition.frames;
  return frames;
}

}  // namespace

ResultCode PaintWipeMask(Surface32* mask) {
  uint32_t* pixels = mask->Lock();
  if (!pixels) return mask->LastError();
  for (int32_t y = 0; y < mask->Height(); ++y) {
    const double edge = kScreenWidth + kWipeWave + kWipeWave * std::sin(y / 40.0);
    for (int32_t x = 0; x < mask->Width(); ++x) {
      const double into = (x - edge) / kWipeEdge;
      const auto level = static_cast<uint32_t>(into <= 0 ? 255 : into >= 1 ? 0 : 255 * (1 - into));
      pixels[y * mask->Pitch() + x] = level * 0x010101;
    }
  }
  return mask->Unlock();
}

ResultCode DrawShowFrame(const ShowInputs& inputs, int32_t frame, Surface32* screen,
                         const char** name) {
  // Transitions counted from the start: the pictures change places after each one.
  int32_t done = frame / CycleFrames() * kTransitionCount;
  int32_t t = frame % CycleFrames();
  const Transition* transition = kTransitions;
  for (; t >= transition->frames; ++transition, ++done) t -= transition->frames;
  const Scene scene{inputs.pictures[done % 2], inputs.pictures[(done + 1) % 2], inputs.wipeMask};
  *name = transition->name;
  return transition->draw(scene, screen, t);
}
