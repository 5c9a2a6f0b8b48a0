#include "core/host_kind.h"

#include <gtest/gtest.h>

#include <string>

TEST(HostKindFromName, FirstFragmentOfTheTableDecides) {
  struct Case {
    const char* name;
    int kind;
  };
  const Case cases[] = {
      {"Cubase VST", kHostCubase},
      {"REAPER", kHostReaper},
      {"Pro Tools", kHostUnknown},  // the fragment has no space
      {"ProTools", kHostProTools},
      {"Nuendo Cubase", kHostCubase},  // table order, not position in the name
      {"", kHostUnknown},
      {"Ableton Live", kHostAbletonLive},
      {"Deliverer", kHostAbletonLive},
      {"Adobe Audition", kHostAudition},
      {"SAWSTUDIO", kHostSAWStudio},
      {"Ardour", kHostArdour},
      {"Digital Performer", kHostDigitalPerformer},
      {"Standalone", kHostStandalone},
      {"\xC3\x84REAPER", kHostReaper},  // bytes outside ASCII stay as they are
  };
  for (const Case& c : cases) EXPECT_EQ(HostKindFromName(c.name), c.kind) << c.name;
  EXPECT_EQ(HostKindFromName(nullptr), kHostUnknown);
}

TEST(HostKindFromName, LongNamesAreCutAt255Bytes) {
  const std::string padding(250, 'x');
  EXPECT_EQ(HostKindFromName((padding + "reaper").c_str()), kHostUnknown);
  EXPECT_EQ(HostKindFromName((std::string(249, 'x') + "reaper").c_str()), kHostReaper);
  EXPECT_EQ(HostKindFromName(std::string(100000, 'x').c_str()), kHostUnknown);
}
