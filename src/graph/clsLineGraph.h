#pragma once

#include "graph/DrawingSurface.h"
#include "graph/SampleSeries.h"

#include <cstdint>

namespace tallyflow {

// Draws the newest 100 samples of a series as a line over a fixed 0 to 100
// scale, with an optional frame and grid. Keeps no samples of its own: it
// reads the caller's series and trims it in place to 100 entries.
class clsLineGraph {
public:
  void GridColor(Colour value) { m_GridColor = value; }
  Colour GridColor() const { return m_GridColor; }
  void GridVisible(bool value) { m_GridVisible = value; }
  bool GridVisible() const { return m_GridVisible; }
  void BorderColor(Colour value) { m_BorderColor = value; }
  Colour BorderColor() const { return m_BorderColor; }
  void BorderSize(std::int16_t value) { m_BorderSize = value; }
  std::int16_t BorderSize() const { return m_BorderSize; }
  void PicForeground(Colour value) { m_PicForeground = value; }
  Colour PicForeground() const { return m_PicForeground; }
  void PicBackground(Colour value) { m_PicBackground = value; }
  Colour PicBackground() const { return m_PicBackground; }
  // Neither the series nor the surface is owned: the caller keeps both alive
  // for as long as the graph may draw.
  void DataCollection(SampleSeries *value) { m_DataCollection = value; }
  SampleSeries *DataCollection() const { return m_DataCollection; }
  void PictureBox(DrawingSurface *value) { m_PictureBox = value; }
  DrawingSurface *PictureBox() const { return m_PictureBox; }

  // Redraws the whole graph. Any failure ends the drawing quietly and leaves
  // what was drawn so far.
  void Draw();

private:
  bool DrawSteps(DrawingSurface &surface);

  DrawingSurface *m_PictureBox = nullptr;
  SampleSeries *m_DataCollection = nullptr;
  Colour m_PicBackground = 0;
  Colour m_PicForeground = 0;
  std::int16_t m_BorderSize = 0; // pixels
  Colour m_BorderColor = 0;
  bool m_GridVisible = false;
  Colour m_GridColor = 0;
};

} // namespace tallyflow
