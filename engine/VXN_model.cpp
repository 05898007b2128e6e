#include "engine/VXN_model.h"

#include <string.h>


// ---------------------------------------------------------------------------
// Release

void VXN_Question_clear(VXN_Question* q) {
  // The question, its patterns and strings live in a packet block of the model.
  if (!q) return;
  q->string = NULL;
  q->head = NULL;
  q->next = NULL;
}

void VXN_Node_clear(VXN_Node* node) {
  // Nodes live in the node block of their tree.
  if (!node) return;
  memset(node, 0, sizeof(*node));
}

void VXN_Tree_clear(VXN_Tree* tree) {
  // A tree is one block (tree, selection pattern, "*") plus one node block
  // whose first element is the root.
  if (!tree) return;
  VXN_free(tree->root);
  VXN_free(tree);
}

void VXN_Model_clear(VXN_Model* model) {
  if (!model) return;
  for (VXN_Tree* t = model->tree; t;) {
    VXN_Tree* next = t->next;
    VXN_Tree_clear(t);
    t = next;
  }
  for (void* b = model->blocks; b;) {
    void* next = *(void**)b;
    VXN_free(b);
    b = next;
  }
  if (model->pdf) {
    for (int k = 0; k < model->ntree + 2; k++) VXN_free(model->pdf[k]);
  }
  VXN_free(model->pdf);
  VXN_free(model->npdf);
  VXN_free(model->codes);
  VXN_free(model->codebook);
  VXN_free(model->codebook_block);
  VXN_free(model->linear);
  VXN_free(model->state_offset);
  memset(model, 0, sizeof(*model));
  model->codebook_type = -1;
}

static void window_clear(VXN_Window* w) {
  if (w->coefficient) {
    for (int i = 0; i < w->size; i++) {
      // Coefficients are addressed from the window centre; the block starts at l_width.
      if (w->coefficient[i] && w->l_width) VXN_free(w->coefficient[i] + w->l_width[i]);
    }
  }
  VXN_free(w->coefficient);
  VXN_free(w->l_width);
  VXN_free(w->r_width);
  memset(w, 0, sizeof(*w));
}

void VXN_Stream_clear(VXN_Stream* stream) {
  if (!stream) return;
  if (stream->model) {
    for (int i = 0; i < stream->nmodel; i++) VXN_Model_clear(&stream->model[i]);
  }
  VXN_free(stream->model);
  window_clear(&stream->window);
  memset(stream, 0, sizeof(*stream));
}

// ---------------------------------------------------------------------------
// Lifecycle and getters

void VXN_ModelSet_initialize(VXN_ModelSet* ms, int nstream) {
  memset(ms, 0, sizeof(*ms));
  ms->nstate = -1;
  ms->nstream = nstream;
}

void VXN_ModelSet_clear(VXN_ModelSet* ms) {
  VXN_QuestionMemo_clear(&ms->memo);
  VXN_Stream_clear(&ms->duration);
  const int n = ms->nstream > 0 ? ms->nstream : 0;
  if (ms->stream) {
    for (int s = 0; s < n; s++) VXN_Stream_clear(&ms->stream[s]);
  }
  if (ms->gv) {
    for (int s = 0; s < n; s++) VXN_Stream_clear(&ms->gv[s]);
  }
  VXN_free(ms->stream);
  VXN_free(ms->gv);
  if (ms->am_file) fclose(ms->am_file);
  VXN_ModelSet_initialize(ms, -1);
}

void VXN_ModelSet_clear_voice(VXN_ModelSet* ms, int nstream) {
  const int32_t language = ms->language, model_select = ms->model_select;
  const int32_t pause_mode = ms->pause_mode;
  const float pause_frames = ms->pause_frames;
  VXN_ModelSet_clear(ms);
  VXN_ModelSet_initialize(ms, nstream);
  ms->language = language;
  ms->model_select = model_select;
  ms->pause_mode = pause_mode;
  ms->pause_frames = pause_frames;
}

// The stream, or null when the index is outside the loaded streams.
static const VXN_Stream* stream_at(const VXN_ModelSet* ms, int stream) {
  if (!ms->stream || stream < 0 || stream >= ms->nstream) return NULL;
  return &ms->stream[stream];
}

static const VXN_Stream* gv_at(const VXN_ModelSet* ms, int stream) {
  if (!ms->gv || stream < 0 || stream >= ms->nstream) return NULL;
  return &ms->gv[stream];
}

static const VXN_Window* window_at(const VXN_ModelSet* ms, int stream, int window) {
  const VXN_Stream* st = stream_at(ms, stream);
  if (!st || window < 0 || window >= st->window.size) return NULL;
  return &st->window;
}

int VXN_ModelSet_get_nstate(const VXN_ModelSet* ms) { return ms->nstate; }
int VXN_ModelSet_get_nstream(const VXN_ModelSet* ms) { return ms->nstream; }

int VXN_ModelSet_get_vector_length(const VXN_ModelSet* ms, int stream) {
  const VXN_Stream* st = stream_at(ms, stream);
  return st ? st->vector_length : 0;
}

int VXN_ModelSet_is_msd(const VXN_ModelSet* ms, int stream) {
  const VXN_Stream* st = stream_at(ms, stream);
  return st ? st->msd_flag : 0;
}

int VXN_ModelSet_get_window_size(const VXN_ModelSet* ms, int stream) {
  const VXN_Stream* st = stream_at(ms, stream);
  return st ? st->window.size : 0;
}

int VXN_ModelSet_get_window_left_width(const VXN_ModelSet* ms, int stream, int window) {
  const VXN_Window* w = window_at(ms, stream, window);
  return w ? w->l_width[window] : 0;
}

int VXN_ModelSet_get_window_right_width(const VXN_ModelSet* ms, int stream, int window) {
  const VXN_Window* w = window_at(ms, stream, window);
  return w ? w->r_width[window] : 0;
}

