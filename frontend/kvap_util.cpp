#include "frontend/kvap_util.h"

#include <string.h>

namespace {

const char kSyl[] = "R:SylStructure.parent.R:Syllable.";
const char kWrd[] = "R:SylStructure.parent.parent.R:Word.";
const char kPhr[] = "R:SylStructure.parent.parent.R:Phrase.parent.";
const char kEndTone[] = "R:SylStructure.parent.parent.R:Phrase.parent.daughtern.R:SylStructure.daughtern.endtone";

// Evaluates prefix + base + feature on seg.
int fint(const cst_item* seg, const char* prefix, const char* base, const char* feature) {
  char path[192];
  snprintf(path, sizeof(path), "%s%s%s", prefix, base, feature);
  return ffeature_int(seg, path);
}

void fstr(const cst_item* seg, const char* prefix, const char* base, const char* feature, char* out) {
  char path[192];
  snprintf(path, sizeof(path), "%s%s%s", prefix, base, feature);
  kvap_copy(out, ffeature_string(seg, path), KVAP_TEXT_SIZE);
}

}  // namespace

void kvap_copy(char* dst, const char* src, size_t size) {
  if (size == 0) return;
  size_t n = src ? strlen(src) : 0;
  if (n > size - 1) n = size - 1;
  if (n) memcpy(dst, src, n);
  dst[n] = '\0';
}

const char* kvap_label_name(const char* name) { return strcmp(name, "0") == 0 ? "x" : name; }

