#include "frontend/wfst_common.h"

#include <ctype.h>
#include <math.h>
#include <string.h>

#include "frontend/synth_util.h"

namespace {

const unsigned kWfstMagic = 0x54534657u;  // "WFST"

const unsigned char* record_at(const VXN_Wfst* fst, size_t r) {
  return fst->records + r * VXN_WFST_RECORD_SIZE;
}

size_t raw_target(const unsigned char* rec) {
  return (size_t)rec[2] | ((size_t)rec[3] << 8) | ((size_t)(rec[4] & 0x3f) << 16);
}

float raw_weight(const unsigned char* rec) {
  unsigned bits = (unsigned)rec[5] | ((unsigned)rec[6] << 8) | ((unsigned)rec[7] << 16) |
                  ((unsigned)rec[8] << 24);
  float w;
  memcpy(&w, &bits, sizeof w);
  return w;
}

bool bit_get(const unsigned char* bits, size_t i) { return (bits[i >> 3] >> (i & 7)) & 1; }

// Growable byte string on VXN_calloc; null data after a failed allocation.
struct Buffer {
  char* data = nullptr;
  size_t length = 0;
  size_t room = 0;
  bool failed = false;
};

void buffer_add(Buffer* b, char c) {
  if (b->failed) return;
  if (b->length + 1 >= b->room) {
    size_t room = b->room ? b->room * 2 : 64;
    char* grown = (char*)VXN_calloc(room, 1);
    if (!grown) {
      VXN_free(b->data);
      b->data = nullptr;
      b->failed = true;
      return;
    }
    if (b->data) memcpy(grown, b->data, b->length);
    VXN_free(b->data);
    b->data = grown;
    b->room = room;
  }
  b->data[b->length++] = c;
}

void buffer_add_text(Buffer* b, const char* s) {
  for (; *s; ++s) buffer_add(b, *s);
}

// The finished string (never null unless memory ran out).
char* buffer_take(Buffer* b) {
  if (b->failed) {
    VXN_free(b->data);
    b->data = nullptr;
    return nullptr;
  }
  if (!b->data) {
    b->data = (char*)VXN_calloc(1, 1);
    if (!b->data) return nullptr;
  }
  char* s = b->data;
  b->data = nullptr;
  return s;
}

// Recursive search behind wfst_transduce and wfst_transduce_eps. epsRun counts
// the epsilon-input transitions at the end of path.
void search(const VXN_Wfst* fst, size_t state, int final, const unsigned char* in, VXN_WfstPath* path,
            VXN_WfstResult* best, int epsRun) {
  if (best->exhausted) return;
  if (best->found && !(path->weight < best->path.weight)) return;
  if (++best->steps > best->limit) {
    best->exhausted = 1;
    VXN_print(VXN_LEVEL_DEBUG, "wfst: search stopped after %lu steps.\n", best->limit);
    return;
  }
  bool inputLeft = *in != 0;
  if (final) {
    if (!inputLeft) VXN_WfstResult_offer(best, path);
    return;
  }
  if (path->count >= VXN_WFST_MAX_PATH) return;
  for (size_t r = state; r < fst->count; ++r) {
    const unsigned char* rec = record_at(fst, r);
    bool epsilon = rec[0] == 0;
    bool take = epsilon ? epsRun < VXN_WFST_MAX_EPSILON_RUN : (inputLeft && rec[0] == *in);
    if (take && VXN_WfstPath_push(path, fst, r)) {
      search(fst, raw_target(rec), (rec[4] & VXN_WFST_FINAL_BIT) != 0, epsilon ? in : in + 1, path, best,
             epsilon ? epsRun + 1 : 0);
      VXN_WfstPath_pop(path);
      if (best->exhausted) return;
    }
    if (rec[4] & VXN_WFST_LAST_BIT) break;
  }
}

bool search_start_ok(const VXN_Wfst* fst, size_t state, VXN_WfstPath* path, VXN_WfstResult* best) {
  if (!fst || !path || !best || fst->magic != kWfstMagic) return false;
  if (!VXN_Wfst_is_state(fst, state)) {
    VXN_print(VXN_LEVEL_ERROR, "wfst: %zu is not a state of the transducer.\n", state);
    return false;
  }
  return true;
}

// A word list from text split at spaces (empty pieces dropped), appended to
// the reversed list rev.
cst_val* add_words_reversed(cst_val* rev, const char* text, size_t length) {
  size_t i = 0;
  while (i < length) {
    while (i < length && text[i] == ' ') ++i;
    size_t start = i;
    while (i < length && text[i] != ' ') ++i;
    if (i > start) {
      char* word = cst_substr(text, (int)start, (int)(i - start));
      rev = cons_val(string_val(word), rev);
      cst_free(word);
    }
  }
  return rev;
}

const char* token_feature(const cst_item* token, const char* name) {
  return get_param_string(item_feats(token), name, "");
}

// prepunctuation + name + punctuation, appended to b.
void add_token_text(Buffer* b, const cst_item* token) {
  if (!token) return;
  buffer_add_text(b, token_feature(token, "prepunctuation"));
  buffer_add_text(b, token_feature(token, "name"));
  buffer_add_text(b, token_feature(token, "punc"));
}

const VXN_Wfst* token_transducer(const cst_item* token) {
  cst_utterance* u = token ? item_utt(token) : nullptr;
  return u ? wfst_utt_transducer(u) : nullptr;
}

cst_val* with_acronyms(cst_item* token, cst_val* words) {
  cst_val* rev = nullptr;
  for (const cst_val* w = words; w; w = val_cdr(w)) {
    const char* s = val_string(val_car(w));
    if (wfst_is_word(token, s)) {
      rev = cons_val(string_val(s), rev);
      continue;
    }
    char* lower = cst_downcase(s);
    cst_features* f = new_features();
    feat_set_string(f, "acronym", "1");
    feat_set_string(f, "acronym_original_form", s);
    rev = cons_val(cons_val(string_val(lower), features_val(f)), rev);
    cst_free(lower);
  }
  delete_val(words);
  return val_reverse(rev);
}

}  // namespace