float VXN_ModelSet_get_window_coefficient(const VXN_ModelSet* ms, int stream, int window, int j) {
  const VXN_Window* w = window_at(ms, stream, window);
  if (!w || j < w->l_width[window] || j > w->r_width[window]) return 0.0f;
  return w->coefficient[window][j];
}

int VXN_ModelSet_get_window_max_width(const VXN_ModelSet* ms, int stream) {
  const VXN_Stream* st = stream_at(ms, stream);
  return st ? st->window.max_width : 0;
}

int VXN_ModelSet_get_duration_interpolation_size(const VXN_ModelSet* ms) {
  return ms->duration.nmodel;
}

int VXN_ModelSet_get_parameter_interpolation_size(const VXN_ModelSet* ms, int stream) {
  const VXN_Stream* st = stream_at(ms, stream);
  return st ? st->nmodel : 0;
}

int VXN_ModelSet_get_gv_interpolation_size(const VXN_ModelSet* ms, int stream) {
  const VXN_Stream* st = gv_at(ms, stream);
  return st ? st->nmodel : 0;
}

int VXN_ModelSet_use_gv(const VXN_ModelSet* ms, int stream) {
  const VXN_Stream* st = gv_at(ms, stream);
  return st && st->vector_length >= 1;
}

// ---------------------------------------------------------------------------
// Pattern matching

int VXN_dp_match(const char* s, const char* p, int pos, int max) {
  // Literals and '?' are consumed in a loop; only a star recurses, once per
  // length it tries, so the depth is bounded by the pattern's stars.
  for (;;) {
    if (pos > max) return 0;
    if (*s == '\0' && *p == '\0') return 1;
    if (*p != '*') {
      if (*p == '\0' || *s == '\0') return 0;
      if (*p != *s && *p != '?') return 0;
      s++;
      p++;
      pos++;
      max++;
      continue;
    }
    while (p[1] == '*') p++;  // a run of stars absorbs what one star does
    for (int k = 0;; k++) {
      if (pos + k > max) return 0;
      if (VXN_dp_match(s + k, p + 1, pos + k, max)) return 1;
      if (s[k] == '\0') return 0;
    }
  }
}

namespace {

// What a pattern is made of: its length, its stars and its other characters
// (of which '?'), and whether it is the '*text*' form, a substring test.
struct PatternShape {
  size_t length = 0;
  int stars = 0;
  int literal = 0;
  bool substring = false;
};

PatternShape shape_of(const char* pattern) {
  PatternShape shape;
  int questions = 0;
  for (const char* c = pattern; *c; c++, shape.length++) {
    if (*c == '*') {
      shape.stars++;
    } else {
      shape.literal++;
      if (*c == '?') questions++;
    }
  }
  shape.substring = shape.stars == 2 && questions == 0 && shape.length >= 2 && pattern[0] == '*' &&
                    pattern[shape.length - 1] == '*';
  return shape;
}

}  // namespace

int VXN_pattern_match(const char* label, const char* pattern) {
  if (!label || !pattern) return 0;
  const PatternShape shape = shape_of(pattern);
  const size_t llen = strlen(label);
  if (shape.substring) return memmem(label, llen, pattern + 1, shape.length - 2) != NULL;
  const long max = (long)llen - shape.literal;
  if (max < 0) return 0;
  return VXN_dp_match(label, pattern, 0, (int)max);
}

int VXN_Question_match(const VXN_Question* q, const char* label) {
  for (const VXN_Pattern* p = q ? q->head : NULL; p; p = p->next)
    if (VXN_pattern_match(label, p->string)) return 1;
  return 0;
}

// ---------------------------------------------------------------------------
// Compiled patterns and the question memo

