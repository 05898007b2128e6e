// Interim text steps: until the input-tag, single-symbol, emoji and table
// converters join the build, the conversions run through iconv, the emoji and
// single-symbol steps leave the text as it is and Korean text is not split.
#include "api/VXN_driver_text.h"

#include <errno.h>
#include <iconv.h>
#include <string.h>

#include "api/VXN_encodingConverter.h"
#include "engine/VXN_misc.h"
#include "lang/VXN_language.h"

namespace {

// Converts inBytes bytes of src into out (room `size`); characters without a
// mapping are dropped. Output is not terminated.
void iconv_into(const char* to, const char* from, const char* src, size_t inBytes, char* out,
                size_t size) {
  iconv_t cd = iconv_open(to, from);
  if (cd == (iconv_t)-1) return;
  char* in = const_cast<char*>(src);
  char* dst = out;
  size_t room = size;
  while (inBytes > 0) {
    if (iconv(cd, &in, &inBytes, &dst, &room) != (size_t)-1) break;
    if (errno == E2BIG) break;
    // Skip one unconvertible or malformed input unit and go on.
    in++;
    inBytes--;
  }
  iconv_close(cd);
}

const char* target_of(int languageId) {
  switch (languageId) {
    case 0: return "EUC-KR//IGNORE";
    case 11: return "ISO-8859-2//IGNORE";
    case 12: return "ISO-8859-5//IGNORE";
    default: return "ISO-8859-15//IGNORE";
  }
}

size_t utf16_units(const short* text) {
  size_t n = 0;
  while (text[n]) n++;
  return n;
}

}  // namespace

bool CVxnLanguage::processing_single_symbol(char* text, int id, char** out) {
  if (out) *out = nullptr;
  if (!text || id < 0 || id > 17) return false;
  return false;
}

char* VXN_driver_expand_emoji(int languageId, const char* text) {
  (void)languageId;
  (void)text;
  return nullptr;
}

int VXN_driver_utf8_size(const unsigned char* text, int length) {
  if (!text) return 0;
  int n = 0;
  while (n < length && text[n]) n++;
  return 3 * n;
}

int VXN_driver_utf16_size(const short* text, int length) {
  if (!text) return 0;
  int n = 0;
  while (n < length && text[n]) n++;
  return 2 * n;
}

void VXN_driver_convert_utf8(CVxnEncodeConvert* encoder, int languageId, const char* src,
                             char* out, int size) {
  (void)encoder;
  if (!src || !out || size <= 0 || languageId == 9) return;
  iconv_into(target_of(languageId), "UTF-8", src, strlen(src), out, (size_t)size);
}

void VXN_driver_convert_utf16(CVxnEncodeConvert* encoder, int languageId, const short* src,
                              int bytes, char* out) {
  (void)encoder;
  if (!src || !out || bytes <= 0) return;
  const unsigned char* b = reinterpret_cast<const unsigned char*>(src);
  const char* from = "UTF-16LE";
  if (bytes >= 2 && b[0] == 0xFE && b[1] == 0xFF) from = "UTF-16BE";
  if (bytes >= 2 && ((b[0] == 0xFE && b[1] == 0xFF) || (b[0] == 0xFF && b[1] == 0xFE))) {
    b += 2;
    bytes -= 2;
  }
  // Every unit yields at most two bytes in these encodings.
  iconv_into(target_of(languageId), from, reinterpret_cast<const char*>(b), (size_t)bytes, out,
             (size_t)bytes);
}

char* VXN_driver_utf16_to_utf8(CVxnEncodeConvert* encoder, const short* src) {
  (void)encoder;
  if (!src) return nullptr;
  size_t units = utf16_units(src);
  if (units == 0) return nullptr;
  const unsigned short first = (unsigned short)src[0];
  if (first == 0xFEFF || first == 0xFFFE) {
    src++;
    units--;
  }
  const size_t size = 1 + 3 * units;
  char* out = static_cast<char*>(VXN_calloc(size, 1));
  if (!out) return nullptr;
  iconv_into("UTF-8//IGNORE", "UTF-16LE", reinterpret_cast<const char*>(src), 2 * units, out,
             size - 1);
  return out;
}

char* VXN_driver_gb2312_to_utf8(CVxnEncodeConvert* encoder, const char* src) {
  (void)encoder;
  if (!src || !*src) return nullptr;
  const size_t n = strlen(src);
  const size_t size = 1 + 2 * n;
  char* out = static_cast<char*>(VXN_calloc(size, 1));
  if (!out) return nullptr;
  iconv_into("UTF-8//IGNORE", "GB2312", src, n, out, size - 1);
  return out;
}

void VXN_driver_text_split(const char* in, char* out) { strcpy(out, in); }
