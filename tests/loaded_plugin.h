#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/shared_library.h"
#include "vst2/vst2_abi.h"

using PluginEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

// The built plug-in library, loaded once per test program through its exported
// entries, as a host loads it. It lies next to the test executable.
class PluginLibrary {
 public:
  static PluginLibrary& Instance() {
    static PluginLibrary library;
    return library;
  }
  PluginEntry Entry(const char* name) const {
    return reinterpret_cast<PluginEntry>(library_.Symbol(name));
  }
  const std::string& Error() const { return library_.Error(); }
  bool IsOpen() const { return library_.IsOpen(); }

 private:
  PluginLibrary() { library_.Open(ExecutableDirectory() + PluginLibraryFileName()); }
  SharedLibrary library_;
};

// One instance created through VSTPluginMain and closed through effClose.
class PluginInstance {
 public:
  explicit PluginInstance(audioMasterCallback host = nullptr, const char* entry = "VSTPluginMain") {
    PluginEntry create = PluginLibrary::Instance().Entry(entry);
    if (create != nullptr) effect_ = create(host);
  }
  ~PluginInstance() {
    if (effect_ != nullptr) Dispatch(effClose);
  }
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  AEffect* operator->() const { return effect_; }
  AEffect* get() const { return effect_; }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
  }
  // The usual host sequence up to processing.
  void Open(float sampleRate = 44100.0f, VstIntPtr blockSize = 1024) const {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    Dispatch(effSetBlockSize, 0, blockSize);
    Dispatch(effMainsChanged, 0, 1);
  }
  // Sets the five parameters from percentages.
  void SetPercent(double clip, double rate, double fuzz, double staticLevel, double mix) const {
    const double values[] = {clip, rate, fuzz, staticLevel, mix};
    for (int i = 0; i < 5; ++i)
      effect_->setParameter(effect_, i, static_cast<float>(values[i] / 100));
  }
  // A copy of the chunk the plug-in hands out for the bank or the current
  // program; empty when it gives none.
  std::vector<uint8_t> GetChunk(bool bank) const {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
    if (size <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
  }
  VstIntPtr SetChunk(bool bank, std::vector<uint8_t> bytes) const {
    return Dispatch(effSetChunk, bank ? 0 : 1, static_cast<VstIntPtr>(bytes.size()), bytes.data());
  }
  // Every parameter's value as getParameter answers it.
  std::vector<float> NormalizedParams() const {
    std::vector<float> values;
    for (int i = 0; i < effect_->numParams; ++i) {
      values.push_back(effect_->getParameter(effect_, i));
    }
    return values;
  }
  // Stereo 64-bit processing of two channels, in place in new buffers.
  void ProcessDouble(const std::vector<double>& left, const std::vector<double>& right,
                     std::vector<double>& outLeft, std::vector<double>& outRight) const {
    outLeft.assign(left.size(), 0.0);
    outRight.assign(right.size(), 0.0);
    std::vector<double> inLeft = left, inRight = right;
    double* inputs[] = {inLeft.data(), inRight.data()};
    double* outputs[] = {outLeft.data(), outRight.data()};
    effect_->processDoubleReplacing(effect_, inputs, outputs, static_cast<VstInt32>(left.size()));
  }

 private:
  AEffect* effect_ = nullptr;
};
