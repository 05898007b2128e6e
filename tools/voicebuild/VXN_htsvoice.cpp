// Strict .htsvoice reader; see VXN_htsvoice.h.
#include "tools/voicebuild/VXN_htsvoice.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace vxn {
namespace voice {

namespace {

// Largest values the reader accepts; they only guard against absurd input.
constexpr int kMaxStates = 32;
constexpr int kMaxStreams = 8;
constexpr int kMaxVectorLength = 1024;
constexpr int kMaxWindows = 8;
constexpr int kMaxWindowWidth = 31;
constexpr long kMaxNodeMagnitude = 10000000;

struct Failure {
  std::string message;
};

[[noreturn]] void fail(const std::string& message) { throw Failure{message}; }

std::string trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

long parse_long(const std::string& text, const std::string& what, long lo, long hi) {
  std::string t = trim(text);
  if (t.empty()) fail(what + ": empty value");
  std::size_t i = 0;
  if (t[0] == '-' || t[0] == '+') i = 1;
  if (i == t.size()) fail(what + ": '" + t + "' is not an integer");
  for (std::size_t k = i; k < t.size(); ++k)
    if (t[k] < '0' || t[k] > '9') fail(what + ": '" + t + "' is not an integer");
  if (t.size() - i > 12) fail(what + ": '" + t + "' is out of range");
  long v = std::strtol(t.c_str(), nullptr, 10);
  if (v < lo || v > hi)
    fail(what + ": " + t + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
  return v;
}

double parse_double(const std::string& text, const std::string& what) {
  std::string t = trim(text);
  if (t.empty()) fail(what + ": empty number");
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(v))
    fail(what + ": '" + t + "' is not a finite number");
  return v;
}

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    std::size_t p = s.find(sep, start);
    out.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) break;
    start = p + 1;
  }
  return out;
}

// Inclusive byte range of the data block.
struct Range {
  std::size_t begin = 0;
  std::size_t end = 0;  // one past the last byte
};

Range parse_range(const std::string& text, const std::string& what, std::size_t data_size) {
  std::vector<std::string> ab = split(trim(text), '-');
  if (ab.size() != 2) fail(what + ": '" + text + "' is not a range start-end");
  long a = parse_long(ab[0], what, 0, 0x7fffffffL);
  long b = parse_long(ab[1], what, 0, 0x7fffffffL);
  if (b < a) fail(what + ": range " + text + " ends before it starts");
  if (static_cast<std::size_t>(b) >= data_size)
    fail(what + ": range " + text + " runs past the data block of " + std::to_string(data_size) +
         " bytes");
  return Range{static_cast<std::size_t>(a), static_cast<std::size_t>(b) + 1};
}

// Header keys in one map; a key may appear once.
class Header {
 public:
  void add(const std::string& key, const std::string& value, int line) {
    if (!values_.emplace(key, value).second)
      fail("header line " + std::to_string(line) + ": key " + key + " appears twice");
  }
  bool has(const std::string& key) const { return values_.count(key) != 0; }
  const std::string& get(const std::string& key) const {
    auto it = values_.find(key);
    if (it == values_.end()) fail("header: missing key " + key);
    return it->second;
  }

 private:
  std::map<std::string, std::string> values_;
};

// Quoted, comma-separated list such as "*-pau+*","*-h#+*".
std::vector<std::string> parse_quoted_list(const std::string& text, const std::string& what) {
  std::vector<std::string> out;
  std::string t = trim(text);
  if (t.empty()) return out;
  std::size_t i = 0;
  for (;;) {
    if (i >= t.size() || t[i] != '"') fail(what + ": expected a double-quoted string");
    std::size_t close = t.find('"', i + 1);
    if (close == std::string::npos) fail(what + ": unterminated string");
    out.push_back(t.substr(i + 1, close - i - 1));
    i = close + 1;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    if (i == t.size()) break;
    if (t[i] != ',') fail(what + ": expected ',' between strings");
    ++i;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  }
  return out;
}

