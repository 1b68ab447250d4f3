// BMP files in and out: exact round trips for both depths and row orders, and a code for every
// kind of bad file, the same from memory and from disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "file/mem_file.h"
#include "gfx/bmp_file.h"
#include "reference/test_surface32.h"
#include "temp/temp_dir.h"

namespace {

uint32_t Pattern(size_t i) { return (i * 0x9E3779B1u) & 0xFFFFFF; }

void FillPattern(TestSurface32& picture) {
  for (size_t i = 0; i < picture.Pixels().size(); ++i) picture.Pixels()[i] = Pattern(i);
}

TEST(Bmp, RoundTripsAreExact) {
  TempDir dir;
  const std::string path = dir.Path("絵.bmp");
  for (BmpRows rows : {BmpRows::kBottomUp, BmpRows::kTopDown}) {
    for (const auto& [width, height, bits] : {std::tuple{1, 1, 24}, {3, 2, 24}, {5, 4, 32}, {2, 3, 32}}) {
      SCOPED_TRACE(testing::Message() << width << "x" << height << "x" << bits << " rows " << int(rows));
      TestSurface32 picture(width, height, width + 3);
      FillPattern(picture);
      ASSERT_EQ(SaveBmp(path.c_str(), &picture, bits, rows), RC_OK);
      // The file as other programs read it: its size, signed height and first stored row.
      const std::string bytes = ReadWholeFile(path);
      ASSERT_EQ(bytes.size(), 54u + (width * bits / 8 + 3) / 4 * 4 * height);
      int32_t storedHeight = 0;
      std::memcpy(&storedHeight, &bytes[22], 4);
      EXPECT_EQ(storedHeight, rows == BmpRows::kTopDown ? -height : height);
      EXPECT_EQ(uint8_t(bytes[54]), picture.At(0, rows == BmpRows::kTopDown ? 0 : height - 1) & 0xFF);
      BmpInfo info{};
      ASSERT_EQ(ReadBmpInfo(path.c_str(), &info), RC_OK);
      EXPECT_TRUE(info.width == width && info.height == height && info.bitsPerPixel == bits && info.rows == rows);
      TestSurface32 back(width, height, width + 1);
      ASSERT_EQ(LoadBmp(path.c_str(), &back), RC_OK);
      for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) ASSERT_EQ(back.At(x, y), picture.At(x, y));
    }
  }
}

// Valid 2 x 2 files for the cases to spoil: 24 or 32 bits with a 40-byte header, and 32 bits
// with colour masks after a 40-byte header or inside a 124-byte one.
enum Base { k24, k32, kMasks, kMasksV5, kSwappedMasks };

std::string ValidFile(Base base) {
  TestSurface32 picture(2, 2, 2);
  FillPattern(picture);
  MemFile out;
  EncodeBmp(&picture, base == k24 ? 24 : 32, BmpRows::kBottomUp, &out);
  std::string file(reinterpret_cast<char*>(out.GetBuffer()), out.GetCapacity());
  if (base <= k32) return file;
  const uint32_t infoBytes = base == kMasksV5 ? 124 : 40;
  const uint32_t masks[] = {0xFF0000, 0xFF00, base == kSwappedMasks ? 0xFF0000u : 0xFFu};
  const std::string pixels = file.substr(54);
  file.resize(14 + infoBytes + (infoBytes == 40 ? 12 : 0), '\0');
  const uint32_t fields[][2] = {{10, uint32_t(file.size())}, {14, infoBytes}, {30, 3}};
  for (const auto& field : fields) std::memcpy(&file[field[0]], &field[1], 4);
  std::memcpy(&file[54], masks, sizeof masks);
  return file + pixels;
}

// The file of base with bytes bytes of value stored at offset at, then cut to keep bytes.
struct BadCase {
  const char* name;
  Base base;
  size_t at, bytes;
  uint32_t value;
  size_t keep;
  ResultCode expected;
};
constexpr size_t kAll = SIZE_MAX;

TEST(Bmp, EveryFileGetsItsCodeAndBadOnesLeaveTheSurface) {
  const BadCase cases[] = {
      {"empty", k24, 0, 0, 0, 0, RC_TRUNCATED},
      {"wrong magic", k24, 1, 1, 'A', kAll, RC_NOT_BMP},
      {"file header only", k24, 0, 0, 0, 14, RC_TRUNCATED},
      {"info header cut", k24, 0, 0, 0, 40, RC_TRUNCATED},
      {"last row cut", k24, 0, 0, 0, 54 + 2 * 8 - 1, RC_TRUNCATED},
      {"OS/2 header", k24, 14, 4, 12, kAll, RC_BMP_UNSUPPORTED},
      {"unknown header", k24, 14, 4, 41, kAll, RC_NOT_BMP},
      {"two planes", k24, 26, 2, 2, kAll, RC_NOT_BMP},
      {"8 bits", k24, 28, 2, 8, kAll, RC_BMP_UNSUPPORTED},
      {"run-length", k24, 30, 4, 1, kAll, RC_BMP_UNSUPPORTED},
      {"24-bit masks", k24, 30, 4, 3, kAll, RC_BMP_UNSUPPORTED},
      {"plain masks", kMasks, 0, 0, 0, kAll, RC_OK},
      {"plain masks, v5", kMasksV5, 0, 0, 0, kAll, RC_OK},
      {"swapped masks", kSwappedMasks, 0, 0, 0, kAll, RC_BMP_UNSUPPORTED},
      {"masks cut", kMasks, 0, 0, 0, 60, RC_TRUNCATED},
      {"width 0", k24, 18, 4, 0, kAll, RC_BAD_DIMENSIONS},
      {"width -2", k24, 18, 4, uint32_t(-2), kAll, RC_BAD_DIMENSIONS},
      {"height INT32_MIN", k24, 22, 4, 0x80000000, kAll, RC_BAD_DIMENSIONS},
      {"bytes past 31 bits", k32, 18, 4, 0x10000000, kAll, RC_BAD_DIMENSIONS},
      {"rows inside headers", k24, 10, 4, 20, kAll, RC_NOT_BMP},
      {"offset wraps", k24, 10, 4, 0xFFFFFFF0, kAll, RC_TRUNCATED},
      {"another size", k24, 18, 4, 1, kAll, RC_SIZE_MISMATCH},
  };
  TempDir dir;
  const std::string path = dir.Path("bad.bmp");
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = ValidFile(c.base);
    std::memcpy(&file[c.at], &c.value, c.bytes);
    file.resize(std::min(c.keep, file.size()));
    WriteWholeFile(path, file);
    TestSurface32 memory(2, 2, 2), disk(2, 2, 2);
    memory.Pixels().assign(5, 0xABCDEF);
    disk.Pixels().assign(5, 0xABCDEF);
    EXPECT_EQ(DecodeBmp(reinterpret_cast<const uint8_t*>(file.data()), uint32_t(file.size()), &memory), c.expected);
    EXPECT_EQ(LoadBmp(path.c_str(), &disk), c.expected);
    EXPECT_EQ(memory.At(1, 0), c.expected == RC_OK ? Pattern(1) : 0xABCDEF);
    EXPECT_EQ(disk.Pixels(), memory.Pixels());
  }
  EXPECT_EQ(LoadBmp(dir.Path("missing.bmp").c_str(), nullptr), RC_OPEN_FAILED);
  EXPECT_EQ(DecodeBmp(nullptr, 4, nullptr), RC_NULL_ARGUMENT);
}

}  // namespace
