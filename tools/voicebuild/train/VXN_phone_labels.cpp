#include "tools/voicebuild/train/VXN_phone_labels.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vxn {
namespace train {

namespace {

// UTF-8 decoding of one code point; advances i. Invalid bytes read as '?'.
unsigned next_code_point(const std::string& s, std::size_t& i) {
  const unsigned char c = (unsigned char)s[i++];
  if (c < 0x80) return c;
  int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0) return '?';
  unsigned cp = c & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size() || ((unsigned char)s[i] & 0xC0) != 0x80) return '?';
    cp = (cp << 6) | ((unsigned char)s[i++] & 0x3F);
  }
  return cp;
}

std::vector<unsigned> code_points(const std::string& s) {
  std::vector<unsigned> out;
  for (std::size_t i = 0; i < s.size();) out.push_back(next_code_point(s, i));
  return out;
}

unsigned lower(unsigned c) {
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;  // А..Я
  if (c == 0x401) return 0x451;                   // Ё
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  return c;
}

bool is_letter(unsigned c) {
  return (c >= 0x400 && c <= 0x4FF) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct PromptWord {
  int vowels = 0;
  int coda_letters = 0;  // consonant letters after the last vowel
};

std::vector<PromptWord> prompt_words(const std::string& prompt, const std::vector<unsigned>& vowels) {
  std::vector<PromptWord> out;
  const std::vector<unsigned> cps = code_points(prompt);
  const unsigned soft_sign = 0x44C, hard_sign = 0x44A;
  bool in_word = false;
  for (std::size_t i = 0; i <= cps.size(); ++i) {
    const unsigned c = i < cps.size() ? lower(cps[i]) : ' ';
    if (c == '+') continue;  // stress mark
    if (is_letter(c) || (in_word && c == '-' && i + 1 < cps.size() && is_letter(cps[i + 1]))) {
      if (!in_word) out.push_back(PromptWord());
      in_word = true;
      if (c == '-') continue;
      if (std::find(vowels.begin(), vowels.end(), c) != vowels.end()) {
        out.back().vowels++;
        out.back().coda_letters = 0;
      } else if (c != soft_sign && c != hard_sign) {
        out.back().coda_letters++;
      }
    } else {
      in_word = false;
    }
  }
  return out;
}

struct Syllable {
  std::vector<int> phones;  // segment indexes
  bool stressed = false;
  std::string vowel = "novowel";
  int word = 0;
};
struct Word {
  std::vector<int> syls;
  int phrase = 0;
  bool content = false;
};
struct Phrase {
  std::vector<int> words;
};

int cap(int v) { return std::min(v, 19); }

}  // namespace

bool parse_phone_alignment(const std::string& text, const std::string& name,
                           std::vector<TimedPhone>* out, std::string* error) {
  out->clear();
  int line = 0;
  bool header_done = false;
  double previous = 0.0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string buf = text.substr(pos, end - pos);
    pos = end + 1;
    ++line;
    if (!buf.empty() && buf.back() == '\r') buf.pop_back();
    if (!header_done) {
      if (!buf.empty() && buf[0] == '#') header_done = true;
      continue;
    }
    if (buf.find_first_not_of(" \t") == std::string::npos) continue;
    char phone[64];
    double stop = 0.0;
    int colour = 0;
    char extra = 0;
    const int n = std::sscanf(buf.c_str(), "%lf %d %63s %c", &stop, &colour, phone, &extra);
    if (n != 3 || !(stop >= previous) || !(stop < 1e6)) {
      if (error)
        *error = "read_phone_alignment: " + name + ":" + std::to_string(line) +
                 ": expected \"END COLOUR PHONE\" with END not decreasing, got \"" +
                 buf.substr(0, 200) + "\"";
      return false;
    }
    out->push_back({phone, previous, stop});
    previous = stop;
  }
  if (out->empty()) {
    if (error) *error = "read_phone_alignment: " + name + ": no phones";
    return false;
  }
  return true;
}

bool read_text_file(const std::string& path, std::string* text) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return false;
  text->clear();
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), fp)) > 0) text->append(buf, n);
  std::fclose(fp);
  return true;
}

bool read_phone_alignment(const std::string& path, std::vector<TimedPhone>* out,
                          std::string* error) {
  std::string text;
  if (!read_text_file(path, &text)) {
    if (error) *error = "read_phone_alignment: " + path + ": cannot open";
    return false;
  }
  return parse_phone_alignment(text, path, out, error);
}

