#pragma once
#include "vst2/plugin_vst.h"

// The lo-fi distortion: a fold-back soft-clip drive, a sample-and-hold, noise,
// random crackle bursts and a dry/wet balance over five parameters.
class Grittbox : public IPluginVST {
 public:
  enum Param { kClip = 0, kRate, kFuzz, kStatic, kMix, kParamCount };

  // Any thread, under the process-wide creation lock.
  explicit Grittbox(audioMasterCallback host);

  // Any thread; takes the instance lock. Recomputes the coefficients of index.
  void ParamChanged(int index) override;
  // Audio thread, under the instance lock. Uses the first two inputs and
  // outputs; the channels share one processing state, sample by sample.
  void RenderDouble(double** inputs, double** outputs, int frames) override;

  // The coefficients and processing state, for tests and measurements.
  struct Coefficients {
    double driveGain, driveInverse, clipMakeup, holdStep, fuzzDepth, staticKeep, wetGain, dryGain;
  };
  struct ProcessingState {
    double holdCounter;
    double heldValue;
    bool burstActive;
    int32_t burstCount;
    int32_t burstLength;
    double burstLevel;
  };
  const Coefficients& Coefficient() const { return coefficients_; }
  const ProcessingState& State() const { return state_; }

  static IPluginSetup Setup();

 private:
  Coefficients coefficients_{};
  ProcessingState state_{};
};
