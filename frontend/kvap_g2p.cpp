#include "frontend/kvap_g2p.h"

#include <stdlib.h>
#include <string.h>

#include "frontend/kvap_debug.h"
#include "frontend/kvap_util.h"
#include "frontend/synth_util.h"

namespace {

// Growing output string: starts at 64 or 1024 bytes and grows by a factor
// of 1.2 until the next piece fits.
struct Out {
  char* s;
  size_t len;
  size_t cap;
  explicit Out(size_t start) : s(cst_alloc(char, start)), len(0), cap(start) {}
  void add(const char* piece, size_t n) {
    while (len + n + 1 > cap) cap = cap * 12 / 10 > cap ? cap * 12 / 10 : cap + 1;
    char* grown = cst_alloc(char, cap);
    memcpy(grown, s, len);
    cst_free(s);
    s = grown;
    memcpy(s + len, piece, n);
    len += n;
    s[len] = '\0';
  }
  void add(const char* piece) { add(piece, strlen(piece)); }
  void add(char c) { add(&c, 1); }
  void drop_last() {
    if (len) s[--len] = '\0';
  }
  char* take() { return s; }
};

bool is_pause(const cst_item* seg) { return strcmp(item_feat_string(seg, "name"), "pau") == 0; }

bool is_vowel(const cst_item* seg) { return strcmp(ffeature_string(seg, "ph_vc"), "+") == 0; }

// Stress digit of the syllable when seg is its vowel and it is stressed.
const char* stress_mark(const cst_item* seg, const cst_item* syl, int minimum) {
  if (!is_vowel(seg)) return nullptr;
  const char* s = item_feat_present(syl, "stress") ? item_feat_string(syl, "stress") : "0";
  return atoi(s) >= minimum ? s : nullptr;
}

const char* break_mark(const cst_item* word) {
  int b = ffeature_int(word, "word_break");
  return b == 3 ? "~" : b == 4 ? "`" : "";
}

cst_item* word_structure(const cst_item* word) { return item_as(word, "SylStructure"); }

cst_item* token_of(const cst_item* word) { return item_parent(item_as(word, "Token")); }

bool token_has_segments(const cst_item* token) {
  for (cst_item* w = item_daughter(token); w; w = item_next(w)) {
    cst_item* ss = word_structure(w);
    if (ss && item_daughter(ss) && item_daughter(item_daughter(ss))) return true;
  }
  return false;
}

char* form_norm(const cst_utterance* u) {
  Out o(64);
  for (cst_item* w = relation_head(utt_relation(u, "Word")); w; w = item_next(w)) {
    if (o.len) o.add(' ');
    o.add(item_feat_string(w, "name"));
  }
  return o.take();
}

char* form_rows(const cst_utterance* u, const char* relation, unsigned flags, bool phrasing) {
  Out o(1024);
  char row[300];
  cst_relation* r = utt_relation(u, relation);
  for (cst_item* i = r ? relation_head(r) : nullptr; i; i = item_next(i)) {
    if (phrasing)
      gen_phrasing_features(i, row, 300);
    else
      gen_HTS_features(i, row, 299);
    if (o.len) o.add('\n');
    o.add(row);
  }
  if (phrasing && (flags & G2P_BLANK_LINE)) o.add('\n');
  return o.take();
}

char* form_annotated(const cst_utterance* u, unsigned flags) {
  Out o(1024);
  bool first = true;
  for (cst_item* t = relation_head(utt_relation(u, "Token")); t; t = item_next(t)) {
    if (!first) o.add(' ');
    first = false;
    o.add(item_feat_string(t, "prepunctuation"));
    o.add(item_feat_string(t, "name"));
    if (token_has_segments(t)) {
      o.add("<!");
      for (cst_item* w = item_daughter(t); w; w = item_next(w)) {
        cst_item* ss = word_structure(w);
        for (cst_item* syl = ss ? item_daughter(ss) : nullptr; syl; syl = item_next(syl))
          for (cst_item* seg = item_daughter(syl); seg; seg = item_next(seg)) {
            o.add(item_feat_string(seg, "name"));
            const char* st = stress_mark(seg, syl, 1);
            if (st) o.add(st);
            o.add('.');
          }
      }
      o.drop_last();
      o.add("!>");
    }
    o.add(item_feat_string(t, "punc"));
    if ((flags & G2P_BREAK_MARK) && item_last_daughter(t)) o.add(break_mark(item_last_daughter(t)));
  }
  return o.take();
}

char* form_pron(const cst_utterance* u, unsigned flags) {
  Out o(1024);
  // The very last phone gets no trailing space.
  const cst_item* lastPhone = nullptr;
  for (cst_item* s = relation_head(utt_relation(u, "Segment")); s; s = item_next(s))
    if (!is_pause(s)) lastPhone = s;
  for (cst_item* t = relation_head(utt_relation(u, "Token")); t; t = item_next(t)) {
    if (flags & G2P_TOKEN_DETAIL) {
      o.add('$');
      o.add(item_feat_string(t, "name"));
      o.add('\t');
      for (cst_item* w = item_daughter(t); w; w = item_next(w)) {
        o.add(item_feat_string(w, "name"));
        if (item_next(w)) o.add(' ');
      }
      o.add('\n');
      if (!(flags & G2P_WORD_DETAIL)) continue;
    } else if (flags & G2P_TOKEN_BOUNDARY) {
      o.add('$');
    }
    for (cst_item* w = item_daughter(t); w; w = item_next(w)) {
      if (flags & G2P_WORD_DETAIL) {
        o.add('#');
        o.add(item_feat_string(w, "name"));
        o.add('\t');
      } else if (flags & G2P_WORD_BOUNDARY) {
        o.add('#');
      }
      cst_item* ss = word_structure(w);
      for (cst_item* syl = ss ? item_daughter(ss) : nullptr; syl; syl = item_next(syl)) {
        if (flags & G2P_SYL_BOUNDARY) o.add('|');
        for (cst_item* seg = item_daughter(syl); seg; seg = item_next(seg)) {
          if (is_pause(seg)) continue;
          o.add(item_feat_string(seg, "name"));
          if (flags & G2P_STRESS_MARK) {
            const char* st = stress_mark(seg, syl, 1);
            if (st) o.add(st);
          }
          if (flags & G2P_PHONE_BOUNDARY) {
            bool wordFinal = !item_next(seg) && !item_next(syl);
            bool last = item_equal(seg, lastPhone);
            if (!(last || (wordFinal && (flags & G2P_WORD_DETAIL)))) o.add(' ');
          }
        }
      }
      if (flags & G2P_WORD_DETAIL)
        o.add('\n');
      else if (flags & G2P_BREAK_MARK)
        o.add(break_mark(w));
    }
  }
  if (flags & (G2P_TOKEN_DETAIL | G2P_WORD_DETAIL)) o.drop_last();
  return o.take();
}

void add_cell(Out& o, const char* text, int width, bool last) {
  char* cell = get_trimmed_string(text, width);
  o.add(cell);
  for (int k = (int)strlen(cell); k < width; ++k) o.add(' ');
  cst_free(cell);
  if (!last) o.add(" | ");
}

int clamp_width(int w, int lo, int hi) { return w < lo ? lo : (hi > 0 && w > hi ? hi : w); }

char* token_text(const cst_item* t) {
  Out o(64);
  const char* parts[3] = {item_feat_string(t, "prepunctuation"), item_feat_string(t, "name"), item_feat_string(t, "punc")};
  for (const char* p : parts) {
    if (!p[0]) continue;
    if (o.len) o.add(' ');
    o.add(p);
  }
  return o.take();
}

char* form_debug(const cst_utterance* u) {
  // Columns: token, norm, word, pos f, lex, postlex, pron.
  static const int kMin[7] = {5, 4, 4, 5, 3, 7, 4};
  static const int kMax[7] = {30, 10, 20, 0, 13, 10, 50};
  cst_relation* words = utt_relation(u, "Word");
  int width[7];
  for (int k = 0; k < 7; ++k) width[k] = kMin[k];
  struct Row { char* cell[7]; cst_item* word; };
  int n = 0;
  for (cst_item* w = words ? relation_head(words) : nullptr; w; w = item_next(w)) ++n;
  Row* rows = cst_alloc(Row, n > 0 ? n : 1);
  int r = 0;
  for (cst_item* w = words ? relation_head(words) : nullptr; w; w = item_next(w), ++r) {
    cst_item* t = token_of(w);
    bool firstOfToken = t && item_equal(item_daughter(t), w);
    rows[r].word = w;
    rows[r].cell[0] = firstOfToken ? token_text(t) : cst_strdup("");
    rows[r].cell[1] = firstOfToken ? item_get_debug_tag_string(t, "debug_norm_tags") : cst_strdup("");
    rows[r].cell[2] = cst_strdup(item_feat_string(w, "name"));
    char pos[64];
    snprintf(pos, sizeof(pos), "%s %s", item_feat_present(w, "pos") ? item_feat_string(w, "pos") : "-",
             item_feat_present(w, "found_pos") ? item_feat_string(w, "found_pos") : "-");
    rows[r].cell[3] = cst_strdup(pos);
    rows[r].cell[4] = item_get_debug_tag_string(w, "debug_lex_tags");
    rows[r].cell[5] = item_get_debug_tag_string(w, "debug_postlex_tags");
    rows[r].cell[6] = get_word_pron_string(w);
    for (int k = 0; k < 7; ++k) width[k] = clamp_width((int)strlen(rows[r].cell[k]) > width[k] ? (int)strlen(rows[r].cell[k]) : width[k], kMin[k], kMax[k]);
  }
  int tableWidth = 24;
  for (int k = 0; k < 7; ++k) if (k != 3) tableWidth += width[k];
  Out o(1024);
  static const char* const kHead[7] = {"token", "norm", "word", "pos f", "lex", "postlex", "pron"};
  for (int k = 0; k < 7; ++k) add_cell(o, kHead[k], width[k], k == 6);
  o.add('\n');
  for (int k = 0; k < tableWidth; ++k) o.add('-');
  o.add('\n');
  for (r = 0; r < n; ++r) {
    for (int k = 0; k < 7; ++k) add_cell(o, rows[r].cell[k], width[k], k == 6);
    o.add('\n');
    cst_item* inPhrase = item_as(rows[r].word, "Phrase");
    if (inPhrase && !item_next(inPhrase)) {
      const char* name = item_feat_string(item_parent(inPhrase), "name");
      char fill = strcmp(name, "BB") == 0 ? '=' : '-';
      for (int k = 0; k < tableWidth - (int)strlen(name) - 1; ++k) o.add(fill);
      o.add(' ');
      o.add(name);
      o.add('\n');
    }
    for (int k = 0; k < 7; ++k) cst_free(rows[r].cell[k]);
  }
  cst_free(rows);
  return o.take();
}

}  // namespace

