#pragma once

#include "graph/DrawingSurface.h"
#include "ui/win32/Win32Handles.h"

#include <cstdint>

namespace tallyflow {

// A picture control on GDI: drawing goes into a 32-bit DIB section selected
// into a memory DC, the back buffer; WM_PAINT shows it with BitBlt. Lines
// are put into the buffer by the same rasteriser as every other surface
// (PixelLine.h), so all toolkits draw the same pixels. The first drawing
// after a paint invalidates the window once: a tick's whole picture costs
// one repaint.
class GdiSurface final : public DrawingSurface {
public:
  // A child window of `parent` at these pixel bounds; border style 0.
  GdiSurface(HWND parent, int id, RECT bounds, int dpi);
  ~GdiSurface() override;
  GdiSurface(const GdiSurface &) = delete;
  GdiSurface &operator=(const GdiSurface &) = delete;

  bool AutoRedraw() const override { return m_autoRedraw; }
  bool AutoRedraw(bool value) override;
  bool Cls() override;
  std::int16_t BorderStyle() const override { return 0; }
  ScaleMode Scale() const override { return m_scale; }
  bool Scale(ScaleMode mode) override;
  Colour BackColor() const override { return m_backColour; }
  bool BackColor(Colour colour) override;
  float ScaleWidth() const override;
  float ScaleHeight() const override;
  bool Line(float x1, float y1, float x2, float y2, Colour colour) override;
  bool Rectangle(float x1, float y1, float x2, float y2, Colour colour) override;

  // New pixel bounds at a new dpi (the window moved to another monitor):
  // a fresh buffer in the back colour, which the next picture fills.
  void Resize(RECT bounds, int dpi);

  HWND Window() const { return m_window.get(); }
  // The back buffer, for tests: GetPixel on it reads what is drawn.
  HDC MemoryDc() const { return m_dc.get(); }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // How often the window was invalidated (for tests: once per picture).
  int Invalidations() const { return m_invalidations; }

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void MakeBuffer(RECT bounds);
  int ToPixel(float v) const;
  void Fill(std::uint32_t pixel);
  void PutLine(int x1, int y1, int x2, int y2, Colour colour);
  void Changed();

  UniqueWindow m_window;
  UniqueDc m_dc;
  UniqueBitmap m_bitmap;
  HGDIOBJ m_oldBitmap = nullptr;
  std::uint32_t *m_bits = nullptr; // top-down rows of m_width pixels, 0x00RRGGBB
  int m_width = 0, m_height = 0;   // pixels
  int m_dpi = 96;
  bool m_autoRedraw = false;
  bool m_invalidated = false; // since the last WM_PAINT
  int m_invalidations = 0;
  ScaleMode m_scale = ScaleMode::Twips;
  Colour m_backColour = 0xFFFFFF;
};

} // namespace tallyflow