namespace {

// Records how VXN_pattern_match would decide the pattern, by the same
// examination of its characters, so that the decision is not repeated per
// label.
void compile_pattern(VXN_Pattern* p) {
  const char* pattern = p->string;
  p->kind = VXN_PATTERN_UNKNOWN;
  p->length = 0;
  if (!pattern) return;
  const PatternShape shape = shape_of(pattern);
  if (shape.length > 0x7fffffff) return;
  if (shape.substring) {
    p->kind = VXN_PATTERN_SUBSTRING;
    p->length = (int32_t)(shape.length - 2);
  } else if (shape.stars > 0 && shape.literal == 0) {
    p->kind = VXN_PATTERN_ANY;
  } else {
    p->kind = VXN_PATTERN_GENERAL;
    p->length = shape.literal;
  }
}

// 1 when the m bytes of needle occur in the memo's label (memmem's answer),
// trying only the positions that hold the needle's first byte.
inline int contains(const VXN_QuestionMemo* memo, const char* needle, size_t m) {
  if (m == 0) return 1;
  if (m > memo->length) return 0;
  const char* s = memo->label;
  const int32_t last = (int32_t)(memo->length - m);
  for (int32_t i = memo->first[(unsigned char)needle[0]]; i >= 0 && i <= last;
       i = memo->next[i]) {
    size_t k = 1;
    while (k < m && s[i + k] == needle[k]) k++;
    if (k == m) return 1;
  }
  return 0;
}

// VXN_pattern_match(memo->label, p->string).
inline int compiled_match(const VXN_Pattern* p, const VXN_QuestionMemo* memo) {
  switch (p->kind) {
    case VXN_PATTERN_ANY:
      return 1;
    case VXN_PATTERN_SUBSTRING:
      return contains(memo, p->string + 1, (size_t)p->length);
    case VXN_PATTERN_GENERAL: {
      const long max = (long)memo->length - p->length;
      if (max < 0) return 0;
      return VXN_dp_match(memo->label, p->string, 0, (int)max);
    }
    default:
      return VXN_pattern_match(memo->label, p->string);
  }
}

// Hash of a question's pattern list (a question's answer depends on nothing
// else).
uint64_t pattern_list_hash(const VXN_Question* q) {
  uint64_t h = 1469598103934665603ull;
  for (const VXN_Pattern* p = q->head; p; p = p->next) {
    for (const char* c = p->string ? p->string : ""; *c; c++)
      h = (h ^ (unsigned char)*c) * 1099511628211ull;
    h = (h ^ (p->string ? 0x100u : 0x200u)) * 1099511628211ull;
  }
  return h;
}

int same_pattern_list(const VXN_Question* a, const VXN_Question* b) {
  const VXN_Pattern* p = a->head;
  const VXN_Pattern* r = b->head;
  for (; p && r; p = p->next, r = r->next) {
    if (!p->string || !r->string) {
      if (p->string != r->string) return 0;
    } else if (strcmp(p->string, r->string) != 0) {
      return 0;
    }
  }
  return !p && !r;
}

// Open-addressed table of the numbered questions by pattern list.
struct SlotTable {
  uint64_t* hash;
  const VXN_Question** question;
  size_t mask;
  int32_t next;  // the next free slot number
};

int count_questions(const VXN_Stream* st) {
  int n = 0;
  if (!st->model) return 0;
  for (int i = 0; i < st->nmodel; i++)
    for (const VXN_Question* q = st->model[i].question; q; q = q->next) n++;
  return n;
}

// Compiles the patterns of the model's trees and questions and gives each
// question the slot of its pattern list, numbering new lists.
void number_model(VXN_Model* model, SlotTable* t) {
  for (VXN_Tree* tr = model->tree; tr; tr = tr->next)
    for (VXN_Pattern* p = tr->head; p; p = p->next) compile_pattern(p);
  for (VXN_Question* q = model->question; q; q = q->next) {
    for (VXN_Pattern* p = q->head; p; p = p->next) compile_pattern(p);
    const uint64_t h = pattern_list_hash(q);
    size_t i = (size_t)(h ^ (h >> 29)) & t->mask;
    while (t->question[i] && !(t->hash[i] == h && same_pattern_list(t->question[i], q)))
      i = (i + 1) & t->mask;
    if (!t->question[i]) {
      t->hash[i] = h;
      t->question[i] = q;
      q->slot = t->next++;
    } else {
      q->slot = t->question[i]->slot;
    }
  }
}

void number_stream(VXN_Stream* st, SlotTable* t) {
  if (!st->model) return;
  for (int i = 0; i < st->nmodel; i++) number_model(&st->model[i], t);
}

// Numbers every question of the set; 0 when memory runs out.
int number_questions(VXN_ModelSet* ms) {
  VXN_QuestionMemo* memo = &ms->memo;
  size_t total = (size_t)count_questions(&ms->duration);
  if (ms->stream)
    for (int s = 0; s < ms->nstream; s++) total += (size_t)count_questions(&ms->stream[s]);
  size_t size = 16;
  while (size < 2 * total) size *= 2;
  SlotTable t;
  t.hash = (uint64_t*)VXN_calloc(size, sizeof(uint64_t));
  t.question = (const VXN_Question**)VXN_calloc(size, sizeof(VXN_Question*));
  t.mask = size - 1;
  t.next = 1;
  int ok = t.hash && t.question;
  if (ok) {
    number_stream(&ms->duration, &t);
    if (ms->stream)
      for (int s = 0; s < ms->nstream; s++) number_stream(&ms->stream[s], &t);
    memo->answer = (unsigned char*)VXN_calloc((size_t)t.next, 1);
    ok = memo->answer != NULL;
    if (ok) memo->nslot = t.next;
  }
  VXN_free(t.hash);
  VXN_free(t.question);
  return ok;
}

// The question's answer for the memo's label, asked once per label.
inline int memo_answer(const VXN_Question* q, const char* label, VXN_QuestionMemo* memo) {
  if (!memo || !q || q->slot <= 0 || q->slot >= memo->nslot) return VXN_Question_match(q, label);
  unsigned char* a = memo->answer + q->slot;
  if (*a == 0) {
    int yes = 0;
    for (const VXN_Pattern* p = q->head; p && !yes; p = p->next)
      yes = compiled_match(p, memo);
    *a = yes ? 2 : 1;
  }
  return *a == 2;
}

}  // namespace

void VXN_QuestionMemo_clear(VXN_QuestionMemo* memo) {
  if (!memo) return;
  VXN_free(memo->label);
  VXN_free(memo->next);
  VXN_free(memo->answer);
  memset(memo, 0, sizeof(*memo));
}

VXN_QuestionMemo* VXN_ModelSet_memo_for(VXN_ModelSet* ms, const char* label) {
  if (!ms || !label) return NULL;
  VXN_QuestionMemo* memo = &ms->memo;
  if (memo->numbered == 0) memo->numbered = number_questions(ms) ? 1 : -1;
  if (memo->numbered < 0) return NULL;
  const size_t n = strlen(label);
  if (memo->label && memo->length == n && memcmp(memo->label, label, n) == 0) return memo;
  if (n >= 0x7fffffff) return NULL;  // positions are 32-bit
  if (n + 1 > memo->capacity) {
    size_t cap = memo->capacity ? memo->capacity : 256;
    while (cap < n + 1) cap *= 2;
    char* grown = (char*)VXN_calloc(cap, 1);
    int32_t* next = (int32_t*)VXN_calloc(cap, sizeof(int32_t));
    if (!grown || !next) {
      VXN_free(grown);
      VXN_free(next);
      return NULL;
    }
    VXN_free(memo->label);
    VXN_free(memo->next);
    memo->label = grown;
    memo->next = next;
    memo->capacity = cap;
  }
  memcpy(memo->label, label, n + 1);
  memo->length = n;
  memset(memo->first, 0xff, sizeof(memo->first));
  for (size_t i = n; i-- > 0;) {
    const unsigned char c = (unsigned char)label[i];
    memo->next[i] = memo->first[c];
    memo->first[c] = (int32_t)i;
  }
  memset(memo->answer, 0, (size_t)memo->nslot);
  return memo;
}

