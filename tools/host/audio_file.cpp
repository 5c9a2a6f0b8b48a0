#include "tools/host/audio_file.h"

#include <strings.h>

namespace {
struct ExtensionFormat {
  const char* extension;
  int format;
};

// Float where the container holds it, so nothing the plug-in makes is clipped.
constexpr ExtensionFormat kExtensionFormats[] = {
    {"wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
    {"w64", SF_FORMAT_W64 | SF_FORMAT_FLOAT},
    {"aif", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
    {"aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
    {"au", SF_FORMAT_AU | SF_FORMAT_FLOAT},
    {"caf", SF_FORMAT_CAF | SF_FORMAT_FLOAT},
    {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
    {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
    {"oga", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
    {"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
    {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
};

std::string SndfileError(SNDFILE* file) {
  return sf_strerror(file);
}
}  // namespace

AudioReader::OpenResult AudioReader::Open(const std::string& path) {
  SF_INFO info{};
  AudioFileHandle file(sf_open(path.c_str(), SFM_READ, &info));
  if (file == nullptr) return {std::nullopt, "cannot read " + path + ": " + SndfileError(nullptr)};
  AudioFormat format;
  format.sampleRate = info.samplerate;
  format.channels = info.channels;
  format.frames = info.frames;
  return {AudioReader(std::move(file), format), std::string()};
}

int64_t AudioReader::Read(float* interleaved, int64_t frames) {
  const sf_count_t got = sf_readf_float(file_.get(), interleaved, frames);
  if (got < frames && sf_error(file_.get()) != SF_ERR_NO_ERROR) return -1;
  return got;
}

std::string AudioReader::Error() const {
  return SndfileError(file_.get());
}

int OutputFormatFor(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    const std::string extension = path.substr(dot + 1);
    for (const ExtensionFormat& entry : kExtensionFormats) {
      if (strcasecmp(extension.c_str(), entry.extension) == 0) return entry.format;
    }
  }
  return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
}

AudioWriter::CreateResult AudioWriter::Create(const std::string& path, int sampleRate,
                                              int channels) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = OutputFormatFor(path);
  if (!sf_format_check(&info)) {
    return {std::nullopt, "cannot write " + path + ": this audio format does not take " +
                              std::to_string(channels) + " channels at " +
                              std::to_string(sampleRate) + " Hz"};
  }
  AudioFileHandle file(sf_open(path.c_str(), SFM_WRITE, &info));
  if (file == nullptr) return {std::nullopt, "cannot write " + path + ": " + SndfileError(nullptr)};
  // Integer formats would wrap samples beyond full scale; clip them instead.
  sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return {AudioWriter(std::move(file)), std::string()};
}

bool AudioWriter::Write(const float* interleaved, int64_t frames) {
  return sf_writef_float(file_.get(), interleaved, frames) == frames;
}

std::string AudioWriter::Error() const {
  return SndfileError(file_.get());
}

std::string AudioWriter::Finish() {
  if (file_ == nullptr) return std::string();
  const int status = sf_close(file_.release());
  return status == 0 ? std::string() : sf_error_number(status);
}

std::string WriteAudioFile(const std::string& path, int sampleRate, int channels,
                           const std::vector<float>& interleaved) {
  AudioWriter::CreateResult created = AudioWriter::Create(path, sampleRate, channels);
  if (!created.writer) return created.error;
  const auto frames = static_cast<int64_t>(interleaved.size() / channels);
  if (!created.writer->Write(interleaved.data(), frames)) {
    return "cannot write " + path + ": " + created.writer->Error();
  }
  const std::string closing = created.writer->Finish();
  return closing.empty() ? closing : "cannot complete " + path + ": " + closing;
}
