#include "modules/ch/ch_pinyin.h"

namespace ch {

namespace {

const char* const kInitials[] = {"zh", "ch", "sh", "b", "p", "m", "f", "d", "t", "n", "l",
                                 "g", "k", "h", "j", "q", "x", "r", "z", "c", "s"};

const char* const kFinals[] = {"a", "ai", "an", "ang", "ao", "e", "ei", "en", "eng", "er", "o",
                               "ong", "ou", "i", "ia", "ian", "iang", "iao", "ie", "in", "ing",
                               "iong", "iu", "u", "ua", "uai", "uan", "uang", "ui", "un", "uo",
                               "ueng", "v", "ve", "van", "vn", "ii", "iii", "n", "ng", "m"};

bool is_final(const std::string& f) {
  for (const char* k : kFinals)
    if (f == k) return true;
  return false;
}

// Zero-initial spellings with y and w.
std::string zero_initial(const std::string& s) {
  static const char* const kMap[][2] = {
      {"yi", "i"},   {"ya", "ia"},   {"ye", "ie"},     {"yao", "iao"}, {"you", "iu"},
      {"yan", "ian"}, {"yin", "in"}, {"yang", "iang"}, {"ying", "ing"}, {"yong", "iong"},
      {"yu", "v"},   {"yue", "ve"},  {"yuan", "van"},  {"yun", "vn"},  {"yo", "iou"},
      {"wu", "u"},   {"wa", "ua"},   {"wo", "uo"},     {"wai", "uai"}, {"wei", "ui"},
      {"wan", "uan"}, {"wen", "un"}, {"wang", "uang"}, {"weng", "ueng"}};
  for (const auto& m : kMap)
    if (s == m[0]) return m[1];
  return "";
}

}  // namespace

PinyinSyllable ParsePinyin(const std::string& numbered) {
  PinyinSyllable p;
  std::string s;
  for (size_t i = 0; i < numbered.size(); i++) {
    unsigned char c = (unsigned char)numbered[i];
    if (c == 0xC3 && i + 1 < numbered.size() && (unsigned char)numbered[i + 1] == 0xBC) {  // ü
      s += 'v';
      i++;
    } else if (c == 'u' && i + 1 < numbered.size() && numbered[i + 1] == ':') {
      s += 'v';
      i++;
    } else if (c >= 'A' && c <= 'Z') {
      s += (char)(c | 0x20);
    } else {
      s += (char)c;
    }
  }
  if (!s.empty() && s.back() >= '1' && s.back() <= '5') {
    p.tone = s.back() - '0';
    s.pop_back();
  }
  if (s.empty()) return p;
  for (char c : s)
    if (c < 'a' || c > 'z') return p;
  if (s[0] == 'y' || s[0] == 'w') {
    p.final_ = zero_initial(s);
    if (p.final_ == "iou") p.final_ = "iu";
    p.ok = !p.final_.empty();
    return p;
  }
  for (const char* init : kInitials) {
    std::string i = init;
    if (s.compare(0, i.size(), i) == 0 && s.size() > i.size()) {
      std::string f = s.substr(i.size());
      if (i == "j" || i == "q" || i == "x") {
        if (f[0] == 'u') f = "v" + f.substr(1);
        if (f == "vn" || f == "v" || f == "ve" || f == "van") {}
      }
      if (f == "i" && (i == "z" || i == "c" || i == "s")) f = "ii";
      if (f == "i" && (i == "zh" || i == "ch" || i == "sh" || i == "r")) f = "iii";
      if (!is_final(f)) return p;
      p.initial = i;
      p.final_ = f;
      p.ok = true;
      return p;
    }
  }
  if (is_final(s)) {
    p.final_ = s;
    p.ok = true;
  }
  return p;
}

std::string Spell(const std::string& initial, const std::string& final_, int tone) {
  std::string f = final_;
  if (f == "ii" || f == "iii") f = "i";
  if (initial.empty()) {
    static const char* const kBack[][2] = {
        {"i", "yi"},  {"ia", "ya"},   {"ie", "ye"},     {"iao", "yao"}, {"iu", "you"},
        {"ian", "yan"}, {"in", "yin"}, {"iang", "yang"}, {"ing", "ying"}, {"iong", "yong"},
        {"v", "yu"},  {"ve", "yue"},  {"van", "yuan"},  {"vn", "yun"},  {"u", "wu"},
        {"ua", "wa"}, {"uo", "wo"},   {"uai", "wai"},   {"ui", "wei"},  {"uan", "wan"},
        {"un", "wen"}, {"uang", "wang"}, {"ueng", "weng"}};
    for (const auto& b : kBack)
      if (f == b[0]) f = b[1];
  } else if ((initial == "j" || initial == "q" || initial == "x") && f[0] == 'v') {
    f = "u" + f.substr(1);
  }
  return initial + f + std::to_string(tone);
}

void ApplySandhi(std::vector<SandhiSyllable>& syls) {
  size_t n = syls.size();
  std::vector<int> lexical(n);
  for (size_t i = 0; i < n; i++) lexical[i] = syls[i].tone;
  for (size_t i = 0; i + 1 < n; i++) {
    int next = lexical[i + 1];
    if (syls[i].hanzi == "不" && lexical[i] == 4 && next == 4) syls[i].tone = 2;
    // Inside numbers 一 keeps its tone except before a place unit (一百 yi4 bai3).
    const std::string& after = syls[i + 1].hanzi;
    bool unit = after == "百" || after == "千" || after == "万" || after == "亿";
    if (syls[i].hanzi == "一" && (!syls[i].numeric || unit) && (!syls[i].wordEnd || unit) &&
        !(i > 0 && syls[i - 1].hanzi == "第") && next != 5)
      syls[i].tone = next == 4 ? 2 : 4;
  }
  // Third-tone runs, read on the lexical tones from the right.
  for (size_t i = n; i-- > 1;)
    if (lexical[i] == 3 && lexical[i - 1] == 3) syls[i - 1].tone = 2;
}

}  // namespace ch
