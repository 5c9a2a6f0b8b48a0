// grittbox-render: renders an audio file through the Grittbox plug-in, loaded
// at run time as any host loads it.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/grittbox-render/render.h"
#include "tools/grittbox-render/render_options.h"

int main(int argc, char** argv) {
  const char* program = "grittbox-render";
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedOptions parsed = ParseRenderOptions(args);
  if (parsed.help) {
    std::fputs(RenderUsage(program).c_str(), stdout);
    return kRenderDone;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "%s: %s (see --help)\n", program, parsed.error.c_str());
    return kRenderBadRequest;
  }
  const std::string pathError = CheckRenderPaths(parsed.options);
  if (!pathError.empty()) {
    std::fprintf(stderr, "%s: %s\n", program, pathError.c_str());
    return kRenderBadRequest;
  }
  return Render(parsed.options, program);
}
