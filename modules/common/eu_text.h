// Text helpers of the European kit: UTF-8 code points, letter classes and
// lower-case forms (Latin, Greek and Cyrillic, from tables generated from
// Unicode's character data), and the modules' 8-bit encodings.
#ifndef VXN_MODULES_COMMON_EU_TEXT_H
#define VXN_MODULES_COMMON_EU_TEXT_H

#include <stdint.h>

#include <string>
#include <vector>

enum {
  EU_CHAR_ALPHA = 1,        // a letter (general category L)
  EU_CHAR_UPPER = 2,        // an upper-case letter
  EU_CHAR_DIGIT = 4,        // a decimal digit
  EU_CHAR_LOWER_MULTI = 8,  // the lower-case form is longer than one code point
};

struct eu_char_info {
  uint16_t lower;  // the lower-case form, when it is one code point
  uint8_t flags;
};

struct eu_char_lower_multi {
  uint32_t code_point;
  const char* lower;  // UTF-8
};

struct eu_codec_table {
  const char* name;         // "ISO-8859-15"
  uint16_t to_unicode[256];  // 0xFFFF: the byte has no character
};

// Generated tables: classes of U+0000..U+052F, their longer lower-case forms
// (ended by a null form), and the encodings (ended by a null name).
extern const eu_char_info eu_char_table[0x530];
extern const eu_char_lower_multi eu_char_lower_multi_table[];
extern const eu_codec_table eu_codec_tables[];

// The code points of UTF-8 text; each byte of a malformed sequence is U+FFFD.
// (Writing UTF-8: VXN_utf8_append, emoji/VXN_utf8.h.)
std::vector<uint32_t> eu_code_points(const std::string& utf8);

// Classes of a code point; outside the table's range none.
bool eu_is_alpha(uint32_t c);
bool eu_is_upper(uint32_t c);
bool eu_is_digit(uint32_t c);
// The simple lower-case mapping of one code point.
uint32_t eu_to_lower(uint32_t c);
// Lower-cased UTF-8 (full case mapping, as for the root locale).
std::string eu_lower_utf8(const std::string& utf8);

// The pieces of text between separators, empty ones kept ("1..2": "1", "", "2").
// Inline: the number rules use it without the tables of this file.
inline std::vector<std::string> eu_split(const std::string& text, char separator) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      out.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return out;
}

// An 8-bit encoding of the modules: bytes to UTF-8 and back. Characters the
// encoding lacks, and malformed UTF-8, are dropped.
struct eu_codec {
  const eu_codec_table* table;
  // Code points of the bytes 0x80..0xFF, sorted, with their bytes.
  std::vector<std::pair<uint32_t, uint8_t> > from_unicode;
};
// Null when the encoding is not one of the tables (names compared ignoring
// case and the characters '-', '_' and ' ').
eu_codec* eu_codec_open(const char* name);
void eu_codec_close(eu_codec* codec);
std::string eu_codec_to_utf8(const eu_codec* codec, const char* bytes);
std::string eu_codec_from_utf8(const eu_codec* codec, const std::string& utf8);
// Whether two encoding names name the same encoding by the rule above.
bool eu_same_encoding_name(const char* a, const char* b);

#endif
