#include "tools/grittbox-render/render.h"

#include <cstdio>
#include <vector>

#include "tools/grittbox-render/progress_bar.h"
#include "tools/host/audio_file.h"
#include "tools/host/block_processor.h"

namespace {
// Shorter renders finish before a bar would tell anything.
constexpr int64_t kProgressMinSeconds = 10;

RenderStatus Fail(const char* program, RenderStatus status, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", program, message.c_str());
  return status;
}

// A half-written output would pass for a finished one.
RenderStatus FailRemovingOutput(const char* program, const std::string& output,
                                const std::string& message) {
  std::remove(output.c_str());
  return Fail(program, kRenderBadRequest, message);
}
}  // namespace

RenderStatus Render(const RenderOptions& options, const char* program) {
  AudioReader::OpenResult opened = AudioReader::Open(options.input);
  if (!opened.reader) return Fail(program, kRenderBadRequest, opened.error);
  AudioReader& reader = *opened.reader;
  const AudioFormat format = reader.Format();
  if (format.channels != 1 && format.channels != 2) {
    return Fail(program, kRenderUnsupportedAudio,
                options.input + " has " + std::to_string(format.channels) +
                    " channels; only mono and stereo files can be rendered");
  }

  const std::string pluginPath =
      options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;
  if (pluginPath.empty()) {
    return Fail(program, kRenderPluginFailed, "no Grittbox.so found; name one with --plugin");
  }
  LoadedPlugin::LoadResult loaded = LoadedPlugin::Load(pluginPath);
  if (!loaded.plugin) return Fail(program, kRenderPluginFailed, loaded.error);
  LoadedPlugin& plugin = *loaded.plugin;
  const std::string unfit = BlockProcessor::CheckChannels(plugin, format.channels);
  if (!unfit.empty()) return Fail(program, kRenderPluginFailed, pluginPath + ": " + unfit);
  if (plugin.ParamCount() < kGrittboxParams) {
    return Fail(program, kRenderPluginFailed,
                pluginPath + " has " + std::to_string(plugin.ParamCount()) +
                    " parameters, not Grittbox's " + std::to_string(kGrittboxParams));
  }

  // Created only now: a failure above leaves an existing output untouched.
  AudioWriter::CreateResult created =
      AudioWriter::Create(options.output, format.sampleRate, format.channels);
  if (!created.writer) return Fail(program, kRenderBadRequest, created.error);
  AudioWriter& writer = *created.writer;

  plugin.Start(static_cast<float>(format.sampleRate), options.blockFrames);
  ApplySettings(plugin, options.settings);

  BlockProcessor processor(plugin, format.channels, options.blockFrames);
  const size_t blockSamples = static_cast<size_t>(options.blockFrames) * format.channels;
  std::vector<float> in(blockSamples);
  std::vector<float> out(blockSamples);
  const bool longFile = format.frames > kProgressMinSeconds * format.sampleRate;
  ProgressBar progress(stderr, format.frames, longFile && !options.quiet);
  int64_t done = 0;
  for (;;) {
    const int64_t got = reader.Read(in.data(), options.blockFrames);
    if (got < 0) {
      progress.Finish();
      return FailRemovingOutput(program, options.output,
                                "cannot read " + options.input + ": " + reader.Error());
    }
    if (got == 0) break;
    processor.Process(in.data(), out.data(), static_cast<int>(got));
    if (!writer.Write(out.data(), got)) {
      progress.Finish();
      return FailRemovingOutput(program, options.output,
                                "cannot write " + options.output + ": " + writer.Error());
    }
    done += got;
    progress.Update(done);
  }
  progress.Finish();
  plugin.Stop();

  const std::string closing = writer.Finish();
  if (!closing.empty()) {
    return FailRemovingOutput(program, options.output,
                              "cannot complete " + options.output + ": " + closing);
  }
  return kRenderDone;
}
