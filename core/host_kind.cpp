#include "core/host_kind.h"

#include <cstring>

namespace {
struct HostFragment {
  const char* fragment;
  IHostKind kind;
};

// Order matters: the first fragment found decides.
constexpr HostFragment kHostFragments[] = {
    {"cubase", kHostCubase},
    {"reaper", kHostReaper},
    {"nuendo", kHostNuendo},
    {"cakewalk", kHostSonar},
    {"samplitude", kHostSamplitude},
    {"fruity", kHostFL},
    {"live", kHostAbletonLive},
    {"melodyne", kHostMelodyne},
    {"vstmanlib", kHostVSTScanner},
    {"aulab", kHostAULab},
    {"garageband", kHostGarageBand},
    {"forte", kHostForte},
    {"chainer", kHostChainer},
    {"audition", kHostAudition},
    {"orion", kHostOrion},
    {"sawstudio", kHostSAWStudio},
    {"logic", kHostLogic},
    {"digital", kHostDigitalPerformer},
    {"audiomulch", kHostAudioMulch},
    {"presonus", kHostStudioOne},
    {"vst3plugintesthost", kHostVST3TestHost},
    {"protools", kHostProTools},
    {"ardour", kHostArdour},
    {"standalone", kHostStandalone},
};
}  // namespace

IHostKind HostKindFromName(const char* productName) {
  char lowered[256] = {};
  if (productName != nullptr) {
    for (size_t i = 0; i + 1 < sizeof lowered && productName[i] != 0; ++i) {
      const char c = productName[i];
      lowered[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  for (const HostFragment& entry : kHostFragments) {
    if (std::strstr(lowered, entry.fragment) != nullptr) return entry.kind;
  }
  return kHostUnknown;
}
