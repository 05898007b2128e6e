#include <sstream>

#include "data/lexgen/lexgen.h"

namespace lexgen {

namespace {

std::vector<std::string> split_spaces(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  std::string t;
  while (in >> t) out.push_back(t);
  return out;
}

std::vector<std::string> split_tabs(const std::string& s) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t tab = s.find('\t', start);
    out.push_back(s.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return out;
}

std::string join(const std::vector<std::string>& v, size_t from, size_t n) {
  std::string s;
  for (size_t i = from; i < from + n; ++i) s += (i > from ? " " : "") + v[i];
  return s;
}

// "-" stands for no phones at all.
std::vector<std::string> phone_list(const std::string& s) {
  return s == "-" ? std::vector<std::string>() : split_spaces(s);
}

}  // namespace

std::string base_phone(const std::string& phone) {
  if (phone.size() > 1 && phone.back() >= '0' && phone.back() <= '9') return phone.substr(0, phone.size() - 1);
  return phone;
}

bool PhoneMap::parse(const std::string& text, std::string* error) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    // A comment starts with '#' at the beginning of a line or after a blank;
    // inside a symbol ("a#", "t#": espeak-ng's variants) it is part of the symbol.
    for (size_t hash = line.find('#'); hash != std::string::npos; hash = line.find('#', hash + 1))
      if (hash == 0 || line[hash - 1] == ' ' || line[hash - 1] == '\t') {
        line = line.substr(0, hash);
        break;
      }
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> f = split_tabs(line);
    // A key is one to three symbols, and "$" when it holds only at the end.
    const std::vector<std::string> key = split_spaces(f[0]);
    if (f.size() < 2 || f.size() > 3 || key.empty() || key.size() > (key.back() == "$" ? 4u : 3u) || f[1].empty()) {
      *error = "phone map line " + std::to_string(number) + ": expected KEY<TAB>PHONES[<TAB>CODA]: '" + line + "'";
      return false;
    }
    PhoneMapRow row;
    row.key = key;
    if (row.key[0] == "$") {
      *error = "phone map line " + std::to_string(number) + ": '$' (the end of the word) must follow a symbol: '" +
               line + "'";
      return false;
    }
    row.phones = phone_list(f[1]);
    if (f.size() == 3) row.coda = phone_list(f[2]);
    rows.push_back(row);
  }
  return true;
}

bool PhoneMap::map(const std::string& oracle, std::vector<std::string>* phones, std::string* unknown) const {
  struct Group {
    const PhoneMapRow* row;
    bool stressed;
  };
  std::vector<std::string> tokens;
  std::vector<bool> marks;
  for (std::string t : split_spaces(oracle)) {
    bool primary = false;
    while (!t.empty() && (t[0] == '\'' || t[0] == ',')) {
      primary = primary || t[0] == '\'';
      t.erase(0, 1);
    }
    if (t.empty()) {  // a lone stress mark belongs to the next token
      if (primary) marks.push_back(true), tokens.push_back("");
      continue;
    }
    tokens.push_back(t);
    marks.push_back(primary);
  }
  std::vector<Group> groups;
  bool pending = false;
  for (size_t i = 0; i < tokens.size();) {
    if (tokens[i].empty()) {
      pending = true;
      ++i;
      continue;
    }
    // The longest key that matches; at one length a stressed-only key ("'i ;")
    // before a plain one, and a key that ends in "$" (the end of the word)
    // before one that may stand anywhere.
    const PhoneMapRow* found = nullptr;
    size_t used = 0;
    for (size_t n = 3; n >= 1 && !found; --n) {
      if (i + n > tokens.size()) continue;
      std::string key = join(tokens, i, n);
      for (int stressedKey = marks[i] ? 1 : 0; stressedKey >= 0 && !found; --stressedKey)
        for (int pass = 0; pass < 2 && !found; ++pass)
          for (const PhoneMapRow& r : rows) {
            const bool final = r.key.back() == "$";
            if (final != (pass == 0) || (final && i + n != tokens.size())) continue;
            if ((r.key[0][0] == '\'') != (stressedKey == 1)) continue;
            if (join(r.key, 0, r.key.size() - final) == (stressedKey ? "'" : "") + key) {
              found = &r;
              used = n;
              break;
            }
          }
    }
    if (!found) {
      *unknown = tokens[i];
      return false;
    }
    for (size_t k = i; k < i + used; ++k) pending = pending || marks[k];
    groups.push_back({found, pending});
    // The stress mark moves on to the next group when this one has no vowel.
    bool hasVowel = false;
    for (const std::string& p : found->phones) hasVowel = hasVowel || vowels.count(p);
    if (hasVowel) pending = false;
    i += used;
  }
  // Coda forms: after a vowel, not before one.
  std::vector<std::vector<std::string>> chosen;
  for (const Group& g : groups) chosen.push_back(g.row->phones);
  for (size_t k = 0; k < groups.size(); ++k) {
    if (groups[k].row->coda.empty()) continue;
    bool afterVowel = false, beforeVowel = false;
    for (size_t b = k; b-- > 0;)
      if (!chosen[b].empty()) {
        afterVowel = vowels.count(chosen[b].back()) > 0;
        break;
      }
    for (size_t a = k + 1; a < groups.size(); ++a)
      if (!chosen[a].empty()) {
        beforeVowel = vowels.count(chosen[a].front()) > 0;
        break;
      }
    if (afterVowel && !beforeVowel) chosen[k] = groups[k].row->coda;
  }
  phones->clear();
  for (size_t k = 0; k < groups.size(); ++k) {
    bool stress = groups[k].stressed;
    for (const std::string& p : chosen[k]) {
      if (vowels.count(p)) {
        phones->push_back(p + (stress ? "1" : "0"));
        stress = false;
      } else {
        phones->push_back(p);
      }
    }
  }
  return true;
}

