// The number rule interpreters of the module kit on arbitrary rule texts: the
// input is plural rules, a NUL byte, spellout rules. Texts the parsers take
// are then asked for every rule set they name with integers of every size,
// negatives and decimals, so that rule sets that name each other, rules
// below the first base value and fraction rules are all reached.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "modules/common/eu_numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input((const char*)data, size);
  const size_t split = input.find('\0');
  const std::string pluralText = split == std::string::npos ? "other: " : input.substr(0, split);
  const std::string spelloutText = split == std::string::npos ? input : input.substr(split + 1);
  eu_plural_rules plurals;
  std::string error;
  if (!plurals.parse(pluralText.c_str(), &error)) plurals.parse("other: ", &error);
  static const int64_t kNumbers[] = {0, 1, 2, 5, 11, 21, 100, 101, 1999, 1000000, 123456789012345LL, -1, -42,
                                     INT64_MAX, INT64_MIN};
  for (int64_t n : kNumbers) plurals.select(n);
  for (char mark : {'.', ','}) {
    eu_spellout spellout;
    if (!spellout.parse(spelloutText.c_str(), &plurals, mark, &error)) continue;
    // The rule set names, as the text writes them at a line start.
    for (size_t at = 0; (at = spelloutText.find('%', at)) != std::string::npos; ++at) {
      const size_t colon = spelloutText.find(':', at);
      if (colon == std::string::npos) break;
      const std::string name = spelloutText.substr(at, colon - at);
      if (!spellout.has_rule_set(name)) continue;
      std::string out;
      for (int64_t n : kNumbers) spellout.format(name, n, &out);
      spellout.format_decimal(name, "0", "5", &out);
      spellout.format_decimal(name, "12", "0034", &out);
      spellout.format_decimal(name, "999999999999999", "999999999999", &out);
    }
  }
  return 0;
}
