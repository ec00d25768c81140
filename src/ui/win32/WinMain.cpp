// Tallyflow for Windows: starts the monitor window and runs until it is closed.

#include "platform/PlatformAbout.h"
#include "platform/PlatformIfTable.h"
#include "platform/PlatformRegistry.h"
#include "platform/win32/Win32About.h"
#include "services/BuildInfo.h"
#include "ui/win32/Win32AboutWindow.h"
#include "ui/win32/Win32MonitorWindow.h"
#include "ui/win32/Win32Services.h"

#include <windows.h>

#include <memory>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tallyflow;
  const auto facts = ReadWin32AppFacts();
  if (!facts) {
    ::MessageBoxA(nullptr, "Tallyflow cannot find its own path in this system's code page.", build::kTitle,
                  MB_OK | MB_ICONERROR);
    return 1;
  }
  const int dpi = ScreenDpi();
  auto icon = [&](int twips) {
    const int px = ::MulDiv(twips, dpi, 1440);
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, px, px, 0));
  };
  const UniqueIcon bigIcon(icon(480));         // 32 px at 96 dpi
  const UniqueIcon smallIcon(icon(240));       // 16 px
  const UniqueIcon aboutIcon(icon(960));       // 64 px
  const HCURSOR linkCursor = MakeLinkCursor(); // lives as long as the process

  auto registry = MakePlatformRegistry();
  const RegistrySettingsStore settings(*registry);
  const SteadyClock clock;
  std::unique_ptr<Win32MonitorWindow> window;
  const auto preTranslate = [&window](MSG &msg) { return window && window->PreTranslate(msg); };
  Win32Yield yield(preTranslate);
  Win32FileTest files;
  Win32ProgramStarter starter;
  Win32MessageBox messages(build::kTitle, [] { return ::GetActiveWindow(); });
  const auto systemFacts = MakePlatformSystemFacts(*registry, files);
  const auto shell = MakePlatformShellOpener();

  Win32MonitorWindow::Services services;
  services.form.ifTable = MakePlatformIfTable();
  services.form.registry = registry.get();
  services.form.settings = &settings;
  services.form.clock = &clock;
  services.form.yield = &yield;
  services.form.facts = *facts;
  services.form.locale = Win32NumberLocale();
  services.form.pathStyle = NativePathStyle();
  // The registry's writes are done when each call returns: end at once,
  // wherever the call comes from (also from inside a tick's yield).
  services.form.endProgram = [] { ::ExitProcess(0); };
  // Every opening makes and loads the About window afresh.
  services.form.showAbout = [&] {
    Win32AboutWindow::Services about;
    about.form = {facts->version, systemFacts.get(), &starter, &messages, shell.get()};
    about.icon = aboutIcon.get();
    about.linkCursor = linkCursor;
    Win32AboutWindow::ShowModal(std::move(about), window->Hwnd(), dpi, preTranslate);
  };
  services.icon = bigIcon.get();
  services.smallIcon = smallIcon.get();

  window = std::make_unique<Win32MonitorWindow>(std::move(services), dpi);
  if (!window->Created()) {
    return 1; // Windows refused the window or a control: nothing to show
  }
  window->Form().Form_Load();

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!preTranslate(msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}