char* get_trimmed_string(const char* s, int width) {
  size_t n = strlen(s);
  if (width <= 0) return cst_strdup("");
  if ((int)n <= width) return cst_strdup(s);
  char* out = cst_substr(s, 0, width);
  out[width - 1] = '~';
  return out;
}

char* get_word_pron_string(const cst_item* word) {
  Out o(64);
  cst_item* ss = word_structure(word);
  for (cst_item* syl = ss ? item_daughter(ss) : nullptr; syl; syl = item_next(syl)) {
    if (item_prev(syl)) o.add(" . ");
    for (cst_item* seg = item_daughter(syl); seg; seg = item_next(seg)) {
      if (item_prev(seg)) o.add(' ');
      o.add(item_feat_string(seg, "name"));
      const char* st = stress_mark(seg, syl, 1);
      if (st) o.add(st);
    }
  }
  return o.take();
}

void gen_HTS_features(const cst_item* seg, char* out, size_t size) {
  kvap_seg_context c;
  kvap_seg_context_read(seg, &c);
  char h5[KVAP_NAME_SIZE];
  kvap_copy(h5, c.h5, sizeof(h5));
  const char* n[5];
  for (int k = 0; k < 5; ++k) n[k] = kvap_label_name(c.phone[k]);
  int w;
  if (c.pause) {
    w = snprintf(out, size,
                 "%s %s %s %s %s x x %d %d %d x x x x x x x x x x x x x x x x %d %d %d %s %d x x x x x x x x %s %d "
                 "%d %d x x x x %s %d %d %d %d %d x x x x x %s",
                 n[0], n[1], n[2], n[3], n[4], c.a1, c.a2, c.a3, c.c1, c.c2, c.c3, c.d1, c.d2, c.f1, c.f2, c.g1,
                 c.g2, h5, c.i1, c.i2, c.j1, c.j2, c.j3,
                 item_feat_present(seg, "pause_source") ? item_feat_string(seg, "pause_source") : "x");
    (void)w;
    return;
  }
  w = snprintf(out, size,
               "%s %s %s %s %s %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %s %d %d %d %s %d %s %d "
               "%d %d %d %d %d %d %s %d %d %d %d %d %d %d %s %d %d %d %d %d",
               n[0], n[1], n[2], n[3], n[4], c.p6, c.p7, c.a1, c.a2, c.a3, c.b[1], c.b[2], c.b[3], c.b[4], c.b[5],
               c.b[6], c.b[7], c.b[8], c.b[9], c.b[10], c.b[11], c.b[12], c.b[13], c.b[14], c.b[15], c.b16, c.c1,
               c.c2, c.c3, c.d1, c.d2, c.e1, c.e[2], c.e[3], c.e[4], c.e[5], c.e[6], c.e[7], c.e[8], c.f1, c.f2,
               c.g1, c.g2, c.h1, c.h2, c.h3, c.h4, h5, c.i1, c.i2, c.j1, c.j2, c.j3);
  if (w < 0 || (size_t)w >= size) return;
  cst_item* word = path_to_item(seg, "R:SylStructure.parent.parent");
  cst_item* token = word ? token_of(word) : nullptr;
  char name[150], pre[10], punc[10];
  kvap_copy(name, token ? item_feat_string(token, "name") : "x", sizeof(name));
  kvap_copy(pre, token ? item_feat_string(token, "prepunctuation") : "", sizeof(pre));
  kvap_copy(punc, token ? item_feat_string(token, "punc") : "", sizeof(punc));
  int posInToken = 0;
  for (cst_item* p = word ? item_prev(item_as(word, "Token")) : nullptr; p; p = item_prev(p)) ++posInToken;
  const char* phones = (token && item_feat_present(token, "phones_string")) ? item_feat_string(token, "phones_string") : "x";
  snprintf(out + w, size - (size_t)w, " %s %s %s %d %s x", name, pre[0] ? pre : "x", punc[0] ? punc : "x", posInToken,
           phones);
}

