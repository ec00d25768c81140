#pragma once

#include "graph/DrawingSurface.h"
#include "services/ControlLayout.h"
#include "ui/win32/Win32Handles.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace tallyflow {

// A fixed-size top-level window whose controls are built from a layout
// table: the part both Win32 windows share. Positions are in twips, and a
// pixel is twips × dpi / 1440, so the window keeps its physical size and
// its fonts scale with it. Frames are panels that parent their controls and
// pass WM_COMMAND and WM_CTLCOLOR* on to the window, so one procedure
// handles every control. Labels never read "&" as a mnemonic (SS_NOPREFIX):
// their texts may be interface names.
class Win32Form {
public:
  Win32Form(const Win32Form &) = delete;
  Win32Form &operator=(const Win32Form &) = delete;
  virtual ~Win32Form();

  HWND Hwnd() const { return m_window.get(); }
  // False when the window or one of its controls could not be made.
  bool Created() const { return m_window && m_complete; }
  int Dpi() const { return m_dpi; }
  int Px(double twips) const;
  double Twips(int pixels) const;

  // A control by its identifier in the layout; nullptr for none.
  HWND Control(int id) const;
  // The same, by the window's own identifier (MonitorControl, AboutControl).
  template <typename Id, typename = std::enable_if_t<std::is_enum_v<Id>>> HWND Control(Id id) const {
    return Control(static_cast<int>(id));
  }
  const ControlLayout *LayoutOf(HWND control) const;
  // The pixel bounds the layout gives a control, relative to its parent.
  RECT DesignBounds(const ControlLayout &c) const;

  // A label's text, with its size following it when the layout says so.
  void SetControlText(HWND control, const std::wstring &text);
  std::wstring ControlText(HWND control) const;

  // The message loop's part for this window: Tab, Enter, Escape and the
  // arrow keys between its controls. True when the message was used.
  bool PreTranslate(MSG &msg);

protected:
  explicit Win32Form(int dpi) : m_dpi(dpi) {}

  // Makes the window, hidden, with this client size; called by the derived
  // window's constructor, so that the messages of creation reach it.
  void CreateFormWindow(const wchar_t *className, DWORD style, DWORD exStyle, int clientWidthTwips,
                        int clientHeightTwips, const wchar_t *title, HWND owner);

  // Destroys the window and its controls; the derived window's destructor
  // calls it first, while the handlers the messages of destruction reach
  // still exist. The tool tip window it owns goes with it.
  void DestroyFormWindow() {
    m_tips.reset();
    m_window.reset();
  }

  void BuildControls(const std::vector<ControlLayout> &layout, const std::vector<int> &tabOrder);
  HFONT Font(const ControlFont &font, bool underline = false);
  HBRUSH Brush(Colour colour);

  // A panel: a plain child window in a colour that parents controls and
  // passes their messages on; etched (a frame) or with a one-pixel border;
  // `paint` draws on its face.
  HWND MakePanel(HWND parent, RECT bounds, int id, Colour colour, bool etched,
                 std::function<void(HDC, const RECT &)> paint = {});

  // Makes a Picture or Image control; the window knows what it shows.
  virtual HWND MakePicture(const ControlLayout &c, HWND parent, RECT bounds, int id) = 0;
  // The window's own messages; the rest go to DefWindowProc.
  virtual bool Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) = 0;
  // A control's notification (WM_COMMAND), by its layout entry.
  virtual void Command(const ControlLayout &c, int code) = 0;
  // After the controls were laid out again at a new dpi: what the window
  // draws itself follows.
  virtual void Rescaled() {}

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
  struct Panel {
    Win32Form *form;
    Colour colour;
    bool etched; // a frame's sunken edge; else a plain one-pixel border
    std::function<void(HDC, const RECT &)> paint;
  };
  static LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND MakeControl(const ControlLayout &c, HWND parent, int id);
  LRESULT CtlColour(UINT msg, HDC dc, HWND control);
  // Push buttons and links are drawn here in the design's colours (a theme
  // would paint its own face), with their focus shown.
  void DrawItem(const DRAWITEMSTRUCT &item);
  // A value box's text keeps an inner margin from its border.
  static LRESULT CALLBACK ValueBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR form);
  void SizeToText(HWND control, const std::wstring &text);
  // WM_DPICHANGED: every control again from the layout's twips at the new
  // dpi, with fonts made for it, and the window at the suggested rectangle.
  void Rescale(int dpi, const RECT &suggested);

  UniqueWindow m_window;
  int m_dpi;
  bool m_complete = true;
  int m_clientWidthTwips = 0, m_clientHeightTwips = 0;
  // The control that had the focus when the window was last deactivated:
  // it has it again when the window comes back, as in a dialog.
  HWND m_lastFocus = nullptr;
  std::map<int, HWND> m_controls; // by identifier in the layout
  std::map<HWND, const ControlLayout *> m_layoutOf;
  std::map<int, HWND> m_byId;
  std::vector<std::unique_ptr<Panel>> m_panels;
  std::vector<UniqueFont> m_fonts;
  std::map<std::string, HFONT> m_fontByKey;
  std::map<Colour, UniqueBrush> m_brushes;
  UniqueWindow m_tips;
};

} // namespace tallyflow
