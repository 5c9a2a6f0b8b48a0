#include "effect/grittbox.h"

#include "core/mutex_lock.h"
#include "effect/noise_generator.h"

namespace {
constexpr double kTwoToMinus31 = 1.0 / 2147483648.0;
constexpr double kTwoToMinus32 = 1.0 / 4294967296.0;
constexpr uint32_t kBurstThreshold = 0xFF7CED91u;  // about one check in 500 starts a burst

constexpr const char* kParamNames[] = {"Clip", "Rate", "Fuzz", "Static", "Mix"};

// One channel-sample through the chain. The coefficients and state are locals
// of the block loop so the compiler keeps them in registers.
struct SampleStep {
  Grittbox::Coefficients k;
  Grittbox::ProcessingState s;
  uint32_t noise;

  inline double Process(double x) {
    const double y = x * k.driveGain;
    if (s.holdCounter >= 1.0) {
      s.holdCounter = s.holdCounter - 1.0;
      s.heldValue = ((k.driveInverse * y) / ((y * y) * 0.25 + 1)) * k.clipMakeup;
    }
    if (k.holdStep > 0) s.holdCounter = s.holdCounter + k.holdStep;
    // The second draw is computed from the same state as the first, in
    // parallel: the sequence is the same, the chain of multiplies half as long.
    const uint32_t secondDraw = NoiseGenerator::PeekSecond(noise);
    const double noiseValue = NoiseGenerator::Draw(noise) * kTwoToMinus31 - 1;
    const double f = (noiseValue * s.heldValue) * k.fuzzDepth + s.heldValue;
    double out;
    if (s.burstActive) {
      s.burstCount = s.burstCount + 1;
      const double p = s.burstLevel * f;
      s.burstLevel = p;
      out = (f - p) * k.staticKeep + p;
      if (s.burstCount >= s.burstLength) s.burstActive = false;
    } else {
      noise = secondDraw;
      if (secondDraw > kBurstThreshold) {
        s.burstActive = true;
        s.burstCount = 0;
        s.burstLevel = NoiseGenerator::Draw(noise) * kTwoToMinus32;
      }
      out = f;
    }
    return k.wetGain * out + k.dryGain * x;
  }
};
}  // namespace

IPluginSetup Grittbox::Setup() {
  IPluginSetup setup;
  setup.parameterCount = kParamCount;
  setup.presetCount = 1;
  setup.channelIO = "1-1 2-2";
  setup.effectName = "Grittbox";
  setup.productName = "";
  setup.makerName = "Tarnfield Audio, LLC";
  setup.versionWord = 0x00010000;
  setup.uniqueId = 0x49706566;  // 'Ipef'
  setup.makerId = 0x41636D65;   // 'Acme'
  setup.latency = 0;
  return setup;
}

Grittbox::Grittbox(audioMasterCallback host) : IPluginVST(host, Setup()) {
  state_.holdCounter = 1.0;
  state_.burstLength = 8;
  state_.burstActive = false;
  for (int i = 0; i < kParamCount; ++i) {
    ParamAt(i)->DeclareDouble(kParamNames[i], 50.0, 0.0, 100.0, 0.01, "%", 1.0);
  }
  // Coefficients are valid even for a host that processes before it opens us.
  NotifyAllParamsChanged();
  FillEmptyPresets("-", 1);
}

void Grittbox::ParamChanged(int index) {
  MutexHolder hold(Lock());
  const IParameter* param = ParamAt(index);
  if (param == nullptr) return;
  const double v = param->value;
  Coefficients& k = coefficients_;
  switch (index) {
    case kClip: {
      const double c = v / 100;
      k.driveGain = c * 10 + 1e-8;
      k.driveInverse = 1 / k.driveGain;
      k.clipMakeup = c + 1;
      break;
    }
    case kRate: {
      const double r = v / 100;
      k.holdStep = (1 - r) * 0.95 + 0.05;
      break;
    }
    case kFuzz:
      k.fuzzDepth = v / 200;
      break;
    case kStatic:
      k.staticKeep = 1 - v / 100;
      break;
    case kMix: {
      const double m = v / 100;
      k.wetGain = m;
      k.dryGain = 1 - m;
      break;
    }
    default:
      break;
  }
}

void Grittbox::RenderDouble(double** inputs, double** outputs, int frames) {
  if (frames <= 0) return;
  const double* in0 = inputs[0];
  const double* in1 = inputs[1];
  double* out0 = outputs[0];
  double* out1 = outputs[1];
  SampleStep step{coefficients_, state_, NoiseGenerator::Take()};
  for (int i = 0; i < frames; ++i) {
    out0[i] = step.Process(in0[i]);
    out1[i] = step.Process(in1[i]);
  }
  NoiseGenerator::Put(step.noise);
  state_ = step.s;
}
