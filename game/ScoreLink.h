// A non-owning link from a hazard to the run's score display. The score object
// may be destroyed first when the world is cleared; the link's checked handle
// then finds it gone and nothing is awarded.
#pragma once

#include "engine/core/LiveObjects.h"

class Points;

namespace veld {

class ScoreLink {
 public:
  ScoreLink() = default;
  explicit ScoreLink(Points* p_points);

  // The score object while it exists, else null.
  Points* get() const;
  // Adds to the score when the score object still exists.
  void award(int amount) const;

 private:
  tw::Handle<Points> points;
};

}  // namespace veld