int VXN_Tree_search_node_memo(const VXN_Tree* tree, const char* label, VXN_QuestionMemo* memo) {
  const VXN_Node* node = tree ? tree->root : NULL;
  while (node) {
    const VXN_Node* next = memo_answer(node->quest, label, memo) ? node->yes : node->no;
    if (next && next->pdf > 0) return next->pdf;
    node = next;
  }
  VXN_print(VXN_LEVEL_ERROR, "error [4050] : Cannot find node.\n");
  return -1;
}

int VXN_Tree_search_node(const VXN_Tree* tree, const char* label) {
  return VXN_Tree_search_node_memo(tree, label, NULL);
}

static const VXN_Tree* select_tree(const VXN_Model* model, const char* label, int state,
                                   int* pdf_set, const VXN_QuestionMemo* memo) {
  int k = 2;
  for (const VXN_Tree* t = model->tree; t; t = t->next, k++) {
    if (state >= 0 && t->state != state) continue;
    int taken = t->head == NULL;
    for (const VXN_Pattern* p = t->head; p && !taken; p = p->next)
      taken = memo ? compiled_match(p, memo) : VXN_pattern_match(label, p->string);
    if (taken) {
      *pdf_set = k;
      return t;
    }
  }
  *pdf_set = k;
  return NULL;
}

const VXN_Tree* VXN_Model_select_tree(const VXN_Model* model, const char* label, int state,
                                      int* pdf_set) {
  return select_tree(model, label, state, pdf_set, NULL);
}

// The pdf-set number and leaf the model's trees select, or -1 (reported).
// memo: the memo of this label, or null.
static int find_leaf(const VXN_Model* model, const char* label, int state, int* k,
                     VXN_QuestionMemo* memo) {
  const VXN_Tree* tree = select_tree(model, label, state, k, memo);
  if (!tree || !model->npdf || *k < 2 || *k > model->ntree + 1) {
    VXN_print(VXN_LEVEL_ERROR, "error [4060] : No decision tree for state %d.\n", state);
    return -1;
  }
  const int leaf = VXN_Tree_search_node_memo(tree, label, memo);
  if (leaf < 1) return -1;  // already reported
  if (leaf > model->npdf[*k]) {
    VXN_print(VXN_LEVEL_ERROR, "error [4070] : Leaf %d lies outside the %d pdfs of its tree.\n",
              leaf, model->npdf[*k]);
    return -1;
  }
  return leaf;
}

const unsigned char* VXN_Model_find_pdf_memo(const VXN_Model* model, const char* label, int state,
                                             VXN_QuestionMemo* memo) {
  int k = 0;
  const int leaf = find_leaf(model, label, state, &k, memo);
  if (leaf < 1) return NULL;
  if (!model->pdf || !model->pdf[k]) {
    VXN_print(VXN_LEVEL_ERROR, "error [4070] : Leaf %d lies outside the %d pdfs of its tree.\n",
              leaf, 0);
    return NULL;
  }
  return model->pdf[k][leaf];
}

const unsigned char* VXN_Model_find_pdf(const VXN_Model* model, const char* label, int state) {
  return VXN_Model_find_pdf_memo(model, label, state, NULL);
}

// Reads count codes of the selected pdf from the package file (on-demand
// layout); each must lie below limit. 0 when they cannot be read.
static int read_codes(VXN_ModelSet* ms, const VXN_Model* model, const char* label,
                      int state, int count, int limit, unsigned char* buf) {
  int k = 0;
  const int leaf = find_leaf(model, label, state, &k, VXN_ModelSet_memo_for(ms, label));
  if (leaf < 1 || !model->state_offset || !ms->am_file) return 0;
  const long at = (long)model->state_offset[k] + (long)(leaf - 1) * count;
  if (fseek(ms->am_file, at, SEEK_SET) != 0 ||
      fread(buf, 1, (size_t)count, ms->am_file) != (size_t)count) {
    VXN_print(VXN_LEVEL_ERROR, "error [4080] : Cannot read the codes of pdf %d.\n", leaf);
    return 0;
  }
  for (int i = 0; i < count; i++)
    if (buf[i] >= limit && limit > 0) {
      VXN_print(VXN_LEVEL_ERROR, "error [4080] : Cannot read the codes of pdf %d.\n", leaf);
      return 0;
    }
  return 1;
}

// ---------------------------------------------------------------------------
// Phoneme classes

// Copies the text after the first `open` up to the first of `close` after it
// into buf; 0 when the field is absent or longer than maxlen.
static int label_field(const char* label, char open, const char* close, int maxlen, char* buf) {
  if (!label) return 0;
  const char* start = strchr(label, open);
  if (!start) return 0;
  start++;
  const char* end = strpbrk(start, close);
  if (!end || end - start > maxlen) return 0;
  memcpy(buf, start, (size_t)(end - start));
  buf[end - start] = '\0';
  return 1;
}

static int in_table(const char* field, const char* const* table, size_t count) {
  for (size_t i = 0; i < count; i++)
    if (strcmp(field, table[i]) == 0) return 1;
  return 0;
}

#define VXN_COUNT(a) (sizeof(a) / sizeof((a)[0]))

static int current_phoneme_in(const char* label, int maxlen, const char* const* table,
                              size_t count) {
  char buf[32];
  return label_field(label, '-', "+:", maxlen, buf) && in_table(buf, table, count);
}

static const char* const kPause[] = {"#", "#l", "#s", "#e", "pau"};
static const char* const kBreak[] = {"#l", "pau"};
static const char* const kPSound[] = {"ah-p"};
static const char* const kKoreanNumberI[] = {"#-iy+lx=#e", "#-iy+lx=#l", "#l-iy+lx=#e",
                                             "#l-iy+lx=#l"};
static const char* const kKoreanNumberII[] = {"#-iy+#e", "#-iy+#l", "#l-iy+#e", "#l-iy+#l"};
static const char* const kKoreanFinal[] = {"n-iy+d=aa"};

int VXN_Check_pause(const char* label) {
  return current_phoneme_in(label, 3, kPause, VXN_COUNT(kPause));
}