// ---------------------------------------------------------------- transducer

void VXN_Wfst_initialize(VXN_Wfst* fst) {
  fst->magic = 0;
  fst->records = nullptr;
  fst->count = 0;
  fst->owned = nullptr;
  fst->starts = nullptr;
}

void VXN_Wfst_clear(VXN_Wfst* fst) {
  VXN_free(fst->owned);
  VXN_free(fst->starts);
  VXN_Wfst_initialize(fst);
}

int VXN_Wfst_load(VXN_Wfst* fst, const unsigned char* data, size_t size, int copy) {
  VXN_Wfst_clear(fst);
  if (!data || size == 0) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Wfst_load: the transducer is empty.\n");
    return 0;
  }
  if (size % VXN_WFST_RECORD_SIZE != 0) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Wfst_load: %zu bytes are not a whole number of 9-byte transitions.\n",
              size);
    return 0;
  }
  size_t count = size / VXN_WFST_RECORD_SIZE;
  if (count > (size_t)VXN_WFST_MAX_RECORDS) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Wfst_load: %zu transitions are more than the %d a target can address.\n",
              count, VXN_WFST_MAX_RECORDS);
    return 0;
  }
  if (!(data[size - VXN_WFST_RECORD_SIZE + 4] & VXN_WFST_LAST_BIT)) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Wfst_load: the last state's transitions do not end (bit 7 of record %zu).\n",
              count - 1);
    return 0;
  }
  unsigned char* starts = (unsigned char*)VXN_calloc(count / 8 + 1, 1);
  if (!starts) return 0;
  starts[0] = 1;
  for (size_t r = 0; r + 1 < count; ++r)
    if (data[r * VXN_WFST_RECORD_SIZE + 4] & VXN_WFST_LAST_BIT) starts[(r + 1) >> 3] |= 1 << ((r + 1) & 7);
  for (size_t r = 0; r < count; ++r) {
    const unsigned char* rec = data + r * VXN_WFST_RECORD_SIZE;
    size_t target = raw_target(rec);
    if (target >= count) {
      VXN_print(VXN_LEVEL_ERROR, "VXN_Wfst_load: transition %zu leads to %zu, outside the %zu transitions.\n", r,
                target, count);
      VXN_free(starts);
      return 0;
    }
    if (!bit_get(starts, target)) {
      VXN_print(VXN_LEVEL_ERROR, "VXN_Wfst_load: transition %zu leads to %zu, which does not start a state.\n", r,
                target);
      VXN_free(starts);
      return 0;
    }
    if (!isfinite(raw_weight(rec))) {
      VXN_print(VXN_LEVEL_ERROR, "VXN_Wfst_load: the weight of transition %zu is not a finite number.\n", r);
      VXN_free(starts);
      return 0;
    }
  }
  if (copy) {
    fst->owned = (unsigned char*)VXN_calloc(size, 1);
    if (!fst->owned) {
      VXN_free(starts);
      return 0;
    }
    memcpy(fst->owned, data, size);
    fst->records = fst->owned;
  } else {
    fst->records = data;
  }
  fst->count = count;
  fst->starts = starts;
  fst->magic = kWfstMagic;
  return 1;
}

