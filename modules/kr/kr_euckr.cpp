#include "modules/kr/kr_euckr.h"

#include <iconv.h>
#include <stdint.h>

namespace kr {

cjk::Text DecodeEucKr(const char* bytes, size_t length) {
  cjk::Text t;
  const unsigned char* s = (const unsigned char*)bytes;
  iconv_t cd = iconv_open("UTF-32LE", "EUC-KR");
  size_t i = 0;
  while (i < length) {
    unsigned char b = s[i];
    if (b < 0x80) {
      t.cp.push_back(b);
      t.offset.push_back(i);
      i++;
      continue;
    }
    if (i + 1 < length && b >= 0xA1 && b <= 0xFE && s[i + 1] >= 0xA1 && s[i + 1] <= 0xFE &&
        cd != (iconv_t)-1) {
      char in[2] = {(char)b, (char)s[i + 1]};
      unsigned char out[8] = {0};
      char* ip = in;
      char* op = (char*)out;
      size_t il = 2, ol = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &ip, &il, &op, &ol) != (size_t)-1 && ol == sizeof out - 4) {
        uint32_t c = out[0] | (out[1] << 8) | (out[2] << 16) | ((uint32_t)out[3] << 24);
        t.cp.push_back(c);
        t.offset.push_back(i);
      }
      i += 2;
      continue;
    }
    i++;
  }
  if (cd != (iconv_t)-1) iconv_close(cd);
  t.offset.push_back(length);
  return t;
}

}  // namespace kr
