#include "tools/grittbox-demo/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

struct PngFailure {
  char message[256];
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
  std::snprintf(failure->message, sizeof failure->message, "%s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// libpng reports errors by jumping back to setjmp, past any destructor, so
// this function holds nothing that needs one.
bool EncodeRows(std::FILE* file, const RgbImage& image, PngFailure& failure) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const size_t stride = static_cast<size_t>(image.width) * 3;
  for (int y = 0; y < image.height; ++y) png_write_row(png, &image.pixels[y * stride]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

std::string WritePng(const std::string& path, const RgbImage& image) {
  if (image.width <= 0 || image.height <= 0) return "cannot write " + path + ": empty image";
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (file == nullptr) return "cannot write " + path + ": " + std::strerror(errno);
  PngFailure failure{"out of memory"};
  const bool encoded = EncodeRows(file.get(), image, failure);
  // Closed here rather than by the holder: a failed close means a lost write.
  const bool closed = std::fclose(file.release()) == 0;
  if (!encoded) return "cannot write " + path + ": " + failure.message;
  if (!closed) return "cannot write " + path + ": " + std::strerror(errno);
  return std::string();
}