int VXN_Wfst_load_file(VXN_Wfst* fst, const char* path) {
  VXN_Wfst_clear(fst);
  FILE* fp = VXN_get_fp(path, "rb");
  if (!fp) return 0;
  unsigned char* data = nullptr;
  size_t size = 0;
  bool ok = fseek(fp, 0, SEEK_END) == 0;
  long end = ok ? ftell(fp) : -1;
  ok = ok && end > 0 && fseek(fp, 0, SEEK_SET) == 0;
  if (ok) {
    size = (size_t)end;
    data = (unsigned char*)VXN_calloc(size, 1);
    ok = data && fread(data, 1, size, fp) == size;
  }
  fclose(fp);
  if (!ok) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Wfst_load_file: Cannot read %s.\n", path);
    VXN_free(data);
    return 0;
  }
  int loaded = VXN_Wfst_load(fst, data, size, 1);
  VXN_free(data);
  return loaded;
}

int VXN_Wfst_is_state(const VXN_Wfst* fst, size_t state) {
  return fst && fst->magic == kWfstMagic && state < fst->count && bit_get(fst->starts, state);
}

unsigned char wfst_record_input(const VXN_Wfst* fst, size_t r) { return record_at(fst, r)[0]; }
unsigned char wfst_record_output(const VXN_Wfst* fst, size_t r) { return record_at(fst, r)[1]; }
size_t wfst_record_target(const VXN_Wfst* fst, size_t r) { return raw_target(record_at(fst, r)); }
int wfst_record_target_final(const VXN_Wfst* fst, size_t r) {
  return (record_at(fst, r)[4] & VXN_WFST_FINAL_BIT) != 0;
}
int wfst_record_last(const VXN_Wfst* fst, size_t r) { return (record_at(fst, r)[4] & VXN_WFST_LAST_BIT) != 0; }
float wfst_record_weight(const VXN_Wfst* fst, size_t r) { return raw_weight(record_at(fst, r)); }

namespace {

void print_symbol(FILE* fp, unsigned char c) {
  if (c == 0)
    fputs("-", fp);
  else if (c > 0x20 && c < 0x7f && c != '\\')
    fputc(c, fp);
  else
    fprintf(fp, "\\x%02X", c);
}

}  // namespace

void VXN_Wfst_print(const VXN_Wfst* fst, FILE* fp) {
  if (!fst || fst->magic != kWfstMagic) {
    fputs("wfst: (not loaded)\n", fp);
    return;
  }
  fprintf(fp, "wfst: %zu transitions, start state %s\n", fst->count,
          wfst_record_target_final(fst, 0) ? "final" : "not final");
  for (size_t r = 0; r < fst->count; ++r) {
    if (bit_get(fst->starts, r)) fprintf(fp, "state %zu\n", r);
    fputs("  ", fp);
    print_symbol(fp, wfst_record_input(fst, r));
    fputc(':', fp);
    print_symbol(fp, wfst_record_output(fst, r));
    fprintf(fp, " -> %zu%s %g\n", wfst_record_target(fst, r), wfst_record_target_final(fst, r) ? " final" : "",
            (double)wfst_record_weight(fst, r));
  }
}

