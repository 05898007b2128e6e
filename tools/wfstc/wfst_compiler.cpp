#include "tools/wfstc/wfst_compiler.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <bitset>
#include <map>
#include <memory>

namespace {

const size_t kMaxRecords = (size_t)1 << 22;
const int kOpen = 0x01, kClose = 0x02, kDot = 0x14;

struct CompileError {
  std::string message;
};

[[noreturn]] void fail(int line, const std::string& message) {
  throw CompileError{line > 0 ? "line " + std::to_string(line) + ": " + message : message};
}

// One field of a line: a bare word or a quoted string (escapes resolved).
struct Field {
  std::string text;
  bool quoted = false;
};

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads an escape after the backslash at s[*i]; advances *i past it.
char read_escape(const std::string& s, size_t* i, int line) {
  size_t k = *i + 1;
  if (k >= s.size()) fail(line, "a backslash ends the line");
  char c = s[k];
  *i = k + 1;
  switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case 's': return ' ';
    case '\\': return '\\';
    case '"': return '"';
    case '#': return '#';
    case 'x': {
      int h = k + 1 < s.size() ? hex_value(s[k + 1]) : -1;
      int l = k + 2 < s.size() ? hex_value(s[k + 2]) : -1;
      if (h < 0 || l < 0) fail(line, "\\x needs two hexadecimal digits");
      *i = k + 3;
      int v = h * 16 + l;
      if (v == 0) fail(line, "byte 0 is the empty symbol and cannot be written (use -)");
      return (char)v;
    }
    default:
      fail(line, std::string("unknown escape \\") + c);
  }
}

std::vector<Field> split_fields(const std::string& s, int line) {
  std::vector<Field> fields;
  size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    Field f;
    if (c == '"') {
      f.quoted = true;
      ++i;
      bool closed = false;
      while (i < s.size()) {
        if (s[i] == '"') {
          closed = true;
          ++i;
          break;
        }
        if (s[i] == '\\')
          f.text += read_escape(s, &i, line);
        else
          f.text += s[i++];
      }
      if (!closed) fail(line, "unterminated string");
      if (i < s.size() && s[i] != ' ' && s[i] != '\t' && s[i] != '\r' && s[i] != '#')
        fail(line, "a string must be followed by a space");
    } else {
      while (i < s.size() && s[i] != ' ' && s[i] != '\t' && s[i] != '\r') {
        if (s[i] == '\\')
          f.text += read_escape(s, &i, line);
        else
          f.text += s[i++];
      }
    }
    fields.push_back(f);
  }
  return fields;
}

bool valid_name(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!(isalnum((unsigned char)c) || c == '_' || c == '.')) return false;
  return true;
}

typedef std::bitset<256> ByteSet;

struct Line {
  int number;
  std::vector<Field> fields;
};

struct Fragment {
  std::vector<Line> lines;
  size_t size = 0;  // at most this many transitions per copy (saturates above the limit)
};

// Upper bound of the transitions one line makes (a class counts 255 members).
size_t line_size(const Line& l, const std::map<std::string, std::shared_ptr<Fragment>>& fragments) {
  const std::vector<Field>& f = l.fields;
  if (f.size() == 3 && !f[1].quoted && f[1].text[0] == '@') {
    auto it = fragments.find(f[1].text.substr(1));
    return it == fragments.end() ? 0 : it->second->size;
  }
  if (f.size() < 4 || (!f[0].quoted && f[0].text == "final")) return 0;
  size_t in = f[1].quoted ? f[1].text.size() : (f[1].text == "-" ? 0 : 255);
  size_t out = f[2].quoted ? f[2].text.size() : 1;
  return in + out + 1;
}

struct Arc {
  int in, out;
  int to;
  float weight;
};

struct State {
  std::string name;
  int firstLine = 0;  // where the state was first named
  bool final = false;
  std::vector<Arc> arcs;
};

class Compiler {
 public:
  void run(const std::string& source, WfstcOutput* out);

 private:
  std::map<std::string, ByteSet> classes_;
  std::map<std::string, std::shared_ptr<Fragment>> fragments_;
  std::vector<State> states_;
  std::map<std::string, int> ids_;
  std::string start_;
  int startLine_ = 0;
  bool explicitStart_ = false;
  int instances_ = 0;

