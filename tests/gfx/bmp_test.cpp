// BMP files in and out: exact round trips for both depths and row orders through disk, and a
// code for every kind of bad file (fuzz_bmp shows that disk and memory agree on any file).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "file/mem_file.h"
#include "gfx/bmp_file.h"
#include "reference/test_surface32.h"
#include "temp/temp_dir.h"

namespace {

void FillPattern(TestSurface32& picture) {
  for (size_t i = 0; i < picture.Pixels().size(); ++i) picture.Pixels()[i] = (i * 0x9E3779B1u) & 0xFFFFFF;
}

TEST(Bmp, RoundTripsAreExact) {
  TempDir dir;
  const std::string path = dir.Path("絵.bmp");
  for (const auto& [width, height, bits] : {std::tuple{1, 1, 24}, {3, 2, 24}, {5, 4, 32}, {2, 3, 32}}) {
    for (BmpRows rows : {BmpRows::kBottomUp, BmpRows::kTopDown}) {
      SCOPED_TRACE(testing::Message() << width << "x" << height << "x" << bits << " rows " << int(rows));
      const bool topDown = rows == BmpRows::kTopDown;
      TestSurface32 picture(width, height, width + 3), back(width, height, width + 1);
      FillPattern(picture);
      ASSERT_EQ(SaveBmp(path.c_str(), &picture, bits, rows), RC_OK);
      // The file as other programs read it: its size, signed height and first stored row.
      const std::string bytes = ReadWholeFile(path);
      int32_t storedHeight = 0;
      std::memcpy(&storedHeight, &bytes[22], 4);
      EXPECT_EQ(bytes.size(), 54u + (width * bits / 8 + 3) / 4 * 4 * height);
      EXPECT_EQ(storedHeight, topDown ? -height : height);
      EXPECT_EQ(uint8_t(bytes[54]), picture.At(0, topDown ? 0 : height - 1) & 0xFF);
      BmpInfo info{};
      ASSERT_EQ(ReadBmpInfo(path.c_str(), &info), RC_OK);
      EXPECT_TRUE(info.width == width && info.height == height && info.bitsPerPixel == bits);
      EXPECT_EQ(info.rows, rows);
      ASSERT_EQ(LoadBmp(path.c_str(), &back), RC_OK);
      for (int32_t i = 0; i < width * height; ++i)
        ASSERT_EQ(back.At(i % width, i / width), picture.At(i % width, i / width));
    }
  }
}

// A valid 2 x 2 file of 24 or 32 bits, for the cases to spoil.
std::string ValidFile(int32_t bits) {
  TestSurface32 picture(2, 2, 2);
  FillPattern(picture);
  MemFile out;
  EncodeBmp(&picture, bits, BmpRows::kBottomUp, &out);
  return std::string(reinterpret_cast<char*>(out.GetBuffer()), out.GetCapacity());
}

// The valid file of bits with bytes bytes of value stored at offset at, then cut to keep bytes.
struct BadCase {
  const char* name;
  int32_t bits;
  size_t at, bytes;
  uint32_t value;
  size_t keep;
  ResultCode expected;
};
constexpr size_t kAll = SIZE_MAX;

TEST(Bmp, EveryBadFileGetsItsCodeAndLeavesTheSurface) {
  const BadCase cases[] = {
      {"empty", 24, 0, 0, 0, 0, RC_TRUNCATED},
      {"wrong magic", 24, 1, 1, 'A', kAll, RC_NOT_BMP},
      {"file header only", 24, 0, 0, 0, 14, RC_TRUNCATED},
      {"info header cut", 24, 0, 0, 0, 40, RC_TRUNCATED},
      {"last row cut", 24, 0, 0, 0, 54 + 2 * 8 - 1, RC_TRUNCATED},
      {"OS/2 header", 24, 14, 4, 12, kAll, RC_BMP_UNSUPPORTED},
      {"unknown header", 24, 14, 4, 41, kAll, RC_NOT_BMP},
      {"two planes", 24, 26, 2, 2, kAll, RC_NOT_BMP},
      {"8 bits", 24, 28, 2, 8, kAll, RC_BMP_UNSUPPORTED},
      {"run-length", 24, 30, 4, 1, kAll, RC_BMP_UNSUPPORTED},
      {"24-bit masks", 24, 30, 4, 3, kAll, RC_BMP_UNSUPPORTED},
      {"width 0", 24, 18, 4, 0, kAll, RC_BAD_DIMENSIONS},
      {"width -2", 24, 18, 4, uint32_t(-2), kAll, RC_BAD_DIMENSIONS},
      {"height INT32_MIN", 24, 22, 4, 0x80000000, kAll, RC_BAD_DIMENSIONS},
      {"bytes past 31 bits", 32, 18, 4, 0x10000000, kAll, RC_BAD_DIMENSIONS},
      {"rows inside headers", 24, 10, 4, 20, kAll, RC_NOT_BMP},
      {"offset wraps", 24, 10, 4, 0xFFFFFFF0, kAll, RC_TRUNCATED},
      {"another size", 24, 18, 4, 1, kAll, RC_SIZE_MISMATCH},
  };
  for (const BadCase& c : cases) {
    std::string file = ValidFile(c.bits);
    std::memcpy(&file[c.at], &c.value, c.bytes);
    file.resize(std::min(c.keep, file.size()));
    TestSurface32 surface(2, 2, 2);
    surface.Pixels().assign(5, 0xABCDEF);
    EXPECT_EQ(DecodeBmp(reinterpret_cast<const uint8_t*>(file.data()), uint32_t(file.size()), &surface),
              c.expected) << c.name;
    EXPECT_EQ(surface.Pixels(), std::vector<uint32_t>(5, 0xABCDEF)) << c.name;
  }
  EXPECT_EQ(DecodeBmp(nullptr, 4, nullptr), RC_NULL_ARGUMENT);
  EXPECT_EQ(LoadBmp("", nullptr), RC_OPEN_FAILED);
}

}  // namespace
