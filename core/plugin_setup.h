#pragma once
#include <cstdint>

// The construction values a plug-in passes down to its base.
struct IPluginSetup {
  int parameterCount = 0;
  int presetCount = 0;
  const char* channelIO = "";  // legal configurations, such as "1-1 2-2"
  const char* effectName = "";
  const char* productName = "";
  const char* makerName = "";
  uint32_t versionWord = 0;  // major << 16 | minor << 8 | patch
  int32_t uniqueId = 0;
  int32_t makerId = 0;
  int latency = 0;
  bool stateAsChunks = false;
  bool instrument = false;
  bool wantsMidi = false;
  int bindingKind = 0;  // 0: the VST2 binding
};