  int state(const std::string& name, int line) {
    auto it = ids_.find(name);
    if (it != ids_.end()) return it->second;
    State s;
    s.name = name;
    s.firstLine = line;
    states_.push_back(s);
    ids_[name] = (int)states_.size() - 1;
    return (int)states_.size() - 1;
  }
  int anonymous(int line) { return state("~" + std::to_string(states_.size()), line); }
  // Fragments used inside fragments multiply: the count is checked as arcs are made.
  void push_arc(int from, const Arc& arc, int line) {
    if (++arcs_ > kMaxRecords) fail(line, "too many transitions (at most 4194304)");
    states_[from].arcs.push_back(arc);
  }
  size_t arcs_ = 0;

  void class_line(const Line& l);
  ByteSet class_items(const Line& l, size_t from);
  void transition_line(const Line& l, const std::map<std::string, std::string>* scope, const std::string& prefix);
  void use_fragment(const Line& l, const std::string& name, const std::string& from, const std::string& to);
  std::string scoped(const std::string& name, const std::map<std::string, std::string>* scope,
                     const std::string& prefix) const {
    if (!scope) return name;
    auto it = scope->find(name);
    return it != scope->end() ? it->second : prefix + name;
  }
  void add_chain(int from, const std::string& in, const std::string& out, int to, float weight, int line);
  void final_line(const Line& l, const std::map<std::string, std::string>* scope, const std::string& prefix);
  void layout(WfstcOutput* out);
};

ByteSet Compiler::class_items(const Line& l, size_t from) {
  ByteSet set;
  for (size_t i = from; i < l.fields.size(); ++i) {
    std::string item = l.fields[i].text;
    bool quoted = l.fields[i].quoted;
    bool remove = false;
    if (!quoted && item.size() > 1 && item[0] == '!') {
      remove = true;
      item = item.substr(1);
    }
    ByteSet add;
    if (quoted) {
      if (item.empty()) fail(l.number, "empty string in a class");
      for (unsigned char c : item) add.set(c);
    } else if (item == "any") {
      add.set();
      add.reset(0);
    } else if (item[0] == '@') {
      auto it = classes_.find(item.substr(1));
      if (it == classes_.end()) fail(l.number, "unknown class " + item.substr(1));
      add = it->second;
    } else if (item.size() == 3 && item[1] == '-') {
      unsigned char a = (unsigned char)item[0], b = (unsigned char)item[2];
      if (a > b) fail(l.number, "range " + item + " runs backwards");
      for (int c = a; c <= b; ++c) add.set(c);
    } else if (item.size() == 1) {
      add.set((unsigned char)item[0]);
    } else {
      fail(l.number, "class item '" + item + "' is not a byte, a range a-b, a string, @class or any");
    }
    if (remove)
      set &= ~add;
    else
      set |= add;
  }
  return set;
}

void Compiler::class_line(const Line& l) {
  if (l.fields.size() < 3) fail(l.number, "class needs a name and at least one item");
  const std::string& name = l.fields[1].text;
  if (!valid_name(name) || l.fields[1].quoted) fail(l.number, "bad class name '" + name + "'");
  if (classes_.count(name)) fail(l.number, "class " + name + " is defined twice");
  ByteSet set = class_items(l, 2);
  if (set.none()) fail(l.number, "class " + name + " is empty");
  classes_[name] = set;
}

void Compiler::add_chain(int from, const std::string& in, const std::string& out, int to, float weight,
                         int line) {
  size_t n = in.size() > out.size() ? in.size() : out.size();
  if (n == 0) {
    push_arc(from, {0, 0, to, weight}, line);
    return;
  }
  int at = from;
  for (size_t k = 0; k < n; ++k) {
    int next = k + 1 == n ? to : anonymous(line);
    int i = k < in.size() ? (unsigned char)in[k] : 0;
    int o = k < out.size() ? (unsigned char)out[k] : 0;
    push_arc(at, {i, o, next, k == 0 ? weight : 0.0f}, line);
    at = next;
  }
}