int VXN_Check_break(const char* label) {
  char buf[32];
  if (!label_field(label, '-', "+:", 6, buf) || !in_table(buf, kBreak, VXN_COUNT(kBreak)))
    return 0;
  if (strcmp(buf, "pau") == 0) {
    // A pause next to an "x" neighbour is not a break.
    const char* dash = strchr(label, '-');
    if (dash != label && dash[-1] == 'x') return 0;
    const char* close = strpbrk(dash + 1, "+:");
    if (close[1] == 'x') return 0;
  }
  return 1;
}

int VXN_Check_English_pSound(const char* label) {
  char buf[32];
  return label_field(label, '^', "+", 19, buf) && in_table(buf, kPSound, VXN_COUNT(kPSound));
}

int VXN_Check_koreanNumber_i(const char* label) {
  char buf[32];
  return label_field(label, '^', "/", 14, buf) &&
         in_table(buf, kKoreanNumberI, VXN_COUNT(kKoreanNumberI));
}

int VXN_Check_koreanNumber_ii(const char* label) {
  char buf[32];
  return label_field(label, '^', "=", 14, buf) &&
         in_table(buf, kKoreanNumberII, VXN_COUNT(kKoreanNumberII));
}

int VXN_Check_KoreanFinal(const char* label) {
  char buf[32];
  return label_field(label, '^', "/", 14, buf) &&
         in_table(buf, kKoreanFinal, VXN_COUNT(kKoreanFinal));
}

// Korean classes take current phonemes of up to 3 characters, European ones up to 4.
#define VXN_CLASS(name, maxlen, ...)                                   \
  int name(const char* label) {                                        \
    static const char* const kMembers[] = {__VA_ARGS__};               \
    return current_phoneme_in(label, maxlen, kMembers, VXN_COUNT(kMembers)); \
  }

#define VXN_KO_VOWELS                                                                       \
  "aa", "ax", "ow", "uw", "iy", "ww", "eh", "ey", "ui", "ja", "jx", "jh", "je", "jo", "ju", \
      "wa", "wh", "wx", "we", "wi"
VXN_CLASS(VXN_Check_Vowel, 3, VXN_KO_VOWELS)
VXN_CLASS(VXN_Check_VocalSound, 3, "g", "d", "b", "zh", "hi", "hh", "nx", "n", "nn", "m", "mx", "l",
          "r", "lx", VXN_KO_VOWELS)

#define VXN_US_VOWELS                                                                          \
  "aa", "ae", "ah", "ao", "aw", "ax", "axr", "ay", "eh", "el", "em", "en", "er", "ey", "ih", \
      "ix", "iy", "ow", "oy", "uh", "uw"
VXN_CLASS(VXN_Check_English_Vowel, 4, VXN_US_VOWELS)
VXN_CLASS(VXN_Check_English_VocalSound, 4, "b", "d", "dh", "dx", "el", "em", "en", "g", "jh", "l",
          "m", "n", "ng", "r", "v", "w", "y", VXN_US_VOWELS)

#define VXN_UK_VOWELS                                                                          \
  "aa", "ii", "i", "e", "er", "a", "uh", "o", "oo", "u", "uu", "ax", "ei", "ai", "oi", "ou", \
      "au", "ia", "ea", "ua"
VXN_CLASS(VXN_Check_UKEnglish_Vowel, 4, VXN_UK_VOWELS)
VXN_CLASS(VXN_Check_UKEnglish_VocalSound, 4, VXN_UK_VOWELS, "d", "b", "g", "n", "m", "ng", "l",
          "z", "dh", "v", "zh", "r", "w", "y", "jh")
VXN_CLASS(VXN_Check_AUEnglish_Vowel, 4, VXN_UK_VOWELS)
VXN_CLASS(VXN_Check_AUEnglish_VocalSound, 4, VXN_UK_VOWELS, "b", "d", "g", "y", "dh", "v", "m",
          "n", "l", "dx", "r", "w", "zh", "z", "ng", "jh")

VXN_CLASS(VXN_Check_German_Vowel, 4, "a", "aa", "an", "aw", "ax", "axr", "ay", "e", "ee", "eeu",
          "en", "i", "ii", "o", "oe", "on", "oo", "oy", "u", "ue", "uu", "uue")
VXN_CLASS(VXN_Check_German_VocalSound, 4, "a", "aa", "an", "aw", "ax", "axr", "ay", "b", "d", "e",
          "ee", "eeu", "en", "g", "i", "ii", "j", "l", "m", "n", "ng", "o", "oe", "on", "oo",
          "oy", "r", "u", "ue", "uu", "uue", "v", "xr", "z", "zh", "hh", "gs")

VXN_CLASS(VXN_Check_French_Vowel, 4, "a", "an", "ax", "e", "eh", "en", "eu", "i", "o", "oe", "oen",
          "oh", "on", "u", "ue")
VXN_CLASS(VXN_Check_French_VocalSound, 4, "a", "an", "ax", "b", "d", "e", "eh", "en", "eu", "g",
          "i", "j", "l", "m", "n", "ng", "ni", "o", "oe", "oen", "oh", "on", "u", "ue", "v", "w",
          "wh")

VXN_CLASS(VXN_Check_Spanish_Vowel, 4, "a", "e", "i", "o", "u")
VXN_CLASS(VXN_Check_Spanish_VocalSound, 4, "a", "e", "i", "o", "u", "b", "bh", "d", "dh", "g", "gh", "m",
          "n", "ny", "ng", "l", "ll", "jj", "r", "rr", "j", "w")

#define VXN_IT_VOWELS "a", "e", "eh", "i", "o", "oh", "u"
VXN_CLASS(VXN_Check_Italian_Vowel, 4, VXN_IT_VOWELS)
VXN_CLASS(VXN_Check_Italian_VocalSound, 4, VXN_IT_VOWELS, "b", "d", "g", "v", "z", "dz", "jh", "m",
          "n", "ny", "ng", "l", "lh", "r", "rr", "j", "w")

