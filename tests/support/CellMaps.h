// Cell maps for the tests of field of view and the cell searches: maps drawn as text
// ('#' a wall, anything else open floor), random maps, and a plain reference for the
// cheapest walk between cells that the searches' answers are checked against.
#pragma once

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/path/CellMap.h"

namespace tw_test {

inline tw::CellMap drawnMap(const std::vector<std::string>& rows) {
  tw::CellMap map(static_cast<int>(rows.at(0).size()), static_cast<int>(rows.size()));
  for (int y = 0; y < map.getHeight(); y++) {
    for (int x = 0; x < map.getWidth(); x++) {
      const bool open = rows[static_cast<size_t>(y)][static_cast<size_t>(x)] != '#';
      map.setCell(x, y, open, open);
    }
  }
  return map;
}

// Each cell a wall with the given chance, from a fixed seed.
inline tw::CellMap randomMap(int width, int height, unsigned seed, double wall_chance) {
  tw::CellMap map(width, height);
  std::mt19937 random(seed);
  std::bernoulli_distribution wall(wall_chance);
  for (int y = 0; y < height; y++) {
    for (int x = 0; x < width; x++) {
      const bool open = !wall(random);
      map.setCell(x, y, open, open);
    }
  }
  return map;
}

const float UNREACHED = std::numeric_limits<float>::infinity();

// The cheapest cost to every cell from cells whose starting cost is not
// UNREACHED (that cost plus the walk) by repeated relaxation until nothing
// changes: slow and plain. A diagonal step (when diagonal_cost > 0) needs
// one of the two cells beside it walkable.
inline std::vector<float> referenceCostsFrom(const tw::CellMap& map, std::vector<float> cost, float diagonal_cost) {
  const int w = map.getWidth();
  for (bool changed = true; changed;) {
    changed = false;
    for (int y = 0; y < map.getHeight(); y++) {
      for (int x = 0; x < w; x++) {
        const float here = cost[static_cast<size_t>(y * w + x)];
        if (here == UNREACHED) continue;
        for (int dy = -1; dy <= 1; dy++) {
          for (int dx = -1; dx <= 1; dx++) {
            const bool diagonal = dx != 0 && dy != 0;
            if ((dx == 0 && dy == 0) || (diagonal && diagonal_cost <= 0)) continue;
            if (!map.isWalkable(x + dx, y + dy)) continue;
            if (diagonal && !map.isWalkable(x + dx, y) && !map.isWalkable(x, y + dy)) continue;
            float& there = cost[static_cast<size_t>((y + dy) * w + x + dx)];
            const float offered = here + (diagonal ? diagonal_cost : 1.0f);
            if (offered < there - 1e-4f) {
              there = offered;
              changed = true;
            }
          }
        }
      }
    }
  }
  return cost;
}

// The same from sources that start at 0.
inline std::vector<float> referenceCosts(const tw::CellMap& map, const std::vector<std::pair<int, int>>& sources,
                                         float diagonal_cost) {
  std::vector<float> cost(static_cast<size_t>(map.getWidth() * map.getHeight()), UNREACHED);
  for (const auto& s : sources) cost[static_cast<size_t>(s.second * map.getWidth() + s.first)] = 0;
  return referenceCostsFrom(map, std::move(cost), diagonal_cost);
}

}  // namespace tw_test
