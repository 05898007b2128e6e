// Post-import passes over a voice; see VXN_voice_enhance.h.
#include "tools/voicebuild/VXN_voice_enhance.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "tools/voicebuild/VXN_voice_import.h"

namespace vxn {
namespace voice {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWindows = 3;
constexpr int kMinNodeId = -15999;

}  // namespace

double envelope_energy(const float* c, int order, double alpha, int grid) {
  double sum = 0.0;
  for (int k = 0; k < grid; ++k) {
    const double wt = warp_frequency(kPi * (k + 0.5) / grid, alpha);
    double s = 0.0;
    for (int m = 0; m <= order; ++m) s += c[m] * std::cos(m * wt);
    sum += std::exp(2.0 * s);
  }
  return sum / grid;
}

double enhance_formants(Voice* voice, const FormantEnhancement& fe) {
  Stream& s = voice->streams[0];
  const int dims = s.vector_length / kWindows;
  const double k = 1.0 + fe.beta;
  double worst = 0.0;
  std::vector<float> flat(dims);
  for (auto& tree_pdfs : s.pdfs) {
    for (Pdf& p : tree_pdfs) {
      std::copy(p.mean.begin(), p.mean.begin() + dims, flat.begin());
      flat[0] = 0.0f;
      const double before = envelope_energy(flat.data(), dims - 1, fe.alpha);
      for (int w = 0; w < kWindows; ++w)
        for (int m = std::max(fe.first, 0); m < dims; ++m)
          p.mean[w * dims + m] = static_cast<float>(p.mean[w * dims + m] * k);
      std::copy(p.mean.begin(), p.mean.begin() + dims, flat.begin());
      flat[0] = 0.0f;
      const double after = envelope_energy(flat.data(), dims - 1, fe.alpha);
      const double delta = 0.5 * std::log(before / after);
      p.mean[0] = static_cast<float>(p.mean[0] + delta);
      worst = std::max(worst, std::fabs(delta));
    }
  }
  return worst;
}

PhoneAperiodicity english_phone_aperiodicity() {
  PhoneAperiodicity pa;
  // Bands: 0-1, 1-2, 2-4, 4-6, 6-12 kHz. The vocoder calls a band voiced
  // below about -12.5 dB (bands 0, 1) or -11 dB (bands 2-4).
  pa.classes = {
      // Voiceless sounds are noise in every band, whatever F0 says at their edges.
      {"C-Unvoiced_Consonant", {0.0f, 0.0f, 0.0f, 0.0f, 0.0f}},
      // Voiced fricatives and affricates: voicing below 1 kHz, frication above.
      {"C-Voiced_Fricative", {-30.0f, -6.0f, -3.0f, -1.0f, 0.0f}},
      // Voiced stops: a voice bar below 1-2 kHz, a noisy release above.
      {"C-Voiced_Stop", {-30.0f, -16.0f, -6.0f, -3.0f, 0.0f}},
      // Nasals and liquids: periodic up to 4 kHz, breathy above.
      {"C-Nasal", {-36.0f, -26.0f, -16.0f, -6.0f, -3.0f}},
      {"C-Liquid", {-36.0f, -26.0f, -16.0f, -6.0f, -3.0f}},
      // Vowels: periodic up to 4 kHz, increasingly noisy above.
      {"C-Vowel", {-36.0f, -28.0f, -18.0f, -9.0f, -3.0f}},
  };
  std::copy(kVoicedProfileDb, kVoicedProfileDb + kBands, pa.default_profile_db);
  return pa;
}

namespace {

// Builds one state's aperiodicity tree; see build_phone_aperiodicity.
class ApTreeBuilder {
 public:
  ApTreeBuilder(const Tree& lf0_tree, const std::vector<Pdf>& lf0_pdfs, int levels)
      : src_(lf0_tree), src_pdfs_(lf0_pdfs), levels_(levels) {
    for (std::size_t i = 0; i < src_.nodes.size(); ++i) by_id_[src_.nodes[i].id] = i;
  }

  // One child of a node: a leaf (1-based pdf number) or a node id.
  struct Child {
    bool leaf;
    int value;
  };

  // profiles: one per class, then the default; chain: question per class.
  bool build(const std::vector<int>& chain, const std::vector<const float*>& profiles, Tree* out,
             std::vector<Pdf>* pdfs, std::string* error) {
    const int classes = static_cast<int>(chain.size());
    // Chain nodes take 0 .. -(classes - 1); without a chain the default
    // subtree's root is renamed 0 at the end.
    next_id_ = -std::max(classes, 1);
    nodes_.assign(classes, Node());
    std::vector<Child> subtree;
    for (int c = 0; c <= classes; ++c) {
      profile_ = profiles[c];
      subtree.push_back(src_.nodes.empty() ? leaf_for(1) : copy(0));
      if (next_id_ < kMinNodeId) {
        *error = "aperiodicity tree has too many nodes for the package";
        return false;
      }
    }
    for (int c = 0; c < classes; ++c) {
      Node& n = nodes_[c];
      n.id = -c;
      n.question = chain[c];
      n.yes = subtree[c].value;
      n.yes_is_leaf = subtree[c].leaf;
      if (c + 1 < classes) {
        n.no = -(c + 1);
        n.no_is_leaf = false;
      } else {
        n.no = subtree[classes].value;
        n.no_is_leaf = subtree[classes].leaf;
      }
    }
    out->nodes = nodes_;
    if (classes == 0) {  // no class: the default subtree is the whole tree
      out->nodes.clear();
      if (!subtree[0].leaf) remap_root(out);
    }
    out->pdf_count = static_cast<int>(pdfs_.size());
    *pdfs = pdfs_;
    return true;
  }

