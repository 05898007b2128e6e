// Chinese word segmentation and character readings without ICU at run time,
// from the generated tables (ch_tables.h).
#ifndef VXN_MODULES_CH_CH_SEGMENT_H
#define VXN_MODULES_CH_CH_SEGMENT_H

#include <stdint.h>

#include <string>
#include <vector>

// Splits a run of Han characters into words: of all the splits into words of
// the dictionary (a character the dictionary lacks is a word of cost 255),
// the one with the least total cost, the earliest of equals. The dictionary
// is looked up in NFKC; the words returned are the input's characters.
std::vector<std::u32string> ch_segment(const std::u32string& han);

// The reading of a character by the CLDR transform Han-Latin in numeric
// pinyin ("zhong1"), or empty when it has none.
std::string ch_char_reading(uint32_t c);

#endif
