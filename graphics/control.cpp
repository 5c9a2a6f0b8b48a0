#include "graphics/control.h"

#include <cstring>
#include <string>

#include "core/parameter.h"
#include "core/plugin_base.h"
#include "graphics/graphics.h"

namespace {
constexpr float kGreyedWeight = 0.25f;
constexpr int kLabelPieceLimit = 32;

// Differs, with any comparison involving a NaN counting as different.
bool Differs(double a, double b) {
  return !(a == b);
}
}  // namespace

IControl::IControl(IPluginBase* plugIn, const IBounds& rect, int param, const IBlendSpec& blendSpec)
    : plug(plugIn), drawRect(rect), hitRect(rect), paramIndex(param), blend(blendSpec) {}

IGraphics* IControl::Graphics() const {
  return plug != nullptr ? dynamic_cast<IGraphics*>(plug->Editor()) : nullptr;
}

void IControl::PointerDown(int /*x*/, int /*y*/, const IMouseKeys& keys) {
  if (keys.right) AskForValue();
}

void IControl::PointerDoubleClick(int /*x*/, int /*y*/, const IMouseKeys& /*keys*/) {
  if (defaultValue >= 0) {
    value = defaultValue;
    MarkDirty(true);
  }
}

void IControl::ValueFromPlugIn(double normalized) {
  if (defaultValue < 0) defaultValue = value = normalized;
  if (Differs(value, normalized)) {
    value = normalized;
    MarkDirty(false);
    redrawPending = true;
  }
}

void IControl::AuxValueFromPlugIn(int entry, double normalized) {
  IAuxParam* aux = AuxParamAt(entry);
  if (aux == nullptr || !Differs(aux->value, normalized)) return;
  aux->value = normalized;
  MarkDirty(false);
  redrawPending = true;
}

void IControl::ValueFromUser(double normalized) {
  if (!Differs(value, normalized)) return;
  value = normalized;
  MarkDirty(true);
  redrawPending = true;
}

void IControl::SetHidden(bool hide) {
  hidden = hide;
  redrawPending = true;
  MarkDirty(false);
}

void IControl::SetGreyed(bool grey) {
  greyed = grey;
  blend.weight = grey ? kGreyedWeight : 1.0f;
  MarkDirty(false);
}

bool IControl::Hit(int x, int y) {
  return hitRect.Contains(x, y);
}

void IControl::MarkDirty(bool notify) {
  if (minValue > value) {
    value = minValue;
  } else if (value > maxValue) {
    value = maxValue;
  }
  dirty = true;
  if (!notify || plug == nullptr || paramIndex < 0) return;
  plug->SetParamFromEditor(paramIndex, value);
  const IParameter* param = plug->ParamAt(paramIndex);
  if (param == nullptr) return;
  if (valueLabel != nullptr) {
    char display[kLabelPieceLimit + 1];
    param->DisplayText(display, sizeof display, param->value, false, true);
    const std::string text =
        std::string(display) + " " + std::string(param->UnitLabel()).substr(0, kLabelPieceLimit);
    valueLabel->SetLabelText(text.c_str());
  }
  if (nameLabel != nullptr) nameLabel->SetLabelText(param->name);
}

void IControl::AskForValue() {
  if (paramIndex < 0 || noValuePrompt || plug == nullptr) return;
  IParameter* param = plug->ParamAt(paramIndex);
  IGraphics* graphics = Graphics();
  if (param == nullptr || graphics == nullptr) return;
  IBounds area = drawRect;
  if (param->DisplayTextCount() == 0) {
    const int cx = static_cast<int>(static_cast<float>(drawRect.left + drawRect.right) * 0.5f);
    const int cy = static_cast<int>(static_cast<float>(drawRect.top + drawRect.bottom) * 0.5f);
    area = {cx - 20, cy - 8, cx + 20, cy + 8};
  }
  graphics->AskParamValue(this, param, area);
  redrawPending = true;
}

bool IControl::AddAuxParam(int index) {
  const int oldSize = auxParams.Size();
  auxParams.Resize(oldSize + static_cast<int>(sizeof(IAuxParam)), false);
  if (auxParams.Size() == oldSize) return false;
  auto* entry = reinterpret_cast<IAuxParam*>(auxParams.Data() + oldSize);
  *entry = IAuxParam{0.0, index};
  return true;
}

IAuxParam* IControl::AuxParamAt(int entry) const {
  if (entry < 0 || entry >= AuxParamCount()) return nullptr;
  return reinterpret_cast<IAuxParam*>(auxParams.Data()) + entry;
}
