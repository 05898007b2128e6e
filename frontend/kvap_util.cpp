#include "frontend/kvap_util.h"

#include <stdint.h>
#include <string.h>

namespace {

const char kSyl[] = "R:SylStructure.parent.R:Syllable.";
const char kWrd[] = "R:SylStructure.parent.parent.R:Word.";
const char kPhr[] = "R:SylStructure.parent.parent.R:Phrase.parent.";
const char kEndTone[] = "R:SylStructure.parent.parent.R:Phrase.parent.daughtern.R:SylStructure.daughtern.endtone";

}  // namespace

void kvap_copy(char* dst, const char* src, size_t size) {
  if (size == 0) return;
  size_t n = src ? strlen(src) : 0;
  if (n > size - 1) n = size - 1;
  if (n) memcpy(dst, src, n);
  dst[n] = '\0';
}

const char* kvap_label_name(const char* name) { return strcmp(name, "0") == 0 ? "x" : name; }

namespace {

// The moves of the feature paths above, as Flite's path evaluation makes them:
// "p", "n", "parent", "daughtern" and "R:<relation>".
enum Move : unsigned char {
  kEnd,
  kPrev,
  kNext,
  kParent,
  kLastDaughter,
  kAsSylStructure,
  kAsSyllable,
  kAsWord,
  kAsPhrase
};

const Move kSylMoves[] = {kAsSylStructure, kParent, kAsSyllable, kEnd};
const Move kWrdMoves[] = {kAsSylStructure, kParent, kParent, kAsWord, kEnd};
const Move kPhrMoves[] = {kAsSylStructure, kParent, kParent, kAsPhrase, kParent, kEnd};
const Move kEndToneMoves[] = {kAsSylStructure, kParent,        kParent,         kAsPhrase, kParent,
                              kLastDaughter,   kAsSylStructure, kLastDaughter, kEnd};

// The item the moves lead to from i, or null where one leads nowhere (Flite's
// path evaluation stops there too).
const cst_item* walk(const cst_item* i, const Move* moves) {
  for (; i && *moves != kEnd; ++moves) {
    switch (*moves) {
      case kPrev: i = item_prev(i); break;
      case kNext: i = item_next(i); break;
      case kParent: i = item_parent(i); break;
      case kLastDaughter: i = item_last_daughter(i); break;
      case kAsSylStructure: i = item_as(i, "SylStructure"); break;
      case kAsSyllable: i = item_as(i, "Syllable"); break;
      case kAsWord: i = item_as(i, "Word"); break;
      case kAsPhrase: i = item_as(i, "Phrase"); break;
      default: break;
    }
  }
  return i;
}

// The value of the feature name (no path) on item, as Flite evaluates it: the
// utterance's function of that name, else the item's own feature. Null where
// Flite gives its default.
cst_ffunction utterance_function(const cst_utterance* utt, const char* name) {
  const cst_val* ff = feat_val(utt->ffunctions, name);
  return ff ? val_ffunc(ff) : nullptr;
}

const cst_val* feature_value(const cst_item* item, const char* name, kvap_feature_cache* cache) {
  const cst_utterance* utt = item_utt(item);
  cst_ffunction fn = nullptr;
  if (utt) {
    if (!cache->utt) cache->utt = utt;
    int slot = -1;
    if (utt == cache->utt) {
      const unsigned h = (unsigned)(((uintptr_t)name * 0x9E3779B97F4A7C15ull) >> 58);
      for (unsigned k = 0; k < KVAP_FEATURE_SLOTS && slot < 0; ++k) {
        const unsigned i = (h + k) % KVAP_FEATURE_SLOTS;
        if (!cache->name[i]) {
          cache->fn[i] = utterance_function(utt, name);
          cache->name[i] = name;
        }
        if (cache->name[i] == name) slot = (int)i;
      }
    }
    fn = slot >= 0 ? cache->fn[slot] : utterance_function(utt, name);
  }
  return fn ? fn(item) : item_feat(item, name);
}

// Feature evaluation for one segment: the value of prefix + base + feature on
// the segment, where `at` is the item prefix + base leads to (null when it
// leads nowhere) and feature is a name after at most one "p." or "n.". Where
// the shortcut does not reach a value, the path itself is evaluated.
struct SegReader {
  const cst_item* seg;
  kvap_feature_cache* cache;

