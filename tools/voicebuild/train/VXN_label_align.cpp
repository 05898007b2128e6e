#include "tools/voicebuild/train/VXN_label_align.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <sstream>

namespace vxn {
namespace train {

namespace {

bool parse_kind(const std::string& s, PhoneKind* out) {
  if (s == "pause") *out = PhoneKind::kPause;
  else if (s == "vowel") *out = PhoneKind::kVowel;
  else if (s == "consonant") *out = PhoneKind::kConsonant;
  else return false;
  return true;
}

// Alignment costs. A substitution across vowel and consonant, or between a
// pause and anything else, is not allowed.
constexpr double kSame = 0.0;
constexpr double kSubstitute = 1.0;
constexpr double kInsertSpeech = 1.5;  // a label or a corpus phone left unpaired
constexpr double kInsertPause = 0.4;
constexpr double kNever = std::numeric_limits<double>::infinity();

enum Op : unsigned char { kPair, kOurs, kCorpus };  // pair, label alone, corpus phone alone

}  // namespace

double LabelAlignment::share() const {
  const int n = std::max(our_phones, corpus_phones);
  return n > 0 ? (double)matched / n : 0.0;
}

bool parse_corpus_phone_map(const std::string& text, const std::string& name, CorpusPhoneMap* out,
                            std::string* error) {
  out->corpus.clear();
  out->ours.clear();
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& what) {
    if (error) *error = "read_corpus_phone_map: " + name + ":" + std::to_string(number) + ": " + what;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream fields(line);
    std::string kind_name, phone, our;
    if (!(fields >> kind_name)) continue;
    PhoneKind kind;
    if (!parse_kind(kind_name, &kind)) return fail("kind is pause, vowel or consonant, got " + kind_name);
    if (!(fields >> phone)) return fail("no corpus phone");
    CorpusPhoneMap::Entry entry;
    entry.kind = kind;
    while (fields >> our) {
      auto it = out->ours.find(our);
      if (it != out->ours.end() && it->second != kind)
        return fail("our phone " + our + " named under two kinds");
      out->ours[our] = kind;
      entry.ours.push_back(our);
    }
    if (entry.ours.empty()) return fail("no phone of ours for " + phone);
    if (phone == "-") continue;  // our phones without a corpus counterpart
    if (out->corpus.count(phone)) return fail("corpus phone " + phone + " named twice");
    out->corpus[phone] = entry;
  }
  if (out->corpus.empty()) {
    if (error) *error = "read_corpus_phone_map: " + name + ": no phones";
    return false;
  }
  return true;
}

bool read_corpus_phone_map(const std::string& path, CorpusPhoneMap* out, std::string* error) {
  std::string text;
  if (!read_text_file(path, &text)) {
    if (error) *error = "read_corpus_phone_map: " + path + ": cannot open";
    return false;
  }
  return parse_corpus_phone_map(text, path, out, error);
}

std::string label_phone(const std::string& label) {
  const std::size_t caret = label.find('^');
  if (caret == std::string::npos) return std::string();
  const std::size_t minus = label.find('-', caret + 1);
  if (minus == std::string::npos) return std::string();
  const std::size_t plus = label.find('+', minus + 1);
  if (plus == std::string::npos) return std::string();
  return label.substr(minus + 1, plus - minus - 1);
}

bool align_labels(const std::vector<TimedPhone>& corpus, const CorpusPhoneMap& map,
                  double min_duration_s, std::vector<TimedLabel>* labels, LabelAlignment* stats,
                  std::string* error) {
  LabelAlignment st;
  const int n = (int)labels->size(), m = (int)corpus.size();
  if (n == 0 || m == 0) {
    if (error) *error = n == 0 ? "align_labels: no labels" : "align_labels: no corpus phones";
    return false;
  }
  // Kinds and names of both sides.
  std::vector<std::string> ours(n);
  std::vector<PhoneKind> our_kind(n), corpus_kind(m);
  std::vector<const CorpusPhoneMap::Entry*> entry(m);
  for (int i = 0; i < n; ++i) {
    ours[i] = label_phone((*labels)[i].label);
    auto it = map.ours.find(ours[i]);
    if (it == map.ours.end()) {
      if (error) *error = "align_labels: label " + std::to_string(i + 1) + ": phone \"" + ours[i] + "\" is not in the phone map";
      return false;
    }
    our_kind[i] = it->second;
    if (our_kind[i] != PhoneKind::kPause) ++st.our_phones;
  }
  for (int j = 0; j < m; ++j) {
    auto it = map.corpus.find(corpus[j].phone);
    if (it == map.corpus.end()) {
      if (error) *error = "align_labels: corpus phone " + std::to_string(j + 1) + " \"" + corpus[j].phone + "\" is not in the phone map";
      return false;
    }
    entry[j] = &it->second;
    corpus_kind[j] = it->second.kind;
    if (corpus_kind[j] != PhoneKind::kPause) ++st.corpus_phones;
  }
  auto same = [&](int i, int j) {
    const std::vector<std::string>& v = entry[j]->ours;
    return std::find(v.begin(), v.end(), ours[i]) != v.end();
  };
  auto pair_cost = [&](int i, int j) {
    if (same(i, j)) return kSame;
    if (our_kind[i] != corpus_kind[j] || our_kind[i] == PhoneKind::kPause) return kNever;
    return kSubstitute;
  };
  auto alone = [](PhoneKind k) { return k == PhoneKind::kPause ? kInsertPause : kInsertSpeech; };

  // Dynamic programming over (labels i, corpus phones j).
  const int W = m + 1;
  std::vector<double> cost((std::size_t)(n + 1) * W, kNever);
  std::vector<unsigned char> back((std::size_t)(n + 1) * W, kPair);
  cost[0] = 0.0;
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= m; ++j) {
      double& c = cost[(std::size_t)i * W + j];
      unsigned char& b = back[(std::size_t)i * W + j];
      if (i > 0 && j > 0) {
        const double v = cost[(std::size_t)(i - 1) * W + j - 1] + pair_cost(i - 1, j - 1);
        if (v < c) c = v, b = kPair;
      }
      if (i > 0) {
        const double v = cost[(std::size_t)(i - 1) * W + j] + alone(our_kind[i - 1]);
        if (v < c) c = v, b = kOurs;
      }
      if (j > 0) {
        const double v = cost[(std::size_t)i * W + j - 1] + alone(corpus_kind[j - 1]);
        if (v < c) c = v, b = kCorpus;
      }
    }
  // Back-trace: the corpus phone paired with every label (-1: none).
  std::vector<int> partner(n, -1);
  for (int i = n, j = m; i > 0 || j > 0;) {
    const unsigned char b = back[(std::size_t)i * W + j];
    if (i > 0 && j > 0 && b == kPair) {
      partner[i - 1] = j - 1;
      const bool pause = our_kind[i - 1] == PhoneKind::kPause;
      if (pause) ++st.pauses_matched;
      else if (same(i - 1, j - 1)) ++st.matched;
      else ++st.substituted;
      --i, --j;
    } else if (i > 0 && (j == 0 || b == kOurs)) {
      if (our_kind[i - 1] == PhoneKind::kPause) ++st.pauses_inserted;
      else ++st.inserted;
      --i;
    } else {
      if (corpus_kind[j - 1] == PhoneKind::kPause) ++st.pauses_deleted;
      else ++st.deleted;
      --j;
    }
  }

