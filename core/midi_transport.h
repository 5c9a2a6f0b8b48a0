#pragma once
#include <cstdint>

// One three-byte MIDI message.
struct IMidiShortMessage {
  int32_t frameOffset = 0;  // within the current block
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

// One system-exclusive message; the bytes are valid for the call only.
struct ISysExBlock {
  int32_t frameOffset = 0;
  int32_t size = 0;
  const uint8_t* data = nullptr;
};

// The host's transport state. The caller sets the defaults; a query overwrites
// only what the host reports as valid.
struct ITransportInfo {
  double beatsPerMinute = 120.0;
  double samplePosition = 0.0;
  double beatPosition = 0.0;
  double barStartBeat = 0.0;
  double loopStartBeat = 0.0;
  double loopEndBeat = 0.0;
  int32_t meterNumerator = 4;
  int32_t meterDenominator = 4;
  bool isPlaying = false;
  bool isLooping = false;
};
