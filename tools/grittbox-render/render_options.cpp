#include "tools/grittbox-render/render_options.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
// A number that fills the whole text: "12abc" and "" are not numbers.
bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtod(text.c_str(), &end);
  return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

bool ParseInteger(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && end == text.c_str() + text.size();
}

int ParamIndex(const std::string& name) {
  for (int i = 0; i < kGrittboxParams; ++i) {
    if (name == kGrittboxParamNames[i]) return i;
  }
  return -1;
}

std::string ParseValue(const std::string& option, const std::string& value,
                       RenderOptions& options) {
  const std::string name = option.substr(2);
  const int param = ParamIndex(name);
  if (param >= 0) {
    double percent = 0;
    if (!ParseNumber(value, percent) || percent < 0 || percent > 100) {
      return option + " takes a percentage from 0 to 100, not '" + value + "'";
    }
    options.settings.percent[param] = percent;
    return std::string();
  }
  if (name == "block") {
    long frames = 0;
    if (!ParseInteger(value, frames) || frames < 1 || frames > kMaxBlockFrames) {
      return "--block takes a whole number of frames from 1 to " + std::to_string(kMaxBlockFrames) +
             ", not '" + value + "'";
    }
    options.blockFrames = static_cast<int>(frames);
    return std::string();
  }
  if (value.empty()) return "--plugin takes a file name";
  options.pluginPath = value;
  return std::string();
}

bool TakesValue(const std::string& option) {
  return option == "--block" || option == "--plugin" ||
         (option.size() > 2 && ParamIndex(option.substr(2)) >= 0);
}
}  // namespace

ParsedOptions ParseRenderOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      return parsed;
    } else if (arg == "--quiet" || arg == "-q") {
      parsed.options.quiet = true;
    } else {
      // Both --clip 80 and --clip=80.
      const size_t equals = arg.find('=');
      const std::string option = arg.substr(0, equals);
      if (!TakesValue(option)) {
        const bool flag = option == "--quiet" || option == "--help";
        parsed.error = flag ? option + " takes no value" : "unknown option " + option;
        return parsed;
      }
      std::string value;
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        parsed.error = option + " needs a value";
        return parsed;
      }
      parsed.error = ParseValue(option, value, parsed.options);
      if (!parsed.error.empty()) return parsed;
    }
  }
  if (files.size() != 2) {
    parsed.error = files.size() < 2 ? "expected an INPUT and an OUTPUT file"
                                    : "too many files: expected only INPUT and OUTPUT";
    return parsed;
  }
  parsed.options.input = files[0];
  parsed.options.output = files[1];
  return parsed;
}

std::string CheckRenderPaths(const RenderOptions& options) {
  struct stat input {};
  if (stat(options.input.c_str(), &input) != 0) {
    return "cannot read " + options.input + ": " + std::strerror(errno);
  }
  if (!S_ISREG(input.st_mode)) return options.input + " is not a file";
  // Names differ in many ways (links, "./", case on some file systems); the
  // file behind them is what must not be overwritten.
  struct stat output {};
  if (stat(options.output.c_str(), &output) == 0) {
    if (output.st_dev == input.st_dev && output.st_ino == input.st_ino) {
      return "OUTPUT " + options.output + " is the INPUT file; choose another name";
    }
    if (S_ISDIR(output.st_mode)) return options.output + " is a folder";
    return std::string();
  }
  if (errno != ENOENT) return "cannot write " + options.output + ": " + std::strerror(errno);
  // A new file needs its folder; say so before any work is done.
  const size_t slash = options.output.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : options.output.substr(0, slash + 1);
  struct stat folderInfo {};
  if (stat(folder.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
    return "cannot write " + options.output + ": there is no folder " + folder;
  }
  return std::string();
}

std::string RenderUsage(const char* program) {
  return std::string("usage: ") + program +
         " [--clip P] [--rate P] [--fuzz P] [--static P] [--mix P]\n"
         "       [--block N] [--plugin PATH] [--quiet] INPUT OUTPUT\n"
         "\n"
         "Renders a mono or stereo audio file through the Grittbox plug-in.\n"
         "\n"
         "  --clip, --rate, --fuzz, --static, --mix P\n"
         "                 the knobs, as percentages from 0 to 100 (default 50)\n"
         "  --block N      frames per processing call, 1 to " +
         std::to_string(kMaxBlockFrames) + " (default " + std::to_string(kDefaultBlockFrames) +
         ")\n"
         "  --plugin PATH  the plug-in library (default: Grittbox.so beside this\n"
         "                 program, else the one this build made)\n"
         "  --quiet        no progress bar\n"
         "  --help         this text\n"
         "\n"
         "OUTPUT keeps the input's rate and channels; it is WAV with float samples\n"
         "unless its extension names another format (.flac, .aiff, .ogg, ...).\n"
         "Exit status: 0 done, 1 bad arguments or files, 2 not mono or stereo,\n"
         "3 the plug-in failed to load.\n";
}