#define VXN_DA_VOWELS                                                                         \
  "ii", "i", "yy", "y", "uu", "u", "eeh", "eh", "ooy", "oy", "ooh", "oh", "ee", "e", "ooe", \
      "oe", "ooa", "oa", "aao", "ao", "aa", "a", "oo", "o", "ax", "ah"
VXN_CLASS(VXN_Check_Danish_Vowel, 4, VXN_DA_VOWELS)
VXN_CLASS(VXN_Check_Danish_VocalSound, 4, VXN_DA_VOWELS, "b", "d", "dh", "g", "v", "m", "n", "rh",
          "l", "j", "r", "w")

#define VXN_NO_VOWELS                                                                        \
  "ii", "i", "yy", "y", "uuy", "uy", "uu", "u", "ee", "ea", "ooe", "oe", "oo", "o", "aae", \
      "ae", "aa", "a", "ax", "eu", "aei", "oey", "ai", "oy"
VXN_CLASS(VXN_Check_Norwegian_Vowel, 4, VXN_NO_VOWELS)
VXN_CLASS(VXN_Check_Norwegian_VocalSound, 4, VXN_NO_VOWELS, "b", "d", "rd", "g", "v", "m", "n",
          "rn", "ng", "r", "l", "rl", "j", "el", "erl", "en", "ern")

#define VXN_PL_VOWELS "a", "e", "i", "o", "u", "y"
VXN_CLASS(VXN_Check_Polish_Vowel, 4, VXN_PL_VOWELS)
VXN_CLASS(VXN_Check_Polish_VocalSound, 4, VXN_PL_VOWELS, "b", "d", "g", "gi", "v", "z", "dz", "zh",
          "dzh", "zi", "dzi", "m", "n", "ni", "ng", "j", "jx", "w", "wx", "l", "r")

#define VXN_RU_VOWELS "a", "e", "i", "o", "u", "y", "ah", "ax", "ih"
VXN_CLASS(VXN_Check_Russian_Vowel, 4, VXN_RU_VOWELS)
VXN_CLASS(VXN_Check_Russian_VocalSound, 4, VXN_RU_VOWELS, "b", "bj", "d", "dj", "g", "gj", "v", "vj", "z",
          "zj", "zh", "zhj", "m", "mj", "n", "nj", "l", "lj", "r", "rj", "j")

#define VXN_FI_VOWELS                                                                          \
  "i", "y", "u", "e", "oe", "o", "ae", "a", "ii", "yy", "uu", "ee", "ooe", "oo", "aae", "aa", \
      "ix", "yx", "ux", "ex", "oex", "ox"
VXN_CLASS(VXN_Check_Finnish_Vowel, 4, VXN_FI_VOWELS)
VXN_CLASS(VXN_Check_Finnish_VocalSound, 4, VXN_FI_VOWELS, "b", "d", "g", "v", "zh", "m", "n", "ng",
          "r", "l", "j")

#define VXN_PT_VOWELS \
  "a", "e", "eh", "i", "o", "oh", "u", "ae", "ie", "ou", "ax", "ex", "ix", "ox", "ux"
#define VXN_PT_VOICED                                                                         \
  VXN_PT_VOWELS, "b", "d", "g", "v", "z", "zh", "m", "n", "ni", "l", "lh", "rr", "r", "w", "wx", \
      "j", "jx"
VXN_CLASS(VXN_Check_PTPortuguese_Vowel, 4, VXN_PT_VOWELS)
VXN_CLASS(VXN_Check_PTPortuguese_VocalSound, 4, VXN_PT_VOICED)

VXN_CLASS(VXN_Check_Swedish_Vowel, 4, "ii", "ee", "eea", "aa", "oo", "uu", "uuy", "yy", "ooe", "i",
          "e", "ea", "a", "o", "u", "uy", "y", "oe", "au", "eu")
// The Swedish voice uses the European Portuguese voiced-sound table as it stands.
VXN_CLASS(VXN_Check_Swedish_VocalSound, 4, VXN_PT_VOICED)

// Brazilian Portuguese: the European Portuguese names of the oral vowels,
// ax and the glides; the nasal vowels an en in on un, the affricates ch jh,
// and rr a voiceless fricative ([h], [x]).
#define VXN_BR_VOWELS "a", "ax", "an", "e", "eh", "en", "i", "in", "o", "oh", "on", "u", "un"
VXN_CLASS(VXN_Check_BRPortuguese_Vowel, 4, VXN_BR_VOWELS)
VXN_CLASS(VXN_Check_BRPortuguese_VocalSound, 4, VXN_BR_VOWELS, "b", "d", "g", "v", "z", "zh", "jh", "m",
          "n", "ni", "l", "lh", "r", "w", "wx", "j", "jx")

#define VXN_NL_VOWELS \
  "ax", "a", "e", "i", "o", "y", "ii", "u", "uy", "aa", "eh", "oo", "oe", "ei", "oey", "au"
VXN_CLASS(VXN_Check_Dutch_Vowel, 4, VXN_NL_VOWELS)
VXN_CLASS(VXN_Check_Dutch_VocalSound, 4, VXN_NL_VOWELS, "b", "d", "g", "v", "z", "zh", "h", "m",
          "n", "ng", "r", "l", "j", "w")

// ---------------------------------------------------------------------------
// Lookups

typedef int (*VXN_ClassFn)(const char*);

// Voiced-sound and vowel classes by language id; null where a language has none.
static const VXN_ClassFn kVoicedClass[18] = {
    VXN_Check_VocalSound,           VXN_Check_English_VocalSound,   VXN_Check_UKEnglish_VocalSound,
    VXN_Check_AUEnglish_VocalSound, VXN_Check_German_VocalSound,    VXN_Check_French_VocalSound,
    VXN_Check_Spanish_VocalSound,   VXN_Check_Italian_VocalSound,   VXN_Check_Dutch_VocalSound,
    NULL,                           VXN_Check_BRPortuguese_VocalSound, VXN_Check_Polish_VocalSound,
    VXN_Check_Russian_VocalSound,   VXN_Check_Danish_VocalSound,    VXN_Check_Swedish_VocalSound,
    VXN_Check_Finnish_VocalSound,   VXN_Check_Norwegian_VocalSound, VXN_Check_PTPortuguese_VocalSound};
