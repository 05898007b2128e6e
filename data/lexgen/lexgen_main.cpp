// vxn-lexgen: builds the pronunciation data of a European language module.
//
//   vxn-lexgen --conf data/de/lexicon.conf --words WORDLIST --corpus TEXT
//              --oracle-cache CACHE.tsv --out data/de/de_lexicon.c
//              [--limit N] [--words-source TEXT] [--corpus-source TEXT]
//   vxn-lexgen --digest --conf data/de/lexicon.conf
//
// The settings name the phone map, or several (phonemap=own.tsv ../base.tsv).
// Reads the language's settings and phone map, phonemises every word of the
// word list (one word a line; a hunspell dictionary's affix flags are
// dropped) with espeak-ng (cached in CACHE.tsv), maps the oracle's symbols
// onto the language's phones, trains the letter-to-sound trees on nine words
// of ten and measures them on the tenth, and writes the C source of the
// module's data: the trees, and the words the rules get wrong, most frequent
// first (by their count in TEXT, then shortest first) within the size budget.
// --limit N keeps N words: the common words of the settings first, then
// those of the running text, then an evenly spread sample of the others (the
// short mode uses a small N). --digest
// prints the digest of the settings and phone map that the output records.
// Exit status: 0 success, 1 failure (a message names the cause).
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include <unicode/locid.h>
#include <unicode/ucnv.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "data/lexgen/lexgen.h"

using lexgen::Entry;

namespace {

const char kProgram[] = "vxn-lexgen";

struct Settings {
  std::map<std::string, std::string> values;
  std::string get(const std::string& key, const std::string& fallback = "") const {
    auto it = values.find(key);
    return it == values.end() ? fallback : it->second;
  }
};

bool read_file(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *out = s.str();
  return true;
}

std::vector<std::string> words_of(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

// FNV-1a over the inputs that decide the data, recorded in the output so that
// a test notices settings changed without regenerating.
unsigned long long digest(const std::string& a, const std::string& b) {
  unsigned long long h = 1469598103934665603ULL;
  for (const std::string* s : {&a, &b})
    for (unsigned char c : *s) h = (h ^ c) * 1099511628211ULL;
  return h;
}

std::string run_command(const std::string& cmd) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

std::vector<std::string> lines_of(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    size_t start = line.find_first_not_of(' ');
    out.push_back(start == std::string::npos ? "" : line.substr(start));
  }
  return out;
}

// Phonemises words with the espeak-ng program: one clause per word, checked
// line by line; a chunk whose line count does not match is redone word by word.
std::vector<std::string> phonemise(const std::vector<std::string>& words, const std::string& voice,
                                   std::ofstream* cache) {
  std::vector<std::string> result;
  char path[] = "/tmp/vxn-lexgen-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return result;
  close(fd);
  const std::string cmd = "espeak-ng -v " + voice + " -q -x --sep=' ' -f " + path;
  const size_t kChunk = 2000;
  for (size_t start = 0; start < words.size(); start += kChunk) {
    size_t end = std::min(words.size(), start + kChunk);
    {
      std::ofstream f(path);
      for (size_t i = start; i < end; ++i) f << words[i] << ".\n";
    }
    std::vector<std::string> got = lines_of(run_command(cmd));
    if (got.size() != end - start) {
      got.clear();
      for (size_t i = start; i < end; ++i) {
        {
          std::ofstream f(path);
          f << words[i] << ".\n";
        }
        std::vector<std::string> one = lines_of(run_command(cmd));
        std::string joined;
        for (const std::string& l : one) joined += (joined.empty() ? "" : " ") + l;
        got.push_back(joined);
      }
    }
    for (size_t i = start; i < end; ++i) *cache << words[i] << '\t' << got[i - start] << '\n';
    cache->flush();
    result.insert(result.end(), got.begin(), got.end());
    fprintf(stderr, "\r%s: phonemised %zu of %zu words", kProgram, end, words.size());
  }
  fprintf(stderr, "\n");
  unlink(path);
  return result;
}

// A transcription without the oracle's language switches "(en)", "(fr)".
std::string without_language_marks(const std::string& t) {
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '(') {
      size_t close = t.find(')', i);
      if (close == std::string::npos) break;
      i = close;
      continue;
    }
    out += t[i];
  }
  return out;
}

