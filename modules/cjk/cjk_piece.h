// Piece cutting shared by the Korean and Chinese analyzers: the pending text
// (code points with their input byte offsets), the position reached, and the
// next piece: a sentence (up to its end mark), a clause cut at a comma or a
// blank when the sentence grows too long, or a silence tag "<silence=N>".
// Owns its copy of the text. Not thread-safe.
#ifndef CJK_PIECE_H
#define CJK_PIECE_H

#include <stdint.h>

#include <vector>

#include "modules/cjk/cjk_text.h"

namespace cjk {

struct Piece {
  enum Kind { kNone, kSpeech, kSilence };
  Kind kind = kNone;
  std::vector<uint32_t> chars;  // the piece's text (speech pieces)
  int silenceMs = 0;            // silence pieces
  bool normal = true;           // ended at a sentence or clause boundary
};

// Value of the key "silence" in the body of a tag (the text between '<' and
// '>'): the number after the last '=' whose preceding text is exactly the
// key; 0 when there is none.
int TagSilence(const std::vector<uint32_t>& body);

class PieceCutter {
 public:
  // maxChars: a sentence longer than this is cut at its last comma, else at
  // its last blank, else where it reached the limit (a forced cut).
  explicit PieceCutter(size_t maxChars) : maxChars_(maxChars) {}

  void Reset();
  void Start(Text text);
  bool pending() const { return pending_; }
  // Bytes of the pending text consumed so far (0 when nothing is pending).
  size_t consumed() const;
  // Cuts the next piece; after the last one pending() is false.
  Piece Next();

 private:
  size_t SkipSpace(size_t i) const;
  bool IsSentenceEnd(size_t i) const;

  size_t maxChars_;
  Text text_;
  size_t pos_ = 0;
  bool pending_ = false;
};

}  // namespace cjk

#endif
