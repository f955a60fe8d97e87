// The open set's order: OpenKey sorts by f and then newest first, and the heap hands its
// nodes out by smallest key whatever order they came in, through growth and lowered keys.
#include "engine/path/OpenHeap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/path/OpenKey.h"

using tw::Node;
using tw::OpenHeap;
using tw::OpenKey;

TEST(OpenKey, OrdersByFThenTheNewestFirst) {
  const struct {
    float f_a;
    std::uint32_t order_a;
    float f_b;
    std::uint32_t order_b;
    bool a_first;
  } cases[] = {
      {1.0f, 9, 2.0f, 1, true},       // smaller f first, whatever the order
      {2.0f, 1, 1.0f, 9, false},
      {1.5f, 3, 1.5f, 4, false},      // equal f: the later found first
      {0.0f, 0, 1.0e-45f, 0, true},   // the smallest positive float still counts
      {3.0e38f, 7, 1.0e38f, 0, false},
      {5.0f, 0, 5.0f, 0xFFFFFFFFu, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.f_a) + "#" + std::to_string(c.order_a) + " vs " +
                 std::to_string(c.f_b) + "#" + std::to_string(c.order_b));
    EXPECT_EQ(OpenKey::make(c.f_a, c.order_a) < OpenKey::make(c.f_b, c.order_b), c.a_first);
  }
  const OpenKey::Bits key = OpenKey::make(12.25f, 77);
  EXPECT_EQ(std::make_pair(OpenKey::fOf(key), OpenKey::orderOf(key)), std::make_pair(12.25f, 77u));
}

// Every node of a width x 8 grid pushed in a shuffled order with random keys,
// some keys lowered while in the heap; the pops come out in key order.
TEST(OpenHeap, PopsBySmallestKeyThroughGrowthAndLoweredKeys) {
  for (int width : {1, 5, 40, 700}) {
    SCOPED_TRACE("width " + std::to_string(width));
    std::vector<tw::NodeCosts> nodes(static_cast<size_t>(width) * 8);
    OpenHeap heap;
    heap.attach(nodes.data(), width);
    std::mt19937 random(static_cast<unsigned>(width));
    std::vector<std::pair<OpenHeap::Key, int>> expected;  // key, node index
    std::vector<int> order(nodes.size());
    for (size_t i = 0; i < order.size(); i++) order[i] = static_cast<int>(i);
    std::shuffle(order.begin(), order.end(), random);
    for (int index : order) {
      const OpenHeap::Key key = (static_cast<OpenHeap::Key>(random()) << 20) | static_cast<unsigned>(index);
      ASSERT_TRUE(heap.push(key, Node{index % width, index / width}));
      expected.emplace_back(key, index);
    }
    for (size_t i = 0; i < expected.size(); i += 3) {
      // Half the random part, the node index kept in the low bits: smaller, still unique.
      const int index = expected[i].second;
      expected[i].first = ((expected[i].first >> 21) << 20) | static_cast<unsigned>(index);
      heap.lower(expected[i].first, Node{index % width, index / width});
    }
    std::sort(expected.begin(), expected.end());
    std::vector<std::pair<OpenHeap::Key, int>> popped;
    while (!heap.empty()) {
      const OpenHeap::Entry entry = heap.pop();
      popped.emplace_back(entry.key, entry.node.y * width + entry.node.x);
    }
    EXPECT_EQ(popped, expected);
  }
}
