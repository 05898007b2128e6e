// Encoding conversions for the analyzers' input; see VXN_encodingConverter.h.
#include "api/VXN_encodingConverter.h"

#include <errno.h>
#include <iconv.h>
#include <string.h>

#include "engine/VXN_misc.h"

namespace {

// Runs one iconv conversion of the whole NUL-terminated src into at most size
// bytes of out. With //IGNORE, glibc reports skipped characters as EILSEQ after
// making progress; such a call is resumed, a call without progress ends it.
int convert_utf8(const char* target, char* out, const char* src, int size) {
  if (!out || !src || size < 0) return -1;
  iconv_t cd = iconv_open(target, "UTF-8");
  if (cd == (iconv_t)-1) return -1;
  char* in = const_cast<char*>(src);
  size_t in_left = strlen(src);
  char* dst = out;
  size_t room = (size_t)size;
  int result = 0;
  while (in_left > 0) {
    const size_t before = in_left;
    if (iconv(cd, &in, &in_left, &dst, &room) != (size_t)-1) break;
    if (errno == EILSEQ && in_left < before) continue;
    result = -1;
    break;
  }
  iconv_close(cd);
  return result;
}

// UTF-16 input as byte pairs: detects and skips a byte-order mark.
struct Utf16Input {
  const unsigned char* p;
  int units;
  bool big_endian;

