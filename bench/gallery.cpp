// Renders each of the 26 drawing operations on a test picture and writes the pictures as BMP
// files, with a Markdown page that shows them one operation a line:
//   gallery <output folder>
// bench/make-gallery.sh turns the BMP files into PNG.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "file/mem_file.h"
#include "gfx/bmp_file.h"
#include "gfx/display.h"
#include "gfx/surface32.h"

namespace {

constexpr int32_t kWidth = 160;
constexpr int32_t kHeight = 120;

uint32_t Rgb(double red, double green, double blue) {
  const auto byte = [](double v) {
    return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : std::lround(v));
  };
  return (byte(red) << 16) | (byte(green) << 8) | byte(blue);
}

// A landscape: sky, sun, a black tree, pure green hills and a checkered road of white and pure
// red, so that the two-level unions show black, green and magenta as well as white.
uint32_t PicturePixel(int32_t x, int32_t y) {
  const double sunX = x - 118.0;
  const double sunY = y - 30.0;
  if (sunX * sunX + sunY * sunY < 18.0 * 18.0) return Rgb(255, 220, 60);
  const bool crown = (x - 32) * (x - 32) + (y - 52) * (y - 52) < 13 * 13;
  const bool trunk = x >= 29 && x < 35 && y >= 52 && y <= 100;
  if (crown || trunk) return 0;
  const double hill = 72 + 10 * std::sin(x / 17.0) + 6 * std::sin(x / 7.0 + 1);
  if (y > 100) return ((x / 8 + y / 8) % 2 == 0) ? Rgb(230, 230, 230) : Rgb(200, 0, 0);
  if (y > hill) return Rgb(0, 170 - (y - hill) * 2, 0);
  const double t = y / hill;
  return Rgb(60 + 190 * t, 120 + 60 * t, 230 - 120 * t);
}

// The key colour around a shaded disc with a white ring: what the keyed blits leave out.
constexpr uint32_t kKeyPixel = 0x00FF00FF;
constexpr uint32_t kKeyArgument = 0x00FF00FF;  // magenta reads the same in either byte order

uint32_t SourcePixel(int32_t x, int32_t y) {
  const double dx = x - 80.0;
  const double dy = y - 60.0;
  const double r = std::sqrt(dx * dx + dy * dy);
  if (r > 52) return kKeyPixel;
  if (r > 46) return Rgb(255, 255, 255);
  return Rgb(30 + 3 * (x - 34), 40 + 2 * (y - 14), 200 - r * 2);
}

// Red grows outwards from the centre, green to the right, blue down in steps of 32: smooth
// weights for the mask blends and bands for the mask key.
constexpr uint32_t kMaskKey = 0x60;

uint32_t MaskPixel(int32_t x, int32_t y) {
  const double dx = x - 80.0;
  const double dy = y - 60.0;
  const double r = std::sqrt(dx * dx + dy * dy);
  return (static_cast<uint32_t>(r * 2.5 > 255 ? 255 : r * 2.5) << 16) |
         (static_cast<uint32_t>(x * 255 / (kWidth - 1)) << 8) | ((y * 8 / kHeight) * 32);
}

void Paint(Surface32& surface, uint32_t (*pixelAt)(int32_t, int32_t)) {
  uint32_t* p = surface.Lock();
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) p[y * surface.Pitch() + x] = pixelAt(x, y);
  }
  surface.Unlock();
}

bool Save(Surface32& surface, const std::string& path) {
  return SaveBmp(path.c_str(), &surface, 24, BmpRows::kBottomUp) == RC_OK;
}

struct Inputs {
  Surface32* dest;
  Surface32* source;
  Surface32* mask;
  Surface32* picture;  // an untouched copy of the landscape, for BlurFrom
};

struct Shown {
  const char* name;
  const char* call;
  std::function<ResultCode(Inputs&)> draw;
};