void kvap_seg_context_read(const cst_item* seg, kvap_seg_context* c) {
  static const char* const kPhonePaths[5] = {"p.p.name", "p.name", "name", "n.name", "n.n.name"};
  memset(c, 0, sizeof(*c));
  for (int k = 0; k < 5; ++k) kvap_copy(c->phone[k], ffeature_string(seg, kPhonePaths[k]), KVAP_NAME_SIZE);
  c->pause = strcmp(ffeature_string(seg, "name"), "pau") == 0;
  c->pauseAhead = strcmp(ffeature_string(seg, "n.name"), "pau") == 0 ||
                  strcmp(ffeature_string(seg, "n.n.name"), "pau") == 0;
  kvap_copy(c->h5, ffeature_string(seg, kEndTone), KVAP_TEXT_SIZE);
  if (c->pause) {
    c->a1 = fint(seg, "p.", kSyl, "stress");
    c->a2 = fint(seg, "p.", kSyl, "accented");
    c->a3 = fint(seg, "p.", kSyl, "syl_numphones");
    c->c1 = fint(seg, "n.", kSyl, "stress");
    c->c2 = fint(seg, "n.", kSyl, "accented");
    c->c3 = fint(seg, "n.", kSyl, "syl_numphones");
    fstr(seg, "p.", kWrd, "gpos", c->d1);
    c->d2 = fint(seg, "p.", kWrd, "word_numsyls");
    fstr(seg, "n.", kWrd, "gpos", c->f1);
    c->f2 = fint(seg, "n.", kWrd, "word_numsyls");
    c->g1 = fint(seg, "p.", kPhr, "lisp_num_syls_in_phrase");
    c->g2 = fint(seg, "p.", kPhr, "lisp_num_words_in_phrase");
    c->i1 = fint(seg, "n.", kPhr, "lisp_num_syls_in_phrase");
    c->i2 = fint(seg, "n.", kPhr, "lisp_num_words_in_phrase");
    const char* via = item_next(seg) ? "n." : "p.";
    c->j1 = fint(seg, via, kPhr, "lisp_total_syls");
    c->j2 = fint(seg, via, kPhr, "lisp_total_words");
    c->j3 = fint(seg, via, kPhr, "lisp_total_phrases");
    // The reduced form also reads the phrase position through the neighbour.
    c->h3 = fint(seg, via, kSyl, "sub_phrases") + 1;
    c->h4 = fint(seg, via, kPhr, "lisp_total_phrases") - fint(seg, via, kSyl, "sub_phrases");
    return;
  }
  int posInSyl = ffeature_int(seg, "R:SylStructure.pos_in_syl");
  c->p6 = posInSyl + 1;
  c->p7 = fint(seg, "", kSyl, "syl_numphones") - posInSyl;
  c->a1 = fint(seg, "", kSyl, "p.stress");
  c->a2 = fint(seg, "", kSyl, "p.accented");
  c->a3 = fint(seg, "", kSyl, "p.syl_numphones");
  int posInWord = fint(seg, "", kSyl, "pos_in_word");
  c->b[1] = fint(seg, "", kSyl, "stress");
  c->b[2] = fint(seg, "", kSyl, "accented");
  c->b[3] = fint(seg, "", kSyl, "syl_numphones");
  c->b[4] = posInWord + 1;
  c->b[5] = fint(seg, "", kWrd, "word_numsyls") - posInWord;
  c->b[6] = fint(seg, "", kSyl, "syl_in") + 1;
  c->b[7] = fint(seg, "", kSyl, "syl_out") + 1;
  c->b[8] = fint(seg, "", kSyl, "ssyl_in") + 1;
  c->b[9] = fint(seg, "", kSyl, "ssyl_out") + 1;
  c->b[10] = fint(seg, "", kSyl, "asyl_in") + 1;
  c->b[11] = fint(seg, "", kSyl, "asyl_out") + 1;
  c->b[12] = fint(seg, "", kSyl, "lisp_distance_to_p_stress");
  c->b[13] = fint(seg, "", kSyl, "lisp_distance_to_n_stress");
  c->b[14] = fint(seg, "", kSyl, "lisp_distance_to_p_accent");
  c->b[15] = fint(seg, "", kSyl, "lisp_distance_to_n_accent");
  fstr(seg, "", kSyl, "syl_vowel", c->b16);
  c->c1 = fint(seg, "", kSyl, "n.stress");
  c->c2 = fint(seg, "", kSyl, "n.accented");
  c->c3 = fint(seg, "", kSyl, "n.syl_numphones");
  fstr(seg, "", kWrd, "p.gpos", c->d1);
  c->d2 = fint(seg, "", kWrd, "p.word_numsyls");
  fstr(seg, "", kWrd, "gpos", c->e1);
  c->e[2] = fint(seg, "", kWrd, "word_numsyls");
  c->e[3] = fint(seg, "", kWrd, "pos_in_phrase") + 1;
  c->e[4] = fint(seg, "", kWrd, "words_out");
  c->e[5] = fint(seg, "", kWrd, "content_words_in") + 1;
  c->e[6] = fint(seg, "", kWrd, "content_words_out") + 1;
  c->e[7] = fint(seg, "", kWrd, "lisp_distance_to_p_content");
  c->e[8] = fint(seg, "", kWrd, "lisp_distance_to_n_content");
  fstr(seg, "", kWrd, "n.gpos", c->f1);
  c->f2 = fint(seg, "", kWrd, "n.word_numsyls");
  c->g1 = fint(seg, "", kPhr, "p.lisp_num_syls_in_phrase");
  c->g2 = fint(seg, "", kPhr, "p.lisp_num_words_in_phrase");
  c->h1 = fint(seg, "", kPhr, "lisp_num_syls_in_phrase");
  c->h2 = fint(seg, "", kPhr, "lisp_num_words_in_phrase");
  int subPhrases = fint(seg, "", kSyl, "sub_phrases");
  c->h3 = subPhrases + 1;
  c->h4 = fint(seg, "", kPhr, "lisp_total_phrases") - subPhrases;
  c->i1 = fint(seg, "", kPhr, "n.lisp_num_syls_in_phrase");
  c->i2 = fint(seg, "", kPhr, "n.lisp_num_words_in_phrase");
  c->j1 = fint(seg, "", kPhr, "lisp_total_syls");
  c->j2 = fint(seg, "", kPhr, "lisp_total_words");
  c->j3 = fint(seg, "", kPhr, "lisp_total_phrases");
}
