// A non-owning link from a hazard to the run's score display. The score object
// may be destroyed first when the world is cleared; the link then finds it gone
// (by address and id) and awards nothing.
#pragma once

class Points;

namespace veld {

class ScoreLink {
 public:
  ScoreLink();
  explicit ScoreLink(Points* p_points);

  // The score object while it exists, else null.
  Points* get() const;
  // Adds to the score when the score object still exists.
  void award(int amount) const;

 private:
  Points* p_points;
  int points_id;
};

}  // namespace veld
