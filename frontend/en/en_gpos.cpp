#include "frontend/en/en_gpos.h"

#include "frontend/init_common.h"

namespace {

const char* const kIn[] = {"of", "for", "in", "on", "that", "with", "by", "at", "from", "as", "if", "that",
                           "against", "about", "before", "because", "under", "after", "over", "into", "while",
                           "without", "through", "new", "between", "among", "until", "per", "up", "down", nullptr};
const char* const kTo[] = {"to", nullptr};
const char* const kDet[] = {"the", "a", "an", "no", "some", "this", "each", "another", "those", "every",
                            "all", "any", "these", "both", "neither", "no", "many", nullptr};
const char* const kMd[] = {"will", "may", "would", "can", "could", "should", "must", "ought", "might", nullptr};
const char* const kCc[] = {"and", "but", "or", "plus", "yet", "nor", nullptr};
const char* const kWp[] = {"who", "what", "where", "how", "when", nullptr};
const char* const kPps[] = {"her", "his", "their", "its", "our", "mine", nullptr};
const char* const kAux[] = {"is", "am", "are", "was", "were", "has", "have", "had", "be", nullptr};
const char* const kPunc[] = {".", ",", ":", ";", "\"", "'", "(", "?", ")", "!", nullptr};

const cst_val* ff_in(const cst_item* w) { return val_string_n(gpos_content_words(w, false, true)); }
const cst_val* ff_out(const cst_item* w) { return val_string_n(gpos_content_words(w, true, true)); }
const cst_val* ff_p(const cst_item* w) { return val_string_n(gpos_content_distance(w, false, true)); }
const cst_val* ff_n(const cst_item* w) { return val_string_n(gpos_content_distance(w, true, true)); }

}  // namespace

const kvap_gpos_class en_gpos[] = {
    {"in", kIn}, {"to", kTo}, {"det", kDet}, {"md", kMd}, {"cc", kCc},
    {"wp", kWp}, {"pps", kPps}, {"aux", kAux}, {"punc", kPunc}, {nullptr, nullptr},
};

const kvap_pos_pair en_pos_dict[] = {
    {"do", "v"},     {"nice", "a"},   {"real", "a"},    {"an", "d"},      {"am", "v"},
    {"doesnt", "v"}, {"a", "d"},      {"_a", "n"},      {"'ve", "s"},     {"havent", "v"},
    {"couldnt", "v"}, {"dont", "v"},  {"we're", "s"},   {"content", "n"}, {"+", "n"},
    {nullptr, nullptr},
};

const cst_val* en_gpos_ff(const cst_item* word) {
  return kvap_item_string(word, "_gpos", gpos_lookup(en_gpos, item_feat_string(word, "name")));
}

void en_ff_register_gpos(cst_features* ff) {
  ff_register(ff, "gpos", en_gpos_ff);
  ff_register(ff, "content_words_in", ff_in);
  ff_register(ff, "content_words_out", ff_out);
  ff_register(ff, "lisp_distance_to_p_content", ff_p);
  ff_register(ff, "lisp_distance_to_n_content", ff_n);
}