  Utf16Input(const void* src, int bytes) : p((const unsigned char*)src), units(0), big_endian(false) {
    if (bytes < 0) bytes = 0;
    if (bytes >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
      big_endian = true;
      p += 2;
      bytes -= 2;
    } else if (bytes >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
      p += 2;
      bytes -= 2;
    }
    units = bytes / 2;
  }
  unsigned char high(int i) const { return big_endian ? p[2 * i] : p[2 * i + 1]; }
  unsigned char low(int i) const { return big_endian ? p[2 * i + 1] : p[2 * i]; }
};

// Latin-1 byte of a unit with a zero high byte: control characters and the
// C1 range (and the no-break space) become blanks.
inline char latin1_byte(unsigned char l) {
  return (l <= 31 || (l >= 127 && l <= 160)) ? ' ' : (char)l;
}

int append_utf8(unsigned cp, char* out) {
  if (cp < 0x80) {
    out[0] = (char)cp;
    return 1;
  }
  if (cp < 0x800) {
    out[0] = (char)(0xC0 | (cp >> 6));
    out[1] = (char)(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = (char)(0xE0 | (cp >> 12));
    out[1] = (char)(0x80 | ((cp >> 6) & 0x3F));
    out[2] = (char)(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = (char)(0xF0 | (cp >> 18));
  out[1] = (char)(0x80 | ((cp >> 12) & 0x3F));
  out[2] = (char)(0x80 | ((cp >> 6) & 0x3F));
  out[3] = (char)(0x80 | (cp & 0x3F));
  return 4;
}

}  // namespace

int CVxnEncodeConvert::ConvertUtf8ToEuckr(char* out, const char* src, int size) {
  return convert_utf8("euc-kr//IGNORE", out, src, size);
}

int CVxnEncodeConvert::ConvertUtf8ToAscii(char* out, const char* src, int size) {
  return convert_utf8("iso-8859-15//IGNORE", out, src, size);
}

int CVxnEncodeConvert::ConvertUtf8ToAscii_2(char* out, const char* src, int size) {
  return convert_utf8("iso-8859-2//IGNORE", out, src, size);
}

int CVxnEncodeConvert::ConvertUtf8ToAscii_5(char* out, const char* src, int size) {
  return convert_utf8("iso-8859-5//IGNORE", out, src, size);
}

namespace {

// Runs one UTF-16 text unit by unit through a target's byte mapping
// emit(high, low, big_endian, o), which appends zero or more bytes at o and
// returns the new end; terminates the output.
template <typename Emit>
void convert_utf16(char* out, const void* src, int bytes, Emit emit) {
  if (!out || !src) return;
  const Utf16Input in(src, bytes);
  char* o = out;
  for (int i = 0; i < in.units; ++i) o = emit(in.high(i), in.low(i), in.big_endian, o);
  *o = '\0';
}

}  // namespace

void CVxnEncodeConvert::ConvertUtf16ToEuckr(char* out, const void* src, int bytes) {
  convert_utf16(out, src, bytes, [](unsigned char h, unsigned char l, bool big_endian, char* o) {
    if (h == 0) {
      *o++ = (big_endian && l == 0xB0) ? ' ' : latin1_byte(l);
      return o;
    }
    const uint8_t* pair = VXN_utf16_euckr_table[(h << 8) | l];
    if (pair[0] == 0 && pair[1] == 0) return o;
    *o++ = (char)pair[0];
    *o++ = (char)pair[1];
    return o;
  });
}

void CVxnEncodeConvert::ConvertUtf16ToAscii(char* out, const void* src, int bytes) {
  convert_utf16(out, src, bytes, [](unsigned char h, unsigned char l, bool, char* o) {
    if (h == 0) *o++ = latin1_byte(l);
    return o;
  });
}

void CVxnEncodeConvert::ConvertUtf16ToAscii_2(char* out, const void* src, int bytes) {
  convert_utf16(out, src, bytes, [](unsigned char h, unsigned char l, bool, char* o) {
    if (h == 0) {
      *o++ = latin1_byte(l);
    } else if (h == 1) {
      *o++ = l < 127 ? (char)VXN_latin2_table[l] : ' ';
    } else if (h == 2) {
      switch (l) {
        case 0xC7: *o++ = (char)0xB7; break;  // caron
        case 0xD8: *o++ = (char)0xA2; break;  // breve
        case 0xD9: *o++ = (char)0xFF; break;  // dot above
        case 0xDB: *o++ = (char)0xB2; break;  // ogonek
        case 0xDD: *o++ = (char)0xBD; break;  // double acute
        default: *o++ = ' '; break;
      }
    }
    return o;
  });
}

void CVxnEncodeConvert::ConvertUtf16ToAscii_5(char* out, const void* src, int bytes) {
  convert_utf16(out, src, bytes, [](unsigned char h, unsigned char l, bool, char* o) {
    if (h == 0) {
      *o++ = l == 0xA7 ? (char)0xFD : latin1_byte(l);  // section sign sits at FD
    } else if (h == 4) {
      // U+0400..U+045F -> A0..FF. The rest of the block has no ISO-8859-5 byte
      // and would land on control codes (U+0460 even on NUL): dropped.
      if (l < 0x60) *o++ = (char)(unsigned char)(l - 0x60);
    } else if (h == 0x21) {
      *o++ = (char)0xF0;  // numero sign
    }
    return o;
  });
}

char* CVxnEncodeConvert::ConvertUtf16orGB2312toUtf8(const void* src) {
  if (sourceMode == 3) return ConvertGB2312ToUtf8((const char*)src);
  if (!src) return nullptr;
  const unsigned char* p = (const unsigned char*)src;
  size_t count = 0;
  while (p[count] != 0 || p[count + 1] != 0) count += 2;
  if (count == 0) return nullptr;
  size_t start = 0;
  if ((p[0] == 0xFE && p[1] == 0xFF) || (p[0] == 0xFF && p[1] == 0xFE)) start = 2;
  char* out = (char*)VXN_calloc(1 + count + count / 2, 1);
  if (!out) return nullptr;
  const bool big = sourceMode == 1;
  char* o = out;
  for (size_t i = start; i < count; i += 2) {
    unsigned unit = big ? (p[i] << 8 | p[i + 1]) : (p[i + 1] << 8 | p[i]);
    // A surrogate pair is one character of four UTF-8 bytes (its two units
    // took four bytes of input, so the output still fits).
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < count) {
      const unsigned low = big ? (p[i + 2] << 8 | p[i + 3]) : (p[i + 3] << 8 | p[i + 2]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    o += append_utf8(unit, o);
  }
  return out;
}

char* CVxnEncodeConvert::ConvertGB2312ToUtf8(const char* src) {
  if (!src || !*src) return nullptr;
  const unsigned char* p = (const unsigned char*)src;
  const size_t len = strlen(src);
  const size_t size = 1 + len + len / 2;
  char* out = (char*)VXN_calloc(size, 1);
  if (!out) return nullptr;
  size_t pos = 0;
  for (size_t i = 0; i < len;) {
    const unsigned char b = p[i];
    if (b <= 0x7F) {
      out[pos++] = (char)b;
      ++i;
    } else if (b >= 0xA1 && b <= 0xF7 && p[i + 1] >= 0xA1 && p[i + 1] <= 0xFE) {
      const char* s = VXN_gb2312_utf8_table[(b - 0xA1) * 94 + (p[i + 1] - 0xA1)];
      if (*s) {
        const size_t n = strlen(s);
        if (pos + n >= size) break;  // cannot happen: every entry is at most 3 bytes
        memcpy(out + pos, s, n);
        pos += n;
      }
      i += 2;
    } else {
      // A lone high byte takes the following byte with it, never the terminator.
      i += (i + 1 < len) ? 2 : 1;
    }
  }
  return out;
}

int CVxnEncodeConvert::GetUtfSize(const unsigned char* text, int length) {
  if (!text) return 0;
  int n = 0;
  while (n < length && text[n]) ++n;
  return 3 * n;
}

int CVxnEncodeConvert::GetUtfSize(const short* text, int length) {
  if (!text) return 0;
  int n = 0;
  while (n < length && text[n]) ++n;
  return 2 * n;
}
