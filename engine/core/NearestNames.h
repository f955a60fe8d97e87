// Which known names a mistyped one was most likely meant to be: the edit
// distance between two names, and the closest few of a list. Used to answer
// an unknown label with the labels that are loaded.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tw {

// Insertions, deletions and substitutions (byte-wise) turning a into b.
std::size_t editDistance(const std::string& a, const std::string& b);

// At most most names of known, closest to wanted first (equally close ones
// in their order in known).
std::vector<std::string> nearestNames(const std::string& wanted,
                                      const std::vector<std::string>& known, std::size_t most);

// The names joined with ", " ("" for none).
std::string joinNames(const std::vector<std::string>& names);

}  // namespace tw
