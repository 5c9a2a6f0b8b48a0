#include <windows.h>

#include <cstdio>

#include "platform/file_open.h"

namespace {
// Longest wide name we convert; a longer one is tried as an 8-bit name.
constexpr int kWideNameChars = 2048;
}  // namespace

std::FILE* OsOpenFileForReading(const char* utf8Path) {
  // The 8-bit functions read names in the ANSI code page, which cannot spell
  // every UTF-8 name; the wide ones can.
  wchar_t wide[kWideNameChars];
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path, -1, wide, kWideNameChars) > 0) {
    if (std::FILE* file = _wfopen(wide, L"rb")) return file;
  }
  return std::fopen(utf8Path, "rb");
}
