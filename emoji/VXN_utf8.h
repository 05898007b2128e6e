// UTF-8 sequences, header-only so that the input step, the emoji and
// typography steps, and the language modules (which import nothing but plain
// C names from the engine library) all read and write UTF-8 the same way.
#ifndef VXN_UTF8_H
#define VXN_UTF8_H

#include <stddef.h>
#include <stdint.h>

// Length of the well-formed UTF-8 sequence at p (1 to 4 bytes, at most
// `left`), or 0 when the bytes there are malformed: an overlong form, a
// surrogate, a code point above U+10FFFF, a byte C0, C1 or F5..FF, or a cut
// sequence. Bytes are read one by one and a non-continuation byte (the
// terminator among them) ends the check, so a NUL-terminated text is never
// read past its end.
inline int VXN_utf8_sequence(const unsigned char* p, size_t left) {
  const unsigned char b = p[0];
  if (b < 0x80) return 1;
  int n;
  unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b == 0xE0) {
    n = 3;
    lo = 0xA0;
  } else if (b == 0xED) {
    n = 3;
    hi = 0x9F;
  } else if (b >= 0xE1 && b <= 0xEF) {
    n = 3;
  } else if (b == 0xF0) {
    n = 4;
    lo = 0x90;
  } else if (b == 0xF4) {
    n = 4;
    hi = 0x8F;
  } else if (b >= 0xF1 && b <= 0xF3) {
    n = 4;
  } else {
    return 0;
  }
  if ((size_t)n > left || p[1] < lo || p[1] > hi) return 0;
  for (int i = 2; i < n; i++)
    if ((p[i] & 0xC0) != 0x80) return 0;
  return n;
}

// The code point of the well-formed sequence of n bytes at p (n from
// VXN_utf8_sequence).
inline uint32_t VXN_utf8_decode(const unsigned char* p, int n) {
  static const unsigned char kLeadBits[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  uint32_t c = p[0] & kLeadBits[n];
  for (int i = 1; i < n; ++i) c = (c << 6) | (p[i] & 0x3F);
  return c;
}

// Appends the UTF-8 bytes of code point c (at most U+10FFFF) to out, anything
// with push_back(char): std::string, std::vector<char>.
template <class Bytes>
inline void VXN_utf8_append(uint32_t c, Bytes* out) {
  if (c < 0x80) {
    out->push_back((char)c);
  } else if (c < 0x800) {
    out->push_back((char)(0xC0 | (c >> 6)));
    out->push_back((char)(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back((char)(0xE0 | (c >> 12)));
    out->push_back((char)(0x80 | ((c >> 6) & 0x3F)));
    out->push_back((char)(0x80 | (c & 0x3F)));
  } else {
    out->push_back((char)(0xF0 | (c >> 18)));
    out->push_back((char)(0x80 | ((c >> 12) & 0x3F)));
    out->push_back((char)(0x80 | ((c >> 6) & 0x3F)));
    out->push_back((char)(0x80 | (c & 0x3F)));
  }
}

#endif
