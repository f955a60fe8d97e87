// The path manager: starting searches for objects, the time-sliced cycle that
// delivers results to the movers, removal, destroyed movers, and an object
// walking its found path through the world's updates.
#include "engine/path/PathManager.h"

#include <gtest/gtest.h>

#include "engine/loop/GameManager.h"
#include "engine/core/LogManager.h"
#include "tests/path/PathTestSupport.h"

using tw::PathManager;
using tw::Vector;
using tw_test::Walker;
using tw_test::Wall;

namespace {
class PathManagerTest : public tw_test::PathTest {
 protected:
  // Every cell around (x, y) walled in.
  static void enclose(int x, int y) {
    wallLine(x - 1, y - 1, x + 1, y - 1);
    wallLine(x - 1, y + 1, x + 1, y + 1);
    new Wall(Vector(x - 1, y));
    new Wall(Vector(x + 1, y));
  }
};
}  // namespace

TEST_F(PathManagerTest, StartsOnceRefusesBadRequestsAndReplacesOrRemovesSearches) {
  EXPECT_EQ(paths().startUp(), -1);
  EXPECT_TRUE(log.contains("PathManager::startup(): Warning! PathManager already started."));
  EXPECT_EQ(paths().getMinCycleTime(), 0);  // the game manager has no frame time yet

  auto* p_walker = new Walker(Vector(3, 3));
  ASSERT_EQ(paths().findPath(p_walker, Vector(10, 3)), 0);
  tw::PathFind* p_search = p_walker->getPathFind();
  ASSERT_NE(p_search, nullptr);
  EXPECT_EQ(p_search->getStart(), (tw::Cell{3, 3}));

  EXPECT_EQ(paths().findPath(nullptr, Vector(10, 3)), -1);
  EXPECT_EQ(paths().findPath(p_walker, Vector(80, 3)), -1);
  EXPECT_EQ(paths().findPath(p_walker, Vector(5, -0.5f)), -1);
  auto* p_outside = new Walker(Vector(-1, 3));
  EXPECT_EQ(paths().findPath(p_outside, Vector(5, 3)), -1);
  EXPECT_TRUE(log.contains("PathManager::findPath(): Error! Goal (80,3) outside the world (80 x 24)."));
  EXPECT_TRUE(log.contains("PathManager::findPath(): Error! Start (-1,3) outside the world (80 x 24)."));
  world().setBoundary(tw::Box(Vector(0, 0), 3000, 3000));
  EXPECT_EQ(paths().findPath(p_walker, Vector(10, 3)), -1);
  EXPECT_TRUE(log.contains("too large to search"));
  EXPECT_EQ(p_walker->getPathFind(), p_search);
  EXPECT_EQ(paths().getPendingCount(), 1);

  world().setBoundary(tw::Box(Vector(0, 0), 80, 24));
  ASSERT_EQ(paths().findPath(p_walker, Vector(12, 8)), 0);  // replaces the first search
  EXPECT_NE(p_walker->getPathFind(), p_search);
  EXPECT_EQ(paths().getPendingCount(), 1);
  EXPECT_EQ(paths().removePathFind(p_walker->getPathFind()), 0);
  EXPECT_EQ(paths().getPendingCount(), 0);
  EXPECT_EQ(paths().removePathFind(p_walker->getPathFind()), -1);
  EXPECT_EQ(paths().removePathFind(nullptr), -1);

  paths().shutDown();
  EXPECT_EQ(paths().findPath(p_walker, Vector(10, 3)), -1);
  EXPECT_TRUE(log.contains("PathManager not started!"));
}

TEST_F(PathManagerTest, CycleDeliversFoundAndUnreachableResultsToTheMovers) {
  enclose(40, 12);
  auto* p_lucky = new Walker(Vector(0, 0));
  auto* p_stuck = new Walker(Vector(0, 5));
  ASSERT_EQ(paths().findPath(p_lucky, Vector(3, 3)), 0);
  ASSERT_EQ(paths().findPath(p_stuck, Vector(40, 12)), 0);
  paths().cycle(5000);  // ends early: nothing is left pending
  EXPECT_EQ(paths().getPendingCount(), 0);

  ASSERT_EQ(p_lucky->results, std::vector<int>{tw::PATH_FOUND});
  EXPECT_EQ(p_lucky->paths[0], "(0,0)|(1,1)|(2,2)|(3,3)|");
  EXPECT_EQ(p_lucky->getPathFind(), nullptr);
  EXPECT_TRUE(p_lucky->getFollowPath());

  ASSERT_EQ(p_stuck->results, std::vector<int>{tw::PATH_NOT_FOUND});
  EXPECT_EQ(p_stuck->paths[0], "");
  EXPECT_EQ(p_stuck->getPathFind(), nullptr);
  EXPECT_FALSE(p_stuck->getFollowPath());
}

