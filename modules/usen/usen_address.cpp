#include "modules/usen/usen_address.h"

#include <string.h>

namespace {

using std::string;

bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_alnum(char c) { return is_lower(c) || is_upper(c) || is_digit(c); }

// Last labels of host names that make a dotted word a web address.
const char* const kTopLevel[] = {"com", "org", "net", "gov", "edu", "tv", "uk", "us", "io", "info",
                                 "biz", "fm", "ca", "au", "de", "fr", "ie", "nz", "app", "ly", nullptr};

bool top_level(const string& s) {
  for (int i = 0; kTopLevel[i]; ++i)
    if (s == kTopLevel[i]) return true;
  return false;
}

// The spoken word of a joiner character, or null when c joins nothing.
const char* joiner_word(char c) {
  switch (c) {
    case '.': return "dot";
    case '/': return "slash";
    case '@': return "at";
    case '-': return "dash";
    case '_': return "underscore";
    default: return nullptr;
  }
}

bool starts_with(const string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

// A host name: labels of letters, digits and inner dashes joined by dots,
// at least two labels, the last a known top-level label.
bool host_name(const string& s) {
  size_t dot = s.rfind('.');
  if (dot == string::npos || dot == 0) return false;
  if (!top_level(s.substr(dot + 1))) return false;
  bool letter = false;
  char prev = '.';
  for (char c : s.substr(0, dot)) {
    if ((c == '.' || c == '-') && (prev == '.' || prev == '-')) return false;
    if (!is_alnum(c) && c != '.' && c != '-') return false;
    letter |= is_lower(c) || is_upper(c);
    prev = c;
  }
  return letter && prev != '.' && prev != '-';
}

// Labels and joiners of an address body; characters other than letters,
// digits and joiners (?, =, &, %) make it no address.
bool cut(const string& s, std::vector<UsenAddressPiece>* out) {
  std::vector<UsenAddressPiece> pieces;
  string label;
  for (char c : s) {
    if (is_alnum(c)) {
      label += c;
      continue;
    }
    const char* word = joiner_word(c);
    if (!word) return false;
    if (!label.empty()) pieces.push_back({label, true});
    label.clear();
    pieces.push_back({word, false});
  }
  if (!label.empty()) pieces.push_back({label, true});
  // A closing slash is not said.
  if (!pieces.empty() && !pieces.back().label && pieces.back().text == "slash") pieces.pop_back();
  if (pieces.empty()) return false;
  out->insert(out->end(), pieces.begin(), pieces.end());
  return true;
}

// A hashtag's or handle's words: the name cut at its case changes and
// underscores.
bool name_words(const string& name, std::vector<UsenAddressPiece>* out) {
  if (name.empty() || !(is_lower(name[0]) || is_upper(name[0]))) return false;
  for (char c : name)
    if (!is_alnum(c) && c != '_') return false;
  string run;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && name[i] != '_') {
      run += name[i];
      continue;
    }
    for (const string& w : usen_camel_words(run)) out->push_back({w, true});
    run.clear();
  }
  return true;
}

}  // namespace

std::vector<string> usen_camel_words(const string& s) {
  std::vector<string> out;
  string word;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    bool cutHere = false;
    if (!word.empty()) {
      const char p = word.back();
      const bool nextLower = i + 1 < s.size() && is_lower(s[i + 1]);
      cutHere = (is_upper(c) && is_lower(p)) || (is_upper(c) && is_upper(p) && nextLower) ||
                (is_digit(c) != is_digit(p));
    }
    if (cutHere) {
      out.push_back(word);
      word.clear();
    }
    word += c;
  }
  if (!word.empty()) out.push_back(word);
  return out;
}

bool usen_address_pieces(const string& s, std::vector<UsenAddressPiece>* pieces) {
  if (s.size() < 2) return false;
  std::vector<UsenAddressPiece> out;
  if (s[0] == '#' || s[0] == '@') {
    out.push_back({s[0] == '#' ? "hashtag" : "at", false});
    if (!name_words(s.substr(1), &out)) return false;
    pieces->insert(pieces->end(), out.begin(), out.end());
    return true;
  }
  const size_t at = s.find('@');
  if (at != string::npos) {
    // An e-mail address: a local part, then a host name.
    if (at == 0 || !host_name(s.substr(at + 1)) || s.find('@', at + 1) != string::npos) return false;
    if (!cut(s, &out)) return false;
    pieces->insert(pieces->end(), out.begin(), out.end());
    return true;
  }
  string body = s;
  bool web = false;
  for (const char* scheme : {"https://", "http://"})
    if (starts_with(body, scheme)) {
      body = body.substr(strlen(scheme));
      web = true;
    }
  web |= starts_with(body, "www.");
  const string host = body.substr(0, body.find('/'));
  if (!host_name(host) && !(web && host.find('.') != string::npos)) return false;
  if (!cut(body, &out)) return false;
  pieces->insert(pieces->end(), out.begin(), out.end());
  return true;
}
