// Deleting and shutting down from inside handlers, destructors and draws:
// every object is deleted once and no destroyed object is touched again. Run
// under the sanitizer build, a touch of a freed object fails the test.
#include "engine/world/WorldManager.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/loop/GameManager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/InputManager.h"
#include "engine/world/EventOut.h"
#include "tests/world/WorldTestSupport.h"

using tw::Box;
using tw::Vector;
using tw_test::Probe;

namespace {
class WorldHazardTest : public tw_test::WorldTest {
 protected:
  // A unit-box object that counts its own destruction under its name.
  Probe* body(const std::string& name, Vector where, tw::Solidness solidness = tw::HARD) {
    auto* p = new Probe(name, where);
    p->setBox(Box(Vector(0, 0), 1, 1));
    p->setSolidness(solidness);
    p->on_destroy = [this, name] { destroyed[name]++; };
    return p;
  }
  // Runs action after the object's own bookkeeping in its destructor.
  void onDestroy(Probe* p, std::function<void()> action) {
    const std::string name = p->getType();
    p->on_destroy = [this, name, action] {
      destroyed[name]++;
      action();
    };
  }
  void expectEachDestroyedOnce(std::initializer_list<std::string> names) {
    for (const std::string& name : names) EXPECT_EQ(destroyed[name], 1) << name;
  }
  std::map<std::string, int> destroyed;
};
}  // namespace

TEST_F(WorldHazardTest, DestructorsMayMarkOthersThemselvesAndTheAlreadyDeleted) {
  Probe* early = body("Early", Vector(1, 1));
  Probe* chain = body("Chain", Vector(3, 1));
  Probe* later = body("Later", Vector(5, 1));
  Probe* keeper = body("Keeper", Vector(7, 1));
  onDestroy(chain, [this, early, chain, later] {
    EXPECT_EQ(world().markForDelete(chain), 0);   // itself: already going
    EXPECT_EQ(world().markForDelete(later), 0);   // not yet marked: goes too
    EXPECT_EQ(world().markForDelete(early), -1);  // deleted a moment ago
  });
  world().markForDelete(early);
  world().markForDelete(chain);
  world().update();
  expectEachDestroyedOnce({"Early", "Chain", "Later"});
  EXPECT_EQ(destroyed["Keeper"], 0);
  ASSERT_EQ(world().getAllObjects(true).getCount(), 1);
  EXPECT_EQ(world().getAllObjects()[0], keeper);
  EXPECT_TRUE(log.contains("WorldManager::markForDelete(): Error! No Object at"));
}

TEST_F(WorldHazardTest, DestructorMarkingAnObjectStillPendingInThePassDeletesItOnce) {
  Probe* first = body("First", Vector(1, 1));
  Probe* second = body("Second", Vector(3, 1));
  onDestroy(first, [this, second] { world().markForDelete(second); });
  world().markForDelete(first);
  world().markForDelete(second);
  world().update();
  expectEachDestroyedOnce({"First", "Second"});
  EXPECT_EQ(world().getAllObjects(true).getCount(), 0);
}