void gen_phrasing_features(const cst_item* word, char* out, size_t size) {
  cst_item* w = item_as(word, "Word");
  int back = 1;
  int backSyls = ffeature_int(w, "word_numsyls");
  for (cst_item* p = item_prev(w); p && ffeature_int(p, "word_break") == 1; p = item_prev(p)) {
    ++back;
    backSyls += ffeature_int(p, "word_numsyls");
  }
  cst_item* inToken = item_as(w, "Token");
  cst_item* token = token_of(w);
  cst_item* nextToken = token ? item_next(token) : nullptr;
  int ahead = 0, aheadSyls = 0;
  for (cst_item* p = item_next(w); p; p = item_next(p)) {
    ++ahead;
    aheadSyls += ffeature_int(p, "word_numsyls");
    cst_item* t = token_of(p);
    if (t && strchr(".,:;?!", item_feat_string(t, "punc")[0]) && item_feat_string(t, "punc")[0]) break;
  }
  const char* punc = token ? item_feat_string(token, "punc") : "";
  const char* nextPre = nextToken ? item_feat_string(nextToken, "prepunctuation") : "";
  snprintf(out, size, "%d\t%d\t%d\t%d\t%s\t%s\t%s\t%s\t%s\t%s\t%d\t%d", ffeature_int(w, "word_break") == 1 ? 0 : 1,
           back, backSyls, (inToken && !item_next(inToken)) ? 1 : 0,
           item_prev(w) ? item_feat_string(item_prev(w), "name") : "#", item_feat_string(w, "name"),
           punc[0] ? punc : "x", nextPre[0] ? nextPre : "x", item_next(w) ? item_feat_string(item_next(w), "name") : "#",
           (item_next(w) && item_next(item_next(w))) ? item_feat_string(item_next(item_next(w)), "name") : "#", ahead,
           aheadSyls);
}

