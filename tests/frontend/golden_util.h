// Golden case files of the text front end (tests/golden/<lang>/*.tsv) and their
// known_failures.txt: the record format and its parser, shared by the golden
// tests of every language.
#ifndef VXN_TEST_GOLDEN_UTIL_H
#define VXN_TEST_GOLDEN_UTIL_H

#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <istream>
#include <set>
#include <sstream>
#include <map>
#include <string>
#include <vector>

#include "frontend/kvap_g2p.h"

namespace vxn_golden {

struct GoldenCase {
  std::string file;                   // base name, e.g. "prices.tsv"
  int line = 0;                       // 1-based
  std::string input;                  // UTF-8 text as typed
  std::vector<std::string> expected;  // accepted word strings (alternatives)
  std::string phones;                 // optional, "-pb -sm" form
};

inline std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t at = s.find(sep, start);
    parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

// Words: non-empty, single spaces between them, no upper-case ASCII, no tab.
inline bool well_formed_words(const std::string& s, std::string* why) {
  if (s.empty()) return *why = "empty word string", false;
  if (s.front() == ' ' || s.back() == ' ') return *why = "leading or trailing space", false;
  if (s.find("  ") != std::string::npos) return *why = "double space", false;
  for (unsigned char c : s)
    if (c >= 'A' && c <= 'Z') return *why = "upper-case letter", false;
  return true;
}

// Parses one golden file. Blank lines and lines starting with '#' are skipped;
// a record is input TAB words [TAB phones], where words may list accepted
// alternatives separated by " | ". On the first bad line returns false with
// "file:line: reason" in *error.
inline bool parse_golden(const std::string& file, std::istream& in, std::vector<GoldenCase>* cases, std::string* error) {
  std::string text;
  int number = 0;
  auto fail = [&](const std::string& why) {
    *error = file + ":" + std::to_string(number) + ": " + why;
    return false;
  };
  while (std::getline(in, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.empty() || text[0] == '#') continue;
    std::vector<std::string> fields = split(text, '\t');
    if (fields.size() < 2 || fields.size() > 3)
      return fail("expected 2 or 3 tab-separated fields, found " + std::to_string(fields.size()));
    GoldenCase c;
    c.file = file;
    c.line = number;
    c.input = fields[0];
    if (c.input.empty()) return fail("empty input");
    std::string why;
    for (const std::string& alt : split(fields[1], '|')) {
      std::string a = alt;
      if (fields[1].find('|') != std::string::npos) {
        // " | " separates alternatives; trim exactly the one space each side.
        if (!a.empty() && a.front() == ' ') a.erase(0, 1);
        if (!a.empty() && a.back() == ' ') a.pop_back();
      }
      if (!well_formed_words(a, &why)) return fail("expected words: " + why);
      c.expected.push_back(a);
    }
    if (fields.size() == 3) {
      c.phones = fields[2];
      if (!well_formed_words(c.phones, &why)) return fail("phones: " + why);
    }
    for (const GoldenCase& other : *cases)
      if (other.input == c.input)
        return fail("input repeats line " + std::to_string(other.line));
    cases->push_back(c);
  }
  return true;
}

// known_failures.txt: "file:input TAB reason" per line, '#' comments allowed.
inline bool parse_known(const std::string& file, std::istream& in, std::map<std::string, std::string>* known,
                 std::string* error) {
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.empty() || text[0] == '#') continue;
    size_t tab = text.find('\t');
    size_t colon = text.find(':');
    std::string where = file + ":" + std::to_string(number) + ": ";
    if (tab == std::string::npos || colon == std::string::npos || colon > tab || colon == 0 ||
        colon + 1 == tab || tab + 1 == text.size()) {
      *error = where + "expected file:input TAB reason";
      return false;
    }
    std::string key = text.substr(0, tab);
    if (!known->emplace(key, text.substr(tab + 1)).second) {
      *error = where + "repeated entry " + key;
      return false;
    }
  }
  return true;
}