std::vector<Shown> Operations() {
  static const Rect inner{20, 15, 140, 105};
  static const Rect centre{40, 30, 120, 90};
  static const Rect left{0, 0, 80, 120};
  return {
      {"FillRect", "FillRect(0x3060C0, (20,15)-(140,105))",
       [](Inputs& in) { return in.dest->FillRect(0x3060C0, &inner); }},
      {"FrameRect", "FrameRect(0x00FFFF, (20,15)-(140,105))",
       [](Inputs& in) { return in.dest->FrameRect(0x00FFFF, &inner); }},
      {"MaskOrColor", "MaskOrColor(0, whole)",
       [](Inputs& in) { return in.dest->MaskOrColor(0, nullptr); }},
      {"ClearRect", "ClearRect(0, (40,30)-(120,90))",
       [](Inputs& in) { return in.dest->ClearRect(0, &centre); }},
      {"ScreenColor", "ScreenColor(0x808080, whole)",
       [](Inputs& in) { return in.dest->ScreenColor(0x808080, nullptr); }},
      {"MultiplyColor", "MultiplyColor(0x40C0FF, whole)",
       [](Inputs& in) { return in.dest->MultiplyColor(0x40C0FF, nullptr); }},
      {"GrayAverage", "GrayAverage(whole)",
       [](Inputs& in) { return in.dest->GrayAverage(nullptr); }},
      {"GrayWeighted", "GrayWeighted((0,0)-(80,120))",
       [](Inputs& in) { return in.dest->GrayWeighted(&left); }},
      {"Mosaic", "Mosaic(8, whole, step 1, origin (0,0))",
       [](Inputs& in) { return in.dest->Mosaic(8, nullptr, 1, 0, 0); }},
      {"BlurFrom", "BlurFrom(radius 4, the landscape, whole, step 1)",
       [](Inputs& in) { return in.dest->BlurFrom(4, in.picture, nullptr, 1); }},
      {"Blt", "Blt(20, 10, source, whole)",
       [](Inputs& in) { return in.dest->Blt(20, 10, in.source, nullptr); }},
      {"BltKeyed", "BltKeyed(20, 10, source, whole, key magenta)",
       [](Inputs& in) { return in.dest->BltKeyed(20, 10, in.source, nullptr, kKeyArgument); }},
      {"BltKeyedMesh", "BltKeyedMesh(20, 10, source, whole, key magenta)",
       [](Inputs& in) { return in.dest->BltKeyedMesh(20, 10, in.source, nullptr, kKeyArgument); }},
      {"BltKeyedBlend", "BltKeyedBlend(20, 10, source, whole, key magenta, weights 0x808080)",
       [](Inputs& in) {
         return in.dest->BltKeyedBlend(20, 10, in.source, nullptr, kKeyArgument, 0x808080);
       }},
      {"BltMesh", "BltMesh(20, 10, source, whole)",
       [](Inputs& in) { return in.dest->BltMesh(20, 10, in.source, nullptr); }},
      {"BltDissolveRange", "BltDissolveRange(0, 0, source, whole, levels 0 to 7)",
       [](Inputs& in) { return in.dest->BltDissolveRange(0, 0, in.source, nullptr, 0, 8); }},
      {"BltDissolve", "BltDissolve(0, 0, source, whole, level 4)",
       [](Inputs& in) { return in.dest->BltDissolve(0, 0, in.source, nullptr, 4); }},
      {"BltMaskOr", "BltMaskOr(0, 0, source, whole)",
       [](Inputs& in) { return in.dest->BltMaskOr(0, 0, in.source, nullptr); }},
      {"BltClear", "BltClear(40, 30, source, (40,30)-(120,90))",
       [](Inputs& in) { return in.dest->BltClear(40, 30, in.source, &centre); }},
      {"BltMultiply", "BltMultiply(0, 0, source, whole)",
       [](Inputs& in) { return in.dest->BltMultiply(0, 0, in.source, nullptr); }},
      {"BltBlendLevel", "BltBlendLevel(0, 0, source, whole, level 0x60)",
       [](Inputs& in) { return in.dest->BltBlendLevel(0, 0, in.source, nullptr, 0x60); }},
      {"BltBlendColor", "BltBlendColor(0, 0, source, whole, weights 0x20C0FF)",
       [](Inputs& in) { return in.dest->BltBlendColor(0, 0, in.source, nullptr, 0x20C0FF); }},
      {"BltBlendHalf", "BltBlendHalf(0, 0, source, whole)",
       [](Inputs& in) { return in.dest->BltBlendHalf(0, 0, in.source, nullptr); }},
      {"BltMaskBlend", "BltMaskBlend(0, 0, source, whole, mask, 0, 0)",
       [](Inputs& in) { return in.dest->BltMaskBlend(0, 0, in.source, nullptr, in.mask, 0, 0); }},
      {"BltMaskMultiply", "BltMaskMultiply(0, 0, source, whole, mask, 0, 0)",
       [](Inputs& in) {
         return in.dest->BltMaskMultiply(0, 0, in.source, nullptr, in.mask, 0, 0);
       }},
      {"BltMaskKey", "BltMaskKey(0, 0, source, whole, mask, 0, 0, key 0x60)",
       [](Inputs& in) {
         return in.dest->BltMaskKey(0, 0, in.source, nullptr, in.mask, 0, 0, kMaskKey);
       }},
  };
}

