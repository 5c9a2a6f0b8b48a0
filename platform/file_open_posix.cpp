#include "platform/file_open.h"

std::FILE* OsOpenFileForReading(const char* utf8Path) {
  // The file system takes UTF-8 names as they are.
  return std::fopen(utf8Path, "rb");
}