void Compiler::use_fragment(const Line& l, const std::string& name, const std::string& from, const std::string& to) {
  auto it = fragments_.find(name);
  if (it == fragments_.end()) fail(l.number, "unknown fragment " + name + " (fragments are defined before use)");
  if (arcs_ + it->second->size > kMaxRecords) fail(l.number, "too many transitions (at most 4194304)");
  std::map<std::string, std::string> scope{{"in", from}, {"out", to}};
  std::string prefix = "@" + name + "#" + std::to_string(++instances_) + ".";
  for (const Line& inner : it->second->lines) {
    if (inner.fields[0].text == "final" && !inner.fields[0].quoted)
      final_line(inner, &scope, prefix);
    else
      transition_line(inner, &scope, prefix);
  }
}

void Compiler::final_line(const Line& l, const std::map<std::string, std::string>* scope, const std::string& prefix) {
  if (l.fields.size() < 2) fail(l.number, "final needs at least one state");
  for (size_t i = 1; i < l.fields.size(); ++i) {
    if (!valid_name(l.fields[i].text) || l.fields[i].quoted) fail(l.number, "bad state name '" + l.fields[i].text + "'");
    states_[state(scoped(l.fields[i].text, scope, prefix), l.number)].final = true;
  }
}

void Compiler::transition_line(const Line& l, const std::map<std::string, std::string>* scope,
                               const std::string& prefix) {
  const std::vector<Field>& f = l.fields;
  if (f[0].quoted || !valid_name(f[0].text)) fail(l.number, "bad state name '" + f[0].text + "'");
  if (f.size() == 3 && !f[1].quoted && f[1].text.size() > 1 && f[1].text[0] == '@') {
    if (!valid_name(f[2].text) || f[2].quoted) fail(l.number, "bad state name '" + f[2].text + "'");
    std::string from = scoped(f[0].text, scope, prefix), to = scoped(f[2].text, scope, prefix);
    state(from, l.number);
    state(to, l.number);
    use_fragment(l, f[1].text.substr(1), from, to);
    return;
  }
  if (f.size() != 4 && f.size() != 5)
    fail(l.number, "a transition is FROM INPUT OUTPUT TO [WEIGHT] or FROM @FRAGMENT TO");
  if (f[3].quoted || !valid_name(f[3].text)) fail(l.number, "bad state name '" + f[3].text + "'");
  float weight = 0;
  if (f.size() == 5) {
    char* end = nullptr;
    double w = strtod(f[4].text.c_str(), &end);
    if (f[4].quoted || f[4].text.empty() || *end || !isfinite(w) || !isfinite((float)w))
      fail(l.number, "weight '" + f[4].text + "' is not a finite number");
    weight = (float)w;
  }
  int from = state(scoped(f[0].text, scope, prefix), l.number);
  int to = state(scoped(f[3].text, scope, prefix), l.number);

  // Input: -, "string" or [class].
  const Field& in = f[1];
  const Field& out = f[2];
  bool classInput = false;
  ByteSet members;
  std::string input;
  if (in.quoted) {
    if (in.text.empty()) fail(l.number, "empty input string (write - for no input)");
    input = in.text;
  } else if (in.text == "-") {
  } else if (in.text.size() > 2 && in.text.front() == '[' && in.text.back() == ']') {
    std::string name = in.text.substr(1, in.text.size() - 2);
    auto it = classes_.find(name);
    if (it == classes_.end()) fail(l.number, "unknown class " + name);
    classInput = true;
    members = it->second;
  } else {
    fail(l.number, "input '" + in.text + "' is not -, a quoted string or [class]");
  }
  // Output: -, =, "string", <open>, <close> or <dot>.
  bool copy = false;
  std::string output;
  if (out.quoted) {
    output = out.text;
  } else if (out.text == "-") {
  } else if (out.text == "=") {
    if (!classInput && input.empty()) fail(l.number, "= copies the input, but there is none");
    copy = true;
  } else if (out.text == "<open>") {
    output = std::string(1, (char)kOpen);
  } else if (out.text == "<close>") {
    output = std::string(1, (char)kClose);
  } else if (out.text == "<dot>") {
    output = std::string(1, (char)kDot);
  } else {
    fail(l.number, "output '" + out.text + "' is not -, =, a quoted string, <open>, <close> or <dot>");
  }

  if (copy) {
    for (int marker : {kOpen, kClose})
      if ((classInput && members.test(marker)) || input.find((char)marker) != std::string::npos)
        fail(l.number, std::string("= would write byte 0x0") + (char)('0' + marker) + ", the span " +
                           (marker == kOpen ? "open" : "close") + " marker");
  }
  if (!classInput) {
    add_chain(from, input, copy ? input : output, to, weight, l.number);
    return;
  }
  // A class: one transition per member; a longer output continues through
  // states shared by all members.
  int rest = to;
  if (!copy && output.size() > 1) {
    rest = anonymous(l.number);
    add_chain(rest, "", output.substr(1), to, 0, l.number);
  }
  for (int c = 1; c < 256; ++c) {
    if (!members.test(c)) continue;
    int o = copy ? c : (output.empty() ? 0 : (unsigned char)output[0]);
    push_arc(from, {c, o, rest, weight}, l.number);
  }
}

