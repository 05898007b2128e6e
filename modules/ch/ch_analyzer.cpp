#include "modules/ch/ch_analyzer.h"

#include <algorithm>
#include <set>

#include "modules/ch/ch_pinyin.h"
#include "modules/ch/ch_segment.h"
#include "modules/ch/ch_tables.h"
#include "modules/common/eu_numbers.h"
#include "modules/cjk/cjk_label.h"
#include "modules/cjk/cjk_resource.h"
#include "modules/cjk/cjk_text.h"

// The number spellout of Chinese, generated from CLDR at build time.
extern const eu_locale ch_zh_locale;

namespace ch {

namespace {

using cjk::IsAsciiDigit;
using cjk::IsAsciiLetter;

const size_t kMaxCardinalDigits = 15;
const size_t kMaxLexiconWord = 6;

bool is_han(uint32_t c) { return ch_is_han(c); }

std::u32string u32(const std::string& utf8) {
  std::u32string out;
  for (uint32_t c : cjk::CodePoints(utf8)) out += (char32_t)c;
  return out;
}

std::string utf8(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) VXN_utf8_append((uint32_t)c, &out);
  return out;
}

std::vector<std::string> split_blanks(const std::string& s) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < s.size()) {
    size_t j = s.find(' ', i);
    if (j == std::string::npos) j = s.size();
    if (j > i) out.push_back(s.substr(i, j - i));
    i = j + 1;
  }
  return out;
}

// A stretch of normalised text: Han characters (from the text or from a
// number), a Latin word with its given pinyin, or a clause break.
struct Token {
  enum Kind { kHan, kGiven, kBreak } kind = kHan;
  std::u32string han;
  bool numeric = false;
  std::string text;                 // kGiven: the written word
  std::vector<std::string> pinyin;  // kGiven: its syllables
};

struct Tag {
  bool content = true;
  bool attachLeft = false;
};

}  // namespace

struct ChineseAnalysis::Impl {
  eu_plural_rules plurals;
  std::unique_ptr<eu_spellout> spellout;
  mutable std::map<uint32_t, std::string> charCache;

  std::map<std::u32string, std::string> tagOf;                       // posmodel
  std::map<std::u32string, std::vector<std::string>> wordPinyin;     // posmodel
  std::map<std::string, Tag> tags;                                   // HMM20POS.model
  std::map<uint32_t, std::string> surnames;                          // CNFamilyNameList.txt
  std::vector<std::u32string> titles;                                // NER_model
  std::map<std::string, std::vector<std::string>> letters;           // English_wordList_US.txt
  std::map<std::string, std::vector<std::string>> latinWords;
  std::set<std::u32string> breakBefore;                              // longbrkmodel
  int maxPhraseSyllables = 15, minPhraseSyllables = 5;
  int maxGroupSyllables = 4;                                         // shortbrkmodel
  std::set<std::u32string> measureWords;
  std::map<uint32_t, std::u32string> currencies;

  std::string CharPinyin(uint32_t c) const;
  std::u32string Digits(const std::string& d, bool phone) const;
  std::u32string Cardinal(const std::string& digits) const;
  std::u32string Decimal(const std::string& whole, const std::string& frac) const;
  std::vector<Token> Normalize(const std::vector<uint32_t>& piece) const;
  std::vector<std::u32string> Segment(const std::u32string& han) const;
};

ChineseAnalysis::ChineseAnalysis() : impl_(new Impl) {}
ChineseAnalysis::~ChineseAnalysis() = default;

std::string ChineseAnalysis::Impl::CharPinyin(uint32_t c) const {
  auto it = charCache.find(c);
  if (it != charCache.end()) return it->second;
  std::string out = ch_char_reading(c);
  std::vector<std::string> parts = split_blanks(out);
  std::string reading = parts.empty() ? "" : parts[0];
  if (!ParsePinyin(reading).ok) reading.clear();
  if (charCache.size() < 20000) charCache[c] = reading;
  return reading;
}