std::string c_string(const std::string& s) {
  std::string out = "\"";
  char buf[8];
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
      out += (char)c;
    } else {
      snprintf(buf, sizeof buf, "\\%03o", c);
      out += buf;
    }
  }
  return out + "\"";
}

void write_bytes(FILE* f, const std::vector<unsigned char>& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) fprintf(f, "%s%u,", i % 24 == 0 ? "\n  " : "", bytes[i]);
  fprintf(f, "\n");
}

void write_list(FILE* f, const char* name, const std::vector<std::string>& items, bool leadingEmpty) {
  fprintf(f, "static const char* const %s[] = {", name);
  size_t i = 0;
  if (leadingEmpty) fprintf(f, "\n  \"\",");
  for (const std::string& s : items) fprintf(f, "%s%s,", i++ % 12 == 0 ? "\n  " : " ", c_string(s).c_str());
  fprintf(f, "\n  0};\n");
}

struct Options {
  std::string conf, words, corpus, cache, out, wordsSource, corpusSource;
  size_t limit = 0;
  bool digestOnly = false;
};

bool parse_args(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--digest") {
      o->digestOnly = true;
      continue;
    }
    if (i + 1 >= argc) {
      fprintf(stderr, "%s: option %s needs a value\n", kProgram, a.c_str());
      return false;
    }
    std::string v = argv[++i];
    if (a == "--conf") o->conf = v;
    else if (a == "--words") o->words = v;
    else if (a == "--corpus") o->corpus = v;
    else if (a == "--oracle-cache") o->cache = v;
    else if (a == "--out") o->out = v;
    else if (a == "--words-source") o->wordsSource = v;
    else if (a == "--corpus-source") o->corpusSource = v;
    else if (a == "--limit") o->limit = (size_t)atol(v.c_str());
    else {
      fprintf(stderr, "%s: unknown option %s\n", kProgram, a.c_str());
      return false;
    }
  }
  if (o->digestOnly && !o->conf.empty()) return true;
  if (o->conf.empty() || o->words.empty() || o->out.empty() || o->cache.empty()) {
    fprintf(stderr, "usage: %s --conf FILE --words FILE --oracle-cache FILE --out FILE [--corpus FILE] [--limit N]\n",
            kProgram);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!parse_args(argc, argv, &opt)) return 1;
  std::string confText, mapText, wordText, corpusText;
  if (!read_file(opt.conf, &confText)) {
    fprintf(stderr, "%s: cannot read the settings %s\n", kProgram, opt.conf.c_str());
    return 1;
  }
  Settings conf;
  for (const std::string& line : lines_of(confText)) {
    size_t eq = line.find('=');
    if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
    conf.values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  const std::string dir = opt.conf.substr(0, opt.conf.rfind('/') + 1);
  // One phone map or several (a variety names its own rows first, then the
  // map it builds on): the first row with a key wins.
  lexgen::PhoneMap phoneMap;
  for (const std::string& file : words_of(conf.get("phonemap", "phonemap.tsv"))) {
    const std::string mapPath = dir + file;
    std::string text, error;
    if (!read_file(mapPath, &text)) {
      fprintf(stderr, "%s: cannot read the phone map %s\n", kProgram, mapPath.c_str());
      return 1;
    }
    if (!phoneMap.parse(text, &error)) {
      fprintf(stderr, "%s: %s: %s\n", kProgram, mapPath.c_str(), error.c_str());
      return 1;
    }
    mapText += text;
  }
  // Common words of the language (common_words=FILE beside the settings):
  // always kept, ranked before every word of the running text, and part of
  // the digest.
  std::string commonText;
  const std::string commonFile = conf.get("common_words");
  if (!commonFile.empty() && !read_file(dir + commonFile, &commonText)) {
    fprintf(stderr, "%s: cannot read the common words %s\n", kProgram, (dir + commonFile).c_str());
    return 1;
  }
  mapText += commonText;
  if (opt.digestOnly) {
    printf("%016llx\n", digest(confText, mapText));
    return 0;
  }
  for (const std::string& v : words_of(conf.get("vowels"))) phoneMap.vowels.insert(v);
  lexgen::StressRule stress;
  if (!stress.set_position(conf.get("stress", "first"))) {
    fprintf(stderr, "%s: stress= must be first, penultimate or last (got '%s')\n", kProgram,
            conf.get("stress").c_str());
    return 1;
  }
  // stress_source=rule: the oracle's stress marks are dropped and the rule
  // alone places the stress (French); otherwise the rules learn the oracle's.
  const bool stressByRule = conf.get("stress_source", "oracle") == "rule";
  for (const std::string& v : words_of(conf.get("unstressable"))) stress.unstressable.insert(v);
  lexgen::PostStressRule postStress;
  {
    std::string error;
    if (!postStress.parse(conf.get("after_stress"), &error)) {
      fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
      return 1;
    }
  }
  const std::string name = conf.get("name"), encoding = conf.get("encoding", "ISO-8859-15");
  lexgen::Converter cnv(encoding);
  if (name.empty() || !cnv.ok()) {
    fprintf(stderr, "%s: the settings need name= and a known encoding= (got '%s')\n", kProgram, encoding.c_str());
    return 1;
  }
  icu::Locale locale(conf.get("locale", name).c_str());

  // Word counts of the running text (the frequency proxy).
  std::unordered_map<std::string, long> freq;
  if (!opt.corpus.empty() && read_file(opt.corpus, &corpusText)) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(corpusText);
    icu::UnicodeString word;
    for (int32_t i = 0; i <= text.length(); ++i) {
      UChar32 c = i < text.length() ? text.char32At(i) : 0;
      if (c > 0xFFFF) ++i;
      if (c && u_isalpha(c)) {
        word.append(c);
        continue;
      }
      if (word.length() > 0) {
        std::string key;
        word.toLower(locale);
        if (cnv.from_unicode(word, &key)) freq[key]++;
        word.remove();
      }
    }
  }
  const long kCommon = 1000000000L;
  std::vector<std::string> commonWords;
  for (const std::string& line : lines_of(commonText))
    if (!line.empty() && line[0] != '#')
      for (const std::string& w : words_of(line)) {
        std::string key;
        if (lexgen::normalise(w, locale, cnv, &key)) {
          freq[key] += kCommon;
          commonWords.push_back(w);
        }
      }
  // Words: plain words of letters, lower-cased, first spelling kept; the
  // common words join the list when it lacks them.
  if (!read_file(opt.words, &wordText)) {
    fprintf(stderr, "%s: cannot read the word list %s\n", kProgram, opt.words.c_str());
    return 1;
  }
  // A word list in an 8-bit encoding (wordlist_encoding=ISO-8859-1) is read as UTF-8.
  const std::string listEncoding = conf.get("wordlist_encoding");
  if (!listEncoding.empty()) {
    icu::UnicodeString u(wordText.data(), (int32_t)wordText.size(), listEncoding.c_str());
    if (u.isBogus()) {
      fprintf(stderr, "%s: cannot read the word list in the encoding %s\n", kProgram, listEncoding.c_str());
      return 1;
    }
    wordText.clear();
    u.toUTF8String(wordText);
  }
  std::vector<std::string> original, lower;
  std::vector<std::string> listed = lines_of(wordText);
  listed.insert(listed.end(), commonWords.begin(), commonWords.end());
  lexgen::read_word_list(listed, locale, cnv, &original, &lower);
  // A limit keeps every word of the running text (up to the limit), then an
  // evenly spread sample of the others.
  if (opt.limit > 0 && opt.limit < original.size()) {
    std::vector<bool> keep(original.size(), false);
    size_t kept = 0;
    for (long least : {kCommon, 1L})
      for (size_t i = 0; i < original.size() && kept < opt.limit; ++i)
        if (!keep[i] && freq.count(lower[i]) && freq[lower[i]] >= least) keep[i] = true, ++kept;
    const size_t rest = original.size() - kept, wanted = opt.limit - kept;
    for (size_t i = 0, seenRest = 0, taken = 0; i < original.size() && taken < wanted; ++i) {
      if (keep[i]) continue;
      if (seenRest++ * wanted / rest >= taken) keep[i] = true, ++taken;
    }
    std::vector<std::string> o2, l2;
    for (size_t i = 0; i < original.size(); ++i)
      if (keep[i]) o2.push_back(original[i]), l2.push_back(lower[i]);
    original.swap(o2);
    lower.swap(l2);
  }
  fprintf(stderr, "%s: %zu words from %s\n", kProgram, original.size(), opt.words.c_str());

  // Oracle transcriptions, cached.
  std::unordered_map<std::string, std::string> oracle;
  std::string cacheText;
  if (read_file(opt.cache, &cacheText))
    for (const std::string& line : lines_of(cacheText)) {
      size_t tab = line.find('\t');
      if (tab != std::string::npos) oracle[line.substr(0, tab)] = line.substr(tab + 1);
    }
  std::vector<std::string> missing;
  for (const std::string& w : original)
    if (!oracle.count(w)) missing.push_back(w);
  if (!missing.empty()) {
    std::ofstream cache(opt.cache, std::ios::app);
    std::vector<std::string> got = phonemise(missing, conf.get("espeak_voice", name), &cache);
    if (got.size() != missing.size()) {
      fprintf(stderr, "%s: espeak-ng gave %zu transcriptions for %zu words\n", kProgram, got.size(), missing.size());
      return 1;
    }
    for (size_t i = 0; i < missing.size(); ++i) oracle[missing[i]] = got[i];
  }

  // Map onto the phone set; words the oracle reads as another language are
  // dropped unless foreign_words=map.
  std::vector<Entry> entries;
  std::map<std::string, int> unknown;
  int foreign = 0;
  // foreign_words=map keeps the loanwords the oracle reads in another
  // language (French parking, camping) and maps their symbols too.
  const bool mapForeign = conf.get("foreign_words", "drop") == "map";
  for (size_t i = 0; i < original.size(); ++i) {
    std::string t = oracle[original[i]];
    if (t.find('(') != std::string::npos) {
      ++foreign;
      if (!mapForeign) continue;
      t = without_language_marks(t);
    }
    Entry e;
    e.word = lower[i];
    std::string bad;
    if (!phoneMap.map(t, &e.phones, &bad)) {
      unknown[bad]++;
      continue;
    }
    if (stressByRule) stress.reassign(&e.phones, phoneMap.vowels);
    postStress.apply(&e.phones, phoneMap.vowels);
    if (!e.phones.empty()) entries.push_back(e);
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.word < b.word; });
  fprintf(stderr, "%s: %zu words mapped, %d read as another language (%s), %zu unknown symbols", kProgram,
          entries.size(), foreign, mapForeign ? "mapped" : "dropped", unknown.size());
  for (const auto& u : unknown) fprintf(stderr, " %s(%d)", u.first.c_str(), u.second);
  fprintf(stderr, "\n");
  if (entries.empty()) {
    fprintf(stderr, "%s: no words left to train on\n", kProgram);
    return 1;
  }

  // Nine words of ten train, the tenth measures.
  const size_t heldEvery = (size_t)std::max(2, atoi(conf.get("heldout_every", "10").c_str()));
  std::vector<Entry> train, held;
  for (size_t i = 0; i < entries.size(); ++i) (i % heldEvery == heldEvery - 1 ? held : train).push_back(entries[i]);
  // With the stress by rule the trees learn unstressed phones only.
  std::vector<Entry> treeWords = train;
  if (stressByRule)
    for (Entry& e : treeWords)
      for (std::string& p : e.phones)
        if (phoneMap.vowels.count(lexgen::base_phone(p))) p = lexgen::base_phone(p) + "0";
  lexgen::Aligner aligner;
  aligner.train(treeWords, 4);
  std::vector<Entry> aligned;
  std::vector<lexgen::Alignment> alignments;
  for (const Entry& e : treeWords) {
    lexgen::Alignment a;
    if (aligner.align(e, &a)) {
      aligned.push_back(e);
      alignments.push_back(a);
    }
  }
  fprintf(stderr, "%s: %zu of %zu training words aligned\n", kProgram, aligned.size(), train.size());
  lexgen::LtsModel model;
  model.window = 4;
  model.train(aligned, alignments, atoi(conf.get("max_nodes", "60000").c_str()),
              atoi(conf.get("min_leaf", "1").c_str()));
  auto predict = [&](const std::string& w) {
    std::vector<std::string> p = model.predict(w);
    stress.apply(&p, phoneMap.vowels);
    return p;
  };
  size_t heldRight = 0, trainRight = 0;
  for (const Entry& e : held) heldRight += predict(e.word) == e.phones;
  for (const Entry& e : train) trainRight += predict(e.word) == e.phones;
  const double heldAccuracy = 100.0 * heldRight / std::max<size_t>(1, held.size());
  const double trainAccuracy = 100.0 * trainRight / std::max<size_t>(1, train.size());

  // Exceptions, most frequent first, within the budget.
  std::vector<const Entry*> wrong;
  for (const Entry& e : entries)
    if (predict(e.word) != e.phones) wrong.push_back(&e);
  std::sort(wrong.begin(), wrong.end(), [&freq](const Entry* a, const Entry* b) {
    long fa = freq.count(a->word) ? freq[a->word] : 0, fb = freq.count(b->word) ? freq[b->word] : 0;
    if (fa != fb) return fa > fb;
    if (a->word.size() != b->word.size()) return a->word.size() < b->word.size();
    return a->word < b->word;
  });
  size_t ltsBytes = model.nodes.size() + 2 * model.letter_root.size() + 256;
  for (const std::string& p : model.phone_table) ltsBytes += p.size() + 1 + sizeof(void*);
  const size_t budget = (size_t)atol(conf.get("budget_bytes", "1900000").c_str());
  const unsigned kIndexStep = 16;
  std::map<std::string, int> phoneNumber;
  std::vector<std::string> phones;
  size_t used = ltsBytes;
  std::vector<const Entry*> chosen;
  for (const Entry* e : wrong) {
    size_t cost = e->word.size() + e->phones.size() + 2 + 4 / kIndexStep + 1;
    for (const std::string& p : e->phones)
      if (!phoneNumber.count(p)) cost += p.size() + 1 + sizeof(void*);
    if (used + cost > budget) break;
    used += cost;
    for (const std::string& p : e->phones)
      if (!phoneNumber.count(p)) {
        phones.push_back(p);
        phoneNumber[p] = (int)phones.size();
      }
    chosen.push_back(e);
  }
  std::sort(chosen.begin(), chosen.end(), [](const Entry* a, const Entry* b) { return a->word < b->word; });
  std::vector<unsigned char> blob;
  std::vector<unsigned> index;
  for (size_t i = 0; i < chosen.size(); ++i) {
    if (i % kIndexStep == 0) index.push_back((unsigned)blob.size());
    blob.insert(blob.end(), chosen[i]->word.begin(), chosen[i]->word.end());
    blob.push_back(0);
    for (const std::string& p : chosen[i]->phones) blob.push_back((unsigned char)phoneNumber[p]);
    blob.push_back(0);
  }
  if (phones.size() > 255) {
    fprintf(stderr, "%s: %zu exception phones do not fit in a byte\n", kProgram, phones.size());
    return 1;
  }
  size_t covered = 0;
  for (const Entry& e : held) {
    bool inLex = std::binary_search(chosen.begin(), chosen.end(), &e,
                                    [](const Entry* a, const Entry* b) { return a->word < b->word; });
    covered += inLex || predict(e.word) == e.phones;
  }

  // The C source.
  FILE* f = fopen(opt.out.c_str(), "w");
  if (!f) {
    fprintf(stderr, "%s: cannot write %s\n", kProgram, opt.out.c_str());
    return 1;
  }
  std::string espeakVersion = lines_of(run_command("espeak-ng --version"))[0];
  espeakVersion = espeakVersion.substr(0, espeakVersion.find("  Data at"));
  const size_t dataBytes = used;
  fprintf(f,
          "/* Pronunciation data of the %s module. Generated by vxn-lexgen (data/lexgen) from\n"
          "   data/%s/lexicon.conf and %s; do not edit: run scripts/regen-lexicons.sh %s.\n"
          "   Words: %s.\n"
          "   Frequencies: %s.\n"
          "   Pronunciations: %s (build-time oracle only; nothing of it is shipped).\n"
          "   input digest: %016llx\n"
          "   words mapped: %zu (%d read as another language, %s); training %zu, held out %zu\n"
          "   letter-to-sound word accuracy: held-out %.2f%%, training %.2f%%\n"
          "   tree nodes: %d; exceptions: %zu of %zu words the rules get wrong\n"
          "   held-out words right with the exceptions: %.2f%%; data bytes: %zu */\n",
          name.c_str(), name.c_str(), conf.get("phonemap", "phonemap.tsv").c_str(), name.c_str(),
          opt.wordsSource.empty() ? opt.words.c_str() : opt.wordsSource.c_str(),
          opt.corpusSource.empty() ? (opt.corpus.empty() ? "none" : opt.corpus.c_str()) : opt.corpusSource.c_str(),
          espeakVersion.c_str(), digest(confText, mapText), entries.size(), foreign, mapForeign ? "mapped" : "dropped",
          train.size(), held.size(),
          heldAccuracy, trainAccuracy, model.node_count(), chosen.size(), wrong.size(),
          100.0 * covered / std::max<size_t>(1, held.size()), dataBytes);
  fprintf(f, "#include \"modules/common/eu_lexdata.h\"\n\n");
  // One extra feature byte is declared though the trees never ask it: Flite's
  // lts_apply writes the letter window and a terminator into a buffer of
  // 2 * window + extra bytes.
  std::vector<std::string> letters = {"", "#", "0"};
  for (unsigned char c : model.letter_bytes) letters.push_back(std::string(1, (char)c));
  std::vector<std::string> ltsPhones(model.phone_table.begin(), model.phone_table.end());
  write_list(f, "lts_phones", ltsPhones, false);
  write_list(f, "lts_letters", letters, false);
  fprintf(f, "static const cst_lts_addr lts_letter_index[] = {");
  for (size_t i = 0; i < model.letter_root.size(); ++i) fprintf(f, "%s%u,", i % 12 == 0 ? "\n  " : " ", model.letter_root[i]);
  fprintf(f, "\n  0};\nstatic const cst_lts_model lts_models[] = {");
  write_bytes(f, model.nodes);
  fprintf(f, "};\nstatic const unsigned char letter_codes[256] = {");
  write_bytes(f, std::vector<unsigned char>(model.letter_code, model.letter_code + 256));
  fprintf(f, "};\n");
  write_list(f, "vowels", std::vector<std::string>(phoneMap.vowels.begin(), phoneMap.vowels.end()), false);
  write_list(f, "unstressable", std::vector<std::string>(stress.unstressable.begin(), stress.unstressable.end()), false);
  write_list(f, "phones", phones, true);
  fprintf(f, "static const unsigned char entries[] = {");
  write_bytes(f, blob.empty() ? std::vector<unsigned char>(1, 0) : blob);
  fprintf(f, "};\nstatic const unsigned int entry_index[] = {");
  for (size_t i = 0; i < index.size(); ++i) fprintf(f, "%s%u,", i % 10 == 0 ? "\n  " : " ", index[i]);
  fprintf(f, "\n  0};\n\n");
  fprintf(f,
          "const eu_lexdata %s_lexdata = {\n  %s, %s,\n  {(char*)%s, lts_letter_index, lts_models, lts_phones, %d, 1, "
          "lts_letters},\n  letter_codes, vowels, unstressable, %d,\n  phones, %zu, entries, %zuu, %zuu, entry_index, "
          "%zuu, %uu};\n",
          name.c_str(), c_string(name).c_str(), c_string(encoding).c_str(), c_string(name).c_str(), model.window,
          (int)stress.position, phones.size(), blob.size(), chosen.size(), index.size(), kIndexStep);
  fclose(f);
  printf("%s: %zu words, held-out word accuracy %.2f%% (training %.2f%%), %d tree nodes, %zu exceptions, "
         "held-out with exceptions %.2f%%, %zu data bytes -> %s\n",
         name.c_str(), entries.size(), heldAccuracy, trainAccuracy, model.node_count(), chosen.size(),
         100.0 * covered / std::max<size_t>(1, held.size()), dataBytes, opt.out.c_str());
  return 0;
}