// ----- binary pdf blocks ---------------------------------------------------

int32_t read_i32(const unsigned char* p) {
  uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  int32_t out;
  std::memcpy(&out, &v, 4);
  return out;
}

float read_f32(const unsigned char* p) {
  uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  float out;
  std::memcpy(&out, &v, 4);
  return out;
}

// ntrees trees; each pdf holds vw means, vw variances and, for msd, a weight.
HtsPdfBlock parse_pdf_block(const unsigned char* data, Range r, int ntrees, int vw, bool msd,
                            const std::string& what) {
  HtsPdfBlock block;
  const std::size_t size = r.end - r.begin;
  const unsigned char* p = data + r.begin;
  if (size < 4u * static_cast<std::size_t>(ntrees))
    fail(what + ": " + std::to_string(size) + " bytes cannot hold " + std::to_string(ntrees) +
         " pdf counts");
  const std::size_t per_pdf = 4u * (2u * static_cast<std::size_t>(vw) + (msd ? 1u : 0u));
  std::vector<std::size_t> counts;
  std::size_t total = 0;
  for (int t = 0; t < ntrees; ++t) {
    int32_t n = read_i32(p + 4 * t);
    if (n < 1)
      fail(what + ": tree " + std::to_string(t + 1) + " has " + std::to_string(n) + " pdfs");
    if (static_cast<std::size_t>(n) > size / per_pdf)
      fail(what + ": tree " + std::to_string(t + 1) + " claims " + std::to_string(n) +
           " pdfs, more than the block holds");
    counts.push_back(static_cast<std::size_t>(n));
    total += static_cast<std::size_t>(n);
  }
  const std::size_t expected = 4u * static_cast<std::size_t>(ntrees) + total * per_pdf;
  if (expected != size)
    fail(what + ": " + std::to_string(total) + " pdfs of " + std::to_string(per_pdf) +
         " bytes need " + std::to_string(expected) + " bytes, the range holds " +
         std::to_string(size));
  const unsigned char* q = p + 4 * ntrees;
  block.pdfs.resize(ntrees);
  for (int t = 0; t < ntrees; ++t) {
    block.pdfs[t].resize(counts[t]);
    for (std::size_t k = 0; k < counts[t]; ++k) {
      Pdf& pdf = block.pdfs[t][k];
      pdf.mean.resize(vw);
      pdf.vari.resize(vw);
      for (int d = 0; d < vw; ++d, q += 4) pdf.mean[d] = read_f32(q);
      for (int d = 0; d < vw; ++d, q += 4) pdf.vari[d] = read_f32(q);
      if (msd) {
        pdf.msd = read_f32(q);
        q += 4;
      }
      const std::string where = what + ": tree " + std::to_string(t + 1) + " pdf " +
                                std::to_string(k + 1);
      for (int d = 0; d < vw; ++d) {
        if (!std::isfinite(pdf.mean[d])) fail(where + ": mean is not finite");
        if (!std::isfinite(pdf.vari[d]) || !(pdf.vari[d] > 0.0f))
          fail(where + ": variance is not a positive finite number");
      }
      if (msd && !(pdf.msd >= 0.0f && pdf.msd <= 1.0f))
        fail(where + ": voiced weight outside 0..1");
    }
  }
  return block;
}

// ----- text trees ----------------------------------------------------------

