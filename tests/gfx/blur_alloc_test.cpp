// BlurFrom without working memory. Array allocations are replaced for this program so that
// they can be made to fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "reference/draw_reference.h"
#include "pixel_pattern.h"
#include "reference/test_surface32.h"

namespace {
bool failArrays = false;

void* AllocateArray(std::size_t size) { return std::malloc(size ? size : 1); }
}  // namespace

void* operator new[](std::size_t size) {
  void* block = AllocateArray(size);
  if (!block) std::abort();
  return block;
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return failArrays ? nullptr : AllocateArray(size);
}
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace {

class ArraysFail {
 public:
  ArraysFail() { failArrays = true; }
  ~ArraysFail() { failArrays = false; }
};

// BlurFrom's running sums need working memory; without it the direct method must draw what the
// reference model draws.
TEST(BlurWithoutMemory, FallsBackToTheDirectMethod) {
  struct Case {
    int32_t radius, step;
    Rect rect;
  };
  const Case cases[] = {{5, 2, {2, 1, 21, 16}}, {3, 1, {-4, 0, 30, 9}}, {9, 4, {0, 0, 23, 17}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "radius " << c.radius << " step " << c.step);
    TestSurface32 dest(23, 17, 25), source(23, 17, 23);
    FillPattern(dest, 3);
    FillPattern(source, 4);
    std::vector<RefImage> images{{"d", 23, 17, 25, dest.Pixels()}, {"s", 23, 17, 23, source.Pixels()}};
    DrawCall call;
    call.op = DrawOp::BlurFrom;
    call.source = 1;
    call.hasRect = true;
    call.rect = c.rect;
    call.n[0] = c.radius;
    call.n[1] = c.step;
    std::vector<std::string> log;
    const ResultCode expected = RunReference(call, images, log);
    ArraysFail failing;
    EXPECT_EQ(dest.BlurFrom(c.radius, &source, &c.rect, c.step), expected);
    EXPECT_EQ(dest.Pixels(), images[0].pixels);
  }
}

}  // namespace