std::u32string ChineseAnalysis::Impl::Digits(const std::string& d, bool phone) const {
  static const char32_t kDigit[] = U"零一二三四五六七八九";
  std::u32string out;
  for (char c : d) {
    if (c < '0' || c > '9') continue;
    out += phone && c == '1' ? U'幺' : kDigit[c - '0'];
  }
  return out;
}

std::u32string ChineseAnalysis::Impl::Cardinal(const std::string& digits) const {
  size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return U"零";
  std::string d = digits.substr(first);
  if (d.size() > kMaxCardinalDigits || !spellout) return Digits(d, false);
  int64_t v = 0;
  for (char c : d) v = v * 10 + (c - '0');
  std::string s;
  if (!spellout->format("%spellout-numbering", v, &s)) return Digits(d, false);
  return u32(s);
}

std::u32string ChineseAnalysis::Impl::Decimal(const std::string& whole, const std::string& frac) const {
  std::u32string out = Cardinal(whole);
  if (!frac.empty()) out += U"点" + Digits(frac, false);
  return out;
}

std::vector<Token> ChineseAnalysis::Impl::Normalize(const std::vector<uint32_t>& piece) const {
  std::vector<Token> out;
  auto at = [&](size_t k) -> uint32_t { return k < piece.size() ? cjk::FoldWidth(piece[k]) : 0; };
  auto digits_end = [&](size_t k) {
    while (IsAsciiDigit(at(k))) k++;
    return k;
  };
  auto take = [&](size_t a, size_t b) {
    std::string s;
    for (size_t k = a; k < b; k++)
      if (IsAsciiDigit(at(k))) s += (char)at(k);
    return s;
  };
  auto han = [&](const std::u32string& text, bool numeric) {
    if (!out.empty() && out.back().kind == Token::kHan && out.back().numeric == numeric) {
      out.back().han += text;
      return;
    }
    Token t;
    t.han = text;
    t.numeric = numeric;
    out.push_back(t);
  };
  auto brk = [&]() {
    if (!out.empty() && out.back().kind != Token::kBreak) {
      Token t;
      t.kind = Token::kBreak;
      out.push_back(t);
    }
  };
  // A number with thousands commas and a decimal part starting at k.
  auto number = [&](size_t k, std::string* whole, std::string* frac) {
    size_t e = digits_end(k);
    while (at(e) == ',' && digits_end(e + 1) == e + 4) e += 4;
    *whole = take(k, e);
    frac->clear();
    if (at(e) == '.' && IsAsciiDigit(at(e + 1))) {
      size_t f = digits_end(e + 1);
      *frac = take(e + 1, f);
      e = f;
    }
    return e;
  };
  size_t i = 0, n = piece.size();
  while (i < n) {
    uint32_t c = at(i);
    auto currency = currencies.find(c);
    if (currency != currencies.end() && IsAsciiDigit(at(i + 1))) {
      std::string whole, frac;
      size_t e = number(i + 1, &whole, &frac);
      std::u32string reading;
      if (currency->second == U"元") {
        reading = Cardinal(whole) + U"元";
        char jiao = frac.size() > 0 ? frac[0] : '0', fen = frac.size() > 1 ? frac[1] : '0';
        if (jiao != '0') reading += Digits(std::string(1, jiao), false) + U"角";
        if (fen != '0') reading += (jiao == '0' ? U"零" : U"") + Digits(std::string(1, fen), false) + U"分";
      } else {
        reading = Decimal(whole, frac) + currency->second;
      }
      han(reading, true);
      i = e;
      continue;
    }
    if (IsAsciiDigit(c)) {
      size_t e = digits_end(i);
      // Clock time h:mm.
      if (e - i <= 2 && at(e) == ':' && digits_end(e + 1) == e + 3) {
        std::string h = take(i, e), mm = take(e + 1, e + 3);
        std::u32string r = (h == "2" || h == "02" ? U"两" : Cardinal(h)) + U"点";
        int m = (mm[0] - '0') * 10 + (mm[1] - '0');
        if (m > 0) r += (m < 10 ? U"零" : U"") + Cardinal(mm) + U"分";
        han(r, true);
        i = e + 3;
        if (at(i) == ':' && digits_end(i + 1) == i + 3) i += 3;  // seconds are not read
        continue;
      }
      // Date y-m-d, y/m/d, y.m.d.
      uint32_t sep = at(e);
      if (e - i == 4 && (sep == '-' || sep == '/' || sep == '.') && IsAsciiDigit(at(e + 1))) {
        size_t e2 = digits_end(e + 1);
        if (e2 - e - 1 <= 2 && at(e2) == sep && IsAsciiDigit(at(e2 + 1))) {
          size_t e3 = digits_end(e2 + 1);
          if (e3 - e2 - 1 <= 2) {
            han(Digits(take(i, e), false) + U"年" + Cardinal(take(e + 1, e2)) + U"月" +
                    Cardinal(take(e2 + 1, e3)) + U"日",
                true);
            i = e3;
            continue;
          }
        }
      }
      // Long digit strings (telephone numbers, codes): digit by digit.
      if (e - i >= 7 || (e - i >= 3 && c == '0')) {
        han(Digits(take(i, e), true), true);
        i = e;
        continue;
      }
      std::string whole, frac;
      size_t end = number(i, &whole, &frac);
      uint32_t next = at(end);
      if (frac.empty() && whole.size() == 4 && next == U'年') {
        han(Digits(whole, false), true);  // years digit by digit
        i = end;
        continue;
      }
      if (next == '%') {
        han(U"百分之" + Decimal(whole, frac), true);
        i = end + 1;
        continue;
      }
      if ((next == '-' || next == '~') && frac.empty() && IsAsciiDigit(at(end + 1))) {
        std::string second, frac2;
        size_t e2 = number(end + 1, &second, &frac2);
        han(Cardinal(whole) + U"到" + Decimal(second, frac2), true);
        i = e2;
        continue;
      }
      // 两 for a lone 2 before a measure word (两个, 两集).
      bool measure = false;
      for (size_t len = 1; len <= 2 && !measure; len++) {
        std::u32string w;
        for (size_t k = end; k < end + len && k < n; k++) w += (char32_t)at(k);
        measure = measureWords.count(w) > 0;
      }
      han(frac.empty() && whole == "2" && measure ? U"两" : Decimal(whole, frac), true);
      i = end;
      continue;
    }
    if (IsAsciiLetter(c)) {
      size_t e = i;
      std::string word, lower;
      while (IsAsciiLetter(at(e))) {
        word += (char)at(e);
        lower += (char)(at(e) | 0x20);
        e++;
      }
      Token t;
      t.kind = Token::kGiven;
      t.text = word;
      auto w = latinWords.find(lower);
      if (w != latinWords.end()) {
        t.pinyin = w->second;
      } else {
        for (char ch : word) {
          auto l = letters.find(std::string(1, (char)(ch & ~0x20)));
          if (l != letters.end()) t.pinyin.insert(t.pinyin.end(), l->second.begin(), l->second.end());
        }
      }
      if (!t.pinyin.empty()) out.push_back(t);
      i = e;
      continue;
    }
    i++;
    if (is_han(c)) {
      han(std::u32string(1, (char32_t)c), false);
      continue;
    }
    if (c == ',' || c == ';' || c == ':' || c == 0x3001 || c == '!' || c == '?' || c == '.' || c == 0x3002) {
      brk();
      continue;
    }
    if (c == '%') {
      han(U"百分号", false);
      continue;
    }
    // Anything else separates the text around it.
    if (!out.empty() && out.back().kind == Token::kHan) {
      Token t;
      t.kind = Token::kHan;
      out.push_back(t);
    }
  }
  return out;
}

