// Instances processing on different threads share the noise generator; run
// under ThreadSanitizer this must report no race.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "tests/loaded_plugin.h"

TEST(Concurrency, TwoInstancesProcessOnTwoThreads) {
  ASSERT_TRUE(PluginLibrary::Instance().IsOpen()) << PluginLibrary::Instance().Error();
  PluginInstance a, b;
  a.Open();
  b.Open();
  a.SetPercent(60, 60, 60, 60, 60);
  b.SetPercent(60, 60, 60, 60, 60);
  auto work = [](const PluginInstance& plugin, float* sink) {
    std::vector<float> left(512, 0.3f), right(512, -0.3f), outLeft(512), outRight(512);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    for (int block = 0; block < 400; ++block) {
      plugin->processReplacing(plugin.get(), inputs, outputs, 512);
      plugin->setParameter(plugin.get(), block % 5, (block % 100) / 100.0f);
    }
    *sink = outLeft[511];
  };
  float sinkA = 0, sinkB = 0;
  std::thread first(work, std::cref(a), &sinkA);
  std::thread second(work, std::cref(b), &sinkB);
  first.join();
  second.join();
  EXPECT_TRUE(std::isfinite(sinkA));
  EXPECT_TRUE(std::isfinite(sinkB));
}
