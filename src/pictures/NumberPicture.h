#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallyflow {

// The user's separators; the program takes them from its locale.
struct NumberLocale {
  std::string thousands = ",";
  std::string decimal = ".";
};

// A format text such as "###,###,##0.#0 KB", parsed into its parts:
//  - `0` a digit place that always shows, `#` one that shows only when the
//    number has a digit there (the integer part is never limited by them);
//  - `,` between integer places groups the integer digits in threes;
//  - `.` the decimal point; the value is rounded to the fraction places,
//    halves away from zero, and shows every place up to the last `0` one;
//  - anything else is literal text, kept where it stands (before or after).
class NumberPicture {
public:
  explicit NumberPicture(std::string_view picture);

  // The text for `value`, or nothing for a value that is not finite.
  std::optional<std::string> Render(double value, const NumberLocale &locale) const;

private:
  std::string m_prefix;
  std::string m_suffix;
  int m_integerZeros = 0; // integer digits that always show
  bool m_grouping = false;
  int m_fractionPlaces = 0;
  int m_fractionZeros = 0; // places up to and including the last `0` one
};

// Renders `value` with `picture`.
std::optional<std::string> FormatNumber(double value, std::string_view picture, const NumberLocale &locale);

// Reads a rendered number back: optional blanks, an optional sign, digits
// with the locale's thousands separators, an optional decimal point and
// fraction, optional blanks. Anything else fails.
std::optional<double> ReadNumber(std::string_view text, const NumberLocale &locale);

} // namespace tallyflow
