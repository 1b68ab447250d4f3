// BMP files in and out: exact round trips for both depths and row orders, and a code for every
// kind of bad file, the same whether it comes from memory or from disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "file/mem_file.h"
#include "gfx/bmp_file.h"
#include "pixel_pattern.h"
#include "reference/test_surface32.h"
#include "temp/temp_dir.h"

namespace {

struct Shape {
  int32_t width, height, bits;
  BmpRows rows;
};

TEST(BmpTest, RoundTripsAreExact) {
  TempDir dir;
  const std::string path = dir.Path("絵.bmp");
  for (const Shape& s : {Shape{1, 1, 24, BmpRows::kBottomUp}, Shape{3, 2, 24, BmpRows::kTopDown},
                         Shape{5, 4, 32, BmpRows::kBottomUp}, Shape{2, 3, 32, BmpRows::kTopDown}}) {
    SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height) + "x" +
                 std::to_string(s.bits) + (s.rows == BmpRows::kTopDown ? " top-down" : ""));
    TestSurface32 picture(s.width, s.height, s.width + 3);
    FillPattern(picture, 7);
    ASSERT_EQ(SaveBmp(path.c_str(), &picture, s.bits, s.rows), RC_OK);

    // The file as other programs read it: size, signed height, first stored row.
    const std::string bytes = ReadWholeFile(path);
    const int32_t rowBytes = (s.width * s.bits / 8 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 54u + rowBytes * s.height);
    int32_t height = 0;
    std::memcpy(&height, bytes.data() + 22, 4);
    EXPECT_EQ(height, s.rows == BmpRows::kTopDown ? -s.height : s.height);
    const int32_t firstRow = s.rows == BmpRows::kTopDown ? 0 : s.height - 1;
    EXPECT_EQ(static_cast<uint8_t>(bytes[54]), picture.At(0, firstRow) & 0xFF);

    BmpInfo info{};
    ASSERT_EQ(ReadBmpInfo(path.c_str(), &info), RC_OK);
    EXPECT_TRUE(info.width == s.width && info.height == s.height && info.bitsPerPixel == s.bits &&
                info.rows == s.rows);
    TestSurface32 back(s.width, s.height, s.width + 1);
    back.Fill(0xFFFFFFFF);
    ASSERT_EQ(LoadBmp(path.c_str(), &back), RC_OK);
    for (int32_t y = 0; y < s.height; ++y)
      for (int32_t x = 0; x < s.width; ++x) ASSERT_EQ(back.At(x, y), picture.At(x, y));
  }
}

// Valid 2 x 2 files for the cases to spoil: 24 or 32 bits with a 40-byte header, and 32 bits
// with colour masks after a 40-byte header or inside a 124-byte one.
enum Base { k24, k32, kMasks, kMasksV5, kSwappedMasks };

std::string ValidFile(Base base) {
  TestSurface32 picture(2, 2, 2);
  FillPattern(picture, 3);
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

TEST(BmpTest, EveryFileGetsItsCodeAndBadOnesLeaveTheSurface) {
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
    memory.Fill(0xABCDEF);
    disk.Fill(0xABCDEF);
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
    EXPECT_EQ(DecodeBmp(bytes, static_cast<uint32_t>(file.size()), &memory), c.expected);
    EXPECT_EQ(LoadBmp(path.c_str(), &disk), c.expected);
    EXPECT_EQ(memory.At(1, 0), c.expected == RC_OK ? PatternPixel(1, 0, 3) : 0xABCDEF);
    EXPECT_EQ(disk.Pixels(), memory.Pixels());
  }
  EXPECT_EQ(LoadBmp(dir.Path("missing.bmp").c_str(), nullptr), RC_OPEN_FAILED);
  EXPECT_EQ(DecodeBmp(nullptr, 4, nullptr), RC_NULL_ARGUMENT);
}

}  // namespace
