#include <windows.h>

#include "platform/drawing_surface.h"

OsDrawingContext OsCreateMemoryContext() {
  return CreateCompatibleDC(nullptr);
}

void OsDeleteMemoryContext(OsDrawingContext context) {
  if (context != nullptr) DeleteDC(static_cast<HDC>(context));
}

OsBitmap OsCreatePixelBitmap(int rowPixels, int height, bool bottomUp, uint32_t** pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = rowPixels;
  info.bmiHeader.biHeight = bottomUp ? height : -height;  // negative: top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  *pixels = bitmap != nullptr ? static_cast<uint32_t*>(bits) : nullptr;
  return bitmap;
}

void OsDeleteBitmap(OsBitmap bitmap) {
  if (bitmap != nullptr) DeleteObject(static_cast<HGDIOBJ>(bitmap));
}

void* OsSelectIntoContext(OsDrawingContext context, void* object) {
  return SelectObject(static_cast<HDC>(context), static_cast<HGDIOBJ>(object));
}