  const cst_val* get(const cst_item* at, const char* prefix, const char* base,
                     const char* feature) {
    const cst_item* item = at;
    const char* name = feature;
    if ((feature[0] == 'p' || feature[0] == 'n') && feature[1] == '.') {
      if (item) item = feature[0] == 'p' ? item_prev(item) : item_next(item);
      name = feature + 2;
    }
    const cst_val* v = item && !strpbrk(name, ".:") ? feature_value(item, name, cache) : nullptr;
    if (v) return v;
    char path[192];
    snprintf(path, sizeof(path), "%s%s%s", prefix, base, feature);
    return ffeature(seg, path);
  }
  int num(const cst_item* at, const char* prefix, const char* base, const char* feature) {
    if (!at || !cache->utt || item_utt(at) != cache->utt)
      return val_int(get(at, prefix, base, feature));
    const uintptr_t key = (uintptr_t)at * 31u + (uintptr_t)feature;
    const unsigned i = (unsigned)((key * 0x9E3779B97F4A7C15ull) >> 55) % KVAP_VALUE_SLOTS;
    if (cache->value_item[i] != at || cache->value_feature[i] != feature) {
      cache->value[i] = val_int(get(at, prefix, base, feature));
      cache->value_item[i] = at;
      cache->value_feature[i] = feature;
    }
    return cache->value[i];
  }
  void text(const cst_item* at, const char* prefix, const char* base, const char* feature,
            char* out) {
    kvap_copy(out, val_string(get(at, prefix, base, feature)), KVAP_TEXT_SIZE);
  }
};

}  // namespace

void kvap_feature_cache_init(kvap_feature_cache* cache) { memset(cache, 0, sizeof(*cache)); }

void kvap_seg_context_read(const cst_item* seg, kvap_seg_context* c) {
  kvap_feature_cache cache;
  kvap_feature_cache_init(&cache);
  kvap_seg_context_read_cached(seg, c, &cache);
}

