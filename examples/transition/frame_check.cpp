// Compares frames the demo saved under Wine with the same library calls made directly on
// memory surfaces, pixel for pixel.
//   transition_frame_check --list                     the frames to save, comma-separated
//   transition_frame_check FOLDER FROM.bmp TO.bmp     0 when every frame matches
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "gfx/bmp_file.h"
#include "gfx/display.h"
#include "gfx/surface32.h"
#include "show_options.h"
#include "transition_show.h"

namespace {

struct Inputs {
  Surface32* day;
  Surface32* night;
  Surface32* mask;
};

// Frames from each transition and from the second round, where the pictures change places:
// the picture copied first, if any, then the operation.
const struct {
  int32_t frame;
  Surface32* Inputs::*first;
  std::function<ResultCode(const Inputs&, Surface32*)> then;
} kFrames[] = {
    {24, &Inputs::day,  // dissolve, steps 0 to 8
     [](const Inputs& in, Surface32* s) { return s->BltDissolveRange(0, 0, in.night, nullptr, 0, 9); }},
    {47, &Inputs::night, [](const Inputs&, Surface32*) { return RC_OK; }},
    {80, &Inputs::night,  // cross-fade, 33 frames of 60
     [](const Inputs& in, Surface32* s) { return s->BltBlendLevel(0, 0, in.day, nullptr, 140); }},
    {120, &Inputs::day, [](const Inputs&, Surface32* s) { return s->Mosaic(13, nullptr, 1, 0, 0); }},
    {153, &Inputs::night, [](const Inputs&, Surface32* s) { return s->Mosaic(15, nullptr, 1, 0, 0); }},
    {188, &Inputs::night,  // wipe, 21 frames of 60
     [](const Inputs& in, Surface32* s) {
       return s->BltMaskBlend(0, 0, in.day, nullptr, in.mask, kWipeTravel * 39 / 59, 0);
     }},
    {238, nullptr, [](const Inputs& in, Surface32* s) { return s->BlurFrom(11, in.day, nullptr, 1); }},
    {278, nullptr, [](const Inputs& in, Surface32* s) { return s->BlurFrom(10, in.night, nullptr, 1); }},
    {294, &Inputs::night,
     [](const Inputs& in, Surface32* s) { return s->BltDissolveRange(0, 0, in.day, nullptr, 0, 3); }},
};

Surface32* NewSurface(Display& display, int32_t width) {
  Surface32* surface = display.CreateSurface32(Display::kHeapKind);
  return surface && surface->Create(width, kScreenHeight) == RC_OK ? surface : nullptr;
}

bool Load(const std::string& path, Surface32* into) {
  const ResultCode rc = LoadBmp(path.c_str(), into);
  if (rc != RC_OK) std::printf("cannot load %s: code %d\n", path.c_str(), rc);
  return rc == RC_OK;
}

ResultCode DrawDirectly(const Inputs& in, Surface32* Inputs::*first,
                        const std::function<ResultCode(const Inputs&, Surface32*)>& then,
                        Surface32* screen) {
  if (first) {
    if (ResultCode rc = screen->Blt(0, 0, in.*first, nullptr)) return rc;
  }
  return then(in, screen);
}

// The first pixel that differs, described; "" when none does.
std::string FirstDifference(Surface32* saved, Surface32* expected) {
  const uint32_t* a = saved->Lock();
  const uint32_t* b = expected->Lock();
  std::string found;
  for (int32_t y = 0; y < kScreenHeight && found.empty(); ++y) {
    for (int32_t x = 0; x < kScreenWidth && found.empty(); ++x) {
      const uint32_t got = a[y * saved->Pitch() + x], want = b[y * expected->Pitch() + x];
      if (got != want) {
        char text[96];
        std::snprintf(text, sizeof text, "pixel (%d, %d) is %06X, drawn directly %06X",
                      static_cast<int>(x), static_cast<int>(y), got, want);
        found = text;
      }
    }
  }
  expected->Unlock();
  saved->Unlock();
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const auto& f : kFrames) std::printf("%s%d", &f == kFrames ? "" : ",", static_cast<int>(f.frame));
    std::printf("\n");
    return 0;
  }
  if (argc != 4) {
    std::fprintf(stderr, "usage: transition_frame_check --list | FOLDER FROM.bmp TO.bmp\n");
    return 2;
  }
  Display display;
  const Inputs in{NewSurface(display, kScreenWidth), NewSurface(display, kScreenWidth),
                  NewSurface(display, kWipeMaskWidth)};
  Surface32* saved = NewSurface(display, kScreenWidth);
  Surface32* expected = NewSurface(display, kScreenWidth);
  if (!in.day || !in.night || !in.mask || !saved || !expected || PaintWipeMask(in.mask) != RC_OK ||
      !Load(argv[2], in.day) || !Load(argv[3], in.night))
    return 1;
  ShowOptions naming;
  naming.saveFolder = argv[1];
  int failures = 0;
  for (const auto& f : kFrames) {
    std::string problem;
    if (!Load(naming.FramePath(f.frame), saved)) {
      problem = "not saved";
    } else if (const ResultCode rc = DrawDirectly(in, f.first, f.then, expected)) {
      problem = "drawing it directly failed with " + std::to_string(rc);
    } else {
      problem = FirstDifference(saved, expected);
    }
    std::printf("frame %d: %s\n", static_cast<int>(f.frame), problem.empty() ? "same" : problem.c_str());
    failures += problem.empty() ? 0 : 1;
  }
  return failures == 0 ? 0 : 1;
}
