// Text as code points with the byte offset of each in the analyzer's input
// encoding, and UTF-8 helpers shared by the Korean and Chinese analyzers.
// Plain values; no state.
#ifndef CJK_TEXT_H
#define CJK_TEXT_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "emoji/VXN_utf8.h"

namespace cjk {

struct Text {
  std::vector<uint32_t> cp;     // code points
  std::vector<size_t> offset;   // byte offset of each code point; offset[n] = byte length
  size_t size() const { return cp.size(); }
};

// Decodes UTF-8; malformed or overlong sequences and surrogates become no
// code point (their bytes count towards the next offset).
Text DecodeUtf8(const std::string& bytes);
std::string Utf8(const std::vector<uint32_t>& cps, size_t from, size_t to);
std::string Utf8(uint32_t c);
std::vector<uint32_t> CodePoints(const std::string& utf8);

inline bool IsAsciiDigit(uint32_t c) { return c >= '0' && c <= '9'; }
inline bool IsAsciiLetter(uint32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsSpace(uint32_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0x3000 || c == 0xA0;
}
// Full-width ASCII forms (U+FF01..U+FF5E) become ASCII; others stay.
inline uint32_t FoldWidth(uint32_t c) { return (c >= 0xFF01 && c <= 0xFF5E) ? c - 0xFEE0 : c; }

}  // namespace cjk

#endif