Surface32* MakeSurface(Display& display) {
  Surface32* surface = display.CreateSurface32(Display::kHeapKind);
  if (surface == nullptr || surface->Create(kWidth, kHeight) != RC_OK) return nullptr;
  return surface;
}

const char kPageHead[] =
    "# Gallery of the drawing operations\n\n"
    "Each of the 26 operations drawn once on the landscape below, with the source and the mask\n"
    "where it reads them (160 x 120 pixels each). Colour, key and weights arguments are written\n"
    "as the operations take them, 0x00BBGGRR. Regenerate the pictures and this page with\n"
    "`bash bench/make-gallery.sh`.\n\n"
    "The source is magenta (the key of the keyed blits) around a shaded disc. The mask's red\n"
    "grows from the centre, its green to the right and its blue downwards in bands of 32, so\n"
    "`BltMaskKey` with key 0x60 picks one band.\n\n"
    "| Landscape (destination) | Source | Mask |\n"
    "|---|---|---|\n"
    "| ![landscape](gallery/picture.png) | ![source](gallery/source.png) | "
    "![mask](gallery/mask.png) |\n\n"
    "| Operation | Call | Result |\n"
    "|---|---|---|\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gallery <output folder>\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  Display display;
  Inputs in{MakeSurface(display), MakeSurface(display), MakeSurface(display), MakeSurface(display)};
  if (!in.dest || !in.source || !in.mask || !in.picture) {
    std::fprintf(stderr, "cannot make the surfaces\n");
    return 1;
  }
  Paint(*in.source, SourcePixel);
  Paint(*in.mask, MaskPixel);
  Paint(*in.picture, PicturePixel);
  bool saved = Save(*in.picture, folder + "picture.bmp") &&
               Save(*in.source, folder + "source.bmp") && Save(*in.mask, folder + "mask.bmp");
  std::string page = kPageHead;
  for (const Shown& op : Operations()) {
    Paint(*in.dest, PicturePixel);
    const ResultCode result = op.draw(in);
    if (result != RC_OK) {
      std::fprintf(stderr, "%s returned %d\n", op.name, result);
      return 1;
    }
    saved = saved && Save(*in.dest, folder + op.name + ".bmp");
    page += std::string("| `") + op.name + "` | `" + op.call + "` | ![" + op.name +
            "](gallery/" + op.name + ".png) |\n";
  }
  MemFile markdown;
  markdown.Allocate(static_cast<uint32_t>(page.size()));
  uint32_t moved = 0;
  const auto pageBytes = static_cast<uint32_t>(page.size());
  saved = saved && markdown.WriteBytes(page.data(), pageBytes, &moved) == RC_OK &&
          markdown.Save((folder + "gallery.md").c_str(), pageBytes) == RC_OK;
  if (!saved) {
    std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
