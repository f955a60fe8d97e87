// Deleting and shutting down from inside handlers, destructors and draws:
// every object is deleted once and no destroyed object is touched again. Run
// under the sanitizer build, a touch of a freed object fails the test.
#include "engine/world/WorldManager.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/input/EventKeyboard.h"
#include "engine/input/InputManager.h"
#include "engine/loop/GameManager.h"
#include "engine/world/EventOut.h"
#include "tests/support/EngineFixtures.h"

using tw::Box;
using tw::Vector;
using tw_test::Probe;

namespace {
class WorldHazardTest : public tw_test::WorldFixture {
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

TEST_F(WorldHazardTest, DestructorsMayMarkOthersThemselvesAndTheAlreadyDeleted) {
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
  ASSERT_EQ(world().getAllObjects(true).getCount(), 1);
  EXPECT_EQ(world().getAllObjects()[0], keeper);
}

TEST_F(WorldHazardTest, DestructorThatClearsTheWorldAndStartsAfresh) {
  body("Runner", Vector(1, 1));
  body("Boulder", Vector(3, 1));
  Probe* fresh = nullptr;
  Probe* over = body("GameOver", Vector(5, 1), tw::HARD, [this, &fresh] {
    // Marks every object, itself included, then brings a new screen.
    tw::ObjectList all = world().getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++) world().markForDelete(all[i]);
    fresh = new Probe("GameStart", Vector(9, 1));
  });
  world().markForDelete(over);
  world().update();
  expectEachDestroyedOnce({"Runner", "Boulder", "GameOver"});
  ASSERT_EQ(world().getAllObjects(true).getCount(), 1);
  EXPECT_EQ(world().getAllObjects()[0], fresh);
}

TEST_F(WorldHazardTest, QuitKeyStopsTheGameFromInsideTheKeyboardDispatch) {
  int later_calls = 0;
  Probe* quitter = body("Quitter", Vector(1, 1));
  quitter->registerInterest(tw::KEYBOARD_EVENT);
  quitter->on_event = [](const tw::Event*) { tw::GameManager::getInstance().shutDown(); };
  Probe* listener = body("Listener", Vector(3, 1));
  listener->registerInterest(tw::KEYBOARD_EVENT);
  listener->on_event = [&later_calls](const tw::Event*) { later_calls++; };
  const tw::EventKeyboard key;
  EXPECT_EQ(tw::InputManager::getInstance().onEvent(&key), 1);
  EXPECT_EQ(later_calls, 0);
  EXPECT_FALSE(world().isStarted());
  expectEachDestroyedOnce({"Quitter", "Listener"});
  EXPECT_EQ(tw::InputManager::getInstance().onEvent(&key), 0);  // interests went with them
  world().update();  // the rest of the frame meets a stopped world
  world().draw();
}

// One world of a mover meeting two walls, an object leaving the world, one
// marked for deletion, painters and a sleeper; the world is shut down from
// one hook after the other. Each object goes once and no handler or draw
// runs after the shut-down (the partner of a mover that shut down included).
TEST_F(WorldHazardTest, ShutDownFromInsideTheFrameStopsItThere) {
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
    const std::string hooked = c.object;
    auto make = [&](const std::string& name, Vector where, tw::Solidness solidness, Vector velocity) {
      Probe* p = body(name, where, solidness, [&, name] {
        if (c.hook == DESTROY && name == hooked) stop();
      });
      p->setVelocity(velocity);
      p->on_event = [&, name](const tw::Event* p_e) {
        late += stopped;
        if ((c.hook == EVENT || (c.hook == OUT && p_e->getType() == tw::OUT_EVENT)) && name == hooked) stop();
      };
      p->on_draw = [&, name] {
        late += stopped;
        if (c.hook == DRAW && name == hooked) stop();
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
  ASSERT_EQ(world().startUp(), 0);  // the world starts again, empty, and runs a frame
  world().update();
  EXPECT_EQ(world().getAllObjects(true).getCount(), 0);
}
