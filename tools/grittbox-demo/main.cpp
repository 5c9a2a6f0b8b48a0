// grittbox-demo: synthesizes a short phrase, renders it through the Grittbox
// plug-in loaded at run time, and writes both files, their levels and a
// picture of both waveforms.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tools/grittbox-demo/demo_signal.h"
#include "tools/grittbox-demo/png_writer.h"
#include "tools/grittbox-demo/signal_stats.h"
#include "tools/grittbox-demo/waveform_image.h"
#include "tools/host/audio_file.h"
#include "tools/host/block_processor.h"
#include "tools/host/grittbox_settings.h"
#include "tools/host/plugin_loader.h"

namespace {
constexpr const char* kProgram = "grittbox-demo";
constexpr int kBlockFrames = 512;
constexpr int kImageWidth = 1200;
constexpr int kImageHeight = 400;

// Clip 60, Rate 30, Fuzz 40, Static 50, Mix 70: gritty, with the dry attack
// still audible underneath.
GrittboxSettings DemoSettings() {
  GrittboxSettings settings;
  settings.percent[kParamClip] = 60;
  settings.percent[kParamRate] = 30;
  settings.percent[kParamFuzz] = 40;
  settings.percent[kParamStatic] = 50;
  settings.percent[kParamMix] = 70;
  return settings;
}

struct DemoOptions {
  std::string outDir = "out";
  std::string pluginPath;  // empty: the default plug-in
  bool help = false;
  std::string error;
};

DemoOptions ParseDemoOptions(int argc, char** argv) {
  DemoOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if ((arg == "--out" || arg == "--plugin") && i + 1 < argc && argv[i + 1][0] != 0) {
      (arg == "--out" ? options.outDir : options.pluginPath) = argv[++i];
    } else if (arg == "--out" || arg == "--plugin") {
      options.error = arg + " needs a value";
    } else {
      options.error = "unexpected argument " + arg;
    }
    if (!options.error.empty()) break;
  }
  return options;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return 1;
}

// Renders the whole signal through the plug-in, block by block as a host does.
std::string RenderThroughPlugin(const std::string& pluginPath, const std::vector<float>& dry,
                                std::vector<float>& processed) {
  LoadedPlugin::LoadResult loaded = LoadedPlugin::Load(pluginPath);
  if (!loaded.plugin) return loaded.error;
  LoadedPlugin& plugin = *loaded.plugin;
  const std::string unfit = BlockProcessor::CheckChannels(plugin, kDemoChannels);
  if (!unfit.empty()) return pluginPath + ": " + unfit;
  if (plugin.ParamCount() < kGrittboxParams) {
    return pluginPath + " has " + std::to_string(plugin.ParamCount()) + " parameters, not " +
           std::to_string(kGrittboxParams);
  }
  std::printf("plug-in: %s (%s)\n", plugin.EffectName().c_str(), pluginPath.c_str());

  plugin.Start(static_cast<float>(kDemoSampleRate), kBlockFrames);
  ApplySettings(plugin, DemoSettings());
  BlockProcessor processor(plugin, kDemoChannels, kBlockFrames);
  processed.assign(dry.size(), 0.0f);
  const auto frames = static_cast<int64_t>(dry.size() / kDemoChannels);
  for (int64_t done = 0; done < frames; done += kBlockFrames) {
    const int n = static_cast<int>(std::min<int64_t>(kBlockFrames, frames - done));
    processor.Process(&dry[done * kDemoChannels], &processed[done * kDemoChannels], n);
  }
  plugin.Stop();
  return std::string();
}

void PrintLevels(const char* label, const std::string& path, const std::vector<float>& signal) {
  const SignalLevel level = MeasureLevel(signal);
  std::printf("%-6s %s\n       peak %s   RMS %s\n", label, path.c_str(),
              DescribeLevel(level.peak).c_str(), DescribeLevel(level.rms).c_str());
}
}  // namespace

int main(int argc, char** argv) {
  const DemoOptions options = ParseDemoOptions(argc, argv);
  if (options.help) {
    std::printf(
        "usage: %s [--out DIR] [--plugin PATH]\n"
        "Renders a synthesized phrase through Grittbox into DIR (default out):\n"
        "grittbox-demo-dry.wav, grittbox-demo.wav and grittbox-demo.png.\n",
        kProgram);
    return 0;
  }
  if (!options.error.empty()) return Fail(options.error + " (see --help)");

  std::error_code madeFolder;
  std::filesystem::create_directories(options.outDir, madeFolder);
  if (madeFolder) return Fail("cannot create " + options.outDir + ": " + madeFolder.message());
  const std::string pluginPath =
      options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;
  if (pluginPath.empty()) return Fail("no Grittbox.so found; name one with --plugin");

  const std::vector<float> dry = SynthesizeDemoSignal();
  std::vector<float> processed;
  const std::string renderError = RenderThroughPlugin(pluginPath, dry, processed);
  if (!renderError.empty()) return Fail(renderError);

  const std::string dryPath = options.outDir + "/grittbox-demo-dry.wav";
  const std::string wetPath = options.outDir + "/grittbox-demo.wav";
  const std::string imagePath = options.outDir + "/grittbox-demo.png";
  struct Output {
    const std::string& path;
    const std::vector<float>& signal;
  };
  for (const Output& output : {Output{dryPath, dry}, Output{wetPath, processed}}) {
    const std::string error =
        WriteAudioFile(output.path, kDemoSampleRate, kDemoChannels, output.signal);
    if (!error.empty()) return Fail(error);
  }
  const std::string imageError =
      WritePng(imagePath, DrawWaveforms(dry, processed, kDemoChannels, kImageWidth, kImageHeight));
  if (!imageError.empty()) return Fail(imageError);

  std::printf("settings:");
  for (int i = 0; i < kGrittboxParams; ++i) {
    std::printf(" %s %g%%", kGrittboxParamNames[i], DemoSettings().percent[i]);
  }
  std::printf("\n");
  PrintLevels("input", dryPath, dry);
  PrintLevels("output", wetPath, processed);
  std::printf("image  %s\n", imagePath.c_str());
  return 0;
}