class TextCursor {
 public:
  TextCursor(const unsigned char* p, std::size_t n, std::string what)
      : p_(p), n_(n), what_(std::move(what)) {
    for (std::size_t i = 0; i < n; ++i)
      if (p[i] == 0) fail(what_ + ": NUL byte in a text block");
  }
  void skip_ws() {
    while (i_ < n_ && (p_[i_] == ' ' || p_[i_] == '\t' || p_[i_] == '\n' || p_[i_] == '\r')) {
      if (p_[i_] == '\n') ++line_;
      ++i_;
    }
  }
  bool at_end() {
    skip_ws();
    return i_ >= n_;
  }
  char peek() {
    skip_ws();
    return i_ < n_ ? static_cast<char>(p_[i_]) : '\0';
  }
  std::string token() {
    skip_ws();
    std::size_t b = i_;
    while (i_ < n_ && p_[i_] != ' ' && p_[i_] != '\t' && p_[i_] != '\n' && p_[i_] != '\r') ++i_;
    if (b == i_) error("unexpected end of block");
    return std::string(reinterpret_cast<const char*>(p_ + b), i_ - b);
  }
  void expect(char c) {
    skip_ws();
    if (i_ >= n_ || p_[i_] != c) error(std::string("expected '") + c + "'");
    ++i_;
  }
  std::string quoted() {
    expect('"');
    std::size_t b = i_;
    while (i_ < n_ && p_[i_] != '"') {
      if (p_[i_] == '\n') error("line break inside a quoted string");
      ++i_;
    }
    if (i_ >= n_) error("unterminated quoted string");
    std::string s(reinterpret_cast<const char*>(p_ + b), i_ - b);
    ++i_;
    return s;
  }
  [[noreturn]] void error(const std::string& m) const {
    fail(what_ + " line " + std::to_string(line_) + ": " + m);
  }

 private:
  const unsigned char* p_;
  std::size_t n_;
  std::size_t i_ = 0;
  int line_ = 1;
  std::string what_;
};

// A child written in a node line: a node id or a quoted leaf name.
void parse_child(TextCursor& c, int* value, bool* is_leaf, std::size_t npdf) {
  if (c.peek() == '"') {
    std::string name = c.quoted();
    std::size_t us = name.rfind('_');
    if (us == std::string::npos || us + 1 >= name.size())
      c.error("leaf name \"" + name + "\" does not end in _N");
    long n = 0;
    for (std::size_t k = us + 1; k < name.size(); ++k) {
      if (name[k] < '0' || name[k] > '9' || k - us > 9)
        c.error("leaf name \"" + name + "\" does not end in _N");
      n = n * 10 + (name[k] - '0');
    }
    if (n < 1 || static_cast<std::size_t>(n) > npdf)
      c.error("leaf \"" + name + "\" names pdf " + std::to_string(n) + " of a tree with " +
              std::to_string(npdf) + " pdfs");
    *value = static_cast<int>(n);
    *is_leaf = true;
  } else {
    std::string t = c.token();
    try {
      *value = static_cast<int>(parse_long(t, "child", -kMaxNodeMagnitude, 0));
    } catch (const Failure& f) {
      c.error("child '" + t + "' is neither a node id <= 0 nor a quoted leaf");
    }
    *is_leaf = false;
  }
}

// Checks that the nodes form one tree rooted at node 0 and puts the root first.
void check_tree_shape(Tree* tree, TextCursor& c) {
  std::map<int, std::size_t> by_id;
  for (std::size_t k = 0; k < tree->nodes.size(); ++k)
    if (!by_id.emplace(tree->nodes[k].id, k).second)
      c.error("node " + std::to_string(tree->nodes[k].id) + " is defined twice");
  auto root = by_id.find(0);
  if (root == by_id.end()) c.error("tree has no root node 0");
  std::map<int, int> parents;
  for (const Node& n : tree->nodes) {
    for (int side = 0; side < 2; ++side) {
      bool leaf = side ? n.yes_is_leaf : n.no_is_leaf;
      int child = side ? n.yes : n.no;
      if (leaf) continue;
      if (child == 0) c.error("node " + std::to_string(n.id) + " refers back to the root");
      if (!by_id.count(child))
        c.error("node " + std::to_string(n.id) + " refers to undefined node " +
                std::to_string(child));
      if (++parents[child] > 1) c.error("node " + std::to_string(child) + " has two parents");
    }
  }
  // Every node reachable from the root exactly once (no detached cycles).
  std::vector<int> stack{0};
  std::size_t seen = 0;
  while (!stack.empty()) {
    int id = stack.back();
    stack.pop_back();
    ++seen;
    const Node& n = tree->nodes[by_id[id]];
    if (!n.no_is_leaf) stack.push_back(n.no);
    if (!n.yes_is_leaf) stack.push_back(n.yes);
    if (seen > tree->nodes.size()) c.error("tree contains a cycle");
  }
  if (seen != tree->nodes.size()) c.error("tree has nodes that the root does not reach");
  if (root->second != 0) std::swap(tree->nodes[0], tree->nodes[root->second]);
}

