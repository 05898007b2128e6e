#include <string.h>

#include "frontend/sylstruct_common.h"
#include "modules/common/eu_voice.h"

namespace {

// The exception entry of word, or null.
const unsigned char* find_exception(const eu_lexdata* d, const char* word) {
  if (d->entry_count == 0 || d->index_count == 0) return nullptr;
  // Last indexed entry not after the word, then a short scan.
  unsigned lo = 0, hi = d->index_count;
  while (hi - lo > 1) {
    unsigned mid = (lo + hi) / 2;
    if (strcmp((const char*)d->entries + d->index[mid], word) <= 0)
      lo = mid;
    else
      hi = mid;
  }
  unsigned at = d->index[lo];
  for (unsigned k = 0; k < d->index_step && at < d->entries_size; ++k) {
    const char* w = (const char*)d->entries + at;
    int c = strcmp(w, word);
    size_t len = strlen(w);
    if (c == 0) return d->entries + at + len + 1;
    if (c > 0) return nullptr;
    at += (unsigned)len + 1;
    while (at < d->entries_size && d->entries[at]) ++at;  // skip the phones
    ++at;
  }
  return nullptr;
}

bool listed(const char* const* list, const std::string& name) {
  for (int i = 0; list && list[i]; ++i)
    if (name == list[i]) return true;
  return false;
}

std::string base_of(const std::string& phone) {
  if (phone.size() > 1 && phone.back() >= '0' && phone.back() <= '9') return phone.substr(0, phone.size() - 1);
  return phone;
}

// One primary stress per word: the first one predicted, else the first (or
// penultimate) vowel that may carry stress.
void apply_stress(const eu_lexdata* d, std::vector<std::string>* phones) {
  std::vector<size_t> vowels, candidates;
  bool seen = false;
  for (size_t i = 0; i < phones->size(); ++i) {
    std::string& p = (*phones)[i];
    std::string base = base_of(p);
    if (!listed(d->vowels, base)) continue;
    if (base == p) p += "0";
    vowels.push_back(i);
    if (p.back() == '1') {
      if (seen) p.back() = '0';
      seen = true;
    } else if (p.back() != '0') {
      p.back() = '0';
    }
    if (!listed(d->unstressable, base)) candidates.push_back(i);
  }
  if (seen || vowels.empty()) return;
  if (candidates.empty()) candidates = vowels;
  size_t pick = candidates.front();
  if (d->stress_penultimate && candidates.size() > 1) pick = candidates[candidates.size() - 2];
  (*phones)[pick].back() = '1';
}

}  // namespace

cst_val* eu_lexicon_lookup(const eu_lexdata* d, const char* word) {
  if (!d || !word || !word[0]) return nullptr;
  if (const unsigned char* p = find_exception(d, word)) {
    cst_val* phones = nullptr;
    for (; *p; ++p)
      if (*p < d->phone_count + 1) phones = cons_val(string_val(d->phones[*p]), phones);
    return val_reverse(phones);
  }
  // Letter-to-sound rules on the letters they know.
  std::string codes;
  for (const unsigned char* c = (const unsigned char*)word; *c; ++c)
    if (d->letter_codes[*c]) codes += (char)d->letter_codes[*c];
  if (codes.empty()) return nullptr;
  cst_val* raw = lts_apply(codes.c_str(), "", &d->lts);
  std::vector<std::string> phones;
  for (const cst_val* p = raw; p; p = val_cdr(p)) phones.push_back(val_string(val_car(p)));
  delete_val(raw);
  apply_stress(d, &phones);
  cst_val* out = nullptr;
  for (size_t i = phones.size(); i-- > 0;) out = cons_val(string_val(phones[i].c_str()), out);
  return out;
}

cst_val* eu_lexicon_lookup_fixed(const eu_lexicon_record* r, const char* word) {
  if (!r || !word) return nullptr;
  if (r->fixed) {
    auto at = r->fixed->find(word);
    if (at != r->fixed->end()) {
      cst_val* phones = nullptr;
      std::string p;
      for (size_t i = 0; i <= at->second.size(); ++i) {
        if (i < at->second.size() && at->second[i] != ' ') {
          p += at->second[i];
        } else if (!p.empty()) {
          phones = cons_val(string_val(p.c_str()), phones);
          p.clear();
        }
      }
      return val_reverse(phones);
    }
  }
  return eu_lexicon_lookup(r->data, word);
}

cst_val* eu_lts_function(const cst_lexicon* lex, const char* word, const char* pos, const cst_features* feats) {
  (void)pos;
  (void)feats;
  return eu_lexicon_lookup_fixed((const eu_lexicon_record*)lex, word);
}

bool eu_is_onset(const eu_language* lang, const std::string& phones) {
  if (phones.empty() || listed(lang->onsets, phones)) return true;
  size_t space = phones.rfind(' ');
  std::string last = space == std::string::npos ? phones : phones.substr(space + 1);
  if (!listed(lang->onset_glides, last)) return false;
  return space == std::string::npos || listed(lang->onsets, phones.substr(0, space));
}

int eu_syl_boundary(const cst_item* segment, const cst_val* rest) {
  eu_voice_data* d = eu_voice_data_of(segment);
  if (!d || !has_vowel_in_syl(segment)) return 0;
  // The consonants of the rest up to its next vowel; none: the rest is coda.
  std::string cluster;
  bool vowelAhead = false;
  for (const cst_val* p = rest; p && !vowelAhead; p = val_cdr(p)) {
    std::string base = base_of(val_string(val_car(p)));
    if (listed(d->lang->lexdata->vowels, base)) {
      vowelAhead = true;
    } else {
      cluster += (cluster.empty() ? "" : " ") + base;
    }
  }
  if (!vowelAhead) return 0;
  // Maximal onset: close as soon as what follows up to the vowel may begin a syllable.
  return eu_is_onset(d->lang, cluster) ? 1 : 0;
}
