#pragma once

#include "graph/DrawingSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tallyflow {

// (std::min) and (std::max) in parentheses: <windows.h> may define macros of
// those names.
//
// How every drawing surface turns the graph's float coordinates into pixels,
// so that each toolkit's surface puts exactly the same pixels.
//
// A coordinate in pixels names the pixel column (row) it rounds to, halves
// away from zero, so x = 18.95 draws in column 19 and a line at x = W (the
// inner width) lies one past the last column. In twip mode coordinates are
// divided by 15 first (15 twips per pixel). A coordinate beyond a million
// pixels, or not finite, is held a million pixels out: far outside, clipped.
inline int ToPixelCoordinate(float v, ScaleMode mode) {
  const float pixels = mode == ScaleMode::Pixels ? v : v / static_cast<float>(kTwipsPerPixel);
  if (!std::isfinite(pixels) || std::fabs(pixels) > 1e6f) {
    return pixels < 0 ? -1'000'000 : 1'000'000;
  }
  return static_cast<int>(std::lround(pixels));
}

// Calls span(y, left, right) for each run of pixels a one-pixel line from
// (x1, y1) to (x2, y2), both ends included, puts into a width × height image;
// left <= right, clipped to the image. Along an axis a line is one run a row;
// a slanted line takes one pixel per step along its longer axis, the one
// nearest the exact line (a tie goes away from the start). Only the steps
// inside the image are visited, so a line from far outside costs no more
// than one across it. Coordinates lie within ±1e6 (ToPixelCoordinate).
template <typename Span>
void VisitPixelLine(int x1, int y1, int x2, int y2, int width, int height, Span &&span) {
  if (x1 == x2 || y1 == y2) {
    const int left = (std::max)((std::min)(x1, x2), 0);
    const int right = (std::min)((std::max)(x1, x2), width - 1);
    const int top = (std::max)((std::min)(y1, y2), 0);
    const int bottom = (std::min)((std::max)(y1, y2), height - 1);
    if (left > right) {
      return;
    }
    for (int y = top; y <= bottom; ++y) {
      span(y, left, right);
    }
    return;
  }

  const long long dx = static_cast<long long>(x2) - x1;
  const long long dy = static_cast<long long>(y2) - y1;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const long long major = std::llabs(xMajor ? dx : dy); // > 0: not along an axis
  const long long minor = std::llabs(xMajor ? dy : dx);
  const long long majorSign = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const long long minorSign = (xMajor ? dy : dx) > 0 ? 1 : -1;
  const long long majorStart = xMajor ? x1 : y1;
  const long long minorStart = xMajor ? y1 : x1;
  const long long majorLimit = xMajor ? width : height;
  const long long minorLimit = xMajor ? height : width;
  // Steps i in [0, major] whose major coordinate lies inside the image.
  const long long first = (std::max)(0LL, majorSign > 0 ? -majorStart : majorStart - (majorLimit - 1));
  const long long last = (std::min)(major, majorSign > 0 ? majorLimit - 1 - majorStart : majorStart);
  for (long long i = first; i <= last; ++i) {
    // Coordinates are within ±1e6, so 2·i·minor stays far inside 64 bits.
    const long long m = minorStart + minorSign * ((2 * i * minor + major) / (2 * major));
    if (m < 0 || m >= minorLimit) {
      continue;
    }
    const auto M = static_cast<int>(majorStart + majorSign * i);
    const auto x = static_cast<int>(xMajor ? M : m);
    span(static_cast<int>(xMajor ? m : M), x, x);
  }
}

} // namespace tallyflow
