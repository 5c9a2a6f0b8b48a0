// The services the binding asks of its host, against a scripted host callback.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "effect/grittbox.h"

namespace {
// What the scripted host answers and what it was asked.
struct ScriptedHost {
  struct Call {
    VstInt32 opcode, index;
    VstIntPtr value;
    float opt;
  };
  std::vector<Call> calls;
  VstTimeInfo time{};
  bool hasTime = true;
  std::string product = "REAPER";
  VstIntPtr vendorVersion = 40201;
  VstIntPtr eventAnswer = 1;
  VstIntPtr processLevel = 0;
  VstMidiEvent lastMidi{};
  VstMidiSysexEvent lastSysex{};
  int eventsInList = -1;

  static ScriptedHost* current;
  static VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                        void* ptr, float opt) {
    ScriptedHost& host = *current;
    host.calls.push_back({opcode, index, value, opt});
    switch (opcode) {
      case audioMasterGetTime:
        return host.hasTime ? reinterpret_cast<VstIntPtr>(&host.time) : 0;
      case audioMasterGetProductString:
        std::strcpy(static_cast<char*>(ptr), host.product.c_str());
        return 1;
      case audioMasterGetVendorVersion:
        return host.vendorVersion;
      case audioMasterGetCurrentProcessLevel:
        return host.processLevel;
      case audioMasterProcessEvents: {
        auto* list = static_cast<VstEvents*>(ptr);
        host.eventsInList = list->numEvents;
        if (list->events[0]->type == kVstMidiType) {
          std::memcpy(&host.lastMidi, list->events[0], sizeof host.lastMidi);
        } else {
          std::memcpy(&host.lastSysex, list->events[0], sizeof host.lastSysex);
        }
        return host.eventAnswer;
      }
      default:
        return 0;
    }
  }
  int CountOf(VstInt32 opcode) const {
    int n = 0;
    for (const Call& call : calls) n += call.opcode == opcode ? 1 : 0;
    return n;
  }
};
ScriptedHost* ScriptedHost::current = nullptr;

class HostServices : public ::testing::Test {
 protected:
  HostServices() : effect(&ScriptedHost::Callback) { ScriptedHost::current = &host; }
  ScriptedHost host;
  Grittbox effect;
};
}  // namespace

TEST_F(HostServices, TransportSampleRoundsAndRefusesMissingOrNegative) {
  const struct {
    bool hasTime;
    double samplePos;
    int32_t expected;
  } cases[] = {{false, 5.0, 0}, {true, -3.0, 0}, {true, 10.5, 11}, {true, 10.49, 10}};
  for (const auto& c : cases) {
    host.hasTime = c.hasTime;
    host.time.samplePos = c.samplePos;
    EXPECT_EQ(effect.QueryTransportSample(), c.expected) << c.samplePos;
    EXPECT_EQ(host.calls.back().value, 0);  // asks for no validity flags
  }
}

TEST_F(HostServices, TempoAndTimeSignatureNeedTheirValidityFlags) {
  host.time.tempo = 0.0;
  host.time.flags = kVstTempoValid;
  EXPECT_EQ(effect.QueryHostTempo(), 0.0);
  host.time.tempo = 133.0;
  EXPECT_EQ(effect.QueryHostTempo(), 133.0);
  EXPECT_EQ(host.calls.back().value, kVstTempoValid);
  host.time.flags = 0;
  EXPECT_EQ(effect.QueryHostTempo(), 0.0);

  int32_t numerator = 7, denominator = 7;
  host.time.timeSigNumerator = 0;
  host.time.timeSigDenominator = 8;
  effect.QueryTimeSignature(numerator, denominator);
  EXPECT_EQ(numerator, 0);  // no flag: both 0
  EXPECT_EQ(denominator, 0);
  host.time.flags = kVstTimeSigValid;
  effect.QueryTimeSignature(numerator, denominator);
  EXPECT_EQ(numerator, 0);  // 0 is accepted here
  EXPECT_EQ(denominator, 8);
}

TEST_F(HostServices, TransportTakesOnlyValidFields) {
  host.time.flags = kVstTransportPlaying;  // none of the wanted validity flags
  host.time.samplePos = 999;
  ITransportInfo info;
  info.beatsPerMinute = 77;
  effect.QueryTransport(info);
  EXPECT_FALSE(info.isPlaying);
  EXPECT_EQ(info.samplePosition, 0.0);
  EXPECT_EQ(host.calls.back().value, 0x3E00);

  host.time = VstTimeInfo{};
  host.time.samplePos = 4410;
  host.time.ppqPos = 2.5;
  host.time.tempo = 0.0;  // refused here, unlike the tempo query
  host.time.barStartPos = -1.0;
  host.time.cycleStartPos = 1.0;
  host.time.cycleEndPos = 5.0;
  host.time.timeSigNumerator = 0;
  host.time.timeSigDenominator = 8;
  host.time.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid |
                    kVstTimeSigValid | kVstTransportCycleActive;
  effect.QueryTransport(info);
  EXPECT_EQ(info.samplePosition, 4410.0);
  EXPECT_EQ(info.beatPosition, 2.5);
  EXPECT_EQ(info.beatsPerMinute, 77.0);
  EXPECT_EQ(info.barStartBeat, 0.0);
  EXPECT_EQ(info.loopStartBeat, 1.0);
  EXPECT_EQ(info.loopEndBeat, 5.0);
  EXPECT_EQ(info.meterNumerator, 4);  // a numerator of 0 is refused here
  EXPECT_FALSE(info.isPlaying);
  EXPECT_TRUE(info.isLooping);
}

