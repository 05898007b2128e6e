// Text steps of the synthesis driver: single-symbol replacement, emoji names,
// buffer sizing, encoding conversion and Korean pause insertion, each behind
// one function so that the driver reads as a sequence of steps.
// Buffers returned here are VXN_calloc buffers owned by the caller. Stateless
// apart from the converter's source mode; one caller at a time.
#ifndef VXN_DRIVER_TEXT_H
#define VXN_DRIVER_TEXT_H

class CVxnEncodeConvert;

// Copy of the text with every emoji replaced by its name in the language, or
// null when nothing was replaced.
char* VXN_driver_expand_emoji(int languageId, const char* text);

// Conversion buffer sizes: 3 bytes per UTF-8 byte before the first NUL (at most
// `length` counted), 2 bytes per UTF-16 unit before the first zero unit.
int VXN_driver_utf8_size(const unsigned char* text, int length);
int VXN_driver_utf16_size(const short* text, int length);

// UTF-8 into the analyzer's encoding of languageId (EUC-KR, ISO-8859-2/-5/-15;
// Chinese is left alone), writing at most size bytes into the zeroed out.
void VXN_driver_convert_utf8(CVxnEncodeConvert* encoder, int languageId, const char* src,
                             char* out, int size);
// Zero-terminated UTF-16 (byte-order mark honoured, little-endian without one)
// of `bytes` bytes into the single-byte encoding of a non-Chinese languageId.
void VXN_driver_convert_utf16(CVxnEncodeConvert* encoder, int languageId, const short* src,
                              int bytes, char* out);
// Zero-terminated little-endian UTF-16 to UTF-8; null for empty input.
char* VXN_driver_utf16_to_utf8(CVxnEncodeConvert* encoder, const short* src);
// GB2312 to UTF-8; null for empty input.
char* VXN_driver_gb2312_to_utf8(CVxnEncodeConvert* encoder, const char* src);

// Well-formed UTF-8 (no overlong form, surrogate, code point above U+10FFFF,
// byte C0, C1 or F5..FF, or cut sequence) of the text up to its NUL or
// `length` bytes: null when the text is well formed; otherwise a copy without
// the malformed bytes, with *first the offset of the first one and *places
// the number of malformed runs.
char* VXN_driver_utf8_repair(const unsigned char* text, int length, long* first, int* places);
// Drops the lone surrogates of `count` zero-terminated UTF-16 units in place
// (byte order from a leading byte-order mark, host order without one); returns
// how many went, *first the index of the first.
int VXN_driver_utf16_drop_lone_surrogates(short* units, int count, long* first);

// Korean pause insertion; out has room for 2 * strlen(in) + 1 bytes.
void VXN_driver_text_split(const char* in, char* out);

#endif
