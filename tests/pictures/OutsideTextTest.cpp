#include "pictures/OutsideText.h"

#include <gtest/gtest.h>

namespace tallyflow {
namespace {

const std::string FSI = "\xE2\x81\xA8"; // U+2068
const std::string PDI = "\xE2\x81\xA9"; // U+2069
const std::string RLO = "\xE2\x80\xAE"; // U+202E
const std::string RLI = "\xE2\x81\xA7"; // U+2067
const std::string FFFD = "\xEF\xBF\xBD";

TEST(OutsideText, ControlsShowAndDirectionStaysInside) {
  const struct {
    std::string in, out;
    const char *what;
  } cases[] = {
      {"eth0", "eth0", "plain ASCII has no direction to leak"},
      {"", "", "nothing"},
      {RLO + "abc", FSI + FFFD + "abc" + PDI, "an override shows, and turns nothing round"},
      {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", FSI + "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D" + PDI, "Hebrew"},
      {"J\xC3\xBCrgen \xCE\xB1\xD0\x96\xE6\x9D\xB1", "J\xC3\xBCrgen \xCE\xB1\xD0\x96\xE6\x9D\xB1",
       "Latin, Greek, Cyrillic and CJK letters have no direction to leak"},
      {"a\xE2\x80\x8F", FSI + "a\xE2\x80\x8F" + PDI, "a right-to-left mark sets a direction"},
      {"a\nb\tc\rd", "a\xE2\x90\x8A" + std::string("b\xE2\x90\x89") + "c\xE2\x90\x8D" + "d",
       "C0 controls as symbols"},
      {std::string("x\0y", 3) + "\x7F", "x\xE2\x90\x80y\xE2\x90\xA1", "NUL and DEL"},
      {"a\xC2\x85"
       "b\xE2\x80\xA8"
       "c\xE2\x80\xA9",
       "a" + FFFD + "b" + FFFD + "c" + FFFD, "C1 controls and the line and paragraph separators"},
      {"x" + PDI + RLI + "y", FSI + "x" + FFFD + FFFD + "y" + PDI, "isolates, a PDI that would close ours"},
      {"\xFF"
       "a\xC0\xAF"
       "\xED\xA0\x80",
       FFFD + "a" + FFFD + FFFD + FFFD + FFFD + FFFD,
       "bytes that are not UTF-8, an overlong slash, a surrogate"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ShownAsOutsideText(c.in), c.out) << c.what;
    std::string appended = "kept ";
    AppendShownAsOutsideText(appended, c.in);
    EXPECT_EQ(appended, "kept " + c.out) << c.what;
  }
}

} // namespace
} // namespace tallyflow
