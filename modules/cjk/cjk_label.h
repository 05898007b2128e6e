// Utterance structure of one piece (phrases of words of syllables of phones)
// and the full-context label writer shared by the Korean and Chinese
// analyzers. Plain values owned by the caller; the writer keeps no state.
//
// Label form (one per phone and per pause; docs/labels-ko.md, labels-zh.md):
// p1^p2-p3+p4=p5/A:a1_a2_a3/B:b1-b2-b3@b4-b5&b6-b7#b8-b9|b10/C:c1+c2+c3
// /D:d1_d2/E:e1+e2@e3+e4&e5+e6/F:f1_f2/G:g1_g2/H:h1=h2@h3=h4|h5/I:i1=i2
// /J:j1+j2-j3/K:k1_k2
#ifndef CJK_LABEL_H
#define CJK_LABEL_H

#include <string>
#include <vector>

namespace cjk {

struct Syllable {
  std::vector<std::string> phones;
  std::string f1, f2;   // two language fields (Korean: tone target, coda; Chinese: tones)
  std::string nucleus;  // vowel (Korean) or final (Chinese)
};

struct Word {
  std::string text;     // normalised spelling (UTF-8)
  std::string cls;      // word class
  int group = 0;        // accentual phrase (Korean) or prosodic word (Chinese) within the phrase
  std::vector<Syllable> syls;
};

struct Phrase {
  std::vector<Word> words;
  std::string endTone;      // boundary tone at the phrase end
  std::string pauseAfter;   // pause symbol after the phrase ("" for none)
};

struct Utterance {
  std::vector<Phrase> phrases;
  std::string startPause;   // pause symbols around the piece
  std::string endPause;
};

// One label per phone, with the pauses at the start, between phrases and at
// the end. Phrases without syllables are skipped.
std::vector<std::string> WriteLabels(const Utterance& utt);

// Phones of the utterance in order (pauses included), for checking tools.
std::vector<std::string> PhoneSequence(const Utterance& utt);

}  // namespace cjk

#endif
