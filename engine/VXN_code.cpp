#include "engine/VXN_code.h"

#include <stdarg.h>
#include <string.h>

#include "engine/VXN_package_key.h"

namespace {

enum : unsigned int {
  kSectionCode = 0xEF,
  kQuestionPacket = 0xFE,
  kTreePacket = 0xFB,
  kQuestionBegin = 0xFD,
  kQuestionEnd = 0xFC,
  kTreeBegin = 0xFA,
  kTreeEnd = 0xF9,
};

enum { kMaxNodeId = 15999, kNodeTableSize = 16000 };
enum { kLayoutBytes = 0, kLayoutOnDemand = 1, kLayoutNibbles = 2 };
// Upper bounds on what one table or packet may make the reader allocate.
const size_t kMaxTableBytes = 32u << 20;
const size_t kMaxPacketBytes = 64u << 20;
const int kMaxInterpolation = 16;
const unsigned kMaxEntry = 1023;  // longest question name or pattern
const int kMaxStates = 5;

// Dynamic-feature windows, identical for every parameter stream: width, then
// the coefficients.
const float kWindowTable[3][4] = {
    {1.0f, 1.0f, 0.0f, 0.0f},
    {3.0f, -0.5f, 0.0f, 0.5f},
    {3.0f, 1.0f, -2.0f, 1.0f},
};

int16_t get_i16(const unsigned char* p) { return (int16_t)(p[0] | (p[1] << 8)); }
uint16_t get_u16(const unsigned char* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
unsigned int get_code(const unsigned char* p) { return (unsigned int)(p[1] | p[3]); }

// A packet block: the next block, then the packet's questions, patterns and strings.
struct PacketBlock {
  void* next;
};

}  // namespace

CVxnCode::CVxnCode()
    : last_tree_(NULL),
      last_question_(NULL),
      pattern_table_(NULL),
      question_table_(NULL),
      question_count_(0),
      pattern_count_(0),
      question_width_(0),
      pattern_width_(0),
      tables_loaded_(0),
      failed_(0),
      reading_(NULL),
      damaged_file_(NULL),
      node_ids_(NULL),
      node_used_(NULL),
      tree_max_leaf_(NULL),
      tree_max_cap_(0) {}

CVxnCode::~CVxnCode() {
  release_tables();
  VXN_free(node_ids_);
  VXN_free(node_used_);
  VXN_free(tree_max_leaf_);
}

void CVxnCode::release_tables() {
  VXN_free(question_table_);
  VXN_free(pattern_table_);
  question_table_ = pattern_table_ = NULL;
  question_count_ = pattern_count_ = 0;
  question_width_ = pattern_width_ = 0;
  tables_loaded_ = 0;
}

int CVxnCode::reject(const char* format, ...) {
  // Only the first problem is reported: later ones follow from it.
  if (!failed_) {
    char text[512];
    va_list ap;
    va_start(ap, format);
    vsnprintf(text, sizeof(text), format, ap);
    va_end(ap);
    VXN_print(VXN_LEVEL_ERROR, "%s", text);
    damaged_file_ = reading_;
  }
  failed_ = 1;
  return 0;
}

long CVxnCode::remaining(FILE* fp) {
  const long here = ftell(fp);
  if (here < 0 || fseek(fp, 0, SEEK_END) != 0) return 0;
  const long end = ftell(fp);
  fseek(fp, here, SEEK_SET);
  return end > here ? end - here : 0;
}

int CVxnCode::read_exact(FILE* fp, void* buf, long size, const char* what) {
  if (size < 0 || (size > 0 && fread(buf, 1, (size_t)size, fp) != (size_t)size))
    return reject("error [3120] : The file ends inside %s.\n", what);
  return 1;
}

unsigned int CVxnCode::VXN_Code_memory_swap(unsigned int word) {
  return ((word >> 24) & 0xFFu) | ((word >> 8) & 0xFFu);
}

unsigned int CVxnCode::VXN_Code_GetCode(FILE* fp) {
  unsigned char b[4];
  const size_t got = fread(b, 1, 4, fp);
  if (got == 0) return VXN_CODE_EOF;
  if (got < 4) return VXN_CODE_SHORT;
  return get_code(b);
}

void CVxnCode::VXN_Code_initialize(VXN_Model* model) {
  memset(model, 0, sizeof(*model));
  model->codebook_type = -1;
}

void CVxnCode::VXN_Code_Window_initialize(VXN_Window* window) { memset(window, 0, sizeof(*window)); }

void CVxnCode::VXN_Code_Stream_initialize(VXN_Stream* stream) {
  memset(stream, 0, sizeof(*stream));
  VXN_Code_Window_initialize(&stream->window);
}

// ---------------------------------------------------------------------------
// String tables

int CVxnCode::load_table(FILE* fp, const char* what, int extra, char** slots, uint16_t* count,
                         uint16_t* width) {
  const long size = remaining(fp);
  if (size < 4) return reject("error [3040] : The %s table is shorter than its header.\n", what);
  unsigned char* buf = (unsigned char*)VXN_calloc((size_t)size + 1, 1);
  if (!buf) return reject("error [1050]: Cannot allocate memory.\n");
  if (fread(buf, 1, (size_t)size, fp) != (size_t)size) {
    VXN_free(buf);
    return reject("error [3040] : The %s table cannot be read.\n", what);
  }
  const unsigned n = get_u16(buf), m = get_u16(buf + 2);
  const size_t w = (size_t)m + (size_t)extra;
  if (m > kMaxEntry) {
    VXN_free(buf);
    return reject("error [3040] : The %s table allows entries of %u bytes; the limit is %u.\n", what,
                  m, kMaxEntry);
  }
  if (w > 0xFFFF || (size_t)n * w > kMaxTableBytes) {
    VXN_free(buf);
    return reject("error [3040] : The %s table declares %u entries of up to %u bytes: too large.\n",
                  what, n, m);
  }
  unsigned char key[VXN_PACKAGE_KEY_SIZE];
  VXN_package_key(key);
  for (long i = 4; i < size; i++) buf[i] = (unsigned char)(buf[i] - key[i % VXN_PACKAGE_KEY_SIZE]);
  char* table = (char*)VXN_calloc(n ? (size_t)n * w : 1, 1);
  if (!table) {
    VXN_free(buf);
    return reject("error [1050]: Cannot allocate memory.\n");
  }
  unsigned found = 0;
  long start = 4;
  int ok = 1;
  for (long i = 4; i < size && ok; i++) {
    if (buf[i] == '\0') {
      ok = reject("error [3040] : Entry %u of the %s table holds a zero byte.\n", found, what);
    } else if (buf[i] == ',') {
      const long len = i - start;
      if (found >= n)
        ok = reject("error [3040] : The %s table holds more than its %u entries.\n", what, n);
      else if (len > (long)m)
        ok = reject("error [3040] : Entry %u of the %s table is %ld bytes long, over its limit %u.\n",
                    found, what, len, m);
      else
        memcpy(table + (size_t)found * w, buf + start, (size_t)len);
      found++;
      start = i + 1;
    }
  }
  if (ok && start != size)
    ok = reject("error [3040] : The %s table ends inside an entry.\n", what);
  if (ok && found != n)
    ok = reject("error [3040] : The %s table holds %u entries, its header says %u.\n", what, found,
                n);
  VXN_free(buf);
  if (!ok) {
    VXN_free(table);
    return 0;
  }
  *slots = table;
  *count = (uint16_t)n;
  *width = (uint16_t)w;
  return 1;
}

int CVxnCode::VXN_Code_load_question_from_fp(FILE* qt, FILE* pt) {
  release_tables();
  failed_ = 0;
  damaged_file_ = reading_ = NULL;
  if (!qt || !pt) return reject("error [1030] : Model name or path is invalid.\n");
  reading(".qt");
  const int questions =
      load_table(qt, "question-name", 2, &question_table_, &question_count_, &question_width_);
  reading(".pt");
  if (!questions ||
      !load_table(pt, "pattern", 1, &pattern_table_, &pattern_count_, &pattern_width_)) {
    release_tables();
    return 0;
  }
  tables_loaded_ = 1;
  return 1;
}

int CVxnCode::VXN_Code_load_question_from_fn(char* qt_path, char* pt_path) {
  FILE* qt = qt_path ? VXN_get_fp(qt_path, "rb") : NULL;
  FILE* pt = pt_path ? VXN_get_fp(pt_path, "rb") : NULL;
  int ok = 0;
  if (!qt || !pt) {
    failed_ = 0;
    damaged_file_ = reading_ = NULL;
    release_tables();
    reject("error [1030] : Model name or path is invalid.\n");
  } else {
    ok = VXN_Code_load_question_from_fp(qt, pt);
  }
  if (qt) fclose(qt);
  if (pt) fclose(pt);
  return ok;
}

// ---------------------------------------------------------------------------
// Question and tree packets

int CVxnCode::VXN_Code_PacketAnalysisString_index(VXN_Model* model, FILE* fp, int L,
                                                  VXN_CODE_QUESTION* table) {
  if (!fp) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Code_PacketAnalysisString_: File for trees is not specified.\n");
    return reject("error [3070] : No tree file.\n");
  }
  const long size = (long)L - 4;  // payload
  if (size < 12) return reject("error [3070] : A question packet of %d bytes is too short.\n", L);
  unsigned char* p = (unsigned char*)VXN_calloc((size_t)size, 1);
  if (!p) return reject("error [1050]: Cannot allocate memory.\n");
  if (!read_exact(fp, p, size, "a question packet")) {
    VXN_free(p);
    return 0;
  }
  int ok = 1;
  if (get_code(p) != kQuestionBegin || get_code(p + size - 4) != kQuestionEnd)
    ok = reject("error [3070] : A question packet lacks its begin or end code.\n");
  const unsigned nq = ok ? get_u16(p + 4) : 0, np = ok ? get_u16(p + 6) : 0;
  if (ok && nq < 1) ok = reject("error [3080] : A question packet declares no question.\n");
  // First pass: validate the records and size the block.
  const long end = size - 4;
  unsigned records = 0, refs = 0;
  size_t strings = 0;
  for (long at = 8; ok && at < end;) {
    if (end - at < 4) {
      ok = reject("error [3080] : A question record is cut off by the end of its packet.\n");
      break;
    }
    const unsigned q = get_u16(p + at), n = get_u16(p + at + 2);
    at += 4;
    if (q >= question_count_)
      ok = reject("error [3080] : Question index %u is outside the %u question names.\n", q,
                  question_count_);
    else if (++records > nq)
      ok = reject("error [3080] : A question packet holds more than its %u questions.\n", nq);
    else if ((long)n * 2 > end - at)
      ok = reject("error [3080] : The patterns of question %u run past the end of the packet.\n", q);
    else if ((refs += n) > np)
      ok = reject("error [3080] : A question packet holds more than its %u pattern references.\n",
                  np);
    if (!ok) break;
    strings += strlen(question_table_ + (size_t)q * question_width_) + 1;
    for (unsigned j = 0; j < n; j++, at += 2) {
      const unsigned pi = get_u16(p + at);
      if (pi >= pattern_count_) {
        ok = reject("error [3080] : Pattern index %u is outside the %u patterns.\n", pi,
                    pattern_count_);
        break;
      }
      strings += strlen(pattern_table_ + (size_t)pi * pattern_width_) + 1;
    }
  }
  const size_t bytes = sizeof(PacketBlock) + records * sizeof(VXN_Question) +
                       refs * sizeof(VXN_Pattern) + strings;
  if (ok && bytes > kMaxPacketBytes)
    ok = reject("error [3080] : A question packet expands to %zu bytes: too large.\n", bytes);
  char* block = ok ? (char*)VXN_calloc(bytes, 1) : NULL;
  if (ok && !block) ok = reject("error [1050]: Cannot allocate memory.\n");
  if (!ok) {
    VXN_free(p);
    return 0;
  }
  ((PacketBlock*)block)->next = model->blocks;
  model->blocks = block;
  VXN_Question* qs = (VXN_Question*)(block + sizeof(PacketBlock));
  VXN_Pattern* ps = (VXN_Pattern*)(qs + records);
  char* text = (char*)(ps + refs);
  for (long at = 8; at < end;) {
    const unsigned q = get_u16(p + at), n = get_u16(p + at + 2);
    at += 4;
    VXN_Question* question = qs++;
    const char* name = question_table_ + (size_t)q * question_width_;
    question->string = strcpy(text, name);
    text += strlen(name) + 1;
    VXN_Pattern** tail = &question->head;
    for (unsigned j = 0; j < n; j++, at += 2) {
      const char* pat = pattern_table_ + (size_t)get_u16(p + at) * pattern_width_;
      VXN_Pattern* pattern = ps++;
      pattern->string = strcpy(text, pat);
      text += strlen(pat) + 1;
      *tail = pattern;
      tail = &pattern->next;
    }
    table[q] = question;
    if (last_question_)
      last_question_->next = question;
    else
      model->question = question;
    last_question_ = question;
  }
  VXN_free(p);
  return 1;
}

