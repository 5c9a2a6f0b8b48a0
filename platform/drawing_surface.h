#pragma once
#include <cstdint>

// The OS pieces behind a system bitmap: a memory drawing context and 32-bit
// pixel bitmaps selected into it, whose pixels both our routines and the OS
// text drawing reach. On Windows these are GDI objects; elsewhere a stand-in
// context that only remembers what is selected into it.
using OsDrawingContext = void*;
using OsBitmap = void*;

// A memory drawing context compatible with the screen, or null.
OsDrawingContext OsCreateMemoryContext();
void OsDeleteMemoryContext(OsDrawingContext context);
// A rowPixels by height bitmap of 32-bit pixels, top-down unless bottomUp;
// its pixel memory goes to pixels. Null (and null pixels) on failure.
OsBitmap OsCreatePixelBitmap(int rowPixels, int height, bool bottomUp, uint32_t** pixels);
void OsDeleteBitmap(OsBitmap bitmap);
// Selects an object into the context and returns the one it held before.
void* OsSelectIntoContext(OsDrawingContext context, void* object);
