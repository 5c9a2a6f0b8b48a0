#pragma once
#include <algorithm>

// An integer rectangle in editor pixels; right and bottom lie outside it. All
// four fields 0 is the empty rectangle.
struct IBounds {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }

  // The smallest rectangle holding both; an empty side gives the other.
  IBounds Union(const IBounds& other) const {
    if (Empty()) return other;
    if (other.Empty()) return *this;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  // Touching edges count: right == other.left overlaps.
  bool Overlaps(const IBounds& other) const {
    return !Empty() && !other.Empty() && right >= other.left && left < other.right &&
           bottom >= other.top && top < other.bottom;
  }
  IBounds Intersection(const IBounds& other) const {
    if (!Overlaps(other)) return {};
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }
  bool Contains(int x, int y) const {
    return !Empty() && left <= x && x < right && top <= y && y < bottom;
  }
  bool operator==(const IBounds& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};
