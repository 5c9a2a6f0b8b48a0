#pragma once
#include <vector>

#include "core/plugin_base.h"

// A plug-in base with recording host services, for tests of the core.
class TestPlugin : public IPluginBase {
 public:
  explicit TestPlugin(const IPluginSetup& setup) : IPluginBase(setup) {}

  static IPluginSetup Setup(const char* channelIO = "1-1 2-2", int params = 5, int presets = 1) {
    IPluginSetup setup;
    setup.parameterCount = params;
    setup.presetCount = presets;
    setup.channelIO = channelIO;
    setup.effectName = "Grittbox";
    setup.productName = "Grittbox";
    setup.makerName = "Grittbox Audio";
    setup.versionWord = 0x00010000;
    return setup;
  }

  void ParamChanged(int index) override {
    IPluginBase::ParamChanged(index);
    changed.push_back(index);
  }
  void NotifyHostGestureBegin(int index) override { gestures.push_back(index); }
  void NotifyHostParamValue(int index, double normalized) override {
    automation.push_back({index, normalized});
  }
  void NotifyHostGestureEnd(int index) override { gestures.push_back(-1 - index); }
  void NotifyHostDisplayChanged() override {}
  int32_t QueryTransportSample() override { return 0; }
  double QueryHostTempo() override { return 0.0; }
  void QueryTimeSignature(int32_t& numerator, int32_t& denominator) override {
    numerator = denominator = 0;
  }
  void QueryTransport(ITransportInfo&) override {}
  void EditorSizeChanged(int, int) override {}
  bool EmitMidiMessage(const IMidiShortMessage& message) override {
    emitted.push_back(message);
    return true;
  }

  struct Automation {
    int index;
    double normalized;
  };
  std::vector<int> changed;
  std::vector<int> gestures;
  std::vector<Automation> automation;
  std::vector<IMidiShortMessage> emitted;
};
