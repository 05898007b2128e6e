#include "modules/common/eu_text.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>

namespace {

const uint32_t kReplacement = 0xFFFD;
const uint32_t kTableSize = sizeof eu_char_table / sizeof eu_char_table[0];

unsigned flags_of(uint32_t c) { return c < kTableSize ? eu_char_table[c].flags : 0; }

// The length of the well-formed UTF-8 sequence at s (at most n bytes) and
// its code point, or 0 when it is malformed (overlong forms, surrogates and
// code points past U+10FFFF included).
size_t utf8_sequence(const unsigned char* s, size_t n, uint32_t* cp) {
  const unsigned char b = s[0];
  if (b < 0x80) {
    *cp = b;
    return 1;
  }
  size_t len;
  uint32_t c, min;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2, c = b & 0x1F, min = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, c = b & 0x0F, min = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, c = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (n < len) return 0;
  for (size_t i = 1; i < len; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    c = (c << 6) | (s[i] & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  *cp = c;
  return len;
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

void eu_append_utf8(uint32_t c, std::string* out) {
  if (c < 0x80) {
    *out += (char)c;
  } else if (c < 0x800) {
    *out += (char)(0xC0 | (c >> 6));
    *out += (char)(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += (char)(0xE0 | (c >> 12));
    *out += (char)(0x80 | ((c >> 6) & 0x3F));
    *out += (char)(0x80 | (c & 0x3F));
  } else {
    *out += (char)(0xF0 | (c >> 18));
    *out += (char)(0x80 | ((c >> 12) & 0x3F));
    *out += (char)(0x80 | ((c >> 6) & 0x3F));
    *out += (char)(0x80 | (c & 0x3F));
  }
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
      eu_append_utf8(kReplacement, &out);
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
      eu_append_utf8(cp < kTableSize ? eu_char_table[cp].lower : cp, &out);
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
    if (cp != 0xFFFF) eu_append_utf8(cp, &out);
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
