#include "engine/core/NearestNames.h"

#include <algorithm>
#include <utility>

namespace tw {

std::size_t editDistance(const std::string& a, const std::string& b) {
  // One row of the distance table at a time.
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); j++) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); i++) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); j++) {
      const std::size_t above = row[j];
      const std::size_t substitute = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, substitute});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::vector<std::string> nearestNames(const std::string& wanted,
                                      const std::vector<std::string>& known, std::size_t most) {
  std::vector<std::pair<std::size_t, std::size_t>> ranked;  // distance, index in known
  for (std::size_t i = 0; i < known.size(); i++) ranked.emplace_back(editDistance(wanted, known[i]), i);
  std::stable_sort(ranked.begin(), ranked.end());
  std::vector<std::string> names;
  for (std::size_t i = 0; i < ranked.size() && i < most; i++) names.push_back(known[ranked[i].second]);
  return names;
}

std::string joinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

}  // namespace tw
