#include "engine/core/ProblemList.h"

namespace tw {

namespace {
Problem* find(std::vector<Problem>& problems, const std::string& text) {
  for (Problem& p : problems) {
    if (p.text == text) return &p;
  }
  return nullptr;
}
}  // namespace

bool ProblemList::add(const std::string& text, int step) {
  Problem* p_known = find(problems, text);
  if (p_known != nullptr) {
    p_known->count++;
    return false;
  }
  if (problems.size() >= MAX_PROBLEMS) {
    dropped++;
    return true;
  }
  problems.push_back(Problem{text, 1, step});
  return true;
}

void ProblemList::clear() {
  problems.clear();
  dropped = 0;
}

const std::vector<Problem>& ProblemList::getProblems() const { return problems; }

long long ProblemList::getDropped() const { return dropped; }

long long ProblemList::countOf(const std::string& text) const {
  for (const Problem& p : problems) {
    if (p.text == text) return p.count;
  }
  return 0;
}

}  // namespace tw
