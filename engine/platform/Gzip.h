// Whole files compressed with gzip, read and written through zlib: the one
// place that sees the library.
#pragma once

#include <cstddef>
#include <string>

namespace tw {
namespace platform {

// The file's bytes, uncompressed (a file that is not gzip is read as it
// stands); false, with the reason in why, when it cannot be opened or its
// data is cut short or damaged, or when it uncompresses past max_bytes.
bool readGzipFile(const std::string& filename, std::string& bytes, std::string& why,
                  std::size_t max_bytes = 64u << 20);
// Writes bytes gzip-compressed; false, with the reason in why, on failure.
bool writeGzipFile(const std::string& filename, const std::string& bytes, std::string& why);

}  // namespace platform
}  // namespace tw