void kvap_seg_context_read_cached(const cst_item* seg, kvap_seg_context* c,
                                  kvap_feature_cache* cache) {
  static const char* const kPhonePaths[5] = {"p.p.name", "p.name", "name", "n.name", "n.n.name"};
  static const Move kPhoneMoves[5][3] = {{kPrev, kPrev, kEnd},
                                         {kPrev, kEnd, kEnd},
                                         {kEnd, kEnd, kEnd},
                                         {kNext, kEnd, kEnd},
                                         {kNext, kNext, kEnd}};
  SegReader r{seg, cache};
  memset(c, 0, sizeof(*c));
  for (int k = 0; k < 5; ++k) {
    const cst_item* at = walk(seg, kPhoneMoves[k]);
    const cst_val* v = at ? feature_value(at, "name", cache) : nullptr;
    kvap_copy(c->phone[k], val_string(v ? v : ffeature(seg, kPhonePaths[k])), KVAP_NAME_SIZE);
  }
  // A copy is "pau" exactly when its name is (copies keep seven bytes).
  c->pause = strcmp(c->phone[2], "pau") == 0;
  c->pauseAhead = strcmp(c->phone[3], "pau") == 0 || strcmp(c->phone[4], "pau") == 0;
  {
    const cst_item* at = walk(seg, kEndToneMoves);
    const cst_val* v = at ? feature_value(at, "endtone", cache) : nullptr;
    kvap_copy(c->h5, val_string(v ? v : ffeature(seg, kEndTone)), KVAP_TEXT_SIZE);
  }
  if (c->pause) {
    const cst_item* prev = item_prev(seg);
    const cst_item* next = item_next(seg);
    const cst_item* pSyl = walk(prev, kSylMoves);
    const cst_item* nSyl = walk(next, kSylMoves);
    const cst_item* pWrd = walk(prev, kWrdMoves);
    const cst_item* nWrd = walk(next, kWrdMoves);
    const cst_item* pPhr = walk(prev, kPhrMoves);
    const cst_item* nPhr = walk(next, kPhrMoves);
    c->a1 = r.num(pSyl, "p.", kSyl, "stress");
    c->a2 = r.num(pSyl, "p.", kSyl, "accented");
    c->a3 = r.num(pSyl, "p.", kSyl, "syl_numphones");
    c->c1 = r.num(nSyl, "n.", kSyl, "stress");
    c->c2 = r.num(nSyl, "n.", kSyl, "accented");
    c->c3 = r.num(nSyl, "n.", kSyl, "syl_numphones");
    r.text(pWrd, "p.", kWrd, "gpos", c->d1);
    c->d2 = r.num(pWrd, "p.", kWrd, "word_numsyls");
    r.text(nWrd, "n.", kWrd, "gpos", c->f1);
    c->f2 = r.num(nWrd, "n.", kWrd, "word_numsyls");
    c->g1 = r.num(pPhr, "p.", kPhr, "lisp_num_syls_in_phrase");
    c->g2 = r.num(pPhr, "p.", kPhr, "lisp_num_words_in_phrase");
    c->i1 = r.num(nPhr, "n.", kPhr, "lisp_num_syls_in_phrase");
    c->i2 = r.num(nPhr, "n.", kPhr, "lisp_num_words_in_phrase");
    const bool viaNext = item_next(seg) != nullptr;
    const char* via = viaNext ? "n." : "p.";
    const cst_item* vSyl = viaNext ? nSyl : pSyl;
    const cst_item* vPhr = viaNext ? nPhr : pPhr;
    c->j1 = r.num(vPhr, via, kPhr, "lisp_total_syls");
    c->j2 = r.num(vPhr, via, kPhr, "lisp_total_words");
    c->j3 = r.num(vPhr, via, kPhr, "lisp_total_phrases");
    // The reduced form also reads the phrase position through the neighbour.
    c->h3 = r.num(vSyl, via, kSyl, "sub_phrases") + 1;
    c->h4 = r.num(vPhr, via, kPhr, "lisp_total_phrases") - r.num(vSyl, via, kSyl, "sub_phrases");
    return;
  }
  const cst_item* syl = walk(seg, kSylMoves);
  const cst_item* wrd = walk(seg, kWrdMoves);
  const cst_item* phr = walk(seg, kPhrMoves);
  int posInSyl = r.num(item_as(seg, "SylStructure"), "R:SylStructure.", "", "pos_in_syl");
  c->p6 = posInSyl + 1;
  c->p7 = r.num(syl, "", kSyl, "syl_numphones") - posInSyl;
  c->a1 = r.num(syl, "", kSyl, "p.stress");
  c->a2 = r.num(syl, "", kSyl, "p.accented");
  c->a3 = r.num(syl, "", kSyl, "p.syl_numphones");
  int posInWord = r.num(syl, "", kSyl, "pos_in_word");
  c->b[1] = r.num(syl, "", kSyl, "stress");
  c->b[2] = r.num(syl, "", kSyl, "accented");
  c->b[3] = r.num(syl, "", kSyl, "syl_numphones");
  c->b[4] = posInWord + 1;
  c->b[5] = r.num(wrd, "", kWrd, "word_numsyls") - posInWord;
  c->b[6] = r.num(syl, "", kSyl, "syl_in") + 1;
  c->b[7] = r.num(syl, "", kSyl, "syl_out") + 1;
  c->b[8] = r.num(syl, "", kSyl, "ssyl_in") + 1;
  c->b[9] = r.num(syl, "", kSyl, "ssyl_out") + 1;
  c->b[10] = r.num(syl, "", kSyl, "asyl_in") + 1;
  c->b[11] = r.num(syl, "", kSyl, "asyl_out") + 1;
  c->b[12] = r.num(syl, "", kSyl, "lisp_distance_to_p_stress");
  c->b[13] = r.num(syl, "", kSyl, "lisp_distance_to_n_stress");
  c->b[14] = r.num(syl, "", kSyl, "lisp_distance_to_p_accent");
  c->b[15] = r.num(syl, "", kSyl, "lisp_distance_to_n_accent");
  r.text(syl, "", kSyl, "syl_vowel", c->b16);
  c->c1 = r.num(syl, "", kSyl, "n.stress");
  c->c2 = r.num(syl, "", kSyl, "n.accented");
  c->c3 = r.num(syl, "", kSyl, "n.syl_numphones");
  r.text(wrd, "", kWrd, "p.gpos", c->d1);
  c->d2 = r.num(wrd, "", kWrd, "p.word_numsyls");
  r.text(wrd, "", kWrd, "gpos", c->e1);
  c->e[2] = r.num(wrd, "", kWrd, "word_numsyls");
  c->e[3] = r.num(wrd, "", kWrd, "pos_in_phrase") + 1;
  c->e[4] = r.num(wrd, "", kWrd, "words_out");
  c->e[5] = r.num(wrd, "", kWrd, "content_words_in") + 1;
  c->e[6] = r.num(wrd, "", kWrd, "content_words_out") + 1;
  c->e[7] = r.num(wrd, "", kWrd, "lisp_distance_to_p_content");
  c->e[8] = r.num(wrd, "", kWrd, "lisp_distance_to_n_content");
  r.text(wrd, "", kWrd, "n.gpos", c->f1);
  c->f2 = r.num(wrd, "", kWrd, "n.word_numsyls");
  c->g1 = r.num(phr, "", kPhr, "p.lisp_num_syls_in_phrase");
  c->g2 = r.num(phr, "", kPhr, "p.lisp_num_words_in_phrase");
  c->h1 = r.num(phr, "", kPhr, "lisp_num_syls_in_phrase");
  c->h2 = r.num(phr, "", kPhr, "lisp_num_words_in_phrase");
  int subPhrases = r.num(syl, "", kSyl, "sub_phrases");
  c->h3 = subPhrases + 1;
  c->h4 = r.num(phr, "", kPhr, "lisp_total_phrases") - subPhrases;
  c->i1 = r.num(phr, "", kPhr, "n.lisp_num_syls_in_phrase");
  c->i2 = r.num(phr, "", kPhr, "n.lisp_num_words_in_phrase");
  c->j1 = r.num(phr, "", kPhr, "lisp_total_syls");
  c->j2 = r.num(phr, "", kPhr, "lisp_total_words");
  c->j3 = r.num(phr, "", kPhr, "lisp_total_phrases");
}