TEST_F(PathManagerTest, CycleWithoutSearchesWritesNothingAndNegativeBudgetUsesTheMinimum) {
  tw::LogManager::getInstance().setLogLevel(10);
  const size_t before = log.messages().size();
  paths().cycle(5);
  EXPECT_EQ(log.messages().size(), before);

  // Without a frame time the minimum is 0: an overdue frame does no work.
  auto* p_walker = new Walker(Vector(4, 4));
  ASSERT_EQ(paths().findPath(p_walker, Vector(4, 4)), 0);
  paths().cycle(-20);
  EXPECT_TRUE(p_walker->results.empty());
  EXPECT_EQ(p_walker->getPathFind()->getClosedCount(), 0);
}

TEST(PathManagerGame, NegativeBudgetStillGetsATenthOfTheFrame) {
  tw_test::TempDir dir;
  tw_test::ScopedEnv config("TARNWICK_CONFIG",
                            dir.write("tw-config.txt", "headless:true,networking:false,frame_time:50").c_str());
  tw_test::ScopedEnv log_file("TARNWICK_LOG", dir.file("game.log").c_str());
  tw::GameManager& game = tw::GameManager::getInstance();
  ASSERT_EQ(game.startUp(), 0);
  PathManager& paths = PathManager::getInstance();
  if (!paths.isStarted()) {
    ASSERT_EQ(paths.startUp(), 0);
  }
  EXPECT_EQ(paths.getMinCycleTime(), 5);
  auto* p_walker = new Walker(Vector(4, 4));
  ASSERT_EQ(paths.findPath(p_walker, Vector(4, 4)), 0);  // one expansion
  paths.cycle(-20);
  EXPECT_EQ(p_walker->results, std::vector<int>{tw::PATH_FOUND});
  if (paths.isStarted()) paths.shutDown();
  game.shutDown();
}

TEST_F(PathManagerTest, DestroyedMoverTakesItsSearchAlong) {
  auto* p_walker = new Walker(Vector(3, 3));
  auto* p_other = new Walker(Vector(3, 6));
  ASSERT_EQ(paths().findPath(p_walker, Vector(60, 20)), 0);
  ASSERT_EQ(paths().findPath(p_other, Vector(60, 20)), 0);
  world().markForDelete(p_walker);
  world().update();
  EXPECT_EQ(paths().getPendingCount(), 1);
  paths().cycle(5000);
  EXPECT_EQ(p_other->results, std::vector<int>{tw::PATH_FOUND});
}

TEST_F(PathManagerTest, HandlersMayRemoveSearchesOrStopTheWorldDuringACycle) {
  auto* p_first = new Walker(Vector(2, 2));
  auto* p_second = new Walker(Vector(2, 4));
  auto* p_third = new Walker(Vector(2, 6));
  ASSERT_EQ(paths().findPath(p_first, Vector(2, 2)), 0);
  ASSERT_EQ(paths().findPath(p_second, Vector(50, 4)), 0);
  ASSERT_EQ(paths().findPath(p_third, Vector(50, 6)), 0);
  tw::PathFind* p_taken = p_second->getPathFind();
  p_first->on_path = [p_taken] { PathManager::getInstance().removePathFind(p_taken); };
  p_third->on_path = [] { tw::WorldManager::getInstance().shutDown(); };  // deletes every object
  paths().cycle(5000);
  EXPECT_EQ(paths().getPendingCount(), 0);
  EXPECT_FALSE(world().isStarted());
}

TEST_F(PathManagerTest, HandlerThatAlwaysSearchesAgainDoesNotHoldTheCycleForever) {
  auto* p_walker = new Walker(Vector(4, 4));
  p_walker->on_path = [p_walker] { PathManager::getInstance().findPath(p_walker, Vector(4, 4)); };
  ASSERT_EQ(paths().findPath(p_walker, Vector(4, 4)), 0);
  paths().cycle(100);  // returns once the time is up, however many searches it ran
  EXPECT_GT(p_walker->results.size(), 1u);
  EXPECT_EQ(paths().getPendingCount(), 1);
}

TEST_F(PathManagerTest, MoverFollowsTheFoundPathThroughWorldUpdatesToTheGoal) {
  auto* p_walker = new Walker(Vector(2, 2));
  p_walker->setSpeed(1);
  ASSERT_EQ(paths().findPath(p_walker, Vector(12, 5)), 0);
  paths().cycle(5000);
  ASSERT_TRUE(p_walker->getFollowPath());
  for (int frame = 0; frame < 40 && p_walker->getFollowPath(); frame++) world().update();
  EXPECT_FALSE(p_walker->getFollowPath());
  EXPECT_EQ(p_walker->getPosition(), Vector(12, 5));
  EXPECT_EQ(p_walker->getVelocity(), Vector(0, 0));
  EXPECT_EQ(p_walker->collisions, 0);
}
