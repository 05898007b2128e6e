#include "modules/common/eu_text.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>

#include "emoji/VXN_utf8.h"

namespace {

const uint32_t kReplacement = 0xFFFD;
const uint32_t kTableSize = sizeof eu_char_table / sizeof eu_char_table[0];

unsigned flags_of(uint32_t c) { return c < kTableSize ? eu_char_table[c].flags : 0; }

// The well-formed UTF-8 sequence at s (at most n bytes): its length and
// code point, or 0 when it is malformed.
size_t utf8_sequence(const unsigned char* s, size_t n, uint32_t* cp) {
  const int len = VXN_utf8_sequence(s, n);
  if (len) *cp = VXN_utf8_decode(s, len);
  return (size_t)len;
}

std::string normalized_name(const char* name) {
  std::string out;
  for (const char* p = name; p && *p; ++p)
    if (*p != '-' && *p != '_' && *p != ' ') out += (char)tolower((unsigned char)*p);
  return out;
}

}  // namespace

std::vector<uint32_t> eu_code_points(const std::string& utf8) {
  std::vector<uint32_t> out;
  const unsigned char* s = (const unsigned char*)utf8.data();
  for (size_t i = 0; i < utf8.size();) {
    uint32_t cp;
    size_t len = utf8_sequence(s + i, utf8.size() - i, &cp);
    out.push_back(len ? cp : kReplacement);
    i += len ? len : 1;
  }
  return out;
}

bool eu_is_alpha(uint32_t c) { return flags_of(c) & EU_CHAR_ALPHA; }
bool eu_is_upper(uint32_t c) { return flags_of(c) & EU_CHAR_UPPER; }
bool eu_is_digit(uint32_t c) { return flags_of(c) & EU_CHAR_DIGIT; }

uint32_t eu_to_lower(uint32_t c) {
  if (c >= kTableSize) return c;
  // A code point whose full lower-case form is longer keeps its simple
  // mapping: the first code point of that form when it is a letter of its own.
  if (eu_char_table[c].flags & EU_CHAR_LOWER_MULTI) {
    for (const eu_char_lower_multi* m = eu_char_lower_multi_table; m->lower; ++m)
      if (m->code_point == c) return eu_code_points(m->lower).front();
  }
  return eu_char_table[c].lower;
}

std::string eu_lower_utf8(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  const unsigned char* s = (const unsigned char*)utf8.data();
  for (size_t i = 0; i < utf8.size();) {
    uint32_t cp;
    size_t len = utf8_sequence(s + i, utf8.size() - i, &cp);
    if (!len) {
      VXN_utf8_append(kReplacement, &out);
      ++i;
      continue;
    }
    i += len;
    if (cp < 0x80) {
      out += (char)(cp >= 'A' && cp <= 'Z' ? cp + 32 : cp);
    } else if (cp < kTableSize && (eu_char_table[cp].flags & EU_CHAR_LOWER_MULTI)) {
      for (const eu_char_lower_multi* m = eu_char_lower_multi_table; m->lower; ++m)
        if (m->code_point == cp) out += m->lower;
    } else {
      VXN_utf8_append(cp < kTableSize ? eu_char_table[cp].lower : cp, &out);
    }
  }
  return out;
}

bool eu_same_encoding_name(const char* a, const char* b) { return normalized_name(a) == normalized_name(b); }

eu_codec* eu_codec_open(const char* name) {
  for (const eu_codec_table* t = eu_codec_tables; t->name; ++t) {
    if (!eu_same_encoding_name(t->name, name)) continue;
    eu_codec* codec = new eu_codec{t, {}};
    for (unsigned b = 0x80; b < 0x100; ++b)
      if (t->to_unicode[b] != 0xFFFF) codec->from_unicode.push_back({t->to_unicode[b], (uint8_t)b});
    std::sort(codec->from_unicode.begin(), codec->from_unicode.end());
    return codec;
  }
  return nullptr;
}

void eu_codec_close(eu_codec* codec) { delete codec; }

std::string eu_codec_to_utf8(const eu_codec* codec, const char* bytes) {
  std::string out;
  if (!codec || !bytes) return out;
  for (const unsigned char* p = (const unsigned char*)bytes; *p; ++p) {
    const uint16_t cp = codec->table->to_unicode[*p];
    if (cp != 0xFFFF) VXN_utf8_append(cp, &out);
  }
  return out;
}

std::string eu_codec_from_utf8(const eu_codec* codec, const std::string& utf8) {
  std::string out;
  if (!codec) return out;
  const unsigned char* s = (const unsigned char*)utf8.data();
  for (size_t i = 0; i < utf8.size();) {
    uint32_t cp;
    size_t len = utf8_sequence(s + i, utf8.size() - i, &cp);
    i += len ? len : 1;
    if (!len || cp == 0) continue;
    if (cp < 0x80) {
      out += (char)cp;
      continue;
    }
    auto at = std::lower_bound(codec->from_unicode.begin(), codec->from_unicode.end(),
                               std::make_pair(cp, (uint8_t)0));
    if (at != codec->from_unicode.end() && at->first == cp) out += (char)at->second;
  }
  return out;
}
