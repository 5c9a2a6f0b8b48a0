// The image decoder's library must be linked into every target, statically on
// Windows: a round trip through it in memory proves it works there.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <vector>

namespace {
void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

struct Reader {
  const std::vector<unsigned char>* bytes;
  size_t position;
};

void ReadBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
  if (reader->position + length > reader->bytes->size()) png_error(png, "short read");
  std::memcpy(data, reader->bytes->data() + reader->position, length);
  reader->position += length;
}
}  // namespace

TEST(PngLibrary, EncodesAndDecodesInMemory) {
  const unsigned char pixels[2][8] = {{255, 0, 0, 255, 0, 255, 0, 128},
                                      {0, 0, 255, 64, 10, 20, 30, 0}};
  std::vector<unsigned char> encoded;
  {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    ASSERT_EQ(setjmp(png_jmpbuf(png)), 0);
    png_set_write_fn(png, &encoded, AppendBytes, nullptr);
    png_set_IHDR(png, info, 2, 2, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (const auto& row : pixels) png_write_row(png, row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
  }
  ASSERT_GT(encoded.size(), 8u);
  EXPECT_EQ(png_sig_cmp(encoded.data(), 0, 8), 0);

  unsigned char decoded[2][8] = {};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  Reader reader{&encoded, 0};
  ASSERT_EQ(setjmp(png_jmpbuf(png)), 0);
  png_set_read_fn(png, &reader, ReadBytes);
  png_read_info(png, info);
  EXPECT_EQ(png_get_image_width(png, info), 2u);
  EXPECT_EQ(png_get_color_type(png, info), PNG_COLOR_TYPE_RGBA);
  for (auto& row : decoded) png_read_row(png, row, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  EXPECT_EQ(std::memcmp(decoded, pixels, sizeof pixels), 0);
}
