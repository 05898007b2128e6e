#include "tools/voicebuild/VXN_package_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <utility>
#include <vector>

#include "engine/VXN_package_key.h"

namespace vxn {
namespace voice {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kMaxEntry = 1023;        // longest name or pattern the engine copies
constexpr int kMaxNodeId = 15999;
constexpr int kMaxStates = 5;
constexpr int kMaxInt16 = 32767;

void put_u8(Bytes& b, unsigned v) { b.push_back((unsigned char)v); }
void put_u16(Bytes& b, unsigned v) {
  b.push_back((unsigned char)v);
  b.push_back((unsigned char)(v >> 8));
}
void put_i16(Bytes& b, int v) { put_u16(b, (unsigned)(uint16_t)(int16_t)v); }
void put_i32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; i++) b.push_back((unsigned char)((uint32_t)v >> (8 * i)));
}
void put_f32(Bytes& b, float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  put_i32(b, (int32_t)u);
}
void put_f64(Bytes& b, double d) {
  uint64_t u;
  std::memcpy(&u, &d, 8);
  for (int i = 0; i < 8; i++) b.push_back((unsigned char)(u >> (8 * i)));
}
// Code words are written as the big-endian integer of their value.
void put_code(Bytes& b, unsigned code) {
  b.push_back(0);
  b.push_back(0);
  b.push_back(0);
  b.push_back((unsigned char)code);
}
void append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

bool fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

bool check_entry(const std::string& s, const char* kind, std::string* error) {
  if (s.size() > (size_t)kMaxEntry)
    return fail(error, std::string(kind) + " longer than 1023 bytes: " + s.substr(0, 40) + "...");
  if (s.find(',') != std::string::npos) return fail(error, std::string(kind) + " holds a comma: " + s);
  if (s.find('\0') != std::string::npos) return fail(error, std::string(kind) + " holds a zero byte");
  return true;
}

// One tree as written: records in parent-before-child order with fresh ids.
struct Record {
  int id, question, no, yes, flags;
};

bool layout_tree(const Tree& tree, int nquestions, std::vector<Record>* out, std::string* error,
                 const std::string& where) {
  out->clear();
  if (tree.pdf_count < 1 || tree.pdf_count > kMaxInt16)
    return fail(error, where + ": pdf count " + std::to_string(tree.pdf_count) +
                           " is outside 1..32767");
  if (tree.nodes.empty()) {
    if (tree.pdf_count != 1) return fail(error, where + ": a tree without nodes must have 1 pdf");
    if (nquestions < 1) return fail(error, where + ": a single-leaf tree needs one question");
    out->push_back({0, 0, 1, 1, 3});
    return true;
  }
  std::map<int, size_t> by_id;
  for (size_t i = 0; i < tree.nodes.size(); i++) {
    if (!by_id.emplace(tree.nodes[i].id, i).second)
      return fail(error, where + ": node id " + std::to_string(tree.nodes[i].id) + " appears twice");
  }
  if (tree.nodes[0].id != 0 && !by_id.count(0)) return fail(error, where + ": no root node (id 0)");
  // Breadth-first from the root; ids are renumbered 0, -1, -2, ...
  std::vector<char> seen(tree.nodes.size(), 0);
  std::deque<std::pair<size_t, int>> todo;  // node index, new id
  todo.emplace_back(by_id.count(0) ? by_id[0] : 0, 0);
  seen[todo.front().first] = 1;
  int next_id = -1;
  while (!todo.empty()) {
    const auto [index, id] = todo.front();
    todo.pop_front();
    const Node& n = tree.nodes[index];
    if (n.question < 0 || n.question >= nquestions)
      return fail(error, where + ": node " + std::to_string(n.id) + " asks question " +
                             std::to_string(n.question) + ", outside the question list");
    if (n.question > kMaxInt16)
      return fail(error, where + ": question index " + std::to_string(n.question) +
                             " does not fit a node record (at most 32767)");
    Record r{id, n.question, 0, 0, 0};
    const int values[2] = {n.no, n.yes};
    const bool leaf[2] = {n.no_is_leaf, n.yes_is_leaf};
    int* slot[2] = {&r.no, &r.yes};
    for (int c = 0; c < 2; c++) {
      if (leaf[c]) {
        if (values[c] < 1 || values[c] > tree.pdf_count)
          return fail(error, where + ": leaf " + std::to_string(values[c]) + " is outside 1.." +
                                 std::to_string(tree.pdf_count));
        *slot[c] = values[c];
        r.flags |= c == 0 ? 2 : 1;
        continue;
      }
      auto it = by_id.find(values[c]);
      if (it == by_id.end())
        return fail(error, where + ": node " + std::to_string(n.id) + " names missing node " +
                               std::to_string(values[c]));
      if (seen[it->second])
        return fail(error, where + ": node " + std::to_string(values[c]) +
                               " has two parents or lies on a cycle");
      seen[it->second] = 1;
      if (next_id < -kMaxNodeId) return fail(error, where + ": more than 16000 internal nodes");
      *slot[c] = next_id;
      todo.emplace_back(it->second, next_id--);
    }
    out->push_back(r);
  }
  if (out->size() != tree.nodes.size())
    return fail(error, where + ": " + std::to_string(tree.nodes.size() - out->size()) +
                           " nodes are not reachable from the root");
  if (out->size() > (size_t)kMaxInt16) return fail(error, where + ": more than 32767 nodes");
  return true;
}

