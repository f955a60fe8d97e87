// The event that tells an object how its path search ended: the result code
// and, when a path was found, the path. The path manager delivers it directly.
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/Event.h"
#include "engine/world/Path.h"

namespace tw {

const std::string PATH_EVENT = "tw-path";

// Result codes of a path search, as carried by EventPath.
const int PATH_NOT_FOUND = 0;
const int PATH_SEARCHING = 1;
const int PATH_FOUND = 2;

class TW_API EventPath : public Event {
 public:
  EventPath();
  EventPath(int init_result, Path init_path);

  int getResult() const;
  void setResult(int new_result);
  Path getPath() const;
  void setPath(Path new_path);

 private:
  int result;  // PATH_FOUND or PATH_NOT_FOUND
  Path path;
};

}  // namespace tw
