#pragma once

// The blend-mode word shared by PIX_CompositeRect and PIX_PaintRect: the mode
// number in the low byte, PIX_MIX_SOURCE_ALPHA in bit 16, other bits ignored.
constexpr int PIX_MIX_MASK = 0xFF;
constexpr int PIX_MIX_COPY = 0;
constexpr int PIX_MIX_ADD = 1;
constexpr int PIX_MIX_DODGE = 2;
constexpr int PIX_MIX_MULTIPLY = 3;
constexpr int PIX_MIX_OVERLAY = 4;
constexpr int PIX_MIX_HSV_ADJUST = 5;
// Modes 0xF0..0xFF (PIX_CompositeRect only): source byte (mode & 3) goes into
// destination byte ((mode >> 2) & 3); the weight only has to be non-zero.
constexpr int PIX_MIX_CHANNEL_COPY = 0xF0;
// Weights each source pixel by its alpha (composite), or the fill by the
// colour's alpha (paint).
constexpr int PIX_MIX_SOURCE_ALPHA = 0x10000;

// Byte indices within a pixel word, for channel copies.
constexpr int PIX_BYTE_B = 0;
constexpr int PIX_BYTE_G = 1;
constexpr int PIX_BYTE_R = 2;
constexpr int PIX_BYTE_A = 3;

constexpr int PIX_MixChannelCopy(int sourceByte, int destByte) {
  return PIX_MIX_CHANNEL_COPY | (destByte & 3) << 2 | (sourceByte & 3);
}

// Weights outside 0..1 are the caller's affair, but the integer weight is held
// to -1024..1024 (and NaN to 0) so that no formula can overflow an int.
constexpr int PIX_WEIGHT_LIMIT = 1024;

// The integer weight: alpha * 256 in double precision, truncated toward zero.
inline int PIX_WeightFromAlpha(float alpha) {
  const double scaled = static_cast<double>(alpha) * 256.0;
  if (!(scaled > -PIX_WEIGHT_LIMIT)) return scaled != scaled ? 0 : -PIX_WEIGHT_LIMIT;
  if (scaled > PIX_WEIGHT_LIMIT) return PIX_WEIGHT_LIMIT;
  return static_cast<int>(scaled);
}
