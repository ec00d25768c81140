#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tallyflow {

// An INI file edited line by line, in the dialect Qt's QSettings writes
// ("[Group]", "key=value", %-escaped key names, quoted and \-escaped values,
// top-level keys under [General]). Changing a value rewrites that one line;
// everything else, groups and keys of other programs, comments and lines
// that are not INI at all, stays byte for byte. A leading UTF-8 byte-order
// mark is passed over, as QSettings does, and kept; a rewritten line keeps
// its CR, and new lines in a CR LF file get one.
class IniText {
public:
  explicit IniText(const std::string &text = {});

  // What a key holds: nothing when it is missing; a value that is not a
  // plain text (a list, a stored variant) reads as not a text.
  struct Value {
    bool isText = true;
    std::string text;
  };
  std::optional<Value> Get(const std::string &group, const std::string &key) const;
  // True when the group holds at least one key.
  bool HasKeys(const std::string &group) const;
  void Set(const std::string &group, const std::string &key, const std::string &text);
  // False when there was nothing to remove.
  bool Remove(const std::string &group, const std::string &key);

  std::string Text() const;

  // A value line's right side, and back. Exposed for the tests.
  static std::string EncodeValue(const std::string &text);
  static Value DecodeValue(const std::string &raw);

private:
  struct Line {
    std::string raw;
    enum class Kind { Other, Section, Entry } kind = Kind::Other;
    std::string group; // the section's group, or the group the line is in
    std::string key;   // an entry's key, unescaped
    std::string value; // an entry's right side, as written
  };
  // Entry lines of a group, in file order.
  std::vector<std::size_t> EntriesOf(const std::string &group, const std::string &key) const;

  std::vector<Line> m_lines;
  bool m_byteOrderMark = false;
  bool m_crlf = false; // the file's first line ends in CR LF
};

} // namespace tallyflow
