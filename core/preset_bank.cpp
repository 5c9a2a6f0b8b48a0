// The plug-in base's presets and the chunk formats that carry them.
#include <cstdio>
#include <cstring>

#include "core/plugin_base.h"
#include "core/trace.h"

namespace {
constexpr int32_t kChunkMagic = 0x70666674;  // bytes 74 66 66 70
constexpr int32_t kChunkVersion = 0x00010000;
constexpr const char* kUserPresetName = "user preset";
}  // namespace

void IPluginBase::WriteChunkHeader(IStateChunk& chunk) {
  chunk.Clear();
  chunk.AppendInt32(kChunkMagic);
  chunk.AppendInt32(kChunkVersion);
}

int32_t IPluginBase::ReadChunkHeader(const IStateChunk& chunk, int32_t& position) {
  int32_t magic = 0;
  if (chunk.ReadInt32(magic, position) < 0 || magic != kChunkMagic) return 0;
  int32_t version = 0;
  if (chunk.ReadInt32(version, position + 4) < 0) {
    position = -1;
    return 0;
  }
  position += 8;
  return version;
}

bool IPluginBase::SerializePresets(IStateChunk& chunk) {
  bool ok = true;
  for (int i = 0; i < PresetCount() && ok; ++i) {
    IPresetSlot* slot = PresetAt(i);
    ok = chunk.AppendText(slot->name);
    Trace("IPluginBase::SerializePresets", __LINE__, "%d %s", i, slot->name);
    ok = ok && chunk.AppendBool(slot->used);
    if (ok && slot->used) ok = chunk.AppendChunk(slot->state);
  }
  return ok;
}

int32_t IPluginBase::UnserializePresets(const IStateChunk& chunk, int32_t position) {
  for (int i = 0; i < PresetCount() && position >= 0; ++i) {
    IPresetSlot* slot = PresetAt(i);
    HeapString name;
    position = chunk.ReadText(name, position);
    // A name running past the data is refused here, like any short read.
    if (position > chunk.Size()) position = -1;
    if (position < 0) break;
    CopyText(slot->name, kPresetNameSize, name.Text());  // longer names are cut to fit
    Trace("IPluginBase::UnserializePresets", __LINE__, "%d %s", i, slot->name);
    position = chunk.ReadBool(slot->used, position);
    if (slot->used) {
      position = LoadState(chunk, position);
      if (position > 0) {
        // The slot keeps the values as the parameters took them, after limiting.
        slot->state.Clear();
        SaveState(slot->state);
      }
    }
  }
  LoadPreset(currentPreset_);
  return position;
}

void IPluginBase::NextUserPresetName(char* out, int outSize) const {
  int count = 0;
  for (int i = 0; i < PresetCount(); ++i) {
    if (std::strstr(PresetAt(i)->name, kUserPresetName) != nullptr) ++count;
  }
  std::snprintf(out, static_cast<size_t>(outSize), "%s %d", kUserPresetName, count + 1);
}

bool IPluginBase::LoadPreset(int index) {
  IPresetSlot* slot = PresetAt(index);
  if (slot == nullptr) return false;
  bool ok;
  if (!slot->used) {
    slot->used = true;
    NextUserPresetName(slot->name, kPresetNameSize);
    ok = SaveState(slot->state);
  } else {
    ok = LoadState(slot->state, 0) > 0;
  }
  if (ok) {
    currentPreset_ = index;
    PresetListChanged();
    RefreshEditorControls();
  }
  return ok;
}

const char* IPluginBase::PresetName(int index) const {
  const IPresetSlot* slot = PresetAt(index);
  return slot != nullptr ? slot->name : "";
}

void IPluginBase::ModifyCurrentPreset(const char* name) {
  IPresetSlot* slot = PresetAt(currentPreset_);
  if (slot == nullptr) return;
  slot->state.Clear();
  Trace("IPluginBase::ModifyCurrentPreset", __LINE__, "%d %s", currentPreset_, slot->name);
  SaveState(slot->state);
  if (name != nullptr && name[0] != 0) CopyText(slot->name, kPresetNameSize, name);
}
