#pragma once
class LoadedPlugin;

// The effect's parameters in the plug-in's index order.
enum GrittboxParam { kParamClip, kParamRate, kParamFuzz, kParamStatic, kParamMix, kGrittboxParams };

// Lower-case names, as the command-line options spell them.
constexpr const char* kGrittboxParamNames[kGrittboxParams] = {"clip", "rate", "fuzz", "static",
                                                              "mix"};

// Every knob as a percentage, 0 to 100; the plug-in's own defaults to start with.
struct GrittboxSettings {
  double percent[kGrittboxParams] = {50.0, 50.0, 50.0, 50.0, 50.0};
};

// Sends every knob to the plug-in; hosts speak normalized values, 0 to 1.
void ApplySettings(LoadedPlugin& plugin, const GrittboxSettings& settings);
