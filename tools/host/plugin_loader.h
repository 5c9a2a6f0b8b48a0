#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/shared_library.h"
#include "vst2/vst2_abi.h"

// The product name our hosts give the plug-in when it asks who is loading it.
constexpr const char kHostProductName[] = "grittbox-render";
// The size of the text buffer plug-ins pass with audioMasterGetProductString.
constexpr int kHostProductBufferSize = 256;
// The version of the interface our hosts speak.
constexpr VstIntPtr kHostVstVersion = 2400;

// Our host's answers: the version and product name, nothing else.
VstIntPtr VSTCALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt);

// The plug-in library to load when none is named: a Grittbox.so next to the
// executable, else the one this build produced. Empty when neither exists.
std::string DefaultPluginPath();

// A plug-in instance created from a library loaded at run time. Closing is
// ordered: processing stops, the instance closes, then the library unloads.
class LoadedPlugin {
 public:
  // Loads the library at path, creates one instance and opens it.
  struct LoadResult;
  static LoadResult Load(const std::string& path);

  LoadedPlugin(LoadedPlugin&& other) = default;
  LoadedPlugin& operator=(LoadedPlugin&&) = delete;
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;
  ~LoadedPlugin();

  AEffect& Effect() const { return *effect_; }
  int InputCount() const { return effect_->numInputs; }
  int OutputCount() const { return effect_->numOutputs; }
  int ParamCount() const { return effect_->numParams; }
  // The plug-in's own name, or an empty text when it gives none.
  std::string EffectName() const;

  // Announces the rate and largest block, then switches processing on.
  void Start(float sampleRate, int maxBlockFrames);
  // Switches processing off; Start may follow again.
  void Stop();
  void SetParameter(int index, float normalized);
  void ProcessReplacing(float** inputs, float** outputs, int frames);

 private:
  struct EffectCloser {
    void operator()(AEffect* effect) const;
  };
  using LibraryHandle = std::unique_ptr<SharedLibrary>;
  using EffectHandle = std::unique_ptr<AEffect, EffectCloser>;

  LoadedPlugin(LibraryHandle library, EffectHandle effect);
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  // Members are destroyed in reverse order: the instance before its library.
  LibraryHandle library_;
  EffectHandle effect_;
  bool processing_ = false;
};

// Either a loaded plug-in or the reason there is none.
struct LoadedPlugin::LoadResult {
  std::optional<LoadedPlugin> plugin;
  std::string error;
};
