#include "api/VXN_driver_text.h"

#include <string.h>

#include <string>

#include "api/VXN_encodingConverter.h"
#include "api/VXN_preprocessing_single_symbol.h"
#include "emoji/VXN_preprocessing_emoji.h"
#include "engine/VXN_misc.h"
#include "lang/VXN_language.h"

bool CVxnLanguage::processing_single_symbol(char* text, int id, char** out) {
  return VXN_single_symbol(text, id, out);
}

char* VXN_driver_expand_emoji(int languageId, const char* text) {
  if (!text) return nullptr;
  CUtf8EmojiTransducer transducer(languageId, text);
  const std::string& output = transducer.transform();
  if (!transducer.has_changed()) return nullptr;
  char* copy = static_cast<char*>(VXN_calloc(output.size() + 1, 1));
  if (copy) memcpy(copy, output.data(), output.size());
  return copy;
}

int VXN_driver_utf8_size(const unsigned char* text, int length) {
  CVxnEncodeConvert sizer;
  return sizer.GetUtfSize(text, length);
}

int VXN_driver_utf16_size(const short* text, int length) {
  CVxnEncodeConvert sizer;
  return sizer.GetUtfSize(text, length);
}

void VXN_driver_convert_utf8(CVxnEncodeConvert* encoder, int languageId, const char* src,
                             char* out, int size) {
  switch (languageId) {
    case 0: encoder->ConvertUtf8ToEuckr(out, src, size); break;
    case 9: break;  // the Chinese analyzer reads UTF-8
    case 11: encoder->ConvertUtf8ToAscii_2(out, src, size); break;
    case 12: encoder->ConvertUtf8ToAscii_5(out, src, size); break;
    default: encoder->ConvertUtf8ToAscii(out, src, size); break;
  }
}

void VXN_driver_convert_utf16(CVxnEncodeConvert* encoder, int languageId, const short* src,
                              int bytes, char* out) {
  switch (languageId) {
    case 0: encoder->ConvertUtf16ToEuckr(out, src, bytes); break;
    case 11: encoder->ConvertUtf16ToAscii_2(out, src, bytes); break;
    case 12: encoder->ConvertUtf16ToAscii_5(out, src, bytes); break;
    default: encoder->ConvertUtf16ToAscii(out, src, bytes); break;
  }
}

char* VXN_driver_utf16_to_utf8(CVxnEncodeConvert* encoder, const short* src) {
  encoder->sourceMode = 2;
  return encoder->ConvertUtf16orGB2312toUtf8(src);
}

char* VXN_driver_gb2312_to_utf8(CVxnEncodeConvert* encoder, const char* src) {
  encoder->sourceMode = 3;
  return encoder->ConvertUtf16orGB2312toUtf8(src);
}

char* VXN_driver_utf8_repair(const unsigned char* text, int length, long* first, int* places) {
  *first = -1;
  *places = 0;
  if (!text || length <= 0) return nullptr;
  const size_t n = strnlen(reinterpret_cast<const char*>(text), (size_t)length);
  size_t i = 0;
  while (i < n) {
    const int k = VXN_utf8_sequence(text + i, n - i);
    if (k == 0) break;
    i += (size_t)k;
  }
  if (i == n) return nullptr;
  char* out = static_cast<char*>(VXN_calloc(n + 1, 1));
  if (!out) return nullptr;
  memcpy(out, text, i);
  size_t o = i;
  *first = (long)i;
  bool inRun = false;
  while (i < n) {
    const int k = VXN_utf8_sequence(text + i, n - i);
    if (k == 0) {
      if (!inRun) ++*places;
      inRun = true;
      i++;
      continue;
    }
    inRun = false;
    memcpy(out + o, text + i, (size_t)k);
    o += (size_t)k;
    i += (size_t)k;
  }
  return out;
}

int VXN_driver_utf16_drop_lone_surrogates(short* units, int count, long* first) {
  *first = -1;
  if (!units || count <= 0) return 0;
  const bool swapped = (unsigned short)units[0] == 0xFFFE;
  auto value = [&](int i) {
    const unsigned short u = (unsigned short)units[i];
    return swapped ? (unsigned short)((u >> 8) | (u << 8)) : u;
  };
  int o = 0, dropped = 0;
  for (int i = 0; i < count; i++) {
    const unsigned short u = value(i);
    bool keep = true;
    if (u >= 0xD800 && u <= 0xDBFF) {
      keep = i + 1 < count && value(i + 1) >= 0xDC00 && value(i + 1) <= 0xDFFF;
      if (keep) units[o++] = units[i++];  // the pair's high half; the low half follows
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      keep = false;
    }
    if (!keep) {
      if (*first < 0) *first = i;
      dropped++;
      continue;
    }
    units[o++] = units[i];
  }
  for (int i = o; i < count; i++) units[i] = 0;
  return dropped;
}

void VXN_driver_text_split(const char* in, char* out) { TextSplit(in, out); }
