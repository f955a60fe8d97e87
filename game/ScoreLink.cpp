#include "game/ScoreLink.h"

#include "game/Points.h"

namespace veld {

ScoreLink::ScoreLink() : p_points(nullptr), points_id(0) {}

ScoreLink::ScoreLink(Points* p) : p_points(p), points_id(p != nullptr ? p->getId() : 0) {}

Points* ScoreLink::get() const {
  if (p_points == nullptr || !tw::Object::isAlive(p_points, points_id)) return nullptr;
  return p_points;
}

void ScoreLink::award(int amount) const {
  Points* p = get();
  if (p != nullptr) p->score += amount;
}

}  // namespace veld
