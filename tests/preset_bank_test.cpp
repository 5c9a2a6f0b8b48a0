// Preset slots and the chunk formats that carry them, on a plug-in base with
// the effect's five parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/plugin_base.h"
#include "tests/test_plugin.h"

namespace {
using Bytes = std::vector<uint8_t>;

// Five parameters declared as the effect declares them: 0 to 100 %, default 50.
class Declared : public TestPlugin {
 public:
  explicit Declared(int presets = 1) : TestPlugin(Setup("1-1 2-2", 5, presets)) {
    const char* names[] = {"Clip", "Rate", "Fuzz", "Static", "Mix"};
    for (int i = 0; i < 5; ++i) ParamAt(i)->DeclareDouble(names[i], 50, 0, 100, 0.01, "%");
  }
  void Set(const std::vector<double>& values) {
    for (int i = 0; i < 5; ++i) ParamAt(i)->value = values[i];
  }
  std::vector<double> Values() const {
    std::vector<double> values;
    for (int i = 0; i < 5; ++i) values.push_back(ParamAt(i)->value);
    return values;
  }
  // Gives a slot a name, a flag and a state of five values.
  void Slot(int index, const char* name, bool used, const std::vector<double>& values) {
    IPresetSlot* slot = PresetAt(index);
    std::strcpy(slot->name, name);
    slot->used = used;
    slot->state.Clear();
    for (double v : values) slot->state.AppendDouble(v);
  }
};

Bytes BytesOf(const IStateChunk& chunk) {
  return Bytes(chunk.Data(), chunk.Data() + chunk.Size());
}

void Assign(IStateChunk& chunk, const Bytes& bytes) {
  chunk.Clear();
  chunk.AppendBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
}

Bytes StateOf(const std::vector<double>& values) {
  IStateChunk chunk;
  for (double v : values) chunk.AppendDouble(v);
  return BytesOf(chunk);
}

// Builds bank bytes slot by slot, including the malformed ones hosts may send.
struct BankBuilder {
  IStateChunk chunk;
  BankBuilder& Length(int32_t length) {
    chunk.AppendInt32(length);
    return *this;
  }
  BankBuilder& Text(const std::string& text) {
    chunk.AppendBytes(text.data(), static_cast<int32_t>(text.size()));
    return *this;
  }
  BankBuilder& Slot(const std::string& name, bool used, const std::vector<double>& values = {}) {
    Length(static_cast<int32_t>(name.size())).Text(name);
    chunk.AppendBool(used);
    for (double v : values) chunk.AppendDouble(v);
    return *this;
  }
  Bytes Done() const { return BytesOf(chunk); }
};

const Bytes kFifty = {0, 0, 0, 0, 0, 0, 0x49, 0x40};  // 50.0 as a little-endian double
const std::vector<double> kState0 = {1, 2, 3, 4, 5};
const std::vector<double> kState1 = {11, 12, 13, 14, 15};
const std::vector<double> kState2 = {21, 22, 23, 24, 25};
}  // namespace

TEST(PresetChunkHeader, WriteReplacesTheChunkWithMagicAndVersion) {
  IStateChunk chunk;
  chunk.AppendInt32(12345);
  IPluginBase::WriteChunkHeader(chunk);
  EXPECT_EQ(BytesOf(chunk), (Bytes{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}));
}

