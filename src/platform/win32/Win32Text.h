#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallyflow {

// Texts cross three encodings on Windows. The program's own texts, and all
// it shows, are UTF-8; controls and the W calls take UTF-16; the registry's
// A calls, and the programs that read what they write (Windows reads the
// Run value), take the system's ANSI code page. These convert between them;
// a sequence that does not decode becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
// The same into `out`, whose room is kept: no allocation once it is large
// enough (a figure changes on every tick).
void Utf8ToWide(std::string_view utf8, std::wstring &out);
std::string WideToUtf8(std::wstring_view wide);
std::wstring AnsiToWide(std::string_view ansi);
std::string AnsiToUtf8(std::string_view ansi);
// Nothing when a character has no form in the code page: a path that would
// name another file must not be written at all.
std::optional<std::string> WideToAnsi(std::wstring_view wide);
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);

} // namespace tallyflow