char* create_flite_g2p_variant(const cst_utterance* u, unsigned flags) {
  if (!u) return cst_strdup("");
  if (flags & G2P_TTS) return form_rows(u, "Segment", flags, false);
  if (flags & G2P_NORM) return form_norm(u);
  if (flags & G2P_ANNOTATED) return form_annotated(u, flags);
  if (flags & G2P_PHRASING) return form_rows(u, "Word", flags, true);
  if (flags & G2P_DEBUG) return form_debug(u);
  return form_pron(u, flags);
}

void print_flite_utterance(FILE* out, const cst_utterance* u, unsigned flags) {
  char* s = create_flite_g2p_variant(u, flags);
  fputs(s, out);
  cst_free(s);
}

int flite_g2p(cst_voice* voice, const char* text, char*** results, int* count, unsigned flags) {
  char** res = (char**)calloc(KVAP_G2P_MAX_RESULTS, sizeof(char*));
  int n = 0;
  if (!res) {
    if (count) *count = 0;
    return 0;
  }
  cst_utterance* u = flite_synth_text(text, voice, nullptr);
  while (u && n < KVAP_G2P_MAX_RESULTS) {
    char* s = create_flite_g2p_variant(u, flags);
    res[n++] = strdup(s);
    cst_free(s);
    cst_utterance* next = flite_synth_text(text, voice, u);
    delete_utterance(u);
    u = next;
  }
  if (u) {
    fprintf(stderr, "[WARNING] Too many variants of: %s (will be ignored)\n", text);
    delete_utterance(u);
    n = KVAP_G2P_MAX_RESULTS;
  }
  *results = res;
  if (count) *count = n;
  return n;
}

int g2p(cst_voice* voice, const char* text, char*** results, int* count, unsigned flags) {
  return flite_g2p(voice, text, results, count, flags);
}

void free_flite_g2p_results(char** results) {
  if (!results) return;
  for (int k = 0; k < KVAP_G2P_MAX_RESULTS; ++k) free(results[k]);
  free(results);
}

void free_g2p_results(char** results) { free_flite_g2p_results(results); }

const char* g2p_version(cst_voice* voice) {
  return voice ? get_param_string(voice->features, "version", nullptr) : nullptr;
}

const char* g2p_encoding(cst_voice* voice) {
  return voice ? get_param_string(voice->features, "encoding", "iso-8859-15") : "iso-8859-15";
}
