// Shared by the serialization tests: a started headless world with two sprites
// loaded, a builder of expected record bytes, exact text pictures of objects
// to compare, and a check of the scene graph's invariants.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "engine/core/Config.h"
#include "engine/core/ObjectList.h"
#include "engine/display/ViewObject.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"
#include "tests/support/TestSupport.h"

namespace tw_test {

// Record bytes built by hand, in the machine's byte order.
class Bytes {
 public:
  Bytes& i32(std::int32_t v) { return raw(v); }
  Bytes& u32(std::uint32_t v) { return raw(v); }
  Bytes& f32(float v) { return raw(v); }
  Bytes& u64(std::uint64_t v) { return raw(v); }
  Bytes& b(bool v) {
    data += static_cast<char>(v ? 1 : 0);
    return *this;
  }
  Bytes& byte(int v) {
    data += static_cast<char>(v);
    return *this;
  }
  Bytes& vec(float x, float y) { return f32(x).f32(y); }
  Bytes& str(const std::string& s) {
    u64(s.size());
    data += s;
    return *this;
  }
  Bytes& text(const std::string& s) {
    data += s;
    return *this;
  }
  const std::string& get() const { return data; }
  operator std::string() const { return data; }

 private:
  template <typename T>
  Bytes& raw(T v) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &v, sizeof(T));
    data.append(bytes, sizeof(T));
    return *this;
  }
  std::string data;
};

inline std::stringstream streamOf(const std::string& bytes) {
  return std::stringstream(bytes, std::ios::in | std::ios::out | std::ios::binary);
}

// Every attribute of an object, floats in exact hexadecimal, one per line.
// Without exact_direction the direction is left out: normalising a
// normalised vector again may move its last bit, so callers compare it apart.
std::string describe(const tw::Object& o, bool exact_direction = true);
// The same plus the view object's own fields.
std::string describe(const tw::ViewObject& o, bool exact_direction = true);
// Empty when every object of the world sits in exactly the scene graph lists
// its state asks for, and every solid active one in the grid cells of its box.
std::string worldProblems();

// A started headless world of 80 x 24 cells with the log captured and the
// sprites "good" (3 x 2, two frames) and "robust" (3 x 2, two frames) loaded.
class SerializationTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  tw::WorldManager& world() { return tw::WorldManager::getInstance(); }
  tw::SceneGraph& graph() { return world().getSceneGraph(); }
  bool logged(const std::string& message) const;

  LogCapture log;
};

}  // namespace tw_test
