#pragma once

namespace tallyflow {

// Upper-case hexadecimal digits, by value: kHexDigits[0xC] is 'C'.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace tallyflow
