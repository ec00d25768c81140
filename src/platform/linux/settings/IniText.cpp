#include "platform/linux/settings/IniText.h"

#include "services/HexDigits.h"
#include "services/Utf8.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace tallyflow {
namespace {

// QSettings' name for the file's top level.
constexpr const char *kTopLevel = "General";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string Trim(const std::string &s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && IsBlank(s[begin])) {
    ++begin;
  }
  while (end > begin && IsBlank(s[end - 1])) {
    --end;
  }
  return s.substr(begin, end - begin);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// Reads up to `max` digits of `base` from s[i]; i ends after them.
std::uint32_t ReadDigits(const std::string &s, std::size_t &i, int base, std::size_t max) {
  std::uint32_t value = 0;
  for (std::size_t n = 0; n < max && i < s.size(); ++n, ++i) {
    const int d = HexDigit(s[i]);
    if (d < 0 || d >= base) {
      break;
    }
    value = std::min<std::uint32_t>(value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(d),
                                    0xFFFF);
  }
  return value;
}

// Key and group names: letters, digits and "_-." as they are, "/" as "\",
// every other byte as %XX.
std::string EscapeName(const std::string &name) {
  std::string out;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) != 0 || c == '_' || c == '-' || c == '.') {
      out += c;
    } else if (c == '/') {
      out += '\\';
    } else {
      out += '%';
      out += kHexDigits[u >> 4];
      out += kHexDigits[u & 0xF];
    }
  }
  return out;
}

std::string UnescapeName(const std::string &name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\') {
      out += '/';
    } else if (name[i] == '%' && i + 1 < name.size() && name[i + 1] == 'U') {
      std::size_t j = i + 2;
      const std::size_t start = j;
      const auto code = ReadDigits(name, j, 16, 4);
      if (j - start == 4) {
        AppendUtf8(out, static_cast<char32_t>(code));
        i = j - 1;
      } else {
        out += '%';
      }
    } else if (name[i] == '%' && i + 2 < name.size() && HexDigit(name[i + 1]) >= 0 &&
               HexDigit(name[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(name[i + 1]) * 16 + HexDigit(name[i + 2]));
      i += 2;
    } else {
      out += name[i];
    }
  }
  return out;
}

std::string GroupName(const std::string &group) { return group.empty() ? kTopLevel : EscapeName(group); }

} // namespace

IniText::IniText(const std::string &text) {
  std::string group;
  std::size_t begin = 0;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
    m_byteOrderMark = true;
    begin = 3;
  }
  const auto firstEnd = text.find('\n', begin);
  m_crlf = firstEnd != std::string::npos && firstEnd > begin && text[firstEnd - 1] == '\r';
  while (begin < text.size()) {
    auto end = text.find('\n', begin);
    if (end == std::string::npos) {
      end = text.size();
    }
    Line line{text.substr(begin, end - begin), Line::Kind::Other, {}, {}, {}};
    begin = end + 1;
    const std::string trimmed = Trim(line.raw);
    const auto close = trimmed.find(']');
    const auto equals = trimmed.find('=');
    if (!trimmed.empty() && trimmed.front() == '[' && close != std::string::npos) {
      const std::string name = trimmed.substr(1, close - 1);
      group = name == kTopLevel ? "" : UnescapeName(name);
      line.kind = Line::Kind::Section;
    } else if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#' && equals != 0 &&
               equals != std::string::npos) {
      line.kind = Line::Kind::Entry;
      line.key = UnescapeName(Trim(trimmed.substr(0, equals)));
      line.value = trimmed.substr(equals + 1);
    }
    line.group = group;
    m_lines.push_back(std::move(line));
  }
}

std::vector<std::size_t> IniText::EntriesOf(const std::string &group, const std::string &key) const {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const Line &l = m_lines[i];
    if (l.kind == Line::Kind::Entry && l.group == group && l.key == key) {
      found.push_back(i);
    }
  }
  return found;
}

std::optional<IniText::Value> IniText::Get(const std::string &group, const std::string &key) const {
  const auto found = EntriesOf(group, key);
  if (found.empty()) {
    return std::nullopt;
  }
  return DecodeValue(m_lines[found.back()].value); // the last one counts
}

bool IniText::HasKeys(const std::string &group) const {
  return std::any_of(m_lines.begin(), m_lines.end(),
                     [&](const Line &l) { return l.kind == Line::Kind::Entry && l.group == group; });
}

