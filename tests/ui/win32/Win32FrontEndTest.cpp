// The Win32 front end under Wine on a real (virtual) display: the GDI
// surface, the timers, the controls as the layout table gives them, and the
// texts that cross the A calls.

#include "about/AboutLayout.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Text.h"
#include "ui/win32/GdiSurface.h"
#include "ui/win32/Win32AboutWindow.h"
#include "ui/win32/Win32MonitorWindow.h"
#include "ui/win32/Win32Services.h"
#include "ui/win32/Win32Timer.h"

#include "fakes/FakeClock.h"
#include "fakes/FakeIfTable.h"
#include "fakes/FakeRegistry.h"
#include "fakes/MibTableBuilder.h"
#include "graph/clsLineGraph.h"
#include "monitor/MonitorLayout.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace tallyflow {
namespace {

// Runs the message loop for about `ms` milliseconds.
void Pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(5);
  }
}

struct TopLevel {
  TopLevel() {
    RegisterClassOnce(L"TallyflowTestHost", ::DefWindowProcW);
    window.reset(::CreateWindowExW(0, L"TallyflowTestHost", L"host", WS_OVERLAPPEDWINDOW, 10, 10, 420, 200,
                                   nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  }
  UniqueWindow window;
};

TEST(GdiSurface, TheGraphsWorkedExampleByItsPixelsAndOneRepaintAPicture) {
  TopLevel host;
  GdiSurface surface(host.window.get(), 1, RECT{0, 0, 379, 117}, 96);
  EXPECT_FLOAT_EQ(surface.ScaleWidth(), 379 * 15.0f) << "twips until the graph asks for pixels";
  SampleSeries series(100, 5.0); // an idle line
  clsLineGraph graph;
  graph.PictureBox(&surface);
  graph.DataCollection(&series);
  graph.PicBackground(0);
  graph.PicForeground(0x00FF00);
  graph.BorderColor(255);
  graph.BorderSize(0);
  graph.GridColor(0x808000);
  graph.GridVisible(true);
  ::ShowWindow(host.window.get(), SW_SHOWNORMAL);
  Pump(100);
  const int before = surface.Invalidations();
  graph.Draw();
  EXPECT_EQ(surface.Invalidations(), before + 1) << "one InvalidateRect for the whole picture";

  const HDC dc = surface.MemoryDc();
  const COLORREF black = 0, teal = 0x808000, green = 0x00FF00;
  EXPECT_EQ(::GetPixel(dc, 10, 50), black) << "background";
  EXPECT_EQ(::GetPixel(dc, 19, 50), teal) << "grid column at x = 18.95";
  EXPECT_EQ(::GetPixel(dc, 360, 50), teal) << "grid column at x = 360.05";
  EXPECT_EQ(::GetPixel(dc, 10, 12), teal) << "grid row at y = 11.7";
  EXPECT_EQ(::GetPixel(dc, 10, 105), teal) << "grid row at y = 105.3";
  EXPECT_EQ(::GetPixel(dc, 0, 50), teal) << "left edge x = 0";
  // Samples of 5 lie at y = 117 - 5.85 = 111.15: row 111, from x = 2 to 377.
  for (int x = 2; x <= 377; ++x) {
    ASSERT_EQ(::GetPixel(dc, x, 111), green) << "x " << x;
    if (x % 19 != 0) { // off the grid columns
      ASSERT_NE(::GetPixel(dc, x, 110), green) << "x " << x;
    }
  }
  EXPECT_NE(::GetPixel(dc, 378, 111), green) << "the newest sample is one step short of the right edge";
  EXPECT_NE(::GetPixel(dc, 1, 111), green) << "the oldest sample starts at x = 2";

  // What the window shows is the buffer, put there by WM_PAINT's BitBlt.
  Pump(200);
  const HDC screen = ::GetDC(surface.Window());
  for (const auto &[x, y] : {std::pair{10, 50}, std::pair{19, 50}, std::pair{200, 111}, std::pair{10, 12}}) {
    EXPECT_EQ(::GetPixel(screen, x, y), ::GetPixel(dc, x, y)) << x << "," << y;
  }
  ::ReleaseDC(surface.Window(), screen);
  EXPECT_EQ(surface.Invalidations(), before + 1) << "painting asks for no further repaint";
}

TEST(Win32Timer, FollowsTheToolkitRulesTheTickReliesOn) {
  Win32Timer timer;
  int ticks = 0;
  timer.OnTick([&] { ++ticks; });
  EXPECT_FALSE(timer.Interval(-1));
  EXPECT_FALSE(timer.Interval(65'536));
  EXPECT_TRUE(timer.Interval(65'535));
  EXPECT_TRUE(timer.Interval(30));
  Pump(150);
  EXPECT_EQ(ticks, 0) << "a disabled timer does not fire";
  timer.Enabled(true);
  Pump(300);
  EXPECT_GE(ticks, 3);
  timer.Interval(0);
  EXPECT_FALSE(timer.Running()) << "interval 0 stops it";
  const int stopped = ticks;
  Pump(150);
  EXPECT_EQ(ticks, stopped);
  EXPECT_TRUE(timer.Enabled()) << "still enabled, but 0 never fires";
  timer.Interval(40);
  EXPECT_TRUE(timer.Running()) << "a usable interval while enabled starts it";

  // A tick that disables its timer until it ends, as the monitor's does.
  int inside = 0;
  timer.OnTick([&] {
    timer.Enabled(false);
    ++inside;
    timer.Enabled(true);
  });
  Pump(250);
  EXPECT_GE(inside, 2);
  timer.Enabled(false);
  EXPECT_FALSE(timer.Running());
}

struct WindowHarness {
  explicit WindowHarness(int dpi = 96, std::string description = "Ethernet (eth0)") {
    table->Push(test::BuildMibTable({test::NamedRow(1, description)}));
    Win32MonitorWindow::Services s;
    s.form.ifTable = table;
    s.form.registry = &reg;
    s.form.settings = &settings;
    s.form.clock = &clock;
    s.form.facts.title = "Tallyflow Manager";
    s.form.facts.exeName = "Tallyflow";
    s.form.facts.exeDirectory = "C:\\Apps";
    s.form.facts.exePath = "C:\\Apps\\Tallyflow.exe";
    s.form.locale = NumberLocale{",", "."};
    s.form.pathStyle = PathStyle::Windows;
    s.form.endProgram = [this] { ++ended; };
    window = std::make_unique<Win32MonitorWindow>(std::move(s), dpi);
  }
  // A control's bounds in its parent's client pixels.
  RECT Bounds(HWND control) const {
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT *>(&r), 2);
    return r;
  }
  test::FakeRegistry reg;
  RegistrySettingsStore settings{reg};
  std::shared_ptr<test::FakeIfTable> table = std::make_shared<test::FakeIfTable>();
  test::FakeClock clock;
  int ended = 0;
  std::unique_ptr<Win32MonitorWindow> window;
};

TEST(Win32MonitorWindow, ControlsStandWhereTheLayoutTablePutsThemWithTheirDesignTexts) {
  // Made at 96 or 144 dpi, or made at 96 and moved to a monitor of 144.
  for (const auto &[made, dpi] : {std::pair{96, 96}, std::pair{144, 144}, std::pair{96, 144}}) {
    SCOPED_TRACE(std::to_string(made) + " -> " + std::to_string(dpi));
    WindowHarness h(made);
    Win32MonitorWindow &w = *h.window;
    if (made != dpi) {
      RECT outer;
      ::GetWindowRect(w.Hwnd(), &outer);
      RECT suggested{outer.left, outer.top, outer.left + (outer.right - outer.left) * dpi / made,
                     outer.top + (outer.bottom - outer.top) * dpi / made};
      ::SendMessageW(w.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
      const LOGFONTW font = [&] {
        LOGFONTW f{};
        ::GetObjectW(
            reinterpret_cast<HFONT>(::SendMessageW(w.Control(MonitorControl::lblRecv), WM_GETFONT, 0, 0)),
            sizeof f, &f);
        return f;
      }();
      EXPECT_EQ(font.lfHeight, -17) << "8.25 pt at 144 dpi";
    }
    RECT client;
    ::GetClientRect(w.Hwnd(), &client);
    EXPECT_EQ(client.right, w.Px(kMonitorClientWidth)) << "5685 twips";
    EXPECT_EQ(client.bottom, w.Px(kMonitorClientHeight)) << "5415 twips";
    EXPECT_EQ(::GetWindowLongPtrW(w.Hwnd(), GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0) << "fixed size";
    for (const ControlLayout &c : MonitorLayout()) {
      SCOPED_TRACE(c.name);
      const HWND control = w.Control(c.id);
      ASSERT_NE(control, nullptr);
      const HWND parent = c.parent == 0 ? w.Hwnd() : w.Control(c.parent);
      EXPECT_EQ(::GetParent(control), parent);
      const RECT got = h.Bounds(control);
      const RECT want = w.DesignBounds(c);
      EXPECT_NEAR(got.left, want.left, 2);
      EXPECT_NEAR(got.top, want.top, 2);
      if (!c.sizedToText) {
        EXPECT_NEAR(got.right, want.right, 2);
        EXPECT_NEAR(got.bottom, want.bottom, 2) << "a combo box's closed height too";
      }
      if (c.kind == ControlKind::Label || c.kind == ControlKind::Button || c.kind == ControlKind::CheckBox ||
          c.kind == ControlKind::ValueBox) {
        EXPECT_EQ(WideToUtf8(w.ControlText(control)), c.caption);
      }
      if (c.kind == ControlKind::Label || c.kind == ControlKind::ValueBox) {
        EXPECT_NE(::GetWindowLongPtrW(control, GWL_STYLE) & SS_NOPREFIX, 0)
            << "an & is shown, not a mnemonic";
      }
    }
    EXPECT_EQ(w.UpdateIntervalText(), "200");
    EXPECT_EQ(::SendMessageW(w.Control(MonitorControl::cboUpdateInterval), CB_GETCOUNT, 0, 0), 20);
    EXPECT_EQ(w.Surface().Width(), w.Px(5685));
  }
}

struct NoFacts final : ISystemFacts {
  std::optional<std::string> RegisteredOwner() override { return std::nullopt; }
  std::optional<std::string> RegisteredOrganization() override { return std::nullopt; }
  std::optional<ProgramCall> SystemInfoTool() override { return std::nullopt; }
};

TEST(Win32AboutWindow, ControlsStandWhereTheLayoutTablePutsThem) {
  NoFacts facts;
  Win32AboutWindow::Services s;
  s.form.facts = &facts;
  Win32AboutWindow about(std::move(s), nullptr, 96);
  for (const ControlLayout &c : AboutLayout()) {
    SCOPED_TRACE(c.name);
    const HWND control = about.Control(c.id);
    ASSERT_NE(control, nullptr);
    RECT got;
    ::GetWindowRect(control, &got);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT *>(&got), 2);
    const RECT want = about.DesignBounds(c);
    EXPECT_NEAR(got.left, want.left, 2);
    EXPECT_NEAR(got.top, want.top, 2);
    if (!c.sizedToText && c.id != +AboutControl::Image2) { // an icon takes its own size
      EXPECT_NEAR(got.right, want.right, 2);
      EXPECT_NEAR(got.bottom, want.bottom, 2);
    }
  }
}

// The columns of a control, in its own client pixels, that hold a pixel
// darker than mid-grey: where its text is drawn.
std::pair<int, int> InkColumns(HWND control) {
  RECT r;
  ::GetClientRect(control, &r);
  const HDC dc = ::GetDC(control);
  int first = -1, last = -1;
  for (int x = 0; x < r.right; ++x) {
    for (int y = 0; y < r.bottom; ++y) {
      const COLORREF p = ::GetPixel(dc, x, y);
      if (GetRValue(p) + GetGValue(p) + GetBValue(p) < 3 * 128) {
        first = first < 0 ? x : first;
        last = x;
        break;
      }
    }
  }
  ::ReleaseDC(control, dc);
  return {first, last};
}

// Drawn as designed, as the Qt window draws them: buttons on the face
// colour, links as Tab stops, the title against the right edge, and a
// figure half an "x" clear of its box's border.
TEST(Win32AboutWindow, FacesLinksAndAlignmentAsDesigned) {
  NoFacts facts;
  Win32AboutWindow::Services s;
  s.form.facts = &facts;
  Win32AboutWindow about(std::move(s), nullptr, 96);
  ASSERT_TRUE(about.Created());
  about.Form().Form_Load();
  ::ShowWindow(about.Hwnd(), SW_SHOWNORMAL);
  ::UpdateWindow(about.Hwnd());
  Pump(200);
  const COLORREF face = kFaceColour;
  for (AboutControl button : {AboutControl::cmdok, AboutControl::cmdSysInfo}) {
    const HWND b = about.Control(button);
    RECT r;
    ::GetClientRect(b, &r);
    const HDC dc = ::GetDC(b);
    EXPECT_EQ(::GetPixel(dc, 4, r.bottom / 2), face) << +button;
    ::ReleaseDC(b, dc);
  }
  for (AboutControl link : {AboutControl::lblHomePage, AboutControl::lblEMail}) {
    EXPECT_NE(::GetWindowLongPtrW(about.Control(link), GWL_STYLE) & WS_TABSTOP, 0) << +link;
  }
  const HWND title = about.Control(AboutControl::lblTitle);
  RECT titleRect;
  ::GetClientRect(title, &titleRect);
  const auto [left, right] = InkColumns(title);
  EXPECT_GT(left, titleRect.right / 4) << "not from the left edge";
  EXPECT_GE(right, titleRect.right - 4) << "against the right edge";

  WindowHarness h(96);
  ::ShowWindow(h.window->Hwnd(), SW_SHOWNORMAL);
  h.window->Caption(MonitorLabel::lblRecv, "417,151 KB");
  ::UpdateWindow(h.window->Hwnd());
  Pump(200);
  RECT box;
  ::GetClientRect(h.window->Control(MonitorControl::lblRecv), &box);
  EXPECT_LE(InkColumns(h.window->Control(MonitorControl::lblRecv)).second, box.right - 3)
      << "clear of the border";
}

TEST(Win32MonitorWindow, OutsideTextShowsAsItIsAndLabelsGrowWithTheirText) {
  WindowHarness h(96, "Q&A uplink");
  Win32MonitorWindow &w = *h.window;
  w.Form().Form_Load();
  EXPECT_EQ(w.ConnectionCount(), 1);
  EXPECT_EQ(w.ConnectionIndex(), 0);
  Pump(500); // the first ticks: the label shows the description with its "&"
  EXPECT_EQ(WideToUtf8(w.ControlText(w.Control(MonitorControl::lblType))), "Q&A uplink ");
  EXPECT_NE(WideToUtf8(w.ControlText(w.Control(MonitorControl::lblRecv))), "Label1");
  // An interval typed into the box's edit field is the next tick's.
  const HWND edit = ::FindWindowExW(w.Control(MonitorControl::cboUpdateInterval), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  ::SetFocus(edit);
  ::SendMessageW(edit, EM_SETSEL, 0, -1); // the whole text, then typed over
  for (const wchar_t ch : std::wstring(L"150")) {
    ::SendMessageW(edit, WM_CHAR, ch, 0);
  }
  Pump(500);
  EXPECT_EQ(w.tmrUpdate().Interval(), 150);

  const HWND top = w.Control(MonitorControl::lblDownloadSpeedTop);
  const RECT before = h.Bounds(top);
  const std::string longText = "Top download speed: 1,234,567,890.00 Kb/S and then some more words";
  w.Caption(MonitorLabel::lblDownloadSpeedTop, longText);
  const RECT after = h.Bounds(top);
  SIZE extent{};
  const HDC dc = ::GetDC(top);
  const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(top, WM_GETFONT, 0, 0)));
  const std::wstring wide = Utf8ToWide(longText);
  ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
  ::SelectObject(dc, old);
  ::ReleaseDC(top, dc);
  EXPECT_EQ(after.left, before.left);
  EXPECT_GE(after.right - after.left, extent.cx) << "wide enough for the whole text";
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << "still one line";
  EXPECT_EQ(w.Caption(MonitorLabel::lblDownloadSpeedTop), longText);
}

TEST(Win32Text, PathsThatTheCodePageCannotHoldReachTheRegistryInTheirShortForm) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
  // "Überwachung" fits the usual Western code page; Cyrillic does not.
  for (const std::wstring &folder :
       {std::wstring(L"\u00DCberwachung"), std::wstring(L"\u041C\u043E\u043D\u0438\u0442\u043E\u0440")}) {
    const std::wstring dir = std::wstring(temp) + folder;
    const std::wstring exe = dir + L"\\tallyflow.exe";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    const HANDLE file = ::CreateFileW(exe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);

    const auto facts = AppFactsFor(exe);
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->exeName, "tallyflow");
    // The path in the code page names the very file.
    wchar_t longPath[MAX_PATH];
    const std::wstring back = AnsiToWide(facts->exePath);
    ASSERT_GT(::GetLongPathNameW(back.c_str(), longPath, MAX_PATH), 0u) << WideToUtf8(back);
    EXPECT_EQ(std::wstring(longPath), exe);

    // Through the real registry as the start-up entry, read back as Windows does.
    Win32Registry reg;
    const std::string full = JoinPath(facts->exeDirectory, "tallyflow.exe", PathStyle::Windows);
    ASSERT_TRUE(SetRegValue(reg, Hive::CurrentUser, "Software\\Tallyflow Tests\\Run", "tallyflow", full));
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tallyflow Tests\\Run", L"tallyflow",
                             RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(::GetFileAttributesW(value) & FILE_ATTRIBUTE_DIRECTORY, 0u) << "the value names the program";
    EXPECT_NE(::GetFileAttributesW(value), INVALID_FILE_ATTRIBUTES);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tallyflow Tests");
    ::DeleteFileW(exe.c_str());
    ::RemoveDirectoryW(dir.c_str());
  }
  EXPECT_EQ(Utf8ToAnsi("\xD0\x9C"), std::nullopt) << "never a best-fit stand-in";
  EXPECT_EQ(WideToUtf8(Utf8ToWide("Q&A \xC3\x9C \xF0\x9F\x93\xB6")), "Q&A \xC3\x9C \xF0\x9F\x93\xB6");
}

TEST(Win32Services, TheLinkCursorIsA32PixelHandPointingFromItsFingertip) {
  const HCURSOR cursor = MakeLinkCursor();
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 0u);
  BITMAP mask{};
  ::GetObjectW(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  // The mask: the fingertip and the palm opaque, the corners see-through.
  const HDC dc = ::CreateCompatibleDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, info.hbmMask);
  EXPECT_EQ(::GetPixel(dc, 5, 1) & 0xFFFFFF, 0u) << "the fingertip";
  EXPECT_EQ(::GetPixel(dc, 10, 20) & 0xFFFFFF, 0u) << "the palm";
  EXPECT_EQ(::GetPixel(dc, 30, 30) & 0xFFFFFF, 0xFFFFFFu) << "a corner";
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::DeleteObject(info.hbmMask);
  ::DeleteObject(info.hbmColor);
  ::DestroyCursor(cursor);
}

// The program's file as Windows shows it: version, names, icon and manifest.
TEST(TallyflowExe, CarriesItsVersionIconAndManifest) {
  const char *exe = std::getenv("TALLYFLOW_EXE");
  ASSERT_NE(exe, nullptr) << "the test is given the program's path";
  const std::wstring path = Utf8ToWide(exe);
  DWORD ignored = 0;
  std::vector<char> info(::GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void **>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, (3u << 16) | 0u);
  EXPECT_EQ(fixed->dwFileVersionLS, (0u << 16) | 264u) << "3.0.0.264";
  auto text = [&](const wchar_t *name) {
    wchar_t *value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    return ::VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void **>(&value), &length) && value
               ? WideToUtf8(value)
               : std::string();
  };
  EXPECT_EQ(text(L"ProductName"), "Tallyflow Manager");
  EXPECT_EQ(text(L"FileVersion"), "3.0.0.264");
  EXPECT_EQ(text(L"LegalCopyright"), "Copyright \xC2\xA9 2026 Quorrin Software");

  const HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  const HICON icon =
      static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, 64, 64, LR_DEFAULTCOLOR));
  EXPECT_NE(icon, nullptr) << "the program icon, 64 x 64 among its sizes";
  ::DestroyIcon(icon);
  const HRSRC manifest = ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
  ASSERT_NE(manifest, nullptr);
  const std::string xml(static_cast<const char *>(::LockResource(::LoadResource(module, manifest))),
                        ::SizeofResource(module, manifest));
  EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(xml.find("PerMonitorV2"), std::string::npos);
  ::FreeLibrary(module);
}

} // namespace
} // namespace tallyflow
