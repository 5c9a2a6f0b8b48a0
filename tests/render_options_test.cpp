// The render tool's command line: what it accepts, what it refuses, and that
// it never lets the output name the input file.
#include "tools/grittbox-render/render_options.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
using Args = std::vector<std::string>;

std::string Joined(const Args& args) {
  std::string text;
  for (const std::string& arg : args) text += "[" + arg + "]";
  return text;
}
}  // namespace

TEST(RenderOptionsParsing, AcceptsGoodCommandLines) {
  struct Case {
    Args args;
    double clip, rate, fuzz, staticLevel, mix;
    int block;
    const char* plugin;
    bool quiet;
    const char* input;
    const char* output;
  };
  const Case cases[] = {
      {{"in.wav", "out.wav"}, 50, 50, 50, 50, 50, 512, "", false, "in.wav", "out.wav"},
      {{"--clip", "80", "--rate", "0", "--fuzz", "100", "--static", "12.5", "--mix", "33", "a",
        "b"},
       80,
       0,
       100,
       12.5,
       33,
       512,
       "",
       false,
       "a",
       "b"},
      {{"--clip=0", "--mix=100", "a", "b"}, 0, 50, 50, 50, 100, 512, "", false, "a", "b"},
      {{"a", "--block", "1", "b", "--quiet"}, 50, 50, 50, 50, 50, 1, "", true, "a", "b"},
      {{"--block=8192", "--plugin", "lib/G.so", "a", "b"},
       50,
       50,
       50,
       50,
       50,
       8192,
       "lib/G.so",
       false,
       "a",
       "b"},
      {{"--clip", "10", "--clip", "20", "a", "b"}, 20, 50, 50, 50, 50, 512, "", false, "a", "b"},
      // After "--", names that look like options are files.
      {{"--", "--mix", "-x"}, 50, 50, 50, 50, 50, 512, "", false, "--mix", "-x"},
      {{"-", "out.flac"}, 50, 50, 50, 50, 50, 512, "", false, "-", "out.flac"},
  };
  for (const Case& c : cases) {
    const ParsedOptions parsed = ParseRenderOptions(c.args);
    SCOPED_TRACE(Joined(c.args));
    ASSERT_EQ(parsed.error, "");
    EXPECT_FALSE(parsed.help);
    const RenderOptions& o = parsed.options;
    EXPECT_DOUBLE_EQ(o.settings.percent[kParamClip], c.clip);
    EXPECT_DOUBLE_EQ(o.settings.percent[kParamRate], c.rate);
    EXPECT_DOUBLE_EQ(o.settings.percent[kParamFuzz], c.fuzz);
    EXPECT_DOUBLE_EQ(o.settings.percent[kParamStatic], c.staticLevel);
    EXPECT_DOUBLE_EQ(o.settings.percent[kParamMix], c.mix);
    EXPECT_EQ(o.blockFrames, c.block);
    EXPECT_EQ(o.pluginPath, c.plugin);
    EXPECT_EQ(o.quiet, c.quiet);
    EXPECT_EQ(o.input, c.input);
    EXPECT_EQ(o.output, c.output);
  }
}

TEST(RenderOptionsParsing, HelpWinsOverMissingFiles) {
  for (const Args& args : {Args{"--help"}, Args{"--clip", "5", "--help"}, Args{"a", "-h"}}) {
    const ParsedOptions parsed = ParseRenderOptions(args);
    EXPECT_TRUE(parsed.help) << Joined(args);
    EXPECT_EQ(parsed.error, "") << Joined(args);
  }
}

