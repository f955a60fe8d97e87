#include "engine/path/CostQueues.h"

#include <algorithm>

namespace tw {

void CostQueues::clear() {
  for (int q = 0; q < COUNT; q++) {
    queues[q].clear();
    heads[q] = 0;
  }
}

void CostQueues::push(int queue, float cost, std::uint32_t index) { queues[queue].push_back(Entry{cost, index}); }

void CostQueues::sortSources() {
  std::stable_sort(queues[0].begin() + static_cast<std::ptrdiff_t>(heads[0]), queues[0].end(),
                   [](const Entry& a, const Entry& b) { return a.cost < b.cost; });
}

bool CostQueues::pop(std::uint32_t& index) {
  int best = -1;
  float best_cost = 0;
  for (int q = 0; q < COUNT; q++) {
    if (heads[q] == queues[q].size()) continue;
    const float cost = queues[q][heads[q]].cost;
    if (best < 0 || cost < best_cost) {
      best = q;
      best_cost = cost;
    }
  }
  if (best < 0) return false;
  index = queues[best][heads[best]++].index;
  return true;
}

}  // namespace tw
