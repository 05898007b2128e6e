// Full-context label templates; see VXN_label_format.h.
#include "tools/voicebuild/VXN_label_format.h"

#include <algorithm>
#include <set>

namespace vxn {
namespace voice {

namespace {

// The engine's label form, field by field.
const char kEngineTemplate[] =
    "{p1}^{p2}-{p3}+{p4}={p5}@{p6}_{p7}"
    "/A:{a1}_{a2}_{a3}"
    "/B:{b1}-{b2}-{b3}@{b4}-{b5}&{b6}-{b7}#{b8}-{b9}${b10}-{b11}!{b12}-{b13};{b14}-{b15}|{b16}"
    "/C:{c1}+{c2}+{c3}/D:{d1}_{d2}/E:{e1}+{e2}@{e3}+{e4}&{e5}+{e6}#{e7}+{e8}/F:{f1}_{f2}"
    "/G:{g1}_{g2}/H:{h1}={h2}@{h3}={h4}|{h5}/I:{i1}={i2}/J:{j1}+{j2}-{j3}";

// English variant: /H: with "^" after the phrase's word count, and the
// phone's position in its word (k1 forward, k2 backward).
const char kRhvEnglishTemplate[] =
    "{p1}^{p2}-{p3}+{p4}={p5}@{p6}_{p7}"
    "/A:{a1}_{a2}_{a3}"
    "/B:{b1}-{b2}-{b3}@{b4}-{b5}&{b6}-{b7}#{b8}-{b9}${b10}-{b11}!{b12}-{b13};{b14}-{b15}|{b16}"
    "/C:{c1}+{c2}+{c3}/D:{d1}_{d2}/E:{e1}+{e2}@{e3}+{e4}&{e5}+{e6}#{e7}+{e8}/F:{f1}_{f2}"
    "/G:{g1}_{g2}/H:{h1}={h2}^{h3}={h4}|{h5}/I:{i1}={i2}/J:{j1}+{j2}-{j3}/K:{k1}_{k2}";

// Polish variant: clitic types where the accents were (a2, c2), the
// distances to the previous and next stressed syllable straight after b9
// (named b12 and b13 as in the engine's form), the syllable vowel after ";",
// and a question flag where the end tone was.
const char kRhvPolishTemplate[] =
    "{p1}^{p2}-{p3}+{p4}={p5}@{p6}_{p7}"
    "/A:{a1}_{aclitic}_{a3}"
    "/B:{b1}-{b2}-{b3}@{b4}-{b5}&{b6}-{b7}#{b8}-{b9}${b12}-{b13};{b16}"
    "/C:{c1}+{cclitic}+{c3}/D:{d1}_{d2}/E:{e1}+{e2}@{e3}+{e4}&{e5}+{e6}#{e7}+{e8}/F:{f1}_{f2}"
    "/G:{g1}_{g2}/H:{h1}={h2}^{h3}={h4}|{hquestion}/I:{i1}={i2}/J:{j1}+{j2}-{j3}";

bool starts_with(const std::string& s, std::size_t at, const std::string& prefix) {
  return s.compare(at, prefix.size(), prefix) == 0;
}

}  // namespace

bool LabelFormat::from_template(const std::string& name, const std::string& text,
                                LabelFormat* out, std::string* error) {
  LabelFormat f;
  f.name_ = name;
  std::string delimiter;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '{') {
      delimiter += text[i++];
      continue;
    }
    const std::size_t close = text.find('}', i);
    if (close == std::string::npos || close == i + 1) {
      if (error) *error = "label template " + name + ": empty or unclosed field at " + std::to_string(i);
      return false;
    }
    const std::string field = text.substr(i + 1, close - i - 1);
    if (!seen.insert(field).second) {
      if (error) *error = "label template " + name + ": field " + field + " appears twice";
      return false;
    }
    if (!f.fields_.empty() && delimiter.empty()) {
      if (error) *error = "label template " + name + ": no delimiter before field " + field;
      return false;
    }
    f.delimiters_.push_back(delimiter);
    f.fields_.push_back(field);
    delimiter.clear();
    i = close + 1;
  }
  if (f.fields_.empty()) {
    if (error) *error = "label template " + name + ": no fields";
    return false;
  }
  f.delimiters_.push_back(delimiter);
  *out = std::move(f);
  return true;
}

bool LabelFormat::by_name(const std::string& name, LabelFormat* out, std::string* error) {
  const char* text = name == "hts"      ? kEngineTemplate
                     : name == "rhv-en" ? kRhvEnglishTemplate
                     : name == "rhv-pl" ? kRhvPolishTemplate
                                        : nullptr;
  if (!text) {
    if (error) *error = "unknown label form '" + name + "' (known: hts, rhv-en, rhv-pl)";
    return false;
  }
  return from_template(name, text, out, error);
}

const LabelFormat& LabelFormat::engine() {
  static const LabelFormat format = [] {
    LabelFormat f;
    from_template("hts", kEngineTemplate, &f, nullptr);
    return f;
  }();
  return format;
}

