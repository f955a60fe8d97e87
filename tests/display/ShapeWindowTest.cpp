// Shapes drawn into a real window on the test X server.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>

#include "engine/core/Config.h"
#include "engine/display/DisplayManager.h"
#include "engine/world/Shape.h"
#include "engine/platform/Sfml.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XWindowDriver.h"

namespace {
class ShapeWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tw_test::useTestDisplay();
    const std::string title =
        std::string("tw-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    tw::Config::getInstance().loadConfig("window_title:" + title);
    ASSERT_EQ(dm.startUp(), 0);
    ASSERT_EQ(tw::WorldManager::getInstance().startUp(), 0);
    tw::WorldManager::getInstance().setView(tw::Box(tw::Vector(0, 0), 80, 24));
    driver = std::make_unique<tw_test::XWindowDriver>(title);
    ASSERT_TRUE(driver->found());
    for (int i = 0; i < 10; i++) {  // let the window be mapped
      tw::platform::InputEvent event;
      while (dm.getPresenter()->pollEvent(event)) {
      }
      usleep(20000);
    }
    dm.swapBuffers();
  }
  void TearDown() override {
    tw::WorldManager::getInstance().shutDown();
    dm.shutDown();
  }
  tw_test::Screenshot showAndShoot() {
    dm.swapBuffers();
    usleep(150000);
    return driver->screenshot();
  }

  tw_test::LogCapture log;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  std::unique_ptr<tw_test::XWindowDriver> driver;
};
}  // namespace

TEST_F(ShapeWindowTest, ColouredCircleIsFilledAroundItsPosition) {
  tw::Shape circle;
  circle.setColor(tw::RED);
  circle.draw(tw::Vector(40, 12));  // pixels (512, 384); radius 24 from (500, 372)
  EXPECT_EQ(circle.getR(), 255);   // the colour's channels were taken
  const tw_test::Screenshot shot = showAndShoot();
  ASSERT_TRUE(shot.valid());
  EXPECT_EQ(shot.pixel(524, 396), 0xFF0000u);  // the circle's centre
  EXPECT_GT(shot.count(490, 362, 560, 432, 0xFF0000), 1000);
  EXPECT_EQ(shot.count(0, 0, 400, 300, 0xFF0000), 0);
}

TEST_F(ShapeWindowTest, ShapeCoversCharactersDrawnBeforeIt) {
  for (int x = 39; x <= 42; x++) dm.drawCharacter(tw::Vector(x, 12), 'M', tw::BLUE);
  tw::Shape circle;
  circle.setColor(tw::RED);
  circle.draw(tw::Vector(40, 12));
  const tw_test::Screenshot shot = showAndShoot();
  ASSERT_TRUE(shot.valid());
  EXPECT_EQ(shot.count(510, 384, 540, 410, 0x0000FF), 0);  // no blue inside the circle
  EXPECT_EQ(shot.pixel(524, 396), 0xFF0000u);
}

TEST_F(ShapeWindowTest, CustomColourUsesTheChannelsAsSet) {
  tw::Shape square;
  square.setType(tw::SQUARE);
  square.setColor(tw::CUSTOM);
  square.setR(10);
  square.setG(200);
  square.setB(30);
  square.draw(tw::Vector(20, 6));
  EXPECT_EQ(square.getG(), 200);
  const tw_test::Screenshot shot = showAndShoot();
  ASSERT_TRUE(shot.valid());
  EXPECT_GT(shot.count(220, 150, 320, 250, 0x0AC81E), 100);
}

TEST_F(ShapeWindowTest, UndefinedShapeDrawsNothing) {
  tw::Shape none;
  none.setType(tw::UNDEFINED_SHAPE);
  none.setColor(tw::GREEN);
  none.draw(tw::Vector(40, 12));
  const tw_test::Screenshot shot = showAndShoot();
  ASSERT_TRUE(shot.valid());
  EXPECT_EQ(shot.count(0, 0, shot.width, shot.height, 0x00FF00), 0);
}
