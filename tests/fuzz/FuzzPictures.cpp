// The number-picture renderer and reader fed arbitrary pictures, numbers
// and texts.
#include "pictures/NumberPicture.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 8) {
    return 0;
  }
  double value;
  std::memcpy(&value, data, 8);
  const std::string rest(reinterpret_cast<const char *>(data + 8), size - 8);
  const auto cut = rest.find('\x01');
  const std::string picture = rest.substr(0, cut);
  const std::string text = cut == std::string::npos ? rest : rest.substr(cut + 1);
  const tallyflow::NumberLocale locales[] = {{",", "."}, {".", ","}, {"\xC2\xA0", ","}, {"", "."}};
  for (const auto &locale : locales) {
    (void)tallyflow::FormatNumber(value, picture, locale);
    (void)tallyflow::ReadNumber(text, locale);
    // The program's own picture always reads back to the value, rounded.
    const auto shown = tallyflow::FormatNumber(value, "###,###,###,###,#0.#0", locale);
    if (std::isfinite(value) != shown.has_value()) {
      std::abort();
    }
    if (shown && std::fabs(value) < 1e12 && !locale.thousands.empty() && locale.thousands != locale.decimal) {
      const auto back = tallyflow::ReadNumber(*shown, locale);
      if (!back || std::fabs(*back - value) > 0.005 + 1e-9 * std::fabs(value)) {
        std::abort();
      }
    }
  }
  return 0;
}
