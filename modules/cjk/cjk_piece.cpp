#include "modules/cjk/cjk_piece.h"

namespace cjk {

namespace {

const size_t kMaxTag = 64;

bool is_end_mark(uint32_t c) {
  c = FoldWidth(c);
  return c == '.' || c == '?' || c == '!' || c == 0x3002 /* 。 */ || c == 0x2026 /* … */;
}

bool is_comma(uint32_t c) {
  c = FoldWidth(c);
  return c == ',' || c == ';' || c == 0x3001 /* 、 */;
}

bool is_closing(uint32_t c) {
  c = FoldWidth(c);
  return c == '"' || c == '\'' || c == ')' || c == ']' || c == 0x201D || c == 0x2019 ||
         c == 0x300D || c == 0x300F;
}

}  // namespace

int TagSilence(const std::vector<uint32_t>& body) {
  static const char kKey[] = "silence";
  const size_t keyLength = sizeof(kKey) - 1;
  int value = 0;
  for (size_t i = 0; i < body.size(); i++) {
    if (body[i] != '=' || i != keyLength) continue;
    bool same = true;
    for (size_t k = 0; k < keyLength; k++) same = same && body[k] == (uint32_t)kKey[k];
    if (!same) continue;
    long v = 0;
    for (size_t k = i + 1; k < body.size() && IsAsciiDigit(body[k]) && v < 3600000; k++)
      v = v * 10 + (long)(body[k] - '0');
    value = (int)v;
  }
  return value;
}

void PieceCutter::Reset() {
  text_ = Text();
  pos_ = 0;
  pending_ = false;
}

void PieceCutter::Start(Text text) {
  text_ = std::move(text);
  pos_ = SkipSpace(0);
  pending_ = pos_ < text_.size();
}

size_t PieceCutter::consumed() const {
  if (!pending_ || text_.offset.empty()) return 0;
  return text_.offset[pos_ < text_.size() ? pos_ : text_.size()];
}

size_t PieceCutter::SkipSpace(size_t i) const {
  while (i < text_.size() && (IsSpace(text_.cp[i]) || text_.cp[i] < 0x20)) i++;
  return i;
}

bool PieceCutter::IsSentenceEnd(size_t i) const {
  if (!is_end_mark(text_.cp[i])) return false;
  size_t j = i + 1;
  while (j < text_.size() && (is_end_mark(text_.cp[j]) || is_closing(text_.cp[j]))) j++;
  if (j >= text_.size()) return true;
  // A full stop between digits or letters ("3.5", "U.S") is no end.
  uint32_t c = FoldWidth(text_.cp[i]);
  if (c == '.' && !IsSpace(text_.cp[j]) && text_.cp[j] >= 0x20) return false;
  return true;
}

Piece PieceCutter::Next() {
  Piece piece;
  if (!pending_) return piece;
  size_t n = text_.size();
  size_t i = pos_;
  if (text_.cp[i] == '<') {
    size_t close = i + 1;
    while (close < n && close - i <= kMaxTag && text_.cp[close] != '>' && text_.cp[close] != '<')
      close++;
    if (close < n && text_.cp[close] == '>') {
      std::vector<uint32_t> body(text_.cp.begin() + i + 1, text_.cp.begin() + close);
      piece.kind = Piece::kSilence;
      piece.silenceMs = TagSilence(body);
      pos_ = SkipSpace(close + 1);
      pending_ = pos_ < n;
      return piece;
    }
  }
  size_t end = n;       // index after the piece
  size_t lastComma = 0, lastBlank = 0;
  bool forced = false;
  for (size_t k = i; k < n; k++) {
    uint32_t c = text_.cp[k];
    if (c == '<' && k > i) {
      end = k;
      break;
    }
    if (c == '\n' && k + 1 < n && text_.cp[k + 1] == '\n') {  // paragraph break
      end = k;
      break;
    }
    if (IsSentenceEnd(k)) {
      end = k + 1;
      while (end < n && (is_end_mark(text_.cp[end]) || is_closing(text_.cp[end]))) end++;
      break;
    }
    if (is_comma(c)) lastComma = k + 1;
    if (IsSpace(c)) lastBlank = k;
    if (k - i + 1 >= maxChars_) {
      if (lastComma > i) {
        end = lastComma;
      } else if (lastBlank > i) {
        end = lastBlank;
        forced = true;
      } else {
        end = k + 1;
        forced = true;
      }
      break;
    }
  }
  piece.kind = Piece::kSpeech;
  piece.normal = !forced;
  piece.chars.assign(text_.cp.begin() + i, text_.cp.begin() + end);
  pos_ = SkipSpace(end);
  pending_ = pos_ < n;
  return piece;
}

}  // namespace cjk