// 1-D Lloyd quantiser over the values of one dimension.
struct Codebook {
  std::vector<float> entries;  // sorted, kCodebookSize long

  // Nearest entry; for variances (log_domain) nearest in the log domain.
  unsigned char code(double x, bool log_domain) const {
    auto it = std::lower_bound(entries.begin(), entries.end(), (float)x);
    size_t hi = (size_t)(it - entries.begin());
    if (hi >= entries.size()) return (unsigned char)(entries.size() - 1);
    if (hi == 0) return 0;
    const double a = entries[hi - 1], b = entries[hi];
    const bool lower = log_domain ? std::log(x / a) <= std::log(b / x) : x - a <= b - x;
    return (unsigned char)(lower ? hi - 1 : hi);
  }
};

// Designs a codebook over values (log-domain values when log_domain; the
// entries are then stored back in the linear domain).
Codebook design_codebook(std::vector<double> values, bool log_domain) {
  for (double& v : values) v = log_domain ? std::log(v) : v;
  std::sort(values.begin(), values.end());
  std::vector<double> distinct;
  std::vector<double> weight;
  for (double v : values) {
    if (distinct.empty() || v != distinct.back()) {
      distinct.push_back(v);
      weight.push_back(1.0);
    } else {
      weight.back() += 1.0;
    }
  }
  std::vector<double> centre;
  const size_t n = distinct.size();
  if (n <= (size_t)kCodebookSize) {
    centre = distinct;
  } else {
    // Start at the quantiles of the data, then Lloyd iterations.
    std::vector<double> cum(n + 1, 0.0), cumx(n + 1, 0.0);
    for (size_t i = 0; i < n; i++) {
      cum[i + 1] = cum[i] + weight[i];
      cumx[i + 1] = cumx[i] + weight[i] * distinct[i];
    }
    // Start halfway between the quantiles of the data and an even spread
    // over its range, so that sparse tails keep some entries.
    centre.resize(kCodebookSize);
    for (int k = 0; k < kCodebookSize; k++) {
      const double target = (k + 0.5) / kCodebookSize * cum[n];
      size_t i = (size_t)(std::lower_bound(cum.begin() + 1, cum.end(), target) - cum.begin() - 1);
      const double even = distinct[0] + (distinct[n - 1] - distinct[0]) * k / (kCodebookSize - 1);
      centre[k] = 0.5 * (distinct[std::min(i, n - 1)] + even);
    }
    for (int iter = 0; iter < 40; iter++) {
      std::sort(centre.begin(), centre.end());
      bool changed = false;
      size_t lo = 0;
      for (int k = 0; k < kCodebookSize; k++) {
        const double bound = k + 1 < kCodebookSize ? (centre[k] + centre[k + 1]) / 2 : INFINITY;
        size_t hi = lo;
        while (hi < n && distinct[hi] <= bound) hi++;
        if (hi > lo) {
          const double c = (cumx[hi] - cumx[lo]) / (cum[hi] - cum[lo]);
          if (c != centre[k]) changed = true;
          centre[k] = c;
        }
        lo = hi;
      }
      if (!changed) break;
    }
    std::sort(centre.begin(), centre.end());
  }
  Codebook cb;
  for (double c : centre) cb.entries.push_back((float)(log_domain ? std::exp(c) : c));
  std::sort(cb.entries.begin(), cb.entries.end());
  while (cb.entries.size() < (size_t)kCodebookSize) cb.entries.push_back(cb.entries.back());
  return cb;
}

