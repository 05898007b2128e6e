// Latin letters to Cyrillic as the reverse of the BGN/PCGN romanization of
// Russian writes them ("chelsea": челсеа, "shchukin": щукин), for words in
// Latin letters that the Russian lexicon cannot read.
#ifndef VXN_MODULES_RU_RU_TRANSLIT_H
#define VXN_MODULES_RU_RU_TRANSLIT_H

#include <string>

// word: lower-case ASCII letters. Returns UTF-8; letters the romanization
// does not use (c, h, j, q, w, x alone) are kept as they are.
std::string ru_latin_to_cyrillic(const std::string& word);

#endif
