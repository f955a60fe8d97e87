// The one list of every configuration key the engine reads (kept beside the
// parser in Config.cpp): the parser warns about any other key, and the
// configuration reference's table is checked against it.
#pragma once

#include <string>
#include <vector>

namespace tw {

// Every key the configuration parser knows, in the parser's order.
std::vector<std::string> configKeys();

}  // namespace tw
