// The dispatcher as a host drives it: through the loaded library's entry and
// the effect record only.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/loaded_plugin.h"

namespace {
using Bytes = std::vector<uint8_t>;
constexpr char kCanary = 0x7F;
// The bit pattern hosts test for; negative where pointers are 32 bits wide.
constexpr VstIntPtr kVendorExtensions = static_cast<VstIntPtr>(0xBEEF0000u);

class Vst2Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PluginLibrary::Instance().IsOpen()) << PluginLibrary::Instance().Error();
  }
};

// A host text buffer: canary bytes everywhere, so writes past a limit show.
struct HostText {
  char bytes[300];
  HostText() { std::memset(bytes, kCanary, sizeof bytes); }
  bool UntouchedFrom(int offset) const {
    for (size_t i = static_cast<size_t>(offset); i < sizeof bytes; ++i) {
      if (bytes[i] != kCanary) return false;
    }
    return true;
  }
};

Bytes DoubleBytes(double v) {
  uint8_t image[sizeof v];
  std::memcpy(image, &v, sizeof v);  // every target is little-endian
  return Bytes(image, image + sizeof v);
}

const Bytes kHeader = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
const Bytes kFifty = {0, 0, 0, 0, 0, 0, 0x49, 0x40};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes FiveFifties() {
  return Concat({kFifty, kFifty, kFifty, kFifty, kFifty});
}

// Records the MIDI events the plug-in sends back to its host.
struct EventHost {
  std::vector<VstMidiEvent> midi;
  int otherEvents = 0;

  static EventHost* current;
  static VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                        float) {
    if (opcode != audioMasterProcessEvents || current == nullptr || ptr == nullptr) return 0;
    const auto* list = static_cast<const VstEvents*>(ptr);
    for (VstInt32 i = 0; i < list->numEvents; ++i) {
      const VstEvent* event = list->events[i];
      if (event != nullptr && event->type == kVstMidiType) {
        current->midi.push_back(*reinterpret_cast<const VstMidiEvent*>(event));
      } else {
        ++current->otherEvents;
      }
    }
    return 1;
  }
};
EventHost* EventHost::current = nullptr;
}  // namespace

TEST_F(Vst2Dispatcher, SimpleAnswers) {
  const struct {
    VstInt32 opcode, index;
    VstIntPtr expected;
  } cases[] = {
      {effGetVstVersion, 0, 2400},
      {effIdentify, 0, 0x4E764566},
      {effGetPlugCategory, 0, 1},
      {effGetTailSize, 0, 0},
      {effGetVendorVersion, 0, 10000},
      {effCanBeAutomated, 0, 1},
      {effCanBeAutomated, 4, 1},
      {effCanBeAutomated, 99, 1},
      {effCanBeAutomated, -1, 1},
      {effGetProgram, 0, 0},
      {effEditGetRect, 0, 0},  // no editor is bound yet
      {effEditOpen, 0, 0},
      {effEditClose, 0, 0},
      {effEditIdle, 0, 0},
      {effIdle, 0, 0},
      {effProcessVarIo, 0, 0},
      {-1, 0, 0},
      {effGetVu, 0, 0},
      {effSetBypass, 0, 0},
      {70, 0, 0},
      {1000, 0, 0},
  };
  PluginInstance plugin;
  ASSERT_NE(plugin.get(), nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "opcode " << c.opcode << " index " << c.index);
    HostText buffer;  // none of these writes anything through ptr
    EXPECT_EQ(plugin.Dispatch(c.opcode, c.index, 0, buffer.bytes), c.expected);
    EXPECT_TRUE(buffer.UntouchedFrom(0));
  }
}

TEST_F(Vst2Dispatcher, CanDo) {
  const struct {
    const char* text;
    VstIntPtr expected;
  } cases[] = {
      {"receiveVstTimeInfo", 1},
      {"receiveVstMidiEvent", 0},  // this effect does not want MIDI
      {"sendVstEvents", 0},
      {"hasVendorExtensions", kVendorExtensions},
      {"hasVendorViewAsConfig", kVendorExtensions},
      {"hasvendorviewasconfig", 0},
      {"receiveVstTimeInf", 0},
      {"", 0},
      {nullptr, 0},
  };
  PluginInstance plugin;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text != nullptr ? c.text : "(null)");
    EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, const_cast<char*>(c.text)), c.expected);
  }
}

