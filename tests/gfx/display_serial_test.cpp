// Display serials, in a process of their own: the first display of a process is number 1.
#include <gtest/gtest.h>

#include <memory>

#include "gfx/display.h"
#include "gfx/surface32.h"

TEST(DisplaySerial, CountsFromOneWithoutReuseAndStampsSurfaces) {
  ASSERT_EQ(displaySerialCounter, 1);
  auto first = std::make_unique<Display>();
  Display second;
  EXPECT_EQ(first->Serial(), 1);
  EXPECT_EQ(second.Serial(), 2);
  EXPECT_EQ(first->CreateSurface(0)->OwnerSerial(), 1);
  EXPECT_EQ(second.CreateSurface32(1)->OwnerSerial(), 2);

  first.reset();
  Display third;
  EXPECT_EQ(third.Serial(), 3);
  EXPECT_EQ(displaySerialCounter, 4);
}