int LabelFormat::index(const std::string& field) const {
  for (int i = 0; i < size(); ++i)
    if (fields_[i] == field) return i;
  return -1;
}

bool LabelFormat::split(const std::string& label, std::vector<std::string>* values) const {
  values->clear();
  if (!starts_with(label, 0, delimiters_[0])) return false;
  std::size_t pos = delimiters_[0].size();
  for (int i = 0; i < size(); ++i) {
    const std::string& next = delimiters_[i + 1];
    std::size_t end = next.empty() ? label.size() : label.find(next, pos);
    if (end == std::string::npos) return false;
    values->push_back(label.substr(pos, end - pos));
    if (values->back().find('/') != std::string::npos) return false;
    pos = end + next.size();
  }
  return pos == label.size();
}

bool LabelFormat::identify(const std::string& pattern,
                           std::vector<std::pair<int, std::string>>* out,
                           std::string* error) const {
  struct Fit {
    int field;
    std::size_t context;
    std::string value;
  };
  std::vector<Fit> fits;
  const bool left_star = !pattern.empty() && pattern.front() == '*';
  const bool right_star = pattern.size() > 1 && pattern.back() == '*';
  for (int i = 0; i < size(); ++i) {
    const std::string& pre = delimiters_[i];
    const std::string& post = delimiters_[i + 1];
    // Left context lengths that fit: 0 (anchored at the label start) or a
    // suffix of pre after the star.
    std::vector<std::size_t> lefts;
    if (!left_star) {
      if (pre.empty()) lefts.push_back(0);
    } else {
      for (std::size_t l = 1; l <= pre.size(); ++l)
        if (starts_with(pattern, 1, pre.substr(pre.size() - l))) lefts.push_back(l);
    }
    std::vector<std::size_t> rights;
    if (!right_star) {
      if (post.empty()) rights.push_back(0);
    } else {
      for (std::size_t l = 1; l <= post.size(); ++l)
        if (pattern.size() >= l + 1 &&
            pattern.compare(pattern.size() - 1 - l, l, post.substr(0, l)) == 0)
          rights.push_back(l);
    }
    for (std::size_t l : lefts) {
      for (std::size_t r : rights) {
        const std::size_t begin = (left_star ? 1 : 0) + l;
        const std::size_t end_trim = (right_star ? 1 : 0) + r;
        if (begin + end_trim >= pattern.size() + 1) continue;
        if (pattern.size() < begin + end_trim + 1) continue;
        const std::string v = pattern.substr(begin, pattern.size() - begin - end_trim);
        if (v.find('/') != std::string::npos || v.find(':') != std::string::npos) continue;
        if (!pre.empty() && v.find(pre.back()) != std::string::npos &&
            pre.back() != '-' && pre.back() != '#')
          continue;
        if (!post.empty() && v.find(post.front()) != std::string::npos && post.front() != '-' &&
            post.front() != '#')
          continue;
        fits.push_back(Fit{i, l + r, v});
      }
    }
  }
  if (fits.empty()) {
    if (error) *error = "pattern \"" + pattern + "\" tests no single field of the " + name_ + " form";
    return false;
  }
  std::size_t best = 0;
  for (const Fit& f : fits) best = std::max(best, f.context);
  out->clear();
  for (const Fit& f : fits) {
    if (f.context != best) continue;
    bool seen = false;
    for (auto& o : *out)
      if (o.first == f.field) {
        seen = true;
        if (f.value.size() < o.second.size()) o.second = f.value;
      }
    if (!seen) out->push_back({f.field, f.value});
  }
  return true;
}

int LabelFormat::section_marker_before(int field) const {
  for (int k = field; k >= 0; --k)
    if (delimiters_[k].find(':') != std::string::npos) return k;
  return -1;
}

int LabelFormat::section_marker_after(int field) const {
  for (int k = field + 1; k <= size(); ++k)
    if (delimiters_[k].find(':') != std::string::npos) return k;
  return -1;
}

std::string LabelFormat::pattern(int field, const std::string& value) const {
  return pattern({{field, value}});
}

std::string LabelFormat::pattern(std::vector<std::pair<int, std::string>> tests) const {
  std::sort(tests.begin(), tests.end());
  std::string out;
  int written = -1;  // the last delimiter whose text the pattern holds
  for (std::size_t n = 0; n < tests.size(); ++n) {
    const int i = tests[n].first;
    if (written != i) {
      // Open the field's section unless the pattern already reached it.
      const int section = section_marker_before(i);
      if (section > written && section < i) out += "*" + delimiters_[section];
      out += (i == 0 && delimiters_[0].empty() ? "" : "*") + delimiters_[i];
    }
    out += tests[n].second + delimiters_[i + 1];
    written = i + 1;
    // Close the section unless the next test lies in it.
    const int close = section_marker_after(i);
    const bool next_inside = n + 1 < tests.size() && close >= 0 && tests[n + 1].first < close;
    if (!next_inside && close > written) {
      out += "*" + delimiters_[close];
      written = close;
    }
  }
  if (written != size() || !delimiters_[size()].empty()) out += "*";
  return out;
}

}  // namespace voice
}  // namespace vxn
