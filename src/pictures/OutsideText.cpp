#include "pictures/OutsideText.h"

#include "services/Utf8.h"

#include <cstdint>

namespace tallyflow {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kFirstStrongIsolate = 0x2068;
constexpr char32_t kPopDirectionalIsolate = 0x2069;

// The code point at `at`, and how many bytes it takes; U+FFFD for one byte
// that does not start a well-formed sequence (overlong forms, surrogates and
// values past U+10FFFF included).
char32_t Decode(std::string_view text, std::size_t at, std::size_t &length) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  length = 1;
  if (lead < 0x80) {
    return lead;
  }
  const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (need == 0 || at + need > text.size()) {
    return kReplacement;
  }
  char32_t cp = lead & (0x7F >> need);
  for (std::size_t i = 1; i < need; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      return kReplacement;
    }
    cp = cp << 6 | (byte(at + i) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[need] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return kReplacement;
  }
  length = need;
  return cp;
}

// Letters written right to left (Hebrew, Arabic, Syriac, Thaana, N'Ko and
// the other scripts of those blocks, their presentation forms, and the
// right-to-left scripts of the supplementary planes), and the marks that
// set a direction: text holding one can pull our words round it.
bool SetsDirection(char32_t cp) {
  return (cp >= 0x0590 && cp <= 0x08FF) || (cp >= 0xFB1D && cp <= 0xFDFF) || (cp >= 0xFE70 && cp <= 0xFEFE) ||
         (cp >= 0x10800 && cp <= 0x10FFF) || (cp >= 0x1E800 && cp <= 0x1EFFF) || cp == 0x061C ||
         cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
}

} // namespace

void AppendShownAsOutsideText(std::string &out, std::string_view utf8) {
  const std::size_t start = out.size();
  bool directional = false;
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t length = 0;
    char32_t cp = Decode(utf8, at, length);
    at += length;
    directional = directional || SetsDirection(cp);
    if (cp < 0x20) {
      cp = 0x2400 + cp; // SYMBOL FOR NULL ... SYMBOL FOR UNIT SEPARATOR
    } else if (cp == 0x7F) {
      cp = 0x2421; // SYMBOL FOR DELETE
    } else if ((cp >= 0x80 && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029 || (cp >= 0x202A && cp <= 0x202E) ||
               (cp >= 0x2066 && cp <= 0x2069)) {
      // C1 controls, the separators, and the embeddings, overrides and
      // isolates that would make a name read backwards or close our isolate.
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  if (!directional) {
    return; // Latin, Greek, Cyrillic, CJK ...: nothing to isolate, no marks to show as boxes
  }
  std::string first;
  AppendUtf8(first, kFirstStrongIsolate);
  out.insert(start, first);
  AppendUtf8(out, kPopDirectionalIsolate);
}

std::string ShownAsOutsideText(std::string_view utf8) {
  std::string shown;
  AppendShownAsOutsideText(shown, utf8);
  return shown;
}

} // namespace tallyflow
