// Question translation onto the engine's labels; see VXN_question_translate.h.
#include "tools/voicebuild/VXN_question_translate.h"

#include <algorithm>
#include <set>
#include <utility>

namespace vxn {
namespace voice {

namespace {

const char kDerivedTag[] = "~derived:";
const char kFixedTag[] = "~fixed";

// End tones of a question's last phrase, and the others.
const char* const kQuestionTones[] = {"H-H%", "L-H%"};
const char* const kStatementTones[] = {"NONE", "L-L%", "H-L%"};

bool is_phone_field(const std::string& f) {
  return f == "p1" || f == "p2" || f == "p3" || f == "p4" || f == "p5" || f == "b16";
}

bool is_number(const std::string& v) {
  if (v.empty() || v.size() > 3) return false;
  for (char c : v)
    if (c < '0' || c > '9') return false;
  return true;
}

int engine_field(const char* name) { return LabelFormat::engine().index(name); }

// Patterns for "the phone is at position n of its word", counted from the
// front (k1: position in syllable p6, syllable position b4, previous
// syllable's length a3) or from the back (k2: p7, b5, next syllable's length
// c3). Only the first (last) two syllables of a word can be worked out.
std::vector<std::string> word_position_patterns(bool forward, const std::string& value) {
  const LabelFormat& e = LabelFormat::engine();
  const int in_syl = engine_field(forward ? "p6" : "p7");
  const int syl_in_word = engine_field(forward ? "b4" : "b5");
  const int other_len = engine_field(forward ? "a3" : "c3");
  if (value == "x") return {e.pattern(in_syl, "x")};
  const int n = std::stoi(value);
  std::vector<std::string> out;
  out.push_back(e.pattern({{in_syl, value}, {syl_in_word, "1"}}));
  for (int m = 1; m < n; ++m)
    out.push_back(e.pattern(
        {{in_syl, std::to_string(n - m)}, {syl_in_word, "2"}, {other_len, std::to_string(m)}}));
  return out;
}

struct Translated {
  std::vector<std::string> patterns;
  QuestionKind kind = QuestionKind::kExact;
  std::string rule;
  int largest = 0;  // word-position rules: the largest position asked for
};

bool translate_field(const std::string& name, const std::string& value, const std::string& pattern,
                     const PhoneMap& phones, Translated* out, TranslateReport* report,
                     std::string* error);

// One source pattern on the engine's form.
bool translate_pattern(const std::string& pattern, const LabelFormat& source,
                       const PhoneMap& phones, Translated* out, TranslateReport* report,
                       std::string* error) {
  if (pattern == "*") {
    out->patterns.push_back("*");
    return true;
  }
  std::vector<std::pair<int, std::string>> fits;
  if (!source.identify(pattern, &fits, error)) return false;
  for (const auto& fit : fits)
    if (!translate_field(source.field(fit.first), fit.second, pattern, phones, out, report, error))
      return false;
  return true;
}

// One field test of a source pattern on the engine's form.
bool translate_field(const std::string& name, const std::string& value, const std::string& pattern,
                     const PhoneMap& phones, Translated* out, TranslateReport* report,
                     std::string* error) {
  const LabelFormat& e = LabelFormat::engine();
  if (is_phone_field(name)) {
    if (value.find_first_of("*?") != std::string::npos) {
      if (!phones.is_identity()) {
        if (error) *error = "pattern \"" + pattern + "\" asks for a phone by wildcard";
        return false;
      }
      out->patterns.push_back(e.pattern(e.index(name), value));
      return true;
    }
    // A number is no phone: the pattern also fits a numeric field.
    if (is_number(value) && value != "0") return true;
    // "0" is how some forms write a phone that does not exist.
    const std::vector<std::string> targets =
        value == "0" ? std::vector<std::string>{"x"} : phones.targets_of(value);
    if (targets.empty()) report->unmapped_donor_phones.push_back(value);
    for (const std::string& t : targets) out->patterns.push_back(e.pattern(e.index(name), t));
    return true;
  }
  const int same = e.index(name);
  if (same >= 0) {
    out->patterns.push_back(e.pattern(same, value));
    return true;
  }
  if ((name == "k1" || name == "k2") && (value == "x" || is_number(value))) {
    for (const std::string& p : word_position_patterns(name == "k1", value))
      out->patterns.push_back(p);
    out->kind = QuestionKind::kDerived;
    out->rule = name == "k1" ? "word-position-forward" : "word-position-backward";
    if (value != "x") out->largest = std::stoi(value);
    ++report->derived_fields[name];
    return true;
  }
  if (name == "hquestion" && (value == "0" || value == "1")) {
    const int h5 = e.index("h5");
    if (value == "1")
      for (const char* t : kQuestionTones) out->patterns.push_back(e.pattern(h5, t));
    else
      for (const char* t : kStatementTones) out->patterns.push_back(e.pattern(h5, t));
    out->kind = QuestionKind::kDerived;
    out->rule = "question-tone";
    ++report->derived_fields[name];
    return true;
  }
  out->kind = QuestionKind::kFixed;
  ++report->fixed_fields[name];
  return true;
}

std::string base_name(const std::string& name) {
  const std::size_t tilde = name.find('~');
  return tilde == std::string::npos ? name : name.substr(0, tilde);
}

}  // namespace

bool translate_questions(std::vector<Question>* questions, const LabelFormat& source,
                         const PhoneMap& phones, TranslateReport* report, std::string* error) {
  TranslateReport local;
  TranslateReport* rep = report ? report : &local;
  for (Question& q : *questions) {
    Translated t;
    for (const std::string& p : q.patterns) {
      Translated one;
      std::string why;
      if (!translate_pattern(p, source, phones, &one, rep, &why)) {
        if (error) *error = "question " + q.name + ": " + why;
        return false;
      }
      // A question mixing kinds answers by its weakest pattern.
      if (one.kind == QuestionKind::kFixed) {
        t.kind = QuestionKind::kFixed;
      } else if (one.kind == QuestionKind::kDerived && t.kind == QuestionKind::kExact) {
        t.kind = QuestionKind::kDerived;
        t.rule = one.rule;
      }
      t.largest = std::max(t.largest, one.largest);
      for (std::string& s : one.patterns) t.patterns.push_back(std::move(s));
    }
    std::vector<std::string> unique;
    std::set<std::string> seen;
    for (const std::string& p : t.patterns)
      if (seen.insert(p).second) unique.push_back(p);
    const bool was_empty = q.patterns.empty();
    q.patterns = std::move(unique);
    q.name = base_name(q.name);
    if (t.kind == QuestionKind::kFixed) {
      q.patterns.clear();  // never holds
      q.name += kFixedTag;
      ++rep->fixed;
    } else if (t.kind == QuestionKind::kDerived) {
      q.name += kDerivedTag + t.rule;
      if (t.rule.compare(0, 13, "word-position") == 0) q.name += ":" + std::to_string(t.largest);
      ++rep->derived;
    } else {
      ++rep->exact;
      if (q.patterns.empty() && !was_empty) ++rep->emptied;
    }
    ++rep->questions;
  }
  std::sort(rep->unmapped_donor_phones.begin(), rep->unmapped_donor_phones.end());
  rep->unmapped_donor_phones.erase(
      std::unique(rep->unmapped_donor_phones.begin(), rep->unmapped_donor_phones.end()),
      rep->unmapped_donor_phones.end());
  return true;
}

bool translate_voice_questions(HtsVoice* voice, const LabelFormat& source, const PhoneMap& phones,
                               TranslateReport* report, std::string* error) {
  std::vector<HtsTreeBlock*> blocks = {&voice->duration_tree};
  for (HtsStreamData& s : voice->streams) {
    blocks.push_back(&s.tree);
    if (s.use_gv) blocks.push_back(&s.gv_tree);
  }
  // Count each question name once over all blocks.
  TranslateReport total;
  std::set<std::string> counted;
  for (HtsTreeBlock* b : blocks) {
    TranslateReport part;
    if (!translate_questions(&b->questions, source, phones, &part, error)) return false;
    for (const Question& q : b->questions) {
      if (!counted.insert(q.name).second) continue;
      ++total.questions;
      std::string rule;
      switch (question_kind(q.name, &rule)) {
        case QuestionKind::kExact: ++total.exact; break;
        case QuestionKind::kDerived: ++total.derived; break;
        case QuestionKind::kFixed: ++total.fixed; break;
      }
    }
    total.emptied += part.emptied;
    for (const auto& f : part.fixed_fields) total.fixed_fields[f.first] += f.second;
    for (const auto& f : part.derived_fields) total.derived_fields[f.first] += f.second;
    for (const std::string& p : part.unmapped_donor_phones) total.unmapped_donor_phones.push_back(p);
  }
  std::sort(total.unmapped_donor_phones.begin(), total.unmapped_donor_phones.end());
  total.unmapped_donor_phones.erase(
      std::unique(total.unmapped_donor_phones.begin(), total.unmapped_donor_phones.end()),
      total.unmapped_donor_phones.end());
  if (report) *report = total;
  return true;
}

QuestionKind question_kind(const std::string& name, std::string* rule) {
  const std::size_t d = name.find(kDerivedTag);
  if (d != std::string::npos) {
    if (rule) {
      const std::size_t start = d + sizeof(kDerivedTag) - 1;
      const std::size_t end = name.find('~', start);
      *rule = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    return QuestionKind::kDerived;
  }
  if (name.find(kFixedTag) != std::string::npos) return QuestionKind::kFixed;
  return QuestionKind::kExact;
}

bool derived_rule_exact_for(const std::string& rule, const std::string& label) {
  const LabelFormat& e = LabelFormat::engine();
  std::vector<std::string> v;
  if (!e.split(label, &v)) return false;
  if (rule.compare(0, 13, "word-position") == 0) {
    // The patterns ask for positions 1..largest and work out the first (last)
    // two syllables of a word. Further in, the position is at least the
    // syllables before (after) it plus the position in the syllable, so a
    // question about positions below that bound is answered "no", exactly.
    const bool fw = rule.compare(0, 21, "word-position-forward") == 0;
    const std::size_t colon = rule.find(':');
    const std::string largest = colon == std::string::npos ? "" : rule.substr(colon + 1);
    const std::string& in_syl = v[e.index(fw ? "p6" : "p7")];
    if (in_syl == "x") return true;  // a pause
    const std::string& syl = v[e.index(fw ? "b4" : "b5")];
    if (syl == "1" || syl == "2") return true;
    if (!is_number(syl) || !is_number(in_syl) || !is_number(largest)) return false;
    return std::stoi(syl) - 1 + std::stoi(in_syl) > std::stoi(largest);
  }
  if (rule == "question-tone") return v[e.index("h4")] == "1";
  return false;
}

}  // namespace voice
}  // namespace vxn