// Flite's value-type table has no free slot below its maximum; slot 55 is the
// table's empty end entry (no name, no delete function), so values of this type
// are never deleted through the table. The word-test function type "aswdfunc"
// of the normalisation utilities uses the same slot: val_wfst tells the two
// apart by the transducer's magic number. The accessors are written out rather
// than taken from CST_VAL_REGISTER_TYPE_NODEL, whose val_generic raises a Flite
// error (and exits without a catch point) on a value of another type.
CST_VAL_REG_TD_TYPE_NODEL(wfst, VXN_Wfst, 55)

cst_val* wfst_val(const VXN_Wfst* fst) { return val_new_typed(cst_val_type_wfst, (void*)fst); }

const VXN_Wfst* val_wfst(const cst_val* v) {
  if (!v || cst_val_consp(v) || CST_VAL_TYPE(v) != cst_val_type_wfst) return nullptr;
  const VXN_Wfst* fst = (const VXN_Wfst*)CST_VAL_VOID(v);
  return fst && fst->magic == kWfstMagic ? fst : nullptr;
}

// ---------------------------------------------------------------- paths

void VXN_WfstPath_initialize(VXN_WfstPath* path) {
  path->steps = nullptr;
  path->count = 0;
  path->room = 0;
  path->weight = 0.0;
}

void VXN_WfstPath_clear(VXN_WfstPath* path) {
  VXN_free(path->steps);
  VXN_WfstPath_initialize(path);
}

namespace {

bool path_reserve(VXN_WfstPath* path, int needed) {
  if (needed <= path->room) return true;
  int room = path->room == 0 ? 10 : path->room;
  while (room < needed) room += 10;
  VXN_WfstStep* grown = (VXN_WfstStep*)VXN_calloc((size_t)room, sizeof(VXN_WfstStep));
  if (!grown) return false;
  if (path->count) memcpy(grown, path->steps, (size_t)path->count * sizeof(VXN_WfstStep));
  VXN_free(path->steps);
  path->steps = grown;
  path->room = room;
  return true;
}

}  // namespace

int VXN_WfstPath_push(VXN_WfstPath* path, const VXN_Wfst* fst, size_t r) {
  if (!path_reserve(path, path->count + 1)) return 0;
  double weight = path->weight + (double)wfst_record_weight(fst, r);
  path->steps[path->count].record = r;
  path->steps[path->count].weight = weight;
  path->count++;
  path->weight = weight;
  return 1;
}

void VXN_WfstPath_pop(VXN_WfstPath* path) {
  if (path->count == 0) return;
  path->count--;
  path->weight = path->count ? path->steps[path->count - 1].weight : 0.0;
}

int VXN_WfstPath_copy(VXN_WfstPath* dst, const VXN_WfstPath* src) {
  if (dst == src) return 1;
  if (!path_reserve(dst, src->count)) return 0;
  if (src->count) memcpy(dst->steps, src->steps, (size_t)src->count * sizeof(VXN_WfstStep));
  dst->count = src->count;
  dst->weight = src->weight;
  return 1;
}

void VXN_WfstPath_print(const VXN_WfstPath* path, const VXN_Wfst* fst, FILE* fp) {
  fprintf(fp, "path: %d transitions, weight %g\n", path->count, path->weight);
  for (int i = 0; i < path->count; ++i) {
    size_t r = path->steps[i].record;
    fprintf(fp, "  %zu ", r);
    print_symbol(fp, wfst_record_input(fst, r));
    fputc(':', fp);
    print_symbol(fp, wfst_record_output(fst, r));
    fprintf(fp, " -> %zu%s %g\n", wfst_record_target(fst, r), wfst_record_target_final(fst, r) ? " final" : "",
            path->steps[i].weight);
  }
}

// ---------------------------------------------------------------- results

void VXN_WfstResult_initialize(VXN_WfstResult* result) {
  VXN_WfstPath_initialize(&result->path);
  result->found = 0;
  result->steps = 0;
  result->limit = VXN_WFST_DEFAULT_STEP_LIMIT;
  result->exhausted = 0;
}

void VXN_WfstResult_clear(VXN_WfstResult* result) {
  VXN_WfstPath_clear(&result->path);
  VXN_WfstResult_initialize(result);
}

