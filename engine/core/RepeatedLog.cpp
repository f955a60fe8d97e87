#include "engine/core/RepeatedLog.h"

#include <utility>

#include "engine/core/LogManager.h"

namespace tw {

namespace {
// Constant-initialised, so counters made during static initialisation in any
// order find a valid (empty) list.
RepeatedLog* p_first = nullptr;
int hushes = 0;  // Hush objects alive that silence the log

// 1, 10, 100, ...: the counts at which a count line is written.
bool isPowerOfTen(long long n) {
  while (n >= 10 && n % 10 == 0) n /= 10;
  return n == 1;
}
}  // namespace

RepeatedLog::RepeatedLog(std::string new_what)
    : what(std::move(new_what)), occurrences(0), p_previous(nullptr), p_next(p_first) {
  if (p_first != nullptr) p_first->p_previous = this;
  p_first = this;
}

// Says nothing: at program exit the log may already be gone.
RepeatedLog::~RepeatedLog() {
  if (p_previous != nullptr) p_previous->p_next = p_next;
  if (p_next != nullptr) p_next->p_previous = p_previous;
  if (p_first == this) p_first = p_next;
}

bool RepeatedLog::count(const char* where) {
  occurrences++;
  if (occurrences > 1 && isPowerOfTen(occurrences)) {
    LogManager::getInstance().writeLog("%s: Warning! %lld %s so far.", where, occurrences,
                                       what.c_str());
  }
  return occurrences == 1;
}

void RepeatedLog::close(const char* where) {
  if (occurrences > 1) {
    LogManager::getInstance().writeLog("%s: Note! %lld %s in all.", where, occurrences,
                                       what.c_str());
  }
  occurrences = 0;
}

long long RepeatedLog::getCount() const { return occurrences; }

void RepeatedLog::closeAll(const char* where) {
  for (RepeatedLog* p = p_first; p != nullptr; p = p->p_next) p->close(where);
}

RepeatedLog::Hush::Hush(bool new_on) : on(new_on) {
  if (on) hushes++;
}

RepeatedLog::Hush::~Hush() {
  if (on) hushes--;
}

bool RepeatedLog::isHushed() { return hushes > 0; }

}  // namespace tw
