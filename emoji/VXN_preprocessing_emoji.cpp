// UTF-8 iteration and emoji substitution; see VXN_preprocessing_emoji.h.
#include "emoji/VXN_preprocessing_emoji.h"

#include <string.h>

#include "emoji/VXN_preprocessing_emoji_names.h"

namespace {

const uint32_t kZeroWidthJoiner = 0x200D;

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
  int length = VXN_utf8_sequence(s, 4);
  uint32_t cp = s[0];
  if (length == 0) {
    invalid_ = true;
    length = 1;
  } else {
    cp = VXN_utf8_decode(s, length);
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
