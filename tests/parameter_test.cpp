#include "core/parameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// The effect's kind of parameter: 0 to 100 %, step 0.01.
class ParameterPercent : public testing::Test {
 protected:
  ParameterPercent() { param.DeclareDouble("Mix", 50.0, 0.0, 100.0, 0.01, "%"); }

  std::string Display(double v, bool normalized = false, bool useTexts = false) const {
    char out[64];
    param.DisplayText(out, sizeof out, v, normalized, useTexts);
    return out;
  }

  IParameter param;
};

TEST(ParameterDeclare, StoresTheDeclaration) {
  IParameter param;
  param.DeclareDouble("Drive", 150.0, 0.0, 100.0, 0.01, "%");
  EXPECT_EQ(param.kind, kParamDouble);
  EXPECT_STREQ(param.name, "Drive");
  EXPECT_STREQ(param.label, "%");
  EXPECT_EQ(param.minimum, 0.0);
  EXPECT_EQ(param.maximum, 100.0);
  EXPECT_EQ(param.step, 0.01);
  // The default is kept as given, even outside the range.
  EXPECT_EQ(param.value, 150.0);
  EXPECT_EQ(param.defaultValue, 150.0);
}

TEST(ParameterDeclare, MaximumIsAtLeastOneStepAboveMinimum) {
  IParameter param;
  param.DeclareDouble("p", 0.0, 0.0, 0.5, 1.0, "");
  EXPECT_EQ(param.maximum, 1.0);
  param.DeclareDouble("p", 0.0, -3.0, -3.0, 0.25, "");
  EXPECT_EQ(param.maximum, -2.75);
}

TEST(ParameterDeclare, KeepsAKindAlreadySet) {
  IParameter param;
  param.kind = kParamInt;
  param.DeclareDouble("p", 0.0, 0.0, 10.0, 1.0, "");
  EXPECT_EQ(param.kind, kParamInt);
}

TEST(ParameterDeclare, PrecisionFollowsTheStep) {
  struct Case {
    double step;
    int32_t precision;
  };
  const std::vector<Case> cases = {
      {1.0, 0}, {10.0, 0}, {0.5, 1}, {2.5, 1}, {0.25, 2}, {0.01, 2}, {0.001, 3}, {1e-9, 6},
  };
  for (const Case& c : cases) {
    IParameter param;
    param.precision = 4;  // a redeclaration starts over
    param.DeclareDouble("p", 0.0, 0.0, 100.0, c.step, "");
    EXPECT_EQ(param.precision, c.precision) << "step " << c.step;
  }
}

TEST(ParameterDeclare, ShapeZeroKeepsTheCurrentShape) {
  IParameter param;
  param.DeclareDouble("p", 0.0, 0.0, 100.0, 0.01, "", 0.0);
  EXPECT_EQ(param.shape, 1.0);
  param.DeclareDouble("p", 0.0, 0.0, 100.0, 0.01, "", 3.0);
  param.DeclareDouble("p", 0.0, 0.0, 100.0, 0.01, "", 0.0);
  EXPECT_EQ(param.shape, 3.0);
}

TEST(ParameterDeclare, LongNamesAreCutToTheField) {
  const std::string longText(40, 'n');
  IParameter param;
  param.DeclareDouble(longText.c_str(), 0.0, 0.0, 1.0, 0.01, longText.c_str());
  EXPECT_EQ(std::string(param.name), longText.substr(0, kParamTextSize - 1));
  EXPECT_EQ(std::string(param.label), longText.substr(0, kParamTextSize - 1));
}

TEST_F(ParameterPercent, NormalizedOfLimitsAndShapes) {
  struct Case {
    double shape;
    double x;
    double normalized;
  };
  const std::vector<Case> cases = {
      {1.0, 50.0, 0.5}, {1.0, 150.0, 1.0}, {1.0, -5.0, 0.0}, {2.0, 50.0, std::sqrt(0.5)},
      {2.0, 25.0, 0.5}, {0.5, 50.0, 0.25},
  };
  for (const Case& c : cases) {
    param.shape = c.shape;
    EXPECT_NEAR(param.NormalizedOf(c.x), c.normalized, 1e-12)
        << "shape " << c.shape << ", x " << c.x;
  }
  param.value = 25.0;
  param.shape = 1.0;
  EXPECT_DOUBLE_EQ(param.Normalized(), 0.25);
}

