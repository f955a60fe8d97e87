// Generators from a seed: random generator objects (sequences, ranges, the gaussian, saved
// states), the splitting of a rectangle and 2-D noise, each the same for the same seed.
#include "engine/core/BspTree.h"
#include "engine/core/Noise2D.h"
#include "engine/core/RandomGenerator.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

using tw::RandomGenerator;

TEST(RandomGenerator, GivesTheSameSequenceForASeedAndStreamOnly) {
  // The generator's published sequence for seed 42, stream 54.
  RandomGenerator known(42, 54);
  for (std::uint32_t expected : {0xa15c02b7u, 0x7b47f409u, 0xba1d3330u, 0x83d2f293u, 0xbfa4784bu, 0xcbed606eu}) {
    EXPECT_EQ(known.next(), expected);
  }
  RandomGenerator a(7);
  RandomGenerator b(7);
  RandomGenerator other_seed(8);
  RandomGenerator other_stream(7, 1);
  int same_seed = 0, same_stream = 0;
  for (int i = 0; i < 100; i++) {
    const std::uint32_t value = a.next();
    EXPECT_EQ(value, b.next());
    same_seed += value == other_seed.next() ? 1 : 0;
    same_stream += value == other_stream.next() ? 1 : 0;
  }
  EXPECT_LT(same_seed, 3);
  EXPECT_LT(same_stream, 3);
}

TEST(RandomGenerator, StaysWithinItsRangesWithoutFavouringLowNumbers) {
  RandomGenerator random(3);
  const struct {
    int low, high;
  } ranges[] = {{0, 2}, {5, 5}, {10, -3}, {INT_MIN, INT_MAX}, {-1, 0}};
  for (const auto& r : ranges) {
    SCOPED_TRACE(std::to_string(r.low) + ".." + std::to_string(r.high));
    const int lo = std::min(r.low, r.high);
    const int hi = std::max(r.low, r.high);
    bool hit_lo = false, hit_hi = false;
    for (int i = 0; i < 2000; i++) {
      const int value = random.getInt(r.low, r.high);
      ASSERT_TRUE(value >= lo && value <= hi) << value;
      hit_lo = hit_lo || value == lo;
      hit_hi = hit_hi || value == hi;
    }
    EXPECT_TRUE((hit_lo && hit_hi) || static_cast<long long>(hi) - lo >= 100);
  }
  // Three quarters of the 32-bit numbers: a plain remainder would put half
  // the draws into the lowest third.
  const int span_low = INT_MIN;
  const int span_high = static_cast<int>(static_cast<long long>(INT_MIN) + 3LL * (1LL << 30) - 1);
  int in_lowest_third = 0;
  for (int i = 0; i < 6000; i++) {
    in_lowest_third += random.getInt(span_low, span_high) < INT_MIN + (1 << 30) ? 1 : 0;
  }
  EXPECT_NEAR(in_lowest_third / 6000.0, 1.0 / 3.0, 0.04);
  for (int i = 0; i < 2000; i++) {
    const double d = random.getDouble(-2.5, 4.0);
    ASSERT_TRUE(d >= -2.5 && d < 4.0) << d;
    const float f = random.getFloat(1.0f, 1.5f);
    ASSERT_TRUE(f >= 1.0f && f < 1.5f) << f;
  }
}

TEST(RandomGenerator, DrawsGaussiansWithTheirMeanAndDeviation) {
  RandomGenerator random(11);
  double sum = 0, squares = 0;
  const int n = 20000;
  for (int i = 0; i < n; i++) {
    const double value = random.getGaussian(10.0, 2.0);
    sum += value;
    squares += value * value;
  }
  const double mean = sum / n;
  EXPECT_NEAR(mean, 10.0, 0.1);
  EXPECT_NEAR(std::sqrt(squares / n - mean * mean), 2.0, 0.1);
}