TEST_F(Vst2Dispatcher, TextsStayWithinTheHostLimits) {
  const struct {
    VstInt32 opcode, index;
    const char* expected;
    int limit;
    VstIntPtr result;
  } cases[] = {
      {effGetProgramName, 0, "-", 24, 0},
      {effGetEffectName, 0, "Grittbox", 32, 1},
      {effGetVendorString, 0, "Tarnfield Audio, LLC", 64, 1},
      {effGetProductString, 0, "", 64, 1},
      {effGetParamName, 0, "Clip", 8, 0},
      {effGetParamName, 3, "Static", 8, 0},
      {effGetParamLabel, 4, "%", 8, 0},
      {effGetParamDisplay, 2, "50.00", 8, 0},
  };
  PluginInstance plugin;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    HostText text;
    EXPECT_EQ(plugin.Dispatch(c.opcode, c.index, 0, text.bytes), c.result);
    EXPECT_STREQ(text.bytes, c.expected);
    EXPECT_TRUE(text.UntouchedFrom(c.limit));
  }
  for (VstInt32 opcode :
       {effGetEffectName, effGetVendorString, effGetProductString, effGetProgramName}) {
    EXPECT_EQ(plugin.Dispatch(opcode, 0, 0, nullptr), 0) << opcode;
  }
}

TEST_F(Vst2Dispatcher, ParameterTextsForAnIndexOutsideLeavePtrUntouched) {
  PluginInstance plugin;
  for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
    for (VstInt32 index : {5, -1}) {
      SCOPED_TRACE(testing::Message() << "opcode " << opcode << " index " << index);
      HostText text;
      EXPECT_EQ(plugin.Dispatch(opcode, index, 0, text.bytes), 0);
      EXPECT_TRUE(text.UntouchedFrom(0));
    }
  }
}

TEST_F(Vst2Dispatcher, ProgramNameIndexed) {
  const struct {
    VstInt32 index;
    const char* expected;
    VstIntPtr result;
  } cases[] = {{0, "-", 1}, {1, "", 0}, {-1, "", 0}};
  PluginInstance plugin;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    HostText text;
    EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, c.index, 0, text.bytes), c.result);
    EXPECT_STREQ(text.bytes, c.expected);
    EXPECT_TRUE(text.UntouchedFrom(24));
  }
  EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
}

TEST_F(Vst2Dispatcher, PinProperties) {
  const struct {
    VstInt32 opcode, index;
    VstIntPtr result;
    VstInt32 flags;
    const char* label;
  } cases[] = {
      {effGetInputProperties, 0, 1, 3, "Input 1"},   {effGetInputProperties, 1, 1, 1, "Input 2"},
      {effGetInputProperties, 2, 0, 0, nullptr},     {effGetInputProperties, -1, 0, 0, nullptr},
      {effGetOutputProperties, 0, 1, 3, "Output 1"}, {effGetOutputProperties, 1, 1, 1, "Output 2"},
      {effGetOutputProperties, 2, 0, 0, nullptr},    {effGetOutputProperties, -1, 0, 0, nullptr},
  };
  PluginInstance plugin;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "opcode " << c.opcode << " index " << c.index);
    VstPinProperties pin;
    std::memset(&pin, 0x5A, sizeof pin);
    VstPinProperties passed = pin;
    EXPECT_EQ(plugin.Dispatch(c.opcode, c.index, 0, &pin), c.result);
    if (c.label != nullptr) {
      EXPECT_EQ(pin.flags, c.flags);
      EXPECT_STREQ(pin.label, c.label);
      // Only the label and the flags are answered.
      std::memcpy(passed.label, pin.label, sizeof pin.label);
      passed.flags = pin.flags;
    }
    EXPECT_EQ(std::memcmp(&pin, &passed, sizeof pin), 0);
  }
  EXPECT_EQ(plugin.Dispatch(effGetInputProperties, 0, 0, nullptr), 0);
  EXPECT_EQ(plugin.Dispatch(effGetOutputProperties, 0, 0, nullptr), 0);
}

