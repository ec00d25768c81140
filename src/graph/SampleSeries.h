#pragma once

#include <deque>

namespace tallyflow {

// The graph's series: oldest sample first, newest appended at the end. A
// sample that is not a finite number (NaN, infinity) counts as "not a number".
using SampleSeries = std::deque<double>;

} // namespace tallyflow
