#include "pictures/NumberPicture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace tallyflow {
namespace {

bool IsPlace(char c) { return c == '0' || c == '#'; }

// The decimal digits of |value| as a person would write it: the shortest
// text that reads back as the same double, expanded to plain positional
// digits. `point` is how many of the digits stand before the decimal point
// (it may be negative or exceed the digit count).
struct Decimal {
  char digits[24]; // a double needs at most 17
  std::size_t count = 0;
  int point = 0;
};

Decimal ShortestDecimal(double value) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
  Decimal d;
  const char *p = buf;
  for (; p != res.ptr && *p != 'e'; ++p) {
    if (*p != '.') {
      d.digits[d.count++] = *p;
    }
  }
  int exponent = 0;
  if (p != res.ptr && ++p != res.ptr && *p == '+') {
    ++p; // from_chars reads a '-' but not a '+'
  }
  std::from_chars(p, res.ptr, exponent);
  d.point = exponent + 1;
  return d;
}

// Rounds to `places` fraction digits, halves away from zero: the digits from
// the first integer place down to the last fraction place, at least one
// integer digit among them (leading zeros included).
void RoundDecimal(const Decimal &d, int places, std::string &kept) {
  const int keep = d.point + places; // digits of d.digits kept
  if (keep > 0) {
    kept.assign(static_cast<std::size_t>(keep), '0');
    std::copy_n(d.digits, std::min(static_cast<std::size_t>(keep), d.count), kept.begin());
  } else {
    kept.assign(1, '0'); // the value lies wholly below the last kept place
  }
  const bool roundUp = keep >= 0 && static_cast<std::size_t>(keep) < d.count &&
                       d.digits[static_cast<std::size_t>(keep)] >= '5';
  if (roundUp) {
    auto i = static_cast<std::ptrdiff_t>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') {
      kept[static_cast<std::size_t>(i--)] = '0';
    }
    if (i >= 0) {
      ++kept[static_cast<std::size_t>(i)];
    } else {
      kept.insert(kept.begin(), '1');
    }
  }
  const auto wanted = static_cast<std::size_t>(places) + 1;
  if (kept.size() < wanted) {
    kept.insert(0, wanted - kept.size(), '0');
  }
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
  // Rendered on every tick for every figure: the digits are worked on in
  // place, and the text is put together in one buffer.
  std::string kept;
  RoundDecimal(ShortestDecimal(value), m_fractionPlaces, kept);
  const std::string_view all(kept);
  std::string_view integer = all.substr(0, all.size() - static_cast<std::size_t>(m_fractionPlaces));
  std::string_view fraction = all.substr(integer.size());
  const auto nonZero = integer.find_first_not_of('0');
  integer = nonZero == std::string_view::npos ? std::string_view("0") : integer.substr(nonZero);

  // Trailing `#` places beyond the last `0` place show only non-zero digits.
  while (static_cast<int>(fraction.size()) > m_fractionZeros && fraction.back() == '0') {
    fraction.remove_suffix(1);
  }
  const bool zero = integer == "0" && fraction.find_first_not_of('0') == std::string_view::npos;
  if (integer == "0" && m_integerZeros == 0) {
    integer = {};
  }
  const std::size_t padding =
      static_cast<std::size_t>(std::max(0, m_integerZeros - static_cast<int>(integer.size())));
  const std::size_t digits = padding + integer.size();

  std::string out;
  out.reserve(m_prefix.size() + 1 + digits + (m_grouping ? digits / 3 * locale.thousands.size() : 0) +
              locale.decimal.size() + fraction.size() + m_suffix.size());
  out += m_prefix;
  if (value < 0 && !zero) {
    out += '-';
  }
  for (std::size_t k = 0; k < digits; ++k) {
    if (m_grouping && k > 0 && (digits - k) % 3 == 0) {
      out += locale.thousands;
    }
    out += k < padding ? '0' : integer[k - padding];
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
