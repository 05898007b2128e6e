#include "modules/kr/kr_normalize.h"

#include "modules/cjk/cjk_text.h"
#include "modules/kr/kr_hangul.h"

namespace kr {

namespace {

using cjk::IsAsciiDigit;
using cjk::IsAsciiLetter;

const char32_t* const kSinoDigit[10] = {U"영", U"일", U"이", U"삼", U"사", U"오", U"육", U"칠", U"팔", U"구"};
const size_t kMaxDigits = 20;

struct Scanner {
  const std::vector<uint32_t>& s;
  size_t i;
  uint32_t at(size_t k) const { return k < s.size() ? cjk::FoldWidth(s[k]) : 0; }
};

// Digits from k on; returns the end.
size_t digits_end(const Scanner& sc, size_t k) {
  while (IsAsciiDigit(sc.at(k))) k++;
  return k;
}

std::string take(const Scanner& sc, size_t from, size_t to) {
  std::string out;
  for (size_t k = from; k < to; k++)
    if (IsAsciiDigit(sc.at(k))) out += (char)sc.at(k);
  return out;
}

int small_value(const std::string& digits) {
  if (digits.size() > 6) return 1000000;
  int v = 0;
  for (char c : digits) v = v * 10 + (c - '0');
  return v;
}

// The counter that starts at k (after at most one blank), or "".
std::u32string counter_at(const Scanner& sc, size_t k, const KoreanTables& t) {
  if (sc.at(k) == ' ') k++;
  std::u32string run;
  while (IsHangulSyllable(sc.at(k)) && run.size() < 4) run += (char32_t)sc.at(k++);
  for (size_t len = run.size(); len > 0; len--) {
    std::u32string c = run.substr(0, len);
    if (t.counters.count(c)) return c;
  }
  return U"";
}

// Reads an integer (digits) before a counter.
std::u32string count_reading(const std::string& digits, const std::u32string& counter,
                             const KoreanTables& t) {
  int v = small_value(digits);
  if (counter == U"월") {
    if (v == 6) return U"유";
    if (v == 10) return U"시";
  }
  auto it = t.counters.find(counter);
  bool native = it != t.counters.end() && it->second;
  if (counter == U"시" && v > 12) native = false;
  if (native && v >= 1 && v <= 99) return NativeNumber(v, true);
  return SinoNumber(digits);
}

std::u32string decimal_reading(const std::string& whole, const std::string& fraction) {
  std::u32string out = SinoNumber(whole);
  if (!fraction.empty()) out += U"점" + DigitByDigit(fraction);
  return out;
}

}  // namespace

std::u32string SinoNumber(const std::string& digits) {
  size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return U"영";
  std::string d = digits.substr(first);
  if (d.size() > kMaxDigits) return DigitByDigit(d);
  static const char32_t* const kGroup[5] = {U"", U"만", U"억", U"조", U"경"};
  static const char32_t* const kPlace[4] = {U"", U"십", U"백", U"천"};
  std::u32string out;
  size_t groups = (d.size() + 3) / 4;
  for (size_t g = groups; g-- > 0;) {
    size_t end = d.size() - g * 4;
    size_t start = end >= 4 ? end - 4 : 0;
    std::string part = d.substr(start, end - start);
    int value = small_value(part);
    if (value == 0) continue;
    std::u32string reading;
    for (size_t k = 0; k < part.size(); k++) {
      int digit = part[k] - '0';
      size_t place = part.size() - 1 - k;
      if (digit == 0) continue;
      if (digit != 1 || place == 0) reading += kSinoDigit[digit];
      reading += kPlace[place];
    }
    if (g == 1 && value == 1) reading = U"";  // 만, not 일만
    out += reading + kGroup[g];
  }
  return out;
}

std::u32string NativeNumber(int n, bool attributive) {
  static const char32_t* const kTens[10] = {U"", U"열", U"스물", U"서른", U"마흔", U"쉰", U"예순", U"일흔", U"여든", U"아흔"};
  static const char32_t* const kOnes[10] = {U"", U"하나", U"둘", U"셋", U"넷", U"다섯", U"여섯", U"일곱", U"여덟", U"아홉"};
  static const char32_t* const kOnesAttr[10] = {U"", U"한", U"두", U"세", U"네", U"다섯", U"여섯", U"일곱", U"여덟", U"아홉"};
  if (n < 1 || n > 99) return SinoNumber(std::to_string(n));
  int tens = n / 10, ones = n % 10;
  std::u32string out = kTens[tens];
  if (attributive && tens == 2 && ones == 0) out = U"스무";
  out += attributive ? kOnesAttr[ones] : kOnes[ones];
  return out;
}

std::u32string DigitByDigit(const std::string& digits) {
  std::u32string out;
  for (char c : digits)
    if (c >= '0' && c <= '9') out += kSinoDigit[c - '0'];
  return out;
}

std::vector<NormWord> Normalize(const std::vector<uint32_t>& piece, const KoreanTables& t) {
  std::vector<NormWord> words;
  NormWord cur;
  auto flush = [&]() {
    if (!cur.text.empty()) words.push_back(cur);
    cur = NormWord();
  };
  auto clause_break = [&]() {
    flush();
    if (!words.empty()) words.back().breakAfter = true;
  };
  auto push_word = [&](const std::u32string& text, bool number) {
    flush();
    cur.text = text;
    cur.number = number;
    flush();
  };
  Scanner sc{piece, 0};
  size_t n = piece.size();
  while (sc.i < n) {
    uint32_t c = sc.at(sc.i);
    // A currency sign before a number: the unit follows the amount.
    auto currency = t.currencies.find(c);
    if (currency != t.currencies.end()) {
      size_t k = sc.i + 1;
      if (sc.at(k) == ' ') k++;
      if (IsAsciiDigit(sc.at(k))) {
        size_t end = k;
        while (IsAsciiDigit(sc.at(end)) || (sc.at(end) == ',' && IsAsciiDigit(sc.at(end + 1)))) end++;
        std::string whole = take(sc, k, end), fraction;
        if (sc.at(end) == '.' && IsAsciiDigit(sc.at(end + 1))) {
          size_t f = digits_end(sc, end + 1);
          fraction = take(sc, end + 1, f);
          end = f;
        }
        cur.text += decimal_reading(whole, fraction) + currency->second;
        cur.number = true;
        sc.i = end;
        continue;
      }
    }
    if (IsAsciiDigit(c)) {
      size_t a = sc.i, e = digits_end(sc, a);
      // Clock time h:mm(:ss).
      if (e - a <= 2 && sc.at(e) == ':' && IsAsciiDigit(sc.at(e + 1)) && digits_end(sc, e + 1) == e + 3) {
        int h = small_value(take(sc, a, e));
        std::string mm = take(sc, e + 1, e + 3);
        size_t end = e + 3;
        flush();
        push_word((h >= 1 && h <= 12 ? NativeNumber(h, true) : SinoNumber(take(sc, a, e))) + U"시", true);
        if (small_value(mm) > 0) push_word(SinoNumber(mm) + U"분", true);
        if (sc.at(end) == ':' && IsAsciiDigit(sc.at(end + 1)) && digits_end(sc, end + 1) == end + 3) {
          std::string ss = take(sc, end + 1, end + 3);
          if (small_value(ss) > 0) push_word(SinoNumber(ss) + U"초", true);
          end += 3;
        }
        sc.i = end;
        continue;
      }
      // Date y.m.d, y-m-d or y/m/d.
      uint32_t sep = sc.at(e);
      if (e - a == 4 && (sep == '.' || sep == '-' || sep == '/') && IsAsciiDigit(sc.at(e + 1))) {
        size_t e2 = digits_end(sc, e + 1);
        if (e2 - e - 1 <= 2 && sc.at(e2) == sep && IsAsciiDigit(sc.at(e2 + 1))) {
          size_t e3 = digits_end(sc, e2 + 1);
          int m = small_value(take(sc, e + 1, e2)), d = small_value(take(sc, e2 + 1, e3));
          if (e3 - e2 - 1 <= 2 && m >= 1 && m <= 12 && d >= 1 && d <= 31) {
            flush();
            push_word(SinoNumber(take(sc, a, e)) + U"년", true);
            push_word(count_reading(take(sc, e + 1, e2), U"월", t) + U"월", true);
            push_word(SinoNumber(take(sc, e2 + 1, e3)) + U"일", true);
            sc.i = e3;
            if (sc.at(sc.i) == '.' && !IsAsciiDigit(sc.at(sc.i + 1))) sc.i++;
            continue;
          }
        }
      }
      // Telephone numbers: three or more groups joined by '-', read digit by digit.
      if (sep == '-' && IsAsciiDigit(sc.at(e + 1))) {
        size_t e2 = digits_end(sc, e + 1);
        if (sc.at(e2) == '-' && IsAsciiDigit(sc.at(e2 + 1))) {
          flush();
          size_t k = a;
          while (IsAsciiDigit(sc.at(k))) {
            size_t ke = digits_end(sc, k);
            std::u32string group;
            for (char ch : take(sc, k, ke)) group += ch == '0' ? U"공" : kSinoDigit[ch - '0'];
            push_word(group, true);
            k = ke;
            if (sc.at(k) == '-' && IsAsciiDigit(sc.at(k + 1))) k++;
          }
          sc.i = k;
          continue;
        }
      }
      // A number with thousands commas and an optional decimal part.
      size_t end = e;
      while (sc.at(end) == ',' && IsAsciiDigit(sc.at(end + 1)) && digits_end(sc, end + 1) == end + 4) end += 4;
      std::string whole = take(sc, a, end), fraction;
      if (sc.at(end) == '.' && IsAsciiDigit(sc.at(end + 1))) {
        size_t f = digits_end(sc, end + 1);
        fraction = take(sc, end + 1, f);
        end = f;
      }
      // A range: 3~5명 reads both numbers with the counter of the second.
      std::string second;
      size_t after = end;
      if ((sc.at(end) == '~' || sc.at(end) == '-') && IsAsciiDigit(sc.at(end + 1)) && fraction.empty()) {
        size_t e2 = digits_end(sc, end + 1);
        second = take(sc, end + 1, e2);
        after = e2;
      }
      std::u32string counter = fraction.empty() ? counter_at(sc, after, t) : U"";
      if (!second.empty()) {
        cur.text += count_reading(whole, counter, t) + U"에서";
        cur.number = true;
        flush();
        whole = second;
      }
      cur.text += fraction.empty() ? count_reading(whole, counter, t) : decimal_reading(whole, fraction);
      cur.number = true;
      sc.i = after;
      // A currency sign after the amount (12,500₩) or a per-cent sign.
      auto unit = t.currencies.find(sc.at(sc.i));
      if (unit != t.currencies.end()) {
        cur.text += unit->second;
        sc.i++;
      }
      continue;
    }
    if (IsAsciiLetter(c)) {
      size_t e = sc.i;
      std::string latin, lower;
      while (IsAsciiLetter(sc.at(e))) {
        latin += (char)sc.at(e);
        lower += (char)(sc.at(e) | 0x20);
        e++;
      }
      auto word = t.latinWords.find(latin);  // units keep their case (m, km)
      if (word == t.latinWords.end()) word = t.latinWords.find(lower);
      if (word != t.latinWords.end()) {
        cur.text += word->second;
      } else {
        for (char ch : latin) {
          auto letter = t.letters.find(std::string(1, (char)(ch & ~0x20)));
          if (letter != t.letters.end()) cur.text += letter->second;
        }
      }
      sc.i = e;
      continue;
    }
    sc.i++;
    if (IsHangulSyllable(c)) {
      cur.text += (char32_t)c;
      continue;
    }
    if (cjk::IsSpace(c) || c < 0x20) {
      flush();
      continue;
    }
    if (c == ',' || c == ';' || c == ':' || c == 0x3001) {
      clause_break();
      continue;
    }
    auto symbol = t.symbols.find(c);
    if (symbol != t.symbols.end()) {
      // A symbol inside a word (50%, A&B) joins it; elsewhere it is a word.
      if (cur.text.empty()) push_word(symbol->second, false);
      else cur.text += symbol->second;
      continue;
    }
    flush();  // other punctuation, brackets, quotes and unread characters
  }
  flush();
  // Respellings of words whose pronunciation the rules cannot see (물가 [물까]).
  for (NormWord& w : words) {
    for (size_t len = w.text.size(); len >= 1; len--) {
      auto it = t.respell.find(w.text.substr(0, len));
      if (it != t.respell.end()) {
        w.text = it->second + w.text.substr(len);
        break;
      }
    }
  }
  return words;
}

}  // namespace kr
