// Emoji verbalisation: a UTF-8 code point iterator, the emoji range test and
// the transducer that replaces emoji (and zero-width-joiner sequences) in a
// UTF-8 text by their names in the engine's language.
// The transducer borrows the caller's text (it must outlive the transducer)
// and owns its output; one thread per object. The name tables are constant
// data (VXN_preprocessing_emoji_names.h).
#ifndef VXN_PREPROCESSING_EMOJI_H
#define VXN_PREPROCESSING_EMOJI_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#include "emoji/VXN_utf8.h"


// Steps through a NUL-terminated UTF-8 text one character at a time. Bytes
// that do not start a well-formed sequence (VXN_utf8_sequence) are returned
// one by one as their own values with the invalid flag set.
class CUtf8Iterator {
 public:
  explicit CUtf8Iterator(const char* text);

  // Decodes the character at the cursor and advances past it; 0 at the
  // terminator (the cursor then stays on it).
  uint32_t next();
  // The bytes of the last character decoded: (start, end).
  std::pair<const char*, const char*> current_encoded_range() const { return {previous_, cursor_}; }
  uint32_t current_code_point() const { return code_point_; }
  bool invalid() const { return invalid_; }

 private:
  uint32_t code_point_;
  const char* previous_;
  const char* cursor_;
  bool invalid_;
};

// One decoded character and its bytes in the source text.
struct Utf8CharacterView {
  const char* begin;
  const char* end;
  uint32_t code_point;
};

// True for U+2600-U+27BF, U+1F300-U+1F64F and U+1F900-U+1F9FF.
bool is_emoji(uint32_t cp);

class CUtf8EmojiTransducer {
 public:
  // language: engine language id (0..17); text: UTF-8, NUL-terminated (null
  // counts as empty).
  CUtf8EmojiTransducer(int language, const char* text);

  // Replaces every named emoji or joiner sequence by " name " and returns the
  // result; a text without names comes back unchanged.
  const std::string& transform();
  // True when transform substituted at least one name.
  bool has_changed() const { return changed_; }

 private:
  // Copies the input up to the collected sequence, then its name (or its own
  // bytes when it has none), and empties the sequence.
  void discharge();

  int32_t language_;
  bool changed_;
  std::string source_;
  const char* begin_;
  CUtf8Iterator iterator_;
  const char* pending_;
  std::string output_;
  std::vector<Utf8CharacterView> sequence_;
};

#endif
