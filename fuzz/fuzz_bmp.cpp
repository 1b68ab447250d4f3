// Hostile BMP files through the reader, from memory and from disk. Every file gets one of the
// reader's codes, the same by both roads and for the headers alone; a refused file leaves the
// surface as it was. AddressSanitizer sees a read past the input, which libFuzzer allocates to
// its exact size.
#include <vector>

#include "file/disk_file.h"
#include "fuzz_support.h"
#include "gfx/bmp_file.h"
#include "gfx/display.h"
#include "gfx/surface32.h"

namespace {

std::vector<uint32_t> PixelsOf(Surface32& surface) {
  const uint32_t* p = surface.Lock();
  return std::vector<uint32_t>(p, p + surface.Pitch() * surface.Height());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  const auto bytes = static_cast<uint32_t>(size);
  BmpInfo info{};
  const ResultCode infoRc = DecodeBmpInfo(data, bytes, &info);
  FUZZ_CHECK(infoRc == RC_OK || (infoRc >= RC_NOT_BMP && infoRc < RC_SIZE_MISMATCH), "a code");
  // The rows lie inside the input, so an accepted picture is small; a refused one gets 2 x 1.
  Display display;
  Surface32* memory = display.CreateSurface32(Display::kHeapKind);
  Surface32* disk = display.CreateSurface32(Display::kHeapKind);
  for (Surface32* s : {memory, disk}) {
    FUZZ_CHECK(s->Create(infoRc ? 2 : info.width, infoRc ? 1 : info.height) == RC_OK, "a surface");
    s->FillRect(0xC0FFEE, nullptr);
  }
  const std::vector<uint32_t> before = PixelsOf(*memory);
  FUZZ_EXPECT_EQ(DecodeBmp(data, bytes, memory), infoRc, "pixels and headers agree");
  if (infoRc != RC_OK) FUZZ_CHECK(PixelsOf(*memory) == before, "a refused file changes nothing");
  const std::string path = ScratchFolder() + "/in.bmp";
  DiskFile file;
  FUZZ_EXPECT_EQ(file.CreateWrite(path.c_str()), RC_OK, "the input on disk");
  if (bytes != 0) file.Write(data, bytes);
  file.Close();
  FUZZ_EXPECT_EQ(LoadBmp(path.c_str(), disk), infoRc, "disk and memory agree");
  FUZZ_CHECK(PixelsOf(*disk) == PixelsOf(*memory), "disk and memory give the same pixels");
  return 0;
}