struct ErrorAcc {
  double sum = 0.0, max = 0.0;
  long count = 0;
  void add(double err, double spread) {
    const double rel = spread > 0 ? err / spread : 0.0;
    sum += rel;
    max = std::max(max, rel);
    count++;
  }
  QuantError result() const { return {count ? sum / count : 0.0, max}; }
};

bool check_pdfs(const Stream& st, const std::string& name, int expected_trees_min,
                std::string* error) {
  if (st.vector_length < 1) return fail(error, name + ": vector length must be at least 1");
  if ((int)st.trees.size() < expected_trees_min) return fail(error, name + ": missing trees");
  if (st.pdfs.size() != st.trees.size())
    return fail(error, name + ": " + std::to_string(st.pdfs.size()) + " pdf lists for " +
                           std::to_string(st.trees.size()) + " trees");
  for (size_t t = 0; t < st.trees.size(); t++) {
    if ((int)st.pdfs[t].size() != st.trees[t].pdf_count)
      return fail(error, name + " tree " + std::to_string(t) + ": pdf_count " +
                             std::to_string(st.trees[t].pdf_count) + " but " +
                             std::to_string(st.pdfs[t].size()) + " pdfs");
    for (const Pdf& p : st.pdfs[t]) {
      if ((int)p.mean.size() != st.vector_length || (int)p.vari.size() != st.vector_length)
        return fail(error, name + ": a pdf's length differs from the vector length");
      for (int d = 0; d < st.vector_length; d++) {
        if (!std::isfinite(p.mean[d]) || !std::isfinite(p.vari[d]))
          return fail(error, name + ": a pdf holds a value that is not finite");
        if (!(p.vari[d] > 0.0f)) return fail(error, name + ": a variance is not positive");
      }
      if (st.msd && !(p.msd >= 0.0f && p.msd <= 1.0f))
        return fail(error, name + ": a voicing weight lies outside 0..1");
    }
  }
  return true;
}

