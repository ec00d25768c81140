#include "ui/win32/Win32Services.h"

#include "platform/win32/Win32Text.h"
#include "registry/RegStartUp.h"
#include "services/BuildInfo.h"
#include "services/HandCursorShape.h"

#include <vector>

namespace tallyflow {

void Win32Yield::RunPendingEvents() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!(m_preTranslate && m_preTranslate(msg))) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

void Win32MessageBox::Show(const std::string &text) {
  // Both texts are ASCII, our own: the A call takes them as they are.
  ::MessageBoxA(m_owner ? m_owner() : nullptr, text.c_str(), m_caption.c_str(), MB_OK);
}

namespace {

// One argument as CommandLineToArgvW reads it back.
std::wstring Quoted(const std::wstring &arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
    return arg;
  }
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

} // namespace

bool Win32ProgramStarter::Start(const std::string &program, const std::vector<std::string> &arguments) {
  const std::wstring path = AnsiToWide(program);
  std::wstring commandLine = Quoted(path);
  for (const auto &a : arguments) {
    commandLine += L" " + Quoted(AnsiToWide(a));
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return false;
  }
  ::CloseHandle(process.hThread); // not waited for
  ::CloseHandle(process.hProcess);
  return true;
}

bool Win32FileTest::FileExists(const std::string &path) const {
  const DWORD attributes = ::GetFileAttributesW(AnsiToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

namespace {

// A path in the code page, or in its short form where it has none there.
std::optional<std::string> AnsiPath(const std::wstring &path) {
  if (auto ansi = WideToAnsi(path)) {
    return ansi;
  }
  std::wstring shortPath(MAX_PATH, L'\0');
  const DWORD n = ::GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (n == 0 || n >= shortPath.size()) {
    return std::nullopt;
  }
  shortPath.resize(n);
  return WideToAnsi(shortPath);
}

} // namespace

std::optional<AppFacts> AppFactsFor(const std::wstring &exePath) {
  // The directory and the file apart: the file's own name gives the
  // settings key, so it is shortened only when it has no form at all.
  const auto slash = exePath.find_last_of(L"\\/");
  const std::wstring wideDirectory =
      slash == std::wstring::npos ? std::wstring() : exePath.substr(0, slash + 1);
  auto directoryPart = wideDirectory.empty() ? std::optional<std::string>("") : AnsiPath(wideDirectory);
  auto filePart = WideToAnsi(exePath.substr(wideDirectory.size()));
  if (!filePart) {
    if (const auto whole = AnsiPath(exePath)) {
      filePart = GetFileName(*whole, PathStyle::Windows);
    }
  }
  if (!directoryPart || !filePart) {
    return std::nullopt;
  }
  const std::optional<std::string> path = *directoryPart + *filePart;
  AppFacts facts;
  facts.title = build::kTitle;
  facts.exePath = *path;
  const std::string file = GetFileName(*path, PathStyle::Windows);
  const auto dot = file.rfind('.');
  facts.exeName = dot == std::string::npos ? file : file.substr(0, dot);
  // The directory keeps its "\" only at a drive root (C:\).
  std::string directory = path->substr(0, path->size() - file.size());
  if (directory.size() > 1 && directory.back() == '\\' && !(directory.size() == 3 && directory[1] == ':')) {
    directory.pop_back();
  }
  facts.exeDirectory = directory;
  facts.version = build::Version();
  return facts;
}

std::optional<AppFacts> ReadWin32AppFacts() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) {
      return std::nullopt;
    }
    if (n < path.size()) {
      path.resize(n);
      return AppFactsFor(path);
    }
    path.resize(path.size() * 2); // a long path: try again with more room
  }
}

NumberLocale Win32NumberLocale() {
  auto read = [](LCTYPE type, const char *fallback) {
    wchar_t buffer[8] = {};
    const int n = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 8);
    return n > 1 ? WideToUtf8(std::wstring_view(buffer, static_cast<std::size_t>(n - 1)))
                 : std::string(fallback);
  };
  return NumberLocale{read(LOCALE_STHOUSAND, ","), read(LOCALE_SDECIMAL, ".")};
}

int ScreenDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

HCURSOR MakeLinkCursor() {
  constexpr int kSize = 32;
  const UniqueDc dc(::CreateCompatibleDC(nullptr));
  const HDC screen = ::GetDC(nullptr);
  UniqueBitmap colour(::CreateCompatibleBitmap(screen, kSize, kSize));
  ::ReleaseDC(nullptr, screen);
  UniqueBitmap mask(::CreateBitmap(kSize, kSize, 1, 1, nullptr));
  POINT outline[kHandOutline.size()];
  for (std::size_t i = 0; i < kHandOutline.size(); ++i) {
    outline[i] = POINT{kHandOutline[i].first, kHandOutline[i].second};
  }
  const RECT all{0, 0, kSize, kSize};
  auto draw = [&](HBITMAP target, int background, int inside) {
    const HGDIOBJ oldBitmap = ::SelectObject(dc.get(), target);
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(background)));
    const HGDIOBJ oldPen = ::SelectObject(dc.get(), ::GetStockObject(BLACK_PEN));
    const HGDIOBJ oldBrush = ::SelectObject(dc.get(), ::GetStockObject(inside));
    ::Polygon(dc.get(), outline, static_cast<int>(kHandOutline.size()));
    for (const auto &s : kHandStrokes) {
      ::MoveToEx(dc.get(), s[0], s[1], nullptr);
      ::LineTo(dc.get(), s[2], s[3] + 1); // LineTo leaves out the last pixel
    }
    ::SelectObject(dc.get(), oldBrush);
    ::SelectObject(dc.get(), oldPen);
    ::SelectObject(dc.get(), oldBitmap);
  };
  draw(mask.get(), WHITE_BRUSH, BLACK_BRUSH);   // AND mask: 1 outside (transparent), 0 on the hand
  draw(colour.get(), BLACK_BRUSH, WHITE_BRUSH); // the hand: white inside, black on the edge
  ICONINFO info{FALSE, kHandHotX, kHandHotY, mask.get(), colour.get()};
  return ::CreateIconIndirect(&info); // copies both bitmaps
}

} // namespace tallyflow