TEST_F(Vst2Dispatcher, StringToParameter) {
  const struct {
    VstInt32 index;
    const char* text;
    VstIntPtr result;
    std::vector<float> normalized;
  } cases[] = {
      {0, "150", 1, {1.0f, 0.5f, 0.5f, 0.5f, 0.5f}},  // limited to the maximum
      {1, "-5", 1, {0.5f, 0.0f, 0.5f, 0.5f, 0.5f}},
      {2, "abc", 1, {0.5f, 0.5f, 0.0f, 0.5f, 0.5f}},  // no number reads as 0
      {3, "12.5 %", 1, {0.5f, 0.5f, 0.5f, 0.125f, 0.5f}},
      {4, nullptr, 1, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f}},
      {5, "30", 0, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f}},
      {-1, "30", 0, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.index << " " << (c.text != nullptr ? c.text : "(null)"));
    PluginInstance plugin;
    EXPECT_EQ(plugin.Dispatch(effString2Parameter, c.index, 0, const_cast<char*>(c.text)),
              c.result);
    EXPECT_EQ(plugin.NormalizedParams(), c.normalized);
  }

  PluginInstance plugin;
  plugin.Dispatch(effString2Parameter, 2, 0, const_cast<char*>("100"));
  HostText text;
  plugin.Dispatch(effGetParamDisplay, 2, 0, text.bytes);
  EXPECT_STREQ(text.bytes, "100.00");
  EXPECT_TRUE(text.UntouchedFrom(8));
}

TEST_F(Vst2Dispatcher, VendorExtensionQueries) {
  const struct {
    const char* what;
    VstInt32 index;
    VstIntPtr value;
    bool withPtr;
    float opt;
    VstIntPtr result;
    const char* text;  // null: the buffer stays untouched
  } cases[] = {
      {"display of a parameter outside", 7, 99, true, 0.25f, 0xBEEF, nullptr},
      {"display of a negative parameter", 7, -1, true, 0.25f, 0xBEEF, nullptr},
      {"display of a normalized value", 7, 0, true, 0.25f, 0xBEEF, "25.00"},
      {"display of the maximum", 7, 4, true, 1.0f, 0xBEEF, "100.00"},
      {"display without a buffer", 7, 0, false, 0.25f, 0, nullptr},
      {"continuous parameters are not stepped", 8, 0, false, 0, 0, nullptr},
      {"stepped query outside", 8, 99, false, 0, 0, nullptr},
      {"other index", 0, 0, true, 0.25f, 0, nullptr},
      {"other index", 9, 0, true, 0.25f, 0, nullptr},
  };
  PluginInstance plugin;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HostText text;
    EXPECT_EQ(plugin.Dispatch(effVendorSpecific, c.index, c.value, c.withPtr ? text.bytes : nullptr,
                              c.opt),
              c.result);
    if (c.text != nullptr) {
      EXPECT_STREQ(text.bytes, c.text);
      EXPECT_TRUE(text.UntouchedFrom(8));
    } else {
      EXPECT_TRUE(text.UntouchedFrom(0));
    }
  }
}

TEST_F(Vst2Dispatcher, ChunksOfAFreshInstance) {
  PluginInstance plugin;
  EXPECT_EQ(plugin.GetChunk(false), Concat({kHeader, FiveFifties()}));
  EXPECT_EQ(plugin.GetChunk(true), Concat({kHeader, {1, 0, 0, 0, '-', 1}, FiveFifties()}));
  EXPECT_EQ(plugin.Dispatch(effGetChunk, 0, 0, nullptr), 0);
  EXPECT_EQ(plugin.Dispatch(effGetChunk, 1, 0, nullptr), 0);
}