void Compiler::layout(WfstcOutput* out) {
  if (start_.empty()) fail(0, "no transitions");
  int start = ids_.at(start_);
  for (const State& s : states_) {
    if (s.final && !s.arcs.empty())
      fail(s.firstLine, "state " + s.name + " is final: its transitions would never be taken");
    if (!s.final && s.arcs.empty())
      fail(s.firstLine, "state " + s.name + " has no transitions and is not final");
  }
  if (states_[start].final) fail(startLine_, "the start state " + start_ + " cannot be final");
  // Layout order: the start state first, then the others as named.
  std::vector<int> order{start};
  for (int i = 0; i < (int)states_.size(); ++i)
    if (i != start && !states_[i].final) order.push_back(i);
  // Bit 6 of record 0 tells whether the start state is final, so record 0 may
  // not lead to a final state: a leading epsilon state keeps it clear.
  const Arc& first = states_[start].arcs[0];
  bool wrap = states_[first.to].final;
  std::vector<size_t> offset(states_.size(), 0);
  size_t n = wrap ? 1 : 0;
  for (int id : order) {
    offset[id] = n;
    n += states_[id].arcs.size();
  }
  if (n > kMaxRecords) fail(0, "too many transitions: " + std::to_string(n) + " (at most 4194304)");
  std::vector<unsigned char>& r = out->records;
  r.clear();
  r.reserve(n * 9);
  auto emit = [&](int in, int o, size_t target, bool final, bool last, float w) {
    unsigned char rec[9] = {(unsigned char)in, (unsigned char)o, (unsigned char)(target & 0xff),
                            (unsigned char)((target >> 8) & 0xff), (unsigned char)((target >> 16) & 0x3f)};
    if (final) rec[4] |= 0x40;
    if (last) rec[4] |= 0x80;
    memcpy(rec + 5, &w, 4);  // the build and target hosts are little-endian
    r.insert(r.end(), rec, rec + 9);
  };
  if (wrap) emit(0, 0, offset[start], false, true, 0.0f);
  for (int id : order) {
    const std::vector<Arc>& arcs = states_[id].arcs;
    for (size_t k = 0; k < arcs.size(); ++k) {
      const State& t = states_[arcs[k].to];
      emit(arcs[k].in, arcs[k].out, t.final ? 0 : offset[arcs[k].to], t.final, k + 1 == arcs.size(),
           arcs[k].weight);
    }
  }
  out->states = (int)order.size() + (wrap ? 1 : 0);
  out->finals = 0;
  for (const State& s : states_) out->finals += s.final;
}

