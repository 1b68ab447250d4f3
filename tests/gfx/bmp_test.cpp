// BMP files in and out: exact round trips for both depths and row orders, and a code for every
// kind of bad file, the same whether it comes from memory or from disk.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "file/mem_file.h"
#include "gfx/bmp_file.h"
#include "pixel_pattern.h"
#include "temp_dir.h"
#include "test_surface32.h"

namespace {

struct Shape {
  int32_t width, height, bits;
  BmpRows rows;
};

TEST(BmpTest, RoundTripsAreExact) {
  TempDir dir;
  const std::string path = dir.Path("絵.bmp");
  for (const Shape& s : {Shape{1, 1, 24, BmpRows::kBottomUp}, Shape{3, 2, 24, BmpRows::kTopDown},
                         Shape{5, 4, 32, BmpRows::kBottomUp}, Shape{2, 3, 32, BmpRows::kTopDown},
                         Shape{7, 5, 24, BmpRows::kBottomUp}}) {
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
    EXPECT_EQ(info.width, s.width);
    EXPECT_EQ(info.height, s.height);
    EXPECT_EQ(info.bitsPerPixel, s.bits);
    EXPECT_EQ(info.rows, s.rows);
    TestSurface32 back(s.width, s.height, s.width + 1);
    back.Fill(0xFFFFFFFF);
    ASSERT_EQ(LoadBmp(path.c_str(), &back), RC_OK);
    for (int32_t y = 0; y < s.height; ++y)
      for (int32_t x = 0; x < s.width; ++x) ASSERT_EQ(back.At(x, y), picture.At(x, y));
  }
}

// A valid 2 x 2 file of 24 or 32 bits, 40-byte info header, bottom-up, for the cases to spoil.
std::string ValidFile(uint16_t bits) {
  TestSurface32 picture(2, 2, 2);
  FillPattern(picture, 3);
  MemFile out;
  EncodeBmp(&picture, bits, BmpRows::kBottomUp, &out);
  return std::string(reinterpret_cast<char*>(out.GetBuffer()), out.GetCapacity());
}

void Put32(std::string& file, size_t at, uint32_t value) { std::memcpy(&file[at], &value, 4); }
void Put16(std::string& file, size_t at, uint16_t value) { std::memcpy(&file[at], &value, 2); }

// 32 bits with colour masks after a 40-byte header, or inside a 124-byte one.
std::string WithMasks(uint32_t infoBytes, uint32_t red, uint32_t green, uint32_t blue) {
  std::string file = ValidFile(32);
  const std::string pixels = file.substr(54);
  file.resize(14 + infoBytes + (infoBytes == 40 ? 12 : 0), '\0');
  Put32(file, 14, infoBytes);
  Put32(file, 30, 3);
  Put32(file, 54, red);
  Put32(file, 58, green);
  Put32(file, 62, blue);
  Put32(file, 10, static_cast<uint32_t>(file.size()));
  return file + pixels;
}

struct BadCase {
  const char* name;
  std::function<std::string()> file;
  ResultCode expected;
};

TEST(BmpTest, EveryFileGetsItsCodeAndBadOnesLeaveTheSurface) {
  const auto spoil = [](uint16_t bits, std::function<void(std::string&)> how) {
    return [=] {
      std::string file = ValidFile(bits);
      how(file);
      return file;
    };
  };
  const BadCase cases[] = {
      {"empty", [] { return std::string(); }, RC_TRUNCATED},
      {"one byte of magic", [] { return std::string("B"); }, RC_TRUNCATED},
      {"wrong magic", spoil(24, [](std::string& f) { f[1] = 'A'; }), RC_NOT_BMP},
      {"file header only", spoil(24, [](std::string& f) { f.resize(14); }), RC_TRUNCATED},
      {"info header cut", spoil(24, [](std::string& f) { f.resize(40); }), RC_TRUNCATED},
      {"last row cut", spoil(24, [](std::string& f) { f.pop_back(); }), RC_TRUNCATED},
      {"OS/2 header", spoil(24, [](std::string& f) { Put32(f, 14, 12); }), RC_BMP_UNSUPPORTED},
      {"unknown header", spoil(24, [](std::string& f) { Put32(f, 14, 41); }), RC_NOT_BMP},
      {"two planes", spoil(24, [](std::string& f) { Put16(f, 26, 2); }), RC_NOT_BMP},
      {"8 bits", spoil(24, [](std::string& f) { Put16(f, 28, 8); }), RC_BMP_UNSUPPORTED},
      {"16 bits", spoil(32, [](std::string& f) { Put16(f, 28, 16); }), RC_BMP_UNSUPPORTED},
      {"run-length", spoil(24, [](std::string& f) { Put32(f, 30, 1); }), RC_BMP_UNSUPPORTED},
      {"24-bit masks", spoil(24, [](std::string& f) { Put32(f, 30, 3); }), RC_BMP_UNSUPPORTED},
      {"plain masks", [] { return WithMasks(40, 0xFF0000, 0xFF00, 0xFF); }, RC_OK},
      {"plain masks, v5", [] { return WithMasks(124, 0xFF0000, 0xFF00, 0xFF); }, RC_OK},
      {"swapped masks", [] { return WithMasks(40, 0xFF, 0xFF00, 0xFF0000); }, RC_BMP_UNSUPPORTED},
      {"masks cut", [] { return WithMasks(40, 0xFF0000, 0xFF00, 0xFF).substr(0, 60); },
       RC_TRUNCATED},
      {"width 0", spoil(24, [](std::string& f) { Put32(f, 18, 0); }), RC_BAD_DIMENSIONS},
      {"width -2", spoil(24, [](std::string& f) { Put32(f, 18, -2u); }), RC_BAD_DIMENSIONS},
      {"height 0", spoil(24, [](std::string& f) { Put32(f, 22, 0); }), RC_BAD_DIMENSIONS},
      {"height INT32_MIN", spoil(24, [](std::string& f) { Put32(f, 22, 0x80000000); }),
       RC_BAD_DIMENSIONS},
      {"bytes past 32 bits",
       spoil(32, [](std::string& f) { Put32(f, 18, 0x10000), Put32(f, 22, 0x10000); }),
       RC_BAD_DIMENSIONS},
      {"largest sizes",
       spoil(24, [](std::string& f) { Put32(f, 18, 0x7FFFFFFF), Put32(f, 22, 0x7FFFFFFF); }),
       RC_BAD_DIMENSIONS},
      {"rows inside headers", spoil(24, [](std::string& f) { Put32(f, 10, 20); }), RC_NOT_BMP},
      {"offset wraps", spoil(24, [](std::string& f) { Put32(f, 10, 0xFFFFFFF0); }),
       RC_TRUNCATED},
      {"another size", spoil(24, [](std::string& f) { Put32(f, 18, 1); }), RC_SIZE_MISMATCH},
  };
  TempDir dir;
  const std::string path = dir.Path("bad.bmp");
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = c.file();
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
    WriteWholeFile(path, file);
    TestSurface32 memory(2, 2, 2), disk(2, 2, 2);
    memory.Fill(0xABCDEF);
    disk.Fill(0xABCDEF);
    EXPECT_EQ(DecodeBmp(bytes, static_cast<uint32_t>(file.size()), &memory), c.expected);
    EXPECT_EQ(LoadBmp(path.c_str(), &disk), c.expected);
    if (c.expected != RC_OK) {
      EXPECT_EQ(memory.Pixels(), std::vector<uint32_t>(memory.Pixels().size(), 0xABCDEF));
      EXPECT_EQ(disk.Pixels(), memory.Pixels());
    } else {
      EXPECT_EQ(memory.At(1, 0), PatternPixel(1, 0, 3));
      EXPECT_EQ(disk.Pixels(), memory.Pixels());
    }
  }
  EXPECT_EQ(LoadBmp(dir.Path("missing.bmp").c_str(), nullptr), RC_OPEN_FAILED);
  EXPECT_EQ(DecodeBmp(nullptr, 4, nullptr), RC_NULL_ARGUMENT);
}

}  // namespace
