// PNG pictures written and read through libpng: the one place that sees the
// library. Pixels are 8-bit RGB, row by row from the top.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tw {
namespace platform {

// Writes width x height pixels (3 bytes each); false, with the reason in
// why, when the file cannot be written or the sizes do not match.
bool writePng(const std::string& filename, int width, int height,
              const std::vector<std::uint8_t>& rgb, std::string& why);
// Reads a PNG as 8-bit RGB (whatever its own form); false, with the reason
// in why, when it cannot be read.
bool readPng(const std::string& filename, int& width, int& height, std::vector<std::uint8_t>& rgb,
             std::string& why);

}  // namespace platform
}  // namespace tw
