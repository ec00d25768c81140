#pragma once

#include <array>
#include <utility>

namespace tallyflow {

// The link labels' 32 × 32 pointing hand, in pixels, hot spot at (5, 0): the
// outline clockwise from the fingertip (the raised index finger, the
// knuckles of the three folded fingers, the wrist and the thumb), white
// inside and black on the edge, and two black strokes that part the folded
// fingers.
inline constexpr int kHandHotX = 5;
inline constexpr int kHandHotY = 0;
inline constexpr std::array<std::pair<int, int>, 23> kHandOutline{{
    {4, 0},   {6, 0},   {7, 1},   {7, 10},  {8, 9},   {10, 9},  {11, 10}, {12, 10},
    {14, 10}, {15, 11}, {16, 11}, {18, 11}, {19, 12}, {19, 21}, {17, 25}, {17, 28},
    {7, 28},  {7, 25},  {1, 17},  {1, 15},  {2, 14},  {3, 14},  {3, 1},
}};
inline constexpr std::array<std::array<int, 4>, 2> kHandStrokes{{{11, 11, 11, 15}, {15, 12, 15, 16}}};

} // namespace tallyflow