TEST(ParameterMapping, SetFromNormalized) {
  struct Case {
    int32_t kind;
    double minimum, maximum, step, shape;
    double normalized;
    double value;
  };
  const std::vector<Case> cases = {
      {kParamDouble, 0, 100, 0.01, 1, 0.25, 25.0},
      {kParamDouble, 0, 100, 0.01, 1, 0.12345, 12.345},  // no snapping
      {kParamDouble, 0, 100, 0.01, 2, std::sqrt(0.5), 50.0},
      {kParamDouble, 0, 100, 0.01, 1, 1.2, 100.0},
      {kParamDouble, 0, 100, 0.01, 1, -0.1, -10.0},  // no lower limit
      {kParamDouble, 20, 40, 0.01, 1, 0.5, 30.0},
      {kParamInt, 0, 10, 1, 1, 0.34, 3.0},
      {kParamInt, 0, 10, 1, 1, 0.36, 4.0},
      {kParamBool, 0, 1, 1, 1, 0.5, 1.0},    // halves round up
      {kParamEnum, 0, 10, 4, 1, 1.0, 10.0},  // a snap past the top is limited
  };
  for (const Case& c : cases) {
    IParameter param;
    param.kind = c.kind;
    param.DeclareDouble("p", 0.0, c.minimum, c.maximum, c.step, "", c.shape);
    param.SetFromNormalized(c.normalized);
    EXPECT_NEAR(param.value, c.value, 1e-9) << "kind " << c.kind << ", n " << c.normalized;
  }
}

TEST(ParameterMapping, EmptyRangeMapsToZero) {
  // Set directly: a declaration would widen the range by a step.
  IParameter param;
  param.minimum = param.maximum = 5.0;
  param.value = 5.0;
  for (double x : {4.0, 5.0, 6.0}) {
    const double n = param.NormalizedOf(x);
    EXPECT_EQ(n, 0.0) << "x " << x;
  }
  EXPECT_EQ(param.Normalized(), 0.0);
  param.SetFromNormalized(0.7);
  EXPECT_EQ(param.value, 5.0);
}