TEST(RenderOptionsParsing, RefusesBadCommandLines) {
  struct Case {
    Args args;
    const char* errorNames;  // the error must name what is wrong
  };
  const Case cases[] = {
      {{}, "INPUT"},
      {{"only-input.wav"}, "OUTPUT"},
      {{"a", "b", "c"}, "too many"},
      {{"--clip", "101", "a", "b"}, "--clip"},
      {{"--rate", "-0.5", "a", "b"}, "--rate"},
      {{"--fuzz", "loud", "a", "b"}, "--fuzz"},
      {{"--static", "50%", "a", "b"}, "--static"},
      {{"--mix", "", "a", "b"}, "--mix"},
      {{"--mix=nan", "a", "b"}, "--mix"},
      {{"--clip", "inf", "a", "b"}, "--clip"},
      {{"--clip", "1e999", "a", "b"}, "--clip"},
      {{"a", "b", "--mix"}, "--mix"},
      {{"--block", "0", "a", "b"}, "--block"},
      {{"--block", "8193", "a", "b"}, "--block"},
      {{"--block", "64.5", "a", "b"}, "--block"},
      {{"--block", "99999999999999999999", "a", "b"}, "--block"},
      {{"--block=", "a", "b"}, "--block"},
      {{"--plugin=", "a", "b"}, "--plugin"},
      {{"--volume", "3", "a", "b"}, "--volume"},
      {{"-x", "a", "b"}, "-x"},
      {{"--quiet=yes", "a", "b"}, "--quiet"},
  };
  for (const Case& c : cases) {
    const ParsedOptions parsed = ParseRenderOptions(c.args);
    EXPECT_NE(parsed.error.find(c.errorNames), std::string::npos)
        << Joined(c.args) << " gave: '" << parsed.error << "'";
    EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "one line: " << parsed.error;
  }
}

class RenderPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/grittbox-render-paths-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    input_ = dir_ + "/in.wav";
    std::FILE* file = std::fopen(input_.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not really audio; the paths are what count", file);
    std::fclose(file);
  }
  void TearDown() override {
    for (const char* name : {"in.wav", "other.wav", "symlink.wav", "hardlink.wav"}) {
      unlink((dir_ + "/" + name).c_str());
    }
    rmdir((dir_ + "/folder").c_str());
    rmdir(dir_.c_str());
  }
  std::string Check(const std::string& input, const std::string& output) const {
    RenderOptions options;
    options.input = input;
    options.output = output;
    return CheckRenderPaths(options);
  }

  std::string dir_;
  std::string input_;
};

TEST_F(RenderPaths, OutputNeverNamesTheInput) {
  ASSERT_EQ(symlink(input_.c_str(), (dir_ + "/symlink.wav").c_str()), 0);
  ASSERT_EQ(link(input_.c_str(), (dir_ + "/hardlink.wav").c_str()), 0);
  const std::string sameFile[] = {
      input_,
      dir_ + "/./in.wav",
      dir_ + "//in.wav",
      dir_ + "/folder/../in.wav",
      dir_ + "/symlink.wav",
      dir_ + "/hardlink.wav",
  };
  ASSERT_EQ(mkdir((dir_ + "/folder").c_str(), 0700), 0);
  for (const std::string& output : sameFile) {
    EXPECT_NE(Check(input_, output).find("is the INPUT"), std::string::npos) << output;
  }
  // The same holds when the input is the one reached through a link.
  EXPECT_NE(Check(dir_ + "/symlink.wav", input_).find("is the INPUT"), std::string::npos);
}

TEST_F(RenderPaths, OtherFilesAndFolders) {
  std::FILE* other = std::fopen((dir_ + "/other.wav").c_str(), "wb");
  ASSERT_NE(other, nullptr);
  std::fclose(other);
  ASSERT_EQ(mkdir((dir_ + "/folder").c_str(), 0700), 0);
  struct Case {
    std::string input, output;
    const char* error;  // a fragment of the error; empty when the pair is fine
  };
  const Case cases[] = {
      {input_, dir_ + "/new.wav", ""},
      {input_, dir_ + "/other.wav", ""},  // an existing other file may be replaced
      {dir_ + "/missing.wav", dir_ + "/new.wav", "missing.wav"},
      {dir_ + "/folder", dir_ + "/new.wav", "not a file"},
      {input_, dir_ + "/folder", "is a folder"},
      {input_, dir_ + "/in.wav/x.wav", "cannot write"},  // a file used as a folder
      {input_, dir_ + "/no-such-folder/x.wav", "no folder"},
      {input_, dir_ + "/folder/new.wav", ""},
  };
  for (const Case& c : cases) {
    const std::string error = Check(c.input, c.output);
    if (c.error[0] == 0) {
      EXPECT_EQ(error, "") << c.input << " -> " << c.output;
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos)
          << c.input << " -> " << c.output << " gave: '" << error << "'";
    }
  }
}
