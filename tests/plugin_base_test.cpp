#include "core/plugin_base.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/test_plugin.h"

namespace {
// Five parameters declared as the effect declares them: 0 to 100 %, default 50.
class DeclaredPlugin : public ::testing::Test {
 protected:
  DeclaredPlugin() : plugin(TestPlugin::Setup()) {
    const char* names[] = {"Clip", "Rate", "Fuzz", "Static", "Mix"};
    for (int i = 0; i < 5; ++i) plugin.ParamAt(i)->DeclareDouble(names[i], 50, 0, 100, 0.01, "%");
  }
  TestPlugin plugin;
};

std::vector<uint8_t> Bytes(const IStateChunk& chunk) {
  return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}
}  // namespace

TEST(PluginBaseConstruction, ChannelConfigurationsAndPorts) {
  struct Case {
    const char* channelIO;
    int configs, inputs, outputs;
    int firstIn, firstOut;
  };
  const Case cases[] = {
      {"1-1 2-2", 2, 2, 2, 1, 1},
      {"1-4 3-2", 2, 3, 4, 1, 4},  // the largest of each side separately
      {"2-2", 1, 2, 2, 2, 2},
      {"2-x 1-3", 2, 2, 3, 2, 0},  // a number that cannot be read counts as 0
      {"", 1, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    TestPlugin plugin(TestPlugin::Setup(c.channelIO));
    EXPECT_EQ(plugin.ConfigCount(), c.configs) << c.channelIO;
    EXPECT_EQ(plugin.InputCount(), c.inputs) << c.channelIO;
    EXPECT_EQ(plugin.OutputCount(), c.outputs) << c.channelIO;
    EXPECT_EQ(plugin.ConfigAt(0)->inputs, c.firstIn) << c.channelIO;
    EXPECT_EQ(plugin.ConfigAt(0)->outputs, c.firstOut) << c.channelIO;
    for (int i = 0; i < plugin.InputCount(); ++i) {
      EXPECT_FALSE(plugin.InputPort(i)->connected);
      EXPECT_EQ(plugin.InputPort(i)->bufferEntry, &plugin.InputBuffers()[i]);
    }
  }
}

TEST(PluginBaseConstruction, InitialState) {
  TestPlugin plugin(TestPlugin::Setup());
  EXPECT_EQ(plugin.ParamCount(), 5);
  EXPECT_EQ(plugin.ParamAt(5), nullptr);
  EXPECT_EQ(plugin.ParamAt(-1), nullptr);
  EXPECT_EQ(plugin.ParamAt(0)->kind, kParamUndeclared);
  ASSERT_EQ(plugin.PresetCount(), 1);
  EXPECT_FALSE(plugin.PresetAt(0)->used);
  EXPECT_STREQ(plugin.PresetAt(0)->name, "empty");
  EXPECT_EQ(plugin.HostKind(), kHostNotIdentified);
  EXPECT_EQ(plugin.SampleRate(), 44100.0);
  EXPECT_EQ(plugin.BlockSize(), 0);
  EXPECT_STREQ(plugin.EffectName(), "Grittbox");
  EXPECT_EQ(plugin.Editor(), nullptr);
}

TEST(PluginBaseConstruction, IdentityTextsOf127CharactersAreKeptWhole) {
  const std::string name(127, 'n');
  const std::string tooLong(300, 'm');
  IPluginSetup setup = TestPlugin::Setup();
  setup.effectName = name.c_str();
  setup.makerName = tooLong.c_str();
  TestPlugin plugin(setup);
  EXPECT_EQ(std::string(plugin.EffectName()), name);
  EXPECT_EQ(std::string(plugin.MakerName()), tooLong.substr(0, 127));
}

TEST(PluginBaseChannels, LegalIO) {
  TestPlugin plugin(TestPlugin::Setup("1-1 2-2"));
  EXPECT_TRUE(plugin.LegalIO(1, -1));
  EXPECT_TRUE(plugin.LegalIO(2, 2));
  EXPECT_FALSE(plugin.LegalIO(1, 2));
  EXPECT_FALSE(plugin.LegalIO(3, -1));
}

TEST(PluginBaseChannels, ConnectChangesOnlyPortsInRangeAndPointsUnconnectedAtScratch) {
  TestPlugin plugin(TestPlugin::Setup());
  plugin.SetMaxBlockSize(8);
  plugin.ConnectInputs(0, 2, true);
  double host[8] = {};
  double* hostBuffers[] = {host, host};
  plugin.AttachInputsDouble(2, hostBuffers);
  plugin.ConnectInputs(1, 5, false);
  EXPECT_TRUE(plugin.InputPort(0)->connected);
  EXPECT_EQ(plugin.InputBuffers()[0], host);
  EXPECT_FALSE(plugin.InputPort(1)->connected);
  EXPECT_EQ(plugin.InputBuffers()[1], plugin.InputPort(1)->ScratchSamples());
  plugin.ConnectOutputs(-3, 4, true);  // a negative start reaches only the existing ports
  EXPECT_TRUE(plugin.OutputPort(0)->connected);
  EXPECT_FALSE(plugin.OutputPort(1)->connected);
}

TEST(PluginBaseChannels, HostBuffersAreConsumedOnlyByConnectedPorts) {
  TestPlugin plugin(TestPlugin::Setup());
  plugin.SetMaxBlockSize(4);
  plugin.ConnectInputs(1, 1, true);
  plugin.ConnectOutputs(1, 1, true);
  double a[4] = {}, b[4] = {};
  double* hostBuffers[] = {a, b};
  plugin.AttachInputsDouble(2, hostBuffers);
  plugin.AttachOutputsDouble(2, hostBuffers);
  EXPECT_EQ(plugin.InputBuffers()[1], a);
  EXPECT_EQ(plugin.InputBuffers()[0], plugin.InputPort(0)->ScratchSamples());
  EXPECT_EQ(plugin.OutputBuffers()[1], a);
}

TEST(PluginBaseChannels, RestrictToStereoDisconnectsExtraInputsAndConnectsExtraOutputs) {
  TestPlugin plugin(TestPlugin::Setup("4-4"));
  plugin.ConnectInputs(0, 4, true);
  plugin.RestrictToStereo();
  EXPECT_TRUE(plugin.InputPort(1)->connected);
  EXPECT_FALSE(plugin.InputPort(2)->connected);
  EXPECT_FALSE(plugin.InputPort(3)->connected);
  EXPECT_FALSE(plugin.OutputPort(1)->connected);
  EXPECT_TRUE(plugin.OutputPort(2)->connected);
  EXPECT_TRUE(plugin.OutputPort(3)->connected);
}

TEST(PluginBaseRouting, FloatBuffersRoundTripThroughPassThrough) {
  TestPlugin plugin(TestPlugin::Setup("1-2"));
  plugin.SetMaxBlockSize(4);
  plugin.ConnectInputs(0, 1, true);
  plugin.ConnectOutputs(0, 2, true);
  float in[4] = {0.5f, -0.25f, 1.0f, 0.125f};
  float out0[4] = {0.25f, 0.25f, 0.25f, 0.25f};
  float out1[4] = {0.25f, 0.25f, 0.25f, 0.25f};
  float* inputs[] = {in};
  float* outputs[] = {out0, out1};

  plugin.AttachInputsFloat(1, inputs, 4);
  plugin.AttachOutputsFloat(2, outputs);
  plugin.RenderFloatAccumulating(4);
  const float accumulated[4] = {0.75f, 0.0f, 1.25f, 0.375f};
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(out0[s], accumulated[s]) << s;
    EXPECT_EQ(out1[s], 0.25f) << s;  // no input for the second output: zero was added
  }

  plugin.AttachInputsFloat(1, inputs, 4);
  plugin.AttachOutputsFloat(2, outputs);
  plugin.RenderFloatReplacing(4);
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(out0[s], in[s]) << s;
    EXPECT_EQ(out1[s], 0.0f) << s;
  }
}