void StressRule::apply(std::vector<std::string>* phones, const std::set<std::string>& vowels) const {
  std::vector<size_t> vowelAt, candidates;
  bool seen = false;
  for (size_t i = 0; i < phones->size(); ++i) {
    std::string& p = (*phones)[i];
    std::string base = base_phone(p);
    if (!vowels.count(base)) continue;
    vowelAt.push_back(i);
    if (p.back() == '1') {
      if (seen) p.back() = '0';
      seen = true;
    }
    if (!unstressable.count(base)) candidates.push_back(i);
  }
  if (seen || vowelAt.empty()) return;
  if (candidates.empty()) candidates = vowelAt;
  size_t pick = candidates.front();
  if (position == kPenultimate && candidates.size() > 1) pick = candidates[candidates.size() - 2];
  if (position == kLast) pick = candidates.back();
  (*phones)[pick].back() = '1';
}

bool StressRule::set_position(const std::string& name) {
  if (name == "first") position = kFirst;
  else if (name == "penultimate") position = kPenultimate;
  else if (name == "last") position = kLast;
  else return false;
  return true;
}

void StressRule::reassign(std::vector<std::string>* phones, const std::set<std::string>& vowels) const {
  for (std::string& p : *phones)
    if (vowels.count(base_phone(p))) p = base_phone(p) + "0";
  apply(phones, vowels);
}

bool PostStressRule::parse(const std::string& pairs, std::string* error) {
  std::istringstream in(pairs);
  std::string pair;
  while (in >> pair) {
    const size_t colon = pair.find(':');
    if (colon == 0 || colon == std::string::npos || colon + 1 == pair.size() ||
        pair.find(':', colon + 1) != std::string::npos) {
      if (error) *error = "after_stress: '" + pair + "' is not a from:to pair";
      return false;
    }
    change[pair.substr(0, colon)] = pair.substr(colon + 1);
  }
  return true;
}

void PostStressRule::apply(std::vector<std::string>* phones, const std::set<std::string>& vowels) const {
  if (change.empty()) return;
  bool after = false;
  for (std::string& p : *phones) {
    const std::string base = base_phone(p);
    if (!vowels.count(base)) continue;
    if (p.back() == '1') {
      after = true;
      continue;
    }
    if (!after) continue;
    auto it = change.find(base);
    if (it != change.end()) p = it->second + p.substr(base.size());
  }
}

}  // namespace lexgen