void Compiler::run(const std::string& source, WfstcOutput* out) {
  std::string fragmentName;
  std::shared_ptr<Fragment> fragment;
  int fragmentLine = 0;
  size_t pos = 0;
  int number = 0;
  while (pos <= source.size()) {
    size_t eol = source.find('\n', pos);
    if (eol == std::string::npos) eol = source.size();
    std::string text = source.substr(pos, eol - pos);
    pos = eol + 1;
    ++number;
    if (text.find('\0') != std::string::npos) fail(number, "a NUL byte in the source");
    Line l{number, split_fields(text, number)};
    if (l.fields.empty()) continue;
    const Field& head = l.fields[0];
    bool keyword = !head.quoted;
    if (keyword && head.text == "fragment") {
      if (l.fields.size() != 2 || !valid_name(l.fields[1].text) || l.fields[1].quoted)
        fail(number, "fragment needs one name");
      if (fragment) fail(number, "fragment " + l.fields[1].text + " inside fragment " + fragmentName);
      fragmentName = l.fields[1].text;
      if (fragments_.count(fragmentName)) fail(number, "fragment " + fragmentName + " is defined twice");
      fragment = std::make_shared<Fragment>();
      fragmentLine = number;
      continue;
    }
    if (keyword && head.text == "end") {
      if (!fragment) fail(number, "end without fragment");
      if (l.fields.size() != 1) fail(number, "end takes nothing");
      if (fragment->lines.empty()) fail(number, "fragment " + fragmentName + " is empty");
      fragments_[fragmentName] = fragment;
      fragment.reset();
      continue;
    }
    if (keyword && head.text == "class") {
      if (fragment) fail(number, "classes are defined outside fragments");
      class_line(l);
      continue;
    }
    if (keyword && head.text == "start") {
      if (fragment) fail(number, "start inside a fragment (its ends are in and out)");
      if (l.fields.size() != 2 || !valid_name(l.fields[1].text)) fail(number, "start needs one state name");
      if (explicitStart_) fail(number, "start is given twice");
      explicitStart_ = true;
      start_ = l.fields[1].text;
      startLine_ = number;
      state(start_, number);
      continue;
    }
    if (fragment) {
      // Checked now so that errors point at the definition; expanded at each use.
      if (keyword && head.text == "final") {
        if (l.fields.size() < 2) fail(number, "final needs at least one state");
      } else if (l.fields.size() < 3 || l.fields.size() > 5) {
        fail(number, "a transition is FROM INPUT OUTPUT TO [WEIGHT] or FROM @FRAGMENT TO");
      } else if (l.fields.size() == 3 && !l.fields[1].quoted && l.fields[1].text[0] == '@' &&
                 !fragments_.count(l.fields[1].text.substr(1))) {
        fail(number, "unknown fragment " + l.fields[1].text.substr(1) + " (fragments are defined before use)");
      }
      fragment->lines.push_back(l);
      fragment->size += line_size(l, fragments_);
      if (fragment->size > kMaxRecords) fragment->size = kMaxRecords + 1;
      continue;
    }
    if (keyword && head.text == "final") {
      final_line(l, nullptr, "");
      continue;
    }
    if (start_.empty()) {
      start_ = head.text;
      startLine_ = number;  // the first transition names the start unless start says otherwise
    }
    transition_line(l, nullptr, "");
  }
  if (fragment) fail(fragmentLine, "fragment " + fragmentName + " has no end");
  layout(out);
}

}  // namespace

bool wfstc_compile(const std::string& source, WfstcOutput* out, std::string* error) {
  try {
    Compiler c;
    c.run(source, out);
    return true;
  } catch (const CompileError& e) {
    if (error) *error = e.message;
    out->records.clear();
    return false;
  }
}

std::string wfstc_c_array(const std::vector<unsigned char>& records, const std::string& name,
                          const std::string& origin) {
  std::string s = "/* Transducer compiled by vxn-wfstc from " + origin + ": " + std::to_string(records.size() / 9) +
                  " transitions of 9 bytes. Generated; edit the source instead. */\n"
                  "#include <stddef.h>\n\n"
                  "const unsigned char " + name + "[] = {\n";
  char buf[8];
  for (size_t i = 0; i < records.size(); ++i) {
    if (i % 9 == 0) s += "  ";
    snprintf(buf, sizeof buf, "0x%02x,", records[i]);
    s += buf;
    s += (i % 9 == 8) ? "\n" : " ";
  }
  if (records.empty()) s += "  0\n";
  s += "};\nconst size_t " + name + "_size = " + std::to_string(records.size()) + ";\n";
  return s;
}
