// Feeds arbitrary bytes to effSetChunk, as a host restoring a damaged or hostile
// project would, for both the bank and the program layout, then checks what a
// host relies on afterwards, and that the load did what an independent reading
// of the same bytes says it must. Any broken promise aborts, so libFuzzer keeps
// the input that caused it.
//
// The first input byte chooses how the rest is delivered:
//   bit 0  program layout (index 1) instead of the bank (index 0)
//   bit 1  put a valid chunk header in front, so mutations land in the body
//   bit 2  load into a fresh instance as well as into the long-lived one
//   bit 3  select program (bits 4 to 7) - 8 first, valid or not
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "effect/grittbox.h"

namespace {
constexpr uint8_t kHeader[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
constexpr int32_t kMagic = 0x70666674;
constexpr int32_t kBankVersion = 0x00010000;
constexpr uint8_t kProgramLayout = 1 << 0;
constexpr uint8_t kWithHeader = 1 << 1;
constexpr uint8_t kFreshInstance = 1 << 2;
constexpr uint8_t kSelectProgram = 1 << 3;
constexpr VstInt32 kBankIndex = 0;
constexpr VstInt32 kProgramIndex = 1;
constexpr int kFrames = 8;
constexpr int kNameBuffer = 64;
constexpr uint8_t kUntouched = 0x5A;

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "chunk fuzzer: broken promise: %s\n", what);
  std::abort();
}

VstIntPtr Call(AEffect& effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
               void* ptr = nullptr) {
  return effect.dispatcher(&effect, opcode, index, value, ptr, 0.0f);
}

std::vector<double> Values(Grittbox& fx) {
  std::vector<double> values;
  for (int i = 0; i < fx.ParamCount(); ++i) values.push_back(fx.ParamAt(i)->value);
  return values;
}

// A copy of the chunk the plug-in hands out, as a host keeps it in its project.
std::vector<uint8_t> GetChunk(AEffect& effect, VstInt32 index) {
  void* data = nullptr;
  const VstIntPtr size = Call(effect, effGetChunk, index, 0, &data);
  Require(size > 0, "effGetChunk returns a size above 0");
  Require(data != nullptr, "effGetChunk hands out its bytes");
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

double ReadDouble(const uint8_t* bytes) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= uint64_t{bytes[i]} << (8 * i);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

int32_t ReadInt32(const uint8_t* bytes) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= uint32_t{bytes[i]} << (8 * i);
  return static_cast<int32_t>(bits);
}

double Limited(const IParameter& param, double v) {
  return std::isnan(v) ? param.minimum : std::clamp(v, param.minimum, param.maximum);
}

// What a load must do, worked out from the bytes alone: the answer always, and
// the values and the current slot's name wherever the outcome fixes them.
struct Expected {
  VstIntPtr result = 0;
  bool valuesKnown = true;
  std::vector<double> values;
  bool nameKnown = true;
  std::string name;
};

// The current slot's stored values, which a bank that fails to replace them
// leaves in force.
bool StoredValues(Grittbox& fx, std::vector<double>& values) {
  const IPresetSlot* slot = fx.PresetAt(fx.CurrentPreset());
  if (slot == nullptr || !slot->used) return false;
  int32_t position = 0;
  for (int i = 0; i < fx.ParamCount(); ++i) {
    position = slot->state.ReadDouble(values[i], position);
    if (position < 0) return false;
    values[i] = Limited(*fx.ParamAt(i), values[i]);
  }
  return true;
}

