// Where the window's font is looked for when it is not at its configured
// path: beside the program, then in the folder the engine's data was
// installed into. Opening the font is left to the window presenter.
#pragma once

#include <string>

namespace tw {

// The folder `cmake --install` puts the engine's data (the font) into, as
// compiled in ("<prefix>/share/tarnwick").
std::string installedDataFolder();

// The first readable file of: configured (as given, so relative to the
// working directory), then its file name in program_folder, then in
// installed_folder. Each miss is logged; "" when all three miss.
std::string findFont(const std::string& configured, const std::string& program_folder,
                     const std::string& installed_folder);

}  // namespace tw