int CVxnCode::VXN_Code_Tree_parse_pattern(VXN_Tree* tree) {
  // The tree block holds its single selection pattern "*" after the tree.
  VXN_Pattern* pattern = (VXN_Pattern*)(tree + 1);
  char* star = (char*)(pattern + 1);
  star[0] = '*';
  star[1] = '\0';
  pattern->string = star;
  pattern->next = NULL;
  tree->head = pattern;
  return 1;
}

int CVxnCode::VXN_Code_PacketAnalysisState_index(VXN_Model* model, FILE* fp, int L,
                                                 VXN_CODE_QUESTION* table) {
  if (!fp) return reject("VXN_Code_load_tree: File for trees is not specified.\n");
  const long size = (long)L - 4;
  if (size < 7 + 9 + 4) return reject("error [3090] : A tree packet of %d bytes holds no node.\n", L);
  unsigned char* p = (unsigned char*)VXN_calloc((size_t)size, 1);
  if (!p) return reject("error [1050]: Cannot allocate memory.\n");
  if (!read_exact(fp, p, size, "a tree packet")) {
    VXN_free(p);
    return 0;
  }
  const int state = p[4];
  const int r = get_i16(p + 5);
  int ok = 1;
  if (get_code(p) != kTreeBegin || get_code(p + size - 4) != kTreeEnd)
    ok = reject("error [3070] : A tree packet lacks its begin or end code.\n");
  else if (r < 1)
    ok = reject("error [3090] : A tree packet declares %d nodes.\n", r);
  else if ((long)L != 15 + 9L * r)
    ok = reject("error [3090] : A tree packet of %d nodes is %d bytes long, not %ld.\n", r, L,
                15 + 9L * r);
  VXN_Tree* tree = NULL;
  VXN_Node* nodes = NULL;
  if (ok && !node_ids_) {
    node_ids_ = (VXN_Node**)VXN_calloc(kNodeTableSize, sizeof(VXN_Node*));
    node_used_ = (unsigned char*)VXN_calloc(kNodeTableSize, 1);
  }
  const int ordinal = model->ntree;
  if (ok && ordinal >= tree_max_cap_) {
    const int cap = tree_max_cap_ ? 2 * tree_max_cap_ : 16;
    int32_t* grown = (int32_t*)VXN_calloc((size_t)cap, sizeof(int32_t));
    if (grown && tree_max_leaf_) memcpy(grown, tree_max_leaf_, (size_t)tree_max_cap_ * sizeof(int32_t));
    VXN_free(tree_max_leaf_);
    tree_max_leaf_ = grown;
    tree_max_cap_ = grown ? cap : 0;
  }
  VXN_Node** ids = node_ids_;
  unsigned char* used = node_used_;
  int max_leaf = 0;
  if (ok) {
    tree = (VXN_Tree*)VXN_calloc(1, sizeof(VXN_Tree) + sizeof(VXN_Pattern) + 2);
    nodes = (VXN_Node*)VXN_calloc(1 + 2 * (size_t)r, sizeof(VXN_Node));
    if (!tree || !nodes || !ids || !used || !tree_max_leaf_)
      ok = reject("error [1050]: Cannot allocate memory.\n");
  }
  if (ok) {
    tree->state = state;
    VXN_Code_Tree_parse_pattern(tree);
    tree->root = nodes;
    ids[0] = nodes;
    used[0] = 1;
    int pending = 1;  // named internal nodes without their record yet
    VXN_Node* head = nodes;
    for (int k = 0; k < r && ok; k++) {
      const unsigned char* rec = p + 7 + 9 * k;
      const int id = get_i16(rec), q = get_i16(rec + 2);
      const int no = get_i16(rec + 4), yes = get_i16(rec + 6), flags = rec[8];
      VXN_Node* node = (id <= 0 && id >= -kMaxNodeId) ? ids[-id] : NULL;
      if (id > 0 || id < -kMaxNodeId) {
        ok = reject("error [3090] : Node id %d is outside -15999..0.\n", id);
      } else if (!node) {
        ok = reject("error [3090] : Node %d has a record but no parent names it.\n", id);
      } else if (q < 0 || q >= question_count_ || !table[q]) {
        ok = reject("error [3090] : Node %d asks question %d, which its model does not define.\n",
                    id, q);
      } else if (flags & ~3) {
        ok = reject("error [3090] : Node %d has unknown flags 0x%02x.\n", id, flags);
      }
      if (!ok) break;
      ids[-id] = NULL;  // its record is read: no second one
      pending--;
      VXN_Node* yes_node = &nodes[1 + 2 * k];
      VXN_Node* no_node = &nodes[2 + 2 * k];
      node->quest = table[q];
      node->yes = yes_node;
      node->no = no_node;
      const int values[2] = {no, yes};
      VXN_Node* children[2] = {no_node, yes_node};
      const int leaf[2] = {(flags & 2) != 0, (flags & 1) != 0};
      for (int c = 0; c < 2 && ok; c++) {
        if (leaf[c]) {
          if (values[c] < 1) ok = reject("error [3100] : Node %d names leaf %d.\n", id, values[c]);
          children[c]->pdf = values[c];
          if (values[c] > max_leaf) max_leaf = values[c];
        } else if (values[c] >= 0 || values[c] < -kMaxNodeId) {
          ok = reject("error [3090] : Node %d names child %d, outside -15999..-1.\n", id,
                      values[c]);
        } else if (used[-values[c]]) {
          ok = reject("error [3090] : Node id %d is named twice.\n", values[c]);
        } else {
          used[-values[c]] = 1;
          ids[-values[c]] = children[c];
          children[c]->index = values[c];
          pending++;
        }
      }
      no_node->next = head;
      yes_node->next = no_node;
      head = yes_node;
    }
    if (ok && pending != 0)
      ok = reject("error [3090] : A tree names %d nodes that have no record.\n", pending);
  }
  // Reset the scratch tables for the next packet: only named ids were set.
  if (ids && used) {
    ids[0] = NULL;
    used[0] = 0;
    for (int k = 0; k < r && k * 9 + 16 <= size; k++) {
      const unsigned char* rec = p + 7 + 9 * k;
      for (int c = 0; c < 2; c++) {
        const int v = get_i16(rec + 4 + 2 * c);
        if (v < 0 && v >= -kMaxNodeId) {
          ids[-v] = NULL;
          used[-v] = 0;
        }
      }
    }
  }
  VXN_free(p);
  if (ok) tree_max_leaf_[ordinal] = max_leaf;
  if (!ok) {
    VXN_free(nodes);
    VXN_free(tree);
    return 0;
  }
  if (last_tree_)
    last_tree_->next = tree;
  else
    model->tree = tree;
  last_tree_ = tree;
  model->ntree++;
  return 1;
}

