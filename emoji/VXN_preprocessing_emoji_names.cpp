// Emoji name tables; see VXN_preprocessing_emoji_names.h.
#include "emoji/VXN_preprocessing_emoji_names.h"

#include <string.h>

// Generated tables (constant data, no pointers).
#define VXN_EMOJI_LIST(lang)                        \
  extern const char vxn_emoji_text_##lang[];        \
  extern const uint32_t vxn_emoji_index_##lang[];   \
  extern const int vxn_emoji_count_##lang;
VXN_EMOJI_LIST(da)
VXN_EMOJI_LIST(de)
VXN_EMOJI_LIST(en)
VXN_EMOJI_LIST(es)
VXN_EMOJI_LIST(fi)
VXN_EMOJI_LIST(fr)
VXN_EMOJI_LIST(it)
VXN_EMOJI_LIST(ko)
VXN_EMOJI_LIST(nl)
VXN_EMOJI_LIST(no)
VXN_EMOJI_LIST(pl)
VXN_EMOJI_LIST(pt)
VXN_EMOJI_LIST(ru)
VXN_EMOJI_LIST(sv)
#undef VXN_EMOJI_LIST

namespace {

// Engine language id -> table; Chinese (9) has none. The tables are made on
// first use: their counts are constants of another translation unit.
const VXN_EmojiNameTable* table_of(int language) {
#define VXN_EMOJI_TABLE(lang) \
  VXN_EmojiNameTable { vxn_emoji_text_##lang, vxn_emoji_index_##lang, vxn_emoji_count_##lang }
  static const VXN_EmojiNameTable da = VXN_EMOJI_TABLE(da), de = VXN_EMOJI_TABLE(de),
                                  en = VXN_EMOJI_TABLE(en), es = VXN_EMOJI_TABLE(es),
                                  fi = VXN_EMOJI_TABLE(fi), fr = VXN_EMOJI_TABLE(fr),
                                  it = VXN_EMOJI_TABLE(it), ko = VXN_EMOJI_TABLE(ko),
                                  nl = VXN_EMOJI_TABLE(nl), no = VXN_EMOJI_TABLE(no),
                                  pl = VXN_EMOJI_TABLE(pl), pt = VXN_EMOJI_TABLE(pt),
                                  ru = VXN_EMOJI_TABLE(ru), sv = VXN_EMOJI_TABLE(sv);
#undef VXN_EMOJI_TABLE
  static const VXN_EmojiNameTable* const byLanguage[] = {
      &ko, &en, &en, &en, &de, &fr, &es, &it, &nl, nullptr, &pt, &pl, &ru, &da, &sv, &fi, &no, &pt,
  };
  const int n = (int)(sizeof(byLanguage) / sizeof(byLanguage[0]));
  return language >= 0 && language < n ? byLanguage[language] : nullptr;
}

}  // namespace

const VXN_EmojiNameTable* VXN_emoji_name_table(int language) { return table_of(language); }

std::string get_emoji_name(const std::string& key, int language) {
  const VXN_EmojiNameTable* table = table_of(language);
  if (!table || key.find('\0') != std::string::npos) return std::string();
  // Bisection over the keys in byte order (strcmp compares as unsigned char).
  int lo = 0, hi = table->count;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    const int c = strcmp(table->key(mid), key.c_str());
    if (c == 0) return table->name(mid);
    if (c < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return std::string();
}
