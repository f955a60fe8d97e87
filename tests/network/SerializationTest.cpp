#include "tests/network/SerializationTest.h"

#include <cstdio>
#include <cstdlib>

#include "engine/world/Sprite.h"
#include "engine/world/SceneGraph.h"

namespace tw_test {

namespace {
std::string hex(float f) {
  char text[64];
  std::snprintf(text, sizeof(text), "%a", static_cast<double>(f));
  return text;
}

std::string hex(tw::Vector v) { return "(" + hex(v.getX()) + "," + hex(v.getY()) + ")"; }

bool has(const tw::ObjectList& list, const tw::Object* p_o) {
  for (int i = 0; i < list.getCount(); i++) {
    if (list[i] == p_o) return true;
  }
  return false;
}

std::string problemsOf(tw::SceneGraph& graph, tw::Object* p_o) {
  std::string problems;
  const std::string who = "object " + std::to_string(p_o->getId()) + ": ";
  const bool active = p_o->isActive();
  if (has(graph.activeObjects(), p_o) != active) problems += who + "active list\n";
  if (has(graph.inactiveObjects(), p_o) == active) problems += who + "inactive list\n";
  if (has(graph.solidObjects(), p_o) != (active && p_o->isSolid())) {
    problems += who + "solid list\n";
  }
  if (has(graph.objectsOfType(p_o->getType()), p_o) != active) problems += who + "type map\n";
  for (int altitude = 0; altitude <= tw::MAX_ALTITUDE; altitude++) {
    const bool wanted = active && p_o->isVisible() && p_o->getAltitude() == altitude;
    if (has(graph.visibleObjects(altitude), p_o) != wanted) {
      problems += who + "visible list " + std::to_string(altitude) + "\n";
    }
  }
  if (active && p_o->isSolid()) {
    const tw::Grid& grid = graph.getGrid();
    for (const tw::Cell& cell : grid.getCells(p_o, p_o->getPosition())) {
      if (!has(grid.getCellObjects(cell), p_o)) problems += who + "grid cell\n";
    }
  }
  return problems;
}
}  // namespace

std::string describe(const tw::Object& o, bool exact_direction) {
  std::string d;
  d += "id " + std::to_string(o.getId()) + "\n";
  d += "type '" + o.getType() + "'\n";
  d += std::string("active ") + (o.isActive() ? "1" : "0") + " visible " +
       (o.isVisible() ? "1" : "0") + "\n";
  const tw::Box box = o.getBox();
  d += "box " + hex(box.getCorner()) + " " + hex(box.getHorizontal()) + " " +
       hex(box.getVertical()) + "\n";
  d += "position " + hex(o.getPosition()) + "\n";
  if (exact_direction) d += "direction " + hex(o.getDirection()) + "\n";
  d += "speed " + hex(o.getSpeed()) + " acceleration " + hex(o.getAcceleration()) + "\n";
  d += "altitude " + std::to_string(o.getAltitude()) + " solidness " +
       std::to_string(static_cast<int>(o.getSolidness())) + "\n";
  d += std::string("no_soft ") + (o.getNoSoft() ? "1" : "0") + " avoid " +
       (o.getAvoidCollisions() ? "1" : "0") + " follow " + (o.getFollowPath() ? "1" : "0") + "\n";
  const tw::Path path = o.getPath();
  d += "path index " + std::to_string(path.getIndex()) + " " + path.toString() + "\n";
  const tw::Animation a = o.getAnimation();
  d += "animation sprite " + (a.getSprite() != nullptr ? a.getSprite()->getLabel() : "none") +
       " name '" + a.getName() + "' index " + std::to_string(a.getIndex()) + " slowdown " +
       std::to_string(a.getSlowdownCount()) + "\n";
  const tw::Shape s = o.getShape();
  d += "shape " + std::to_string(s.getType()) + " " + hex(s.getSize()) + " " +
       std::to_string(static_cast<int>(s.getColor())) + " " + std::to_string(s.getAlpha()) + "\n";
  d += "events";
  for (int i = 0; i < o.getEventCount(); i++) d += " '" + o.getEventName(i) + "'";
  d += "\nmodified " + std::to_string(o.getModified()) + "\n";
  return d;
}

std::string describe(const tw::ViewObject& o, bool exact_direction) {
  return describe(static_cast<const tw::Object&>(o), exact_direction) + "view '" +
         o.getViewString() + "' value " + std::to_string(o.getValue()) + " border " +
         (o.getBorder() ? "1" : "0") + " color " + std::to_string(static_cast<int>(o.getColor())) +
         " location " + std::to_string(o.getLocation()) + " draw_value " +
         (o.getDrawValue() ? "1" : "0") + "\n";
}

std::string worldProblems() {
  tw::WorldManager& world = tw::WorldManager::getInstance();
  tw::SceneGraph& graph = world.getSceneGraph();
  const tw::ObjectList all = world.getAllObjects(true);
  std::string problems;
  for (int i = 0; i < all.getCount(); i++) problems += problemsOf(graph, all[i]);
  if (graph.activeObjects().getCount() + graph.inactiveObjects().getCount() != all.getCount()) {
    problems += "object counts\n";
  }
  return problems;
}

void SerializationTest::SetUp() {
  tw::Config::getInstance().loadConfig("headless:true");
  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  const char* data = std::getenv("TW_TEST_DATA");
  ASSERT_NE(data, nullptr);
  const std::string sprites = std::string(data) + "/sprites/";
  ASSERT_EQ(resources.loadSprite(sprites + "good-simple.txt", "good"), 0);
  ASSERT_EQ(resources.loadSprite(sprites + "good-robust.txt", "robust"), 0);
  ASSERT_EQ(world().startUp(), 0);
  world().setBoundary(tw::Box(tw::Vector(0, 0), 80, 24));
  world().setView(tw::Box(tw::Vector(0, 0), 80, 24));
}

void SerializationTest::TearDown() {
  if (world().isStarted()) world().shutDown();
  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  if (resources.isStarted()) resources.shutDown();
}

bool SerializationTest::logged(const std::string& message) const {
  for (const std::string& line : log.messages()) {
    if (line == message) return true;
  }
  return false;
}

}  // namespace tw_test