// Runs every *.tsv case of dir through run(text, flags) (G2P_NORM for the
// words, G2P_PHONE_BOUNDARY | G2P_STRESS_MARK for the phones) and checks the
// results against the cases and dir/known_failures.txt.
inline void check_golden_dir(const std::string& kGoldenDir, const std::string& name,
                             const std::function<std::string(const std::string&, unsigned)>& run) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(kGoldenDir))
    if (entry.path().extension() == ".tsv") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty()) << "no golden files in " << kGoldenDir;

  std::vector<GoldenCase> cases;
  for (const std::string& path : files) {
    std::ifstream in(path);
    ASSERT_TRUE(in) << "cannot read " << path;
    std::vector<GoldenCase> fileCases;
    std::string error;
    ASSERT_TRUE(parse_golden(std::filesystem::path(path).filename().string(), in, &fileCases, &error)) << error;
    cases.insert(cases.end(), fileCases.begin(), fileCases.end());
  }
  std::map<std::string, std::string> known;
  {
    std::ifstream in(kGoldenDir + "/known_failures.txt");
    ASSERT_TRUE(in) << "cannot read known_failures.txt";
    std::string error;
    ASSERT_TRUE(parse_known("known_failures.txt", in, &known, &error)) << error;
  }

  int passed = 0;
  std::vector<std::string> unexpected, nowPassing, newLines;
  std::set<std::string> seen;
  for (const GoldenCase& c : cases) {
    std::string key = c.file + ":" + c.input;
    seen.insert(key);
    std::string words = run(c.input, G2P_NORM);
    bool ok = std::find(c.expected.begin(), c.expected.end(), words) != c.expected.end();
    std::string phones;
    if (!c.phones.empty()) {
      phones = run(c.input, G2P_PHONE_BOUNDARY | G2P_STRESS_MARK);
      ok = ok && phones == c.phones;
    }
    bool listed = known.count(key) > 0;
    if (ok) {
      ++passed;
      if (listed) nowPassing.push_back(key);
      continue;
    }
    std::ostringstream report;
    report << c.file << ":" << c.line << ": input [" << c.input << "]\n    expected [" << c.expected[0] << "]";
    for (size_t k = 1; k < c.expected.size(); ++k) report << " or [" << c.expected[k] << "]";
    report << "\n    got      [" << words << "]";
    if (!c.phones.empty()) report << "\n    phones expected [" << c.phones << "]\n    phones got      [" << phones << "]";
    if (listed) report << "\n    known: " << known[key];
    printf("%s\n", report.str().c_str());
    if (!listed) {
      unexpected.push_back(report.str());
      newLines.push_back(key + "\t<reason>");
    }
  }
  std::vector<std::string> stale;
  for (const auto& k : known)
    if (!seen.count(k.first)) stale.push_back(k.first);

  printf("golden %s: %d of %zu cases pass (%.1f%%), %zu known failures listed\n", name.c_str(), passed, cases.size(),
         cases.empty() ? 0.0 : 100.0 * passed / cases.size(), known.size());
  EXPECT_TRUE(unexpected.empty()) << unexpected.size()
                                  << " case(s) fail and are not in known_failures.txt; if the failure is "
                                     "accepted, add:\n"
                                  << [&] {
                                       std::string s;
                                       for (const std::string& l : newLines) s += l + "\n";
                                       return s;
                                     }();
  EXPECT_TRUE(nowPassing.empty()) << "now passing, remove from known_failures.txt:\n" << [&] {
    std::string s;
    for (const std::string& l : nowPassing) s += l + "\n";
    return s;
  }();
  EXPECT_TRUE(stale.empty()) << "known_failures.txt names cases that no golden file has:\n" << [&] {
    std::string s;
    for (const std::string& l : stale) s += l + "\n";
    return s;
  }();
}

}  // namespace vxn_golden

#endif
