// The plug-in as a host sees it: loaded at run time, created through its
// exported entries, driven only through the effect record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/loaded_plugin.h"

namespace {
constexpr double kTwoToMinus31 = 1.0 / 2147483648.0;
constexpr double kTwoToMinus32 = 1.0 / 4294967296.0;

double ClipCurve(double x, double clipPercent) {
  const double c = clipPercent / 100;
  const double drive = c * 10 + 1e-8;
  const double y = x * drive;
  return (((1 / drive) * y) / ((y * y) * 0.25 + 1)) * (c + 1);
}

bool AllZero(const void* bytes, size_t size) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < size; ++i) {
    if (p[i] != 0) return false;
  }
  return true;
}

class Vst2Entry : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PluginLibrary::Instance().IsOpen()) << PluginLibrary::Instance().Error();
  }
};
}  // namespace

TEST_F(Vst2Entry, RecordOfAFreshInstance) {
  PluginInstance plugin;
  ASSERT_NE(plugin.get(), nullptr);
  const AEffect& e = *plugin.get();
  EXPECT_EQ(e.magic, 0x56737450);
  EXPECT_EQ(e.numPrograms, 1);
  EXPECT_EQ(e.numParams, 5);
  EXPECT_EQ(e.numInputs, 2);
  EXPECT_EQ(e.numOutputs, 2);
  EXPECT_EQ(e.flags, 0x1018);  // replacing, double replacing, mono-capable; no editor bound yet
  EXPECT_EQ(e.initialDelay, 0);
  EXPECT_EQ(e.ioRatio, 1.0f);
  EXPECT_EQ(e.uniqueID, 0x49706566);
  EXPECT_EQ(e.version, 10000);
  EXPECT_NE(e.object, nullptr);
  EXPECT_EQ(e.user, nullptr);
  EXPECT_EQ(e.resvd1, 0);
  EXPECT_EQ(e.resvd2, 0);
  EXPECT_EQ(e.realQualities, 0);
  EXPECT_EQ(e.offQualities, 0);
  EXPECT_TRUE(AllZero(e.future, sizeof e.future));
  for (const void* callback :
       {reinterpret_cast<const void*>(e.dispatcher), reinterpret_cast<const void*>(e.process),
        reinterpret_cast<const void*>(e.processReplacing),
        reinterpret_cast<const void*>(e.processDoubleReplacing),
        reinterpret_cast<const void*>(e.setParameter),
        reinterpret_cast<const void*>(e.getParameter)}) {
    EXPECT_NE(callback, nullptr);
  }
}

TEST_F(Vst2Entry, BothEntriesCreateIndependentInstances) {
  PluginInstance a(nullptr, "VSTPluginMain");
  PluginInstance b(nullptr, "main");
  ASSERT_NE(a.get(), nullptr);
  ASSERT_NE(b.get(), nullptr);
  EXPECT_NE(a.get(), b.get());
  EXPECT_NE(a->object, b->object);
  AEffect copyA = *a.get(), copyB = *b.get();
  copyA.object = copyB.object = nullptr;
  EXPECT_EQ(std::memcmp(&copyA, &copyB, sizeof(AEffect)), 0);

  a->setParameter(a.get(), 2, 0.8f);
  EXPECT_FLOAT_EQ(a->getParameter(a.get(), 2), 0.8f);
  EXPECT_FLOAT_EQ(b->getParameter(b.get(), 2), 0.5f);
}

TEST_F(Vst2Entry, ParameterCallbacks) {
  PluginInstance plugin;
  plugin.Open();
  AEffect* e = plugin.get();
  for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(e->getParameter(e, i), 0.5f) << i;
  EXPECT_EQ(e->getParameter(e, -1), 0.0f);
  EXPECT_EQ(e->getParameter(e, 5), 0.0f);

  e->setParameter(e, 5, 0.3f);
  e->setParameter(e, -1, 0.3f);
  for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(e->getParameter(e, i), 0.5f) << i;

  e->setParameter(e, 0, 0.0f);
  e->setParameter(e, 1, 1.0f);
  e->setParameter(e, 2, 1.7f);  // above the range: the maximum
  e->setParameter(e, 3, 0.25f);
  e->setParameter(e, 4, std::nanf(""));  // ignored
  EXPECT_EQ(e->getParameter(e, 0), 0.0f);
  EXPECT_EQ(e->getParameter(e, 1), 1.0f);
  EXPECT_EQ(e->getParameter(e, 2), 1.0f);
  EXPECT_FLOAT_EQ(e->getParameter(e, 3), 0.25f);
  EXPECT_FLOAT_EQ(e->getParameter(e, 4), 0.5f);

  char text[64] = {};
  plugin.Dispatch(effGetParamDisplay, 3, 0, text);
  EXPECT_STREQ(text, "25.00");
  plugin.Dispatch(effGetParamLabel, 3, 0, text);
  EXPECT_STREQ(text, "%");
  plugin.Dispatch(effGetParamName, 3, 0, text);
  EXPECT_STREQ(text, "Static");
}