// A bank: per slot a 32-bit name length (never negative) and the name, a used
// byte, then the values when used. The current slot is loaded again at the end.
void PredictBank(Grittbox& fx, const uint8_t* bytes, size_t size, size_t position,
                 Expected& expected) {
  const int current = fx.CurrentPreset();
  const size_t valueBytes = 8 * static_cast<size_t>(fx.ParamCount());
  bool complete = true;
  bool reloaded = false;     // the current slot took values from the bank
  bool renamed = false;      // the current slot came out unused: it gets a new name
  bool paramsMoved = false;  // some slot's values were (partly) read
  for (int slot = 0; slot < fx.PresetCount() && complete; ++slot) {
    complete = false;
    if (position + 4 > size) break;
    const int32_t length = ReadInt32(bytes + position);
    if (length < 0 || position + 4 + static_cast<size_t>(length) > size) break;
    if (slot == current) {
      const char* text = reinterpret_cast<const char*>(bytes + position + 4);
      const size_t limit = std::min<size_t>(static_cast<size_t>(length), kPresetNameSize - 1);
      expected.name.assign(text, strnlen(text, limit));
    }
    position += 4 + static_cast<size_t>(length);
    if (position + 1 > size) break;
    const bool used = bytes[position] != 0;
    position += 1;
    if (used) {
      paramsMoved = true;
      if (position + valueBytes > size) break;
      if (slot == current) {
        for (int i = 0; i < fx.ParamCount(); ++i) {
          expected.values[i] = Limited(*fx.ParamAt(i), ReadDouble(bytes + position + 8 * i));
        }
        reloaded = true;
      }
      position += valueBytes;
    } else if (slot == current) {
      renamed = true;
    }
    complete = true;
  }
  expected.result = complete ? 1 : 0;
  if (renamed) {
    expected.nameKnown = false;
    expected.valuesKnown = !paramsMoved;  // it keeps the parameters as they stand
  } else if (!reloaded) {
    expected.valuesKnown = StoredValues(fx, expected.values);
  }
}

Expected Predict(Grittbox& fx, bool bank, const uint8_t* bytes, size_t size) {
  Expected expected;
  expected.values = Values(fx);
  expected.name = fx.PresetName(fx.CurrentPreset());
  size_t position = 0;
  int32_t version = 0;
  if (size >= 4 && ReadInt32(bytes) == kMagic) {
    if (size < sizeof kHeader) return expected;  // a cut header: nothing is read
    version = ReadInt32(bytes + 4);
    position = sizeof kHeader;
  }
  if (bank && version >= kBankVersion) {
    PredictBank(fx, bytes, size, position, expected);
    return expected;
  }
  // Plain values; the first one missing becomes 0 limited to its range.
  for (int i = 0; i < fx.ParamCount(); ++i) {
    if (position + 8 > size) {
      expected.values[i] = Limited(*fx.ParamAt(i), 0.0);
      return expected;
    }
    expected.values[i] = Limited(*fx.ParamAt(i), ReadDouble(bytes + position));
    position += 8;
  }
  expected.result = 1;
  return expected;
}

// The name opcodes write at most kVstMaxProgNameLen bytes, terminator included.
void CheckName(AEffect& effect, VstInt32 opcode, VstInt32 index) {
  char name[kNameBuffer];
  std::memset(name, kUntouched, sizeof name);
  Call(effect, opcode, index, 0, name);
  Require(std::memchr(name, 0, kVstMaxProgNameLen) != nullptr, "program name is terminated");
  for (int i = kVstMaxProgNameLen; i < kNameBuffer; ++i) {
    Require(static_cast<uint8_t>(name[i]) == kUntouched, "program name stays in its buffer");
  }
}

