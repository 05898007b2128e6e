// Korean text normalisation: a piece of text (code points) to eojeols of
// Hangul, reading numbers (sino-Korean or native, chosen by the counter that
// follows), clock times, dates, money, decimals, ranges and phone numbers,
// Latin letters, acronyms and listed words, and symbols in Korean. The
// tables come from the module's resources (KoreanTables, filled by the
// analyzer); normalisation itself keeps no state.
#ifndef KR_NORMALIZE_H
#define KR_NORMALIZE_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

namespace kr {

struct KoreanTables {
  std::map<std::u32string, bool> counters;          // counter -> read with native numbers
  std::map<std::string, std::u32string> letters;    // "A" -> 에이
  std::map<std::string, std::u32string> latinWords; // lower-case Latin word -> reading
  std::map<uint32_t, std::u32string> symbols;       // symbol -> name
  std::map<std::u32string, std::u32string> respell; // written word start -> pronounced spelling
  std::map<uint32_t, std::u32string> currencies;    // currency sign -> unit name
};

struct NormWord {
  std::u32string text;   // Hangul only
  bool number = false;   // made from digits
  bool breakAfter = false;  // a comma or other clause mark follows
};

std::vector<NormWord> Normalize(const std::vector<uint32_t>& piece, const KoreanTables& tables);

// Number readings (exposed for the tests).
std::u32string SinoNumber(const std::string& digits);
// Native reading of 1..99; attributive: the forms before a counter (한, 두, 세, 네, 스무).
std::u32string NativeNumber(int n, bool attributive);
std::u32string DigitByDigit(const std::string& digits);

}  // namespace kr

#endif
