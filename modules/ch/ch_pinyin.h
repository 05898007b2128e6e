// Mandarin syllables: numbered pinyin ("zhong1", "lv4", "de5") split into
// initial, final and tone, and the tone sandhi of a phrase (third-tone
// chains, 一 and 不). Pure functions; no state.
#ifndef CH_PINYIN_H
#define CH_PINYIN_H

#include <string>
#include <vector>

namespace ch {

struct PinyinSyllable {
  std::string initial;  // "" for a zero initial
  std::string final_;   // toneless final: a, ai, ..., ii (zi ci si), iii (zhi chi shi ri), v, ve, van, vn
  int tone = 5;         // 1..4, 5 neutral
  bool ok = false;      // the text was a pinyin syllable
};

// Parses one numbered pinyin syllable (ü may be written ü, v or u:).
PinyinSyllable ParsePinyin(const std::string& numbered);
// The numbered pinyin of initial + final + tone ("zh" + "ong" + 1 -> "zhong1").
std::string Spell(const std::string& initial, const std::string& final_, int tone);

struct SandhiSyllable {
  int tone = 5;          // lexical tone on input, surface tone on output
  std::string hanzi;     // the character (UTF-8)
  bool numeric = false;  // part of a number reading (一 keeps its tone there)
  bool wordEnd = false;  // last syllable of its word
};

// Applies tone sandhi to the syllables of one phrase (no pause inside):
// 不 before a fourth tone becomes 2; 一 becomes 2 before a fourth tone and 4
// before the other tones, except at a word end, after 第 and inside numbers
// (but before 百 千 万 亿 it changes there too);
// in a run of third tones every syllable but the last becomes 2.
void ApplySandhi(std::vector<SandhiSyllable>& syls);

}  // namespace ch

#endif
