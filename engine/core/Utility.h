// Free helpers shared by the engine: the key:value matcher behind the
// configuration, the stream check used by serialization, number texts, ranges.
#pragma once

#include "engine/platform/Export.h"

#include <cstdint>
#include <iosfwd>
#include <string>

namespace tw {

// Parses str (when not empty) as "key:value,key:value" items with all white
// space removed, then returns the value of the first item whose key is find,
// or "". An empty str searches the items of the previous parse.
TW_API std::string match(std::string str, std::string find);

// 0 when the stream is good, else -1 after one log line naming where.
TW_API int checkStream(const char* where, std::iostream& stream);

TW_API std::string toString(int i);
TW_API std::string toString(float f);
// 32 characters of "0"/"1", bit 31 first.
TW_API std::string toBinaryString(std::uint32_t value);
// min <= value <= max.
TW_API bool valueInRange(float value, float min, float max);

}  // namespace tw