// pdf_counts[t]: pdfs of tree t in the matching pdf block; the block must hold
// exactly that many trees, serving states 2, 3, ... in order.
HtsTreeBlock parse_tree_block(const unsigned char* data, Range r,
                              const std::vector<std::size_t>& pdf_counts,
                              const std::string& what) {
  HtsTreeBlock block;
  TextCursor c(data + r.begin, r.end - r.begin, what);
  std::map<std::string, int> qindex;
  while (!c.at_end() && c.peek() == 'Q') {
    std::string kw = c.token();
    if (kw != "QS") c.error("expected QS, found '" + kw + "'");
    Question q;
    q.name = c.token();
    c.expect('{');
    if (c.peek() == '}') c.error("question " + q.name + " has no patterns");
    for (;;) {
      q.patterns.push_back(c.quoted());
      char next = c.peek();
      if (next == '}') break;
      if (next != ',') c.error("expected ',' or '}' in question " + q.name);
      c.expect(',');
    }
    c.expect('}');
    if (!qindex.emplace(q.name, static_cast<int>(block.questions.size())).second)
      c.error("question " + q.name + " is defined twice");
    block.questions.push_back(std::move(q));
  }
  while (!c.at_end()) {
    if (block.trees.size() >= pdf_counts.size())
      c.error("more trees than the pdf block has (" + std::to_string(pdf_counts.size()) + ")");
    const std::size_t t = block.trees.size();
    std::string head = c.token();  // {pattern}[state]
    std::size_t close = head.rfind("}[");
    if (head.size() < 5 || head[0] != '{' || close == std::string::npos || head.back() != ']')
      c.error("expected a tree header {pattern}[state], found '" + head + "'");
    Tree tree;
    tree.state = static_cast<int>(
        parse_long(head.substr(close + 2, head.size() - close - 3), what + " tree state", 0, 99));
    if (tree.state != static_cast<int>(t) + 2)
      c.error("tree " + std::to_string(t + 1) + " serves state " + std::to_string(tree.state) +
              ", expected " + std::to_string(t + 2));
    tree.pdf_count = static_cast<int>(pdf_counts[t]);
    block.selections.push_back(head.substr(1, close - 1));
    if (c.peek() == '"') {
      int leaf = 0;
      bool is_leaf = false;
      parse_child(c, &leaf, &is_leaf, pdf_counts[t]);
      // A single-leaf tree: a root whose two children are that leaf.
      Node n;
      n.id = 0;
      n.question = -1;
      n.no = n.yes = leaf;
      n.no_is_leaf = n.yes_is_leaf = true;
      tree.nodes.push_back(n);
    } else {
      c.expect('{');
      while (c.peek() != '}') {
        if (c.at_end()) c.error("unterminated tree");
        Node n;
        std::string id = c.token();
        try {
          n.id = static_cast<int>(parse_long(id, "node id", -kMaxNodeMagnitude, 0));
        } catch (const Failure&) {
          c.error("'" + id + "' is not a node id <= 0");
        }
        std::string qname = c.token();
        auto it = qindex.find(qname);
        if (it == qindex.end()) c.error("node " + id + " asks unknown question " + qname);
        n.question = it->second;
        parse_child(c, &n.no, &n.no_is_leaf, pdf_counts[t]);
        parse_child(c, &n.yes, &n.yes_is_leaf, pdf_counts[t]);
        tree.nodes.push_back(n);
      }
      c.expect('}');
      if (tree.nodes.empty()) c.error("tree without nodes");
      check_tree_shape(&tree, c);
    }
    block.trees.push_back(std::move(tree));
  }
  if (block.trees.size() != pdf_counts.size())
    fail(what + ": " + std::to_string(block.trees.size()) + " trees for " +
         std::to_string(pdf_counts.size()) + " pdf sets");
  return block;
}

