// The world's frame: moves by velocity, collisions between solidness kinds,
// the avoid-collisions slide, out events, the view, drawing by altitude and
// deletion of marked objects; and deleting or shutting down from inside
// handlers, destructors and draws, where every object is deleted once and no
// destroyed object is touched again (a sanitizer build fails on any touch).
#include "engine/world/WorldManager.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "engine/world/EventOut.h"
#include "engine/world/SceneGraph.h"
#include "tests/support/EngineFixtures.h"

using tw::Box;
using tw::Vector;
using tw_test::Probe;

namespace {
class WorldManagerTest : public tw_test::WorldFixture {
 protected:
  // A unit-box object that counts its own destruction under its name, then
  // runs action.
  Probe* body(const std::string& name, Vector where, tw::Solidness solidness = tw::HARD,
              std::function<void()> action = nullptr) {
    auto* p = new Probe(name, where);
    p->setBox(Box(Vector(0, 0), 1, 1));
    p->setSolidness(solidness);
    p->on_destroy = [this, name, action] {
      destroyed[name]++;
      if (action) action();
    };
    return p;
  }
  void expectEachDestroyedOnce(std::initializer_list<std::string> names) {
    for (const std::string& name : names) EXPECT_EQ(destroyed[name], 1) << name;
  }
  std::map<std::string, int> destroyed;
};
}  // namespace

TEST_F(WorldManagerTest, CollisionsBetweenEverySolidnessPair) {
  const struct {
    tw::Solidness mover;
    bool no_soft;
    tw::Solidness other;
    bool events;        // both receive a collision event
    bool moves;         // the mover reaches its target
    const char* trace;  // what the collision trace says came of the touch
  } cases[] = {
      {tw::HARD, false, tw::HARD, true, false, "collision event, stopped (both HARD)"},
      {tw::HARD, false, tw::SOFT, true, true, "collision event, passed"},
      {tw::HARD, false, tw::SPECTRAL, false, true, "no event (SPECTRAL)"},
      {tw::SOFT, false, tw::HARD, true, true, "collision event, passed"},
      {tw::SOFT, false, tw::SOFT, true, true, "collision event, passed"},
      {tw::SOFT, false, tw::SPECTRAL, false, true, "no event (SPECTRAL)"},
      {tw::SPECTRAL, false, tw::HARD, false, true, "no event (SPECTRAL)"},
      {tw::SPECTRAL, false, tw::SOFT, false, true, "no event (SPECTRAL)"},
      {tw::HARD, true, tw::SOFT, true, false, "collision event, stopped (no_soft)"},
      {tw::SOFT, true, tw::SOFT, true, false, "collision event, stopped (no_soft)"},
      {tw::SOFT, true, tw::HARD, true, true, "collision event, passed"},
      {tw::SPECTRAL, true, tw::SOFT, false, true, "no event (SPECTRAL)"},
  };
  world().setCollisionTrace(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(tw::toString(c.mover) + (c.no_soft ? " no_soft" : "") + " into " + tw::toString(c.other));
    Probe* other = body("Other", Vector(10, 5), c.other);
    Probe* mover = body("Mover", Vector(8, 5), c.mover);
    mover->setNoSoft(c.no_soft);
    EXPECT_EQ(world().moveObject(mover, Vector(9.5f, 5)), c.moves ? 0 : -1);
    EXPECT_EQ(mover->getPosition(), c.moves ? Vector(9.5f, 5) : Vector(8, 5));
    EXPECT_EQ(mover->met, c.events ? std::vector<tw::Object*>{other} : std::vector<tw::Object*>{});
    EXPECT_EQ(other->met, c.events ? std::vector<tw::Object*>{mover} : std::vector<tw::Object*>{});
    const auto named = [](const Probe* p) {
      std::string kind = tw::toString(p->getSolidness());
      for (char& ch : kind) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      return "'" + p->getType() + "' #" + std::to_string(p->getId()) + " (" + kind + ")";
    };
    EXPECT_TRUE(log.contains("WorldManager::moveObject(): step 0: " + named(mover) + " touches " +
                             named(other) + ": " + c.trace + "."));
    world().markForDelete(mover);
    world().markForDelete(other);
    world().update();
  }
  // Every partner is told, even when the first blocks; solidness counts as
  // the handlers leave it: a door that opens when touched lets the mover by.
  Probe* door = body("Door", Vector(10, 5));
  Probe* mist = body("Mist", Vector(10, 5.5f), tw::SOFT);
  Probe* mover = body("Mover", Vector(8, 5));
  EXPECT_EQ(world().moveObject(mover, Vector(9.5f, 5)), -1);
  EXPECT_EQ(mover->met, (std::vector<tw::Object*>{door, mist}));
  door->on_event = [door](const tw::Event*) { door->setSolidness(tw::SPECTRAL); };
  EXPECT_EQ(world().moveObject(mover, Vector(9.5f, 5)), 0);
  // Off, a pair is traced only at the trace's log level.
  world().setCollisionTrace(false);
  const std::size_t before = log.messages().size();
  world().moveObject(mover, Vector(9.6f, 5));
  EXPECT_EQ(log.messages().size(), before);
  logLevel(tw::WorldManager::COLLISION_TRACE_LEVEL);
  world().moveObject(mover, Vector(9.7f, 5));
  logLevel(0);
  EXPECT_EQ(log.messages().size(), before + 2);  // the door and the mist
}

