// UTF-8 iteration and emoji substitution; see VXN_preprocessing_emoji.h.
#include "emoji/VXN_preprocessing_emoji.h"

#include <string.h>

#include "emoji/VXN_preprocessing_emoji_names.h"

namespace {

const uint32_t kZeroWidthJoiner = 0x200D;

inline bool is_continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

CUtf8Iterator::CUtf8Iterator(const char* text)
    : code_point_(0), previous_(text), cursor_(text), invalid_(false) {}

uint32_t CUtf8Iterator::next() {
  invalid_ = false;
  const unsigned char* s = (const unsigned char*)cursor_;
  if (!s || *s == 0) {
    previous_ = cursor_;
    code_point_ = 0;
    return 0;
  }
  const unsigned char b = s[0];
  int length = 1;
  uint32_t cp = b;
  if (b >= 0x80) {
    int trail;
    if ((b & 0xE0) == 0xC0) {
      trail = 1;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      trail = 2;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      trail = 3;
      cp = b & 0x07;
    } else {
      trail = -1;
    }
    // Continuation bytes are checked one by one, so the terminator stops the
    // scan before anything past it is read.
    for (int i = 1; i <= trail; ++i) {
      if (!is_continuation(s[i])) {
        trail = -1;
        break;
      }
      cp = (cp << 6) | (s[i] & 0x3F);
    }
    if (trail < 0) {
      invalid_ = true;
      cp = b;
    } else {
      length = 1 + trail;
    }
  }
  previous_ = cursor_;
  cursor_ += length;
  code_point_ = cp;
  return cp;
}

bool is_emoji(uint32_t cp) {
  return (cp >= 0x2600 && cp <= 0x27BF) || (cp >= 0x1F300 && cp <= 0x1F64F) ||
         (cp >= 0x1F900 && cp <= 0x1F9FF);
}

CUtf8EmojiTransducer::CUtf8EmojiTransducer(int language, const char* text)
    : language_(language),
      changed_(false),
      source_(text ? text : ""),
      begin_(text ? text : ""),
      iterator_(begin_),
      pending_(begin_) {}

const std::string& CUtf8EmojiTransducer::transform() {
  iterator_ = CUtf8Iterator(begin_);
  pending_ = begin_;
  changed_ = false;
  output_.clear();
  sequence_.clear();
  for (uint32_t cp = iterator_.next(); cp != 0; cp = iterator_.next()) {
    const auto range = iterator_.current_encoded_range();
    const Utf8CharacterView view{range.first, range.second, cp};
    if (cp == kZeroWidthJoiner) {
      sequence_.push_back(view);
      // A joiner that does not follow an emoji stands alone.
      if (sequence_.size() == 1) discharge();
    } else if (is_emoji(cp)) {
      if (!sequence_.empty() && sequence_.back().code_point != kZeroWidthJoiner) discharge();
      sequence_.push_back(view);
    } else if (!sequence_.empty()) {
      discharge();
    }
  }
  if (!sequence_.empty()) discharge();
  if (pending_ == begin_)
    output_ = source_;
  else
    output_.append(pending_, begin_ + strlen(begin_));
  return output_;
}

void CUtf8EmojiTransducer::discharge() {
  if (sequence_.empty()) return;
  const char* first = sequence_.front().begin;
  const char* last = sequence_.back().end;
  output_.append(pending_, first);
  const std::string key(first, last);
  const std::string name = get_emoji_name(key, language_);
  if (!name.empty()) {
    changed_ = true;
    output_ += ' ';
    output_ += name;
    output_ += ' ';
  } else {
    output_ += key;
  }
  sequence_.clear();
  pending_ = last;
}