TEST_F(Vst2Dispatcher, ChunkRoundTrip) {
  for (bool bank : {false, true}) {
    SCOPED_TRACE(bank ? "bank" : "program");
    PluginInstance source;
    source.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Warm"));
    source.SetPercent(10, 20, 30, 40, 60);  // after the name: a bank takes the current values
    const Bytes chunk = source.GetChunk(bank);
    ASSERT_FALSE(chunk.empty());

    PluginInstance target;
    EXPECT_EQ(target.SetChunk(bank, chunk), 1);
    EXPECT_EQ(target.NormalizedParams(), source.NormalizedParams());
    EXPECT_EQ(target.GetChunk(bank), chunk);
    HostText name;
    target.Dispatch(effGetProgramName, 0, 0, name.bytes);
    EXPECT_STREQ(name.bytes, bank ? "Warm" : "-");  // only a bank carries names
  }
}

TEST_F(Vst2Dispatcher, ChunkHandedStraightBackLoads) {
  // Some hosts pass effGetChunk's own pointer straight back to effSetChunk:
  // those bytes live in the plug-in and must survive being loaded.
  for (bool bank : {false, true}) {
    SCOPED_TRACE(bank ? "bank" : "program");
    PluginInstance plugin;
    plugin.SetPercent(10, 20, 30, 40, 60);
    const std::vector<float> saved = plugin.NormalizedParams();
    void* data = nullptr;
    const VstIntPtr size = plugin.Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
    ASSERT_GT(size, 0);
    plugin.SetPercent(90, 90, 90, 90, 90);
    EXPECT_EQ(plugin.Dispatch(effSetChunk, bank ? 0 : 1, size, data), 1);
    EXPECT_EQ(plugin.NormalizedParams(), saved);
    // Claiming more than was lent is refused.
    plugin.Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
    EXPECT_EQ(plugin.Dispatch(effSetChunk, bank ? 0 : 1, size + 100, data), 0);
  }
}

TEST_F(Vst2Dispatcher, ChunkWithoutHeaderIsReadAsValuesFromTheStart) {
  const Bytes values =
      Concat({DoubleBytes(10), DoubleBytes(20), DoubleBytes(30), DoubleBytes(40), DoubleBytes(60)});
  for (bool bank : {false, true}) {
    SCOPED_TRACE(bank ? "bank" : "program");
    PluginInstance plugin;
    EXPECT_EQ(plugin.SetChunk(bank, values), 1);
    EXPECT_EQ(plugin.NormalizedParams(), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f, 0.6f}));
  }
}

TEST_F(Vst2Dispatcher, ShortProgramChunkKeepsWhatWasReadInTheCurrentSlot) {
  PluginInstance plugin;
  plugin.SetPercent(50, 50, 70, 80, 90);
  const Bytes chunk = Concat({kHeader, DoubleBytes(30), {1, 2, 3, 4}});
  ASSERT_EQ(chunk.size(), 20u);
  EXPECT_EQ(plugin.SetChunk(false, chunk), 0);
  const std::vector<float> expected = {0.3f, 0.0f, 0.7f, 0.8f, 0.9f};
  EXPECT_EQ(plugin.NormalizedParams(), expected);

  // A bank refused at its first name ends by loading the current slot: the
  // parameters then show what the slot holds, without it being stored anew.
  plugin->setParameter(plugin.get(), 2, 0.1f);
  EXPECT_EQ(plugin.SetChunk(true, Concat({kHeader, {0xFF, 0xFF, 0xFF, 0xFF}})), 0);
  EXPECT_EQ(plugin.NormalizedParams(), expected);

  const Bytes bank = plugin.GetChunk(true);
  ASSERT_EQ(bank.size(), 54u);
  EXPECT_EQ(Bytes(bank.begin() + 14, bank.begin() + 30), Concat({DoubleBytes(30), DoubleBytes(0)}));
}

