// Where the world meets the path layer above it. An object owns its pending path search;
// when it lets go of one (a new search, a delivered result, its own end) it hands the
// search to the implementation the path layer registered here when its manager was made.
#pragma once

namespace tw {

class PathFind;

class PathSearches {
 public:
  virtual ~PathSearches() = default;
  // Takes the search off whatever runs it and deletes it. The object has
  // already forgotten it.
  virtual void release(PathFind* p_search) = 0;

  // The path layer registers itself (not owned; it lives as long as the
  // program). Until then no object can have a search, so none is released.
  static void install(PathSearches* p_searches);
  static PathSearches* installed();
};

}  // namespace tw
