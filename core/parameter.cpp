#include "core/parameter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

void CopyText(char* out, int size, const char* source) {
  if (out == nullptr || size <= 0) return;
  if (source == nullptr) source = "";
  const size_t length = strnlen(source, static_cast<size_t>(size - 1));
  std::memcpy(out, source, length);
  out[length] = 0;
}

void IParameter::DeclareDouble(const char* paramName, double defaultVal, double minVal,
                               double maxVal, double stepVal, const char* unitLabel,
                               double shapeVal) {
  if (kind == kParamUndeclared) kind = kParamDouble;
  CopyText(name, kParamTextSize, paramName);
  CopyText(label, kParamTextSize, unitLabel);
  minimum = minVal;
  value = defaultValue = defaultVal;
  maximum = std::max(maxVal, minVal + stepVal);
  step = stepVal;
  precision = 0;
  for (double s = stepVal; s != std::floor(s) && precision < 6; s *= 10.0) ++precision;
  if (shapeVal != 0.0) shape = shapeVal;
}

bool IParameter::AddDisplayText(int32_t forValue, const char* text) {
  const int32_t oldSize = displayTexts.Size();
  displayTexts.Resize(oldSize + static_cast<int32_t>(sizeof(IDisplayText)), false);
  if (displayTexts.Size() == oldSize) return false;
  auto* entry = reinterpret_cast<IDisplayText*>(displayTexts.Data() + oldSize);
  entry->value = forValue;
  CopyText(entry->text, kParamTextSize, text);
  return true;
}

int32_t IParameter::DisplayTextCount() const {
  return displayTexts.Size() / static_cast<int32_t>(sizeof(IDisplayText));
}

const IDisplayText* IParameter::DisplayTextAt(int32_t index) const {
  if (index < 0 || index >= DisplayTextCount()) return nullptr;
  return reinterpret_cast<const IDisplayText*>(displayTexts.Data()) + index;
}

const IDisplayText* IParameter::DisplayTextFor(double v) const {
  const double whole = std::trunc(v);
  for (int32_t i = 0; i < DisplayTextCount(); ++i) {
    const IDisplayText* entry = DisplayTextAt(i);
    if (entry->value == whole) return entry->text[0] != 0 ? entry : nullptr;
  }
  return nullptr;
}

double IParameter::NormalizedOf(double x) const {
  const double range = maximum - minimum;
  if (!(range > 0.0)) return 0.0;  // an empty range has no position in it
  x = std::clamp(x, minimum, maximum);
  return std::pow((x - minimum) / range, 1.0 / shape);
}

void IParameter::SetFromNormalized(double normalized) {
  double v = std::pow(normalized, shape) * (maximum - minimum) + minimum;
  if (kind != kParamDouble) v = std::floor(v / step + 0.5) * step;
  value = std::min(v, maximum);
}

void IParameter::SetClamped(double x) {
  // A value that is not a number has no place in the range: take the minimum.
  value = std::isnan(x) ? minimum : std::clamp(x, minimum, maximum);
}

void IParameter::DisplayText(char* out, int outSize, double v, bool vIsNormalized,
                             bool useDisplayTexts) const {
  if (out == nullptr || outSize <= 0) return;
  if (vIsNormalized) v = std::pow(v, shape) * (maximum - minimum) + minimum;
  if (useDisplayTexts) {
    if (const IDisplayText* entry = DisplayTextFor(v)) {
      CopyText(out, outSize, entry->text);
      return;
    }
  }
  if (negateDisplay) v = -v;
  if (precision == 0) {
    // Truncation toward zero, kept inside the int range for absurd values.
    double whole = std::clamp(std::trunc(v), -2147483648.0, 2147483647.0);
    if (std::isnan(whole)) whole = 0.0;
    std::snprintf(out, static_cast<size_t>(outSize), "%d", static_cast<int>(whole));
  } else {
    std::snprintf(out, static_cast<size_t>(outSize), "%.*f", precision, v);
  }
}

const char* IParameter::UnitLabel() const {
  return DisplayTextFor(value) != nullptr ? "" : label;
}

bool IParameter::ValueForText(const char* text, int32_t& found) const {
  if (text == nullptr) return false;
  for (int32_t i = 0; i < DisplayTextCount(); ++i) {
    const IDisplayText* entry = DisplayTextAt(i);
    if (std::strcmp(entry->text, text) == 0) {
      found = entry->value;
      return true;
    }
  }
  return false;
}
