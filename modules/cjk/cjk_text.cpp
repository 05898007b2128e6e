#include "modules/cjk/cjk_text.h"

#include "emoji/VXN_utf8.h"

namespace cjk {

Text DecodeUtf8(const std::string& bytes) {
  Text t;
  const unsigned char* s = (const unsigned char*)bytes.data();
  size_t n = bytes.size(), i = 0;
  while (i < n) {
    const int len = VXN_utf8_sequence(s + i, n - i);
    if (len == 0) {
      i++;  // skip one byte and resynchronise
      continue;
    }
    t.cp.push_back(VXN_utf8_decode(s + i, len));
    t.offset.push_back(i);
    i += (size_t)len;
  }
  t.offset.push_back(n);
  return t;
}

std::string Utf8(const std::vector<uint32_t>& cps, size_t from, size_t to) {
  std::string out;
  for (size_t i = from; i < to && i < cps.size(); i++) VXN_utf8_append(cps[i], &out);
  return out;
}

std::string Utf8(uint32_t c) {
  std::string out;
  VXN_utf8_append(c, &out);
  return out;
}

std::vector<uint32_t> CodePoints(const std::string& utf8) { return DecodeUtf8(utf8).cp; }

}  // namespace cjk
