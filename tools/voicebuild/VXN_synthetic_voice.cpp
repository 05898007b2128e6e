#include "tools/voicebuild/VXN_synthetic_voice.h"

#include <cmath>
#include <cstdio>

namespace vxn {
namespace voice {

const std::vector<std::string>& synthetic_phonemes() {
  static const std::vector<std::string> kPhones = {
      "aa", "ae", "ah", "ao", "aw", "ax", "axr", "ay", "b",  "ch", "d",  "dh", "dx", "eh", "el",
      "em", "en", "er", "ey", "f",  "g",  "hh",  "ih", "ix", "iy", "jh", "k",  "l",  "m",  "n",
      "ng", "ow", "oy", "p",  "r",  "s",  "sh",  "t",  "th", "uh", "uw", "v",  "w",  "y",  "z",
      "zh", "pau"};
  return kPhones;
}

namespace {

// Patterns that place a phoneme at one of the five positions of the label.
std::string at_position(int pos, const std::string& p) {
  switch (pos) {
    case 0: return p + "^*";
    case 1: return "*^" + p + "-*";
    case 2: return "*-" + p + "+*";
    case 3: return "*+" + p + "=*";
    default: return "*=" + p + "@*";
  }
}

std::vector<Question> make_questions(bool numeric) {
  static const char* kPos[5] = {"LL", "L", "C", "R", "RR"};
  std::vector<Question> qs;
  const auto& phones = synthetic_phonemes();
  for (int pos = 0; pos < 5; pos++)
    for (const std::string& p : phones) qs.push_back({std::string(kPos[pos]) + "-" + p, {at_position(pos, p)}});
  const struct {
    const char* name;
    std::vector<std::string> members;
  } classes[] = {
      {"Vowel", {"aa", "ae", "ah", "ao", "aw", "ax", "axr", "ay", "eh", "er", "ey", "ih", "ix", "iy", "ow", "oy", "uh", "uw"}},
      {"Nasal", {"m", "n", "ng", "em", "en"}},
      {"Stop", {"b", "d", "g", "p", "t", "k", "dx"}},
      {"Fricative", {"f", "v", "th", "dh", "s", "z", "sh", "zh", "hh"}},
      {"Voiced_Consonant", {"b", "d", "g", "v", "dh", "z", "zh", "jh", "m", "n", "ng", "l", "r", "w", "y"}},
      {"Front_Vowel", {"ae", "eh", "ey", "ih", "iy"}},
  };
  for (int pos = 0; pos < 5; pos++) {
    for (const auto& c : classes) {
      Question q{std::string(kPos[pos]) + "-" + c.name, {}};
      for (const std::string& m : c.members) q.patterns.push_back(at_position(pos, m));
      qs.push_back(q);
    }
  }
  if (numeric) {
    for (int n = 0; n < 10; n++) {
      const std::string v = std::to_string(n);
      qs.push_back({"Pos_C-Syl_in_C-Word(Fw)==" + v, {"*@" + v + "_*"}});
      qs.push_back({"Pos_C-Syl_in_C-Word(Bw)==" + v, {"*_" + v + "/A:*"}});
      qs.push_back({"L-Syl_Stress==" + v, {"*/A:" + v + "_*"}});
      qs.push_back({"C-Syl_Num-Segs==" + v, {"*-" + v + "@*"}});
      qs.push_back({"C-Word_Num-Syls==" + v, {"*/E:*+" + v + "@*"}});
      qs.push_back({"Utt_Num-Phrases==" + v, {"*-" + v}});
      qs.push_back({"C-Syl_Stress_Any" + v, {"*/B:" + v + "-?-*"}});
      qs.push_back({"J-Phrases?" + v, {"*/J:?+" + v + "-*"}});
    }
    qs.push_back({"C-Content_Word", {"*/E:content+*"}});
    qs.push_back({"Any", {"*"}});
  }
  return qs;
}

// A random tree with `leaves` leaves asking random questions.
Tree make_tree(std::mt19937& rng, int nquestions, int leaves, int state) {
  Tree t;
  t.state = state;
  t.pdf_count = leaves;
  if (leaves <= 1) {
    t.pdf_count = 1;
    return t;
  }
  std::uniform_int_distribution<int> qdist(0, nquestions - 1);
  t.nodes.push_back({0, qdist(rng), 1, true, 2, true});
  struct Slot {
    size_t node;
    bool yes;
  };
  std::vector<Slot> slots = {{0, false}, {0, true}};
  int next_leaf = 3, next_id = -1;
  while ((int)slots.size() < leaves) {
    std::uniform_int_distribution<size_t> sdist(0, slots.size() - 1);
    const size_t pick = sdist(rng);
    const Slot s = slots[pick];
    Node& parent = t.nodes[s.node];
    const int reused_leaf = s.yes ? parent.yes : parent.no;
    if (s.yes) {
      parent.yes = next_id;
      parent.yes_is_leaf = false;
    } else {
      parent.no = next_id;
      parent.no_is_leaf = false;
    }
    t.nodes.push_back({next_id, qdist(rng), reused_leaf, true, next_leaf, true});
    next_id--;
    next_leaf++;
    slots[pick] = {t.nodes.size() - 1, false};
    slots.push_back({t.nodes.size() - 1, true});
  }
  return t;
}

Pdf make_pdf(std::mt19937& rng, int v, bool msd, bool duration) {
  std::normal_distribution<float> n01(0.0f, 1.0f);
  std::uniform_real_distribution<float> u(0.0f, 1.0f);
  Pdf p;
  for (int d = 0; d < v; d++) {
    p.mean.push_back(duration ? 1.0f + 9.0f * u(rng) : n01(rng) * (d % 3 == 0 ? 1.0f : 0.1f));
    p.vari.push_back(std::exp(n01(rng) - 2.0f));
  }
  if (msd) p.msd = u(rng);
  return p;
}

}  // namespace

Voice make_synthetic_voice(const SyntheticOptions& o) {
  std::mt19937 rng(o.seed);
  Voice v;
  v.questions = make_questions(o.numeric_questions);
  const int nq = (int)v.questions.size();
  v.duration.vector_length = o.states;
  v.duration.trees.push_back(make_tree(rng, nq, o.duration_leaves, 2));
  v.duration.pdfs.resize(1);
  for (int j = 0; j < v.duration.trees[0].pdf_count; j++)
    v.duration.pdfs[0].push_back(make_pdf(rng, o.states, false, true));
  for (int s = 0; s < 3; s++) {
    Stream& st = v.streams[s];
    st.vector_length = 3 * o.static_length[s];
    st.msd = s == 1;
    for (int state = 2; state < o.states + 2; state++) {
      st.trees.push_back(make_tree(rng, nq, o.leaves, state));
      st.pdfs.emplace_back();
      for (int j = 0; j < st.trees.back().pdf_count; j++)
        st.pdfs.back().push_back(make_pdf(rng, st.vector_length, st.msd, false));
    }
    if (o.gv) {
      std::normal_distribution<float> n01(0.0f, 1.0f);
      v.gv[s].present = true;
      for (int d = 0; d < o.static_length[s]; d++) {
        v.gv[s].mean.push_back(n01(rng));
        v.gv[s].vari.push_back(std::exp(n01(rng)));
      }
    }
  }
  return v;
}

std::string make_synthetic_label(std::mt19937& rng) {
  const auto& phones = synthetic_phonemes();
  std::uniform_int_distribution<size_t> pd(0, phones.size() - 2);  // no "pau"
  std::uniform_int_distribution<int> nd(0, 9);
  auto P = [&]() { return phones[pd(rng)].c_str(); };
  auto N = [&]() { return nd(rng); };
  char buf[1024];
  std::snprintf(buf, sizeof(buf),
                "%s^%s-%s+%s=%s@%d_%d/A:%d_%d_%d/B:%d-%d-%d@%d-%d&%d-%d#%d-%d$%d-%d!%d-%d;%d-%d|%s"
                "/C:%d+%d+%d/D:%s_%d/E:%s+%d@%d+%d&%d+%d#%d+%d/F:%s_%d/G:%d_%d/H:%d=%d@%d=%d|%s"
                "/I:%d=%d/J:%d+%d-%d",
                P(), P(), P(), P(), P(), N(), N(), N(), N(), N(), N(), N(), N(), N(), N(), N(),
                N(), N(), N(), N(), N(), N(), N(), N(), N(), P(), N(), N(), N(), "content", N(),
                "content", N(), N(), N(), N(), N(), N(), N(), "content", N(), N(), N(), N(), N(),
                N(), N(), "L-L%", N(), N(), N(), N(), N());
  return buf;
}

}  // namespace voice
}  // namespace vxn