int CVxnCode::VXN_Code_load_tree(VXN_Model* model, FILE* fp, int S) {
  if (!fp) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Code_load_tree: File for trees is not specified.\n");
    return reject("error [3070] : No tree file.\n");
  }
  reading(".dt");
  model->ntree = 0;
  last_tree_ = NULL;
  last_question_ = NULL;
  if (S < 0 || S > remaining(fp))
    return reject("error [3120] : The file ends inside a tree section of %d bytes.\n", S);
  VXN_CODE_QUESTION* table =
      (VXN_CODE_QUESTION*)VXN_calloc(question_count_ ? question_count_ : 1, sizeof(VXN_Question*));
  if (!table) return reject("error [1050]: Cannot allocate memory.\n");
  long left = S;
  int ok = 1;
  while (ok && left > 0) {
    unsigned char h[12];
    if (left < 12) {
      ok = reject("error [3070] : A packet header is cut off by the end of its section.\n");
      break;
    }
    if (!read_exact(fp, h, 12, "a packet header")) break;
    const int32_t L = (int32_t)(h[4] | (h[5] << 8) | (h[6] << 16) | ((uint32_t)h[7] << 24));
    if (L < 4 || (long)L > left - 8) {
      ok = reject("error [3070] : A packet of %d bytes does not fit its section.\n", L);
      break;
    }
    const unsigned type = get_code(h + 8);
    if (type == kQuestionPacket)
      ok = VXN_Code_PacketAnalysisString_index(model, fp, L, table);
    else if (type == kTreePacket)
      ok = VXN_Code_PacketAnalysisState_index(model, fp, L, table);
    else
      ok = reject("error [3070] : Unknown packet type 0x%02X.\n", type);
    left -= 8 + (long)L;
  }
  VXN_free(table);
  if (ok && !failed_ && model->ntree < 1)
    return reject("error [3060] : A tree section holds no tree.\n");
  return ok && !failed_;
}

