// Korean analysis of one piece of text: normalisation, phrasing by spacing,
// particles and endings, pronunciation, accentual-phrase tones and the
// Korean full-context labels. KoreanAnalysis owns the tables read from the
// voice directory (Ko/config.ini, Ko/main.model, Ko/vxnkr.pb under the model
// directory, symbol.ini under the data directory); after Load it is only
// read, so one object may analyse pieces one after another. Not thread-safe.
#ifndef KR_ANALYZER_H
#define KR_ANALYZER_H

#include <stdint.h>

#include <string>
#include <vector>

#include "modules/cjk/cjk_label.h"
#include "modules/kr/kr_normalize.h"

namespace kr {

struct PieceAnalysis {
  std::vector<std::string> words;   // normalised eojeols (UTF-8), "#l"/"#s" for breaks
  std::vector<std::string> phones;  // with the pause symbols
  std::vector<std::string> reading; // the phones without the pauses at both ends
  std::vector<std::string> labels;
  char uttType = 'A';               // 'A' statement, 'B' question
};

class KoreanAnalysis {
 public:
  // modelDir and dataDir end with '/'. False with a message in error() when a
  // file is missing or malformed.
  bool Load(const std::string& modelDir, const std::string& dataDir);
  const std::string& error() const { return error_; }
  bool loaded() const { return loaded_; }

  // sentenceEnd: the piece ends a sentence (else it was cut at a comma or forced).
  PieceAnalysis Analyze(const std::vector<uint32_t>& piece, bool sentenceEnd) const;

  const KoreanTables& tables() const { return tables_; }

 private:
  struct Ending {
    std::u32string text;
    std::string cls;
    int strength;  // 0 none, 1 weak, 2 a break when the phrase is long, 3 a likely break
  };
  std::string WordClass(const NormWord& w, int* strength) const;

  KoreanTables tables_;
  std::vector<Ending> endings_;  // particles and endings, longest first
  int maxPhraseSyllables_ = 14;
  int minBreakSyllables_ = 6;
  bool loaded_ = false;
  std::string error_;
};

}  // namespace kr

#endif
