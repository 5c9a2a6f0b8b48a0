#pragma once
#include <cstdint>

#include "core/heap_buffer.h"

// Kind codes of a parameter. The stepped kinds snap to their step when set from
// a normalized value; the continuous kind does not.
enum IParameterKind : int32_t {
  kParamUndeclared = 0,
  kParamBool = 1,
  kParamInt = 2,
  kParamEnum = 3,
  kParamDouble = 4,
};

constexpr int kParamTextSize = 32;

// One entry of a parameter's display-text table.
struct IDisplayText {
  int32_t value;
  char text[kParamTextSize];
};

// One automatable parameter: a real value in a range with a power-shaped
// mapping to and from the host's normalized range 0 to 1. Not thread-safe: the
// plug-in base's lock serializes access.
class IParameter {
 public:
  IParameter() : displayTexts(4096) {}

  void DeclareDouble(const char* paramName, double defaultVal, double minVal, double maxVal,
                     double stepVal, const char* unitLabel, double shapeVal = 1.0);
  // Adds an entry shown instead of the number for that whole-number value.
  bool AddDisplayText(int32_t forValue, const char* text);

  double Normalized() const { return NormalizedOf(value); }
  // The value limited to the range, then mapped through the power shape. A
  // parameter whose range is empty maps to 0.
  double NormalizedOf(double x) const;
  // The inverse mapping, snapped to the step for the stepped kinds and limited
  // to the maximum (there is no lower limit).
  void SetFromNormalized(double normalized);
  // Limits a real value to the range and stores it.
  void SetClamped(double x);

  // Writes the text for v (normalized or real) into out, at most outSize bytes
  // with the terminator.
  void DisplayText(char* out, int outSize, double v, bool vIsNormalized,
                   bool useDisplayTexts) const;
  void NumericText(char* out, int outSize) const { DisplayText(out, outSize, value, false, false); }
  // Empty while the current value is shown by a display text.
  const char* UnitLabel() const;
  // Reverse lookup: true and the entry's value for an exact, case-sensitive match.
  bool ValueForText(const char* text, int32_t& found) const;

  int32_t DisplayTextCount() const;
  const IDisplayText* DisplayTextAt(int32_t index) const;

  int32_t kind = kParamUndeclared;
  double value = 0.0;
  double minimum = 0.0;
  double maximum = 1.0;
  double step = 1.0;
  double shape = 1.0;
  double defaultValue = 0.0;
  int32_t precision = 0;
  char name[kParamTextSize] = {};
  char label[kParamTextSize] = {};
  bool negateDisplay = false;
  HeapBuffer displayTexts;

 private:
  // The first entry for v truncated toward zero with a non-empty text, or null.
  const IDisplayText* DisplayTextFor(double v) const;
};

// Copies at most size - 1 bytes of source and always terminates (size > 0).
void CopyText(char* out, int size, const char* source);
