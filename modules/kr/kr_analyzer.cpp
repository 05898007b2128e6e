#include "modules/kr/kr_analyzer.h"

#include <algorithm>

#include "modules/cjk/cjk_resource.h"
#include "modules/cjk/cjk_text.h"
#include "modules/kr/kr_hangul.h"

namespace kr {

namespace {

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

bool laryngeal(const std::string& phone) {
  static const char* const kSet[] = {"kh", "th", "ph", "ch", "kk", "tt", "pp", "cc", "ss", "s", "h", "hh", "hi"};
  for (const char* p : kSet)
    if (phone == p) return true;
  return false;
}

// Tone targets of one accentual phrase: T H ... L H, where T is H after a
// tense, aspirated or fricative onset and L otherwise; "0" marks syllables
// that only carry the interpolation.
std::vector<std::string> ap_tones(const std::vector<const PhonSyllable*>& syls) {
  size_t n = syls.size();
  std::vector<std::string> t(n, "0");
  if (n == 0) return t;
  t[0] = laryngeal(syls[0]->phones[0]) ? "H" : "L";
  if (n >= 2) t[1] = "H";
  if (n >= 4) t[n - 2] = "L";
  if (n >= 3) t[n - 1] = "H";
  return t;
}

}  // namespace

bool KoreanAnalysis::Load(const std::string& modelDir, const std::string& dataDir) {
  loaded_ = false;
  tables_ = KoreanTables();
  endings_.clear();
  cjk::ResourceFile config, model, breaks, symbols;
  if (!config.Load(modelDir + "Ko/config.ini") || !model.Load(modelDir + "Ko/main.model") ||
      !breaks.Load(modelDir + "Ko/vxnkr.pb") || !symbols.Load(dataDir + "symbol.ini")) {
    for (const cjk::ResourceFile* f : {&config, &model, &breaks, &symbols})
      if (!f->error().empty()) error_ = f->error();
    return false;
  }
  maxPhraseSyllables_ = config.IntValue("phrasing", "max_phrase_syllables", 14);
  minBreakSyllables_ = config.IntValue("phrasing", "min_break_syllables", 6);
  for (const auto& e : model.Section("counters_native")) tables_.counters[u32(e.first)] = true;
  for (const auto& e : model.Section("counters_sino")) tables_.counters[u32(e.first)] = false;
  for (const auto& e : model.Section("letters")) tables_.letters[e.first] = u32(e.second);
  for (const auto& e : model.Section("latin_words")) tables_.latinWords[e.first] = u32(e.second);
  for (const auto& e : model.Section("respell")) tables_.respell[u32(e.first)] = u32(e.second);
  for (const auto& e : model.Section("currencies")) {
    std::u32string sign = u32(e.first);
    if (sign.size() == 1) tables_.currencies[sign[0]] = u32(e.second);
  }
  for (const auto& e : symbols.Section("symbols")) {
    std::u32string sign = u32(e.first);
    if (sign.size() == 1 && !e.second.empty()) tables_.symbols[sign[0]] = u32(e.second);
  }
  for (const char* section : {"particles", "endings"}) {
    for (const auto& e : breaks.Section(section)) {
      // value: "<class> <strength>"
      size_t blank = e.second.find(' ');
      Ending ending{u32(e.first), e.second.substr(0, blank), 0};
      if (blank != std::string::npos) ending.strength = atoi(e.second.c_str() + blank + 1);
      if (!ending.text.empty() && !ending.cls.empty()) endings_.push_back(ending);
    }
  }
  std::stable_sort(endings_.begin(), endings_.end(),
                   [](const Ending& a, const Ending& b) { return a.text.size() > b.text.size(); });
  if (tables_.letters.size() < 26 || tables_.counters.empty() || endings_.empty()) {
    error_ = "kr_load: tables incomplete in '" + modelDir + "Ko/' (letters " +
             std::to_string(tables_.letters.size()) + ", counters " +
             std::to_string(tables_.counters.size()) + ", endings " + std::to_string(endings_.size()) + ")";
    return false;
  }
  error_.clear();
  loaded_ = true;
  return true;
}

std::string KoreanAnalysis::WordClass(const NormWord& w, int* strength) const {
  *strength = 0;
  if (w.number) return "num";
  for (const Ending& e : endings_) {
    if (w.text.size() > e.text.size() &&
        w.text.compare(w.text.size() - e.text.size(), e.text.size(), e.text) == 0) {
      *strength = e.strength;
      return e.cls;
    }
  }
  return "n";
}

PieceAnalysis KoreanAnalysis::Analyze(const std::vector<uint32_t>& piece, bool sentenceEnd) const {
  PieceAnalysis result;
  for (size_t k = piece.size(); k-- > 0;) {
    uint32_t c = cjk::FoldWidth(piece[k]);
    if (c == '?') result.uttType = 'B';
    if (c != '?' && c != '!' && c != '.' && c != '"' && c != '\'' && c != ')' && !cjk::IsSpace(c)) break;
  }
  std::vector<NormWord> words = Normalize(piece, tables_);
  // Phrases: breaks at clause marks, and after a strong particle or ending
  // once the phrase has grown long.
  cjk::Utterance utt;
  utt.startPause = "#";
  utt.endPause = sentenceEnd ? "#e" : "#l";
  std::vector<std::vector<const NormWord*>> phrases(1);
  std::vector<std::vector<std::string>> classes(1);
  std::vector<std::string> pauses;
  int syllables = 0;
  for (size_t i = 0; i < words.size(); i++) {
    const NormWord& w = words[i];
    int strength = 0;
    std::string cls = WordClass(w, &strength);
    phrases.back().push_back(&w);
    classes.back().push_back(cls);
    syllables += (int)w.text.size();
    bool last = i + 1 == words.size();
    std::string pause;
    if (w.breakAfter) pause = "#l";
    else if ((strength >= 3 && syllables >= minBreakSyllables_) ||
             (strength >= 2 && syllables >= maxPhraseSyllables_))
      pause = "#s";
    if (!pause.empty() && !last) {
      pauses.push_back(pause);
      phrases.emplace_back();
      classes.emplace_back();
      syllables = 0;
    }
  }
  for (size_t p = 0; p < phrases.size(); p++) {
    std::vector<std::u32string> texts;
    for (const NormWord* w : phrases[p]) texts.push_back(w->text);
    std::vector<std::vector<PhonSyllable>> pron = Pronounce(texts);
    cjk::Phrase phrase;
    bool lastPhrase = p + 1 == phrases.size();
    phrase.pauseAfter = lastPhrase ? "" : pauses[p];
    phrase.endTone = lastPhrase ? (result.uttType == 'B' ? "H%" : sentenceEnd ? "L%" : "LH%")
                                : (pauses[p] == "#l" ? "LH%" : "Ha");
    for (size_t w = 0; w < texts.size(); w++) {
      cjk::Word word;
      word.text = utf8(texts[w]);
      word.cls = classes[p][w];
      word.group = (int)w;  // one accentual phrase per eojeol
      std::vector<const PhonSyllable*> syls;
      for (const PhonSyllable& s : pron[w]) syls.push_back(&s);
      std::vector<std::string> tones = ap_tones(syls);
      for (size_t s = 0; s < syls.size(); s++) {
        cjk::Syllable syl;
        syl.phones = syls[s]->phones;
        syl.f1 = tones[s];
        syl.f2 = syls[s]->coda ? "1" : "0";
        syl.nucleus = syls[s]->vowel;
        word.syls.push_back(syl);
      }
      if (!word.syls.empty()) {
        result.words.push_back(word.text);
        phrase.words.push_back(word);
      }
    }
    if (!phrase.pauseAfter.empty() && !phrase.words.empty()) result.words.push_back(phrase.pauseAfter);
    utt.phrases.push_back(phrase);
  }
  if (!result.words.empty() && result.words.back()[0] == '#') result.words.pop_back();
  bool any = false;
  for (const cjk::Phrase& p : utt.phrases) any = any || !p.words.empty();
  if (!any) return result;
  // Breaks between phrases that lost all their words disappear with them.
  for (size_t p = 0; p + 1 < utt.phrases.size(); p++)
    if (utt.phrases[p].words.empty()) utt.phrases[p].pauseAfter.clear();
  result.phones = cjk::PhoneSequence(utt);
  if (result.phones.size() >= 2) result.reading.assign(result.phones.begin() + 1, result.phones.end() - 1);
  result.labels = cjk::WriteLabels(utt);
  return result;
}

}  // namespace kr
