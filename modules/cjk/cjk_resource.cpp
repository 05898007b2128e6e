#include "modules/cjk/cjk_resource.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace cjk {

namespace {

const size_t kMaxLine = 4096;

std::string trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r')) a++;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) b--;
  return s.substr(a, b - a);
}

// Shows at most 40 bytes of an offending line, control bytes as '?'.
std::string shown(const std::string& s) {
  std::string out = s.substr(0, 40);
  for (char& c : out)
    if ((unsigned char)c < 0x20) c = '?';
  return out;
}

}  // namespace

bool ResourceFile::Parse(const std::string& text, const std::string& name) {
  sections_.clear();
  error_.clear();
  std::string section;
  size_t start = 0;
  int lineNumber = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    lineNumber++;
    if (line.size() > kMaxLine) {
      error_ = "resource_load: line " + std::to_string(lineNumber) + " of " + name +
               " is longer than 4096 bytes '" + shown(line) + "'";
      return false;
    }
    if (line.find('\0') != std::string::npos) {
      error_ = "resource_load: NUL byte in line " + std::to_string(lineNumber) + " of " + name +
               " '" + shown(line) + "'";
      return false;
    }
    std::string t = trim(line);
    if (t.empty() || (t[0] == '#' && (t.size() == 1 || t[1] == ' '))) continue;
    if (t[0] == '[') {
      if (t.size() < 3 || t.back() != ']') {
        error_ = "resource_load: bad section line " + std::to_string(lineNumber) + " of " + name +
                 " '" + shown(t) + "'";
        return false;
      }
      section = t.substr(1, t.size() - 2);
      sections_[section];
      continue;
    }
    if (section.empty()) {
      error_ = "resource_load: entry before any section in line " + std::to_string(lineNumber) +
               " of " + name + " '" + shown(t) + "'";
      return false;
    }
    size_t cut = line.find('\t');
    if (cut == std::string::npos) cut = line.find('=');
    std::string key = cut == std::string::npos ? t : trim(line.substr(0, cut));
    std::string value = cut == std::string::npos ? "" : trim(line.substr(cut + 1));
    if (key.empty()) {
      error_ = "resource_load: empty key in line " + std::to_string(lineNumber) + " of " + name +
               " '" + shown(t) + "'";
      return false;
    }
    sections_[section].emplace_back(key, value);
  }
  return true;
}

bool ResourceFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    sections_.clear();
    error_ = "resource_load: cannot open '" + path + "'";
    return false;
  }
  std::ostringstream all;
  all << in.rdbuf();
  return Parse(all.str(), path);
}

const std::vector<std::pair<std::string, std::string>>& ResourceFile::Section(
    const std::string& name) const {
  static const std::vector<std::pair<std::string, std::string>> kEmpty;
  auto it = sections_.find(name);
  return it == sections_.end() ? kEmpty : it->second;
}

std::string ResourceFile::Value(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
  for (const auto& entry : Section(section))
    if (entry.first == key) return entry.second;
  return fallback;
}

int ResourceFile::IntValue(const std::string& section, const std::string& key,
                           int fallback) const {
  std::string v = Value(section, key, "");
  if (v.empty()) return fallback;
  char* end = nullptr;
  long n = strtol(v.c_str(), &end, 10);
  if (*end != '\0' || n < -1000000 || n > 1000000) return fallback;
  return (int)n;
}

}  // namespace cjk