int VXN_WfstResult_offer(VXN_WfstResult* result, const VXN_WfstPath* path) {
  if (result->found && !(path->weight < result->path.weight)) return 0;
  if (!VXN_WfstPath_copy(&result->path, path)) return 0;
  result->found = 1;
  return 1;
}

// ---------------------------------------------------------------- search

int wfst_transduce(const VXN_Wfst* fst, size_t state, int final, const char* input, VXN_WfstPath* path,
                   VXN_WfstResult* best) {
  if (!search_start_ok(fst, state, path, best)) return best ? best->found : 0;
  search(fst, state, final, (const unsigned char*)(input ? input : ""), path, best, 0);
  return best->found;
}

int wfst_transduce_eps(const VXN_Wfst* fst, size_t state, int final, VXN_WfstPath* path, VXN_WfstResult* best) {
  return wfst_transduce(fst, state, final, "", path, best);
}

// ---------------------------------------------------------------- projections

char* wfst_project_output(const VXN_Wfst* fst, const VXN_WfstPath* path) {
  Buffer b;
  for (int i = 0; i < path->count; ++i) {
    unsigned char c = wfst_record_output(fst, path->steps[i].record);
    if (c != 0 && c != VXN_WFST_SPAN_OPEN && c != VXN_WFST_SPAN_CLOSE) buffer_add(&b, (char)c);
  }
  return buffer_take(&b);
}

char* wfst_project_input(const VXN_Wfst* fst, const VXN_WfstPath* path) {
  Buffer b;
  for (int i = 0; i < path->count; ++i) {
    unsigned char c = wfst_record_input(fst, path->steps[i].record);
    if (c != 0) buffer_add(&b, (char)c);
  }
  return buffer_take(&b);
}

char* wfst_project_io(const VXN_Wfst* fst, const VXN_WfstPath* path) {
  Buffer out, spanIn, spanOut;
  bool inSpan = false;
  auto add_span = [](Buffer* b, unsigned char c) {
    if (c) buffer_add(b, c == ' ' ? (char)VXN_WFST_IO_SPACE : (char)c);
  };
  auto flush = [&]() {
    buffer_add(&out, (char)VXN_WFST_IO_OPEN);
    if (spanIn.data) buffer_add_text(&out, spanIn.data);
    buffer_add(&out, (char)VXN_WFST_IO_SEP);
    if (spanOut.data) buffer_add_text(&out, spanOut.data);
    buffer_add(&out, (char)VXN_WFST_IO_CLOSE);
    if (spanIn.failed || spanOut.failed) out.failed = true;
    VXN_free(spanIn.data);
    VXN_free(spanOut.data);
    spanIn = Buffer();
    spanOut = Buffer();
    inSpan = false;
  };
  for (int i = 0; i < path->count; ++i) {
    unsigned char in = wfst_record_input(fst, path->steps[i].record);
    unsigned char o = wfst_record_output(fst, path->steps[i].record);
    if (o == VXN_WFST_SPAN_OPEN) {
      inSpan = true;
      add_span(&spanIn, in);
    } else if (o == VXN_WFST_SPAN_CLOSE) {
      if (inSpan) {
        add_span(&spanIn, in);
        flush();
      }
    } else if (inSpan) {
      add_span(&spanIn, in);
      add_span(&spanOut, o);
    } else if (o) {
      buffer_add(&out, (char)o);
    }
  }
  if (inSpan) flush();
  return buffer_take(&out);
}

// ---------------------------------------------------------------- whole texts

char* wfst_transduce_wrapper(const VXN_Wfst* fst, wfst_projection_func projection, const char* text) {
  if (!fst || fst->magic != kWfstMagic || !projection || !text) return nullptr;
  VXN_WfstPath path;
  VXN_WfstResult best;
  VXN_WfstPath_initialize(&path);
  VXN_WfstResult_initialize(&best);
  char* out = nullptr;
  if (wfst_transduce(fst, 0, wfst_record_target_final(fst, 0), text, &path, &best))
    out = projection(fst, &best.path);
  VXN_WfstPath_clear(&path);
  VXN_WfstResult_clear(&best);
  return out;
}

