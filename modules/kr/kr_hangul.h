// Korean pronunciation of Hangul: syllables of a phrase (eojeols between
// pauses) to phones of the Korean phone set, with the standard pronunciation
// rules applied in order: vowel simplifications, palatalisation, linking,
// ㅎ aspiration and deletion, cluster simplification, coda neutralisation,
// tensification, ㄹ-nasalisation and nasal assimilation, lateralisation, and
// the allophones of lenis stops, ㅎ and ㄹ. Pure functions; no state.
#ifndef KR_HANGUL_H
#define KR_HANGUL_H

#include <stdint.h>

#include <string>
#include <vector>

namespace kr {

inline bool IsHangulSyllable(uint32_t c) { return c >= 0xAC00 && c <= 0xD7A3; }

struct PhonSyllable {
  std::vector<std::string> phones;
  std::string vowel;   // the vowel phone
  bool coda = false;   // the syllable ends in a consonant
};

// words: the eojeols of one phrase, each a string of Hangul syllables (any
// other code point is ignored). Returns the syllables of each word.
std::vector<std::vector<PhonSyllable>> Pronounce(const std::vector<std::u32string>& words);

// The phones of one eojeol spoken alone (a phrase of one word), joined by blanks.
std::string PronounceWord(const std::u32string& word);

}  // namespace kr

#endif
