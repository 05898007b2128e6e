// Emoji name maps; see VXN_preprocessing_emoji_names.h.
#include "emoji/VXN_preprocessing_emoji_names.h"

// Generated lists (constant-initialised, so they are ready before the maps
// below are built during dynamic initialisation).
#define VXN_EMOJI_LIST(lang)                                 \
  extern const VXN_EmojiNamePair vxn_emoji_pairs_##lang[]; \
  extern const int vxn_emoji_pairs_##lang##_count;
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

// emplace keeps the first name of a repeated key.
EmojiNameMap build_map(const VXN_EmojiNamePair* pairs, int count) {
  EmojiNameMap map;
  map.reserve(count);
  for (int i = 0; i < count; ++i) map.emplace(pairs[i].key, pairs[i].name);
  return map;
}

}  // namespace

#define VXN_EMOJI_MAP(lang) \
  const EmojiNameMap lang##_emoji_names = build_map(vxn_emoji_pairs_##lang, vxn_emoji_pairs_##lang##_count);
VXN_EMOJI_MAP(da)
VXN_EMOJI_MAP(de)
VXN_EMOJI_MAP(en)
VXN_EMOJI_MAP(es)
VXN_EMOJI_MAP(fi)
VXN_EMOJI_MAP(fr)
VXN_EMOJI_MAP(it)
VXN_EMOJI_MAP(ko)
VXN_EMOJI_MAP(nl)
VXN_EMOJI_MAP(no)
VXN_EMOJI_MAP(pl)
VXN_EMOJI_MAP(pt)
VXN_EMOJI_MAP(ru)
VXN_EMOJI_MAP(sv)
#undef VXN_EMOJI_MAP

const std::unordered_map<int, const EmojiNameMap*> emoji_name_tables = {
    {0, &ko_emoji_names},  {1, &en_emoji_names},  {2, &en_emoji_names},  {3, &en_emoji_names},
    {4, &de_emoji_names},  {5, &fr_emoji_names},  {6, &es_emoji_names},  {7, &it_emoji_names},
    {8, &nl_emoji_names},  {10, &pt_emoji_names}, {11, &pl_emoji_names}, {12, &ru_emoji_names},
    {13, &da_emoji_names}, {14, &sv_emoji_names}, {15, &fi_emoji_names}, {16, &no_emoji_names},
    {17, &pt_emoji_names},
};

std::string get_emoji_name(const std::string& key, int language) {
  const auto table = emoji_name_tables.find(language);
  if (table == emoji_name_tables.end()) return std::string();
  const auto entry = table->second->find(key);
  return entry == table->second->end() ? std::string() : entry->second;
}