static const VXN_ClassFn kVowelClass[18] = {
    VXN_Check_Vowel,           VXN_Check_English_Vowel,   VXN_Check_UKEnglish_Vowel,
    VXN_Check_AUEnglish_Vowel, VXN_Check_German_Vowel,    VXN_Check_French_Vowel,
    VXN_Check_Spanish_Vowel,   VXN_Check_Italian_Vowel,   VXN_Check_Dutch_Vowel,
    NULL,                      VXN_Check_BRPortuguese_Vowel, VXN_Check_Polish_Vowel,
    VXN_Check_Russian_Vowel,   VXN_Check_Danish_Vowel,    VXN_Check_Swedish_Vowel,
    VXN_Check_Finnish_Vowel,   VXN_Check_Norwegian_Vowel, VXN_Check_PTPortuguese_Vowel};

// Korean long words: per-state factors of a 5-state voice.
static const float kKoreanLongWord[5] = {0.8f, 0.9f, 1.3f, 0.8f, 0.6f};

void VXN_ModelSet_get_duration(VXN_ModelSet* ms, const char* label, float* mean, float* vari) {
  if (!label) return;
  const int n = ms->nstate;
  if (n < 1 || n > 5) return;  // no duration stream loaded
  for (int i = 2; i < n + 2; i++) mean[i] = vari[i] = 0.0f;
  float* m = mean + 2;
  VXN_QuestionMemo* memo = VXN_ModelSet_memo_for(ms, label);
  for (int i = 0; i < ms->duration.nmodel; i++) {
    const VXN_Model* model = &ms->duration.model[i];
    const unsigned char* code = VXN_Model_find_pdf_memo(model, label, -1, memo);
    if (!code || !model->codebook || model->vector_length != n) continue;
    for (int d = 0; d < n; d++) {
      m[d] = model->codebook[d][code[d]];
      vari[d + 2] = model->codebook[n + d][code[n + d]];
    }
    float sum = 0.0f;
    for (int d = 0; d < n; d++) sum += m[d];
    if (ms->pause_mode == 1 && VXN_Check_break(label) == 1) {
      // Fixed pauses: the middle state takes up the missing length; no smoothing.
      if (ms->pause_frames > sum) m[n / 2] += ms->pause_frames - sum;
    } else {
      if (ms->language == 0 && sum > 30.0f) {
        for (int d = 0; d < n; d++) m[d] *= kKoreanLongWord[d];
      }
      if (n >= 2) {
        float t[5];
        t[0] = (m[0] + m[1]) / 2.0f;
        for (int d = 1; d <= n - 2; d++) t[d] = (m[d - 1] + m[d] + m[d + 1]) / 3.0f;
        t[n - 1] = (m[n - 2] + m[n - 1]) / 2.0f;
        for (int d = 0; d < n; d++) m[d] = t[d];
      }
    }
    if (ms->language == 0) {
      if (ms->pause_mode == 1 &&
          (VXN_Check_koreanNumber_i(label) == 1 || VXN_Check_koreanNumber_ii(label) == 1)) {
        for (int d = 0; d < n; d++) m[d] *= 2.0f;
      }
      if (VXN_Check_KoreanFinal(label) == 1) {
        for (int d = 0; d < n; d++) m[d] *= 2.0f;
      }
    }
  }
}

int VXN_ModelSet_get_parameter(VXN_ModelSet* ms, const char* label, float* mean, float* vari,
                               float* msd, int stream, int state) {
  int result = 1;
  if (!label) return 1;
  const VXN_Stream* st = stream_at(ms, stream);
  if (!st) {
    VXN_print(VXN_LEVEL_ERROR, "error [4060] : No decision tree for state %d.\n", state);
    return 1;
  }
  const int v = st->vector_length;
  for (int d = 0; d < v; d++) mean[d] = vari[d] = 0.0f;
  if (msd) *msd = 0.0f;
  const int lang = ms->language;
  VXN_QuestionMemo* memo = VXN_ModelSet_memo_for(ms, label);
  for (int i = 0; i < st->nmodel; i++) {
    const VXN_Model* model = &st->model[i];
    const unsigned char* code = VXN_Model_find_pdf_memo(model, label, state, memo);
    if (!code || !model->codebook || model->vector_length != v) continue;
    const int halve = lang == 1 && ms->model_select == 0 && stream == 0 &&
                      VXN_Check_English_pSound(label) == 1;
    for (int d = 0; d < v; d++) {
      mean[d] = model->codebook[d][code[d]];
      vari[d] = model->codebook[v + d][code[v + d]];
      if (halve) mean[d] *= 0.5f;
    }
    if (stream == 0 && state - 2 == ms->nstate / 2 && v > 0 && VXN_Check_break(label) != 0)
      mean[0] = 0.1f;
    if (!st->msd_flag) continue;
    float w = (float)code[2 * v] * (float)model->msd_pair[1] + (float)model->msd_pair[0];
    if (lang >= 0 && lang < 18 && kVoicedClass[lang]) {
      if (!kVoicedClass[lang](label)) {
        if (VXN_Check_pause(label) == 1) {
          w = 0.3f;
          result = 0;
        }
      } else if (w <= 0.5f) {
        w = 0.9f;
        if (kVowelClass[lang](label)) result = 0;
      }
    }
    if (msd) *msd = w;
  }
  return result;
}