std::vector<std::u32string> ChineseAnalysis::Impl::Segment(const std::u32string& han) const {
  return ch_segment(han);
}

bool ChineseAnalysis::Load(const std::string& dirIn) {
  loaded_ = false;
  impl_.reset(new Impl);
  std::string dir = dirIn;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  const char* const kFiles[7] = {"CNFamilyNameList.txt", "English_wordList_US.txt", "HMM20POS.model",
                                 "longbrkmodel", "NER_model", "posmodel", "shortbrkmodel"};
  cjk::ResourceFile f[7];
  for (int k = 0; k < 7; k++) {
    if (!f[k].Load(dir + kFiles[k])) {
      error_ = f[k].error();
      return false;
    }
  }
  Impl& m = *impl_;
  for (const auto& e : f[0].Section("surnames")) {
    std::u32string s = u32(e.first);
    if (s.size() == 1 && ParsePinyin(e.second).ok) m.surnames[s[0]] = e.second;
  }
  for (const char* section : {"letters", "words"}) {
    for (const auto& e : f[1].Section(section)) {
      std::vector<std::string> syl = split_blanks(e.second);
      bool ok = !syl.empty();
      for (const std::string& p : syl) ok = ok && ParsePinyin(p).ok;
      if (!ok) {
        error_ = "ch_load: bad reading of '" + e.first + "' in English_wordList_US.txt: '" + e.second + "'";
        return false;
      }
      (std::string(section) == "letters" ? m.letters : m.latinWords)[e.first] = syl;
    }
  }
  for (const auto& e : f[2].Section("tags")) {
    std::vector<std::string> v = split_blanks(e.second);
    Tag t;
    t.content = !v.empty() && v[0] == "content";
    t.attachLeft = v.size() > 1 && v[1] == "left";
    m.tags[e.first] = t;
  }
  m.maxPhraseSyllables = f[3].IntValue("settings", "max_phrase_syllables", 15);
  m.minPhraseSyllables = f[3].IntValue("settings", "min_phrase_syllables", 5);
  for (const auto& e : f[3].Section("break_before")) m.breakBefore.insert(u32(e.first));
  for (const auto& e : f[4].Section("titles")) m.titles.push_back(u32(e.first));
  for (const auto& e : f[5].Section("words")) {
    std::vector<std::string> v = split_blanks(e.second);
    std::u32string w = u32(e.first);
    if (v.empty() || w.size() > kMaxLexiconWord) {
      error_ = "ch_load: bad lexicon entry '" + e.first + "' in posmodel: '" + e.second + "'";
      return false;
    }
    m.tagOf[w] = v[0];
    if (v[0] == "q") m.measureWords.insert(w);
    if (v.size() > 1) {
      std::vector<std::string> py(v.begin() + 1, v.end());
      bool ok = py.size() == w.size();
      for (const std::string& p : py) ok = ok && ParsePinyin(p).ok;
      if (!ok) {
        error_ = "ch_load: pinyin of '" + e.first + "' in posmodel does not match it: '" + e.second + "'";
        return false;
      }
      m.wordPinyin[w] = py;
    }
  }
  for (const auto& e : f[5].Section("currencies")) {
    std::u32string s = u32(e.first);
    if (s.size() == 1) m.currencies[s[0]] = u32(e.second);
  }
  m.maxGroupSyllables = f[6].IntValue("settings", "max_group_syllables", 4);
  if (m.tags.size() != 20 || m.letters.size() < 26 || m.surnames.empty()) {
    error_ = "ch_load: tables incomplete in '" + dir + "' (tags " + std::to_string(m.tags.size()) +
             ", letters " + std::to_string(m.letters.size()) + ", surnames " +
             std::to_string(m.surnames.size()) + ")";
    return false;
  }
  std::string error;
  m.spellout.reset(new eu_spellout);
  if (!m.plurals.parse(ch_zh_locale.plural_rules, &error) ||
      !m.spellout->parse(ch_zh_locale.spellout_rules, &m.plurals, ch_zh_locale.decimal_mark, &error)) {
    error_ = "ch_load: the number rules of " + std::string(ch_zh_locale.name) + " are unusable: " + error;
    return false;
  }
  error_.clear();
  loaded_ = true;
  return true;
}

