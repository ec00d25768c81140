#include "graph/clsLineGraph.h"

#include <cmath>
#include <limits>
#include <optional>

namespace tallyflow {
namespace {

// The graph's small integers are 16-bit; an overflow fails the step.
std::optional<std::int16_t> Checked16(long value) {
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(value);
}

constexpr int kVisibleSamples = 100;
constexpr int kGridColumns = 20;
constexpr int kGridRows = 10;

} // namespace

void clsLineGraph::Draw() {
  if (m_PictureBox != nullptr) {
    DrawSteps(*m_PictureBox);
  }
}

// Each step returns false on failure, which ends the drawing where it stands.
bool clsLineGraph::DrawSteps(DrawingSurface &s) {
  if (!s.AutoRedraw() && !s.AutoRedraw(true)) {
    return false;
  }
  if (!s.Cls()) {
    return false;
  }
  const std::int16_t b = s.BorderStyle();
  if (s.Scale() != ScaleMode::Pixels && !s.Scale(ScaleMode::Pixels)) {
    return false;
  }
  if (s.BackColor() != m_PicBackground && !s.BackColor(m_PicBackground)) {
    return false;
  }

  const std::int16_t B = m_BorderSize;
  const auto twoB = Checked16(2L * B);
  if (!twoB) {
    return false;
  }
  const float W = s.ScaleWidth();
  const float H = s.ScaleHeight();
  const float Wi = W - static_cast<float>(*twoB); // W', pixels
  const float Hi = H - static_cast<float>(*twoB); // H', pixels

  // Frame: B + 1 nested rectangles at insets 0..B.
  if (B > 0) {
    for (long i = 0; i <= B; ++i) {
      const auto ib = Checked16(i + b);
      if (!Checked16(i) || !ib) {
        return false;
      }
      const auto fi = static_cast<float>(i);
      if (!s.Rectangle(fi, fi, W - static_cast<float>(*ib), H - static_cast<float>(*ib), m_BorderColor)) {
        return false;
      }
    }
  }

  // Grid: rectangles sharing the top-left corner (B, B); their right edges are
  // the vertical lines, their bottom edges the horizontal ones.
  if (m_GridVisible) {
    const auto fB = static_cast<float>(B);
    for (int i = 1; i <= kGridColumns; ++i) {
      const auto x = static_cast<float>(static_cast<double>(Wi) / kGridColumns * i);
      if (!s.Rectangle(fB, fB, x, Hi, m_GridColor)) {
        return false;
      }
    }
    for (int i = 1; i <= kGridRows; ++i) {
      const auto y = static_cast<float>(static_cast<double>(Hi) / kGridRows * i);
      if (!s.Rectangle(fB, fB, Wi, y, m_GridColor)) {
        return false;
      }
    }
  }

  // Data line over the fixed 0..100 scale.
  if (m_DataCollection == nullptr) {
    return false;
  }
  SampleSeries &series = *m_DataCollection;
  if (series.empty()) {
    return true;
  }
  const double yScale = static_cast<double>(Hi) / 100.0;
  const double xStep = static_cast<double>(Wi) / 100.0;
  while (series.size() > kVisibleSamples) {
    series.pop_front();
  }
  const auto startX = Checked16(static_cast<long>(B) + 2);
  if (!startX || !std::isfinite(series.front())) {
    return false;
  }
  double X = *startX;
  double Y = static_cast<double>(Hi) - yScale * series.front();
  const std::size_t count = series.size(); // the loop does not change it
  auto sample = series.cbegin();
  for (int i = 1; i <= kVisibleSamples; ++i, ++sample) {
    if (static_cast<std::size_t>(i) > count) {
      return false; // fewer than 100 samples: the line ends at the last one
    }
    const double value = *sample; // series[i - 1]
    if (!std::isfinite(value)) {
      return false;
    }
    double Xi = static_cast<double>(Wi) - (kVisibleSamples - (i - 1)) * xStep + 2.0;
    double Yi = static_cast<double>(Hi) - yScale * value;
    if (Xi < B) {
      Xi = B;
    }
    if (Yi < B) {
      Yi = B;
    }
    if (!s.Line(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Xi), static_cast<float>(Yi),
                m_PicForeground)) {
      return false;
    }
    X = Xi;
    Y = Yi;
  }
  return true;
}

} // namespace tallyflow
