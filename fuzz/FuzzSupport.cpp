#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

#include "engine/core/LogManager.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/Box.h"
#include "engine/world/WorldManager.h"

namespace tw_fuzz {

void startEngine(bool world) {
  setenv("TARNWICK_LOG", "/dev/null", 1);
  require(tw::LogManager::getInstance().startUp() == 0, "log did not start");
  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  require(resources.startUp() == 0, "resource manager did not start");
  if (!world) return;
  const std::string sprites = std::string(TW_FUZZ_DATA) + "/sprites/";
  require(resources.loadSprite(sprites + "good-simple.txt", "good") == 0, "no sprite 'good'");
  require(resources.loadSprite(sprites + "good-robust.txt", "robust") == 0, "no sprite 'robust'");
  tw::WorldManager& world_manager = tw::WorldManager::getInstance();
  require(world_manager.startUp() == 0, "world manager did not start");
  world_manager.setBoundary(tw::Box(tw::Vector(0, 0), 80, 24));
  world_manager.setView(tw::Box(tw::Vector(0, 0), 80, 24));
}

std::string bytesOf(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}

}  // namespace tw_fuzz
