// Reaches the library through the installed headers alone: a picture made on one surface,
// written as a BMP in memory and read into another.
#include <cstdio>

#include "file/mem_file.h"
#include "gfx/bmp_codec.h"
#include "gfx/display.h"
#include "gfx/kernel_path.h"
#include "gfx/surface32.h"

int main() {
  Display display;
  Surface32* picture = display.CreateSurface32(Display::kHeapKind);
  Surface32* copy = display.CreateSurface32(Display::kHeapKind);
  if (!picture || !copy || picture->Create(8, 4) != RC_OK || copy->Create(8, 4) != RC_OK) return 1;
  const Rect corner{5, 2, 8, 4};
  picture->FillRect(0x0000FF, nullptr);  // red: colours are 0x00BBGGRR
  picture->FillRect(0xFF0000, &corner);
  MemFile bmp;
  if (EncodeBmp(picture, 24, BmpRows::kTopDown, &bmp) != RC_OK ||
      DecodeBmp(bmp.GetBuffer(), bmp.GetCapacity(), copy) != RC_OK)
    return 1;
  const uint32_t* pixels = copy->Lock();
  const bool same = pixels[0] == 0xFF0000 && pixels[3 * copy->Pitch() + 7] == 0x0000FF;
  copy->Unlock();
  std::printf("%s path: %s\n", KernelPathName(CurrentKernelPath()), same ? "same" : "different");
  return same ? 0 : 1;
}
