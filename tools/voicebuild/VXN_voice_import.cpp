// .htsvoice and voice-directory conversion into engine voices; see VXN_voice_import.h.
#include "tools/voicebuild/VXN_voice_import.h"

#include <algorithm>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>

#include "tools/voicebuild/VXN_aperiodicity_map.h"

namespace vxn {
namespace voice {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWindows = 3;  // static, delta, delta-delta in every engine stream
constexpr int kMinNodeId = -15999;

// The dynamic windows every engine stream uses.
const std::vector<std::vector<double>> kEngineWindows = {
    {1.0}, {-0.5, 0.0, 0.5}, {1.0, -2.0, 1.0}};

struct Failure {
  std::string message;
};
[[noreturn]] void fail(const std::string& m) { throw Failure{m}; }

std::string fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string fmt(const char* format, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(buf, sizeof buf, format, ap);
  va_end(ap);
  return buf;
}

// Solves N X = R for symmetric positive definite N (n x n) and R (n x m), in place in R.
void cholesky_solve(std::vector<double> n_mat, int n, std::vector<double>* r, int m) {
  for (int j = 0; j < n; ++j) {
    double d = n_mat[j * n + j];
    for (int k = 0; k < j; ++k) d -= n_mat[j * n + k] * n_mat[j * n + k];
    if (!(d > 0.0)) fail("spectral map: normal matrix is not positive definite");
    d = std::sqrt(d);
    n_mat[j * n + j] = d;
    for (int i = j + 1; i < n; ++i) {
      double s = n_mat[i * n + j];
      for (int k = 0; k < j; ++k) s -= n_mat[i * n + k] * n_mat[j * n + k];
      n_mat[i * n + j] = s / d;
    }
  }
  std::vector<double>& x = *r;
  for (int c = 0; c < m; ++c) {
    for (int i = 0; i < n; ++i) {  // L y = r
      double s = x[i * m + c];
      for (int k = 0; k < i; ++k) s -= n_mat[i * n + k] * x[k * m + c];
      x[i * m + c] = s / n_mat[i * n + i];
    }
    for (int i = n - 1; i >= 0; --i) {  // L^T x = y
      double s = x[i * m + c];
      for (int k = i + 1; k < n; ++k) s -= n_mat[k * n + i] * x[k * m + c];
      x[i * m + c] = s / n_mat[i * n + i];
    }
  }
}

// "ALPHA=0.45,GAMMA=0" style options.
std::map<std::string, std::string> parse_options(const std::string& text) {
  std::map<std::string, std::string> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    std::string item = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::size_t eq = item.find('=');
    if (!item.empty()) {
      if (eq == std::string::npos) fail("stream option '" + item + "' is not KEY=VALUE");
      out[item.substr(0, eq)] = item.substr(eq + 1);
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

double option_number(const std::string& s, const std::string& what) {
  char* end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  if (s.empty() || *end != '\0' || !std::isfinite(v)) fail(what + " '" + s + "' is not a number");
  return v;
}

// Merges the question lists of several blocks into one table. A name seen
// again with the same set of patterns (in any order) is the same question;
// with other patterns it gets a new name (name~2, name~3, ...).
class QuestionTable {
 public:
  explicit QuestionTable(std::vector<Question>* out) : out_(out) {}
  std::vector<int> add_block(const HtsTreeBlock& block) {
    std::vector<int> map;
    for (const Question& q : block.questions) {
      int found = -1;
      auto range = by_name_.equal_range(q.name);
      std::vector<std::string> key = q.patterns;
      std::sort(key.begin(), key.end());
      for (auto it = range.first; it != range.second; ++it) {
        std::vector<std::string> other = (*out_)[it->second].patterns;
        std::sort(other.begin(), other.end());
        if (other == key) found = it->second;
      }
      if (found < 0) {
        Question copy = q;
        if (range.first != range.second) {
          int n = 2;
          while (names_.count(q.name + "~" + std::to_string(n))) ++n;
          copy.name = q.name + "~" + std::to_string(n);
          ++renamed;
        }
        found = static_cast<int>(out_->size());
        by_name_.emplace(q.name, found);
        names_.emplace(copy.name, found);
        out_->push_back(std::move(copy));
      }
      map.push_back(found);
    }
    return map;
  }
  int renamed = 0;

 private:
  std::vector<Question>* out_;
  std::multimap<std::string, int> by_name_;  // source name -> entries
  std::map<std::string, int> names_;         // names in use
};

// Copies a tree with question indexes remapped. A single-leaf source tree
// becomes a tree without nodes whose only pdf is that leaf; *single_leaf
// receives that leaf (0 otherwise).
Tree convert_tree(const Tree& src, const std::vector<int>& qmap, const std::string& what,
                  int* single_leaf) {
  Tree t;
  t.state = src.state;
  *single_leaf = 0;
  if (src.nodes.size() == 1 && src.nodes[0].question < 0) {
    *single_leaf = src.nodes[0].yes;
    t.pdf_count = 1;
    return t;
  }
  t.pdf_count = src.pdf_count;
  for (const Node& n : src.nodes) {
    if (n.id < kMinNodeId || (!n.no_is_leaf && n.no < kMinNodeId) ||
        (!n.yes_is_leaf && n.yes < kMinNodeId))
      fail(what + fmt(": node ids below %d do not fit the package", kMinNodeId));
    Node c = n;
    c.question = qmap.at(n.question);
    t.nodes.push_back(c);
  }
  return t;
}

// Mean and variance of several GV pdfs pooled with equal weight: the pooled
// variance includes the spread of the means.
void pool_gv(const std::vector<Pdf>& pdfs, std::vector<float>* mean, std::vector<float>* vari) {
  const std::size_t v = pdfs[0].mean.size();
  mean->assign(v, 0.0f);
  vari->assign(v, 0.0f);
  for (std::size_t d = 0; d < v; ++d) {
    double m = 0.0, s = 0.0;
    for (const Pdf& p : pdfs) m += p.mean[d];
    m /= pdfs.size();
    for (const Pdf& p : pdfs) s += p.vari[d] + (p.mean[d] - m) * (p.mean[d] - m);
    (*mean)[d] = static_cast<float>(m);
    (*vari)[d] = static_cast<float>(s / pdfs.size());
  }
}

std::size_t pdf_total(const HtsPdfBlock& b) {
  std::size_t n = 0;
  for (const auto& t : b.pdfs) n += t.size();
  return n;
}

std::string source_shape(const HtsStreamData& s) {
  return fmt("%s: %d static x %zu windows%s, %zu trees, %zu pdfs%s%s%s", s.name.c_str(),
             s.vector_length, s.windows.size(), s.msd ? " (multi-space)" : "", s.tree.trees.size(),
             pdf_total(s.pdf), s.use_gv ? fmt(", GV %zu pdfs", pdf_total(s.gv_pdf)).c_str() : "",
             s.option.empty() ? "" : ", ", s.option.c_str());
}

std::string engine_shape(int index, const char* name, const Stream& s, const GvStream& gv) {
  std::size_t pdfs = 0;
  for (const auto& t : s.pdfs) pdfs += t.size();
  return fmt("%d %s: %d static x %d windows%s, %zu trees, %zu pdfs, GV %s", index, name,
             s.vector_length / kWindows, kWindows, s.msd ? " (multi-space)" : "", s.trees.size(),
             pdfs, gv.present ? "yes" : "no");
}

void run_import(const HtsVoice& src, const ImportOptions& opt, Voice* out, ImportReport* rep) {
  if (src.num_states != 5)
    fail(fmt("the voice has %d emitting states; the engine needs 5", src.num_states));
  if (src.sampling_frequency < opt.dst_rate)
    rep->notes.push_back(fmt("the voice's rate of %d Hz is below the engine's %.0f Hz: the "
                             "spectrum above %d Hz continues the level at %d Hz, falling %.0f dB "
                             "per octave",
                             src.sampling_frequency, opt.dst_rate, src.sampling_frequency / 2,
                             src.sampling_frequency / 2, kExtensionSlopeDb));
  if (src.fullcontext_format != "HTS_TTS_ENG")
    rep->notes.push_back("label format " + src.fullcontext_format +
                         " is not HTS_TTS_ENG; questions are copied as they are");

  const HtsStreamData* spectral = nullptr;
  const HtsStreamData* lf0 = nullptr;
  const HtsStreamData* bap = nullptr;
  for (const HtsStreamData& s : src.streams) {
    rep->shapes_before.push_back(source_shape(s));
    if (s.name == "LPF") {
      rep->notes.push_back("low-pass filter stream LPF is not used by the engine: dropped");
      continue;
    }
    if (s.name == "BAP") {
      if (s.msd) fail("aperiodicity stream BAP is multi-space");
      if (bap) fail("more than one aperiodicity stream");
      bap = &s;
      continue;
    }
    if (s.name == "STR" || s.name == "BPF")
      fail("the voice has a " + s.name + " stream; only band aperiodicity (BAP) converts");
    if (s.msd) {
      if (lf0) fail("more than one multi-space stream");
      if (s.vector_length != 1)
        fail(fmt("multi-space stream %s has %d static dimensions, log F0 has 1", s.name.c_str(),
                 s.vector_length));
      lf0 = &s;
    } else {
      if (spectral) fail("more than one spectral stream (" + spectral->name + ", " + s.name + ")");
      spectral = &s;
    }
  }
  if (!spectral) fail("no spectral (mel-cepstrum) stream");
  if (!lf0) fail("no multi-space log F0 stream");
  for (const HtsStreamData* s : {spectral, lf0, bap})
    if (s && s->windows != kEngineWindows)
      fail("stream " + s->name + ": dynamic windows differ from 1 / -0.5 0 0.5 / 1 -2 1");
  std::map<std::string, std::string> options = parse_options(spectral->option);
  if (!options.count("ALPHA")) fail("stream " + spectral->name + ": OPTION has no ALPHA");
  const double src_alpha = option_number(options["ALPHA"], "ALPHA");
  if (!(std::fabs(src_alpha) < 1.0)) fail("ALPHA must lie in -1..1");
  if (options.count("GAMMA") && option_number(options["GAMMA"], "GAMMA") != 0.0)
    fail("stream " + spectral->name + ": generalised cepstra (GAMMA != 0) are not supported");
  for (const HtsTreeBlock* b : {&src.duration_tree, &spectral->tree, &lf0->tree,
                                bap ? &bap->tree : &lf0->tree})
    for (const std::string& sel : b->selections)
      if (sel != "*") fail("tree selection pattern {" + sel + "} is not {*}");

  *out = Voice();
  QuestionTable table(&out->questions);
  const std::vector<int> qdur = table.add_block(src.duration_tree);
  const std::vector<int> qspectral = table.add_block(spectral->tree);
  const std::vector<int> qlf0 = table.add_block(lf0->tree);
  const std::vector<int> qbap = bap ? table.add_block(bap->tree) : std::vector<int>();
  rep->questions = static_cast<int>(out->questions.size());
  rep->renamed_questions = table.renamed;

  // Copies trees and pdfs of one block; pdf_fn converts one source pdf.
  auto copy_stream = [&](const HtsTreeBlock& trees, const HtsPdfBlock& pdfs,
                         const std::vector<int>& qmap, const std::string& what, Stream* dst,
                         const std::function<Pdf(const Pdf&)>& pdf_fn) {
    std::size_t done = 0, total = 0;
    for (const auto& t : pdfs.pdfs) total += t.size();
    for (std::size_t t = 0; t < trees.trees.size(); ++t) {
      int single = 0;
      dst->trees.push_back(convert_tree(trees.trees[t], qmap, what, &single));
      std::vector<Pdf> converted;
      if (single > 0) {
        converted.push_back(pdf_fn(pdfs.pdfs[t][single - 1]));
        done += pdfs.pdfs[t].size();
      } else {
        for (const Pdf& p : pdfs.pdfs[t]) {
          converted.push_back(pdf_fn(p));
          if (opt.progress && ++done % 2000 == 0) opt.progress(what, done, total);
        }
      }
      dst->pdfs.push_back(std::move(converted));
    }
    if (opt.progress) opt.progress(what, total, total);
  };

  // Durations: copied.
  out->duration.vector_length = src.num_states;
  copy_stream(src.duration_tree, src.duration_pdf, qdur, "duration", &out->duration,
              [](const Pdf& p) { return p; });

  // Stream 0: mel-cepstrum through the spectral map, block by block.
  const int vs = spectral->vector_length, vd = opt.dst_order + 1;
  SpectralMap map(vs - 1, src_alpha, src.sampling_frequency, opt.dst_order, opt.dst_alpha,
                  opt.dst_rate);
  out->streams[0].vector_length = vd * kWindows;
  copy_stream(spectral->tree, spectral->pdf, qspectral, "mel-cepstrum", &out->streams[0], [&](const Pdf& p) {
    Pdf q;
    q.mean.resize(vd * kWindows);
    q.vari.resize(vd * kWindows);
    for (int w = 0; w < kWindows; ++w) {
      if (w == 0)
        map.map_static_mean(&p.mean[0], &q.mean[0]);
      else
        map.map_mean(&p.mean[w * vs], &q.mean[w * vd]);
      map.map_variance(&p.vari[w * vs], &q.vari[w * vd]);
    }
    return q;
  });

  // Envelope agreement on an even sample of the spectral pdfs.
  std::vector<const Pdf*> all;
  for (const auto& t : spectral->pdf.pdfs)
    for (const Pdf& p : t) all.push_back(&p);
  const std::size_t sample = std::min<std::size_t>(all.size(), std::max(1, opt.envelope_sample));
  double sum = 0.0, sq = 0.0;
  for (std::size_t k = 0; k < sample; ++k) {
    const Pdf* p = all[k * all.size() / sample];
    double rms = 0.0;
    double e = map.envelope_error_db(
        p->mean.data(), std::min<double>(opt.dst_rate, src.sampling_frequency) / 2.0, 2000, &rms);
    rep->worst_envelope_db = std::max(rep->worst_envelope_db, e);
    sum += e;
    sq += rms * rms;
  }
  rep->envelope_pdfs = static_cast<int>(sample);
  rep->mean_envelope_db = sample ? sum / sample : 0.0;
  rep->rms_envelope_db = sample ? std::sqrt(sq / sample) : 0.0;

  // Stream 1: log F0, copied.
  out->streams[1].vector_length = kWindows;
  out->streams[1].msd = true;
  copy_stream(lf0->tree, lf0->pdf, qlf0, "log F0", &out->streams[1],
              [](const Pdf& p) { return p; });

  if (bap) {
    // Stream 2: the source's own aperiodicity, mapped onto the engine's bands.
    AperiodicityMap bands;
    std::string error;
    if (!AperiodicityMap::for_bands(bap->vector_length, &bands, &error)) fail(error);
    std::vector<const Pdf*> statics;
    for (const auto& t : bap->pdf.pdfs)
      for (const Pdf& p : t) statics.push_back(&p);
    const int voiced = bands.calibrate(statics, kVoicedProfileDb);
    std::string gains, means;
    for (int k = 0; k < kBands; ++k) {
      gains += fmt(" %.2f", bands.gain(k));
      means += fmt(" %.1f", bands.voiced_mean_db(k));
    }
    rep->notes.push_back(fmt("aperiodicity: %d source bands onto 5; %d voiced pdfs average%s dB; "
                             "band gains%s; top band held at or above %.0f dB",
                             bap->vector_length, voiced, means.c_str(), gains.c_str(),
                             kTopBandFloorDb));
    out->streams[2].vector_length = kBands * kWindows;
    copy_stream(bap->tree, bap->pdf, qbap, "aperiodicity", &out->streams[2],
                [&](const Pdf& p) { return bands.map_pdf(p, kWindows); });
  } else {
    // Stream 2: band aperiodicity on the log-F0 trees, one pdf per leaf.
    out->streams[2].vector_length = kBands * kWindows;
    copy_stream(lf0->tree, lf0->pdf, qlf0, "aperiodicity", &out->streams[2], [](const Pdf& p) {
      Pdf q;
      q.mean.assign(kBands * kWindows, 0.0f);
      q.vari.resize(kBands * kWindows);
      aperiodicity_from_weight(p.msd, q.mean.data());
      for (int w = 0; w < kWindows; ++w)
        for (int b = 0; b < kBands; ++b) q.vari[w * kBands + b] = kAperiodicityVariance[w];
      return q;
    });
  }

  // Global variance: the source's GV pdfs pooled into one per stream.
  if (spectral->use_gv) {
    std::vector<float> m, v;
    pool_gv(spectral->gv_pdf.pdfs[0], &m, &v);
    GvStream& g = out->gv[0];
    g.present = true;
    g.mean.resize(vd);
    g.vari.resize(vd);
    // A GV mean is a variance: it maps like one; its variance with A^4.
    map.map_variance(m.data(), g.mean.data());
    map.map_variance_of_variance(v.data(), g.vari.data());
    if (spectral->gv_pdf.pdfs[0].size() > 1)
      rep->notes.push_back(fmt("%zu spectral GV pdfs pooled into one",
                               spectral->gv_pdf.pdfs[0].size()));
  }
  if (lf0->use_gv) {
    GvStream& g = out->gv[1];
    g.present = true;
    pool_gv(lf0->gv_pdf.pdfs[0], &g.mean, &g.vari);
    if (lf0->gv_pdf.pdfs[0].size() > 1)
      rep->notes.push_back(fmt("%zu log-F0 GV pdfs pooled into one", lf0->gv_pdf.pdfs[0].size()));
  }
  if (bap && bap->use_gv) rep->notes.push_back("aperiodicity GV of the source dropped");
  rep->notes.push_back("aperiodicity stream has no GV");

  static const char* const kNames[3] = {"mel-cepstrum", "log F0", "band aperiodicity"};
  for (int s = 0; s < 3; ++s) rep->shapes_after.push_back(engine_shape(s, kNames[s], out->streams[s], out->gv[s]));
  const Stream* streams[4] = {&out->duration, &out->streams[0], &out->streams[1], &out->streams[2]};
  for (int s = 0; s < 4; ++s) {
    rep->trees[s] = static_cast<int>(streams[s]->trees.size());
    for (const auto& t : streams[s]->pdfs) rep->pdfs[s] += static_cast<int>(t.size());
  }
}

}  // namespace

double warp_frequency(double w, double alpha) {
  return w + 2.0 * std::atan2(alpha * std::sin(w), 1.0 - alpha * std::cos(w));
}

double cepstral_log_envelope(const double* c, int order, double alpha, double rate,
                             double freq_hz) {
  const double wt = warp_frequency(2.0 * kPi * freq_hz / rate, alpha);
  double s = 0.0;
  for (int m = 0; m <= order; ++m) s += c[m] * std::cos(m * wt);
  return s;
}

SpectralMap::SpectralMap(int src_order, double src_alpha, double src_rate, int dst_order,
                         double dst_alpha, double dst_rate, int grid, double frequency_scale)
    : src_order_(src_order),
      dst_order_(dst_order),
      src_alpha_(src_alpha),
      dst_alpha_(dst_alpha),
      src_rate_(src_rate),
      dst_rate_(dst_rate) {
  const int ns = src_order + 1, nd = dst_order + 1;
  const double src_top = src_rate / 2.0, dst_top = dst_rate / 2.0;
  const double neper_per_db = std::log(10.0) / 20.0;
  std::vector<double> bd, bs, tilt;  // grid x nd, grid x ns, grid
  int rows = 0;
  for (int k = 0; k < grid; ++k) {
    const double wt = kPi * (k + 0.5) / grid;           // target warped frequency
    const double w = warp_frequency(wt, -dst_alpha);     // target linear frequency
    const double f = w * dst_rate / (2.0 * kPi);
    if (f >= dst_top) continue;
    for (int m = 0; m < nd; ++m) bd.push_back(std::cos(m * wt));
    const double fs = f / frequency_scale;  // source frequency shown at f
    if (fs < src_top) {
      const double ws = warp_frequency(2.0 * kPi * fs / src_rate, src_alpha);
      for (int j = 0; j < ns; ++j) bs.push_back(std::cos(j * ws));
      tilt.push_back(0.0);
    } else {
      // Above the source's Nyquist frequency: its level there, falling by
      // kExtensionSlopeDb per octave (cos(j * pi) = (-1)^j).
      for (int j = 0; j < ns; ++j) bs.push_back(j % 2 ? -1.0 : 1.0);
      tilt.push_back(-kExtensionSlopeDb * std::log2(fs / src_top) * neper_per_db);
    }
    ++rows;
  }
  std::vector<double> n_mat(nd * nd, 0.0), r(nd * (ns + 1), 0.0);
  for (int k = 0; k < rows; ++k) {
    for (int i = 0; i < nd; ++i) {
      for (int j = 0; j < nd; ++j) n_mat[i * nd + j] += bd[k * nd + i] * bd[k * nd + j];
      for (int j = 0; j < ns; ++j) r[i * (ns + 1) + j] += bd[k * nd + i] * bs[k * ns + j];
      r[i * (ns + 1) + ns] += bd[k * nd + i] * tilt[k];
    }
  }
  try {
    cholesky_solve(n_mat, nd, &r, ns + 1);
  } catch (const Failure&) {
    r.assign(nd * (ns + 1), 0.0);  // a degenerate grid maps everything to silence
  }
  a_.assign(nd * ns, 0.0);
  offset_.assign(nd, 0.0);
  for (int i = 0; i < nd; ++i) {
    for (int j = 0; j < ns; ++j) a_[i * ns + j] = r[i * (ns + 1) + j];
    offset_[i] = r[i * (ns + 1) + ns];
  }
}

void SpectralMap::map_static_mean(const float* in, float* out) const {
  map_mean(in, out);
  for (int i = 0; i <= dst_order_; ++i) out[i] = static_cast<float>(out[i] + offset_[i]);
}

void SpectralMap::map_mean(const float* in, float* out) const {
  for (int i = 0; i <= dst_order_; ++i) {
    double s = 0.0;
    for (int j = 0; j <= src_order_; ++j) s += a(i, j) * in[j];
    out[i] = static_cast<float>(s);
  }
}

void SpectralMap::map_variance(const float* in, float* out) const {
  for (int i = 0; i <= dst_order_; ++i) {
    double s = 0.0;
    for (int j = 0; j <= src_order_; ++j) s += a(i, j) * a(i, j) * in[j];
    out[i] = static_cast<float>(s);
  }
}

void SpectralMap::map_variance_of_variance(const float* in, float* out) const {
  for (int i = 0; i <= dst_order_; ++i) {
    double s = 0.0;
    for (int j = 0; j <= src_order_; ++j) {
      const double a2 = a(i, j) * a(i, j);
      s += a2 * a2 * in[j];
    }
    out[i] = static_cast<float>(s);
  }
}

double SpectralMap::envelope_error_db(const float* src, double max_hz, int points,
                                      double* rms_db) const {
  std::vector<double> cs(src, src + src_order_ + 1), cd(dst_order_ + 1);
  std::vector<float> mapped(dst_order_ + 1);
  map_static_mean(src, mapped.data());
  for (int i = 0; i <= dst_order_; ++i) cd[i] = mapped[i];
  const double to_db = 20.0 / std::log(10.0);
  double worst = 0.0, sq = 0.0;
  for (int k = 0; k < points; ++k) {
    const double f = max_hz * k / points;
    const double e = cepstral_log_envelope(cs.data(), src_order_, src_alpha_, src_rate_, f) -
                     cepstral_log_envelope(cd.data(), dst_order_, dst_alpha_, dst_rate_, f);
    worst = std::max(worst, std::fabs(e) * to_db);
    sq += e * e * to_db * to_db;
  }
  if (rms_db) *rms_db = points > 0 ? std::sqrt(sq / points) : 0.0;
  return worst;
}

double band_voicing_strength(double band_db) {
  auto sigma = [](double x) { return 1.0 / (1.0 + std::exp(-5.0 * (x - 0.25))); };
  const double x = std::pow(10.0, std::min(band_db, 0.0) / 10.0);
  return 1.0 - (sigma(x) - sigma(0.0)) / (sigma(1.0) - sigma(0.0));
}

bool band_is_voiced(int band, double band_db) {
  return band_voicing_strength(band_db) > (band < 2 ? 0.93 : 0.9);
}

// Thresholds in dB: W > 0.93 needs b < -12.47 dB, W > 0.9 needs b < -11.03 dB.
// With b = w * v the bands switch to voiced at w = 12.47/36, 12.47/23,
// 11.03/16, 11.03/13 = 0.35, 0.54, 0.69, 0.85, so the low band carries the
// pulse even in weakly voiced states, the upper bands need confident
// voicing, and the top band (-6 dB, W = 0.63 at w = 1) is always noise.
const float kVoicedProfileDb[kBands] = {-36.0f, -23.0f, -16.0f, -13.0f, -6.0f};

void aperiodicity_from_weight(float voiced_weight, float out_db[kBands]) {
  const float w = std::min(1.0f, std::max(0.0f, voiced_weight));
  for (int k = 0; k < kBands; ++k) out_db[k] = w * kVoicedProfileDb[k] + (1.0f - w) * 0.0f;
}

bool import_htsvoice(const HtsVoice& src, const ImportOptions& options, Voice* out,
                     ImportReport* report, std::string* error) {
  ImportReport local;
  ImportReport* rep = report ? report : &local;
  *rep = ImportReport();
  try {
    run_import(src, options, out, rep);
    return true;
  } catch (const Failure& f) {
    if (error) *error = f.message;
    return false;
  } catch (const std::out_of_range&) {
    if (error) *error = "tree refers to a question outside its block";
    return false;
  }
}

}  // namespace voice
}  // namespace vxn
