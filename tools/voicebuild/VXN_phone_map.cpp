// Phone maps read from Markdown tables; see VXN_phone_map.h.
#include "tools/voicebuild/VXN_phone_map.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>

namespace vxn {
namespace voice {

namespace {

std::string trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = line.find('|') + 1;
  for (;;) {
    const std::size_t bar = line.find('|', start);
    if (bar == std::string::npos) break;
    out.push_back(trim(line.substr(start, bar - start)));
    start = bar + 1;
  }
  return out;
}

std::vector<std::string> words(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

}  // namespace

bool valid_phone_name(const std::string& phone) {
  if (phone.empty() || phone.size() > 7) return false;
  for (unsigned char c : phone)
    if (c <= ' ' || c >= 0x7f || std::strchr("^-+=@_/:|*?,\"{}", c)) return false;
  return true;
}

bool PhoneMap::parse(const std::string& text, const std::string& donor_set,
                     const std::string& what, PhoneMap* out, std::string* error) {
  PhoneMap map;
  map.identity_ = false;
  std::istringstream in(text);
  std::string line;
  int line_no = 0;
  bool in_section = false, found = false, header_seen = false;
  auto fail = [&](const std::string& m) {
    if (error) *error = what + " line " + std::to_string(line_no) + ": " + m;
    return false;
  };
  while (std::getline(in, line)) {
    ++line_no;
    const std::string t = trim(line);
    if (t.compare(0, 3, "## ") == 0) {
      const std::string heading = trim(t.substr(3));
      in_section = heading == "donor: " + donor_set;
      if (in_section) {
        if (found) return fail("a second table for donor " + donor_set);
        found = true;
        header_seen = false;
      }
      continue;
    }
    if (!in_section || t.empty() || t[0] != '|') continue;
    std::vector<std::string> c = cells(t);
    if (c.size() < 2) return fail("a table row needs a target and a donor column");
    if (!header_seen) {  // the column heading
      header_seen = true;
      continue;
    }
    if (c[0].find_first_not_of("-: ") == std::string::npos) continue;  // separator row
    const std::string& target = c[0];
    if (!valid_phone_name(target)) return fail("target phone '" + target + "' is not a phone name");
    std::vector<std::string> donors = words(c[1]);
    if (donors.empty()) return fail("target phone " + target + " has no donor phone");
    std::set<std::string> unique;
    for (const std::string& d : donors) {
      if (!valid_phone_name(d)) return fail("donor phone '" + d + "' is not a phone name");
      if (!unique.insert(d).second) return fail("donor phone " + d + " listed twice for " + target);
    }
    if (!map.entries_.emplace(target, donors).second)
      return fail("target phone " + target + " mapped twice");
    for (const std::string& d : donors) map.by_donor_[d].push_back(target);
  }
  if (!found) {
    if (error) *error = what + ": no table under \"## donor: " + donor_set + "\"";
    return false;
  }
  if (map.entries_.empty()) {
    if (error) *error = what + ": the table for donor " + donor_set + " has no rows";
    return false;
  }
  *out = std::move(map);
  return true;
}

bool PhoneMap::read(const std::string& path, const std::string& donor_set, PhoneMap* out,
                    std::string* error) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) {
    if (error) *error = "cannot open " + path;
    return false;
  }
  std::string text;
  char buf[8192];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) text.append(buf, n);
  std::fclose(fp);
  return parse(text, donor_set, path, out, error);
}

std::vector<std::string> PhoneMap::targets_of(const std::string& donor) const {
  if (identity_) return {donor};
  std::vector<std::string> out;
  auto it = by_donor_.find(donor);
  if (it != by_donor_.end()) out = it->second;
  if (donor == "x") {
    bool has = false;
    for (const std::string& t : out) has = has || t == "x";
    if (!has) out.push_back("x");
  }
  return out;
}

}  // namespace voice
}  // namespace vxn
