#include "tools/voicebuild/train/VXN_context.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "engine/VXN_model.h"

namespace vxn {
namespace train {

const char* const kFieldNames[kFields] = {
    "p1",  "p2",  "p3",  "p4",  "p5",  "p6",  "p7",  "a1",  "a2",  "a3",  "b1",
    "b2",  "b3",  "b4",  "b5",  "b6",  "b7",  "b8",  "b9",  "b10", "b11", "b12",
    "b13", "b14", "b15", "b16", "c1",  "c2",  "c3",  "d1",  "d2",  "e1",  "e2",
    "e3",  "e4",  "e5",  "e6",  "e7",  "e8",  "f1",  "f2",  "g1",  "g2",  "h1",
    "h2",  "h3",  "h4",  "h5",  "i1",  "i2",  "j1",  "j2",  "j3"};

namespace {

// Separators between consecutive fields of the full label form.
const char* const kSeparators[kFields - 1] = {
    "^",   "-", "+", "=", "@",   "_",   "/A:", "_", "_",   "/B:", "-", "-",   "@", "-",
    "&",   "-", "#", "-", "$",   "-",   "!",   "-", ";",   "-",   "|", "/C:", "+", "+",
    "/D:", "_", "/E:", "+", "@", "+",   "&",   "+", "#",   "+",   "/F:", "_", "/G:", "_",
    "/H:", "=", "@", "=", "|",   "/I:", "=",   "/J:", "+", "-"};

// Pattern of each field: the value replaces "%", chosen so that the literal
// text around it occurs at that field only.
const char* const kPatterns[kFields] = {
    "%^*",       "*^%-*",      "*-%+*",   "*+%=*",   "*=%@*/A:*", "*@%_*",   "*_%/A:*",
    "*/A:%_*",   "*/A:*_%_*/B:*", "*_%/B:*", "*/B:%-*", "*-%-*",   "*-%@*",   "*@%-*",
    "*-%&*",     "*&%-*",      "*-%#*",   "*#%-*",   "*-%$*",     "*$%-*",   "*-%!*",
    "*!%-*",     "*-%;*",      "*;%-*",   "*-%|*",   "*|%/C:*",   "*/C:%+*", "*+%+*",
    "*+%/D:*",   "*/D:%_*",    "*_%/E:*", "*/E:%+*", "*+%@*",     "*@%+*",   "*+%&*",
    "*&%+*",     "*+%#*",      "*#%+*",   "*+%/F:*", "*/F:%_*",   "*_%/G:*", "*/G:%_*",
    "*_%/H:*",   "*/H:%=*",    "*/H:*=%@*", "*@%=*", "*=%|*",     "*|%/I:*", "*/I:%=*",
    "*=%/J:*",   "*/J:%+*",    "*+%-*",   "*-%"};

const char* const kPhonePositions[kPhoneFields] = {"LL", "L", "C", "R", "RR"};

bool is_number(const std::string& s) {
  if (s.empty()) return false;
  std::size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

}  // namespace

std::string field_pattern(int field, const std::string& value) {
  std::string p = kPatterns[field];
  return p.replace(p.find('%'), 1, value);
}

bool parse_context(const std::string& label, Context* out, std::string* error) {
  out->label = label;
  out->fields.assign(kFields, std::string());
  std::size_t pos = 0;
  for (int f = 0; f < kFields - 1; ++f) {
    const std::size_t next = label.find(kSeparators[f], pos);
    if (next == std::string::npos) {
      if (error)
        *error = "parse_context: no \"" + std::string(kSeparators[f]) + "\" after field " +
                 kFieldNames[f] + " in \"" + label + "\"";
      return false;
    }
    out->fields[f] = label.substr(pos, next - pos);
    pos = next + std::string(kSeparators[f]).size();
  }
  out->fields[kFields - 1] = label.substr(pos);
  for (int f = 0; f < kFields; ++f) {
    if (out->fields[f].empty()) {
      if (error) *error = std::string("parse_context: empty field ") + kFieldNames[f] + " in \"" + label + "\"";
      return false;
    }
  }
  return true;
}

bool read_phone_classes(const std::string& path, PhoneClasses* out, std::string* error) {
  FILE* fp = std::fopen(path.c_str(), "r");
  if (!fp) {
    if (error) *error = "read_phone_classes: " + path + ": cannot open";
    return false;
  }
  out->classes.clear();
  char buf[4096];
  int line = 0;
  while (std::fgets(buf, sizeof(buf), fp)) {
    ++line;
    std::vector<std::string> words;
    std::string w;
    for (const char* p = buf;; ++p) {
      if (*p == '#' || *p == '\0' || *p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') {
        if (!w.empty()) words.push_back(w);
        w.clear();
        if (*p == '#' || *p == '\0') break;
      } else {
        w += *p;
      }
    }
    if (words.empty()) continue;
    if (words.size() < 2) {
      std::fclose(fp);
      if (error) *error = "read_phone_classes: " + path + ":" + std::to_string(line) + ": class " + words[0] + " has no phones";
      return false;
    }
    out->classes.push_back({words[0], std::set<std::string>(words.begin() + 1, words.end())});
  }
  std::fclose(fp);
  return true;
}

std::vector<Question> make_questions(const std::vector<Context>& contexts,
                                     const PhoneClasses& classes) {
  std::vector<std::set<std::string>> seen(kFields);
  for (const Context& c : contexts)
    for (int f = 0; f < kFields; ++f) seen[f].insert(c.fields[f]);
  std::vector<Question> out;
  auto add = [&](const std::string& name, int field, const std::set<std::string>& values) {
    Question q;
    q.name = name;
    q.field = field;
    q.values = values;
    for (const std::string& v : values) q.patterns.push_back(field_pattern(field, v));
    out.push_back(q);
  };
  for (int f = 0; f < kPhoneFields; ++f) {
    const std::string pos = kPhonePositions[f];
    for (const auto& cls : classes.classes) {
      std::set<std::string> members;
      for (const std::string& p : cls.second)
        if (seen[f].count(p)) members.insert(p);
      if (!members.empty() && members.size() < seen[f].size()) add(pos + "-" + cls.first, f, members);
    }
    for (const std::string& v : seen[f]) add(pos + "-" + v, f, {v});
  }
  for (int f = kPhoneFields; f < kFields; ++f) {
    std::vector<long> numbers;
    for (const std::string& v : seen[f]) {
      if (is_number(v)) numbers.push_back(std::atol(v.c_str()));
    }
    std::sort(numbers.begin(), numbers.end());
    for (const std::string& v : seen[f]) {
      if (seen[f].size() > 1) add(std::string(kFieldNames[f]) + "==" + v, f, {v});
    }
    // "At most" questions over the numbers seen (the largest would hold for
    // every number and is left out).
    std::set<std::string> below;
    for (std::size_t i = 0; i + 1 < numbers.size(); ++i) {
      below.insert(std::to_string(numbers[i]));
      if (i > 0) add(std::string(kFieldNames[f]) + "<=" + std::to_string(numbers[i]), f, below);
    }
  }
  return out;
}

bool check_questions(const std::vector<Question>& questions, const std::vector<Context>& contexts,
                     std::string* error) {
  for (const Context& c : contexts) {
    for (const Question& q : questions) {
      bool matched = false;
      for (const std::string& p : q.patterns)
        if (VXN_pattern_match(c.label.c_str(), p.c_str())) {
          matched = true;
          break;
        }
      const bool holds = q.values.count(c.fields[q.field]) > 0;
      if (matched != holds) {
        if (error)
          *error = "check_questions: question " + q.name + (holds ? " holds for" : " does not hold for") +
                   " \"" + c.label + "\" but its patterns " + (matched ? "match" : "do not match");
        return false;
      }
    }
  }
  return true;
}

}  // namespace train
}  // namespace vxn