// ---------------------------------------------------------------------------
// Model bodies

int CVxnCode::VXN_Code_load_pdf(VXN_Model* model, FILE* fp, int T, int msd, int type) {
  if (!fp) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Code_load_pdf: File for pdfs is not specified.\n");
    return reject("error [3110] : No model file.\n");
  }
  return load_body(model, fp, T, msd, type, kLayoutBytes);
}

int CVxnCode::VXN_Code_load_pdf_fp(VXN_Model* model, FILE* fp, int T, int msd) {
  if (!fp) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Code_load_pdf_fp: File for pdfs is not specified.\n");
    return reject("error [3110] : No model file.\n");
  }
  return load_body(model, fp, T, msd, 1, kLayoutOnDemand);
}

int CVxnCode::VXN_Code_load_pdf_16(VXN_Model* model, FILE* fp, int T, int msd) {
  if (!fp) {
    VXN_print(VXN_LEVEL_ERROR, "VXN_Code_load_pdf: File for pdfs is not specified.\n");
    return reject("error [3110] : No model file.\n");
  }
  return load_body(model, fp, T, msd, 1, kLayoutNibbles);
}

int CVxnCode::load_body(VXN_Model* model, FILE* fp, int T, int msd, int type, int layout) {
  reading(".am");
  model->ntree = T;
  unsigned char b[4];
  if (!read_exact(fp, b, 4, "a model body")) return 0;
  const int32_t v = (int32_t)(b[0] | (b[1] << 8) | (b[2] << 16) | ((uint32_t)b[3] << 24));
  if (v <= 0) return reject("error [3010] : # of HMM states %d should be positive.\n", v);
  model->vector_length = v;
  model->npdf = (int32_t*)VXN_calloc((size_t)T + 2, sizeof(int32_t));
  model->pdf = (unsigned char***)VXN_calloc((size_t)T + 2, sizeof(unsigned char**));
  if (!model->npdf || !model->pdf) return reject("error [1050]: Cannot allocate memory.\n");
  long long total = 0;
  for (int k = 2; k < T + 2; k++) {
    if (!read_exact(fp, b, 4, "a model body")) return 0;
    const int32_t n = (int32_t)(b[0] | (b[1] << 8) | (b[2] << 16) | ((uint32_t)b[3] << 24));
    if (n <= 0) return reject("error [3020] : # of pdfs at %d-th state should be positive.\n", k);
    model->npdf[k] = n;
    total += n;
  }
  unsigned char head[5];
  if (!read_exact(fp, head, 5, "a model body")) return 0;
  const int32_t K = (int32_t)(head[0] | (head[1] << 8) | (head[2] << 16) | ((uint32_t)head[3] << 24));
  const int found_type = head[4];
  if (found_type != type)
    return reject("error [3110] : A model body of codebook type %d where type %d belongs.\n",
                  found_type, type);
  // Code bytes per pdf: 2V codes (V in the 16-level layout, mean code in the
  // high and variance code in the low 4 bits), plus the weight code for MSD.
  const long long width = (layout == kLayoutNibbles ? (long long)v : 2LL * v) + msd;
  const long long dims = 2LL * v;
  if (type == 1) {
    if (K < 1 || K > 256) return reject("error [3110] : Codebook size %d is outside 1..256.\n", K);
    const long long bytes = dims * K * 4 + (msd ? 16 : 0);
    if (bytes + total * width > remaining(fp))
      return reject("error [3120] : The file ends inside a model body of %lld pdfs.\n", total);
    model->codebook_block = (float*)VXN_calloc((size_t)(dims * K), sizeof(float));
    model->codebook = (float**)VXN_calloc((size_t)dims, sizeof(float*));
    if (!model->codebook_block || !model->codebook)
      return reject("error [1050]: Cannot allocate memory.\n");
    if (!read_exact(fp, model->codebook_block, (long)(dims * K * 4), "a codebook")) return 0;
    for (long long d = 0; d < dims; d++) model->codebook[d] = model->codebook_block + d * K;
    if (msd && !read_exact(fp, model->msd_pair, 16, "a codebook")) return 0;
    model->codebook_size = K;
  } else {
    const long long count = msd ? 2 * (dims + 1) : 2 * dims;
    if (count * 8 + total * width > remaining(fp))
      return reject("error [3120] : The file ends inside a model body of %lld pdfs.\n", total);
    double* x = (double*)VXN_calloc((size_t)count, sizeof(double));
    model->linear = (double*)VXN_calloc((size_t)(2 * dims), sizeof(double));
    if (!x || !model->linear) {
      VXN_free(x);
      return reject("error [1050]: Cannot allocate memory.\n");
    }
    if (!read_exact(fp, x, (long)(count * 8), "a linear codebook")) {
      VXN_free(x);
      return 0;
    }
    const long long step_at = msd ? dims + 1 : dims;
    for (long long d = 0; d < dims; d++) {
      model->linear[d] = x[d];
      model->linear[dims + d] = x[step_at + d];
    }
    if (msd) {
      model->msd_pair[0] = x[dims];
      model->msd_pair[1] = x[2 * dims + 1];
    }
    VXN_free(x);
  }
  model->codebook_type = type;
  if (layout == kLayoutOnDemand) {
    // Codes stay in the file: note where each tree's codes begin.
    model->state_offset = (uint32_t*)VXN_calloc((size_t)T + 2, sizeof(uint32_t));
    if (!model->state_offset) return reject("error [1050]: Cannot allocate memory.\n");
    for (int k = 2; k < T + 2; k++) {
      const long at = ftell(fp);
      if (at < 0 || at > 0x7FFFFFFFL) return reject("error [3120] : The model file is too large.\n");
      model->state_offset[k] = (uint32_t)at;
      if (fseek(fp, (long)(model->npdf[k] * width), SEEK_CUR) != 0)
        return reject("error [3120] : The file ends inside a code block.\n");
    }
    return 1;
  }
  const long long stored = layout == kLayoutNibbles ? (long long)v : dims;  // codes before the weight
  model->codes = (unsigned char*)VXN_calloc((size_t)(total * width), 1);
  if (!model->codes) return reject("error [1050]: Cannot allocate memory.\n");
  if (!read_exact(fp, model->codes, (long)(total * width), "a code block")) return 0;
  unsigned char* c = model->codes;
  for (int k = 2; k < T + 2; k++) {
    model->pdf[k] = (unsigned char**)VXN_calloc((size_t)model->npdf[k] + 1, sizeof(unsigned char*));
    if (!model->pdf[k]) return reject("error [1050]: Cannot allocate memory.\n");
    for (int j = 1; j <= model->npdf[k]; j++, c += width) {
      if (msd) {
        // The file has the weight code first; in memory it follows the other codes.
        const unsigned char w = c[0];
        memmove(c, c + 1, (size_t)stored);
        c[stored] = w;
      }
      if (type == 1) {
        for (long long d = 0; d < stored; d++) {
          const int hi = layout == kLayoutNibbles ? c[d] >> 4 : c[d];
          const int lo = layout == kLayoutNibbles ? c[d] & 15 : 0;
          if (hi >= K || lo >= K)
            return reject("error [3110] : Code %d of pdf %d lies outside the %d-entry codebook.\n",
                          hi >= K ? hi : lo, j, K);
        }
      }
      model->pdf[k][j] = c;
    }
  }
  return 1;
}

