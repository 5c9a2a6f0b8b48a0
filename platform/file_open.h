#pragma once
#include <cstdio>

// Opens a file for binary reading by a UTF-8 path. On Windows the name goes
// through UTF-16, so any character reaches the file system, and the 8-bit name
// is tried as it stands when that fails. Null when the file cannot be opened.
std::FILE* OsOpenFileForReading(const char* utf8Path);
