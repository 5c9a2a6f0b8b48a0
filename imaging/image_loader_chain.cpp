#include "imaging/image_loader_chain.h"

#include <cstring>

#include "imaging/png_decoder.h"

namespace {
// Constant-initialised, so it is null before any start-up code registers.
PIX_ImageLoader* chainHead = nullptr;

PIX_ImageLoader pngLoader{PIX_PngLoadByName, PIX_PngFileFilter, nullptr};

// Registration at start-up: the newest loader goes to the front.
bool Register(PIX_ImageLoader& loader) {
  loader.next = chainHead;
  chainHead = &loader;
  return true;
}

[[maybe_unused]] const bool pngRegistered = Register(pngLoader);

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(const char* text, const char* lower) {
  for (; *text != '\0' && *lower != '\0'; ++text, ++lower) {
    if (LowerAscii(*text) != *lower) return false;
  }
  return *text == *lower;
}

// The name from its last '.', '/' or '\' on; the first character ends the scan
// whatever it is.
const char* LastPart(const char* name) {
  const size_t length = std::strlen(name);
  if (length == 0) return name;
  size_t at = length - 1;
  while (at > 0 && name[at] != '.' && name[at] != '/' && name[at] != '\\') --at;
  return name + at;
}
}  // namespace

const PIX_ImageLoader* PIX_ImageLoaderChain() {
  return chainHead;
}

PIX_IBitmap* PIX_PngLoadByName(const char* path, bool checkExtension, PIX_IBitmap* destination) {
  if (path == nullptr) return nullptr;
  if (checkExtension && !EqualIgnoringCase(LastPart(path), ".png")) return nullptr;
  return PIX_DecodePngFile(path, destination);
}

const char* PIX_PngFileFilter() {
  // The literal's own terminator is the final empty text.
  return "PNG files (*.PNG)\0*.PNG\0";
}
