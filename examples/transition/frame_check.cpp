// Compares frames the demo saved under Wine with the same library calls made directly on
// memory surfaces, pixel for pixel.
//   transition_frame_check --list                     the frames to save, comma-separated
//   transition_frame_check FOLDER FROM.bmp TO.bmp     0 when every frame matches
#include <cstdio>
#include <cstring>
#include <vector>

#include "gfx/bmp_file.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "show_options.h"
#include "transition_show.h"

namespace {

struct In {
  Surface32 *day, *night, *mask;
};

// Frames of each transition, and of the second round, where the pictures change places.
const struct {
  int32_t frame;
  void (*draw)(const In& in, Surface32* s);
} kFrames[] = {
    {24, [](const In& in, Surface32* s) {  // dissolve steps 0 to 8
       s->Blt(0, 0, in.day, nullptr);
       s->BltDissolveRange(0, 0, in.night, nullptr, 0, 9);
     }},
    {80, [](const In& in, Surface32* s) {  // cross-fade, 33 frames of 60
       s->Blt(0, 0, in.night, nullptr);
       s->BltBlendLevel(0, 0, in.day, nullptr, 140);
     }},
    {153, [](const In& in, Surface32* s) {  // mosaic in, blocks of 15
       s->Blt(0, 0, in.night, nullptr);
       s->Mosaic(15, nullptr, 1, 0, 0);
     }},
    {188, [](const In& in, Surface32* s) {  // wipe, 21 frames of 60
       s->Blt(0, 0, in.night, nullptr);
       s->BltMaskBlend(0, 0, in.day, nullptr, in.mask, kWipeTravel * 39 / 59, 0);
     }},
    {238, [](const In& in, Surface32* s) { s->BlurFrom(11, in.day, nullptr, 1); }},  // blur
    {294, [](const In& in, Surface32* s) {
       s->Blt(0, 0, in.night, nullptr);
       s->BltDissolveRange(0, 0, in.day, nullptr, 0, 3);
     }},
};

Surface32* NewSurface(Display& display, int32_t width) {
  Surface32* surface = display.CreateSurface32(Display::kHeapKind);
  return surface && surface->Create(width, kScreenHeight) == RC_OK ? surface : nullptr;
}

std::vector<uint32_t> Pixels(Surface32* surface) {
  const uint32_t* p = surface->Lock();
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < kScreenHeight; ++y)
    pixels.insert(pixels.end(), p + y * surface->Pitch(), p + y * surface->Pitch() + kScreenWidth);
  surface->Unlock();
  return pixels;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const auto& f : kFrames) std::printf("%s%d", &f == kFrames ? "" : ",", int{f.frame});
    return std::printf("\n"), 0;
  }
  if (argc != 4) return std::fprintf(stderr, "usage: see frame_check.cpp\n"), 2;
  Display display;
  const In in{NewSurface(display, kScreenWidth), NewSurface(display, kScreenWidth),
              NewSurface(display, kWipeMaskWidth)};
  Surface32* saved = NewSurface(display, kScreenWidth);
  Surface32* direct = NewSurface(display, kScreenWidth);
  if (!in.day || !in.night || !in.mask || !saved || !direct || PaintWipeMask(in.mask) ||
      LoadBmp(argv[2], in.day) || LoadBmp(argv[3], in.night))
    return std::printf("cannot load the pictures\n"), 1;
  ShowOptions naming;
  naming.saveFolder = argv[1];
  int failures = 0;
  for (const auto& f : kFrames) {
    const ResultCode loaded = LoadBmp(naming.FramePath(f.frame).c_str(), saved);
    f.draw(in, direct);
    const bool same = loaded == RC_OK && Pixels(saved) == Pixels(direct);
    std::printf("frame %d: %s\n", int{f.frame}, loaded ? "not saved" : same ? "same" : "differs");
    failures += same ? 0 : 1;
  }
  return failures == 0 ? 0 : 1;
}
