// Tables of the Chinese module generated at build time from ICU's data
// (data/gen_zh_tables.cpp): the CJK word dictionary with word costs, the
// NFKC forms of compatibility ideographs, and character readings in numeric
// pinyin.
#ifndef VXN_MODULES_CH_CH_TABLES_H
#define VXN_MODULES_CH_CH_TABLES_H

#include <stddef.h>
#include <stdint.h>

// The characters the module reads as Han.
inline bool ch_is_han(uint32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0x20000 && c <= 0x2FFFF) || c == 0x3007;
}

// The dictionary: for each first character (ascending), its entries in
// ch_dict_entries from offset: a cost byte, the word's length in
// characters, the byte length of the rest, and the rest in UTF-8.
struct ch_dict_head {
  uint32_t first;
  uint32_t offset;
  uint32_t count;
};
extern const ch_dict_head ch_dict_heads[];
extern const size_t ch_dict_head_count;
extern const char ch_dict_entries[];

struct ch_char_pair {
  uint32_t from;
  uint32_t to;
};
// Characters whose NFKC form is another single character, ascending.
extern const ch_char_pair ch_nfkc_forms[];
extern const size_t ch_nfkc_form_count;

// Readings, ascending by character: the offset of a null-terminated ASCII
// reading in ch_reading_text.
struct ch_reading_index {
  uint32_t character;
  uint32_t offset;
};
extern const ch_reading_index ch_readings[];
extern const size_t ch_reading_count;
extern const char ch_reading_text[];

#endif