std::vector<std::size_t> counts_of(const HtsPdfBlock& b) {
  std::vector<std::size_t> out;
  for (const auto& t : b.pdfs) out.push_back(t.size());
  return out;
}

std::vector<double> parse_window(const unsigned char* data, Range r, const std::string& what) {
  std::string text(reinterpret_cast<const char*>(data + r.begin), r.end - r.begin);
  if (text.find('\0') != std::string::npos) fail(what + ": NUL byte");
  std::vector<std::string> tok;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::strchr(" \t\r\n", text[i])) ++i;
    std::size_t b = i;
    while (i < text.size() && !std::strchr(" \t\r\n", text[i])) ++i;
    if (i > b) tok.push_back(text.substr(b, i - b));
  }
  if (tok.empty()) fail(what + ": empty window");
  long n = parse_long(tok[0], what + " width", 1, kMaxWindowWidth);
  if (n % 2 == 0) fail(what + ": even window width " + std::to_string(n));
  if (static_cast<long>(tok.size()) != n + 1)
    fail(what + ": width " + std::to_string(n) + " but " + std::to_string(tok.size() - 1) +
         " coefficients");
  std::vector<double> w;
  for (long k = 1; k <= n; ++k) w.push_back(parse_double(tok[k], what));
  return w;
}

