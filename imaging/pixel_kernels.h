#pragma once
// Per-pixel arithmetic shared by compositing, fills and glyph painting. All
// integer, 8 bits per channel; "/" truncates toward zero. Channel arguments
// are bytes 0..255 and weights lie within +-PIX_WEIGHT_LIMIT.
#include <cstdint>

#include "imaging/bitmap.h"
#include "imaging/blend_mode.h"
#include "imaging/hsv.h"

inline int PIX_ClampByte(int x) {
  return x < 0 ? 0 : x > 255 ? 255 : x;
}
inline int PIX_ByteOf(PIX_PixelWord p, int index) {
  return static_cast<int>(p >> (8 * index) & 0xFF);
}
inline int PIX_AlphaOf(PIX_PixelWord p) {
  return static_cast<int>(p >> 24);
}
// Each channel keeps its low 8 bits.
inline PIX_PixelWord PIX_PackBytes(int b, int g, int r, int a) {
  return static_cast<PIX_PixelWord>(b & 0xFF) | static_cast<PIX_PixelWord>(g & 0xFF) << 8 |
         static_cast<PIX_PixelWord>(r & 0xFF) << 16 | static_cast<PIX_PixelWord>(a & 0xFF) << 24;
}

inline void PIX_StorePixelClamped(PIX_PixelWord* p, int r, int g, int b, int a) {
  *p = PIX_PackBytes(PIX_ClampByte(b), PIX_ClampByte(g), PIX_ClampByte(r), PIX_ClampByte(a));
}

// Linear blend that keeps keep/256 of the destination: s + (d - s) * keep / 256.
inline int PIX_MixChannel(int d, int s, int keep) {
  return s + (d - s) * keep / 256;
}
// Saturating add of s at weight w.
inline int PIX_AddChannel(int d, int s, int w) {
  return PIX_ClampByte(d + s * w / 256);
}
// Colour dodge, unclamped: d / (1 - s * w / 65536).
inline int PIX_DodgeChannel(int d, int s, int w) {
  const int den = 256 - s * w / 256;
  return den > 1 ? d * 256 / den : d * 256;
}
// Multiply by a factor in 1/65536 units; s * w + (256 - w) * 256 for a source
// byte s at weight w.
inline int PIX_MultiplyFactor(int s, int w) {
  return s * w + (256 - w) * 256;
}
inline int PIX_MultiplyChannel(int d, int factor) {
  return d * factor >> 16 & 0xFF;
}
// Overlay, unclamped, with t = s * w + (256 - w) * 128; t = 32768 (a source
// byte of 128 at full weight) leaves d as it is.
inline int PIX_OverlayTerm(int s, int w) {
  return s * w + (256 - w) * 128;
}
inline int PIX_OverlayChannel(int d, int t) {
  return ((32768 - t) * d / 256 + t) * d >> 15;
}

inline void PIX_DodgePixel(PIX_PixelWord* p, int r, int g, int b, int a, int weight) {
  const PIX_PixelWord d = *p;
  PIX_StorePixelClamped(p, PIX_DodgeChannel(PIX_ByteOf(d, PIX_BYTE_R), r, weight),
                        PIX_DodgeChannel(PIX_ByteOf(d, PIX_BYTE_G), g, weight),
                        PIX_DodgeChannel(PIX_ByteOf(d, PIX_BYTE_B), b, weight),
                        PIX_DodgeChannel(PIX_ByteOf(d, PIX_BYTE_A), a, weight));
}

inline void PIX_OverlayPixel(PIX_PixelWord* p, int r, int g, int b, int a, int weight) {
  const PIX_PixelWord d = *p;
  PIX_StorePixelClamped(p,
                        PIX_OverlayChannel(PIX_ByteOf(d, PIX_BYTE_R), PIX_OverlayTerm(r, weight)),
                        PIX_OverlayChannel(PIX_ByteOf(d, PIX_BYTE_G), PIX_OverlayTerm(g, weight)),
                        PIX_OverlayChannel(PIX_ByteOf(d, PIX_BYTE_B), PIX_OverlayTerm(b, weight)),
                        PIX_OverlayChannel(PIX_ByteOf(d, PIX_BYTE_A), PIX_OverlayTerm(a, weight)));
}

