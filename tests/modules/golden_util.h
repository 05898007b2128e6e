// Reading of golden case files for the Korean and Chinese analyzers: lines
// "input<TAB>expected" ('#' lines are comments) and the known-failure lists.
#ifndef TEST_GOLDEN_UTIL_H
#define TEST_GOLDEN_UTIL_H

#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

inline std::vector<std::pair<std::string, std::string>> read_cases(const std::string& path) {
  std::vector<std::pair<std::string, std::string>> cases;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    cases.emplace_back(line.substr(0, tab), line.substr(tab + 1));
  }
  return cases;
}

inline std::set<std::string> read_known_failures(const std::string& path) {
  std::set<std::string> known;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') known.insert(line);
  return known;
}

#endif