TEST_F(WorldHazardTest, DestructorThatClearsTheWorldAndStartsAfresh) {
  body("Runner", Vector(1, 1));
  body("Boulder", Vector(3, 1));
  Probe* over = body("GameOver", Vector(5, 1));
  Probe* fresh = nullptr;
  onDestroy(over, [this, &fresh] {
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

TEST_F(WorldHazardTest, ObjectsMarkedInADestructorAndCreatedThereGoInTheSamePass) {
  Probe* parent = body("Parent", Vector(1, 1));
  onDestroy(parent, [this] {
    Probe* orphan = body("Orphan", Vector(3, 1));
    world().markForDelete(orphan);
  });
  world().markForDelete(parent);
  world().update();
  expectEachDestroyedOnce({"Parent", "Orphan"});
  EXPECT_EQ(world().getAllObjects(true).getCount(), 0);
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
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
  EXPECT_FALSE(world().isStarted());
  expectEachDestroyedOnce({"Quitter", "Listener"});
  EXPECT_EQ(tw::InputManager::getInstance().onEvent(&key), 0);  // interests went with them
  // The rest of the frame meets a stopped world.
  world().update();
  world().draw();
}

TEST_F(WorldHazardTest, ShutDownFromTheObstaclesCollisionHandlerStopsTheUpdate) {
  Probe* mover = body("Mover", Vector(8, 5));
  Probe* wall = body("Wall", Vector(10, 5));
  Probe* bystander = body("Bystander", Vector(30, 5));
  Probe* second_wall = body("SecondWall", Vector(10, 5.5f));
  wall->on_event = [this](const tw::Event*) { world().shutDown(); };
  mover->setVelocity(Vector(1.5f, 0));
  bystander->setVelocity(Vector(1, 0));
  world().setViewFollowing(mover);
  world().update();
  EXPECT_FALSE(world().isStarted());
  expectEachDestroyedOnce({"Mover", "Wall", "Bystander", "SecondWall"});
  (void)second_wall;
}

TEST_F(WorldHazardTest, ShutDownFromTheMoversCollisionHandlerSparesThePartner) {
  Probe* mover = body("Mover", Vector(8, 5), tw::SOFT);
  Probe* wall = body("Wall", Vector(10, 5));
  bool partner_called = false;
  mover->on_event = [this](const tw::Event*) { world().shutDown(); };
  wall->on_event = [&partner_called](const tw::Event*) { partner_called = true; };
  EXPECT_EQ(world().moveObject(mover, Vector(9.5f, 5)), -1);
  EXPECT_FALSE(partner_called);
  expectEachDestroyedOnce({"Mover", "Wall"});
}

TEST_F(WorldHazardTest, ShutDownFromAnOutHandlerLeavesTheViewAlone) {
  Probe* runner = body("Runner", Vector(80, 5), tw::SPECTRAL);
  body("Other", Vector(5, 5), tw::SPECTRAL)->setVelocity(Vector(0, 1));
  runner->setVelocity(Vector(1, 0));
  runner->on_event = [this](const tw::Event* p_e) {
    if (p_e->getType() == tw::OUT_EVENT) world().shutDown();
  };
  world().setViewFollowing(runner);
  world().update();
  EXPECT_FALSE(world().isStarted());
  expectEachDestroyedOnce({"Runner", "Other"});
}

TEST_F(WorldHazardTest, ShutDownFromADestructorDuringTheDeletionPass) {
  Probe* first = body("First", Vector(1, 1));
  body("Second", Vector(3, 1));
  Probe* third = body("Third", Vector(5, 1));
  body("Bystander", Vector(7, 1));
  onDestroy(first, [this] { world().shutDown(); });
  world().markForDelete(first);
  world().markForDelete(third);
  world().update();
  EXPECT_FALSE(world().isStarted());
  expectEachDestroyedOnce({"First", "Second", "Third", "Bystander"});
  EXPECT_EQ(world().getAllObjects(true).getCount(), 0);
}

TEST_F(WorldHazardTest, ShutDownFromADrawSkipsTheRemainingDraws) {
  Probe* painter = body("Painter", Vector(5, 5), tw::SPECTRAL);
  Probe* next = body("Next", Vector(6, 5), tw::SPECTRAL);
  Probe* top = body("Top", Vector(7, 5), tw::SPECTRAL);
  top->setAltitude(4);
  int others_drawn = 0;
  painter->on_draw = [this] { world().shutDown(); };
  next->on_draw = [&others_drawn] { others_drawn++; };
  top->on_draw = [&others_drawn] { others_drawn++; };
  world().draw();
  EXPECT_EQ(others_drawn, 0);
  expectEachDestroyedOnce({"Painter", "Next", "Top"});
}

TEST_F(WorldHazardTest, ShutDownDeletesEveryObjectOnceActiveOrNot) {
  body("Awake", Vector(1, 1));
  body("Asleep", Vector(3, 1))->setActive(false);
  Probe* marked = body("Marked", Vector(5, 1));
  world().markForDelete(marked);
  world().shutDown();
  expectEachDestroyedOnce({"Awake", "Asleep", "Marked"});
  // The world can start again, empty, and run a frame.
  ASSERT_EQ(world().startUp(), 0);
  world().update();
  EXPECT_EQ(world().getAllObjects(true).getCount(), 0);
}
