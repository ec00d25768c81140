#pragma once

#include "graph/PixelSurface.h"
#include "ui/win32/Win32Handles.h"

#include <cstdint>

namespace tallyflow {

// A picture control on GDI: drawing goes into a 32-bit DIB section
// selected into a memory DC, the back buffer (PixelSurface draws into it);
// WM_PAINT shows it with BitBlt. The first drawing after a paint
// invalidates the window once: a tick's whole picture costs one repaint.
class GdiSurface final : public PixelSurface {
public:
  // A child window of `parent` at these pixel bounds; border style 0.
  GdiSurface(HWND parent, int id, RECT bounds, int dpi);
  ~GdiSurface() override;
  GdiSurface(const GdiSurface &) = delete;
  GdiSurface &operator=(const GdiSurface &) = delete;

  std::int16_t BorderStyle() const override { return 0; }

  // New pixel bounds at a new dpi (the window moved to another monitor):
  // a fresh buffer in the back colour, which the next picture fills.
  void Resize(RECT bounds, int dpi);

  HWND Window() const { return m_window.get(); }
  // The back buffer, for tests: GetPixel on it reads what is drawn.
  HDC MemoryDc() const { return m_dc.get(); }
  // How often the window was invalidated (for tests: once per picture).
  int Invalidations() const { return m_invalidations; }

protected:
  void BeforeDrawing() override { ::GdiFlush(); } // GDI may still be writing into the section
  void Changed() override;

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void MakeBuffer(RECT bounds, int dpi);

  UniqueWindow m_window;
  UniqueDc m_dc;
  UniqueBitmap m_bitmap;
  HGDIOBJ m_oldBitmap = nullptr;
  bool m_invalidated = false; // since the last WM_PAINT
  int m_invalidations = 0;
};

} // namespace tallyflow
