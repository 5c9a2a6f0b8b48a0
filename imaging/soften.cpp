#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "imaging/compositing.h"
#include "imaging/pixel_plane.h"

namespace {
// Per-byte truncated fractions of a pixel word; a sum of them never carries
// from one byte into the next.
constexpr PIX_PixelWord Half(PIX_PixelWord p) {
  return p >> 1 & 0x7F7F7F7Fu;
}
constexpr PIX_PixelWord Quarter(PIX_PixelWord p) {
  return p >> 2 & 0x3F3F3F3Fu;
}
constexpr PIX_PixelWord Eighth(PIX_PixelWord p) {
  return p >> 3 & 0x1F1F1F1Fu;
}

// Softens one row in place: centre/2 plus the horizontal part (left and right
// eighths, or the single neighbour's quarter at either end) plus vertical(x).
// Each pixel is read before it is written, its left neighbour kept unsoftened.
template <typename Vertical>
void SoftenRow(PIX_PixelWord* row, int width, Vertical vertical) {
  PIX_PixelWord left = 0;
  PIX_PixelWord centre = row[0];
  PIX_PixelWord right = row[1];
  row[0] = Half(centre) + Quarter(right) + vertical(0);
  for (int x = 1; x + 1 < width; ++x) {
    left = centre;
    centre = right;
    right = row[x + 1];
    row[x] = Half(centre) + Eighth(left) + Eighth(right) + vertical(x);
  }
  row[width - 1] = Half(right) + Quarter(centre) + vertical(width - 1);
}

constexpr int kStackRowPixels = 1024;
}  // namespace

void PIX_SoftenRect(PIX_IBitmap* bitmap, int width, int height) {
  PIX_PixelPlane plane;
  if (!PIX_FetchPlane(bitmap, plane)) return;
  width = std::min(width, plane.width);
  height = std::min(height, plane.height);
  if (width < 2 || height < 2) return;

  // Two rows as they were before softening: the row above comes from here.
  PIX_PixelWord stackRows[2 * kStackRowPixels];
  std::unique_ptr<PIX_PixelWord[]> heapRows;
  PIX_PixelWord* saved = stackRows;
  if (width > kStackRowPixels) {
    // Without the block, rows above are read already softened.
    heapRows.reset(new (std::nothrow) PIX_PixelWord[2 * static_cast<size_t>(width)]);
    saved = heapRows.get();
  }
  const size_t rowBytes = static_cast<size_t>(width) * sizeof(PIX_PixelWord);
  for (int y = 0; y < height; ++y) {
    PIX_PixelWord* row = plane.Row(y);
    const PIX_PixelWord* above = nullptr;
    if (y > 0)
      above =
          saved != nullptr ? saved + static_cast<size_t>((y - 1) & 1) * width : plane.Row(y - 1);
    const PIX_PixelWord* below = y + 1 < height ? plane.Row(y + 1) : nullptr;
    if (saved != nullptr) std::memcpy(saved + static_cast<size_t>(y & 1) * width, row, rowBytes);
    if (above != nullptr && below != nullptr) {
      SoftenRow(row, width, [=](int x) { return Eighth(above[x]) + Eighth(below[x]); });
    } else {
      const PIX_PixelWord* neighbour = above != nullptr ? above : below;
      SoftenRow(row, width, [=](int x) { return Quarter(neighbour[x]); });
    }
  }
}