long wfst_str_mass(const char* text) {
  if (!text) return 0;
  size_t len = strlen(text);
  long mass = 0;
  bool inSpan = false;
  for (size_t i = 0; i + 1 < len; ++i) {
    unsigned char c = (unsigned char)text[i];
    unsigned char next = (unsigned char)text[i + 1];
    if (inSpan) {
      if (c == '!' && next == '>') {
        inSpan = false;
        ++i;
      }
      continue;
    }
    if (c == '<' && next == '!') {
      inSpan = true;
      ++i;
      continue;
    }
    if (c == '!' && next == '>') {
      mass = 0;
      ++i;
      continue;
    }
    if (c >= '0' && c <= '9')
      mass += 20;
    else if ((c < 0x80 && isalpha(c)) || (c >= 0xC0 && c != 0xD7 && c != 0xF7) || (c < 0x80 && isspace(c)))
      mass += 1;
    else
      mass += 40;
  }
  return mass;
}

size_t wfst_split_point(const char* text, size_t len) {
  if (len < 2) return len;
  size_t mid = len / 2;
  long reach = (long)(len / 4);
  long cut = -1;
  for (int pass = 0; pass < 2 && cut < 0; ++pass) {
    // Offsets 0, 1, -1, -2, 2, 3, -3, -4, 4, ...
    for (long m = 0; m <= reach && cut < 0; ++m) {
      long offsets[2];
      int n = 0;
      if (m == 0) {
        offsets[n++] = 0;
      } else if (m % 2) {
        offsets[n++] = m;
        offsets[n++] = -m;
      } else {
        offsets[n++] = -m;
        offsets[n++] = m;
      }
      for (int k = 0; k < n && cut < 0; ++k) {
        long p = (long)mid + offsets[k];
        if (p < 0 || (size_t)p >= len) continue;
        if (pass == 0) {
          if ((size_t)p + 2 < len && islower((unsigned char)text[p]) && text[p + 1] == '.' && text[p + 2] == ' ')
            cut = p + 2;
        } else if (text[p] == ' ' && p > 0) {
          cut = p;
        }
      }
    }
  }
  size_t at = cut > 0 ? (size_t)cut : mid;
  if (text[at - 1] == '!' && text[at] == '>' && at + 1 < len)
    ++at;
  else if (text[at - 1] == '<' && text[at] == '!' && at > 1)
    --at;
  return at;
}

char* wfst_transduce_with_input_length_control(const VXN_Wfst* fst, wfst_projection_func projection,
                                               const char* text) {
  if (!fst || !text) return nullptr;
  if (wfst_str_mass(text) < VXN_WFST_MASS_LIMIT) return wfst_transduce_wrapper(fst, projection, text);
  size_t len = strlen(text);
  size_t cut = wfst_split_point(text, len);
  char* head = (char*)VXN_calloc(cut + 1, 1);
  if (!head) return nullptr;
  memcpy(head, text, cut);
  char* first = wfst_transduce_with_input_length_control(fst, projection, head);
  VXN_free(head);
  if (!first) return nullptr;
  char* second = wfst_transduce_with_input_length_control(fst, projection, text + cut);
  if (!second) {
    VXN_free(first);
    return nullptr;
  }
  size_t a = strlen(first), b = strlen(second);
  char* joined = (char*)VXN_calloc(a + b + 1, 1);
  if (joined) {
    memcpy(joined, first, a);
    memcpy(joined + a, second, b);
  }
  VXN_free(first);
  VXN_free(second);
  return joined;
}

// ---------------------------------------------------------------- utterances and tokens

const VXN_Wfst* wfst_utt_transducer(const cst_utterance* u) {
  if (!u || !u->features || !feat_present(u->features, "norm_wfst")) return nullptr;
  return val_wfst(feat_val(u->features, "norm_wfst"));
}

cst_utterance* wfst_preprocessing(cst_utterance* u) {
  const VXN_Wfst* fst = wfst_utt_transducer(u);
  if (fst) {
    const char* text = get_param_string(u->features, "input_text", "");
    char* out = wfst_transduce_with_input_length_control(fst, wfst_project_io, text);
    if (out) {
      feat_set_string(u->features, "input_text", out);
      VXN_free(out);
    }
  }
  return default_preprocessing(u);
}

