#pragma once
#include "imaging/bitmap.h"

// One link of the process-wide chain of image file loaders, one per format.
struct PIX_ImageLoader {
  // Decodes the file at a UTF-8 path into destination (or a new bitmap when it
  // is null) and returns the bitmap, or null. With checkExtension a name
  // without the format's extension is refused unread.
  PIX_IBitmap* (*load)(const char* path, bool checkExtension, PIX_IBitmap* destination);
  // The format's open-dialog filter: description and pattern pairs, each text
  // ending in a zero, the list ending in an empty text.
  const char* (*filter)();
  PIX_ImageLoader* next;
};

// The first loader of the chain, or null. The chain is built during static
// initialisation and never changes afterwards, so it may be read from any
// thread once start-up is over.
const PIX_ImageLoader* PIX_ImageLoaderChain();

// The PNG link: refuses, when checkExtension is set, a name whose last part
// after a '.', '/' or '\' is not ".png" in any case; then decodes the file.
PIX_IBitmap* PIX_PngLoadByName(const char* path, bool checkExtension, PIX_IBitmap* destination);
// "PNG files (*.PNG)", "*.PNG", then the empty text that ends the list.
const char* PIX_PngFileFilter();