// An avoiding HARD mover keeps its motion along the first HARD thing it hits.
TEST_F(WorldManagerTest, AvoidingMoverSlidesAlongWhatItHits) {
  const struct {
    const char* what;
    bool floor;  // a floor along row 10, else one block at (10, 10)
    Vector from, velocity;
    int result;
    Vector to;
  } cases[] = {
      {"slant onto a floor", true, Vector(5, 8.5f), Vector(0.6f, 0.8f), 0, Vector(6, 8.5f)},
      {"straight down", true, Vector(5, 8.5f), Vector(0, 1), 0, Vector(5, 8.5f)},
      {"into a block's corner", false, Vector(8.5f, 8.5f), Vector(1, 1), 0, Vector(7.5f, 9.5f)},
      {"resting on it (last: the log check)", true, Vector(15, 9), Vector(0, 1), -1, Vector(15, 9)},
  };
  logLevel(5);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (int x = 0; x < 20; x++) {
      if (c.floor || x == 10) body("Block", Vector(static_cast<float>(x), 10));
    }
    Probe* slider = body("Slider", c.from);
    slider->setAvoidCollisions(true);
    slider->setVelocity(c.velocity);
    EXPECT_EQ(world().moveObject(slider, slider->predictPosition()), c.result);
    EXPECT_NEAR(slider->getPosition().getX(), c.to.getX(), 1e-5);
    EXPECT_NEAR(slider->getPosition().getY(), c.to.getY(), 1e-5);
    EXPECT_EQ(slider->count(tw::COLLISION_EVENT), 0);
    EXPECT_EQ(log.contains("Double collision. Object (avoid obstacles) cannot move."), c.result != 0);
    const tw::ObjectList all = world().getAllObjects();
    for (int i = 0; i < all.getCount(); i++) world().markForDelete(all[i]);
    world().update();
  }
}

TEST_F(WorldManagerTest, LeavingTheWorldRaisesOneOutEvent) {
  Probe* runner = body("Runner", Vector(76, 5), tw::SPECTRAL);
  runner->setVelocity(Vector(1, 0));
  for (int i = 0; i < 4; i++) world().update();
  EXPECT_EQ(runner->getPosition(), Vector(80, 5));  // its left edge still on the boundary
  EXPECT_EQ(runner->count(tw::OUT_EVENT), 0);
  for (int i = 0; i < 6; i++) world().update();
  EXPECT_EQ(runner->count(tw::OUT_EVENT), 1);  // once, not every frame outside
}

