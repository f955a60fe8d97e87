// The problems a running game met, as the developer should see them while it
// plays: each distinct problem once, with how often it came up and the step
// it first came up on. The log manager fills it from its notices; the debug
// overlay shows it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tw {

struct Problem {
  std::string text;
  long long count = 0;  // occurrences, the first included
  int first_step = 0;   // the game step it first came up on
};

class ProblemList {
 public:
  // Distinct problems kept; later new ones are only counted in getDropped.
  static const std::size_t MAX_PROBLEMS = 100;

  // Counts one occurrence; true when the text is new (first occurrence).
  bool add(const std::string& text, int step);
  void clear();
  // In order of first occurrence.
  const std::vector<Problem>& getProblems() const;
  // Distinct problems not kept because the list was full.
  long long getDropped() const;
  // Occurrences of text so far (0 when never met).
  long long countOf(const std::string& text) const;

 private:
  std::vector<Problem> problems;
  long long dropped = 0;
};

}  // namespace tw
