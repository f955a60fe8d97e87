#include "engine/world/EventPath.h"

#include <utility>

namespace tw {

EventPath::EventPath() : result(PATH_NOT_FOUND) { setType(PATH_EVENT); }

EventPath::EventPath(int init_result, Path init_path)
    : result(init_result), path(std::move(init_path)) {
  setType(PATH_EVENT);
}

int EventPath::getResult() const { return result; }
void EventPath::setResult(int new_result) { result = new_result; }
Path EventPath::getPath() const { return path; }
void EventPath::setPath(Path new_path) { path = std::move(new_path); }

}  // namespace tw