TEST(RandomGenerator, RestoresASavedStateAndRefusesAFalseOne) {
  RandomGenerator random(5, 9);
  random.next();
  const tw::RandomState state = random.getState();
  const std::string text = random.saveState();
  std::vector<int> first;
  for (int i = 0; i < 10; i++) first.push_back(random.getInt(0, 1000));
  for (const auto& restore : {+[](RandomGenerator& r, const tw::RandomState& s, const std::string&) { return r.setState(s); },
                              +[](RandomGenerator& r, const tw::RandomState&, const std::string& t) { return r.restoreState(t); }}) {
    RandomGenerator other(1);
    ASSERT_EQ(restore(other, state, text), 0);
    for (int value : first) EXPECT_EQ(other.getInt(0, 1000), value);
  }
  const tw::RandomState before = random.getState();
  for (const char* bad : {"", "pcg32 12", "pcg32 1 2 x", "xoshiro 1 3", "pcg32 1 2"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(random.restoreState(bad), -1);  // the last has an even increment
    EXPECT_TRUE(random.getState() == before);
  }
}

// Every split leaves parts that tile their parent, keep the least sizes and
// go no deeper than asked; the same seed gives the same tree.
TEST(BspTree, SplitsARectangleIntoPartsThatTileIt) {
  const struct {
    int width, height, levels, min_width, min_height;
  } cases[] = {{80, 50, 4, 6, 5}, {100, 10, 3, 8, 8}, {7, 7, 5, 4, 4}, {60, 40, 8, 3, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    RandomGenerator random(21);
    tw::BspTree tree(2, 1, c.width, c.height);
    tree.splitRecursive(random, c.levels, c.min_width, c.min_height);
    std::vector<int> covered(static_cast<size_t>(c.width * c.height), 0);
    for (int leaf : tree.getLeaves()) {
      const tw::BspNode& node = tree.getNode(leaf);
      EXPECT_LE(node.level, c.levels);
      EXPECT_TRUE(node.level == 0 || (node.width >= c.min_width && node.height >= c.min_height));
      for (int y = node.y; y < node.y + node.height; y++) {
        for (int x = node.x; x < node.x + node.width; x++) covered[static_cast<size_t>((y - 1) * c.width + x - 2)]++;
      }
    }
    for (int count : covered) ASSERT_EQ(count, 1);
    for (const tw::BspNode& node : tree.getNodes()) {
      if (node.isLeaf()) continue;
      const tw::BspNode& a = tree.getNode(node.first_child);
      EXPECT_EQ(tree.getNode(a.parent).width, node.width);
      EXPECT_EQ(a.level, node.level + 1);
    }
    // Too wide to split across y while its parts stay 1.5 times wider than high.
    EXPECT_TRUE(c.height != 10 || tree.getNode(tree.getNodes()[0].first_child).height == 10);
    EXPECT_TRUE(c.width != 80 || tree.getLeaves().size() >= 8u);
    RandomGenerator again(21);
    tw::BspTree same(2, 1, c.width, c.height);
    same.splitRecursive(again, c.levels, c.min_width, c.min_height);
    ASSERT_EQ(same.getNodes().size(), tree.getNodes().size());
    for (size_t i = 0; i < same.getNodes().size(); i++) EXPECT_EQ(same.getNodes()[i].x, tree.getNodes()[i].x);
  }
}

TEST(Noise2D, IsSmoothBoundedAndTheSameForASeed) {
  const tw::Noise2D noise(17);
  const tw::Noise2D same(17);
  const tw::Noise2D other(18);
  float lowest = 1, highest = -1;
  int differing = 0;
  for (int i = 0; i < 4000; i++) {
    const float x = static_cast<float>(i % 80) * 0.37f - 5.0f;
    const float y = static_cast<float>(i / 80) * 0.29f - 3.0f;
    const float value = noise.get(x, y);
    ASSERT_EQ(value, same.get(x, y));
    differing += value != other.get(x, y) ? 1 : 0;
    lowest = std::min(lowest, value);
    highest = std::max(highest, value);
    EXPECT_LT(std::fabs(noise.get(x + 0.01f, y) - value), 0.1f);
    const float sum = noise.fractal(x, y, 4);
    EXPECT_TRUE(sum >= -1.0f && sum <= 1.0f) << sum;
  }
  EXPECT_GT(differing, 3900);
  EXPECT_LT(lowest, -0.5f);
  EXPECT_GT(highest, 0.5f);
  EXPECT_GE(lowest, -1.0f);
  EXPECT_LE(highest, 1.0f);
}
