#pragma once
#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Audio files through libsndfile, as interleaved 32-bit float frames.

struct AudioFormat {
  int sampleRate = 0;
  int channels = 0;
  int64_t frames = 0;
};

class AudioFileCloser {
 public:
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using AudioFileHandle = std::unique_ptr<SNDFILE, AudioFileCloser>;

// Reads any format libsndfile knows, in blocks.
class AudioReader {
 public:
  struct OpenResult;
  static OpenResult Open(const std::string& path);

  const AudioFormat& Format() const { return format_; }
  // Reads up to frames frames; fewer only at the end of the file. Negative
  // on a read error, with Error() telling why.
  int64_t Read(float* interleaved, int64_t frames);
  std::string Error() const;

 private:
  AudioReader(AudioFileHandle file, const AudioFormat& format)
      : file_(std::move(file)), format_(format) {}

  AudioFileHandle file_;
  AudioFormat format_;
};

struct AudioReader::OpenResult {
  std::optional<AudioReader> reader;
  std::string error;
};

// Writes a new file; its format follows the file name's extension.
class AudioWriter {
 public:
  struct CreateResult;
  static CreateResult Create(const std::string& path, int sampleRate, int channels);

  // False on a write error, with Error() telling why.
  bool Write(const float* interleaved, int64_t frames);
  // Completes the file; the reason it could not be completed, or an empty text.
  std::string Finish();
  std::string Error() const;

 private:
  explicit AudioWriter(AudioFileHandle file) : file_(std::move(file)) {}

  AudioFileHandle file_;
};

struct AudioWriter::CreateResult {
  std::optional<AudioWriter> writer;
  std::string error;
};

// The libsndfile major and sub-format an output file name asks for: WAV with
// 32-bit float samples unless its extension names another container.
int OutputFormatFor(const std::string& path);

// Writes a whole interleaved signal; the reason it failed, or an empty text.
std::string WriteAudioFile(const std::string& path, int sampleRate, int channels,
                           const std::vector<float>& interleaved);
