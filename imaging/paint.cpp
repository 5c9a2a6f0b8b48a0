#include <algorithm>
#include <cstdint>

#include "imaging/compositing.h"
#include "imaging/pixel_kernels.h"
#include "imaging/pixel_plane.h"

namespace {
// columns x rows pixels from (x, y), clipped to the plane.
struct FillArea {
  PIX_PixelPlane plane;
  int x = 0;
  int y = 0;
  int columns = 0;
  int rows = 0;
};

template <typename PixelOp>
void ForEachPixel(const FillArea& a, PixelOp op) {
  for (int i = 0; i < a.rows; ++i) {
    PIX_PixelWord* row = a.plane.Row(a.y + i) + a.x;
    for (int x = 0; x < a.columns; ++x) row[x] = op(row[x]);
  }
}

constexpr PIX_PixelWord Half(PIX_PixelWord p) {
  return p >> 1 & 0x7F7F7F7Fu;
}
constexpr PIX_PixelWord Quarter(PIX_PixelWord p) {
  return p >> 2 & 0x3F3F3F3Fu;
}

// Copy at weights 1, 1/2, 1/4 and 3/4 in whole-word shifts; false for others.
bool CopyFastPath(const FillArea& a, int w, PIX_PixelWord k) {
  switch (w) {
    case 256:
      ForEachPixel(a, [k](PIX_PixelWord) { return k; });
      return true;
    case 128:
      ForEachPixel(a, [k](PIX_PixelWord p) { return Half(p) + Half(k); });
      return true;
    case 64:
      ForEachPixel(a, [k](PIX_PixelWord p) { return Half(p) + Quarter(p) + Quarter(k); });
      return true;
    case 192:
      ForEachPixel(a, [k](PIX_PixelWord p) { return Quarter(p) + Half(k) + Quarter(k); });
      return true;
    default:
      return false;
  }
}

// The composite formulas with the colour as source and the weight w standing
// in for the source alpha byte.
void Blend(const FillArea& a, int modeByte, int w, PIX_PixelWord colour) {
  const int r = PIX_ByteOf(colour, PIX_BYTE_R);
  const int g = PIX_ByteOf(colour, PIX_BYTE_G);
  const int b = PIX_ByteOf(colour, PIX_BYTE_B);
  switch (modeByte) {
    case PIX_MIX_COPY: {
      if (w <= 0) return;
      const int keep = 256 - w;
      return ForEachPixel(a, [=](PIX_PixelWord p) {
        return PIX_PackBytes(PIX_MixChannel(PIX_ByteOf(p, PIX_BYTE_B), b, keep),
                             PIX_MixChannel(PIX_ByteOf(p, PIX_BYTE_G), g, keep),
                             PIX_MixChannel(PIX_ByteOf(p, PIX_BYTE_R), r, keep),
                             PIX_MixChannel(PIX_ByteOf(p, PIX_BYTE_A), w, keep));
      });
    }
    case PIX_MIX_ADD:
      return ForEachPixel(a, [=](PIX_PixelWord p) {
        return PIX_PackBytes(PIX_AddChannel(PIX_ByteOf(p, PIX_BYTE_B), b, w),
                             PIX_AddChannel(PIX_ByteOf(p, PIX_BYTE_G), g, w),
                             PIX_AddChannel(PIX_ByteOf(p, PIX_BYTE_R), r, w),
                             PIX_AddChannel(PIX_ByteOf(p, PIX_BYTE_A), w, w));
      });
    case PIX_MIX_DODGE:
      return ForEachPixel(a, [=](PIX_PixelWord p) {
        PIX_DodgePixel(&p, r, g, b, w, w);
        return p;
      });
    case PIX_MIX_MULTIPLY: {
      const int fb = PIX_MultiplyFactor(b, w), fg = PIX_MultiplyFactor(g, w),
                fr = PIX_MultiplyFactor(r, w), fa = PIX_MultiplyFactor(w, w);
      return ForEachPixel(a, [=](PIX_PixelWord p) {
        return PIX_PackBytes(PIX_MultiplyChannel(PIX_ByteOf(p, PIX_BYTE_B), fb),
                             PIX_MultiplyChannel(PIX_ByteOf(p, PIX_BYTE_G), fg),
                             PIX_MultiplyChannel(PIX_ByteOf(p, PIX_BYTE_R), fr),
                             PIX_MultiplyChannel(PIX_ByteOf(p, PIX_BYTE_A), fa));
      });
    }
    case PIX_MIX_OVERLAY:
      return ForEachPixel(a, [=](PIX_PixelWord p) {
        PIX_OverlayPixel(&p, r, g, b, w, w);
        return p;
      });
    case PIX_MIX_HSV_ADJUST: {
      // Weight 256 stores alpha 0: the alpha byte is w's low 8 bits.
      const PIX_HsvShift shift = PIX_HsvShiftOf(r, g, b, w);
      return ForEachPixel(a, [=](PIX_PixelWord p) { return PIX_HsvShifted(p, shift, w); });
    }
    default:
      return;
  }
}
}  // namespace

void PIX_PaintRect(PIX_IBitmap* dest, int x, int y, int width, int height, PIX_PixelWord colour,
                   float alpha, int mode) {
  if (dest == nullptr) return;
  if (mode & PIX_MIX_SOURCE_ALPHA) {
    alpha = alpha * static_cast<float>(PIX_AlphaOf(colour)) / 255.0f;
  }
  // 64 bits, so that no position or size, however far out, can overflow.
  int64_t left = x, top = y, columns = width, rows = height;
  if (left < 0) {
    columns += left;
    left = 0;
  }
  if (top < 0) {
    rows += top;
    top = 0;
  }
  if (alpha == 0.0f) return;
  FillArea area;
  if (!PIX_FetchPlane(dest, area.plane)) return;
  if (columns < 1 || rows < 1 || left >= area.plane.width || top >= area.plane.height) return;
  area.x = static_cast<int>(left);
  area.y = static_cast<int>(top);
  area.columns = static_cast<int>(std::min(columns, area.plane.width - left));
  area.rows = static_cast<int>(std::min(rows, area.plane.height - top));

  const int modeByte = mode & PIX_MIX_MASK;
  const int w = PIX_WeightFromAlpha(alpha);
  if (modeByte == PIX_MIX_COPY && CopyFastPath(area, w, colour)) return;
  if (w == 0 || modeByte > PIX_MIX_HSV_ADJUST) return;
  Blend(area, modeByte, w, colour);
}