TEST_F(ParameterPercent, SetClampedKeepsTheRange) {
  struct Case {
    double x;
    double value;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Case> cases = {
      {42.5, 42.5},
      {-1.0, 0.0},
      {100.5, 100.0},
      {inf, 100.0},
      {-inf, 0.0},
      {std::numeric_limits<double>::quiet_NaN(), 0.0},  // no place in the range: the minimum
  };
  for (const Case& c : cases) {
    param.value = 77.0;
    param.SetClamped(c.x);
    EXPECT_EQ(param.value, c.value) << "x " << c.x;
  }
}

TEST_F(ParameterPercent, DisplayText) {
  struct Case {
    int32_t precision;
    bool negate;
    double v;
    bool normalized;
    const char* text;
  };
  const std::vector<Case> cases = {
      {2, false, 50.0, false, "50.00"},
      {2, false, 0.25, true, "25.00"},
      {2, true, 3.0, false, "-3.00"},
      {0, false, 2.9, false, "2"},
      {0, false, -2.9, false, "-2"},  // toward zero, not down
      {0, true, 2.9, false, "-2"},
      {0, false, 1e12, false, "2147483647"},  // whole numbers stay inside an int
  };
  for (const Case& c : cases) {
    param.precision = c.precision;
    param.negateDisplay = c.negate;
    EXPECT_EQ(Display(c.v, c.normalized), c.text)
        << "value " << c.v << ", precision " << c.precision << ", negated " << c.negate;
  }
}

TEST_F(ParameterPercent, NormalizedDisplayFollowsTheShape) {
  param.shape = 2.0;
  EXPECT_EQ(Display(0.5, true), "25.00");
  param.value = 12.5;
  char out[16];
  param.NumericText(out, sizeof out);
  EXPECT_STREQ(out, "12.50");
}

TEST_F(ParameterPercent, SmallOutputIsCutAndTerminated) {
  struct Case {
    double v;
    int outSize;
    const char* text;
  };
  const std::vector<Case> cases = {
      {123456.78, 8, "123456."},
      {123456.78, 1, ""},
      {5.0, 8, "5.00"},
  };
  for (const Case& c : cases) {
    char out[16];
    std::memset(out, 'x', sizeof out);
    param.DisplayText(out, c.outSize, c.v, false, false);
    EXPECT_STREQ(out, c.text) << "size " << c.outSize;
    for (int i = c.outSize; i < static_cast<int>(sizeof out); ++i) {
      EXPECT_EQ(out[i], 'x') << "byte " << i << " written, size " << c.outSize;
    }
  }
}

// A parameter with display texts: 1 shows as "On", 0 has an empty entry.
class ParameterWithTexts : public ParameterPercent {
 protected:
  ParameterWithTexts() {
    param.precision = 0;
    param.AddDisplayText(1, "On");
    param.AddDisplayText(0, "");
    param.AddDisplayText(0, "Off");  // never shown: the empty entry for 0 comes first
    param.AddDisplayText(2, "Two");
    param.AddDisplayText(2, "Second two");  // never shown: the first entry for 2 wins
  }
};

TEST_F(ParameterWithTexts, DisplayTextUsesEntries) {
  struct Case {
    double v;
    bool useTexts;
    const char* text;
  };
  const std::vector<Case> cases = {
      {1.0, true, "On"}, {1.7, true, "On"},  {1.7, false, "1"}, {0.0, true, "0"},
      {-0.5, true, "0"}, {2.0, true, "Two"}, {3.0, true, "3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Display(c.v, false, c.useTexts), c.text)
        << "value " << c.v << ", texts " << c.useTexts;
  }
  // The lookup sees the real value, before the sign is turned for display.
  param.negateDisplay = true;
  EXPECT_EQ(Display(2.0, false, true), "Two");
  EXPECT_EQ(Display(3.0, false, true), "-3");
}

TEST_F(ParameterWithTexts, LongEntryIsCutToTheOutput) {
  param.AddDisplayText(7, "Overdrive");
  char out[4];
  param.DisplayText(out, sizeof out, 7.0, false, true);
  EXPECT_STREQ(out, "Ove");
}

TEST_F(ParameterWithTexts, UnitLabelHiddenWhileAnEntryShows) {
  struct Case {
    double value;
    const char* label;
  };
  const std::vector<Case> cases = {
      {1.7, ""},
      {0.0, "%"},  // the empty entry shows the number, so the unit too
      {3.0, "%"},
  };
  for (const Case& c : cases) {
    param.value = c.value;
    EXPECT_STREQ(param.UnitLabel(), c.label) << "value " << c.value;
  }
}

TEST_F(ParameterWithTexts, ValueForTextMatchesExactly) {
  struct Case {
    const char* text;
    bool found;
    int32_t value;
  };
  const std::vector<Case> cases = {
      {"On", true, 1},  {"Two", true, 2},  {"Second two", true, 2}, {"Off", true, 0},
      {"on", false, 0}, {"On ", false, 0}, {"O", false, 0},         {nullptr, false, 0},
  };
  for (const Case& c : cases) {
    int32_t value = -99;
    EXPECT_EQ(param.ValueForText(c.text, value), c.found) << (c.text ? c.text : "(null)");
    if (c.found) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(ParameterTexts, NoEntriesFallBackToNumberAndLabel) {
  IParameter param;
  param.DeclareDouble("p", 1.0, 0.0, 10.0, 1.0, "dB");
  char out[16];
  param.DisplayText(out, sizeof out, 1.0, false, true);
  EXPECT_STREQ(out, "1");
  EXPECT_STREQ(param.UnitLabel(), "dB");
  int32_t value = -99;
  EXPECT_FALSE(param.ValueForText("1", value));
}

}  // namespace
