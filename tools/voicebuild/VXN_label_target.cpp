// Target label forms of translated voices; see VXN_label_target.h.
#include "tools/voicebuild/VXN_label_target.h"

#include <fnmatch.h>

#include <algorithm>
#include <cstdlib>

namespace vxn {
namespace voice {

namespace {

// The Korean analyzer's labels. Its syllable position in the intonational
// phrase (b8-b9) is what the engine's b6-b7 mean, its syllable vowel (b10)
// the engine's b16, its phone position in the syllable (k1-k2) the engine's
// p6-p7; the coda flags and the position in the accentual phrase have no
// counterpart.
const char kKoreanTemplate[] =
    "{p1}^{p2}-{p3}+{p4}={p5}"
    "/A:{a1}_{acoda}_{a3}"
    "/B:{b1}-{bcoda}-{b3}@{b4}-{b5}&{bap1}-{bap2}#{b6}-{b7}|{b16}"
    "/C:{c1}_{ccoda}_{c3}/D:{d1}_{d2}/E:{e1}+{e2}@{e3}+{e4}&{e5}+{e6}/F:{f1}_{f2}"
    "/G:{g1}_{g2}/H:{h1}={h2}@{h3}={h4}|{h5}/I:{i1}={i2}/J:{j1}+{j2}-{j3}/K:{p6}_{p7}";

// The Chinese analyzer's labels: the same layout, lexical tones where the
// Korean coda flags are and the position in the prosodic word where the
// Korean accentual phrase is.
const char kChineseTemplate[] =
    "{p1}^{p2}-{p3}+{p4}={p5}"
    "/A:{a1}_{atone}_{a3}"
    "/B:{b1}-{btone}-{b3}@{b4}-{b5}&{bpw1}-{bpw2}#{b6}-{b7}|{b16}"
    "/C:{c1}_{ctone}_{c3}/D:{d1}_{d2}/E:{e1}+{e2}@{e3}+{e4}&{e5}+{e6}/F:{f1}_{f2}"
    "/G:{g1}_{g2}/H:{h1}={h2}@{h3}={h4}|{h5}/I:{i1}={i2}/J:{j1}+{j2}-{j3}/K:{p6}_{p7}";

using Values = std::map<std::string, std::vector<std::string>>;

FieldRule listed(const std::string& field, Values values) {
  FieldRule r;
  r.field = field;
  r.listed = true;
  r.values = std::move(values);
  return r;
}

FieldRule shifted(const std::string& field, int shift) {
  FieldRule r;
  r.field = field;
  r.shift = shift;
  return r;
}

// Stress (a1 b1 c1) and pitch accent (a2 b2 c2) of a syllable both ask
// whether it carries a high tone target: stressed or accented ("1") reads as
// the high targets, the rest as the others.
void add_syllable_prominence(std::map<std::string, FieldRule>* rules, const Values& tones) {
  const char* const fields[3][3] = {{"a1", "a2", "a1"}, {"b1", "b2", "b1"}, {"c1", "c2", "c1"}};
  for (const auto& f : fields) {
    (*rules)[f[0]] = listed(f[2], tones);
    (*rules)[f[1]] = listed(f[2], tones);
  }
}

// Word classes: the previous, this and the next word.
void add_word_classes(std::map<std::string, FieldRule>* rules, const Values& classes) {
  for (const char* f : {"d1", "e1", "f1"}) (*rules)[f] = listed(f, classes);
}

// Counts of content words before and after the word (from 0) become the
// position of the accentual phrase or prosodic word from either end (from 1).
void add_phrase_word_positions(std::map<std::string, FieldRule>* rules) {
  (*rules)["e5"] = shifted("e5", 1);
  (*rules)["e6"] = shifted("e6", 1);
}

bool is_number(const std::string& v) {
  if (v.empty() || v.size() > 4) return false;
  for (char c : v)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

bool LabelTarget::by_name(const std::string& name, LabelTarget* out, std::string* error) {
  LabelTarget t;
  if (name == "hts") {
    t.form_ = LabelFormat::engine();
    *out = std::move(t);
    return true;
  }
  const char* text = name == "ko" ? kKoreanTemplate : name == "zh" ? kChineseTemplate : nullptr;
  if (!text) {
    if (error) *error = "unknown target label form '" + name + "' (known: hts, ko, zh)";
    return false;
  }
  if (!LabelFormat::from_template(name, text, &t.form_, error)) return false;
  if (name == "ko") {
    // Tone targets of the accentual phrase: H, L, or 0 for a syllable
    // without a target of its own.
    add_syllable_prominence(&t.rules_, {{"1", {"H"}}, {"0", {"L", "0"}}});
    add_word_classes(&t.rules_, {{"content",
                                  {"num", "top", "nom", "acc", "gen", "loc", "dat", "ins", "com",
                                   "aux", "quo", "v", "n"}}});
    t.rules_["h5"] = listed(
        "h5", {{"L-L%", {"L%"}}, {"H-H%", {"H%"}}, {"L-H%", {"LH%"}}, {"NONE", {"Ha"}}});
  } else {
    // Surface tones: 1 (high level) and 4 (high falling) start high, the
    // way a stressed, accented syllable of the donor does; 2, 3 and the
    // neutral tone 5 start mid or low.
    add_syllable_prominence(&t.rules_, {{"1", {"1", "4"}}, {"0", {"2", "3", "5"}}});
    add_word_classes(&t.rules_, {{"content", {"n", "nr", "ns", "nt", "t", "s", "f", "v", "a", "d",
                                              "m", "q", "e"}},
                                 {"pps", {"r"}},
                                 {"in", {"p"}},
                                 {"cc", {"c"}},
                                 {"aux", {"u", "y", "k"}}});
    t.rules_["h5"] = listed(
        "h5", {{"L-L%", {"L%"}}, {"H-H%", {"H%"}}, {"L-H%", {"M%"}}, {"NONE", {"S%"}}});
  }
  add_phrase_word_positions(&t.rules_);
  *out = std::move(t);
  return true;
}

const LabelTarget& LabelTarget::engine() { return all().front(); }

const std::vector<LabelTarget>& LabelTarget::all() {
  static const std::vector<LabelTarget> forms = [] {
    std::vector<LabelTarget> v;
    for (const char* name : {"hts", "ko", "zh"}) {
      LabelTarget t;
      by_name(name, &t, nullptr);
      v.push_back(std::move(t));
    }
    return v;
  }();
  return forms;
}

const FieldRule* LabelTarget::rule(const std::string& source_field) const {
  auto it = rules_.find(source_field);
  return it == rules_.end() ? nullptr : &it->second;
}

std::vector<std::string> LabelTarget::rewrite(const FieldRule& rule,
                                              const std::string& value) const {
  if (!rule.listed) {
    if (rule.shift != 0 && is_number(value))
      return {std::to_string(std::atoi(value.c_str()) + rule.shift)};
    return {value};
  }
  std::vector<std::string> out;
  if (value.find_first_of("*?[") != std::string::npos) {
    for (const auto& v : rule.values)
      if (fnmatch(value.c_str(), v.first.c_str(), 0) == 0)
        out.insert(out.end(), v.second.begin(), v.second.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
  }
  auto it = rule.values.find(value);
  if (it != rule.values.end()) return it->second;
  if (value == "x" || value == "0") return rule.absent;
  return out;
}

}  // namespace voice
}  // namespace vxn