int CVxnCode::check_leaves(const VXN_Model* model) {
  for (int t = 0; t < model->ntree && t < tree_max_cap_; t++) {
    if (tree_max_leaf_[t] > model->npdf[t + 2])
      return reject("error [3100] : Leaf %d lies outside the %d pdfs of tree %d.\n",
                    tree_max_leaf_[t], model->npdf[t + 2], t + 1);
  }
  return 1;
}

// ---------------------------------------------------------------------------
// Streams and sections

int CVxnCode::VXN_Code_Window_load(VXN_Window* window, const float table[][4], int count) {
  VXN_Code_Window_initialize(window);
  window->l_width = (int32_t*)VXN_calloc((size_t)count, sizeof(int32_t));
  window->r_width = (int32_t*)VXN_calloc((size_t)count, sizeof(int32_t));
  window->coefficient = (float**)VXN_calloc((size_t)count, sizeof(float*));
  if (!window->l_width || !window->r_width || !window->coefficient) return 0;
  window->size = count;
  for (int i = 0; i < count; i++) {
    const int w = (int)table[i][0];
    float* block = (float*)VXN_calloc((size_t)(w > 0 ? w : 1), sizeof(float));
    if (!block) return 0;
    for (int j = 0; j < w && j < 3; j++) block[j] = table[i][1 + j];
    window->l_width[i] = -(w / 2);
    window->r_width[i] = w / 2 - (w % 2 == 0 ? 1 : 0);
    window->coefficient[i] = block + w / 2;
    const int a = -window->l_width[i], b = window->r_width[i];
    if (a > window->max_width) window->max_width = a;
    if (b > window->max_width) window->max_width = b;
  }
  return 1;
}

