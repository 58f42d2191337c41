// Encoding of machine values.
#include <gtest/gtest.h>

#include "values.h"

namespace {

TEST(VmValues, EncodingOfIntegersReferencesAndNil) {
  EXPECT_EQ(vm::makeInt(-1), -2);  // integer -1 is not nil
  EXPECT_FALSE(vm::isNil(vm::makeInt(-1)));
  EXPECT_TRUE(vm::isNil(-1));
  EXPECT_EQ(vm::intOf(vm::makeInt(-123456)), -123456);
  EXPECT_EQ(vm::intOf(vm::makeInt(0x3FFFFFFF)), 0x3FFFFFFF);
  EXPECT_EQ(vm::makeRef(0), 1);
  EXPECT_EQ(vm::makeRef(40), 81);
  EXPECT_EQ(vm::blockOf(81), 40);
  EXPECT_EQ(vm::blockOf(vm::kNil), -1);
  EXPECT_TRUE(vm::isRef(1));
  EXPECT_FALSE(vm::isRef(-1));
  EXPECT_FALSE(vm::isRef(vm::makeInt(3)));
  EXPECT_EQ(vm::floatFromBits(vm::bitsFromFloat(1.5f)), 1.5f);
}

}  // namespace
