// Chinese (Mandarin) analysis of one piece of UTF-8 text: numbers, times,
// dates and money read in Chinese (CLDR spellout and our token rules), Latin
// letters and words, word segmentation (by the costs of ICU's CJK word
// dictionary, generated into ch_tables), pinyin from the CLDR Han-Latin
// transform (generated likewise) overridden by the lexicon's polyphonic
// words and the surname list, tone sandhi, prosodic words and phrases, and
// the Chinese full-context labels. ChineseAnalysis owns the tables of the
// seven files under Ch/LangCN/ and the number rules; after
// Load, Analyze only reads them except for a cache of character readings.
// Not thread-safe.
#ifndef CH_ANALYZER_H
#define CH_ANALYZER_H

#include <stdint.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ch {

struct PieceAnalysis {
  std::vector<std::string> words;    // segmented words (UTF-8), "|" for phrase breaks
  std::vector<std::string> reading;  // pinyin with surface tones, one per syllable
  std::vector<std::string> phones;   // initials and finals with the pauses
  std::vector<std::string> labels;
  char uttType = 'A';
};

class ChineseAnalysis {
 public:
  ChineseAnalysis();
  ~ChineseAnalysis();
  ChineseAnalysis(const ChineseAnalysis&) = delete;
  ChineseAnalysis& operator=(const ChineseAnalysis&) = delete;

  // dir: the Ch/LangCN directory (with or without a final '/'). False with a
  // message in error() when a file is missing or malformed.
  bool Load(const std::string& dir);
  const std::string& error() const { return error_; }
  bool loaded() const { return loaded_; }

  PieceAnalysis Analyze(const std::vector<uint32_t>& piece, bool sentenceEnd) const;

  // Chinese reading of a whole number given as digits (exposed for the tests).
  std::u32string Cardinal(const std::string& digits) const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
  bool loaded_ = false;
  std::string error_;
};

}  // namespace ch

#endif