  // End times: anchors take their partner's; the labels between two anchors
  // share the corpus time between them evenly; with no label between them,
  // the corpus phones between them are split at their middle.
  const double t0 = corpus.front().start_s, t_end = corpus.back().end_s;
  std::vector<double> end(n, 0.0);
  int prev = -1;             // last anchor label
  double prev_end = t0;      // its corpus end
  for (int i = 0; i <= n; ++i) {
    if (i < n && partner[i] < 0) continue;
    const double next_start = i < n ? corpus[partner[i]].start_s : t_end;
    const int between = i - prev - 1;
    if (between > 0) {
      for (int k = 1; k <= between; ++k)
        end[prev + k] = prev_end + (next_start - prev_end) * k / between;
    } else if (prev >= 0 && next_start > prev_end) {
      end[prev] = 0.5 * (prev_end + next_start);
    }
    if (i < n) {
      end[i] = corpus[partner[i]].end_s;
      prev = i;
      prev_end = end[i];
    }
  }
  end[n - 1] = std::max(end[n - 1], t_end);
  // Minimum durations where the utterance has room: forward, then backward.
  const double total = end[n - 1] - t0;
  const double least = std::min(min_duration_s, total / n);
  for (int i = 0; i < n - 1; ++i) end[i] = std::max(end[i], (i > 0 ? end[i - 1] : t0) + least);
  for (int i = n - 2; i >= 0; --i) end[i] = std::min(end[i], end[i + 1] - least);
  for (int i = 0; i < n; ++i) {
    (*labels)[i].start_s = i > 0 ? end[i - 1] : t0;
    (*labels)[i].end_s = end[i];
  }
  if (stats) *stats = st;
  return true;
}

}  // namespace train
}  // namespace vxn
