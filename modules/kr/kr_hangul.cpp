#include "modules/kr/kr_hangul.h"

namespace kr {

namespace {

// Consonants as the rules see them; ㅇ in onset position is kNone.
enum Cons { kNone, kG, kGG, kN, kD, kDD, kR, kM, kB, kBB, kS, kSS, kNG, kJ, kJJ, kCH, kK, kT, kP, kH };

// Vowel indices of the Unicode syllable composition.
enum Vow { vA, vAE, vYA, vYAE, vEO, vE, vYEO, vYE, vO, vWA, vWAE, vOE, vYO, vU, vWEO, vWE, vWI, vYU, vEU, vUI, vI };

const Cons kOnset[19] = {kG, kGG, kN, kD, kDD, kR, kM, kB, kBB, kS, kSS, kNone, kJ, kJJ, kCH, kK, kT, kP, kH};
// Codas as up to two consonants.
const Cons kCoda[28][2] = {
    {kNone, kNone}, {kG, kNone}, {kGG, kNone}, {kG, kS},  {kN, kNone}, {kN, kJ},    {kN, kH},
    {kD, kNone},    {kR, kNone}, {kR, kG},     {kR, kM},  {kR, kB},    {kR, kS},    {kR, kT},
    {kR, kP},       {kR, kH},    {kM, kNone},  {kB, kNone}, {kB, kS},  {kS, kNone}, {kSS, kNone},
    {kNG, kNone},   {kJ, kNone}, {kCH, kNone}, {kK, kNone}, {kT, kNone}, {kP, kNone}, {kH, kNone}};

const char* const kVowelPhone[21] = {"aa", "ey", "ja", "jh", "ax", "eh", "jx", "je", "ow", "wa", "wh",
                                     "we", "jo", "uw", "wx", "we", "wi", "ju", "ww", "ui", "iy"};

struct Syl {
  Cons onset = kNone;
  int vowel = vA;
  Cons coda = kNone, coda2 = kNone;
  bool wordStart = false, wordEnd = false;
  bool tenseAfter = false;  // a stem cluster (ㄵ ㄻ ㄼ ㄾ) tenses the next lenis onset
  int word = 0;
};

bool is_lenis(Cons c) { return c == kG || c == kD || c == kB || c == kS || c == kJ; }

Cons tense_of(Cons c) {
  switch (c) {
    case kG: return kGG;
    case kD: return kDD;
    case kB: return kBB;
    case kS: return kSS;
    case kJ: return kJJ;
    default: return c;
  }
}

// The representative of an obstruent coda: ㄱ, ㄷ or ㅂ.
Cons neutral(Cons c) {
  switch (c) {
    case kG: case kGG: case kK: return kG;
    case kD: case kT: case kS: case kSS: case kJ: case kCH: case kH: return kD;
    case kB: case kP: return kB;
    default: return c;
  }
}

Cons aspirate_of(Cons c) {
  switch (neutral(c)) {
    case kG: return kK;
    case kB: return kP;
    default: return c == kJ ? kCH : kT;
  }
}

bool is_y_vowel(int v) {
  return v == vYA || v == vYAE || v == vYEO || v == vYE || v == vYO || v == vYU || v == vI;
}

// Cluster simplification before a consonant or at the end: ㄺ ㄻ ㄿ keep their
// second consonant, every other cluster its first.
void simplify_cluster(Syl& s) {
  if (s.coda2 == kNone) return;
  if (s.coda == kN && s.coda2 == kJ) s.tenseAfter = true;
  if (s.coda == kR && (s.coda2 == kM || s.coda2 == kB || s.coda2 == kT)) s.tenseAfter = true;
  if (s.coda == kR && (s.coda2 == kG || s.coda2 == kM || s.coda2 == kP)) s.coda = s.coda2;
  if (s.coda == kM) s.tenseAfter = true;
  s.coda2 = kNone;
}

std::vector<Syl> decompose(const std::vector<std::u32string>& words) {
  std::vector<Syl> out;
  for (size_t w = 0; w < words.size(); w++) {
    bool first = true;
    for (char32_t c : words[w]) {
      if (!IsHangulSyllable(c)) continue;
      uint32_t k = c - 0xAC00;
      Syl s;
      s.onset = kOnset[k / (21 * 28)];
      s.vowel = (int)((k / 28) % 21);
      s.coda = kCoda[k % 28][0];
      s.coda2 = kCoda[k % 28][1];
      s.wordStart = first;
      s.word = (int)w;
      first = false;
      out.push_back(s);
    }
    if (!first) out.back().wordEnd = true;
  }
  return out;
}

// Vowels: ㅢ, y-vowels after palatal affricates, ㅖ after consonants, ㅚ.
void simplify_vowels(std::vector<Syl>& syl) {
  for (Syl& s : syl) {
    if (s.vowel == vUI) {
      if (s.onset != kNone) s.vowel = vI;                        // 희망 [히망]
      else if (!s.wordStart && s.wordEnd) s.vowel = vE;          // 나의 [나에]
      else if (!s.wordStart) s.vowel = vI;                       // 주의 [주이]
    }
    if (s.onset == kJ || s.onset == kJJ || s.onset == kCH) {
      static const int kPlain[][2] = {{vYA, vA}, {vYAE, vAE}, {vYEO, vEO}, {vYE, vE}, {vYO, vO}, {vYU, vU}};
      for (const auto& p : kPlain)
        if (s.vowel == p[0]) s.vowel = p[1];
    }
    if (s.vowel == vYE && s.onset != kNone && s.onset != kR) s.vowel = vE;  // 계 [게]
  }
}

// A vowel-initial syllable after a coda: palatalisation, ㅎ deletion, linking.
void link(Syl& a, Syl& b, bool sameWord) {
  if (a.coda == kNone || b.onset != kNone) return;
  if (!sameWord) {
    // Across words the coda is neutralised first, then linked (옷 안 [오단]).
    simplify_cluster(a);
    Cons c = neutral(a.coda);
    if (c == kNG || c == kNone) return;
    b.onset = c;
    a.coda = kNone;
    return;
  }
  Cons last = a.coda2 != kNone ? a.coda2 : a.coda;
  if ((last == kD || last == kT) && b.vowel == vI) {  // 굳이 [구지], 같이 [가치]
    b.onset = last == kD ? kJ : kCH;
  } else if (last == kH) {                           // 좋아 [조아], 않아 [아나]
    if (a.coda2 == kNone) {
      a.coda = kNone;
      return;
    }
    b.onset = a.coda;
    a.coda = a.coda2 = kNone;
    return;
  } else if (last == kNG) {
    return;  // ㅇ stays in the coda
  } else {
    b.onset = last;
  }
  if (a.coda2 != kNone) a.coda2 = kNone;
  else a.coda = kNone;
}

// ㅎ with a lenis neighbour: aspiration (놓고 [노코], 축하 [추카]), ㅎ+ㅅ [ㅆ],
// ㅎ+ㄴ [ㄴㄴ].
void aspirate(Syl& a, Syl& b) {
  bool codaH = a.coda == kH || a.coda2 == kH;
  if (codaH && b.onset != kNone && b.onset != kH) {
    bool dropped = true;
    if (b.onset == kG || b.onset == kD || b.onset == kJ) b.onset = aspirate_of(b.onset);
    else if (b.onset == kS) b.onset = kSS;
    else if (b.onset == kN && a.coda2 == kNone) a.coda = kN, dropped = false;
    if (dropped) {
      if (a.coda2 == kH) a.coda2 = kNone;
      else a.coda = kNone;
    }
    return;
  }
  if (b.onset != kH) return;
  Cons last = a.coda2 != kNone ? a.coda2 : a.coda;
  Cons n = neutral(last);
  if (n != kG && n != kD && n != kB) return;
  if (last == kD && b.vowel == vI) b.onset = kCH;  // 굳히다 [구치다]
  else b.onset = aspirate_of(last);
  if (a.coda2 != kNone) a.coda2 = kNone;
  else a.coda = kNone;
}

bool is_dependent_noun_start(const std::vector<Syl>& syl, size_t i, const std::vector<std::u32string>& words) {
  static const char32_t* const kNouns[] = {U"수", U"것", U"거", U"데", U"줄", U"적", U"바"};
  const std::u32string& w = words[syl[i].word];
  for (const char32_t* n : kNouns)
    if (w.compare(0, std::char_traits<char32_t>::length(n), n) == 0) return true;
  return false;
}

}  // namespace

std::vector<std::vector<PhonSyllable>> Pronounce(const std::vector<std::u32string>& words) {
  std::vector<Syl> syl = decompose(words);
  simplify_vowels(syl);
  size_t n = syl.size();
  for (size_t i = 0; i + 1 < n; i++) aspirate(syl[i], syl[i + 1]);
  for (size_t i = 0; i + 1 < n; i++) link(syl[i], syl[i + 1], syl[i].word == syl[i + 1].word);
  for (Syl& s : syl) {
    simplify_cluster(s);
    if (s.coda == kH && !s.wordEnd) s.coda = kD;
    s.coda = neutral(s.coda);
  }
  // Tensification after an obstruent coda, after stem clusters and after the
  // adnominal ㄹ before a dependent noun (할 수 [할쑤]).
  for (size_t i = 0; i + 1 < n; i++) {
    Syl& a = syl[i];
    Syl& b = syl[i + 1];
    if (!is_lenis(b.onset)) continue;
    bool obstruent = a.coda == kG || a.coda == kD || a.coda == kB;
    bool adnominal = a.coda == kR && a.wordEnd && b.wordStart && is_dependent_noun_start(syl, i + 1, words);
    if (obstruent || (a.tenseAfter && a.word == b.word) || adnominal) b.onset = tense_of(b.onset);
  }
  // ㄹ after a consonant other than ㄴ/ㄹ becomes ㄴ; then nasal assimilation
  // and lateralisation.
  for (size_t i = 0; i + 1 < n; i++) {
    Syl& a = syl[i];
    Syl& b = syl[i + 1];
    if (b.onset == kR && (a.coda == kM || a.coda == kNG || a.coda == kG || a.coda == kB || a.coda == kD))
      b.onset = kN;                                     // 종로 [종노], 국력 [국녁]
    if (b.onset == kN || b.onset == kM) {
      if (a.coda == kG) a.coda = kNG;                   // 국물 [궁물]
      else if (a.coda == kD) a.coda = kN;               // 닫는 [단는]
      else if (a.coda == kB) a.coda = kM;               // 밥물 [밤물]
    }
    if (a.coda == kN && b.onset == kR) a.coda = kR;     // 신라 [실라]
    if (a.coda == kR && b.onset == kN) b.onset = kR;    // 칼날 [칼랄]
  }
  // Phones with allophones: lenis stops voiceless at the phrase start and
  // voiced after a voiced sound; ㅎ [h] at the start, weak [ɦ] between voiced
  // sounds; ㄹ a flap between vowels and [l] after ㄹ.
  std::vector<std::vector<PhonSyllable>> out(words.size());
  for (size_t i = 0; i < n; i++) {
    const Syl& s = syl[i];
    PhonSyllable p;
    bool initial = i == 0;
    bool afterR = i > 0 && syl[i - 1].coda == kR;
    switch (s.onset) {
      case kNone: break;
      case kG: p.phones.push_back(initial ? "k" : "g"); break;
      case kD: p.phones.push_back(initial ? "t" : "d"); break;
      case kB: p.phones.push_back(initial ? "p" : "b"); break;
      case kJ: p.phones.push_back(initial ? "c" : "zh"); break;
      case kGG: p.phones.push_back("kk"); break;
      case kDD: p.phones.push_back("tt"); break;
      case kBB: p.phones.push_back("pp"); break;
      case kJJ: p.phones.push_back("cc"); break;
      case kSS: p.phones.push_back("ss"); break;
      case kS: p.phones.push_back("s"); break;
      case kK: p.phones.push_back("kh"); break;
      case kT: p.phones.push_back("th"); break;
      case kP: p.phones.push_back("ph"); break;
      case kCH: p.phones.push_back("ch"); break;
      case kH: p.phones.push_back(initial ? "h" : is_y_vowel(s.vowel) ? "hi" : "hh"); break;
      case kN: p.phones.push_back("n"); break;
      case kM: p.phones.push_back("m"); break;
      case kR: p.phones.push_back(afterR ? "l" : "r"); break;
      default: break;
    }
    p.vowel = kVowelPhone[s.vowel];
    p.phones.push_back(p.vowel);
    const char* coda = nullptr;
    switch (s.coda) {
      case kG: coda = "kx"; break;
      case kD: coda = "tx"; break;
      case kB: coda = "px"; break;
      case kN: coda = "nx"; break;
      case kM: coda = "mx"; break;
      case kNG: coda = "nn"; break;
      case kR: coda = "lx"; break;
      default: break;
    }
    if (coda) {
      p.phones.push_back(coda);
      p.coda = true;
    }
    out[s.word].push_back(p);
  }
  return out;
}

std::string PronounceWord(const std::u32string& word) {
  std::string out;
  for (const auto& w : Pronounce({word}))
    for (const PhonSyllable& s : w)
      for (const std::string& ph : s.phones) out += (out.empty() ? "" : " ") + ph;
  return out;
}

}  // namespace kr
