// Context of one segment as the full-context label and the label rows read it:
// the quinphone window and the syllable, word, phrase and utterance counts,
// evaluated with feature paths on the Segment item. Plain data; stateless.
#ifndef KVAP_UTIL_H
#define KVAP_UTIL_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

enum { KVAP_NAME_SIZE = 8, KVAP_TEXT_SIZE = 32 };

struct kvap_seg_context {
  char phone[5][KVAP_NAME_SIZE];  // p.p.name .. n.n.name, "0" when absent
  bool pause;                     // the segment is "pau"
  bool pauseAhead;                // n.name or n.n.name is "pau"
  // Non-pause fields (without the end adjustments and the h4 cap).
  int p6, p7;
  int a1, a2, a3;
  int b[16];  // b1..b15 in b[1..15]
  char b16[KVAP_TEXT_SIZE];
  int c1, c2, c3;
  char d1[KVAP_TEXT_SIZE];
  int d2;
  char e1[KVAP_TEXT_SIZE];
  int e[9];  // e2..e8 in e[2..8]
  char f1[KVAP_TEXT_SIZE];
  int f2;
  int g1, g2;
  int h1, h2, h3, h4;
  char h5[KVAP_TEXT_SIZE];
  int i1, i2;
  int j1, j2, j3;
};

// Feature functions of one utterance resolved by name once: Flite finds a
// feature's function by comparing its name with every registered one, for
// every evaluation. And the numeric features of the utterance's syllables,
// words and phrases once read, which the segments of one syllable, word or
// phrase share. A cache serves the segments of one utterance, which must not
// change meanwhile (the first item it sees fixes the utterance; items of
// another are looked up as before); initialise it before the first segment
// and drop it with the utterance. Plain data, no allocation.
enum { KVAP_FEATURE_SLOTS = 64, KVAP_VALUE_SLOTS = 512 };
struct kvap_feature_cache {
  const cst_utterance* utt;
  const char* name[KVAP_FEATURE_SLOTS];   // by the address of the name the caller passes
  cst_ffunction fn[KVAP_FEATURE_SLOTS];   // null: the name has no function (an item feature)
  // Numeric values by (item, address of the feature the caller passes); a
  // later value of the same index replaces an earlier one.
  const cst_item* value_item[KVAP_VALUE_SLOTS];
  const char* value_feature[KVAP_VALUE_SLOTS];
  int value[KVAP_VALUE_SLOTS];
};
VXN_EXPORT void kvap_feature_cache_init(kvap_feature_cache* cache);

// Reads every field of seg (pause segments read their neighbours' contexts).
VXN_EXPORT void kvap_seg_context_read(const cst_item* seg, kvap_seg_context* c);
// The same, with the items of the syllable, word and phrase found once and the
// feature functions taken from the cache; every field is the value the
// feature paths give.
VXN_EXPORT void kvap_seg_context_read_cached(const cst_item* seg, kvap_seg_context* c,
                                             kvap_feature_cache* cache);
// Name as written in labels: "x" for an absent neighbour ("0").
VXN_EXPORT const char* kvap_label_name(const char* name);
// Copies at most size - 1 bytes of src and terminates.
void kvap_copy(char* dst, const char* src, size_t size);

}  // extern "C"

#endif
