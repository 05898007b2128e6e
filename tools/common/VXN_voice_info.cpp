#include "tools/common/VXN_voice_info.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const size_t kMaxInfoBytes = 64 * 1024;

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) b++;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) e--;
  return s.substr(b, e - b);
}

bool fail(std::string* error, int line, const std::string& what) {
  if (error) *error = "line " + std::to_string(line) + ": " + what;
  return false;
}

}  // namespace

bool VXN_VoiceInfo_parse(const char* text, size_t size, VXN_VoiceInfo* info, std::string* error) {
  *info = VXN_VoiceInfo();
  if (memchr(text, '\0', size)) return fail(error, 0, "holds a zero byte");
  int number = 0;
  size_t at = 0;
  while (at < size) {
    const char* end = static_cast<const char*>(memchr(text + at, '\n', size - at));
    const size_t stop = end ? (size_t)(end - text) : size;
    const std::string line(text + at, stop - at);
    at = stop + 1;
    number++;
    if (trim(line).empty()) continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos || trim(line.substr(0, colon)).empty())
      return fail(error, number, "'" + trim(line).substr(0, 40) + "' is not 'key: value'");
    const std::string key = trim(line.substr(0, colon));
    const std::string value = trim(line.substr(colon + 1));
    if (key == "language") {
      info->language = value;
    } else if (key == "index") {
      char* rest = nullptr;
      const long v = strtol(value.c_str(), &rest, 10);
      if (value.empty() || *rest != '\0' || v < 0 || v > 99)
        return fail(error, number, "index '" + value.substr(0, 20) + "' is not a number 0..99");
      info->index = (int)v;
    } else if (key == "stem") {
      info->stem = value;
    } else if (key == "kind") {
      if (value != "imported" && value != "trained" && value != "converted" && value != "derived")
        return fail(error, number, "kind '" + value.substr(0, 20) +
                                       "' is not imported, trained, converted or derived");
      info->kind = value;
    } else if (key == "source") {
      info->source = value;
    } else if (key == "licence") {
      info->licence = value;
    } else if (key == "donor") {
      info->donor = value;
    } else if (key == "notes") {
      info->notes = value;
    }
  }
  return true;
}

bool VXN_VoiceInfo_read(const std::string& path, VXN_VoiceInfo* info, std::string* error) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) {
    if (error) *error = "cannot open " + path;
    return false;
  }
  std::string text(kMaxInfoBytes + 1, '\0');
  const size_t n = fread(&text[0], 1, text.size(), f);
  fclose(f);
  if (n > kMaxInfoBytes) {
    if (error) *error = path + " is larger than 64 KB";
    return false;
  }
  std::string why;
  if (!VXN_VoiceInfo_parse(text.data(), n, info, &why)) {
    if (error) *error = path + ": " + why;
    return false;
  }
  return true;
}
