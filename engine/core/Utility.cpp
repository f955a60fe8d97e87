#include "engine/core/Utility.h"

#include <cctype>
#include <iostream>
#include <sstream>
#include <vector>

#include "engine/core/LogManager.h"

namespace tw {

namespace {
// The items of the last parse; an empty str searches them again.
struct MatchState {
  std::vector<std::string> keys;
  std::vector<std::string> values;
  int item_count = 0;
};

MatchState& matchState() {
  static MatchState state;
  return state;
}

std::string withoutSpace(const std::string& str) {
  std::string out;
  out.reserve(str.size());
  for (char c : str) {
    if (!std::isspace(static_cast<unsigned char>(c))) out += c;
  }
  return out;
}

// Splits text at sep, dropping empty pieces (so leading, trailing and doubled
// separators are skipped).
std::vector<std::string> pieces(const std::string& text, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(sep, start);
    if (end == std::string::npos) end = text.size();
    if (end > start) out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

void parseItems(const std::string& raw) {
  const LogManager& log = LogManager::getInstance();
  MatchState& state = matchState();
  std::string str = withoutSpace(raw);
  int slots = 1;
  for (char c : str) slots += (c == ',');
  log.writeLog(25, "match(): number of elements allocated is %d", slots);
  state.keys.assign(static_cast<size_t>(slots), "");
  state.values.assign(static_cast<size_t>(slots), "");
  state.item_count = 0;
  for (const std::string& item : pieces(str, ',')) {
    log.writeLog(25, "\titem number %d", state.item_count);
    log.writeLog(28, "\tp_element is '%s' (%p)", item.c_str(), static_cast<const void*>(&item));
    std::vector<std::string> parts = pieces(item, ':');
    if (parts.empty()) break;
    log.writeLog(28, "\ttoken is '%s' (%p)", parts[0].c_str(), static_cast<const void*>(&parts[0]));
    const size_t k = static_cast<size_t>(state.item_count);
    state.keys[k] = parts[0];
    log.writeLog(25, "\tkey %s", parts[0].c_str());
    state.values[k] = parts.size() > 1 ? parts[1] : "";
    log.writeLog(25, "\tval %s", state.values[k].c_str());
    state.item_count++;
  }
  log.writeLog(25, "match(): parsed.");
  for (int i = 0; i < state.item_count; i++) {
    log.writeLog(28, "\t%d  %s : %s", i, state.keys[static_cast<size_t>(i)].c_str(),
                 state.values[static_cast<size_t>(i)].c_str());
  }
}
}  // namespace

std::string match(std::string str, std::string find) {
  const LogManager& log = LogManager::getInstance();
  log.writeLog(25, "match(\"%s\", \"%s\")", str.c_str(), find.c_str());
  if (!str.empty()) parseItems(str);
  const MatchState& state = matchState();
  log.writeLog(25, "match(): Looking for match '%s' among %d items.", find.c_str(),
               state.item_count);
  for (int i = 0; i < state.item_count; i++) {
    const std::string& key = state.keys[static_cast<size_t>(i)];
    log.writeLog(28, "match(): %d: %s == %s?", i, key.c_str(), find.c_str());
    if (key == find) return state.values[static_cast<size_t>(i)];
  }
  return "";
}

int checkStream(const char* where, std::iostream& stream) {
  if (stream.good()) return 0;
  const LogManager& log = LogManager::getInstance();
  const std::ios::iostate state = stream.rdstate();
  if (state & std::ios::eofbit) {
    log.writeLog("%s: Error! Stream eof.", where);
  } else if (state & std::ios::failbit) {
    log.writeLog("%s: Error! Stream fail.", where);
  } else if (state & std::ios::badbit) {
    log.writeLog("%s: Error! Stream bad.", where);
  } else {
    log.writeLog("%s: Error! Stream error.", where);
  }
  return -1;
}

std::string toString(int i) {
  std::ostringstream ss;
  ss << i;
  return ss.str();
}

std::string toString(float f) {
  std::ostringstream ss;
  ss << f;
  return ss.str();
}

std::string toBinaryString(std::uint32_t value) {
  std::string bits;
  bits.reserve(32);
  for (int bit = 31; bit >= 0; bit--) bits += ((value >> bit) & 1u) ? '1' : '0';
  return bits;
}

bool valueInRange(float value, float min, float max) { return min <= value && value <= max; }

}  // namespace tw
