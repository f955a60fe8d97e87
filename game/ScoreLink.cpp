#include "game/ScoreLink.h"

#include "game/Points.h"

namespace veld {

ScoreLink::ScoreLink(Points* p_points) : points(p_points) {}

Points* ScoreLink::get() const { return points.get(); }

void ScoreLink::award(int amount) const {
  Points* p = get();
  if (p != nullptr) p->score += amount;
}

}  // namespace veld
