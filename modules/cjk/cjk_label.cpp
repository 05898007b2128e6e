#include "modules/cjk/cjk_label.h"

#include <stdio.h>

namespace cjk {

namespace {

// One position of the flattened utterance: a phone of a syllable, or a pause.
struct Slot {
  std::string phone;
  int phrase = -1, word = -1, syl = -1, phone_in_syl = -1;  // -1 for pauses
  int syl_index = -1;    // utterance syllable index (pauses: -1)
  int word_index = -1;   // utterance word index
  int prev_phrase = -1;  // pauses: the phrases around
  int next_phrase = -1;
};

struct SylRef {
  const Syllable* syl;
  int phrase, word, index_in_word;
};

struct WordRef {
  const Word* word;
  int phrase, index_in_phrase;
};

std::string or_x(const std::string& s) { return s.empty() ? "x" : s; }

int count_syls(const Phrase& p) {
  int n = 0;
  for (const Word& w : p.words) n += (int)w.syls.size();
  return n;
}

int count_words(const Phrase& p) {
  int n = 0;
  for (const Word& w : p.words) n += w.syls.empty() ? 0 : 1;
  return n;
}

struct Flat {
  std::vector<Slot> slots;
  std::vector<SylRef> syls;
  std::vector<WordRef> words;
  std::vector<const Phrase*> phrases;
};

Flat flatten(const Utterance& utt) {
  Flat f;
  for (const Phrase& p : utt.phrases)
    if (count_syls(p) > 0) f.phrases.push_back(&p);
  Slot start;
  start.phone = utt.startPause;
  start.next_phrase = f.phrases.empty() ? -1 : 0;
  f.slots.push_back(start);
  for (int pi = 0; pi < (int)f.phrases.size(); pi++) {
    const Phrase& p = *f.phrases[pi];
    int wi = 0;
    for (const Word& w : p.words) {
      if (w.syls.empty()) continue;
      f.words.push_back({&w, pi, wi});
      for (int si = 0; si < (int)w.syls.size(); si++) {
        f.syls.push_back({&w.syls[si], pi, (int)f.words.size() - 1, si});
        const Syllable& s = w.syls[si];
        for (int k = 0; k < (int)s.phones.size(); k++) {
          Slot slot;
          slot.phone = s.phones[k];
          slot.phrase = pi;
          slot.word = wi;
          slot.syl = si;
          slot.phone_in_syl = k;
          slot.syl_index = (int)f.syls.size() - 1;
          slot.word_index = (int)f.words.size() - 1;
          f.slots.push_back(slot);
        }
      }
      wi++;
    }
    if (pi + 1 < (int)f.phrases.size() && !p.pauseAfter.empty()) {
      Slot pause;
      pause.phone = p.pauseAfter;
      pause.prev_phrase = pi;
      pause.next_phrase = pi + 1;
      f.slots.push_back(pause);
    }
  }
  Slot end;
  end.phone = utt.endPause;
  end.prev_phrase = f.phrases.empty() ? -1 : (int)f.phrases.size() - 1;
  f.slots.push_back(end);
  return f;
}

std::string syl_block(const Flat& f, int index) {
  if (index < 0 || index >= (int)f.syls.size()) return "x_x_0";
  const Syllable& s = *f.syls[index].syl;
  return or_x(s.f1) + "_" + or_x(s.f2) + "_" + std::to_string(s.phones.size());
}

std::string word_block(const Flat& f, int index) {
  if (index < 0 || index >= (int)f.words.size()) return "x_0";
  const Word& w = *f.words[index].word;
  return or_x(w.cls) + "_" + std::to_string(w.syls.size());
}

std::string phrase_block(const Flat& f, int index, char sep) {
  if (index < 0 || index >= (int)f.phrases.size()) return std::string("0") + sep + "0";
  return std::to_string(count_syls(*f.phrases[index])) + sep +
         std::to_string(count_words(*f.phrases[index]));
}

// Groups (accentual phrases or prosodic words) of a phrase in order.
std::vector<int> groups_of(const Phrase& p) {
  std::vector<int> g;
  for (const Word& w : p.words)
    if (!w.syls.empty() && (g.empty() || g.back() != w.group)) g.push_back(w.group);
  return g;
}

}  // namespace

std::vector<std::string> WriteLabels(const Utterance& utt) {
  Flat f = flatten(utt);
  int totalSyls = (int)f.syls.size(), totalWords = (int)f.words.size();
  int totalPhrases = (int)f.phrases.size();
  std::vector<std::string> out;
  int n = (int)f.slots.size();
  int lastSyl = -1, lastWord = -1;  // before the current position
  for (int i = 0; i < n; i++) {
    const Slot& s = f.slots[i];
    auto name = [&](int k) { return k < 0 || k >= n ? std::string("x") : f.slots[k].phone; };
    std::string label = name(i - 2) + "^" + name(i - 1) + "-" + s.phone + "+" + name(i + 1) +
                        "=" + name(i + 2);
    std::string tail = "/J:" + std::to_string(totalSyls) + "+" + std::to_string(totalWords) + "-" +
                       std::to_string(totalPhrases);
    if (s.syl_index < 0) {
      // A pause: the syllables, words and phrases on either side.
      int nextSyl = lastSyl + 1, nextWord = lastWord + 1;
      std::string endTone = s.prev_phrase >= 0 ? or_x(f.phrases[s.prev_phrase]->endTone) : "x";
      label += "/A:" + syl_block(f, lastSyl) + "/B:x-x-x@x-x&x-x#x-x|x/C:" +
               syl_block(f, nextSyl < totalSyls ? nextSyl : -1) + "/D:" +
               word_block(f, lastWord) + "/E:x+x@x+x&x+x/F:" +
               word_block(f, nextWord < totalWords ? nextWord : -1) + "/G:" +
               phrase_block(f, s.prev_phrase, '_') + "/H:x=x@x=x|" + endTone + "/I:" +
               phrase_block(f, s.next_phrase, '=') + tail + "/K:x_x";
      out.push_back(label);
      continue;
    }
    const SylRef& sr = f.syls[s.syl_index];
    const Syllable& syl = *sr.syl;
    const WordRef& wr = f.words[s.word_index];
    const Word& word = *wr.word;
    const Phrase& phrase = *f.phrases[s.phrase];
    // Syllable positions in its group and its phrase.
    int inGroup = 0, groupSize = 0, inPhrase = 0, phraseSize = count_syls(phrase);
    {
      int seen = 0;
      for (const Word& w : phrase.words) {
        if (w.syls.empty()) continue;
        bool self = &w == &word;
        if (w.group == word.group) {
          if (self) inGroup = groupSize + s.syl;
          groupSize += (int)w.syls.size();
        }
        if (self) inPhrase = seen + s.syl;
        seen += (int)w.syls.size();
      }
    }
    std::vector<int> groups = groups_of(phrase);
    int groupIndex = 0;
    for (int g = 0; g < (int)groups.size(); g++)
      if (groups[g] == word.group) groupIndex = g;
    int nwords = count_words(phrase);
    char buf[160];
    snprintf(buf, sizeof buf, "/B:%s-%s-%d@%d-%d&%d-%d#%d-%d|%s", or_x(syl.f1).c_str(),
             or_x(syl.f2).c_str(), (int)syl.phones.size(), s.syl + 1,
             (int)word.syls.size() - s.syl, inGroup + 1, groupSize - inGroup, inPhrase + 1,
             phraseSize - inPhrase, or_x(syl.nucleus).c_str());
    label += "/A:" + syl_block(f, s.syl_index - 1) + buf + "/C:" +
             syl_block(f, s.syl_index + 1 < totalSyls ? s.syl_index + 1 : -1);
    label += "/D:" + word_block(f, s.word_index - 1);
    snprintf(buf, sizeof buf, "/E:%s+%d@%d+%d&%d+%d", or_x(word.cls).c_str(),
             (int)word.syls.size(), wr.index_in_phrase + 1, nwords - wr.index_in_phrase,
             groupIndex + 1, (int)groups.size() - groupIndex);
    label += buf;
    label += "/F:" + word_block(f, s.word_index + 1 < totalWords ? s.word_index + 1 : -1);
    label += "/G:" + phrase_block(f, s.phrase - 1, '_');
    snprintf(buf, sizeof buf, "/H:%d=%d@%d=%d|%s", phraseSize, nwords, s.phrase + 1,
             totalPhrases - s.phrase, or_x(phrase.endTone).c_str());
    label += buf;
    label += "/I:" + phrase_block(f, s.phrase + 1 < totalPhrases ? s.phrase + 1 : -1, '=');
    label += tail;
    label += "/K:" + std::to_string(s.phone_in_syl + 1) + "_" +
             std::to_string((int)syl.phones.size() - s.phone_in_syl);
    out.push_back(label);
    lastSyl = s.syl_index;
    lastWord = s.word_index;
  }
  return out;
}

std::vector<std::string> PhoneSequence(const Utterance& utt) {
  Flat f = flatten(utt);
  std::vector<std::string> out;
  for (const Slot& s : f.slots) out.push_back(s.phone);
  return out;
}

}  // namespace cjk
