#include "modules/cjk/cjk_text.h"

namespace cjk {

Text DecodeUtf8(const std::string& bytes) {
  Text t;
  const unsigned char* s = (const unsigned char*)bytes.data();
  size_t n = bytes.size(), i = 0;
  while (i < n) {
    unsigned char b = s[i];
    size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    uint32_t c = 0;
    bool ok = len > 0 && i + len <= n;
    if (ok) {
      c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
      for (size_t k = 1; k < len; k++) {
        if ((s[i + k] & 0xC0) != 0x80) {
          ok = false;
          break;
        }
        c = (c << 6) | (s[i + k] & 0x3F);
      }
    }
    if (ok) {
      static const uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
      if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) ok = false;
    }
    if (!ok) {
      i++;  // skip one byte and resynchronise
      continue;
    }
    t.cp.push_back(c);
    t.offset.push_back(i);
    i += len;
  }
  t.offset.push_back(n);
  return t;
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += (char)c;
  } else if (c < 0x800) {
    out += (char)(0xC0 | (c >> 6));
    out += (char)(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += (char)(0xE0 | (c >> 12));
    out += (char)(0x80 | ((c >> 6) & 0x3F));
    out += (char)(0x80 | (c & 0x3F));
  } else {
    out += (char)(0xF0 | (c >> 18));
    out += (char)(0x80 | ((c >> 12) & 0x3F));
    out += (char)(0x80 | ((c >> 6) & 0x3F));
    out += (char)(0x80 | (c & 0x3F));
  }
}

std::string Utf8(const std::vector<uint32_t>& cps, size_t from, size_t to) {
  std::string out;
  for (size_t i = from; i < to && i < cps.size(); i++) AppendUtf8(out, cps[i]);
  return out;
}

std::string Utf8(uint32_t c) {
  std::string out;
  AppendUtf8(out, c);
  return out;
}

std::vector<uint32_t> CodePoints(const std::string& utf8) { return DecodeUtf8(utf8).cp; }

}  // namespace cjk