TEST(PluginBaseRouting, FloatBlocksLongerThanTheScratchAreNeverWrittenPast) {
  TestPlugin plugin(TestPlugin::Setup());
  plugin.SetMaxBlockSize(16);
  plugin.ConnectInputs(0, 2, true);
  plugin.ConnectOutputs(0, 2, true);
  std::vector<float> in(64, 1.0f), out(64, -1.0f);
  float* inputs[] = {in.data(), in.data()};
  float* outputs[] = {out.data(), out.data()};
  plugin.AttachInputsFloat(2, inputs, 64);
  plugin.AttachOutputsFloat(2, outputs);
  plugin.RenderFloatReplacing(64);
  EXPECT_EQ(out[15], 1.0f);
  EXPECT_EQ(out[16], -1.0f);  // beyond the scratch buffers nothing is rendered
}

TEST(PluginBaseRouting, SetMaxBlockSizeZeroesOnlyWhenTheSizeChanges) {
  TestPlugin plugin(TestPlugin::Setup());
  plugin.SetMaxBlockSize(4);
  plugin.ConnectInputs(0, 2, true);
  float in[4] = {1, 2, 3, 4};
  float* inputs[] = {in, in};
  plugin.AttachInputsFloat(2, inputs, 4);
  IChannelPort* port = plugin.InputPort(0);

  plugin.SetMaxBlockSize(4);
  EXPECT_EQ(port->ScratchSamples()[3], 4.0);

  plugin.SetMaxBlockSize(3000);
  EXPECT_EQ(plugin.BlockSize(), 3000);
  ASSERT_EQ(port->ScratchFrames(), 3000);
  for (int s = 0; s < 3000; ++s) ASSERT_EQ(port->ScratchSamples()[s], 0.0) << s;
  plugin.ConnectInputs(0, 1, false);
  plugin.SetMaxBlockSize(2);  // an unconnected port follows its scratch after the resize
  EXPECT_EQ(plugin.InputBuffers()[0], port->ScratchSamples());
}