TEST_F(HostServices, HostIsIdentifiedOnceAndPreparedOnce) {
  EXPECT_EQ(effect.IdentifyHost(), kHostReaper);
  EXPECT_EQ(effect.HostVersion(), 0x00040201u);
  host.product = "Cubase";
  EXPECT_EQ(effect.IdentifyHost(), kHostReaper);
  EXPECT_EQ(host.CountOf(audioMasterGetProductString), 1);

  effect.PrepareForHost();
  effect.PrepareForHost();
  EXPECT_TRUE(effect.HostPrepared());
  EXPECT_EQ(effect.Effect().numInputs, 2);
  EXPECT_EQ(effect.InputArrangement().numChannels, 2);
  EXPECT_EQ(host.CountOf(audioMasterGetProductString), 1);
}

TEST(HostServicesIdentify, AnEmptyProductAsksNoVersion) {
  ScriptedHost host;
  host.product = "";
  ScriptedHost::current = &host;
  Grittbox effect(&ScriptedHost::Callback);
  EXPECT_EQ(effect.IdentifyHost(), kHostUnknown);
  EXPECT_EQ(effect.HostVersion(), 0u);
  EXPECT_EQ(host.CountOf(audioMasterGetVendorVersion), 0);
}

TEST_F(HostServices, NotificationsCarryIndexAndValue) {
  effect.NotifyHostGestureBegin(3);
  effect.NotifyHostParamValue(3, 0.75);
  effect.NotifyHostGestureEnd(3);
  effect.NotifyHostDisplayChanged();
  ASSERT_EQ(host.calls.size(), 4u);
  EXPECT_EQ(host.calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(host.calls[0].index, 3);
  EXPECT_EQ(host.calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(host.calls[1].opt, 0.75f);
  EXPECT_EQ(host.calls[2].opcode, audioMasterEndEdit);
  EXPECT_EQ(host.calls[3].opcode, audioMasterUpdateDisplay);

  EXPECT_FALSE(effect.QueryOfflineRendering());
  host.processLevel = kVstProcessLevelOffline;
  EXPECT_TRUE(effect.QueryOfflineRendering());
}

TEST_F(HostServices, MidiAndSysExAreSentAsOneEventLists) {
  IMidiShortMessage message;
  message.frameOffset = 17;
  message.status = 0x90;
  message.data1 = 64;
  message.data2 = 127;
  EXPECT_TRUE(effect.EmitMidiMessage(message));
  EXPECT_EQ(host.eventsInList, 1);
  EXPECT_EQ(host.lastMidi.byteSize, 32);
  EXPECT_EQ(host.lastMidi.deltaFrames, 17);
  EXPECT_EQ(static_cast<uint8_t>(host.lastMidi.midiData[0]), 0x90);
  EXPECT_EQ(static_cast<uint8_t>(host.lastMidi.midiData[2]), 127);
  EXPECT_EQ(host.lastMidi.midiData[3], 0);

  const uint8_t bytes[] = {0xF0, 0x01, 0xF7};
  ISysExBlock block;
  block.frameOffset = 3;
  block.size = 3;
  block.data = bytes;
  host.eventAnswer = 0;
  EXPECT_FALSE(effect.EmitSysExBlock(block));
  EXPECT_EQ(host.lastSysex.type, kVstSysExType);
  EXPECT_EQ(host.lastSysex.dumpBytes, 3);
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(host.lastSysex.sysexDump), bytes);
}

TEST(HostServicesWithoutHost, NothingCrashesWithoutACallback) {
  Grittbox effect(nullptr);
  ITransportInfo info;
  int32_t numerator = 1, denominator = 1;
  effect.NotifyHostGestureBegin(0);
  effect.NotifyHostParamValue(0, 0.5);
  effect.NotifyHostGestureEnd(0);
  effect.NotifyHostDisplayChanged();
  EXPECT_EQ(effect.QueryTransportSample(), 0);
  EXPECT_EQ(effect.QueryHostTempo(), 0.0);
  effect.QueryTimeSignature(numerator, denominator);
  EXPECT_EQ(numerator, 0);
  effect.QueryTransport(info);
  EXPECT_EQ(info.beatsPerMinute, 120.0);
  EXPECT_EQ(effect.IdentifyHost(), kHostUnknown);
  effect.PrepareForHost();
  EXPECT_FALSE(effect.EmitMidiMessage(IMidiShortMessage{}));
  EXPECT_FALSE(effect.QueryOfflineRendering());
}

TEST_F(HostServices, ProcessingAsksTheHostNothing) {
  // The effect wants no MIDI: a block must not call the host at all.
  double samples[16] = {};
  double* buffers[] = {samples, samples};
  effect.Effect().processDoubleReplacing(&effect.Effect(), buffers, buffers, 16);
  float floats[16] = {};
  float* floatBuffers[] = {floats, floats};
  effect.Effect().processReplacing(&effect.Effect(), floatBuffers, floatBuffers, 16);
  EXPECT_TRUE(host.calls.empty());
}