int CVxnCode::VXN_Code_Stream_load_window(VXN_Stream* stream) {
  if (!VXN_Code_Window_load(&stream->window, kWindowTable, 3))
    return reject("error [1050]: Cannot allocate memory.\n");
  return 1;
}

int CVxnCode::VXN_Code_Stream_load(VXN_Stream* stream, FILE* dt, FILE* am, int S, int n, int msd,
                                   int nstate) {
  stream->msd_flag = msd;
  stream->model = (VXN_Model*)VXN_calloc((size_t)n, sizeof(VXN_Model));
  if (!stream->model) return reject("error [1050]: Cannot allocate memory.\n");
  stream->nmodel = n;
  for (int i = 0; i < n; i++) {
    VXN_Model* model = &stream->model[i];
    VXN_Code_initialize(model);
    if (!VXN_Code_load_tree(model, dt, S)) return 0;
    if (!VXN_Code_load_pdf(model, am, model->ntree, msd, 1)) return 0;
    if (!check_leaves(model)) return 0;
    if (nstate > 0) {
      // A parameter stream: one tree or more for each emitting state, none for others.
      for (const VXN_Tree* t = model->tree; t; t = t->next)
        if (t->state < 2 || t->state > nstate + 1)
          return reject("error [3130] : A tree serves state %d; the voice has states 2..%d.\n",
                        t->state, nstate + 1);
      for (int s = 2; s <= nstate + 1; s++) {
        int found = 0;
        for (const VXN_Tree* t = model->tree; t && !found; t = t->next) found = t->state == s;
        if (!found) return reject("error [3130] : No tree serves state %d.\n", s);
      }
    }
    if (model->vector_length != stream->model[0].vector_length) {
      VXN_print(VXN_LEVEL_ERROR,
                "VXN_Stream_load_pdf_and_tree: Vector sizes of state output vectors are different "
                "in between given modelsets.\n");
      return reject("error [3030] : Vector sizes of state output vectors are different in "
                    "between given modelsets.\n");
    }
  }
  stream->vector_length = stream->model[0].vector_length;
  if (msd && stream->vector_length % 3 != 0)
    return reject("error [3110] : The pitch stream's vector length %d is not a multiple of 3.\n",
                  stream->vector_length);
  return 1;
}