void IniText::Set(const std::string &group, const std::string &key, const std::string &text) {
  const std::string value = EncodeValue(text);
  const std::string cr = m_crlf ? "\r" : "";
  Line entry{EscapeName(key) + "=" + value + cr, Line::Kind::Entry, group, key, value};
  const auto found = EntriesOf(group, key);
  if (!found.empty()) {
    Line &old = m_lines[found.back()];
    // The line keeps its own ending.
    const bool oldCr = !old.raw.empty() && old.raw.back() == '\r';
    entry.raw = EscapeName(key) + "=" + value + (oldCr ? "\r" : "");
    old = std::move(entry);
    return;
  }
  // After the last line of the group's last section, before its trailing blank lines.
  std::optional<std::size_t> end;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    if (m_lines[i].kind == Line::Kind::Section && m_lines[i].group == group) {
      end = i + 1;
      while (*end < m_lines.size() && m_lines[*end].kind != Line::Kind::Section) {
        ++*end;
      }
      while (*end > i + 1 && Trim(m_lines[*end - 1].raw).empty()) {
        --*end;
      }
    }
  }
  if (end) {
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(*end), std::move(entry));
    return;
  }
  if (!m_lines.empty() && !Trim(m_lines.back().raw).empty()) {
    m_lines.push_back(Line{cr, Line::Kind::Other, {}, {}, {}});
  }
  // Appended piece by piece: GCC 12 at -O2 takes "[" + name + "]" for an
  // overlapping copy (-Wrestrict, a false alarm).
  std::string section = "[";
  section += GroupName(group);
  section += "]";
  section += cr;
  m_lines.push_back(Line{std::move(section), Line::Kind::Section, group, {}, {}});
  m_lines.push_back(std::move(entry));
}

bool IniText::Remove(const std::string &group, const std::string &key) {
  const auto found = EntriesOf(group, key);
  for (auto it = found.rbegin(); it != found.rend(); ++it) {
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*it));
  }
  return !found.empty();
}

std::string IniText::Text() const {
  std::string out = m_byteOrderMark ? "\xEF\xBB\xBF" : "";
  for (const Line &l : m_lines) {
    out += l.raw;
    out += '\n';
  }
  return out;
}

std::string IniText::EncodeValue(const std::string &text) {
  std::string out = !text.empty() && text.front() == '@' ? "@" : ""; // "@" starts a stored variant
  bool quote = !text.empty() && (text.front() == ' ' || text.back() == ' ');
  bool escapeHexDigit = false; // after \x or \0, a hex digit would join the escape
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (escapeHexDigit && HexDigit(c) >= 0) {
      out += "\\x";
      out += kHexDigits[u >> 4];
      out += kHexDigits[u & 0xF];
      continue;
    }
    escapeHexDigit = false;
    static const std::string controls = std::string("\0\a\b\f\n\r\t\v", 8);
    static const char *letters = "0abfnrtv";
    if (const auto at = controls.find(c); at != std::string::npos) {
      out += '\\';
      out += letters[at];
      escapeHexDigit = c == '\0';
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u == 0x7F) {
      out += "\\x";
      out += kHexDigits[u >> 4];
      out += kHexDigits[u & 0xF];
      escapeHexDigit = true;
    } else {
      quote = quote || c == ';' || c == ',' || c == '=';
      out += c;
    }
  }
  return quote ? "\"" + out + "\"" : out;
}

IniText::Value IniText::DecodeValue(const std::string &raw) {
  std::string out;
  std::size_t kept = 0; // unquoted blanks at the end do not count
  bool quoted = false;
  std::size_t i = 0;
  while (i < raw.size() && IsBlank(raw[i])) {
    ++i;
  }
  while (i < raw.size()) {
    const char c = raw[i++];
    if (c == '"') {
      quoted = !quoted;
      kept = out.size();
      continue;
    }
    if (!quoted && c == ';') {
      break; // a comment
    }
    if (!quoted && c == ',') {
      return {false, {}}; // a list
    }
    if (c != '\\') {
      out += c;
      if (quoted || !IsBlank(c)) {
        kept = out.size();
      }
      continue;
    }
    if (i == raw.size()) {
      break;
    }
    const char e = raw[i++];
    static const std::string letters = "abfnrtv";
    static const std::string controls = "\a\b\f\n\r\t\v";
    if (const auto at = letters.find(e); at != std::string::npos) {
      out += controls[at];
    } else if (e == 'x') {
      AppendUtf8(out, static_cast<char32_t>(ReadDigits(raw, i, 16, 4)));
    } else if (e >= '0' && e <= '7') {
      --i;
      AppendUtf8(out, static_cast<char32_t>(ReadDigits(raw, i, 8, 3)));
    } else {
      out += e; // \" \' \? \\ and anything else: the character itself
    }
    kept = out.size();
  }
  out.resize(kept);
  if (out.rfind("@@", 0) == 0) {
    return {true, out.substr(1)};
  }
  if (out.rfind("@String(", 0) == 0 && out.back() == ')') {
    return {true, out.substr(8, out.size() - 9)};
  }
  if (!out.empty() && out.front() == '@' && out.back() == ')') {
    return {false, {}}; // a stored variant: a size, a byte array ...
  }
  return {true, out};
}

} // namespace tallyflow