TEST_F(DeclaredPlugin, SetParamFromEditorStoresNotifiesAndReacts) {
  plugin.SetParamFromEditor(0, 0.5);
  EXPECT_EQ(plugin.ParamAt(0)->value, 50.0);
  ASSERT_EQ(plugin.automation.size(), 1u);
  EXPECT_EQ(plugin.automation[0].index, 0);
  EXPECT_EQ(plugin.automation[0].normalized, 0.5);
  EXPECT_EQ(plugin.changed, std::vector<int>{0});
}

TEST_F(DeclaredPlugin, SerializeParamsWritesEachValueAsLittleEndianDouble) {
  IStateChunk chunk;
  ASSERT_TRUE(plugin.SerializeParams(chunk));
  std::vector<uint8_t> expected;
  for (int i = 0; i < 5; ++i) {
    for (uint8_t b : {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x49, 0x40}) expected.push_back(b);
  }
  EXPECT_EQ(Bytes(chunk), expected);
}

TEST_F(DeclaredPlugin, UnserializeParamsStopsAtAShortReadAndLimitsValues) {
  plugin.ParamAt(1)->DeclareDouble("Rate", 50, 10, 100, 0.01, "%");
  IStateChunk chunk;
  chunk.AppendDouble(250.0);  // above the maximum
  chunk.AppendInt32(7);       // four bytes: too short for the next value
  plugin.ParamAt(2)->value = 33.0;

  EXPECT_EQ(plugin.UnserializeParams(chunk, 0), -1);
  EXPECT_EQ(plugin.ParamAt(0)->value, 100.0);
  EXPECT_EQ(plugin.ParamAt(1)->value, 10.0);  // 0.0 limited to the range
  EXPECT_EQ(plugin.ParamAt(2)->value, 33.0);
  EXPECT_EQ(plugin.ParamAt(4)->value, 50.0);
  EXPECT_EQ(plugin.changed, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(DeclaredPlugin, StateRoundTripsAndReportsThePositionAfterIt) {
  for (int i = 0; i < 5; ++i) plugin.ParamAt(i)->value = 10.0 * i + 0.125;
  IStateChunk chunk;
  chunk.AppendInt32(99);  // state may sit behind a header
  ASSERT_TRUE(plugin.SaveState(chunk));
  TestPlugin restored(TestPlugin::Setup());
  for (int i = 0; i < 5; ++i) restored.ParamAt(i)->DeclareDouble("p", 50, 0, 100, 0.01, "%");
  EXPECT_EQ(restored.LoadState(chunk, 4), 44);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(restored.ParamAt(i)->value, 10.0 * i + 0.125);
}

TEST_F(DeclaredPlugin, FillEmptyPresetsUsesOnlyFreeSlots) {
  plugin.FillEmptyPresets("-", 1);
  IPresetSlot* slot = plugin.PresetAt(0);
  EXPECT_TRUE(slot->used);
  EXPECT_STREQ(slot->name, "-");
  EXPECT_EQ(slot->state.Size(), 40);
  plugin.FillEmptyPresets("Empty", 1);
  EXPECT_STREQ(slot->name, "-");
  EXPECT_EQ(slot->state.Size(), 40);

  TestPlugin three(TestPlugin::Setup("1-1 2-2", 5, 3));
  three.PresetAt(1)->used = true;
  three.FillEmptyPresets(nullptr, 5);
  EXPECT_STREQ(three.PresetAt(0)->name, "Empty");
  EXPECT_STREQ(three.PresetAt(1)->name, "empty");
  EXPECT_TRUE(three.PresetAt(2)->used);
}

TEST(PluginBaseIdentity, VendorVersionDecimal) {
  const struct {
    uint32_t word;
    int decimal;
  } cases[] = {{0x00010000, 10000}, {0x00020103, 20103}, {0x01000000, 2560000}, {0, 0}};
  for (const auto& c : cases) {
    IPluginSetup setup = TestPlugin::Setup();
    setup.versionWord = c.word;
    EXPECT_EQ(TestPlugin(setup).VendorVersionDecimal(), c.decimal) << c.word;
  }
}

TEST(PluginBaseMidi, DefaultHandlersEchoMessagesAndHaveNoKeyNames) {
  TestPlugin plugin(TestPlugin::Setup());
  IMidiShortMessage message;
  message.frameOffset = 12;
  message.status = 0x90;
  message.data1 = 60;
  message.data2 = 100;
  plugin.HandleMidiMessage(message);
  ASSERT_EQ(plugin.emitted.size(), 1u);
  EXPECT_EQ(plugin.emitted[0].frameOffset, 12);
  EXPECT_EQ(plugin.emitted[0].data1, 60);
  char text[8] = "junk";
  EXPECT_FALSE(plugin.MidiKeyLabel(60, text, sizeof text));
  EXPECT_STREQ(text, "");
}

namespace {
struct RecordingEditor : IEditorHooks {
  explicit RecordingEditor(bool* deleted) : deleted(deleted) {}
  ~RecordingEditor() override { *deleted = true; }
  void PushParamToControls(int index, double value, bool normalized) override {
    pushes.push_back({index, value, normalized});
  }
  void PrepareDrawing() override { ++prepared; }
  int Width() const override { return 360; }
  int Height() const override { return 104; }
  struct Push {
    int index;
    double value;
    bool normalized;
  };
  std::vector<Push> pushes;
  int prepared = 0;
  bool* deleted;
};
}  // namespace

TEST(PluginBaseEditor, ReceivesNormalizedValuesOnBindAndRealValuesOnRefresh) {
  bool deleted = false;
  {
    TestPlugin owner(TestPlugin::Setup());
    for (int i = 0; i < 5; ++i) owner.ParamAt(i)->DeclareDouble("p", 25.0 * i, 0, 100, 0.01, "%");
    auto* editor = new RecordingEditor(&deleted);
    owner.BindEditor(editor);
    EXPECT_EQ(owner.Editor(), editor);
    EXPECT_EQ(editor->prepared, 1);
    ASSERT_EQ(editor->pushes.size(), 5u);
    EXPECT_EQ(editor->pushes[4].value, 1.0);
    EXPECT_TRUE(editor->pushes[4].normalized);

    editor->pushes.clear();
    owner.RefreshEditorControls();
    ASSERT_EQ(editor->pushes.size(), 5u);
    EXPECT_EQ(editor->pushes[2].value, 50.0);
    EXPECT_FALSE(editor->pushes[2].normalized);
    EXPECT_FALSE(deleted);
  }
  EXPECT_TRUE(deleted);  // the base owns its editor
}