int CVxnCode::VXN_Code_Stream_load_pdf(VXN_Stream* stream, FILE* am, int n) {
  stream->msd_flag = 0;
  stream->model = (VXN_Model*)VXN_calloc((size_t)n, sizeof(VXN_Model));
  if (!stream->model) return reject("error [1050]: Cannot allocate memory.\n");
  stream->nmodel = n;
  for (int i = 0; i < n; i++) {
    VXN_Model* model = &stream->model[i];
    VXN_Code_initialize(model);
    if (!VXN_Code_load_pdf(model, am, 1, 0, 0)) return 0;
    if (model->vector_length != stream->model[0].vector_length)
      return reject("error [3030] : Vector sizes of state output vectors are different in "
                    "between given modelsets.\n");
  }
  stream->vector_length = stream->model[0].vector_length;
  return 1;
}

static float* equal_weights(int n) {
  float* w = (float*)VXN_calloc((size_t)n, sizeof(float));
  if (w)
    for (int i = 0; i < n; i++) w[i] = 1.0f / (float)n;
  return w;
}

int CVxnCode::VXN_Code_Engine_load_duration(VXN_Engine* engine, FILE* dt, FILE* am, int S, int n) {
  VXN_ModelSet* ms = &engine->ms;
  if (ms->duration.nmodel > 0) return reject("error [3060] : A second duration section.\n");
  if (!VXN_Code_Stream_load(&ms->duration, dt, am, S, n, 0, 0)) return 0;
  const int v = ms->duration.vector_length;
  if (v < 1 || v > kMaxStates)
    return reject("error [3010] : # of HMM states %d should be positive and at most 5.\n", v);
  for (int i = 0; i < n; i++)
    if (ms->duration.model[i].ntree != 1)
      return reject("error [3060] : The duration section holds %d trees, not 1.\n",
                    ms->duration.model[i].ntree);
  ms->nstate = v;
  VXN_free(engine->duration_iw);
  engine->duration_iw = equal_weights(n);
  if (!engine->duration_iw) return reject("error [1050]: Cannot allocate memory.\n");
  return 1;
}

int CVxnCode::VXN_Code_Engine_load_parameter(VXN_Engine* engine, FILE* dt, FILE* am, int S,
                                             int stream, int n) {
  VXN_ModelSet* ms = &engine->ms;
  if (ms->nstate < 1)
    return reject("error [3060] : Parameter stream %d comes before the duration section.\n",
                  stream);
  if (!ms->stream) {
    ms->stream = (VXN_Stream*)VXN_calloc((size_t)ms->nstream, sizeof(VXN_Stream));
    if (!ms->stream) return reject("error [1050]: Cannot allocate memory.\n");
  }
  VXN_Stream* st = &ms->stream[stream];
  if (st->nmodel > 0) return reject("error [3060] : A second section for stream %d.\n", stream);
  if (!VXN_Code_Stream_load(st, dt, am, S, n, stream == 1, ms->nstate)) return 0;
  if (!VXN_Code_Stream_load_window(st)) return 0;
  if (!engine->parameter_iw || stream >= engine->stream_count)
    return reject("error [3140] : The engine has no weights for stream %d.\n", stream);
  VXN_free(engine->parameter_iw[stream]);
  engine->parameter_iw[stream] = equal_weights(n);
  if (!engine->parameter_iw[stream]) return reject("error [1050]: Cannot allocate memory.\n");
  return 1;
}

int CVxnCode::VXN_Code_Engine_load_gv(VXN_Engine* engine, FILE* am, int stream, int n) {
  VXN_ModelSet* ms = &engine->ms;
  if (!ms->gv) {
    ms->gv = (VXN_Stream*)VXN_calloc((size_t)ms->nstream, sizeof(VXN_Stream));
    if (!ms->gv) return reject("error [1050]: Cannot allocate memory.\n");
  }
  VXN_Stream* st = &ms->gv[stream];
  if (st->nmodel > 0) return reject("error [3060] : A second GV section for stream %d.\n", stream);
  if (!VXN_Code_Stream_load_pdf(st, am, n)) return 0;
  if (!engine->gv_iw || stream >= engine->stream_count)
    return reject("error [3140] : The engine has no weights for stream %d.\n", stream);
  VXN_free(engine->gv_iw[stream]);
  engine->gv_iw[stream] = equal_weights(n);
  if (!engine->gv_iw[stream]) return reject("error [1050]: Cannot allocate memory.\n");
  return 1;
}