// The hue, saturation and value shifts of an HSV adjustment by colour (r, g,
// b) at a weight; (128, 128, 128) shifts nothing, r spans -192..+190 of hue.
struct PIX_HsvShift {
  int hue;
  int saturation;
  int value;
};
inline PIX_HsvShift PIX_HsvShiftOf(int r, int g, int b, int weight) {
  return {(r + r / 2 - 192) * weight / 256, (g - 128) * weight / 128, (b - 128) * weight / 128};
}
// The pixel's colour shifted in HSV, with the given alpha byte.
inline PIX_PixelWord PIX_HsvShifted(PIX_PixelWord d, const PIX_HsvShift& shift, int alpha) {
  int h, s, v;
  PIX_HsvFromRgb(PIX_ByteOf(d, PIX_BYTE_R), PIX_ByteOf(d, PIX_BYTE_G), PIX_ByteOf(d, PIX_BYTE_B), h,
                 s, v);
  h += shift.hue;
  if (h < 0) {
    h += PIX_HUE_RANGE;
  } else if (h >= PIX_HUE_RANGE) {
    h -= PIX_HUE_RANGE;
  }
  return PIX_PixelFromHsv(h, PIX_ClampByte(s + shift.saturation), PIX_ClampByte(v + shift.value),
                          alpha);
}

inline void PIX_HsvAdjustPixel(PIX_PixelWord* p, int r, int g, int b, int a, int weight) {
  *p = PIX_HsvShifted(*p, PIX_HsvShiftOf(r, g, b, weight), a);
}

// The weight of one source pixel under PIX_MIX_SOURCE_ALPHA: (s_A + 1) * w / 256.
inline int PIX_SourceAlphaWeight(int sourceAlpha, int w) {
  return (sourceAlpha + 1) * w / 256;
}

// Source-alpha copy at full weight: alpha 0 leaves d, 255 replaces it;
// otherwise d keeps (255 - s_A) / 256 of B, G, R and gains s_A of alpha.
inline PIX_PixelWord PIX_SourceAlphaOver(PIX_PixelWord d, PIX_PixelWord s) {
  const int sa = PIX_AlphaOf(s);
  if (sa == 0) return d;
  const int keep = 255 - sa;
  const int da = PIX_AlphaOf(d) + sa;
  return PIX_PackBytes(PIX_MixChannel(PIX_ByteOf(d, PIX_BYTE_B), PIX_ByteOf(s, PIX_BYTE_B), keep),
                       PIX_MixChannel(PIX_ByteOf(d, PIX_BYTE_G), PIX_ByteOf(s, PIX_BYTE_G), keep),
                       PIX_MixChannel(PIX_ByteOf(d, PIX_BYTE_R), PIX_ByteOf(s, PIX_BYTE_R), keep),
                       da < 255 ? da : 255);
}

// Source-alpha copy at any other weight w: a = (s_A + 1) * w / 256 of s over d.
inline PIX_PixelWord PIX_SourceAlphaMix(PIX_PixelWord d, PIX_PixelWord s, int w) {
  const int sa = PIX_AlphaOf(s);
  if (sa == 0) return d;
  const int a = PIX_SourceAlphaWeight(sa, w);
  const int keep = 256 - a;
  const int da = PIX_AlphaOf(d) + a;
  return PIX_PackBytes(PIX_MixChannel(PIX_ByteOf(d, PIX_BYTE_B), PIX_ByteOf(s, PIX_BYTE_B), keep),
                       PIX_MixChannel(PIX_ByteOf(d, PIX_BYTE_G), PIX_ByteOf(s, PIX_BYTE_G), keep),
                       PIX_MixChannel(PIX_ByteOf(d, PIX_BYTE_R), PIX_ByteOf(s, PIX_BYTE_R), keep),
                       da < 255 ? da : 255);
}
