#include "api/VXN_typography.h"

#include <stdint.h>
#include <string.h>

#include <vector>

#include "emoji/VXN_preprocessing_emoji.h"
#include "engine/VXN_misc.h"

namespace {

using Text = std::vector<uint32_t>;

// Bytes that are not valid UTF-8 travel through the rewrite as these code
// points (a low surrogate per byte, which valid UTF-8 never decodes to).
const uint32_t kRawByte = 0xDC00;

enum Kind {
  kKeep,
  kApostrophe,  // ' (curly single quotes, primes, modifier apostrophe)
  kQuote,       // " (curly and low double quotes, double prime)
  kGuillemet,   // kept where the encoding has it, else "
  kHyphen,      // - (hyphens, minus sign, figure dash)
  kEnDash,      // - inside words and between numbers, else a pause
  kEmDash,      // a pause, - between numbers
  kBullet,      // a pause
  kEllipsis,    // a pause before a lower-case word, else ...
  kSlash,       // / (fraction and division slashes)
  kSpace,       // a blank (no-break, thin and other fixed-width spaces)
  kLineBreak,   // \n
  kParagraph,   // \n\n
  kDrop,        // nothing (trade marks, soft hyphen, zero-width characters)
};

struct Rule {
  uint32_t code;
  Kind kind;
};

const Rule kRules[] = {
    {0x00A0, kSpace},     {0x00AB, kGuillemet},  {0x00AD, kDrop},       {0x00AE, kDrop},
    {0x00BB, kGuillemet}, {0x02BC, kApostrophe}, {0x1680, kSpace},      {0x2000, kSpace},
    {0x2001, kSpace},     {0x2002, kSpace},      {0x2003, kSpace},      {0x2004, kSpace},
    {0x2005, kSpace},     {0x2006, kSpace},      {0x2007, kSpace},      {0x2008, kSpace},
    {0x2009, kSpace},     {0x200A, kSpace},      {0x200B, kDrop},       {0x200C, kDrop},
    {0x200D, kDrop},      {0x2010, kHyphen},     {0x2011, kHyphen},     {0x2012, kHyphen},
    {0x2013, kEnDash},    {0x2014, kEmDash},     {0x2015, kEmDash},     {0x2018, kApostrophe},
    {0x2019, kApostrophe}, {0x201A, kApostrophe}, {0x201B, kApostrophe}, {0x201C, kQuote},
    {0x201D, kQuote},     {0x201E, kQuote},      {0x201F, kQuote},      {0x2022, kBullet},
    {0x2023, kBullet},    {0x2026, kEllipsis},   {0x2028, kLineBreak},  {0x2029, kParagraph},
    {0x202F, kSpace},     {0x2032, kApostrophe}, {0x2033, kQuote},      {0x2039, kQuote},
    {0x203A, kQuote},     {0x2043, kBullet},     {0x2044, kSlash},      {0x205F, kSpace},
    {0x2060, kDrop},      {0x2120, kDrop},       {0x2122, kDrop},       {0x2212, kHyphen},
    {0x2215, kSlash},     {0x25AA, kBullet},     {0x25CF, kBullet},     {0x25E6, kBullet},
    {0x3000, kSpace},     {0xFEFF, kDrop},
};

Kind kind_of(uint32_t c) {
  for (const Rule& r : kRules)
    if (r.code == c) return r.kind;
  return kKeep;
}

// Target encodings of the European analyzers; Korean and Chinese have none.
enum Target { kNone, kLatin9, kOther };

Target target_of(int languageId) {
  if (languageId == 0 || languageId == 9) return kNone;
  return languageId == 11 || languageId == 12 ? kOther : kLatin9;
}

bool blank(uint32_t c) { return c == ' ' || c == '\t' || kind_of(c) == kSpace; }
bool digit(uint32_t c) { return c >= '0' && c <= '9'; }

// Lower-case letters of the European languages' alphabets: ASCII, Latin-1,
// Latin Extended-A (where the lower-case member of each pair is odd, or
// even in U+0139..U+0148 and U+0179..U+017E), Greek and Cyrillic.
bool lower_case(uint32_t c) {
  if (c >= 'a' && c <= 'z') return true;
  if (c >= 0xDF && c <= 0xFF) return c != 0xF7;
  if (c >= 0x100 && c <= 0x137) return c & 1;
  if (c >= 0x139 && c <= 0x148) return !(c & 1);
  if (c >= 0x14A && c <= 0x177) return c & 1;
  if (c >= 0x179 && c <= 0x17E) return !(c & 1);
  if (c == 0x138 || c == 0x17F) return true;
  return (c >= 0x3AC && c <= 0x3CE) || (c >= 0x430 && c <= 0x45F);
}

// True when the text before `end` ends in a number, or a time with am or pm
// (10:00pm), so that a dash after it joins a range.
bool ends_number(const Text& t, size_t end) {
  if (end > 0 && digit(t[end - 1])) return true;
  if (end < 3 || (t[end - 1] != 'm' && t[end - 1] != 'M')) return false;
  const uint32_t ap = t[end - 2] | 0x20;
  return (ap == 'a' || ap == 'p') && digit(t[end - 3]);
}

// A dash or bullet standing between phrases: a comma after the phrase before
// it (unless punctuation already ends it), then one blank.
void write_pause(Text* out, bool moreFollows) {
  while (!out->empty() && blank(out->back())) out->pop_back();
  const uint32_t last = out->empty() ? 0 : out->back();
  if (last != 0 && (last > 0x7F || !strchr(",.;:!?(\n", (int)last))) out->push_back(',');
  if (moreFollows && !out->empty()) out->push_back(' ');
}

// English abbreviations that read as words only with their full stop and
// that go on with the sentence: a title before a name, a numbered item
// before its number, "vs." and "feat." before anything. The blank after the
// stop becomes a no-break space (U+00A0), which the English analyzers take
// as a word separator but the piece search does not take as the end of a
// sentence, so "Ep. 5" and "Mr. Smith" are read as one phrase. (Dr and St
// are never sentence ends to the piece search.)
enum Follower { kCapital, kDigit, kWord };

struct Abbreviation {
  const char* letters;
  Follower next;
};

const Abbreviation kJoined[] = {
    {"Mr", kCapital},  {"Mrs", kCapital}, {"Dr", kCapital},   {"Prof", kCapital}, {"vs", kWord},     {"Vs", kWord},
    {"feat", kWord},   {"Feat", kWord},   {"No", kDigit},     {"Ep", kDigit},    {"ep", kDigit},
    {"Vol", kDigit},   {"vol", kDigit},   {"Ch", kDigit},     {"ch", kDigit},    {"Pt", kDigit},
    {"pt", kDigit},    {"Ser", kDigit},   {"approx", kDigit}, {"Approx", kDigit},
};

bool ascii_letter(uint32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool english(int languageId) { return languageId >= 1 && languageId <= 3; }

// True when t[end - n .. end) is the letters of `a` and no letter comes before them.
bool ends_with_word(const Text& t, size_t end, const char* a) {
  const size_t n = strlen(a);
  if (end < n || (end > n && ascii_letter(t[end - n - 1]))) return false;
  for (size_t k = 0; k < n; ++k)
    if (t[end - n + k] != (unsigned char)a[k]) return false;
  return true;
}

bool follows(Follower kind, uint32_t c) {
  switch (kind) {
    case kCapital: return c >= 'A' && c <= 'Z';
    case kDigit: return digit(c);
    case kWord: return ascii_letter(c) || digit(c);
  }
  return false;
}

// Joins each listed abbreviation to the word after it; true when it did.
bool join_abbreviations(Text* t) {
  bool joined = false;
  Text& s = *t;
  for (size_t i = 1; i + 2 < s.size(); ++i) {
    if (s[i] != '.' || (s[i + 1] != ' ' && s[i + 1] != '\t')) continue;
    size_t next = i + 1;
    while (next < s.size() && (s[next] == ' ' || s[next] == '\t')) ++next;
    if (next >= s.size()) break;
    for (const Abbreviation& a : kJoined) {
      if (!ends_with_word(s, i, a.letters) || !follows(a.next, s[next])) continue;
      s.erase(s.begin() + (long)i + 2, s.begin() + (long)next);
      s[i + 1] = 0x00A0;
      joined = true;
      break;
    }
  }
  return joined;
}

// Vulgar fractions, which ISO-8859-15 lacks (its 0xBC..0xBE are Œ œ Ÿ),
// written with a slash for the English rules: "2½" is "2 1/2", two and a
// half. True when it rewrote any.
bool spell_fractions(Text* t) {
  static const struct {
    uint32_t code;
    const char* text;
  } kFractions[] = {{0x00BC, "1/4"}, {0x00BD, "1/2"}, {0x00BE, "3/4"}, {0x2153, "1/3"}, {0x2154, "2/3"}};
  Text out;
  bool any = false;
  for (uint32_t c : *t) {
    const char* text = nullptr;
    for (const auto& f : kFractions)
      if (f.code == c) text = f.text;
    if (!text) {
      out.push_back(c);
      continue;
    }
    any = true;
    if (!out.empty() && digit(out.back())) out.push_back(' ');
    for (const char* p = text; *p; ++p) out.push_back((unsigned char)*p);
  }
  if (any) t->swap(out);
  return any;
}

// The rewrites only the English analyzers read; true when any applied.
bool english_rewrites(int languageId, Text* t) {
  if (!english(languageId)) return false;
  const bool joined = join_abbreviations(t);
  return spell_fractions(t) || joined;
}

// Rewrites `in`; *changed tells whether anything was rewritten.
Text rewrite(const Text& in, Target target, bool* changed) {
  Text out;
  out.reserve(in.size() + 8);
  *changed = false;
  for (size_t i = 0; i < in.size(); ++i) {
    const uint32_t c = in[i];
    const Kind kind = kind_of(c);
    if (kind == kKeep || (kind == kGuillemet && target == kLatin9)) {
      out.push_back(c);
      continue;
    }
    *changed = true;
    switch (kind) {
      case kApostrophe: out.push_back('\''); break;
      case kQuote:
      case kGuillemet: out.push_back('"'); break;
      case kHyphen: out.push_back('-'); break;
      case kEllipsis: {
        // Before a lower-case word the sentence goes on ("Tonight… more
        // news"): a comma pause, which the piece search does not take for
        // the end of a sentence as it does "... ".
        size_t next = i + 1;
        while (next < in.size() && blank(in[next])) ++next;
        if (next < in.size() && lower_case(in[next]) && !out.empty()) {
          write_pause(&out, true);
          i = next - 1;
        } else {
          out.insert(out.end(), {'.', '.', '.'});
        }
        break;
      }
      case kSlash: out.push_back('/'); break;
      case kSpace: out.push_back(' '); break;
      case kLineBreak: out.push_back('\n'); break;
      case kParagraph: out.insert(out.end(), {'\n', '\n'}); break;
      case kDrop: break;
      default: {  // dashes and bullets
        size_t next = i + 1;
        while (next < in.size() && blank(in[next])) ++next;
        size_t prev = out.size();
        while (prev > 0 && blank(out[prev - 1])) --prev;
        const bool spacedBefore = prev < out.size();
        const bool spacedAfter = next > i + 1;
        const bool numbers = kind != kBullet && ends_number(out, prev) && next < in.size() && digit(in[next]);
        const bool minus = kind != kBullet && (prev == 0 || spacedBefore) && !spacedAfter &&
                           next < in.size() && digit(in[next]);
        const bool inWord = kind == kEnDash && !spacedBefore && !spacedAfter && prev > 0;
        if (numbers || inWord) {
          out.resize(prev);  // 7:00 – 8:00 reads as the range 7:00-8:00
          out.push_back('-');
          i = next - 1;
        } else if (minus) {
          out.push_back('-');
        } else {
          write_pause(&out, next < in.size());
          i = next - 1;
        }
      }
    }
  }
  return out;
}

Text decode_utf8(const char* text) {
  Text out;
  CUtf8Iterator it(text);
  while (uint32_t c = it.next()) {
    if (it.invalid()) {
      const auto range = it.current_encoded_range();
      for (const char* p = range.first; p < range.second; ++p) out.push_back(kRawByte + (unsigned char)*p);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

void encode_utf8(uint32_t c, std::vector<char>* out) {
  if (c >= kRawByte + 0x80 && c <= kRawByte + 0xFF)
    out->push_back((char)(c - kRawByte));
  else
    VXN_utf8_append(c, out);
}

uint16_t swap(uint16_t u) { return (uint16_t)((u >> 8) | (u << 8)); }

}  // namespace

char* VXN_typography_utf8(int languageId, const char* text) {
  const Target target = target_of(languageId);
  if (!text || target == kNone) return nullptr;
  bool changed = false;
  Text rewritten = rewrite(decode_utf8(text), target, &changed);
  if (english_rewrites(languageId, &rewritten)) changed = true;
  if (!changed) return nullptr;
  std::vector<char> bytes;
  bytes.reserve(rewritten.size() + 1);
  for (uint32_t c : rewritten) encode_utf8(c, &bytes);
  char* out = static_cast<char*>(VXN_calloc(bytes.size() + 1, 1));
  if (out) memcpy(out, bytes.data(), bytes.size());
  return out;
}

short* VXN_typography_utf16(int languageId, const short* units, int count, int* outCount) {
  const Target target = target_of(languageId);
  if (!units || count <= 0 || target == kNone) return nullptr;
  // Characters outside the basic plane are rewritten as their two surrogate
  // units, which no rule touches, so the units are taken one by one.
  const bool bigEndian = (uint16_t)units[0] == 0xFFFE;
  const int mark = bigEndian || (uint16_t)units[0] == 0xFEFF ? 1 : 0;
  Text in;
  in.reserve((size_t)count);
  for (int i = mark; i < count && units[i] != 0; ++i) {
    const uint16_t u = (uint16_t)units[i];
    in.push_back(bigEndian ? swap(u) : u);
  }
  bool changed = false;
  Text rewritten = rewrite(in, target, &changed);
  if (english_rewrites(languageId, &rewritten)) changed = true;
  if (!changed) return nullptr;
  short* out = static_cast<short*>(VXN_calloc(rewritten.size() + mark + 1, sizeof(short)));
  if (!out) return nullptr;
  if (mark) out[0] = units[0];
  for (size_t i = 0; i < rewritten.size(); ++i) {
    const uint16_t u = (uint16_t)rewritten[i];
    out[mark + i] = (short)(bigEndian ? swap(u) : u);
  }
  if (outCount) *outCount = (int)rewritten.size() + mark;
  return out;
}
