// Per-language emoji name tables (Unicode CLDR short names) and their lookup.
// The tables are constant data generated at build time
// (data/gen_emoji_names.py): nothing is built or relocated when the library
// is loaded, and lookups are safe from any thread.
#ifndef VXN_PREPROCESSING_EMOJI_NAMES_H
#define VXN_PREPROCESSING_EMOJI_NAMES_H

#include <stdint.h>

#include <string>

// One language's names: `text` holds every key (the UTF-8 bytes of a
// character or of a zero-width-joiner sequence without variation selectors)
// and every name, each ended by a NUL; `index` holds `count` pairs of offsets
// into `text` (key, name), sorted by the key's bytes, keys unique.
struct VXN_EmojiNameTable {
  const char* text;
  const uint32_t* index;
  int count;

  const char* key(int i) const { return text + index[2 * i]; }
  const char* name(int i) const { return text + index[2 * i + 1]; }
};

// The table of an engine language id, or null: Chinese (9) and ids outside
// the engine's languages have none.
const VXN_EmojiNameTable* VXN_emoji_name_table(int language);

// The name of key in the language's table, or "" when the language has no
// table or the key is not in it.
std::string get_emoji_name(const std::string& key, int language);

#endif