cst_val* wfst_exp_token(cst_item* token) {
  const VXN_Wfst* fst = token_transducer(token);
  if (!fst) return nullptr;
  Buffer text;
  add_token_text(&text, item_prev(token));
  buffer_add(&text, ' ');
  add_token_text(&text, token);
  buffer_add(&text, ' ');
  add_token_text(&text, item_next(token));
  char* input = buffer_take(&text);
  if (!input) return nullptr;
  char* out = wfst_transduce_wrapper(fst, wfst_project_output, input);
  VXN_free(input);
  if (!out) return nullptr;
  size_t w = 0;
  bool dot = false;
  for (size_t r = 0; out[r]; ++r) {
    if ((unsigned char)out[r] == VXN_WFST_DOT_MARK)
      dot = true;
    else
      out[w++] = out[r];
  }
  out[w] = '\0';
  if (dot) item_set_int(token, "dot_interpreted", 1);
  cst_val* words = val_reverse(add_words_reversed(nullptr, out, w));
  VXN_free(out);
  return words;
}

cst_val* wfst_exp_preprocessed_token(cst_item* token) {
  if (!token) return nullptr;
  const char* name = token_feature(token, "name");
  const char* open = strchr(name, VXN_WFST_IO_OPEN);
  if (!open || !strchr(open, VXN_WFST_IO_CLOSE)) return nullptr;
  Buffer newName;
  cst_val* rev = nullptr;
  const char* p = name;
  while (*p) {
    const char* o = strchr(p, VXN_WFST_IO_OPEN);
    const char* sep = o ? strchr(o, VXN_WFST_IO_SEP) : nullptr;
    const char* c = o ? strchr(o, VXN_WFST_IO_CLOSE) : nullptr;
    if (!o || !c) o = p + strlen(p);
    // Text before the span (or the rest) is kept as it stands.
    for (const char* q = p; q < o; ++q) buffer_add(&newName, *q);
    rev = add_words_reversed(rev, p, (size_t)(o - p));
    if (!*o) break;
    if (!sep || sep > c) sep = c;
    for (const char* q = o + 1; q < sep; ++q)
      buffer_add(&newName, (unsigned char)*q == VXN_WFST_IO_SPACE ? ' ' : *q);
    if (sep < c) {
      size_t n = (size_t)(c - sep - 1);
      char* words = (char*)VXN_calloc(n + 1, 1);
      if (words) {
        for (size_t i = 0; i < n; ++i)
          words[i] = (unsigned char)sep[1 + i] == VXN_WFST_IO_SPACE ? ' ' : sep[1 + i];
        rev = add_words_reversed(rev, words, n);
        VXN_free(words);
      }
    }
    p = c + 1;
  }
  char* plain = buffer_take(&newName);
  if (plain) {
    size_t len = strlen(plain);
    item_set_string(token, "name", plain);
    if (len && plain[len - 1] == '.') item_set_int(token, "dot_interpreted", 1);
    VXN_free(plain);
  }
  return val_reverse(rev);
}

cst_val* wfst_exp_token_with_acronyms(cst_item* token) { return with_acronyms(token, wfst_exp_token(token)); }

cst_val* wfst_exp_preprocessed_token_with_acronyms(cst_item* token) {
  return with_acronyms(token, wfst_exp_preprocessed_token(token));
}

// The normalisation utilities register the value type "aswdfunc"; without them
// this reference stays null and the vowel test below is used.
extern "C" {
extern const int cst_val_type_aswdfunc __attribute__((weak));
}

int wfst_is_word(cst_item* token, const char* s) {
  cst_utterance* u = token ? item_utt(token) : nullptr;
  if (&cst_val_type_aswdfunc && u && u->features && feat_present(u->features, "aswd_func")) {
    const cst_val* v = feat_val(u->features, "aswd_func");
    if (v && !cst_val_consp(v) && CST_VAL_TYPE(v) == cst_val_type_aswdfunc && CST_VAL_VOID(v))
      return ((wfst_aswd_func)CST_VAL_VOID(v))(token, s);
  }
  const char* vowels = u && u->features ? get_param_string(u->features, "vowel_string", "aeiou") : "aeiou";
  for (const char* p = s; *p; ++p)
    if (strchr(vowels, tolower((unsigned char)*p))) return 1;
  return 0;
}
