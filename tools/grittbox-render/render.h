#pragma once
#include "tools/grittbox-render/render_options.h"

// Exit statuses, as the usage text lists them.
enum RenderStatus {
  kRenderDone = 0,
  kRenderBadRequest = 1,        // arguments, unreadable input, unwritable output
  kRenderUnsupportedAudio = 2,  // neither mono nor stereo
  kRenderPluginFailed = 3,
};

// Renders options.input through the plug-in into options.output. Reports any
// failure on standard error as one line prefixed by program.
RenderStatus Render(const RenderOptions& options, const char* program);
