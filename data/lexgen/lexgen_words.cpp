#include <unicode/uchar.h>

#include <unordered_map>

#include "data/lexgen/lexgen.h"

namespace lexgen {

Converter::Converter(const std::string& encoding) {
  UErrorCode status = U_ZERO_ERROR;
  cnv_ = ucnv_open(encoding.c_str(), &status);
  if (U_FAILURE(status)) cnv_ = nullptr;
  if (cnv_) ucnv_setFromUCallBack(cnv_, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
}

Converter::~Converter() {
  if (cnv_) ucnv_close(cnv_);
}

bool Converter::from_unicode(const icu::UnicodeString& u, std::string* out) const {
  char buf[256];
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = u.extract(buf, sizeof buf, cnv_, status);
  if (U_FAILURE(status) || n >= (int32_t)sizeof buf) return false;
  out->assign(buf, n);
  return true;
}

namespace {

// Lower-cased word in the encoding, or false when it is not a plain word of letters.
bool normalise(const std::string& utf8, const icu::Locale& locale, const Converter& cnv, std::string* out) {
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(utf8);
  if (u.length() < 2 || u.length() > 40) return false;
  for (int32_t i = 0; i < u.length(); ++i)
    if (!u_isalpha(u.char32At(i))) return false;
  u.toLower(locale);
  return cnv.from_unicode(u, out);
}

bool lower_case(const std::string& utf8) {
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(utf8), l = u;
  l.toLower();
  return u == l;
}

}  // namespace

void read_word_list(const std::vector<std::string>& lines, const icu::Locale& locale, const Converter& cnv,
                    std::vector<std::string>* original, std::vector<std::string>* lower) {
  std::unordered_map<std::string, size_t> seen;
  for (std::string line : lines) {
    // Hunspell dictionaries write "word/FLAGS" and may add tab-separated
    // fields; the word is what comes before them.
    line = line.substr(0, line.find_first_of("/\t"));
    std::string key;
    if (!normalise(line, locale, cnv, &key)) continue;
    auto at = seen.find(key);
    if (at != seen.end()) {
      // A word listed in capitals and in lower case ("US" and "us", "May"
      // and "may") is read as the lower-case word.
      if (lower_case(line)) (*original)[at->second] = line;
      continue;
    }
    seen[key] = original->size();
    original->push_back(line);
    lower->push_back(key);
  }
}

}  // namespace lexgen
