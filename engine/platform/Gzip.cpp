#include "engine/platform/Gzip.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>

namespace tw {
namespace platform {

namespace {

std::string gzipError(gzFile file) {
  int code = Z_OK;
  const char* text = gzerror(file, &code);
  return code == Z_ERRNO ? std::strerror(errno) : text;
}

}  // namespace

bool readGzipFile(const std::string& filename, std::string& bytes, std::string& why,
                  std::size_t max_bytes) {
  bytes.clear();
  gzFile file = gzopen(filename.c_str(), "rb");
  if (file == nullptr) {
    why = std::strerror(errno != 0 ? errno : ENOENT);
    return false;
  }
  char buffer[1 << 16];
  int n;
  while ((n = gzread(file, buffer, sizeof buffer)) > 0) {
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > max_bytes) {
      gzclose(file);
      why = "it uncompresses to more than " + std::to_string(max_bytes >> 20) + " MB";
      return false;
    }
  }
  // A damaged or cut-short stream shows as a read error or at the close.
  const std::string error = n < 0 ? gzipError(file) : "";
  const int closed = gzclose(file);
  if (n < 0 || closed != Z_OK) {
    why = !error.empty() ? error : closed == Z_BUF_ERROR ? "its compressed data is cut short"
                                                           : "its compressed data is damaged";
    return false;
  }
  return true;
}

bool writeGzipFile(const std::string& filename, const std::string& bytes, std::string& why) {
  gzFile file = gzopen(filename.c_str(), "wb");
  if (file == nullptr) {
    why = std::strerror(errno != 0 ? errno : EACCES);
    return false;
  }
  const int written = bytes.empty() ? 0 : gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
  const bool ok = written == static_cast<int>(bytes.size());
  if (!ok) why = gzipError(file);
  if (gzclose(file) != Z_OK && ok) {
    why = "cannot finish writing";
    return false;
  }
  return ok;
}

}  // namespace platform
}  // namespace tw
