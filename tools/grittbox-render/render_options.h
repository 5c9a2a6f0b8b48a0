#pragma once
#include <string>
#include <vector>

#include "tools/host/grittbox_settings.h"

constexpr int kDefaultBlockFrames = 512;
constexpr int kMaxBlockFrames = 8192;

// What one render is asked to do.
struct RenderOptions {
  GrittboxSettings settings;
  int blockFrames = kDefaultBlockFrames;
  std::string pluginPath;  // empty: the default plug-in
  bool quiet = false;
  std::string input;
  std::string output;
};

// The outcome of reading the command line: the options, a request for help,
// or why the command line cannot be used.
struct ParsedOptions {
  RenderOptions options;
  bool help = false;
  std::string error;  // empty when the command line is good
};

// Reads the arguments after the program name. Checks only the text; the files
// are checked by CheckRenderPaths.
ParsedOptions ParseRenderOptions(const std::vector<std::string>& args);

// Why the input cannot be read or the output must not be written, or an
// empty text. The output may not be the input under any name.
std::string CheckRenderPaths(const RenderOptions& options);

// The usage text for --help and for argument errors.
std::string RenderUsage(const char* program);