std::u32string ChineseAnalysis::Cardinal(const std::string& digits) const {
  return impl_->Cardinal(digits);
}

PieceAnalysis ChineseAnalysis::Analyze(const std::vector<uint32_t>& piece, bool sentenceEnd) const {
  PieceAnalysis result;
  if (!loaded_) return result;
  const Impl& m = *impl_;
  for (size_t k = piece.size(); k-- > 0;) {
    uint32_t c = cjk::FoldWidth(piece[k]);
    if (c == '?') result.uttType = 'B';
    if (c == 0x5417 /* 吗 */ || c == 0x5462 /* 呢 */) result.uttType = 'B';
    if (c != '?' && c != '!' && c != '.' && c != 0x3002 && c != '"' && c != 0x201D && !cjk::IsSpace(c)) break;
  }
  // Words with their syllables, and phrase breaks.
  struct WordInfo {
    std::string text, tag;
    std::vector<std::string> pinyin;
    std::vector<std::string> hanzi;
    bool numeric = false;
    bool breakAfter = false;
  };
  std::vector<WordInfo> words;
  for (const Token& t : m.Normalize(piece)) {
    if (t.kind == Token::kBreak) {
      if (!words.empty()) words.back().breakAfter = true;
      continue;
    }
    if (t.kind == Token::kGiven) {
      WordInfo w;
      w.text = t.text;
      w.tag = "x";
      w.pinyin = t.pinyin;
      w.hanzi.assign(t.pinyin.size(), "");
      words.push_back(w);
      continue;
    }
    std::vector<std::u32string> segs = t.numeric ? std::vector<std::u32string>{t.han} : m.Segment(t.han);
    for (size_t s = 0; s < segs.size(); s++) {
      const std::u32string& seg = segs[s];
      WordInfo w;
      w.text = utf8(seg);
      w.numeric = t.numeric;
      auto tag = m.tagOf.find(seg);
      w.tag = t.numeric ? "m" : tag != m.tagOf.end() ? tag->second : "n";
      // Pinyin: the longest lexicon words inside the segment, then characters.
      std::vector<std::string> py(seg.size());
      for (size_t k = 0; k < seg.size();) {
        size_t len = std::min(kMaxLexiconWord, seg.size() - k);
        for (; len >= 2; len--) {
          auto it = m.wordPinyin.find(seg.substr(k, len));
          if (it != m.wordPinyin.end()) {
            for (size_t j = 0; j < len; j++) py[k + j] = it->second[j];
            break;
          }
        }
        if (len < 2) {
          auto single = m.wordPinyin.find(seg.substr(k, 1));
          py[k] = single != m.wordPinyin.end() ? single->second[0] : m.CharPinyin(seg[k]);
          len = 1;
        }
        k += len;
      }
      // A surname before a title (王先生, 单 老师) takes its surname reading.
      auto sur = m.surnames.find(seg[0]);
      if (sur != m.surnames.end() && seg.size() <= 3) {
        std::u32string rest = seg.substr(1);
        if (rest.empty() && s + 1 < segs.size()) rest = segs[s + 1];
        for (const std::u32string& title : m.titles)
          if (!rest.empty() && rest.compare(0, title.size(), title) == 0) py[0] = sur->second;
      }
      for (size_t k = 0; k < seg.size(); k++) {
        if (py[k].empty()) continue;  // a character without a reading
        w.pinyin.push_back(py[k]);
        w.hanzi.push_back(utf8(seg.substr(k, 1)));
      }
      if (!w.pinyin.empty()) words.push_back(w);
    }
  }
  // Phrases: clause marks, and long phrases cut before a conjunction or in
  // the middle.
  std::vector<std::vector<WordInfo*>> phrases(1);
  std::vector<int> length(1, 0);
  for (size_t k = 0; k < words.size(); k++) {
    WordInfo& w = words[k];
    int syls = (int)w.pinyin.size();
    if (!phrases.back().empty() &&
        ((m.breakBefore.count(u32(w.text)) && length.back() >= m.minPhraseSyllables) ||
         length.back() + syls > m.maxPhraseSyllables)) {
      phrases.emplace_back();
      length.push_back(0);
    }
    phrases.back().push_back(&w);
    length.back() += syls;
    if (w.breakAfter && k + 1 < words.size()) {
      phrases.emplace_back();
      length.push_back(0);
    }
  }
  cjk::Utterance utt;
  utt.startPause = "pau";
  utt.endPause = "pau";
  for (size_t p = 0; p < phrases.size(); p++) {
    if (phrases[p].empty()) continue;
    // Tone sandhi over the phrase.
    std::vector<SandhiSyllable> sandhi;
    std::vector<PinyinSyllable> parsed;
    for (WordInfo* w : phrases[p]) {
      for (size_t k = 0; k < w->pinyin.size(); k++) {
        PinyinSyllable py = ParsePinyin(w->pinyin[k]);
        SandhiSyllable s;
        s.tone = py.tone;
        s.hanzi = w->hanzi[k];
        s.numeric = w->numeric;
        s.wordEnd = k + 1 == w->pinyin.size();
        sandhi.push_back(s);
        parsed.push_back(py);
      }
    }
    ApplySandhi(sandhi);
    cjk::Phrase phrase;
    bool last = p + 1 == phrases.size();
    bool punct = phrases[p].back()->breakAfter;
    phrase.pauseAfter = last ? "" : "pau";
    phrase.endTone = last ? (result.uttType == 'B' ? "H%" : sentenceEnd ? "L%" : "M%") : punct ? "M%" : "S%";
    // Prosodic words: function words lean on the word before; single
    // syllables pair up; a group holds at most maxGroupSyllables.
    int group = -1, groupSyls = 0;
    size_t si = 0;
    for (WordInfo* w : phrases[p]) {
      int syls = (int)w->pinyin.size();
      auto tag = m.tags.find(w->tag);
      bool attach = tag != m.tags.end() && tag->second.attachLeft;
      bool pairUp = syls == 1 && groupSyls == 1;
      if (group < 0 || !((attach || pairUp) && groupSyls + syls <= m.maxGroupSyllables)) {
        group++;
        groupSyls = 0;
      }
      groupSyls += syls;
      cjk::Word word;
      word.text = w->text;
      word.cls = w->tag;
      word.group = group;
      for (int k = 0; k < syls; k++, si++) {
        const PinyinSyllable& py = parsed[si];
        cjk::Syllable syl;
        if (!py.initial.empty()) syl.phones.push_back(py.initial);
        syl.phones.push_back(py.final_);
        syl.f1 = std::to_string(sandhi[si].tone);
        syl.f2 = std::to_string(py.tone);
        syl.nucleus = py.final_;
        word.syls.push_back(syl);
        result.reading.push_back(Spell(py.initial, py.final_, sandhi[si].tone));
      }
      result.words.push_back(w->text);
      phrase.words.push_back(word);
    }
    if (!last) result.words.push_back("|");
    utt.phrases.push_back(phrase);
  }
  if (result.reading.empty()) {
    result.words.clear();
    return result;
  }
  result.phones = cjk::PhoneSequence(utt);
  result.labels = cjk::WriteLabels(utt);
  return result;
}

}  // namespace ch
