// Typography of the input step: the characters of typeset text that the
// European analyzers' single-byte encodings lack, or that the analyzers do not
// read, are rewritten into what they read before the encoding conversion
// would drop them: curly quotes and apostrophes become ASCII ones, dashes a
// hyphen (between numbers and inside words) or a comma pause (between
// phrases), the ellipsis a comma pause before a lower-case word (the
// sentence goes on) and three dots elsewhere, bullets a comma pause,
// special spaces a blank; trade marks, soft hyphens and zero-width
// characters disappear.
// Guillemets stay for ISO-8859-15 (which has them) and become quotes for the
// other encodings. Korean and Chinese text is not touched.
// Results are VXN_calloc buffers owned by the caller. Stateless.
#ifndef VXN_TYPOGRAPHY_H
#define VXN_TYPOGRAPHY_H

// UTF-8 text (NUL-terminated) for languageId: a rewritten copy, or null when
// nothing needs rewriting (or the language is Korean or Chinese). Bytes that
// are not valid UTF-8 are copied unchanged.
char* VXN_typography_utf8(int languageId, const char* text);

// The same for UTF-16: `units` holds `count` code units (a byte-order mark
// FF FE / FE FF at the start sets the byte order, little-endian without
// one). Returns a rewritten zero-terminated copy in the same byte order and
// with the same mark, its length in units in *outCount, or null when nothing
// needs rewriting.
short* VXN_typography_utf16(int languageId, const short* units, int count, int* outCount);

#endif
