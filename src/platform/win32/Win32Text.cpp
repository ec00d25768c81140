#include "platform/win32/Win32Text.h"

#include <windows.h>

namespace tallyflow {
namespace {

std::wstring ToWide(unsigned codePage, std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int n = static_cast<int>(text.size());
  const int size = ::MultiByteToWideChar(codePage, 0, text.data(), n, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) {
    ::MultiByteToWideChar(codePage, 0, text.data(), n, out.data(), size);
  }
  return out;
}

} // namespace

std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }

void Utf8ToWide(std::string_view utf8, std::wstring &out) {
  out.clear();
  if (utf8.empty()) {
    return;
  }
  const int n = static_cast<int>(utf8.size());
  // At most one UTF-16 unit per byte: convert into that room, then trim.
  out.resize(utf8.size());
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, out.data(), n);
  out.resize(static_cast<std::size_t>(size > 0 ? size : 0));
}
std::wstring AnsiToWide(std::string_view ansi) { return ToWide(CP_ACP, ansi); }

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty()) {
    return {};
  }
  const int n = static_cast<int>(wide.size());
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), size, nullptr, nullptr);
  }
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) { return WideToUtf8(AnsiToWide(ansi)); }

std::optional<std::string> WideToAnsi(std::wstring_view wide) {
  if (wide.empty()) {
    return std::string();
  }
  const int n = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  // No best fit: "Ü" must never quietly become "U" in a path.
  const int size =
      ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), n, nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy) {
    return std::nullopt;
  }
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), n, out.data(), size, nullptr, &lossy);
  // A code page may also map a character to one that reads back otherwise.
  if (lossy || AnsiToWide(out) != wide) {
    return std::nullopt;
  }
  return out;
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8) { return WideToAnsi(Utf8ToWide(utf8)); }

} // namespace tallyflow
