// Shuffled rounds: each picture once per round, no repeat across the seam
// of two rounds, and pictures found during a round joining it.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

#include "library/ShuffledRounds.h"

using library::ShuffledRounds;

namespace {
library::RandomFn Seeded(unsigned seed) {
  auto engine = std::make_shared<std::mt19937>(seed);
  return [engine](int bound) { return bound <= 0 ? 0 : static_cast<int>((*engine)() % bound); };
}
}  // namespace

TEST(ShuffledRounds, EveryPictureOnceARoundAndNoRepeatAcrossRounds) {
  for (unsigned n : {2u, 3u, 7u, 100u}) {
    for (unsigned seed = 0; seed < 20; ++seed) {
      const auto random = Seeded(seed);
      ShuffledRounds rounds;
      rounds.Grow(n, random);
      int previous = -1;
      for (int round = 0; round < 30; ++round) {
        std::set<int> seen;
        for (unsigned k = 0; k < n; ++k) {
          const int next = rounds.Next(random);
          ASSERT_NE(next, previous) << "n " << n << " seed " << seed << " round " << round;
          ASSERT_TRUE(seen.insert(next).second);
          ASSERT_LT(next, static_cast<int>(n));
          previous = next;
        }
      }
    }
  }
}

TEST(ShuffledRounds, OrdersDifferFromRoundToRound) {
  const auto random = Seeded(7);
  ShuffledRounds rounds;
  rounds.Grow(20, random);
  std::set<std::vector<int>> orders;
  for (int round = 0; round < 5; ++round) {
    std::vector<int> order;
    for (int k = 0; k < 20; ++k) order.push_back(rounds.Next(random));
    orders.insert(order);
  }
  EXPECT_EQ(orders.size(), 5u);
}

TEST(ShuffledRounds, PicturesFoundDuringARoundJoinIt) {
  const auto random = Seeded(3);
  ShuffledRounds rounds;
  rounds.Grow(3, random);
  std::set<int> seen = {rounds.Next(random), rounds.Next(random)};
  rounds.Grow(10, random);  // the walk found seven more
  for (int k = 0; k < 8; ++k) EXPECT_TRUE(seen.insert(rounds.Next(random)).second);
  EXPECT_EQ(seen.size(), 10u);
}

TEST(ShuffledRounds, EmptyAndSingleLists) {
  const auto random = Seeded(1);
  ShuffledRounds rounds;
  EXPECT_EQ(rounds.Next(random), -1);
  rounds.Grow(1, random);
  EXPECT_EQ(rounds.Next(random), 0);
  EXPECT_EQ(rounds.Next(random), 0);  // the only picture comes again
}

TEST(ShuffledRounds, ARandomSourceOutOfRangeIsHeldIn) {
  ShuffledRounds rounds;
  const library::RandomFn wild = [](int) { return -5; };
  rounds.Grow(4, wild);
  std::set<int> seen;
  for (int k = 0; k < 4; ++k) seen.insert(rounds.Next(wild));
  EXPECT_EQ(seen.size(), 4u);
}
