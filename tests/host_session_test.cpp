// Whole host sessions, as a host drives the plug-in: open, configure, play,
// automate, save, close; then restore into new instances and compare.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tests/loaded_plugin.h"

namespace {
using Bytes = std::vector<uint8_t>;

struct SessionHost {
  int automations = 0;
  static SessionHost* current;
  static VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                        float) {
    switch (opcode) {
      case audioMasterVersion:
        return 2400;
      case audioMasterGetProductString:
        std::strcpy(static_cast<char*>(ptr), "REAPER");
        return 1;
      case audioMasterGetVendorVersion:
        return 70100;
      case audioMasterAutomate:
        ++current->automations;
        return 0;
      default:
        return 0;
    }
  }
};
SessionHost* SessionHost::current = nullptr;

void PlayBlocks(const PluginInstance& plugin, int blocks, int frames) {
  std::vector<float> left(frames), right(frames), outLeft(frames), outRight(frames);
  float* inputs[] = {left.data(), right.data()};
  float* outputs[] = {outLeft.data(), outRight.data()};
  for (int b = 0; b < blocks; ++b) {
    for (int i = 0; i < frames; ++i) {
      left[i] = static_cast<float>(0.5 * std::sin(0.02 * (b * frames + i)));
      right[i] = -left[i];
    }
    plugin->processReplacing(plugin.get(), inputs, outputs, frames);
    // Automation arrives between blocks.
    plugin->setParameter(plugin.get(), b % 5, static_cast<float>((b * 13 % 100) / 100.0));
  }
}

class HostSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PluginLibrary::Instance().IsOpen()) << PluginLibrary::Instance().Error();
    SessionHost::current = &host;
  }
  SessionHost host;
};
}  // namespace

TEST_F(HostSession, SavedStateRestoresIntoNewInstances) {
  Bytes program, bank;
  std::vector<float> saved;
  {
    PluginInstance plugin(&SessionHost::Callback);
    plugin.Open(48000.0f, 512);
    PlayBlocks(plugin, 23, 512);
    char name[] = "Crunchy";
    plugin.Dispatch(effSetProgramName, 0, 0, name);
    saved = plugin.NormalizedParams();
    program = plugin.GetChunk(false);
    bank = plugin.GetChunk(true);
    plugin.Dispatch(effMainsChanged, 0, 0);
  }
  ASSERT_EQ(program.size(), 48u);
  ASSERT_EQ(bank.size(), 4u + 8 + 7 + 1 + 40);
  EXPECT_EQ(host.automations, 0);  // host changes are not echoed back

  const struct {
    const char* name;
    bool bank;
  } restores[] = {{"program", false}, {"bank", true}};
  for (const auto& restore : restores) {
    SCOPED_TRACE(restore.name);
    PluginInstance plugin(&SessionHost::Callback);
    plugin.Open(44100.0f, 256);
    ASSERT_EQ(plugin.SetChunk(restore.bank, restore.bank ? bank : program), 1);
    EXPECT_EQ(plugin.NormalizedParams(), saved);
    EXPECT_EQ(plugin.GetChunk(false), program);
    if (restore.bank) {
      EXPECT_EQ(plugin.GetChunk(true), bank);
      char name[64] = {};
      plugin.Dispatch(effGetProgramName, 0, 0, name);
      EXPECT_STREQ(name, "Crunchy");
    }
    PlayBlocks(plugin, 2, 256);  // and it plays on
  }
}

TEST_F(HostSession, ProgramSwitchesKeepTheEditedState) {
  PluginInstance plugin(&SessionHost::Callback);
  plugin.Open();
  plugin->setParameter(plugin.get(), 0, 0.9f);
  plugin.Dispatch(effSetProgram, 0, 0);  // the current state goes into slot 0 first
  EXPECT_EQ(plugin.Dispatch(effGetProgram), 0);
  EXPECT_FLOAT_EQ(plugin->getParameter(plugin.get(), 0), 0.9f);
  const Bytes bank = plugin.GetChunk(true);

  PluginInstance restored(&SessionHost::Callback);
  restored.Open();
  ASSERT_EQ(restored.SetChunk(true, bank), 1);
  EXPECT_FLOAT_EQ(restored->getParameter(restored.get(), 0), 0.9f);
}

TEST_F(HostSession, AHostileChunkLeavesAUsableInstance) {
  PluginInstance plugin(&SessionHost::Callback);
  plugin.Open();
  const Bytes before = plugin.GetChunk(true);
  // A bank header, then a slot name claiming far more bytes than follow.
  Bytes hostile = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 'x'};
  EXPECT_EQ(plugin.SetChunk(true, hostile), 0);
  EXPECT_EQ(plugin.GetChunk(true), before);
  for (float value : plugin.NormalizedParams()) {
    EXPECT_GE(value, 0.0f);
    EXPECT_LE(value, 1.0f);
  }
  PlayBlocks(plugin, 2, 64);
}
