#include "imaging/compositing.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "imaging/alpha_copy_rows.h"
#include "imaging/pixel_kernels.h"
#include "imaging/pixel_plane.h"

namespace {
// columns x rows pixels from (sx, sy) of the source onto (dx, dy) of the
// destination, in image coordinates, already clipped to both bitmaps.
struct CompositeArea {
  PIX_PixelPlane dest;
  PIX_PixelPlane src;
  int dx = 0;
  int dy = 0;
  int sx = 0;
  int sy = 0;
  int columns = 0;
  int rows = 0;
};

// Clips in 64 bits so that no coordinate, however far out, can overflow.
bool ClipArea(PIX_IBitmap* dest, PIX_IBitmap* src, int dx, int dy, const IBounds* srcRect,
              CompositeArea& area) {
  if (!PIX_FetchPlane(dest, area.dest) || !PIX_FetchPlane(src, area.src)) return false;
  int64_t sx = 0, sy = 0, right = area.src.width, bottom = area.src.height;
  int64_t x = dx, y = dy;
  if (srcRect != nullptr) {
    sx = srcRect->left;
    sy = srcRect->top;
    right = std::min<int64_t>(srcRect->right, area.src.width);
    bottom = std::min<int64_t>(srcRect->bottom, area.src.height);
    if (sx < 0) {
      x -= sx;
      sx = 0;
    }
    if (sy < 0) {
      y -= sy;
      sy = 0;
    }
  }
  if (x < 0) {
    sx -= x;
    x = 0;
  }
  if (y < 0) {
    sy -= y;
    y = 0;
  }
  if (right <= sx || bottom <= sy || x >= area.dest.width || y >= area.dest.height) return false;
  right = std::min(right, sx + area.dest.width - x);
  bottom = std::min(bottom, sy + area.dest.height - y);
  if (right <= sx || bottom <= sy) return false;
  area.sx = static_cast<int>(sx);
  area.sy = static_cast<int>(sy);
  area.dx = static_cast<int>(x);
  area.dy = static_cast<int>(y);
  area.columns = static_cast<int>(right - sx);
  area.rows = static_cast<int>(bottom - sy);
  return true;
}

// One loop per mode: the row operation is inlined into it.
template <typename RowOp>
void ForEachRow(const CompositeArea& a, RowOp op) {
  for (int i = 0; i < a.rows; ++i) {
    op(a.dest.Row(a.dy + i) + a.dx, a.src.Row(a.sy + i) + a.sx, a.columns);
  }
}

template <typename PixelOp>
void ForEachPixel(const CompositeArea& a, PixelOp op) {
  ForEachRow(a, [op](PIX_PixelWord* d, const PIX_PixelWord* s, int count) {
    for (int x = 0; x < count; ++x) d[x] = op(d[x], s[x]);
  });
}

// f(destination byte, source byte) for each of the four bytes.
template <typename ChannelOp>
PIX_PixelWord EachByte(PIX_PixelWord d, PIX_PixelWord s, ChannelOp f) {
  return PIX_PackBytes(f(PIX_ByteOf(d, 0), PIX_ByteOf(s, 0)), f(PIX_ByteOf(d, 1), PIX_ByteOf(s, 1)),
                       f(PIX_ByteOf(d, 2), PIX_ByteOf(s, 2)),
                       f(PIX_ByteOf(d, 3), PIX_ByteOf(s, 3)));
}

void CopyRows(const CompositeArea& a) {
  ForEachRow(a, [](PIX_PixelWord* d, const PIX_PixelWord* s, int count) {
    std::memmove(d, s, static_cast<size_t>(count) * sizeof(PIX_PixelWord));
  });
}

void ChannelCopy(const CompositeArea& a, int modeByte) {
  const int from = 8 * (modeByte & 3);
  const int to = 8 * (modeByte >> 2 & 3);
  const PIX_PixelWord kept = ~(PIX_PixelWord{0xFF} << to);
  ForEachPixel(
      a, [=](PIX_PixelWord d, PIX_PixelWord s) { return (d & kept) | (s >> from & 0xFF) << to; });
}

void Copy(const CompositeArea& a, int w) {
  if (w <= 0) return;
  if (w == 256) return CopyRows(a);
  const int keep = 256 - w;
  ForEachPixel(a, [keep](PIX_PixelWord d, PIX_PixelWord s) {
    return EachByte(d, s, [keep](int dc, int sc) { return PIX_MixChannel(dc, sc, keep); });
  });
}

void CopySourceAlpha(const CompositeArea& a, int w) {
  if (w == 256) {
    ForEachRow(a, PIX_SourceAlphaOverRow);
  } else {
    ForEachRow(a, [w](PIX_PixelWord* d, const PIX_PixelWord* s, int count) {
      PIX_SourceAlphaMixRow(d, s, count, w);
    });
  }
}

void Add(const CompositeArea& a, int w) {
  ForEachPixel(a, [w](PIX_PixelWord d, PIX_PixelWord s) {
    return EachByte(d, s, [w](int dc, int sc) { return PIX_AddChannel(dc, sc, w); });
  });
}

void AddSourceAlpha(const CompositeArea& a, int w) {
  ForEachPixel(a, [w](PIX_PixelWord d, PIX_PixelWord s) {
    const int sa = PIX_AlphaOf(s);
    if (sa == 0) return d;
    const int weight = PIX_SourceAlphaWeight(sa, w);
    return EachByte(d, s, [weight](int dc, int sc) { return PIX_AddChannel(dc, sc, weight); });
  });
}

void Multiply(const CompositeArea& a, int w) {
  ForEachPixel(a, [w](PIX_PixelWord d, PIX_PixelWord s) {
    return EachByte(
        d, s, [w](int dc, int sc) { return PIX_MultiplyChannel(dc, PIX_MultiplyFactor(sc, w)); });
  });
}

void MultiplySourceAlpha(const CompositeArea& a, int w) {
  ForEachPixel(a, [w](PIX_PixelWord d, PIX_PixelWord s) {
    const int sa = PIX_AlphaOf(s);
    if (sa == 0) return d;
    const int weight = PIX_SourceAlphaWeight(sa, w);
    return EachByte(d, s, [weight](int dc, int sc) {
      return PIX_MultiplyChannel(dc, PIX_MultiplyFactor(sc, weight));
    });
  });
}

// Dodge, overlay and HSV adjust take the source as a colour at a weight: w
// itself, or (s_A + 1) * w / 256 under source alpha, with no skip at s_A = 0.
template <void (*Kernel)(PIX_PixelWord*, int, int, int, int, int), bool kSourceAlpha>
void ColourKernel(const CompositeArea& a, int w) {
  ForEachPixel(a, [w](PIX_PixelWord d, PIX_PixelWord s) {
    const int sa = PIX_AlphaOf(s);
    const int weight = kSourceAlpha ? PIX_SourceAlphaWeight(sa, w) : w;
    Kernel(&d, PIX_ByteOf(s, PIX_BYTE_R), PIX_ByteOf(s, PIX_BYTE_G), PIX_ByteOf(s, PIX_BYTE_B), sa,
           weight);
    return d;
  });
}
}  // namespace

