#include "effect/grittbox.h"

#include <gtest/gtest.h>

#include <cstring>

#include "effect/noise_generator.h"

TEST(GrittboxEffect, CoefficientsAtDefaults) {
  Grittbox effect(nullptr);
  const Grittbox::Coefficients& k = effect.Coefficient();
  EXPECT_DOUBLE_EQ(k.driveGain, 5.00000001);
  EXPECT_NEAR(k.driveInverse, 0.1999999996, 1e-12);
  EXPECT_EQ(k.clipMakeup, 1.5);
  EXPECT_DOUBLE_EQ(k.holdStep, 0.525);
  EXPECT_EQ(k.fuzzDepth, 0.25);
  EXPECT_EQ(k.staticKeep, 0.5);
  EXPECT_EQ(k.wetGain, 0.5);
  EXPECT_EQ(k.dryGain, 0.5);
}

TEST(GrittboxEffect, CoefficientsFollowTheirParameterOnly) {
  Grittbox effect(nullptr);
  const Grittbox::Coefficients before = effect.Coefficient();
  for (int i = 0; i < 5; ++i) effect.ParamAt(i)->value = 100.0;
  effect.ParamChanged(5);
  effect.ParamChanged(-1);
  EXPECT_EQ(std::memcmp(&before, &effect.Coefficient(), sizeof before), 0);

  effect.ParamChanged(Grittbox::kRate);
  EXPECT_DOUBLE_EQ(effect.Coefficient().holdStep, 0.05);
  EXPECT_EQ(effect.Coefficient().driveGain, before.driveGain);
  effect.ParamChanged(Grittbox::kMix);
  EXPECT_EQ(effect.Coefficient().wetGain, 1.0);
  EXPECT_EQ(effect.Coefficient().dryGain, 0.0);
}

TEST(GrittboxEffect, ConstructionState) {
  Grittbox effect(nullptr);
  EXPECT_EQ(effect.State().holdCounter, 1.0);
  EXPECT_EQ(effect.State().burstLength, 8);
  EXPECT_FALSE(effect.State().burstActive);
  EXPECT_STREQ(effect.PresetAt(0)->name, "-");
  EXPECT_EQ(effect.PresetAt(0)->state.Size(), 40);
  EXPECT_STREQ(effect.MakerName(), "Tarnfield Audio, LLC");
  EXPECT_STREQ(effect.ParamAt(3)->name, "Static");
  EXPECT_EQ(effect.ParamAt(4)->precision, 2);
}

TEST(NoiseGenerator, SequenceFromStateZero) {
  uint32_t state = 0;
  const uint32_t expected[] = {907633515u, 2641306770u, 4111285669u};
  const double noise[] = {-0.5773502090014517, 0.22995431069284678, 0.9144665771164};
  for (int i = 0; i < 3; ++i) {
    const uint32_t draw = NoiseGenerator::Draw(state);
    EXPECT_EQ(draw, expected[i]);
    EXPECT_NEAR(draw * (1.0 / 2147483648.0) - 1, noise[i], 1e-13);
  }
}

TEST(GrittboxEffect, ZeroFramesDrawNothingAndKeepTheState) {
  Grittbox effect(nullptr);
  NoiseGenerator::Reset(12345u);
  double sample = 0.25;
  double* buffers[] = {&sample, &sample};
  effect.RenderDouble(buffers, buffers, 0);
  effect.RenderDouble(buffers, buffers, -3);
  EXPECT_EQ(NoiseGenerator::Take(), 12345u);
  EXPECT_EQ(effect.State().holdCounter, 1.0);
  EXPECT_EQ(sample, 0.25);
}

TEST(GrittboxEffect, StereoFramesTakeTwoDrawsPerChannelSampleOutsideBursts) {
  // State 0 gives no burst in the first checks (the second draws stay below the
  // threshold), so two frames of stereo take exactly eight draws.
  Grittbox effect(nullptr);
  NoiseGenerator::Reset(0);
  double in[2] = {0.1, 0.2}, outL[2], outR[2];
  double* inputs[] = {in, in};
  double* outputs[] = {outL, outR};
  effect.RenderDouble(inputs, outputs, 2);
  uint32_t state = 0;
  for (int i = 0; i < 8; ++i) NoiseGenerator::Draw(state);
  EXPECT_EQ(NoiseGenerator::Take(), state);
  EXPECT_FALSE(effect.State().burstActive);
}

TEST(NoiseGenerator, TwoDrawsInOneStepMatchTheSequence) {
  for (uint32_t state : {0u, 1u, 907633515u, 0xFFFFFFFFu, 0x80000000u, 123456789u}) {
    uint32_t stepped = state;
    NoiseGenerator::Draw(stepped);
    NoiseGenerator::Draw(stepped);
    EXPECT_EQ(NoiseGenerator::PeekSecond(state), stepped) << state;
  }
}
