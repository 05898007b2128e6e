#include "modules/ru/ru_translit.h"

#include <string.h>

namespace {

// Cyrillic consonants (and э) after which y is the vowel ы ("my": мы).
const char* const kConsonants[] = {"б", "в", "г", "д", "ж", "й", "к", "л", "м", "н", "п",
                                   "р", "с", "т", "ф", "х", "ц", "ч", "ш", "щ", "э"};

// Letter groups first (the longest of those that start alike first), then
// single letters.
struct Mapping {
  const char* latin;
  const char* cyrillic;
};
const Mapping kGroups[] = {{"kh", "х"}, {"ts", "ц"}, {"ch", "ч"}, {"shch", "щ"}, {"sh", "ш"}, {"ye", "е"},
                           {"yu", "ю"}, {"ya", "я"}, {"zh", "ж"}};
const Mapping kLetters[] = {{"a", "а"}, {"b", "б"}, {"v", "в"}, {"g", "г"}, {"d", "д"}, {"z", "з"},
                            {"i", "и"}, {"k", "к"}, {"l", "л"}, {"m", "м"}, {"n", "н"}, {"o", "о"},
                            {"p", "п"}, {"r", "р"}, {"s", "с"}, {"t", "т"}, {"u", "у"}, {"f", "ф"}};

bool after_consonant(const std::string& out) {
  for (const char* c : kConsonants) {
    const size_t n = strlen(c);
    if (out.size() >= n && out.compare(out.size() - n, n, c) == 0) return true;
  }
  return false;
}

}  // namespace

std::string ru_latin_to_cyrillic(const std::string& word) {
  std::string out;
  for (size_t i = 0; i < word.size();) {
    const bool initial = i == 0;
    bool done = false;
    for (const Mapping& m : kGroups) {
      const size_t n = strlen(m.latin);
      if (word.compare(i, n, m.latin) == 0) {
        out += m.cyrillic;
        i += n;
        done = true;
        break;
      }
    }
    if (done) continue;
    const char c = word[i];
    const char next = i + 1 < word.size() ? word[i + 1] : '\0';
    if (c == 'y') {
      // "yy" ending the word is ый; y opening a word before a consonant, or
      // after a consonant, is ы; otherwise й.
      if (next == 'y' && i + 2 == word.size()) {
        out += "ый";
        i += 2;
        continue;
      }
      const bool vowelNext = next && strchr("aeiouy", next);
      out += (initial && !vowelNext) || after_consonant(out) ? "ы" : "й";
      ++i;
      continue;
    }
    if (c == 'e') {
      out += initial ? "э" : "е";
      ++i;
      continue;
    }
    for (const Mapping& m : kLetters) {
      if (m.latin[0] == c) {
        out += m.cyrillic;
        done = true;
        break;
      }
    }
    if (!done) out += c;
    ++i;
  }
  return out;
}