void PIX_CompositeRect(PIX_IBitmap* dest, PIX_IBitmap* src, int dx, int dy, const IBounds* srcRect,
                       float alpha, int mode) {
  if (dest == nullptr || src == nullptr || alpha == 0.0f) return;
  CompositeArea area;
  if (!ClipArea(dest, src, dx, dy, srcRect, area)) return;

  const int modeByte = mode & PIX_MIX_MASK;
  if (modeByte >= PIX_MIX_CHANNEL_COPY) return ChannelCopy(area, modeByte);
  const int kind = mode & (PIX_MIX_SOURCE_ALPHA | PIX_MIX_MASK);
  if (kind == PIX_MIX_COPY) {
    if (alpha == 1.0f) return CopyRows(area);
    if (alpha == 0.5f) {
      return ForEachPixel(area, [](PIX_PixelWord d, PIX_PixelWord s) {
        return (s >> 1 & 0x7F7F7F7Fu) + (d >> 1 & 0x7F7F7F7Fu);
      });
    }
  }
  const int w = PIX_WeightFromAlpha(alpha);
  if (w == 0) return;
  switch (kind) {
    case PIX_MIX_COPY:
      return Copy(area, w);
    case PIX_MIX_COPY | PIX_MIX_SOURCE_ALPHA:
      return CopySourceAlpha(area, w);
    case PIX_MIX_ADD:
      return Add(area, w);
    case PIX_MIX_ADD | PIX_MIX_SOURCE_ALPHA:
      return AddSourceAlpha(area, w);
    case PIX_MIX_DODGE:
      return ColourKernel<PIX_DodgePixel, false>(area, w);
    case PIX_MIX_DODGE | PIX_MIX_SOURCE_ALPHA:
      return ColourKernel<PIX_DodgePixel, true>(area, w);
    case PIX_MIX_MULTIPLY:
      return Multiply(area, w);
    case PIX_MIX_MULTIPLY | PIX_MIX_SOURCE_ALPHA:
      return MultiplySourceAlpha(area, w);
    case PIX_MIX_OVERLAY:
      return ColourKernel<PIX_OverlayPixel, false>(area, w);
    case PIX_MIX_OVERLAY | PIX_MIX_SOURCE_ALPHA:
      return ColourKernel<PIX_OverlayPixel, true>(area, w);
    case PIX_MIX_HSV_ADJUST:
      return ColourKernel<PIX_HsvAdjustPixel, false>(area, w);
    case PIX_MIX_HSV_ADJUST | PIX_MIX_SOURCE_ALPHA:
      return ColourKernel<PIX_HsvAdjustPixel, true>(area, w);
    default:
      return;  // modes 6..0xEF draw nothing
  }
}