TEST_F(Vst2Entry, MixZeroIsThePureDryPath) {
  PluginInstance plugin;
  plugin.Open();
  plugin.SetPercent(100, 100, 100, 100, 0);
  std::vector<double> left(4096), right(4096), outLeft, outRight;
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] = std::sin(0.01 * i) * 1.7;
    right[i] = std::cos(0.003 * i) * 0.3;
  }
  plugin.ProcessDouble(left, right, outLeft, outRight);
  EXPECT_EQ(outLeft, left);
  EXPECT_EQ(outRight, right);
}

TEST_F(Vst2Entry, ClipCurveValues) {
  // No noise, a capture on every sample, only the wet path: the output is the
  // clip curve of each input (a burst at Static 0 leaves it within rounding).
  const struct {
    double clip, input, expected;
  } cases[] = {
      {50, 0.4, 0.2999999994},
      {100, 0.2, 0.1999999998},
      {100, 1.0, 0.07692307677514791},
      {100, -1.0, -0.07692307677514791},
      {0, 0.7, 0.7},
  };
  for (const auto& c : cases) {
    PluginInstance plugin;
    plugin.Open();
    plugin.SetPercent(c.clip, 0, 0, 0, 100);
    std::vector<double> in(64, c.input), outLeft, outRight;
    plugin.ProcessDouble(in, in, outLeft, outRight);
    for (size_t i = 0; i < in.size(); ++i) {
      ASSERT_NEAR(outLeft[i], c.expected, 1e-10) << c.clip << " " << c.input << " @" << i;
      ASSERT_NEAR(outRight[i], c.expected, 1e-10) << c.clip << " " << c.input << " @" << i;
      ASSERT_NEAR(outLeft[i], ClipCurve(c.input, c.clip), 1e-15);
    }
  }
}

TEST_F(Vst2Entry, HoldCapturePattern) {
  // Every channel-sample gets its own input; the output shows which one was held.
  const struct {
    double rate;
    std::vector<int> captures;  // channel-samples counted from 1, up to 44
  } cases[] = {
      {0, {}},  // every channel-sample
      {50, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 22, 24, 26, 28, 30, 32, 34, 36, 38, 40, 41, 43}},
      {100, {1, 21, 41}},
  };
  constexpr int kFrames = 22;
  for (const auto& c : cases) {
    PluginInstance plugin;
    plugin.Open();
    plugin.SetPercent(100, c.rate, 0, 0, 100);
    std::vector<double> left(kFrames), right(kFrames), outLeft, outRight;
    std::vector<double> interleavedIn;
    for (int i = 0; i < kFrames; ++i) {
      left[i] = 0.01 * (2 * i + 1);
      right[i] = 0.01 * (2 * i + 2);
      interleavedIn.push_back(left[i]);
      interleavedIn.push_back(right[i]);
    }
    plugin.ProcessDouble(left, right, outLeft, outRight);
    int held = -1;
    size_t nextCapture = 0;
    for (int k = 1; k <= 2 * kFrames; ++k) {
      const bool captures =
          c.captures.empty() || (nextCapture < c.captures.size() && c.captures[nextCapture] == k);
      if (captures) {
        held = k;
        ++nextCapture;
      }
      const double out = (k % 2 == 1) ? outLeft[(k - 1) / 2] : outRight[(k - 1) / 2];
      ASSERT_NEAR(out, ClipCurve(interleavedIn[held - 1], 100), 1e-12)
          << "rate " << c.rate << " channel-sample " << k;
    }
  }
}

namespace {
// The noise sequence as hosts hear it, for checking what the plug-in draws.
uint32_t Draw(uint32_t& state) {
  state = state * 196314165u + 907633515u;
  return state;
}
}  // namespace