// Model section body of a stream with trees (codebook type 1).
Bytes body_codebook(const Stream& st, StreamReport* rep, Stream* deq) {
  const int v = st.vector_length;
  Bytes b;
  put_i32(b, v);
  for (const Tree& t : st.trees) put_i32(b, t.pdf_count);
  put_i32(b, kCodebookSize);
  put_u8(b, 1);
  std::vector<Codebook> books(2 * v);
  std::vector<double> spread(2 * v, 0.0);
  for (int d = 0; d < 2 * v; d++) {
    std::vector<double> values;
    for (const auto& list : st.pdfs)
      for (const Pdf& p : list) values.push_back(d < v ? p.mean[d] : p.vari[d - v]);
    books[d] = design_codebook(values, d >= v);
    // Variance errors are measured in the log domain, where they are designed.
    auto mm = std::minmax_element(values.begin(), values.end());
    spread[d] = d < v ? *mm.second - *mm.first : std::log(*mm.second / *mm.first);
    for (float e : books[d].entries) put_f32(b, e);
  }
  const double msd_offset = 0.0, msd_step = 1.0 / 255.0;
  if (st.msd) {
    put_f64(b, msd_offset);
    put_f64(b, msd_step);
  }
  ErrorAcc mean_err, vari_err;
  if (deq) *deq = st;
  for (size_t t = 0; t < st.pdfs.size(); t++) {
    for (size_t j = 0; j < st.pdfs[t].size(); j++) {
      const Pdf& p = st.pdfs[t][j];
      Pdf* q = deq ? &deq->pdfs[t][j] : nullptr;
      if (st.msd) {
        const long c = std::lround(p.msd / msd_step);
        const unsigned char code = (unsigned char)std::min(255L, std::max(0L, c));
        put_u8(b, code);
        if (q) q->msd = (float)code * (float)msd_step + (float)msd_offset;
      }
      for (int d = 0; d < 2 * v; d++) {
        const double x = d < v ? p.mean[d] : p.vari[d - v];
        const unsigned char code = books[d].code(x, d >= v);
        const float y = books[d].entries[code];
        put_u8(b, code);
        if (d < v)
          mean_err.add(std::fabs(y - x), spread[d]);
        else
          vari_err.add(std::fabs(std::log(y / x)), spread[d]);
        if (q) (d < v ? q->mean[d] : q->vari[d - v]) = y;
      }
    }
  }
  if (rep) {
    rep->mean_error = mean_err.result();
    rep->vari_error = vari_err.result();
    rep->codebook_size = kCodebookSize;
  }
  return b;
}

// GV body (linear type 0): one pdf; each dimension's pair holds its value
// exactly (offset = value, step 0, code 0).
Bytes body_gv(const GvStream& gv) {
  const int v = (int)gv.mean.size();
  Bytes b;
  put_i32(b, v);
  put_i32(b, 1);
  put_i32(b, 0);
  put_u8(b, 0);
  for (int d = 0; d < v; d++) put_f64(b, gv.mean[d]);
  for (int d = 0; d < v; d++) put_f64(b, gv.vari[d]);
  for (int d = 0; d < 2 * v; d++) put_f64(b, 0.0);
  for (int d = 0; d < 2 * v; d++) put_u8(b, 0);
  return b;
}

// Tree section of the .dt: the questions the trees ask, then one packet per tree.
bool tree_section(const Voice& voice, const Stream& st, const std::map<std::string, int>& pattern_index,
                  const std::string& name, Bytes* out, StreamReport* rep, std::string* error) {
  std::vector<std::vector<Record>> layouts(st.trees.size());
  std::vector<int> used;
  std::vector<char> mark(voice.questions.size(), 0);
  int nodes = 0;
  for (size_t t = 0; t < st.trees.size(); t++) {
    if (!layout_tree(st.trees[t], (int)voice.questions.size(), &layouts[t], error,
                     name + " tree " + std::to_string(t)))
      return false;
    for (const Record& r : layouts[t]) {
      if (!mark[r.question]) used.push_back(r.question);
      mark[r.question] = 1;
    }
    nodes += (int)layouts[t].size();
  }
  std::sort(used.begin(), used.end());
  Bytes b;
  // Question packets, split so that Nq and Np fit 16 bits.
  size_t i = 0;
  while (i < used.size()) {
    Bytes payload;
    unsigned nq = 0, np = 0;
    Bytes records;
    while (i < used.size()) {
      const Question& q = voice.questions[used[i]];
      if (q.patterns.size() > 65535)
        return fail(error, "question " + q.name + " has more than 65535 patterns");
      if (nq + 1 > 65535 || np + q.patterns.size() > 65535) break;
      put_u16(records, (unsigned)used[i]);
      put_u16(records, (unsigned)q.patterns.size());
      for (const std::string& p : q.patterns) put_u16(records, (unsigned)pattern_index.at(p));
      nq++;
      np += (unsigned)q.patterns.size();
      i++;
    }
    put_code(payload, 0xFD);
    put_u16(payload, nq);
    put_u16(payload, np);
    append(payload, records);
    put_code(payload, 0xFC);
    put_code(b, 0);
    put_i32(b, (int32_t)(payload.size() + 4));
    put_code(b, 0xFE);
    append(b, payload);
  }
  for (size_t t = 0; t < st.trees.size(); t++) {
    const auto& recs = layouts[t];
    Bytes payload;
    put_code(payload, 0xFA);
    put_u8(payload, (unsigned)st.trees[t].state);
    put_i16(payload, (int)recs.size());
    for (const Record& r : recs) {
      put_i16(payload, r.id);
      put_i16(payload, r.question);
      put_i16(payload, r.no);
      put_i16(payload, r.yes);
      put_u8(payload, (unsigned)r.flags);
    }
    put_code(payload, 0xF9);
    put_code(b, 0);
    put_i32(b, (int32_t)(payload.size() + 4));
    put_code(b, 0xFB);
    append(b, payload);
  }
  if (b.size() > 0x7FFFFFFF) return fail(error, name + ": tree section too large");
  *out = std::move(b);
  if (rep) {
    rep->trees = (int)st.trees.size();
    rep->nodes = nodes;
    rep->vector_length = st.vector_length;
    rep->pdfs = 0;
    for (const Tree& t : st.trees) rep->pdfs += t.pdf_count;
  }
  return true;
}