// Inactive objects neither move nor collide, and are listed after the others.
TEST_F(WorldManagerTest, UpdateMovesActiveObjectsThenDeletesTheMarkedOnes) {
  Probe* wall = body("Wall", Vector(10, 5));
  Probe* mover = body("Mover", Vector(8, 5));
  Probe* sleeper = body("Sleeper", Vector(9, 7));
  mover->setVelocity(Vector(1.5f, 0));
  sleeper->setVelocity(Vector(0, -1));  // would cross the mover's way
  sleeper->setActive(false);
  EXPECT_EQ(world().markForDelete(wall), 0);
  EXPECT_EQ(world().markForDelete(wall), 0);
  world().update();
  EXPECT_EQ(mover->getPosition(), Vector(8, 5));  // the wall still blocked this frame's move
  EXPECT_EQ(sleeper->getPosition(), Vector(9, 7));
  EXPECT_TRUE(sleeper->received.empty());
  EXPECT_EQ(world().getAllObjects(true)[1], sleeper);
  // Marked from a collision handler: gone at the end of that same update.
  Probe* enemy = body("Enemy", Vector(10, 5), tw::SOFT);
  enemy->on_event = [this, mover, enemy](const tw::Event*) {
    world().markForDelete(mover);
    world().markForDelete(enemy);
  };
  world().update();
  expectEachDestroyedOnce({"Wall", "Mover", "Enemy"});
  // Destructors may mark others, themselves and the already deleted.
  Probe* early = body("Early", Vector(1, 1));
  Probe* later = body("Later", Vector(5, 1));
  Probe* keeper = body("Keeper", Vector(7, 1));
  Probe* chain = nullptr;
  chain = body("Chain", Vector(3, 1), tw::HARD, [this, early, &chain, later] {
    EXPECT_EQ(world().markForDelete(chain), 0);   // itself: already going
    EXPECT_EQ(world().markForDelete(later), 0);   // pending in this pass: still once
    EXPECT_EQ(world().markForDelete(early), -1);  // deleted a moment ago
    // Created and marked here: goes in the same pass.
    world().markForDelete(body("Orphan", Vector(9, 1)));
  });
  world().markForDelete(early);
  world().markForDelete(chain);
  world().markForDelete(later);  // still pending when the chain marks it again
  world().update();
  expectEachDestroyedOnce({"Early", "Chain", "Later", "Orphan"});
  ASSERT_EQ(world().getAllObjects(true).getCount(), 2);
  EXPECT_EQ(world().getAllObjects()[0], keeper);
}

TEST_F(WorldManagerTest, NewBoundaryKeepsObjectsCollidableAndBoundsTheView) {
  Probe* wall = body("Wall", Vector(150, 5));
  world().setBoundary(Box(Vector(0, 0), 200, 24));
  Probe* mover = body("Mover", Vector(148, 5));
  EXPECT_EQ(world().moveObject(mover, Vector(149.5f, 5)), -1);
  EXPECT_EQ(wall->count(tw::COLLISION_EVENT), 1);
  EXPECT_EQ(graph().objectsOfType("Wall").getCount(), 1);
  world().setViewPosition(Vector(100, 12));
  EXPECT_EQ(world().getView().getCorner(), Vector(60, 0));
  world().setViewPosition(Vector(195, 12));
  EXPECT_EQ(world().getView().getCorner(), Vector(120, 0));
  world().setViewPosition(Vector(10, 5));
  EXPECT_EQ(world().getView().getCorner(), Vector(0, 0));
  world().setViewSlack(Vector(0.5f, 0.5f));
  Probe* hero = body("Hero", Vector(40, 12), tw::SPECTRAL);
  world().setViewFollowing(hero);
  hero->setVelocity(Vector(10, 0));
  world().update();  // x 50: inside the dead zone 20 .. 60
  world().update();  // x 60: on its edge
  EXPECT_EQ(world().getView().getCorner(), Vector(0, 0));
  world().update();  // x 70: ten past it
  EXPECT_EQ(world().getView().getCorner(), Vector(10, 0));
  world().markForDelete(hero);
  world().update();
  EXPECT_EQ(world().getViewFollowing(), nullptr);
  // A view wider than the boundary sticks to the origin.
  world().setBoundary(Box(Vector(0, 0), 50, 10));
  world().setViewPosition(Vector(40, 5));
  EXPECT_EQ(world().getView().getCorner(), Vector(0, 0));
}

