// Object and view-object records: every input is read by a plain object and
// by a view object. A record that is accepted must leave an object whose own
// full record is accepted again by a fresh object of the same kind.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "engine/display/ViewObject.h"
#include "engine/world/Object.h"
#include "engine/world/ObjectAttribute.h"
#include "fuzz/FuzzSupport.h"

namespace {
std::stringstream streamOf(const std::string& bytes) {
  return std::stringstream(bytes, std::ios::in | std::ios::out | std::ios::binary);
}

template <typename T>
void readRecord(const std::string& bytes, unsigned int all) {
  T* target = new T;
  std::stringstream in = streamOf(bytes);
  const int result = target->deserialize(&in);
  tw_fuzz::require(result == 0 || result == -1, "deserialize result");
  if (result == 0) {
    std::stringstream written = streamOf("");
    tw_fuzz::require(target->serialize(&written, all) == 0, "serialize of an accepted record");
    T* copy = new T;
    tw_fuzz::require(copy->deserialize(&written) == 0, "own record refused");
    delete copy;
  }
  delete target;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tw_fuzz::startEngine(true);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = tw_fuzz::bytesOf(data, size);
  readRecord<tw::Object>(bytes, tw::ALL_OBJECT_ATTRIBUTES);
  readRecord<tw::ViewObject>(bytes, tw::ALL_OBJECT_ATTRIBUTES | tw::VALUE | tw::APPEARANCE);
  return 0;
}
