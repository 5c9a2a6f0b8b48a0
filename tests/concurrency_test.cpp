// Instances processing on different threads share the noise generator; run
// under ThreadSanitizer this must report no race.
#include <gtest/gtest.h>

#include <atomic>
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

TEST(Concurrency, StateTrafficWhileAudioRuns) {
  // One thread plays; another automates, reads display texts and saves and
  // restores state, as a host's user-interface thread does.
  ASSERT_TRUE(PluginLibrary::Instance().IsOpen()) << PluginLibrary::Instance().Error();
  PluginInstance plugin;
  plugin.Open(44100.0f, 256);
  std::atomic<bool> done{false};
  std::thread audio([&] {
    std::vector<float> left(256, 0.2f), right(256, 0.1f), outLeft(256), outRight(256);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    while (!done.load()) plugin->processReplacing(plugin.get(), inputs, outputs, 256);
  });

  for (int round = 0; round < 200; ++round) {
    for (int i = 0; i < 5; ++i) {
      plugin->setParameter(plugin.get(), i, ((round * 7 + i * 11) % 100) / 100.0f);
    }
    char text[64];
    plugin.Dispatch(effGetParamDisplay, round % 5, 0, text);
    const std::vector<float> saved = plugin.NormalizedParams();
    const bool bank = round % 2 == 0;
    const std::vector<uint8_t> chunk = plugin.GetChunk(bank);
    ASSERT_FALSE(chunk.empty());
    plugin->setParameter(plugin.get(), round % 5, 0.01f);
    ASSERT_EQ(plugin.SetChunk(bank, chunk), 1);
    ASSERT_EQ(plugin.NormalizedParams(), saved) << "round " << round;
  }
  done = true;
  audio.join();
}
