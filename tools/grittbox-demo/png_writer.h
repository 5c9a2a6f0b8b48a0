#pragma once
#include <string>

#include "tools/grittbox-demo/waveform_image.h"

// Writes an RGB PNG file; the reason it failed, or an empty text.
std::string WritePng(const std::string& path, const RgbImage& image);