void VXN_ModelSet_get_gv(VXN_ModelSet* ms, float* mean, float* vari, int stream,
                         const float* weights) {
  const VXN_Stream* st = gv_at(ms, stream);
  if (!st) return;
  const int v = st->vector_length;
  for (int d = 0; d < v; d++) mean[d] = vari[d] = 0.0f;
  for (int i = 0; i < st->nmodel; i++) {
    const VXN_Model* model = &st->model[i];
    if (!model->linear || !model->pdf || model->ntree < 1 || model->npdf[2] < 1 ||
        model->vector_length != v) {
      VXN_print(VXN_LEVEL_ERROR, "error [4060] : No decision tree for state %d.\n", 2);
      continue;
    }
    const unsigned char* code = model->pdf[2][1];
    const double w = weights ? weights[i] : 1.0;
    const double* offset = model->linear;
    const double* step = model->linear + 2 * v;
    for (int d = 0; d < v; d++) {
      mean[d] += (float)(code[d] * w * step[d] + offset[d]);
      vari[d] += (float)(code[v + d] * w * w * step[v + d] + offset[v + d]);
    }
  }
}

// ---------------------------------------------------------------------------
// Lookups for the alternative body layouts: codes on disk (_fp) and 4-bit
// codes (_16). Durations get the pause rule only; parameters the voicing rule
// only.

static void apply_pause_rule(const VXN_ModelSet* ms, const char* label, float* m, int n) {
  if (ms->pause_mode != 1 || VXN_Check_break(label) != 1) return;
  float sum = 0.0f;
  for (int d = 0; d < n; d++) sum += m[d];
  if (ms->pause_frames > sum) m[n / 2] += ms->pause_frames - sum;
}

static float apply_voicing_rule(const VXN_ModelSet* ms, const char* label, float w, int* result) {
  const int lang = ms->language;
  if (lang < 0 || lang >= 18 || !kVoicedClass[lang]) return w;
  if (!kVoicedClass[lang](label)) {
    if (VXN_Check_pause(label) == 1) {
      *result = 0;
      return 0.3f;
    }
  } else if (w <= 0.5f) {
    if (kVowelClass[lang](label)) *result = 0;
    return 0.9f;
  }
  return w;
}

static void duration_variant(VXN_ModelSet* ms, const char* label, float* mean, float* vari,
                             int nibbles) {
  if (!label) return;
  const int n = ms->nstate;
  if (n < 1 || n > 5) return;
  for (int i = 2; i < n + 2; i++) mean[i] = vari[i] = 0.0f;
  unsigned char buf[10];
  for (int i = 0; i < ms->duration.nmodel; i++) {
    const VXN_Model* model = &ms->duration.model[i];
    if (!model->codebook || model->vector_length != n) continue;
    const unsigned char* code = NULL;
    if (nibbles) {
      code = VXN_Model_find_pdf_memo(model, label, -1, VXN_ModelSet_memo_for(ms, label));
    } else if (read_codes(ms, model, label, -1, 2 * n, model->codebook_size, buf)) {
      code = buf;
    }
    if (!code) continue;
    for (int d = 0; d < n; d++) {
      const int mc = nibbles ? code[d] >> 4 : code[d];
      const int vc = nibbles ? code[d] & 15 : code[n + d];
      mean[d + 2] = model->codebook[d][mc];
      vari[d + 2] = model->codebook[n + d][vc];
    }
    apply_pause_rule(ms, label, mean + 2, n);
  }
}

void VXN_ModelSet_get_duration_fp(VXN_ModelSet* ms, const char* label, float* mean, float* vari) {
  duration_variant(ms, label, mean, vari, 0);
}

void VXN_ModelSet_get_duration_16(VXN_ModelSet* ms, const char* label, float* mean, float* vari) {
  duration_variant(ms, label, mean, vari, 1);
}

static int parameter_variant(VXN_ModelSet* ms, const char* label, float* mean, float* vari,
                             float* msd, int stream, int state, int nibbles) {
  int result = 1;
  if (!label) return 1;
  const VXN_Stream* st = stream_at(ms, stream);
  if (!st) return 1;
  const int v = st->vector_length;
  const int m = st->msd_flag ? 1 : 0;
  for (int d = 0; d < v; d++) mean[d] = vari[d] = 0.0f;
  if (msd) *msd = 0.0f;
  unsigned char* buf = nibbles ? NULL : (unsigned char*)VXN_calloc((size_t)(2 * v + m), 1);
  if (!nibbles && !buf) return 1;
  for (int i = 0; i < st->nmodel; i++) {
    const VXN_Model* model = &st->model[i];
    if (!model->codebook || model->vector_length != v) continue;
    const unsigned char* mc;
    const unsigned char* vc;
    int weight;
    if (nibbles) {
      const unsigned char* code =
          VXN_Model_find_pdf_memo(model, label, state, VXN_ModelSet_memo_for(ms, label));
      if (!code) continue;
      for (int d = 0; d < v; d++) {
        mean[d] = model->codebook[d][code[d] >> 4];
        vari[d] = model->codebook[v + d][code[d] & 15];
      }
      weight = m ? code[v] : 0;
    } else {
      // The weight code comes first in the file; it may take any byte value.
      if (!read_codes(ms, model, label, state, 2 * v + m, 0, buf)) continue;
      mc = buf + m;
      vc = mc + v;
      int bad = 0;
      for (int d = 0; d < v; d++) bad |= mc[d] >= model->codebook_size || vc[d] >= model->codebook_size;
      if (bad) continue;
      for (int d = 0; d < v; d++) {
        mean[d] = model->codebook[d][mc[d]];
        vari[d] = model->codebook[v + d][vc[d]];
      }
      weight = m ? buf[0] : 0;
    }
    if (!m) continue;
    float w = (float)weight * (float)model->msd_pair[1] + (float)model->msd_pair[0];
    w = apply_voicing_rule(ms, label, w, &result);
    if (msd) *msd = w;
  }
  VXN_free(buf);
  return result;
}

int VXN_ModelSet_get_parameter_fp(VXN_ModelSet* ms, const char* label, float* mean, float* vari,
                                  float* msd, int stream, int state) {
  return parameter_variant(ms, label, mean, vari, msd, stream, state, 0);
}

int VXN_ModelSet_get_parameter_16(VXN_ModelSet* ms, const char* label, float* mean, float* vari,
                                  float* msd, int stream, int state) {
  return parameter_variant(ms, label, mean, vari, msd, stream, state, 1);
}