void parse(const unsigned char* file, std::size_t size, HtsVoice* v) {
  // Header: text lines up to and including "[DATA]\n".
  static const char kData[] = "[DATA]\n";
  std::size_t pos = 0, data_start = std::string::npos;
  Header h;
  std::string section;
  int line_no = 0;
  while (pos < size) {
    std::size_t eol = pos;
    while (eol < size && file[eol] != '\n') ++eol;
    if (eol >= size) break;
    ++line_no;
    std::string line(reinterpret_cast<const char*>(file + pos), eol - pos);
    if (line.find('\0') != std::string::npos)
      fail("header line " + std::to_string(line_no) + ": NUL byte");
    pos = eol + 1;
    std::string t = trim(line);
    if (t + "\n" == kData) {
      data_start = pos;
      break;
    }
    if (t.empty()) continue;
    if (t[0] == '[') {
      if (t != "[GLOBAL]" && t != "[STREAM]" && t != "[POSITION]")
        fail("header line " + std::to_string(line_no) + ": unknown section " + t);
      section = t;
      continue;
    }
    if (section.empty()) fail("header line " + std::to_string(line_no) + ": key before [GLOBAL]");
    std::size_t colon = t.find(':');
    if (colon == std::string::npos || colon == 0)
      fail("header line " + std::to_string(line_no) + ": expected KEY:VALUE");
    h.add(trim(t.substr(0, colon)), t.substr(colon + 1), line_no);
  }
  if (data_start == std::string::npos) fail("header: no [DATA] line");
  const unsigned char* data = file + data_start;
  const std::size_t data_size = size - data_start;

  v->version = trim(h.get("HTS_VOICE_VERSION"));
  if (v->version != "1.0") fail("header: HTS_VOICE_VERSION " + v->version + " is not 1.0");
  v->sampling_frequency =
      static_cast<int>(parse_long(h.get("SAMPLING_FREQUENCY"), "SAMPLING_FREQUENCY", 1, 1000000));
  v->frame_period =
      static_cast<int>(parse_long(h.get("FRAME_PERIOD"), "FRAME_PERIOD", 1, 1000000));
  if (static_cast<long>(v->frame_period) * 200 != v->sampling_frequency)
    fail("header: FRAME_PERIOD " + std::to_string(v->frame_period) + " at " +
         std::to_string(v->sampling_frequency) + " Hz is not 5 ms");
  v->num_states =
      static_cast<int>(parse_long(h.get("NUM_STATES"), "NUM_STATES", 1, kMaxStates));
  const int nstreams =
      static_cast<int>(parse_long(h.get("NUM_STREAMS"), "NUM_STREAMS", 1, kMaxStreams));
  std::vector<std::string> names = split(trim(h.get("STREAM_TYPE")), ',');
  if (static_cast<int>(names.size()) != nstreams)
    fail("header: STREAM_TYPE lists " + std::to_string(names.size()) + " streams, NUM_STREAMS is " +
         std::to_string(nstreams));
  std::set<std::string> unique;
  for (std::string& n : names) {
    n = trim(n);
    if (n.empty()) fail("header: empty stream name in STREAM_TYPE");
    if (!unique.insert(n).second) fail("header: stream " + n + " listed twice");
  }
  v->fullcontext_format = trim(h.get("FULLCONTEXT_FORMAT"));
  if (h.has("FULLCONTEXT_VERSION")) v->fullcontext_version = trim(h.get("FULLCONTEXT_VERSION"));
  if (h.has("GV_OFF_CONTEXT"))
    v->gv_off_context = parse_quoted_list(h.get("GV_OFF_CONTEXT"), "GV_OFF_CONTEXT");

  // Duration: one tree, one value per state.
  Range dpdf = parse_range(h.get("DURATION_PDF"), "DURATION_PDF", data_size);
  Range dtree = parse_range(h.get("DURATION_TREE"), "DURATION_TREE", data_size);
  v->duration_pdf = parse_pdf_block(data, dpdf, 1, v->num_states, false, "DURATION_PDF");
  v->duration_tree = parse_tree_block(data, dtree, counts_of(v->duration_pdf), "DURATION_TREE");

  for (const std::string& n : names) {
    HtsStreamData s;
    s.name = n;
    const std::string b = "[" + n + "]";
    s.vector_length = static_cast<int>(
        parse_long(h.get("VECTOR_LENGTH" + b), "VECTOR_LENGTH" + b, 1, kMaxVectorLength));
    s.msd = parse_long(h.get("IS_MSD" + b), "IS_MSD" + b, 0, 1) == 1;
    const int nwin = static_cast<int>(
        parse_long(h.get("NUM_WINDOWS" + b), "NUM_WINDOWS" + b, 1, kMaxWindows));
    s.use_gv = parse_long(h.get("USE_GV" + b), "USE_GV" + b, 0, 1) == 1;
    if (h.has("OPTION" + b)) s.option = trim(h.get("OPTION" + b));
    std::vector<std::string> wins = split(trim(h.get("STREAM_WIN" + b)), ',');
    if (static_cast<int>(wins.size()) != nwin)
      fail("STREAM_WIN" + b + ": " + std::to_string(wins.size()) + " ranges for " +
           std::to_string(nwin) + " windows");
    for (int w = 0; w < nwin; ++w)
      s.windows.push_back(parse_window(
          data, parse_range(wins[w], "STREAM_WIN" + b, data_size),
          "STREAM_WIN" + b + " window " + std::to_string(w + 1)));
    const int vw = s.vector_length * nwin;
    s.pdf = parse_pdf_block(data, parse_range(h.get("STREAM_PDF" + b), "STREAM_PDF" + b, data_size),
                            v->num_states, vw, s.msd, "STREAM_PDF" + b);
    s.tree = parse_tree_block(data,
                              parse_range(h.get("STREAM_TREE" + b), "STREAM_TREE" + b, data_size),
                              counts_of(s.pdf), "STREAM_TREE" + b);
    if (s.use_gv) {
      s.gv_pdf = parse_pdf_block(data, parse_range(h.get("GV_PDF" + b), "GV_PDF" + b, data_size),
                                 1, s.vector_length, false, "GV_PDF" + b);
      s.gv_tree = parse_tree_block(data, parse_range(h.get("GV_TREE" + b), "GV_TREE" + b, data_size),
                                   counts_of(s.gv_pdf), "GV_TREE" + b);
    }
    v->streams.push_back(std::move(s));
  }
}

}  // namespace

