#pragma once
#include <cstdint>

// Host applications told apart by their product names; kHostUnknown for one
// the table does not name, kHostNotIdentified before the host was asked.
enum IHostKind : int32_t {
  kHostNotIdentified = -1,
  kHostUnknown = 0,
  kHostReaper = 1,
  kHostProTools = 2,
  kHostCubase = 3,
  kHostNuendo = 4,
  kHostSonar = 5,
  kHostFL = 7,
  kHostSamplitude = 8,
  kHostAbletonLive = 9,
  kHostMelodyne = 12,
  kHostVSTScanner = 13,
  kHostAULab = 14,
  kHostForte = 15,
  kHostChainer = 16,
  kHostAudition = 17,
  kHostOrion = 18,
  kHostSAWStudio = 20,
  kHostLogic = 21,
  kHostGarageBand = 22,
  kHostDigitalPerformer = 23,
  kHostStandalone = 24,
  kHostAudioMulch = 25,
  kHostStudioOne = 26,
  kHostVST3TestHost = 27,
  kHostArdour = 28,
};

// The host kind of the first fragment of the known names found in the product
// name (compared in lower case). Names longer than 255 bytes are cut.
IHostKind HostKindFromName(const char* productName);