 private:
  // With no class chain the default subtree's root must become node 0.
  void remap_root(Tree* out) {
    const int root = nodes_.back().id;  // created last: post-order
    for (Node& n : nodes_) {
      if (n.id == root) n.id = 0;
      if (!n.no_is_leaf && n.no == root) n.no = 0;
      if (!n.yes_is_leaf && n.yes == root) n.yes = 0;
    }
    // Root first.
    std::stable_partition(nodes_.begin(), nodes_.end(), [](const Node& n) { return n.id == 0; });
    out->nodes = nodes_;
  }

  Child leaf_for(int src_leaf) {
    const float w = std::min(1.0f, std::max(0.0f, src_pdfs_[src_leaf - 1].msd));
    const float wq = static_cast<float>(std::lround(w * levels_)) / levels_;
    std::vector<float> bands(kBands);
    for (int b = 0; b < kBands; ++b) bands[b] = wq * profile_[b] + 0.0f;  // no -0
    auto it = leaves_.find(bands);
    if (it != leaves_.end()) return {true, it->second};
    Pdf p;
    p.mean.assign(kBands * kWindows, 0.0f);
    p.vari.resize(kBands * kWindows);
    std::copy(bands.begin(), bands.end(), p.mean.begin());
    for (int w2 = 0; w2 < kWindows; ++w2)
      for (int b = 0; b < kBands; ++b) p.vari[w2 * kBands + b] = kAperiodicityVariance[w2];
    pdfs_.push_back(std::move(p));
    const int number = static_cast<int>(pdfs_.size());
    leaves_[bands] = number;
    return {true, number};
  }

  Child child(bool is_leaf, int value) { return is_leaf ? leaf_for(value) : copy(value); }

  Child copy(int src_id) {
    const Node& n = src_.nodes.at(by_id_.at(src_id));
    const Child no = child(n.no_is_leaf, n.no);
    const Child yes = child(n.yes_is_leaf, n.yes);
    if (no.leaf && yes.leaf && no.value == yes.value) return no;
    Node out;
    out.id = next_id_--;
    out.question = n.question;
    out.no = no.value;
    out.no_is_leaf = no.leaf;
    out.yes = yes.value;
    out.yes_is_leaf = yes.leaf;
    nodes_.push_back(out);
    return {false, out.id};
  }

  const Tree& src_;
  const std::vector<Pdf>& src_pdfs_;
  const int levels_;
  std::map<int, std::size_t> by_id_;
  std::map<std::vector<float>, int> leaves_;  // band values -> pdf number
  std::vector<Node> nodes_;
  std::vector<Pdf> pdfs_;
  const float* profile_ = nullptr;
  int next_id_ = 0;
};

}  // namespace

bool build_phone_aperiodicity(Voice* voice, const PhoneAperiodicity& pa,
                              AperiodicityReport* report, std::string* error) {
  AperiodicityReport local;
  AperiodicityReport& rep = report ? *report : local;
  rep = AperiodicityReport();
  if (pa.weight_levels < 1) {
    *error = "aperiodicity: weight levels must be at least 1";
    return false;
  }
  const Stream& lf0 = voice->streams[1];
  if (!lf0.msd || lf0.trees.empty() || lf0.trees.size() != lf0.pdfs.size()) {
    *error = "aperiodicity: the voice has no log-F0 trees to build on";
    return false;
  }
  std::vector<int> chain;
  std::vector<const float*> profiles;
  for (const AperiodicityClass& c : pa.classes) {
    int found = -1;
    for (std::size_t q = 0; q < voice->questions.size(); ++q)
      if (voice->questions[q].name == c.question) found = static_cast<int>(q);
    if (found < 0) {
      rep.missing_questions.push_back(c.question);
      continue;
    }
    chain.push_back(found);
    profiles.push_back(c.profile_db);
  }
  profiles.push_back(pa.default_profile_db);

  Stream out;
  out.vector_length = kBands * kWindows;
  for (std::size_t t = 0; t < lf0.trees.size(); ++t) {
    ApTreeBuilder builder(lf0.trees[t], lf0.pdfs[t], pa.weight_levels);
    Tree tree;
    tree.state = lf0.trees[t].state;
    std::vector<Pdf> pdfs;
    if (!builder.build(chain, profiles, &tree, &pdfs, error)) return false;
    rep.pdfs += static_cast<int>(pdfs.size());
    rep.nodes += static_cast<int>(tree.nodes.size());
    out.trees.push_back(std::move(tree));
    out.pdfs.push_back(std::move(pdfs));
  }
  voice->streams[2] = std::move(out);
  return true;
}

void scale_durations(Voice* voice, double scale) {
  for (auto& tree_pdfs : voice->duration.pdfs)
    for (Pdf& p : tree_pdfs) {
      for (float& m : p.mean) m = static_cast<float>(m * scale);
      for (float& v : p.vari) v = static_cast<float>(v * scale * scale);
    }
}

}  // namespace voice
}  // namespace vxn