void section_header(Bytes& b, int kind, int stream, int32_t size) {
  put_code(b, 0xEF);
  put_u8(b, (unsigned)((kind << 4) | stream));
  put_i32(b, size);
}

Bytes string_table(const std::vector<std::string>& entries) {
  Bytes b;
  size_t longest = 0;
  for (const std::string& e : entries) longest = std::max(longest, e.size());
  put_u16(b, (unsigned)entries.size());
  put_u16(b, (unsigned)longest);
  for (const std::string& e : entries) {
    b.insert(b.end(), e.begin(), e.end());
    b.push_back(',');
  }
  unsigned char key[VXN_PACKAGE_KEY_SIZE];
  VXN_package_key(key);
  for (size_t i = 4; i < b.size(); i++) b[i] = (unsigned char)(b[i] + key[i % VXN_PACKAGE_KEY_SIZE]);
  return b;
}

bool write_file(const std::string& path, const Bytes& b, std::string* error) {
  FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp) return fail(error, "cannot open " + path + " for writing");
  const bool ok = std::fwrite(b.data(), 1, b.size(), fp) == b.size();
  const bool closed = std::fclose(fp) == 0;
  if (!ok || !closed) return fail(error, "cannot write " + path);
  return true;
}

}  // namespace

bool validate_voice(const Voice& voice, std::string* error) {
  if (voice.questions.size() > 65535) return fail(error, "more than 65535 questions");
  std::map<std::string, int> names;
  for (const Question& q : voice.questions) {
    if (!check_entry(q.name, "question name", error)) return false;
    if (!names.emplace(q.name, 0).second) return fail(error, "question name appears twice: " + q.name);
    for (const std::string& p : q.patterns)
      if (!check_entry(p, "pattern", error)) return false;
  }
  const Stream& dur = voice.duration;
  if (dur.vector_length < 1 || dur.vector_length > kMaxStates)
    return fail(error, "duration: the number of states must be 1..5");
  if (dur.trees.size() != 1) return fail(error, "duration: exactly one tree is needed");
  if (dur.msd) return fail(error, "duration: the duration stream has no voicing weight");
  if (!check_pdfs(dur, "duration", 1, error)) return false;
  const int nstate = dur.vector_length;
  for (int s = 0; s < 3; s++) {
    const Stream& st = voice.streams[s];
    const std::string name = "stream " + std::to_string(s);
    if (st.msd != (s == 1)) return fail(error, name + ": only stream 1 carries a voicing weight");
    if (!check_pdfs(st, name, nstate, error)) return false;
    if (st.msd && st.vector_length % 3 != 0)
      return fail(error, name + ": the pitch stream's vector length must be a multiple of 3");
    for (int state = 2; state <= nstate + 1; state++) {
      bool found = false;
      for (const Tree& t : st.trees) found |= t.state == state;
      if (!found) return fail(error, name + ": no tree for state " + std::to_string(state));
    }
    for (const Tree& t : st.trees)
      if (t.state < 2 || t.state > nstate + 1)
        return fail(error, name + ": a tree serves state " + std::to_string(t.state));
  }
  for (int s = 0; s < 3; s++) {
    const GvStream& gv = voice.gv[s];
    if (!gv.present) continue;
    if (gv.mean.empty() || gv.mean.size() != gv.vari.size())
      return fail(error, "GV stream " + std::to_string(s) + ": mean and variance lengths differ");
    for (size_t d = 0; d < gv.mean.size(); d++)
      if (!std::isfinite(gv.mean[d]) || !std::isfinite(gv.vari[d]))
        return fail(error, "GV stream " + std::to_string(s) + ": a value is not finite");
  }
  return true;
}

