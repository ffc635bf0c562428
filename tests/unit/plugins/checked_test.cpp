// The checked arithmetic every decoder's sizes go through, at the edges of
// the 32-bit size_t the shipped DLLs and program have.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "Checked.h"

namespace {

TEST(Checked, ProductsThatWrapIn32BitsFail) {
  static_assert(sizeof(std::size_t) == 4, "the shipped build is 32-bit");
  std::size_t bytes = 0;
  EXPECT_FALSE(checked::Mul(std::size_t{66050}, 65026, bytes)) << "2 x 33025 x 65026 = 2^32 + 4";
  EXPECT_TRUE(checked::Mul(std::size_t{65535}, 65535, bytes));
  EXPECT_EQ(bytes, 4294836225u);
  int small = 0;
  EXPECT_FALSE(checked::Mul(65536, 32768, small));
}

TEST(Checked, RangesMayEndAtTheEndButNotPastIt) {
  EXPECT_TRUE(checked::InRange(std::size_t{6}, 16, std::size_t{22}));
  EXPECT_FALSE(checked::InRange(std::size_t{6}, 17, std::size_t{22}));
  EXPECT_TRUE(checked::InRange(22u, 0u, std::size_t{22}));
  EXPECT_FALSE(checked::InRange(0xFFFFFFF0u, 0x20u, std::size_t{64})) << "offset + size wraps to 16";
  EXPECT_FALSE(checked::InRange(-1, 2, 10)) << "negative offsets are never in range";
  EXPECT_FALSE(checked::InRange(2, -1, 10));
}

TEST(Checked, DifferencesAndNarrowingOutsideTheTypeFail) {
  int32_t d = 0;
  EXPECT_FALSE(checked::Sub(INT32_MIN, INT32_MAX - 1000, d)) << "wraps to 1001 in 32 bits";
  EXPECT_TRUE(checked::Sub(-5, 10, d));
  EXPECT_EQ(d, -15);
  unsigned u = 0;
  EXPECT_FALSE(checked::Sub(3u, 4u, u));
  std::size_t n = 0;
  EXPECT_FALSE(checked::Narrow(-1L, n));
  EXPECT_FALSE(checked::Narrow(5000000000LL, n));
  EXPECT_TRUE(checked::Narrow(4294967295LL, n));
  EXPECT_EQ(n, 4294967295u);
  std::size_t sum = 0;
  EXPECT_FALSE(checked::Add(std::size_t{0xFFFFFFFF}, 1, sum));
}

}  // namespace