TEST_F(Vst2Dispatcher, SetChunkWithoutDataChangesNothing) {
  PluginInstance other;
  other.SetPercent(1, 2, 3, 4, 5);
  Bytes data = other.GetChunk(false);
  const struct {
    const char* what;
    void* ptr;
    VstIntPtr count;
  } cases[] = {
      {"null ptr", nullptr, 48},
      {"negative count", data.data(), -1},
      {"most negative count", data.data(), INTPTR_MIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PluginInstance plugin;
    plugin.SetPercent(10, 20, 30, 40, 60);
    const Bytes before = plugin.GetChunk(false);
    for (VstInt32 index : {0, 1}) {
      EXPECT_EQ(plugin.Dispatch(effSetChunk, index, c.count, c.ptr), 0);
    }
    EXPECT_EQ(plugin.GetChunk(false), before);
  }
}

TEST_F(Vst2Dispatcher, LongProgramNameIsCut) {
  PluginInstance plugin;
  std::string name(300, 'x');
  EXPECT_EQ(plugin.Dispatch(effSetProgramName, 0, 0, &name[0]), 0);
  HostText text;
  plugin.Dispatch(effGetProgramName, 0, 0, text.bytes);
  EXPECT_EQ(std::string(text.bytes), std::string(23, 'x'));
  EXPECT_TRUE(text.UntouchedFrom(24));

  const Bytes bank = plugin.GetChunk(true);
  const Bytes stored(255, 'x');
  EXPECT_EQ(bank, Concat({kHeader, {0xFF, 0, 0, 0}, stored, {1}, FiveFifties()}));
  EXPECT_EQ(plugin.Dispatch(effSetProgramName, 0, 0, nullptr), 0);
}

TEST_F(Vst2Dispatcher, SetProgramStoresTheCurrentStateFirst) {
  const VstIntPtr programs[] = {0, 5, -1};
  for (VstIntPtr program : programs) {
    SCOPED_TRACE(program);
    PluginInstance plugin;
    plugin.SetPercent(10, 20, 30, 40, 60);
    EXPECT_EQ(plugin.Dispatch(effSetProgram, 0, program), 0);
    EXPECT_EQ(plugin.Dispatch(effGetProgram), 0);
    EXPECT_EQ(plugin.NormalizedParams(), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f, 0.6f}));
  }
}

TEST_F(Vst2Dispatcher, ProcessEventsEchoesMidiToTheHost) {
  EventHost host;
  EventHost::current = &host;
  PluginInstance plugin(&EventHost::Callback);

  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof note;
  note.deltaFrames = 17;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  VstEvent unknown{};
  unknown.type = 99;
  unknown.byteSize = sizeof unknown;
  char dump[] = {static_cast<char>(0xF0), 1, 2, static_cast<char>(0xF7)};
  VstMidiSysexEvent sysex{};
  sysex.type = kVstSysExType;
  sysex.byteSize = 32;
  sysex.dumpBytes = sizeof dump;
  sysex.sysexDump = dump;

  EXPECT_EQ(plugin.Dispatch(effProcessEvents, 0, 0, nullptr), 0);

  VstEvents list{};
  list.numEvents = 2;
  list.events[0] = reinterpret_cast<VstEvent*>(&note);
  list.events[1] = nullptr;
  EXPECT_EQ(plugin.Dispatch(effProcessEvents, 0, 0, &list), 1);
  ASSERT_EQ(host.midi.size(), 1u);
  EXPECT_EQ(host.midi[0].deltaFrames, 17);
  EXPECT_EQ(static_cast<uint8_t>(host.midi[0].midiData[0]), 0x90);
  EXPECT_EQ(host.midi[0].midiData[1], 60);
  EXPECT_EQ(host.midi[0].midiData[2], 100);

  list.events[0] = &unknown;
  list.events[1] = reinterpret_cast<VstEvent*>(&sysex);
  EXPECT_EQ(plugin.Dispatch(effProcessEvents, 0, 0, &list), 1);
  list.numEvents = 0;
  EXPECT_EQ(plugin.Dispatch(effProcessEvents, 0, 0, &list), 1);
  EXPECT_EQ(host.midi.size(), 1u);
  EXPECT_EQ(host.otherEvents, 0);
  EventHost::current = nullptr;
}