PhoneSet russian_phone_set() {
  PhoneSet s;
  s.vowels = {"ii", "yy", "uu", "ee", "oo", "aa", "a", "e", "i", "y", "u", "ae", "ay", "ur"};
  s.stressed = {"ii", "yy", "uu", "ee", "oo", "aa"};
  s.sonorants = {"m", "mm", "n", "nn", "l", "ll", "r", "rr", "j"};
  s.vowel_letters = "аеёиоуыэюя";
  return s;
}

bool phone_labels(const std::vector<TimedPhone>& phones, const std::string& prompt,
                  const PhoneSet& set, std::vector<TimedLabel>* out, PhoneLabelReport* report,
                  std::string* error) {
  const int n = (int)phones.size();
  auto is_pause = [&](int i) { return phones[i].phone == set.pause; };
  auto is_vowel = [&](int i) { return set.vowels.count(phones[i].phone) > 0; };
  int speech = 0, vowel_phones = 0;
  for (int i = 0; i < n; ++i) {
    if (!is_pause(i)) ++speech;
    if (is_vowel(i)) ++vowel_phones;
  }
  if (speech == 0) {
    if (error) *error = "phone_labels: no phone other than " + set.pause;
    return false;
  }

  // Words as runs of phone indexes.
  const std::vector<PromptWord> pw = prompt_words(prompt, code_points(set.vowel_letters));
  int prompt_vowels = 0;
  for (const PromptWord& w : pw) prompt_vowels += w.vowels;
  std::vector<std::vector<int>> words;
  const bool from_prompt = prompt_vowels == vowel_phones && vowel_phones > 0;
  if (report) report->words_from_prompt = from_prompt;
  if (from_prompt) {
    // Vowel-less words lean on the next word (or the previous one at the end).
    std::vector<PromptWord> merged;
    for (const PromptWord& w : pw)
      if (w.vowels > 0) merged.push_back(w);
    int phone = 0;
    for (std::size_t w = 0; w < merged.size(); ++w) {
      std::vector<int> cur;
      int vowels_left = merged[w].vowels;
      while (phone < n && vowels_left > 0) {
        if (is_pause(phone)) {
          if (!cur.empty()) words.push_back(cur);
          cur.clear();
        } else {
          cur.push_back(phone);
          if (is_vowel(phone)) --vowels_left;
        }
        ++phone;
      }
      // Consonants up to the next vowel or pause: the word keeps as many as
      // it spells after its last vowel, the rest start the next word.
      int consonants = 0;
      while (phone + consonants < n && !is_pause(phone + consonants) &&
             !is_vowel(phone + consonants))
        ++consonants;
      const bool last = w + 1 == merged.size();
      const int keep = last ? consonants : std::min(consonants, merged[w].coda_letters);
      for (int k = 0; k < keep; ++k) cur.push_back(phone++);
      if (!cur.empty()) words.push_back(cur);
    }
    // Phones left after the last word (trailing consonants) join it.
    for (; phone < n; ++phone)
      if (!is_pause(phone)) words.back().push_back(phone);
  } else {
    std::vector<int> cur;
    for (int i = 0; i <= n; ++i) {
      if (i == n || is_pause(i)) {
        if (!cur.empty()) words.push_back(cur);
        cur.clear();
      } else {
        cur.push_back(i);
      }
    }
  }

  // Phrases: words between pauses.
  std::vector<Phrase> phrases;
  std::vector<Word> wl;
  std::vector<Syllable> sl;
  std::vector<int> seg_syl(n, -1);
  int last_end = -1;
  for (const std::vector<int>& w : words) {
    bool pause_before = phrases.empty();
    for (int i = last_end + 1; i < w.front(); ++i)
      if (is_pause(i)) pause_before = true;
    if (pause_before) phrases.push_back(Phrase());
    last_end = w.back();
    Word word;
    word.phrase = (int)phrases.size() - 1;
    // Syllables: nuclei are vowels; a sonorant before another consonant
    // closes the syllable before it.
    std::vector<int> nuclei;
    for (std::size_t k = 0; k < w.size(); ++k)
      if (is_vowel(w[k])) nuclei.push_back((int)k);
    std::vector<std::pair<int, int>> spans;  // [first, last] positions in w
    if (nuclei.empty()) {
      spans.push_back({0, (int)w.size() - 1});
    } else {
      int start = 0;
      for (std::size_t v = 0; v < nuclei.size(); ++v) {
        int end = (int)w.size() - 1;
        if (v + 1 < nuclei.size()) {
          const int gap_first = nuclei[v] + 1, gap_last = nuclei[v + 1] - 1;
          const int gap = gap_last - gap_first + 1;
          end = nuclei[v];
          if (gap >= 2 && set.sonorants.count(phones[w[gap_first]].phone)) end = gap_first;
        }
        spans.push_back({start, end});
        start = end + 1;
      }
    }
    for (const auto& sp : spans) {
      Syllable s;
      s.word = (int)wl.size();
      for (int k = sp.first; k <= sp.second; ++k) {
        s.phones.push_back(w[k]);
        seg_syl[w[k]] = (int)sl.size();
        if (is_vowel(w[k])) {
          s.vowel = phones[w[k]].phone;
          if (set.stressed.count(s.vowel)) s.stressed = true;
        }
      }
      if (s.stressed) word.content = true;
      word.syls.push_back((int)sl.size());
      sl.push_back(s);
    }
    phrases.back().words.push_back((int)wl.size());
    wl.push_back(word);
  }

  const bool question = prompt.find('?') != std::string::npos;
  auto phrase_syls = [&](int p) {
    int c = 0;
    for (int w : phrases[p].words) c += (int)wl[w].syls.size();
    return c;
  };
  const int total_syls = (int)sl.size(), total_words = (int)wl.size(),
            total_phrases = (int)phrases.size();
  auto gpos = [&](int w) { return std::string(wl[w].content ? "content" : "0"); };
  auto name = [&](int i) { return i < 0 || i >= n ? std::string("x") : phones[i].phone; };

  out->clear();
  char buf[1024];
  for (int i = 0; i < n; ++i) {
    const bool pause_ahead = (i + 1 < n && is_pause(i + 1)) || (i + 2 < n && is_pause(i + 2));
    const std::string quint = name(i - 2) + "^" + name(i - 1) + "-" + name(i) + "+" +
                              name(i + 1) + "=" + name(i + 2);
    if (is_pause(i)) {
      // Neighbouring syllables, words and phrases through the adjacent segments.
      const int ps = i > 0 ? seg_syl[i - 1] : -1, ns = i + 1 < n ? seg_syl[i + 1] : -1;
      const int pw_ = ps >= 0 ? sl[ps].word : -1, nw = ns >= 0 ? sl[ns].word : -1;
      const int pp = pw_ >= 0 ? wl[pw_].phrase : -1, np = nw >= 0 ? wl[nw].phrase : -1;
      std::snprintf(buf, sizeof(buf),
                    "%s@x_x/A:%d_%d_%d/B:x-x-x@x-x&x-x#x-x$x-x!x-x;x-x|x/C:%d+%d+%d/D:%s_%d/"
                    "E:x+x@x+x&x+x#x+x/F:%s_%d/G:%d_%d/H:x=x@x=x|%s/I:%d=%d/J:%d+%d-%d",
                    quint.c_str(), ps >= 0 ? (int)sl[ps].stressed : 0, ps >= 0 ? (int)sl[ps].stressed : 0,
                    ps >= 0 ? (int)sl[ps].phones.size() : 0, ns >= 0 ? (int)sl[ns].stressed : 0,
                    ns >= 0 ? (int)sl[ns].stressed : 0, ns >= 0 ? (int)sl[ns].phones.size() : 0,
                    pw_ >= 0 ? gpos(pw_).c_str() : "0", pw_ >= 0 ? (int)wl[pw_].syls.size() : 0,
                    nw >= 0 ? gpos(nw).c_str() : "0", nw >= 0 ? (int)wl[nw].syls.size() : 0,
                    pp >= 0 ? phrase_syls(pp) : 0, pp >= 0 ? (int)phrases[pp].words.size() : 0, "0",
                    np >= 0 ? phrase_syls(np) : 0, np >= 0 ? (int)phrases[np].words.size() : 0,
                    total_syls, total_words, total_phrases);
    } else {
      const int s = seg_syl[i];
      const Syllable& syl = sl[s];
      const int w = syl.word;
      const Word& word = wl[w];
      const int p = word.phrase;
      const Phrase& ph = phrases[p];
      const int pos_in_syl = (int)(std::find(syl.phones.begin(), syl.phones.end(), i) - syl.phones.begin());
      const int pos_in_word = (int)(std::find(word.syls.begin(), word.syls.end(), s) - word.syls.begin());
      // Syllables of the phrase, in order, and this one's place among them.
      std::vector<int> psyls;
      for (int pw2 : ph.words)
        for (int s2 : wl[pw2].syls) psyls.push_back(s2);
      const int k = (int)(std::find(psyls.begin(), psyls.end(), s) - psyls.begin());
      int ssyl_in = 0, ssyl_out = 0, dp = 0, dn = 0;
      for (int j = 0; j < k; ++j) ssyl_in += sl[psyls[j]].stressed;
      for (int j = k + 1; j < (int)psyls.size(); ++j) ssyl_out += sl[psyls[j]].stressed;
      for (int j = k - 1; j >= 0; --j)
        if (sl[psyls[j]].stressed) {
          dp = k - j;
          break;
        }
      for (int j = k + 1; j < (int)psyls.size(); ++j)
        if (sl[psyls[j]].stressed) {
          dn = j - k;
          break;
        }
      int b7 = cap((int)psyls.size() - 1 - k) + 1;
      if (!pause_ahead && b7 == 1) b7 = 2;
      const int wk = (int)(std::find(ph.words.begin(), ph.words.end(), w) - ph.words.begin());
      int cw_in = 0, cw_out = 0, cdp = 0, cdn = 0;
      for (int j = 0; j < wk; ++j) cw_in += wl[ph.words[j]].content;
      for (int j = wk + 1; j < (int)ph.words.size(); ++j) cw_out += wl[ph.words[j]].content;
      for (int j = wk - 1; j >= 0; --j)
        if (wl[ph.words[j]].content) {
          cdp = wk - j;
          break;
        }
      for (int j = wk + 1; j < (int)ph.words.size(); ++j)
        if (wl[ph.words[j]].content) {
          cdn = j - wk;
          break;
        }
      int e4 = (int)ph.words.size() - wk;
      if (!pause_ahead && e4 == 1) e4 = 2;
      const int ps = s > 0 ? s - 1 : -1, ns = s + 1 < total_syls ? s + 1 : -1;
      const int pw_ = w > 0 ? w - 1 : -1, nw = w + 1 < total_words ? w + 1 : -1;
      const std::string tone = p + 1 == total_phrases ? (question ? "H-H%" : "L-L%") : "0";
      std::snprintf(
          buf, sizeof(buf),
          "%s@%d_%d/A:%d_%d_%d/B:%d-%d-%d@%d-%d&%d-%d#%d-%d$%d-%d!%d-%d;%d-%d|%s/C:%d+%d+%d/"
          "D:%s_%d/E:%s+%d@%d+%d&%d+%d#%d+%d/F:%s_%d/G:%d_%d/H:%d=%d@%d=%d|%s/I:%d=%d/J:%d+%d-%d",
          quint.c_str(), pos_in_syl + 1, (int)syl.phones.size() - pos_in_syl,
          ps >= 0 ? (int)sl[ps].stressed : 0, ps >= 0 ? (int)sl[ps].stressed : 0,
          ps >= 0 ? (int)sl[ps].phones.size() : 0, (int)syl.stressed, (int)syl.stressed,
          (int)syl.phones.size(), pos_in_word + 1, (int)word.syls.size() - pos_in_word, cap(k) + 1,
          b7, cap(ssyl_in) + 1, cap(ssyl_out) + 1, cap(ssyl_in) + 1, cap(ssyl_out) + 1, cap(dp),
          cap(dn), cap(dp), cap(dn), syl.vowel.c_str(), ns >= 0 ? (int)sl[ns].stressed : 0,
          ns >= 0 ? (int)sl[ns].stressed : 0, ns >= 0 ? (int)sl[ns].phones.size() : 0,
          pw_ >= 0 ? gpos(pw_).c_str() : "0", pw_ >= 0 ? (int)wl[pw_].syls.size() : 0,
          gpos(w).c_str(), (int)word.syls.size(), wk + 1, e4, cw_in + 1, cw_out + 1, cdp, cdn,
          nw >= 0 ? gpos(nw).c_str() : "0", nw >= 0 ? (int)wl[nw].syls.size() : 0,
          p > 0 ? phrase_syls(p - 1) : 0, p > 0 ? (int)phrases[p - 1].words.size() : 0,
          (int)psyls.size(), (int)ph.words.size(), p + 1, std::min(total_phrases - p, 3),
          tone.c_str(), p + 1 < total_phrases ? phrase_syls(p + 1) : 0,
          p + 1 < total_phrases ? (int)phrases[p + 1].words.size() : 0, total_syls, total_words,
          total_phrases);
    }
    out->push_back({buf, phones[i].start_s, phones[i].end_s});
  }
  return true;
}

}  // namespace train
}  // namespace vxn
