// Hostile BMP files through the reader, from memory and from disk. Every file gets one of the
// reader's codes, the same by both roads; a refused file leaves the surface as it was; an
// accepted one survives being written and read back unchanged. AddressSanitizer sees a read
// past the input, which libFuzzer allocates to its exact size.
#include <memory>
#include <vector>

#include "file/mem_file.h"
#include "fuzz_support.h"
#include "gfx/bmp_file.h"
#include "gfx/display.h"
#include "gfx/surface32.h"

namespace {

constexpr uint32_t kUntouched = 0x00C0FFEE;

bool IsReaderCode(ResultCode rc) {
  return rc == RC_OK || rc == RC_NOT_BMP || rc == RC_BMP_UNSUPPORTED || rc == RC_TRUNCATED ||
         rc == RC_BAD_DIMENSIONS || rc == RC_SIZE_MISMATCH;
}

std::vector<uint32_t> PixelsOf(Surface32& surface) {
  std::vector<uint32_t> pixels;
  const uint32_t* p = surface.Lock();
  for (int32_t y = 0; p && y < surface.Height(); ++y)
    pixels.insert(pixels.end(), p + y * surface.Pitch(), p + y * surface.Pitch() + surface.Width());
  surface.Unlock();
  return pixels;
}

Surface32* MakeSurface(Display& display, int32_t width, int32_t height) {
  Surface32* surface = display.CreateSurface32(Display::kHeapKind);
  FUZZ_CHECK(surface && surface->Create(width, height) == RC_OK, "a small surface");
  surface->FillRect(kUntouched, nullptr);
  return surface;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  const auto bytes = static_cast<uint32_t>(size);
  BmpInfo info{};
  const ResultCode infoRc = DecodeBmpInfo(data, bytes, &info);
  FUZZ_CHECK(IsReaderCode(infoRc) && infoRc != RC_SIZE_MISMATCH, "a code for the headers");

  // The rows lie inside the input, so an accepted picture is small; a refused one gets 2 x 1.
  Display display;
  const bool accepted = infoRc == RC_OK;
  Surface32* memory = MakeSurface(display, accepted ? info.width : 2, accepted ? info.height : 1);
  Surface32* disk = MakeSurface(display, memory->Width(), memory->Height());
  const std::vector<uint32_t> before = PixelsOf(*memory);

  const ResultCode decodeRc = DecodeBmp(data, bytes, memory);
  FUZZ_CHECK(IsReaderCode(decodeRc), "a code for the pixels");
  FUZZ_CHECK(accepted ? decodeRc == RC_OK : decodeRc != RC_OK, "decode agrees with the headers");
  if (decodeRc != RC_OK) FUZZ_CHECK(PixelsOf(*memory) == before, "a refused file changes nothing");

  const std::string path = ScratchFolder() + "/in.bmp";
  DiskFile file;
  FUZZ_EXPECT_EQ(file.CreateWrite(path.c_str()), RC_OK, "the input on disk");
  if (bytes != 0) file.Write(data, bytes);
  FUZZ_EXPECT_EQ(static_cast<uint32_t>(file.GetFilePosition()), bytes, "the whole input written");
  file.Close();
  FUZZ_EXPECT_EQ(LoadBmp(path.c_str(), disk), decodeRc, "disk and memory agree");
  FUZZ_CHECK(PixelsOf(*disk) == PixelsOf(*memory), "disk and memory give the same pixels");

  if (!accepted) return 0;
  MemFile written;
  FUZZ_EXPECT_EQ(EncodeBmp(memory, info.bitsPerPixel, info.rows, &written), RC_OK, "encode");
  FUZZ_EXPECT_EQ(DecodeBmp(written.GetBuffer(), written.GetCapacity(), disk), RC_OK, "re-read");
  FUZZ_CHECK(PixelsOf(*disk) == PixelsOf(*memory), "a written picture reads back the same");
  return 0;
}
