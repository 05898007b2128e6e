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

void VXN_driver_text_split(const char* in, char* out) { TextSplit(in, out); }