bool write_package(const Voice& voice, const std::string& stem_path, PackageReport* report,
                   std::string* error, Voice* dequantised) {
  if (!validate_voice(voice, error)) return false;
  PackageReport rep;
  // String tables: names in question order, patterns once each.
  std::vector<std::string> names, patterns;
  std::map<std::string, int> pattern_index;
  for (const Question& q : voice.questions) {
    names.push_back(q.name);
    for (const std::string& p : q.patterns)
      if (pattern_index.emplace(p, (int)patterns.size()).second) patterns.push_back(p);
  }
  if (patterns.size() > 65535) return fail(error, "more than 65535 distinct patterns");
  rep.questions = (int)names.size();
  rep.patterns = (int)patterns.size();

  Voice deq;
  if (dequantised) deq = voice;
  Bytes am, dt;
  const Stream* streams[4] = {&voice.duration, &voice.streams[0], &voice.streams[1],
                              &voice.streams[2]};
  StreamReport* reps[4] = {&rep.duration, &rep.streams[0], &rep.streams[1], &rep.streams[2]};
  Stream* deqs[4] = {&deq.duration, &deq.streams[0], &deq.streams[1], &deq.streams[2]};
  for (int i = 0; i < 4; i++) {
    const int kind = i == 0 ? 0 : 1, stream = i == 0 ? 0 : i - 1;
    const std::string name = i == 0 ? "duration" : "stream " + std::to_string(stream);
    Bytes trees;
    if (!tree_section(voice, *streams[i], pattern_index, name, &trees, reps[i], error)) return false;
    const Bytes body = body_codebook(*streams[i], reps[i], dequantised ? deqs[i] : nullptr);
    section_header(dt, kind, stream, (int32_t)trees.size());
    append(dt, trees);
    section_header(am, kind, stream, (int32_t)body.size());
    append(am, body);
  }
  for (int s = 0; s < 3; s++) {
    if (!voice.gv[s].present) continue;
    const Bytes body = body_gv(voice.gv[s]);
    section_header(am, 2, s, (int32_t)body.size());
    append(am, body);
    rep.gv_streams++;
  }
  const Bytes qt = string_table(names), pt = string_table(patterns);
  if (!write_file(stem_path + ".qt", qt, error) || !write_file(stem_path + ".pt", pt, error) ||
      !write_file(stem_path + ".am", am, error) || !write_file(stem_path + ".dt", dt, error))
    return false;
  rep.bytes_qt = qt.size();
  rep.bytes_pt = pt.size();
  rep.bytes_am = am.size();
  rep.bytes_dt = dt.size();
  if (report) *report = rep;
  if (dequantised) *dequantised = std::move(deq);
  return true;
}

}  // namespace voice
}  // namespace vxn