// The interpolation weights belong to the voice being loaded: a new load
// starts without any.
static void release_weights(VXN_Engine* engine) {
  VXN_free(engine->duration_iw);
  engine->duration_iw = NULL;
  for (int s = 0; s < engine->stream_count; s++) {
    if (engine->parameter_iw) {
      VXN_free(engine->parameter_iw[s]);
      engine->parameter_iw[s] = NULL;
    }
    if (engine->gv_iw) {
      VXN_free(engine->gv_iw[s]);
      engine->gv_iw[s] = NULL;
    }
  }
}

// Reads a section header; 1 header read, 0 clean end of file, -1 rejected.
// -2 when the file ends inside the header, -3 when the marker is wrong.
static int read_section_header(FILE* fp, int* kind, int32_t* size) {
  const unsigned code = CVxnCode::VXN_Code_GetCode(fp);
  if (code == CVxnCode::VXN_CODE_EOF) return 0;
  if (code == CVxnCode::VXN_CODE_SHORT) return -2;
  if (code != kSectionCode) return -3;
  unsigned char b[5];
  if (fread(b, 1, 5, fp) != 5) return -2;
  *kind = b[0];
  *size = (int32_t)(b[1] | (b[2] << 8) | (b[3] << 16) | ((uint32_t)b[4] << 24));
  return 1;
}

int CVxnCode::VXN_Code_load_parameter_from_fp(VXN_Engine* engine, FILE* am, FILE* dt, int n) {
  VXN_ModelSet* ms = &engine->ms;
  // Loading replaces whatever voice the model set held.
  VXN_ModelSet_clear_voice(ms, 3);

  release_weights(engine);

  int ok = 1;
  failed_ = 0;
  damaged_file_ = reading_ = NULL;
  if (!am || !dt) ok = reject("error [1030] : Model name or path is invalid.\n");
  else if (!tables_loaded_) ok = reject("error [3040] : The question and pattern tables are not loaded.\n");
  else if (n < 1 || n > kMaxInterpolation)
    ok = reject("error [3140] : Interpolation count %d is outside 1..%d.\n", n, kMaxInterpolation);
  while (ok) {
    int dkind = 0, akind = 0;
    int32_t S = 0, ignored = 0;
    const int dt_has = read_section_header(dt, &dkind, &S);
    const int am_has = read_section_header(am, &akind, &ignored);
    // A header that cannot be read, or a section only one file has, is
    // charged to the file that lacks it.
    reading(dt_has < 0 ? ".dt" : am_has < 0 ? ".am" : (dt_has && !am_has) ? ".am" : ".dt");
    if (dt_has == -2 || am_has == -2) {
      ok = reject("error [3120] : The %s file ends inside a section header.\n",
                  dt_has == -2 ? ".dt" : ".am");
      break;
    }
    if (dt_has == -3 || am_has == -3) {
      ok = reject("error [3050] : A section of the %s file does not start with the section "
                  "marker.\n",
                  dt_has == -3 ? ".dt" : ".am");
      break;
    }
    if (!dt_has && !am_has) break;
    if (!am_has) {
      ok = reject("error [3060] : The .dt file holds a tree section the .am file lacks.\n");
      break;
    }
    const int kind = akind >> 4, stream = akind & 15;
    if (kind == 0 || kind == 1) {
      if (!dt_has) {
        ok = reject("error [3060] : The .am section 0x%02X has no tree section in the .dt file.\n",
                    akind);
      } else if (dkind != akind) {
        ok = reject("error [3050] : The .dt section 0x%02X does not match the .am section 0x%02X.\n",
                    dkind, akind);
      } else if (kind == 0 && stream != 0) {
        ok = reject("error [3050] : A duration section names stream %d.\n", stream);
      } else if (kind == 1 && stream > 2) {
        ok = reject("error [3050] : A parameter section names stream %d, outside 0..2.\n", stream);
      } else if (kind == 0) {
        ok = VXN_Code_Engine_load_duration(engine, dt, am, S, n);
      } else {
        ok = VXN_Code_Engine_load_parameter(engine, dt, am, S, stream, n);
      }
    } else if (dt_has) {
      ok = reject("error [3050] : The .dt file holds a tree section for .am section 0x%02X.\n",
                  akind);
    } else if (kind == 2) {
      if (stream > 2)
        ok = reject("error [3050] : A GV section names stream %d, outside 0..2.\n", stream);
      else
        ok = VXN_Code_Engine_load_gv(engine, am, stream, n);
    }
    // Kinds 3..15 load nothing.
  }
  if (ok && ms->nstate < 1) ok = reject("error [3060] : The package has no duration section.\n");
  for (int s = 0; ok && s < 3; s++)
    if (!ms->stream || ms->stream[s].nmodel < 1)
      ok = reject("error [3060] : The package has no section for parameter stream %d.\n", s);
  release_tables();
  if (!ok || failed_) {
    VXN_ModelSet_clear_voice(ms, 3);
    release_weights(engine);
    return 0;
  }
  return 1;
}

int CVxnCode::VXN_Code_load_parameter_from_fn(VXN_Engine* engine, char* am_path, char* dt_path,
                                             int n) {
  FILE* am = am_path ? VXN_get_fp(am_path, "rb") : NULL;
  FILE* dt = dt_path ? VXN_get_fp(dt_path, "rb") : NULL;
  const int ok = VXN_Code_load_parameter_from_fp(engine, am, dt, n);
  if (am) fclose(am);
  if (dt) fclose(dt);
  if (ok) engine->ms.am_file = VXN_get_fp(am_path, "rb");
  return ok;
}
