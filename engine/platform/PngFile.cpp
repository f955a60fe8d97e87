#include "engine/platform/PngFile.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tw {
namespace platform {

namespace {

// libpng reports errors through a callback that must not return: it jumps
// back with the message kept here.
void onError(png_structp png, png_const_charp message) {
  std::string* why = static_cast<std::string*>(png_get_error_ptr(png));
  if (why != nullptr) *why = message;
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Writes with libpng's own state set up; false after an error.
bool writeRows(FILE* file, int width, int height, const std::vector<std::uint8_t>& rgb,
               std::string& why) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &why, onError, onWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    why = "out of memory";
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; y++) {
    png_write_row(png, &rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3]);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool writePng(const std::string& filename, int width, int height,
              const std::vector<std::uint8_t>& rgb, std::string& why) {
  if (width < 1 || height < 1 ||
      rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
    why = "the picture has no pixels or not as many as its size says";
    return false;
  }
  FILE* file = std::fopen(filename.c_str(), "wb");
  if (file == nullptr) {
    why = std::strerror(errno);
    return false;
  }
  bool ok = writeRows(file, width, height, rgb, why);
  if (std::fclose(file) != 0 && ok) {
    why = std::strerror(errno);
    ok = false;
  }
  if (!ok) std::remove(filename.c_str());  // no half-written picture is left
  return ok;
}

bool readPng(const std::string& filename, int& width, int& height, std::vector<std::uint8_t>& rgb,
             std::string& why) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, filename.c_str())) {
    why = image.message;
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    why = image.message;
    png_image_free(&image);
    return false;
  }
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  rgb.swap(pixels);
  return true;
}

}  // namespace platform
}  // namespace tw