void CheckState(Grittbox& fx) {
  AEffect& effect = fx.Effect();
  Require(effect.numParams == fx.ParamCount(), "the record counts every parameter");
  for (int i = 0; i < effect.numParams; ++i) {
    const float normalized = effect.getParameter(&effect, i);
    Require(normalized >= 0.0f && normalized <= 1.0f, "getParameter lies in [0, 1]");
    const double value = fx.ParamAt(i)->value;
    Require(value >= 0.0 && value <= 100.0, "parameter value lies in [0, 100]");
  }
  const VstIntPtr program = Call(effect, effGetProgram);
  Require(program >= 0 && program < effect.numPrograms, "current program is a valid index");
  CheckName(effect, effGetProgramName, 0);
  for (VstInt32 i = 0; i < effect.numPrograms; ++i) CheckName(effect, effGetProgramNameIndexed, i);

  // The program chunk is the header and each parameter's value as it stands.
  const std::vector<double> before = Values(fx);
  const std::vector<uint8_t> program_chunk = GetChunk(effect, kProgramIndex);
  Require(program_chunk.size() == sizeof kHeader + 8 * before.size(), "program chunk size");
  Require(std::memcmp(program_chunk.data(), kHeader, sizeof kHeader) == 0,
          "program chunk starts with the header");
  for (size_t i = 0; i < before.size(); ++i) {
    Require(ReadDouble(program_chunk.data() + sizeof kHeader + 8 * i) == before[i],
            "program chunk carries the parameter values");
  }
  const std::vector<uint8_t> bank_chunk = GetChunk(effect, kBankIndex);
  Require(bank_chunk.size() > sizeof kHeader &&
              std::memcmp(bank_chunk.data(), kHeader, sizeof kHeader) == 0,
          "bank chunk starts with the header");
  Require(Values(fx) == before, "effGetChunk leaves the parameters alone");

  // What the plug-in hands out, it takes back unchanged.
  std::vector<uint8_t> copy = program_chunk;
  Require(Call(effect, effSetChunk, kProgramIndex, static_cast<VstIntPtr>(copy.size()),
               copy.data()) == 1,
          "its own program chunk loads");
  Require(Values(fx) == before, "program chunk round trip keeps the values");
  copy = bank_chunk;
  Require(
      Call(effect, effSetChunk, kBankIndex, static_cast<VstIntPtr>(copy.size()), copy.data()) == 1,
      "its own bank chunk loads");
  Require(Values(fx) == before, "bank chunk round trip keeps the values");
  Require(GetChunk(effect, kBankIndex) == bank_chunk, "bank chunk round trip keeps the bank");

  // A host may also hand the lent bytes straight back, without a copy of its own.
  for (const VstInt32 index : {kProgramIndex, kBankIndex}) {
    void* lent = nullptr;
    const VstIntPtr size = Call(effect, effGetChunk, index, 0, &lent);
    Require(Call(effect, effSetChunk, index, size, lent) == 1, "lent chunk loads");
    Require(Values(fx) == before, "lent chunk keeps the values");
  }
  Require(GetChunk(effect, kBankIndex) == bank_chunk, "lent chunks keep the bank");
}

// Only survival is checked: extreme settings may legitimately overflow.
void ProcessBlock(AEffect& effect, const uint8_t* data, size_t size) {
  float in[2][kFrames];
  float out[2][kFrames];
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < kFrames; ++i) {
      const size_t at = static_cast<size_t>(c * kFrames + i);
      in[c][i] = at < size ? (static_cast<float>(data[at]) - 128.0f) / 128.0f : 0.0f;
      out[c][i] = 0.0f;
    }
  }
  float* inputs[2] = {in[0], in[1]};
  float* outputs[2] = {out[0], out[1]};
  effect.processReplacing(&effect, inputs, outputs, kFrames);
}

void LoadAndCheck(Grittbox& fx, uint8_t selector, const uint8_t* body, size_t size) {
  AEffect& effect = fx.Effect();
  if (selector & kSelectProgram) Call(effect, effSetProgram, 0, (selector >> 4) - 8);
  const bool bank = (selector & kProgramLayout) == 0;
  std::vector<uint8_t> framed;
  const uint8_t* chunk = body;
  size_t chunkSize = size;
  if (selector & kWithHeader) {
    framed.assign(kHeader, kHeader + sizeof kHeader);
    framed.insert(framed.end(), body, body + size);
    chunk = framed.data();
    chunkSize = framed.size();
  }
  const Expected expected = Predict(fx, bank, chunk, chunkSize);
  const VstIntPtr result = Call(effect, effSetChunk, bank ? kBankIndex : kProgramIndex,
                                static_cast<VstIntPtr>(chunkSize), const_cast<uint8_t*>(chunk));
  Require(result == expected.result, "effSetChunk answers as the bytes say");
  if (expected.valuesKnown) Require(Values(fx) == expected.values, "load sets the values");
  if (expected.nameKnown) {
    Require(expected.name == fx.PresetName(fx.CurrentPreset()), "load sets the program name");
  }
  CheckState(fx);
  ProcessBlock(effect, body, size);
  CheckState(fx);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // One instance lives across inputs, as in a host session that loads many chunks.
  static Grittbox* session = [] {
    auto* fx = new Grittbox(nullptr);
    Call(fx->Effect(), effOpen);
    return fx;
  }();
  const uint8_t selector = data[0];
  LoadAndCheck(*session, selector, data + 1, size - 1);
  if (selector & kFreshInstance) {
    Grittbox fresh(nullptr);
    Call(fresh.Effect(), effOpen);
    LoadAndCheck(fresh, selector, data + 1, size - 1);
  }
  return 0;
}
