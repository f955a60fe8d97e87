// The open set of a cell search without a goal (a Dijkstra map), whose costs only grow:
// one first-in first-out queue per kind of step, plus one for the sources sorted once.
// Every queue stays in cost order by itself, so the cheapest entry is at one of the heads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tw {

class CostQueues {
 public:
  // Queue 0 takes the sources; the others one kind of step each.
  static const int COUNT = 3;

  // Empties every queue, keeping the memory.
  void clear();
  // Appends a cell (by index) at cost; throws std::bad_alloc when memory
  // runs out. Within a queue the costs must not fall, except in queue 0
  // before sortSources.
  void push(int queue, float cost, std::uint32_t index);
  // Puts the sources in cost order, those of equal cost as they came.
  void sortSources();
  // Takes the cheapest head (the lowest queue among equals); false when
  // every queue is empty. A cell may come out more than once: entries
  // after its first are out of date.
  bool pop(std::uint32_t& index);

 private:
  struct Entry {
    float cost;
    std::uint32_t index;
  };
  std::vector<Entry> queues[COUNT];
  std::size_t heads[COUNT] = {};
};

}  // namespace tw