bool parse_htsvoice(const unsigned char* data, std::size_t size, HtsVoice* voice,
                    std::string* error) {
  try {
    *voice = HtsVoice();
    parse(data, size, voice);
    return true;
  } catch (const Failure& f) {
    if (error) *error = f.message;
    return false;
  } catch (const std::bad_alloc&) {
    if (error) *error = "out of memory";
    return false;
  }
}

bool parse_hts_tree_text(const unsigned char* text, std::size_t size,
                         const std::vector<std::size_t>& pdf_counts, const std::string& what,
                         HtsTreeBlock* block, std::string* error) {
  try {
    *block = parse_tree_block(text, Range{0, size}, pdf_counts, what);
    return true;
  } catch (const Failure& f) {
    if (error) *error = f.message;
    return false;
  } catch (const std::bad_alloc&) {
    if (error) *error = what + ": out of memory";
    return false;
  }
}

bool parse_hts_window_text(const unsigned char* text, std::size_t size, const std::string& what,
                           std::vector<double>* window, std::string* error) {
  try {
    *window = parse_window(text, Range{0, size}, what);
    return true;
  } catch (const Failure& f) {
    if (error) *error = f.message;
    return false;
  }
}

bool read_htsvoice(const std::string& path, HtsVoice* voice, std::string* error) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) {
    if (error) *error = "cannot open " + path;
    return false;
  }
  std::vector<unsigned char> bytes;
  unsigned char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) bytes.insert(bytes.end(), buf, buf + n);
  bool bad = std::ferror(fp) != 0;
  std::fclose(fp);
  if (bad) {
    if (error) *error = "cannot read " + path;
    return false;
  }
  if (!parse_htsvoice(bytes.data(), bytes.size(), voice, error)) {
    if (error) *error = path + ": " + *error;
    return false;
  }
  return true;
}

bool hts_pattern_match(const std::string& label, const std::string& pattern) {
  // Iterative glob with single-star backtracking; linear in practice.
  std::size_t s = 0, p = 0, star = std::string::npos, mark = 0;
  while (s < label.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == label[s])) {
      ++s;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = s;
    } else if (star != std::string::npos) {
      p = star + 1;
      s = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

int hts_tree_leaf(const HtsTreeBlock& block, std::size_t t, const std::string& label) {
  if (t >= block.trees.size()) return -1;
  const Tree& tree = block.trees[t];
  std::map<int, const Node*> by_id;
  for (const Node& n : tree.nodes) by_id[n.id] = &n;
  auto it = by_id.find(0);
  for (std::size_t steps = 0; it != by_id.end() && steps <= tree.nodes.size(); ++steps) {
    const Node& n = *it->second;
    bool yes = false;
    if (n.question >= 0 && static_cast<std::size_t>(n.question) < block.questions.size())
      for (const std::string& pat : block.questions[n.question].patterns)
        if (hts_pattern_match(label, pat)) {
          yes = true;
          break;
        }
    if (yes ? n.yes_is_leaf : n.no_is_leaf) return yes ? n.yes : n.no;
    it = by_id.find(yes ? n.yes : n.no);
  }
  return -1;
}

}  // namespace voice
}  // namespace vxn