TEST_F(Vst2Entry, NoiseDrawsAndBurstsFollowTheSequence) {
  // With Fuzz 100 the first output reveals the generator's draw; from there a
  // model of the draws (two per channel-sample, three when a burst starts, one
  // inside a burst of 8) must predict every output, bursts included (Static 100
  // makes a burst pull the sample to the burst level times the fuzzed value).
  PluginInstance plugin;
  plugin.Open();
  plugin.SetPercent(50, 0, 100, 100, 100);
  constexpr int kFrames = 20000;
  std::vector<double> in(kFrames, 0.5), outLeft, outRight;
  plugin.ProcessDouble(in, in, outLeft, outRight);

  const double held = ClipCurve(0.5, 50);
  const double firstNoise = (outLeft[0] - held) / (held * 0.5);
  uint32_t state = static_cast<uint32_t>(std::llround((firstNoise + 1) / kTwoToMinus31));
  bool burst = false;
  int burstCount = 0;
  double burstLevel = 0;
  int burstsStarted = 0;
  for (int k = 0; k < 2 * kFrames; ++k) {
    const uint32_t draw = k == 0 ? state : Draw(state);
    const double noise = draw * kTwoToMinus31 - 1;
    const double f = (noise * held) * 0.5 + held;
    double expected = f;
    if (burst) {
      burstLevel *= f;
      expected = burstLevel;
      if (++burstCount >= 8) burst = false;
    } else if (Draw(state) > 0xFF7CED91u) {
      burst = true;
      burstCount = 0;
      burstLevel = Draw(state) * kTwoToMinus32;
      ++burstsStarted;
    }
    const double out = (k % 2 == 0) ? outLeft[k / 2] : outRight[k / 2];
    ASSERT_NEAR(out, expected, 1e-12) << "channel-sample " << k;
  }
  EXPECT_GT(burstsStarted, 10);  // about one in 500 checks starts a burst
}

TEST_F(Vst2Entry, AccumulatingAddsAndReplacingOverwrites) {
  PluginInstance plugin;
  plugin.Open();
  plugin.SetPercent(50, 50, 50, 50, 0);  // dry path: exact and noise-free
  constexpr int kFrames = 300;
  std::vector<float> left(kFrames), right(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    left[i] = 0.001f * i;
    right[i] = -0.002f * i;
  }
  std::vector<float> outLeft(kFrames, 0.25f), outRight(kFrames, -0.5f);
  float* inputs[] = {left.data(), right.data()};
  float* outputs[] = {outLeft.data(), outRight.data()};
  plugin->process(plugin.get(), inputs, outputs, kFrames);
  for (int i = 0; i < kFrames; ++i) {
    ASSERT_EQ(outLeft[i], left[i] + 0.25f) << i;
    ASSERT_EQ(outRight[i], right[i] + -0.5f) << i;
  }
  plugin->processReplacing(plugin.get(), inputs, outputs, kFrames);
  EXPECT_EQ(outLeft, left);
  EXPECT_EQ(outRight, right);
}

TEST_F(Vst2Entry, BlocksLongerThanAnnouncedAreProcessedWhole) {
  // A careless host announces 64 frames and then sends 1000: the output must
  // equal that of a host that announced enough.
  constexpr int kFrames = 1000;
  std::vector<float> left(kFrames), right(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    left[i] = static_cast<float>(std::sin(0.05 * i));
    right[i] = static_cast<float>(std::sin(0.031 * i));
  }
  std::vector<float> results[2];
  const VstIntPtr announced[] = {64, 1024};
  for (int run = 0; run < 2; ++run) {
    PluginInstance plugin;
    plugin.Open(48000.0f, announced[run]);
    plugin.SetPercent(70, 50, 0, 0, 80);
    std::vector<float> outLeft(kFrames, 9.0f), outRight(kFrames, 9.0f);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    plugin->processReplacing(plugin.get(), inputs, outputs, kFrames);
    results[run] = outLeft;
    results[run].insert(results[run].end(), outRight.begin(), outRight.end());
  }
  ASSERT_EQ(results[0].size(), results[1].size());
  for (size_t i = 0; i < results[0].size(); ++i) {
    ASSERT_NEAR(results[0][i], results[1][i], 1e-6) << i;
    ASSERT_NE(results[0][i], 9.0f) << i;
  }
}