TEST_F(Vst2Dispatcher, MidiKeyNameIsEmpty) {
  PluginInstance plugin;
  EXPECT_EQ(plugin.Dispatch(effGetMidiKeyName, 0, 0, nullptr), 0);
  MidiKeyName key;
  std::memset(&key, 'A', sizeof key);
  key.thisKeyNumber = 60;
  EXPECT_EQ(plugin.Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_EQ(key.keyName[0], 0);
  EXPECT_EQ(key.thisKeyNumber, 60);
}

TEST_F(Vst2Dispatcher, GetSpeakerArrangementGivesStereoRecords) {
  PluginInstance plugin;
  VstSpeakerArrangement* input = nullptr;
  VstSpeakerArrangement* output = nullptr;
  EXPECT_EQ(
      plugin.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output),
      1);
  ASSERT_NE(input, nullptr);
  ASSERT_NE(output, nullptr);
  for (const VstSpeakerArrangement* arrangement : {input, output}) {
    EXPECT_EQ(arrangement->numChannels, 2);
    EXPECT_EQ(arrangement->type, kSpeakerArrStereo);
  }
  EXPECT_EQ(plugin.Dispatch(effGetSpeakerArrangement), 1);
}

TEST_F(Vst2Dispatcher, SetSpeakerArrangementConnectsTheFirstChannels) {
  // On the dry path an output shows its input, silence for an unconnected
  // input, or the host's own bytes when the output is not connected.
  enum Expect { kInput, kSilence, kUntouched };
  const struct {
    VstInt32 inputs, outputs;
    Expect left, right;
  } cases[] = {
      {1, 2, kInput, kSilence},     {2, 1, kInput, kUntouched},      {-5, 2, kSilence, kSilence},
      {1000, 1000, kInput, kInput}, {2, -5, kUntouched, kUntouched},
  };
  constexpr int kFrames = 64;
  constexpr double kHostBytes = 7.0;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.inputs << " in, " << c.outputs << " out");
    PluginInstance plugin;
    plugin.Open();
    plugin.SetPercent(50, 50, 50, 50, 0);
    VstSpeakerArrangement in{}, out{};
    in.numChannels = c.inputs;
    out.numChannels = c.outputs;
    EXPECT_EQ(plugin.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out),
              1);

    std::vector<double> inLeft(kFrames), inRight(kFrames);
    for (int i = 0; i < kFrames; ++i) {
      inLeft[i] = 0.01 * (i + 1);
      inRight[i] = -0.02 * (i + 1);
    }
    std::vector<double> outLeft(kFrames, kHostBytes), outRight(kFrames, kHostBytes);
    double* inputs[] = {inLeft.data(), inRight.data()};
    double* outputs[] = {outLeft.data(), outRight.data()};
    plugin->processDoubleReplacing(plugin.get(), inputs, outputs, kFrames);

    const struct {
      Expect expect;
      const std::vector<double>& in;
      const std::vector<double>& out;
    } sides[] = {{c.left, inLeft, outLeft}, {c.right, inRight, outRight}};
    for (const auto& side : sides) {
      for (int i = 0; i < kFrames; ++i) {
        const double expected = side.expect == kInput     ? side.in[i]
                                : side.expect == kSilence ? 0.0
                                                          : kHostBytes;
        ASSERT_EQ(side.out[i], expected) << "frame " << i;
      }
    }
  }
}

TEST_F(Vst2Dispatcher, RecordWithoutObjectAnswersNothing) {
  PluginInstance plugin;
  AEffect copy = *plugin.get();
  copy.object = nullptr;
  EXPECT_EQ(copy.dispatcher(&copy, effGetVstVersion, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(copy.dispatcher(&copy, effClose, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(plugin.Dispatch(effGetVstVersion), 2400);  // the instance is still alive
}