TEST_F(WorldManagerTest, DrawGoesLayerByLayerAndSkipsWhatTheViewMisses) {
  class Hud : public Probe {
   public:
    Hud() : Probe("Hud", Vector(500, 500)) {}
    bool isViewObject() const override { return true; }
  };
  std::vector<std::string> drawn;
  Probe* sky = body("Sky", Vector(5, 5), tw::SPECTRAL);
  Probe* hero = body("Hero", Vector(6, 5), tw::SPECTRAL);
  Probe* ground = body("Ground", Vector(7, 5), tw::SPECTRAL);
  Probe* away = body("Away", Vector(90, 5), tw::SPECTRAL);
  Probe* hidden = body("Hidden", Vector(8, 5), tw::SPECTRAL);
  for (Probe* p : {sky, hero, ground, away, hidden, static_cast<Probe*>(new Hud)}) {
    p->on_draw = [&drawn, p] { drawn.push_back(p->getType()); };
  }
  sky->setAltitude(4);
  ground->setAltitude(0);
  away->setAltitude(0);
  hidden->setVisible(false);
  world().draw();
  EXPECT_EQ(drawn, (std::vector<std::string>{"Ground", "Hero", "Hud", "Sky"}));
}

// One world of a mover meeting two walls, an object leaving the world, one
// marked for deletion, painters and a sleeper; the world is shut down from
// one hook after the other. Each object goes once and no handler or draw runs
// after the shut-down (the partner of a mover that shut down included).
TEST_F(WorldManagerTest, ShutDownFromInsideTheFrameStopsItThere) {
  enum Hook { EVENT, OUT, DESTROY, DRAW };
  const struct {
    const char* object;
    Hook hook;
  } cases[] = {{"Wall", EVENT}, {"Mover", EVENT}, {"Runner", OUT}, {"Doomed", DESTROY}, {"Painter", DRAW}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.object);
    if (!world().isStarted()) world().startUp();
    world().setBoundary(Box(Vector(0, 0), 80, 24));
    world().setView(Box(Vector(0, 0), 80, 24));
    destroyed.clear();
    bool stopped = false;
    int late = 0;
    auto stop = [this, &stopped] {
      stopped = true;
      world().shutDown();
    };
    std::map<std::string, Probe*> made;
    auto make = [&](const std::string& name, Vector where, tw::Solidness solidness, Vector velocity) {
      Probe* p = body(name, where, solidness, [&, name] {
        if (c.hook == DESTROY && name == c.object) stop();
      });
      p->setVelocity(velocity);
      p->on_event = [&, name](const tw::Event* p_e) {
        late += stopped;
        if ((c.hook == EVENT || (c.hook == OUT && p_e->getType() == tw::OUT_EVENT)) && name == c.object) stop();
      };
      p->on_draw = [&, name] {
        late += stopped;
        if (c.hook == DRAW && name == c.object) stop();
      };
      made[name] = p;
    };
    make("Mover", Vector(8, 5), tw::HARD, Vector(1.5f, 0));
    make("Wall", Vector(10, 5), tw::HARD, Vector(0, 0));
    make("SecondWall", Vector(10, 5.5f), tw::HARD, Vector(0, 0));
    make("Runner", Vector(80, 12), tw::SPECTRAL, Vector(1, 0));
    make("Doomed", Vector(30, 5), tw::HARD, Vector(0, 0));
    make("Painter", Vector(5, 15), tw::SPECTRAL, Vector(0, 0));
    make("Next", Vector(6, 15), tw::SPECTRAL, Vector(0, 0));
    make("Top", Vector(7, 15), tw::SPECTRAL, Vector(0, 0));
    make("Asleep", Vector(9, 15), tw::HARD, Vector(0, 1));
    made["Top"]->setAltitude(4);
    made["Asleep"]->setActive(false);
    world().markForDelete(made["Doomed"]);
    world().setViewFollowing(made[c.object]);
    world().update();
    world().draw();
    EXPECT_FALSE(world().isStarted());
    EXPECT_EQ(late, 0);
    expectEachDestroyedOnce({"Mover", "Wall", "SecondWall", "Runner", "Doomed", "Painter", "Next", "Top", "Asleep"});
  }
  auto* stray = new Probe("Stray");  // a stopped world takes no objects
  EXPECT_EQ(world().insertObject(stray), -1);
  delete stray;
  ASSERT_EQ(world().startUp(), 0);  // it starts again, empty, and runs a frame
  EXPECT_EQ(world().startUp(), -1);
  world().update();
  EXPECT_EQ(world().getAllObjects(true).getCount(), 0);
}