TEST(PresetChunkHeader, ReadVersionAndPosition) {
  const struct {
    const char* what;
    Bytes bytes;
    int32_t start;
    int32_t version, position;
  } cases[] = {
      {"valid", {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00, 0xAA}, 0, 0x00010000, 8},
      {"valid after two bytes",
       {9, 9, 0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x02, 0x00},
       2,
       0x00020000,
       10},
      {"magic, version cut short", {0x74, 0x66, 0x66, 0x70, 0x00, 0x00}, 0, 0, -1},
      {"no magic", {0x70, 0x66, 0x66, 0x74, 0x00, 0x00, 0x01, 0x00}, 0, 0, 0},
      {"no magic at the start position", {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}, 1, 0, 1},
      {"too short for the magic", {0x74, 0x66}, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    IStateChunk chunk;
    Assign(chunk, c.bytes);
    int32_t position = c.start;
    EXPECT_EQ(IPluginBase::ReadChunkHeader(chunk, position), c.version);
    EXPECT_EQ(position, c.position);
  }
}

TEST(PresetNames, NextUserPresetNameCountsSlotsContainingTheText) {
  const struct {
    const char* names[3];
    const char* expected;
  } cases[] = {
      {{"user preset 1", "my user preset here", "-"}, "user preset 3"},
      {{"User Preset 1", "userpreset", "-"}, "user preset 1"},  // case and spacing matter
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    Declared plugin(3);
    for (int i = 0; i < 3; ++i) std::strcpy(plugin.PresetAt(i)->name, c.names[i]);
    char out[64];
    plugin.NextUserPresetName(out, sizeof out);
    EXPECT_STREQ(out, c.expected);
  }
}

TEST(PresetLoad, UnusedSlotCapturesTheCurrentParametersAndBecomesCurrent) {
  Declared plugin(3);
  plugin.Slot(0, "user preset 1", true, kState0);
  plugin.Set({10, 20, 30, 40, 60});
  ASSERT_TRUE(plugin.LoadPreset(2));
  const IPresetSlot* slot = plugin.PresetAt(2);
  EXPECT_TRUE(slot->used);
  EXPECT_STREQ(slot->name, "user preset 2");
  EXPECT_EQ(BytesOf(slot->state), StateOf({10, 20, 30, 40, 60}));
  EXPECT_EQ(plugin.CurrentPreset(), 2);
  EXPECT_EQ(plugin.Values(), (std::vector<double>{10, 20, 30, 40, 60}));
  EXPECT_FALSE(plugin.PresetAt(1)->used);
}

TEST(PresetLoad, UsedSlotLoadsItsState) {
  Declared plugin(3);
  plugin.Slot(1, "Warm", true, {10, 120, 30, 40, 60});  // 120 is stored above the range
  ASSERT_TRUE(plugin.LoadPreset(1));
  EXPECT_EQ(plugin.CurrentPreset(), 1);
  EXPECT_EQ(plugin.Values(), (std::vector<double>{10, 100, 30, 40, 60}));
  EXPECT_STREQ(plugin.PresetAt(1)->name, "Warm");

  // A stored state that cannot be read whole does not make the slot current.
  plugin.Slot(2, "Cut", true, {});
  plugin.PresetAt(2)->state.AppendInt32(7);
  EXPECT_FALSE(plugin.LoadPreset(2));
  EXPECT_EQ(plugin.CurrentPreset(), 1);
}

TEST(PresetLoad, IndexOutsideTheSlotsChangesNothing) {
  for (int index : {-1, 3}) {
    SCOPED_TRACE(index);
    Declared plugin(3);
    plugin.Slot(0, "-", true, kState0);
    plugin.Set({10, 20, 30, 40, 60});
    EXPECT_FALSE(plugin.LoadPreset(index));
    EXPECT_EQ(plugin.CurrentPreset(), 0);
    EXPECT_EQ(plugin.Values(), (std::vector<double>{10, 20, 30, 40, 60}));
    for (int i = 1; i < 3; ++i) {
      EXPECT_FALSE(plugin.PresetAt(i)->used);
      EXPECT_STREQ(plugin.PresetAt(i)->name, "empty");
      EXPECT_EQ(plugin.PresetAt(i)->state.Size(), 0);
    }
  }
  Declared plugin(3);
  EXPECT_STREQ(plugin.PresetName(3), "");
  EXPECT_STREQ(plugin.PresetName(-1), "");
}

TEST(PresetModify, StoresTheCurrentParametersAndRenamesOnlyWithAName) {
  const std::string longName(300, 'x');
  const struct {
    const char* what;
    const char* name;
    bool used;
    std::string expectedName;
  } cases[] = {
      {"null", nullptr, true, "-"},
      {"empty", "", true, "-"},
      {"renamed", "Bright", true, "Bright"},
      {"renamed, flag kept", "Bright", false, "Bright"},
      {"cut to the slot", longName.c_str(), true, longName.substr(0, 255)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Declared plugin(2);
    plugin.Slot(0, "-", c.used, {1, 2, 3, 4, 5, 6, 7});  // stale and longer than a state
    plugin.Slot(1, "other", true, kState1);
    plugin.Set({10, 20, 30, 40, 60});
    plugin.ModifyCurrentPreset(c.name);
    const IPresetSlot* slot = plugin.PresetAt(0);
    EXPECT_EQ(slot->name, c.expectedName);
    EXPECT_EQ(slot->used, c.used);
    EXPECT_EQ(BytesOf(slot->state), StateOf({10, 20, 30, 40, 60}));
    EXPECT_STREQ(plugin.PresetAt(1)->name, "other");
    EXPECT_EQ(BytesOf(plugin.PresetAt(1)->state), StateOf(kState1));
  }
}

TEST(PresetBank, SerializeWritesNameFlagAndOnlyUsedStates) {
  Declared plugin(3);
  plugin.Slot(0, "-", true, {50, 50, 50, 50, 50});
  plugin.Slot(1, "empty", false, kState1);  // a stale state that must not be written
  plugin.Slot(2, "", true, {0, 0, 0, 0, 0});
  plugin.Set({10, 20, 30, 40, 60});  // the stored states are written, not these
  IStateChunk chunk;
  ASSERT_TRUE(plugin.SerializePresets(chunk));

  Bytes expected = {1, 0, 0, 0, '-', 1};
  for (int i = 0; i < 5; ++i) expected.insert(expected.end(), kFifty.begin(), kFifty.end());
  const Bytes unused = {5, 0, 0, 0, 'e', 'm', 'p', 't', 'y', 0};
  expected.insert(expected.end(), unused.begin(), unused.end());
  const Bytes emptyName = {0, 0, 0, 0, 1};
  expected.insert(expected.end(), emptyName.begin(), emptyName.end());
  expected.insert(expected.end(), 40, 0);
  EXPECT_EQ(BytesOf(chunk), expected);
}

TEST(PresetBank, RoundTripRestoresNamesFlagsAndStates) {
  Declared source(3);
  source.Slot(0, "Warm", true, {10, 20, 30, 40, 60});
  source.Slot(1, "empty", false, {});
  source.Slot(2, "Harsh", true, {100, 0, 99.5, 0.25, 1});
  IStateChunk chunk;
  IPluginBase::WriteChunkHeader(chunk);  // the bank is read from after a header
  ASSERT_TRUE(source.SerializePresets(chunk));

  Declared target(3);
  target.Slot(0, "a", false, kState0);
  target.Slot(1, "b", true, kState1);
  target.Slot(2, "c", false, kState2);
  EXPECT_EQ(target.UnserializePresets(chunk, 8), chunk.Size());
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(target.PresetAt(i)->name, source.PresetAt(i)->name);
    EXPECT_EQ(target.PresetAt(i)->used, source.PresetAt(i)->used);
  }
  EXPECT_EQ(BytesOf(target.PresetAt(0)->state), BytesOf(source.PresetAt(0)->state));
  EXPECT_EQ(BytesOf(target.PresetAt(2)->state), BytesOf(source.PresetAt(2)->state));
  EXPECT_EQ(BytesOf(target.PresetAt(1)->state), StateOf(kState1));  // an unused slot keeps it
  EXPECT_EQ(target.CurrentPreset(), 0);
  EXPECT_EQ(target.Values(), (std::vector<double>{10, 20, 30, 40, 60}));
}

TEST(PresetBank, StoredNameOfLengthZeroGivesAnEmptyName) {
  Declared plugin(2);
  plugin.Slot(0, "a", true, kState0);
  plugin.Slot(1, "old name", false, {});
  BankBuilder bank;
  bank.Slot("A", true, kState1).Slot("", false);
  EXPECT_EQ(plugin.UnserializePresets(bank.chunk, 0), bank.chunk.Size());
  EXPECT_STREQ(plugin.PresetAt(0)->name, "A");
  EXPECT_STREQ(plugin.PresetAt(1)->name, "");
}

// Banks come from hosts and files: a malformed one is refused where it goes
// wrong, and the parameters still end as the current slot holds them.
TEST(PresetBank, HostileBanksAreRefusedOrLimited) {
  const std::string longName(300, 'n');
  const std::vector<double> kOutOfRange = {150, -20, 50, 50, 50};
  const std::vector<double> kLimited = {100, 0, 50, 50, 50};
  struct Case {
    const char* what;
    Bytes bank;
    bool refused;
    std::string names[3];
    std::vector<double> states[3];
  };
  const Case cases[] = {
      {"negative name length in slot 0",
       BankBuilder().Length(-4).Text("abcd").Slot("B", false).Done(),
       true,
       {"zero", "one", "two"},
       {kState0, kState1, kState2}},
      {"negative name length in slot 1",
       BankBuilder().Slot("A", true, kState2).Length(-1).Text("xyz").Done(),
       true,
       {"A", "one", "two"},
       {kState2, kState1, kState2}},
      {"name running past the data in slot 1",
       BankBuilder().Slot("A", true, kState1).Length(1000).Text("abc").Done(),
       true,
       {"A", "one", "two"},
       {kState1, kState1, kState2}},
      {"state of the current slot cut short",
       BankBuilder().Slot("A", true).Text("1234567890").Done(),
       true,
       {"A", "one", "two"},
       {kState0, kState1, kState2}},
      {"values above and below the range",
       BankBuilder().Slot("A", true, kOutOfRange).Slot("B", true, kState1).Slot("C", false).Done(),
       false,
       {"A", "B", "C"},
       {kLimited, kState1, kState2}},
      {"name longer than a slot holds",
       BankBuilder().Slot("A", true, kState2).Slot(longName, false).Slot("C", true, kState1).Done(),
       false,
       {"A", longName.substr(0, 255), "C"},
       {kState2, kState1, kState1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Declared plugin(3);
    plugin.Slot(0, "zero", true, kState0);
    plugin.Slot(1, "one", true, kState1);
    plugin.Slot(2, "two", true, kState2);
    plugin.Set({10, 20, 30, 40, 60});
    IStateChunk bank;
    Assign(bank, c.bank);
    EXPECT_EQ(plugin.UnserializePresets(bank, 0), c.refused ? -1 : bank.Size());
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(plugin.PresetAt(i)->name, c.names[i]);
      EXPECT_EQ(BytesOf(plugin.PresetAt(i)->state), StateOf(c.states[i]));
    }
    EXPECT_EQ(plugin.Values(), c.states[0]);
    EXPECT_EQ(plugin.CurrentPreset(), 0);
  }
}
