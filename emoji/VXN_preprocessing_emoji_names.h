// Per-language emoji name maps (Unicode CLDR short names) and their lookup.
// The maps are built once when the library is loaded, from constant lists
// generated at build time (data/gen_emoji_names.py), and are read-only
// afterwards: lookups are safe from any thread.
#ifndef VXN_PREPROCESSING_EMOJI_NAMES_H
#define VXN_PREPROCESSING_EMOJI_NAMES_H

#include <string>
#include <unordered_map>

// One generated (key, name) pair: the UTF-8 bytes of a character or of a
// zero-width-joiner sequence without variation selectors, and its name.
struct VXN_EmojiNamePair {
  const char* key;
  const char* name;
};

using EmojiNameMap = std::unordered_map<std::string, std::string>;

extern const EmojiNameMap da_emoji_names;
extern const EmojiNameMap de_emoji_names;
extern const EmojiNameMap en_emoji_names;
extern const EmojiNameMap es_emoji_names;
extern const EmojiNameMap fi_emoji_names;
extern const EmojiNameMap fr_emoji_names;
extern const EmojiNameMap it_emoji_names;
extern const EmojiNameMap ko_emoji_names;
extern const EmojiNameMap nl_emoji_names;
extern const EmojiNameMap no_emoji_names;
extern const EmojiNameMap pl_emoji_names;
extern const EmojiNameMap pt_emoji_names;
extern const EmojiNameMap ru_emoji_names;
extern const EmojiNameMap sv_emoji_names;

// Engine language id -> name map; Chinese (9) has none.
extern const std::unordered_map<int, const EmojiNameMap*> emoji_name_tables;

// The name of key in the language's map, or "" when the language has no map
// or the key is not in it.
std::string get_emoji_name(const std::string& key, int language);

#endif
