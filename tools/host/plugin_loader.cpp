#include "tools/host/plugin_loader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/shared_library.h"

namespace {
using PluginEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The loader searches the library path for a bare name; a name given on the
// command line means a file relative to the working folder.
std::string AsFilePath(const std::string& path) {
  return path.find('/') == std::string::npos ? "./" + path : path;
}

// The plug-in's buffer has kHostProductBufferSize bytes; the name is cut to fit.
VstIntPtr CopyProductName(void* ptr) {
  if (ptr == nullptr) return 0;
  char* text = static_cast<char*>(ptr);
  std::strncpy(text, kHostProductName, kHostProductBufferSize - 1);
  text[kHostProductBufferSize - 1] = 0;
  return 1;
}

}  // namespace

VstIntPtr VSTCALLBACK HostCallback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/,
                                   VstIntPtr /*value*/, void* ptr, float /*opt*/) {
  switch (opcode) {
    case audioMasterVersion:
      return kHostVstVersion;
    case audioMasterGetProductString:
      return CopyProductName(ptr);
    default:
      return 0;
  }
}

std::string DefaultPluginPath() {
  const std::string besideUs = ExecutableDirectory() + PluginLibraryFileName();
  if (IsRegularFile(besideUs)) return besideUs;
#ifdef GRITTBOX_DEFAULT_PLUGIN
  if (IsRegularFile(GRITTBOX_DEFAULT_PLUGIN)) return GRITTBOX_DEFAULT_PLUGIN;
#endif
  return std::string();
}

void LoadedPlugin::EffectCloser::operator()(AEffect* effect) const {
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

LoadedPlugin::LoadedPlugin(LibraryHandle library, EffectHandle effect)
    : library_(std::move(library)), effect_(std::move(effect)) {}

LoadedPlugin::~LoadedPlugin() {
  if (effect_ != nullptr && processing_) Stop();
}

LoadedPlugin::LoadResult LoadedPlugin::Load(const std::string& path) {
  const std::string file = AsFilePath(path);
  auto library = std::make_unique<SharedLibrary>();
  if (!library->Open(file)) return {std::nullopt, "cannot load plug-in: " + library->Error()};

  // Hosts of the 2.4 interface look for VSTPluginMain; older plug-ins only export main.
  void* symbol = library->Symbol("VSTPluginMain");
  if (symbol == nullptr) symbol = library->Symbol("main");
  if (symbol == nullptr) return {std::nullopt, path + " exports neither VSTPluginMain nor main"};
  const auto entry = reinterpret_cast<PluginEntry>(symbol);

  AEffect* record = entry(HostCallback);
  if (record == nullptr) return {std::nullopt, path + ": the plug-in created no instance"};
  // Anything else behind the pointer is not ours to call, not even to close it.
  if (record->magic != kEffectMagic) {
    return {std::nullopt, path + " is not a VST 2 plug-in (wrong magic number)"};
  }
  // Without a dispatcher the instance cannot even be closed.
  if (record->dispatcher == nullptr || record->setParameter == nullptr) {
    return {std::nullopt, path + ": the plug-in record lacks its dispatcher"};
  }
  EffectHandle effect(record);
  if (record->processReplacing == nullptr || (record->flags & effFlagsCanReplacing) == 0) {
    return {std::nullopt, path + ": the plug-in cannot process 32-bit replacing"};
  }
  record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f);
  return {LoadedPlugin(std::move(library), std::move(effect)), std::string()};
}

VstIntPtr LoadedPlugin::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
  return effect_->dispatcher(effect_.get(), opcode, index, value, ptr, opt);
}

std::string LoadedPlugin::EffectName() const {
  // Generous room: the interface promises 32 bytes, some plug-ins write more.
  char name[256] = {};
  effect_->dispatcher(effect_.get(), effGetEffectName, 0, 0, name, 0.0f);
  name[sizeof name - 1] = 0;
  return name;
}

void LoadedPlugin::Start(float sampleRate, int maxBlockFrames) {
  Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  Dispatch(effSetBlockSize, 0, maxBlockFrames);
  Dispatch(effMainsChanged, 0, 1);
  processing_ = true;
}

void LoadedPlugin::Stop() {
  Dispatch(effMainsChanged, 0, 0);
  processing_ = false;
}

void LoadedPlugin::SetParameter(int index, float normalized) {
  effect_->setParameter(effect_.get(), index, normalized);
}

void LoadedPlugin::ProcessReplacing(float** inputs, float** outputs, int frames) {
  effect_->processReplacing(effect_.get(), inputs, outputs, frames);
}
