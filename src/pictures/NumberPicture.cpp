#include "NumberPicture.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tallyflow {
namespace {

bool IsPlace(char c) { return c == '0' || c == '#'; }

// The decimal digits of |value| as a person would write it: the shortest
// text that reads back as the same double, expanded to plain positional
// digits. `point` is how many of `digits` stand before the decimal point
// (it may be negative or exceed the digit count).
struct Decimal {
  std::string digits;
  int point = 0;
};

Decimal ShortestDecimal(double value) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
  const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  const auto e = text.find('e');
  Decimal d;
  for (char c : text.substr(0, e)) {
    if (c != '.') {
      d.digits += c;
    }
  }
  d.point = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
  return d;
}

// Rounds to `places` fraction digits, halves away from zero, and returns the
// integer digits (at least "0") and exactly `places` fraction digits.
void RoundDecimal(const Decimal &d, int places, std::string &integer, std::string &fraction) {
  // Positional digits from the point's left up to `places` after it.
  const int keep = d.point + places; // digits of d.digits kept
  std::string kept;
  for (int i = 0; i < keep; ++i) {
    kept += (i >= 0 && i < static_cast<int>(d.digits.size())) ? d.digits[static_cast<std::size_t>(i)] : '0';
  }
  const bool roundUp = keep >= 0 && keep < static_cast<int>(d.digits.size()) &&
                       d.digits[static_cast<std::size_t>(keep)] >= '5';
  if (kept.empty()) {
    kept.push_back('0'); // the value lies wholly below the last kept place
  }
  if (roundUp) {
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') {
      kept[static_cast<std::size_t>(i--)] = '0';
    }
    if (i >= 0) {
      ++kept[static_cast<std::size_t>(i)];
    } else {
      kept.insert(kept.begin(), '1');
    }
  }
  // Pad so that there are at least `places` fraction digits and one integer.
  while (static_cast<int>(kept.size()) < places + 1) {
    kept.insert(kept.begin(), '0');
  }
  integer = kept.substr(0, kept.size() - static_cast<std::size_t>(places));
  fraction = kept.substr(kept.size() - static_cast<std::size_t>(places));
  const auto nonZero = integer.find_first_not_of('0');
  integer = nonZero == std::string::npos ? "0" : integer.substr(nonZero);
}

} // namespace

NumberPicture::NumberPicture(std::string_view picture) {
  std::size_t first = 0;
  while (first < picture.size() && !IsPlace(picture[first]) && picture[first] != '.') {
    ++first;
  }
  m_prefix = std::string(picture.substr(0, first));
  std::size_t i = first;
  bool seenPlace = false;
  for (; i < picture.size(); ++i) {
    const char c = picture[i];
    if (IsPlace(c)) {
      seenPlace = true;
      if (c == '0') {
        ++m_integerZeros;
      }
    } else if (c == ',' && seenPlace && i + 1 < picture.size() && IsPlace(picture[i + 1])) {
      m_grouping = true;
    } else {
      break;
    }
  }
  if (i < picture.size() && picture[i] == '.') {
    for (++i; i < picture.size() && IsPlace(picture[i]); ++i) {
      ++m_fractionPlaces;
      if (picture[i] == '0') {
        m_fractionZeros = m_fractionPlaces;
      }
    }
  }
  m_suffix = std::string(picture.substr(i));
}

std::optional<std::string> NumberPicture::Render(double value, const NumberLocale &locale) const {
  if (!std::isfinite(value)) {
    return std::nullopt;
  }
  std::string integer;
  std::string fraction;
  RoundDecimal(ShortestDecimal(value), m_fractionPlaces, integer, fraction);

  // Trailing `#` places beyond the last `0` place show only non-zero digits.
  while (static_cast<int>(fraction.size()) > m_fractionZeros && fraction.back() == '0') {
    fraction.pop_back();
  }
  const bool zero = integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
  if (integer == "0" && m_integerZeros == 0) {
    integer.clear();
  }
  while (static_cast<int>(integer.size()) < m_integerZeros) {
    integer.insert(integer.begin(), '0');
  }

  std::string out = m_prefix;
  if (value < 0 && !zero) {
    out += '-';
  }
  for (std::size_t k = 0; k < integer.size(); ++k) {
    if (m_grouping && k > 0 && (integer.size() - k) % 3 == 0) {
      out += locale.thousands;
    }
    out += integer[k];
  }
  if (!fraction.empty()) {
    out += locale.decimal;
    out += fraction;
  }
  out += m_suffix;
  return out;
}

std::optional<std::string> FormatNumber(double value, std::string_view picture, const NumberLocale &locale) {
  return NumberPicture(picture).Render(value, locale);
}

std::optional<double> ReadNumber(std::string_view text, const NumberLocale &locale) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && blank(text.back())) {
    text.remove_suffix(1);
  }
  std::string plain; // sign, digits and '.' only, for from_chars
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool digits = false;
  bool point = false;
  while (!text.empty()) {
    const char c = text.front();
    if (c >= '0' && c <= '9') {
      plain += c;
      digits = true;
      text.remove_prefix(1);
    } else if (!point && !locale.decimal.empty() && text.starts_with(locale.decimal)) {
      plain += '.';
      point = true;
      text.remove_prefix(locale.decimal.size());
    } else if (!point && digits && !locale.thousands.empty() && text.starts_with(locale.thousands)) {
      text.remove_prefix(locale.thousands.size());
    } else {
      return std::nullopt;
    }
  }
  if (!digits) {
    return std::nullopt;
  }
  double value = 0;
  const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (res.ec != std::errc() || res.ptr != plain.data() + plain.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

} // namespace tallyflow
