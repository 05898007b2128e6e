// Fuzz target for the pronunciation generator's outside inputs: a phone map
// (text up to the first 0 byte) and oracle transcriptions (the rest, one per
// line) mapped with it, then aligned and predicted by a tiny model; the same
// lines read as a word list (plain lines or a hunspell dictionary).
#include <stdint.h>

#include <sstream>
#include <string>

#include "data/lexgen/lexgen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string all((const char*)data, size);
  size_t zero = all.find('\0');
  std::string mapText = all.substr(0, zero);
  std::string rest = zero == std::string::npos ? "" : all.substr(zero + 1);
  {
    static const lexgen::Converter latin9("ISO-8859-15");
    std::vector<std::string> lines, original, lower;
    std::istringstream list(rest);
    for (std::string line; std::getline(list, line) && lines.size() < 50;) lines.push_back(line);
    lexgen::read_word_list(lines, icu::Locale("en_GB"), latin9, &original, &lower);
    if (original.size() != lower.size() || original.size() > lines.size()) __builtin_trap();
  }
  lexgen::PhoneMap map;
  std::string error;
  if (!map.parse(mapText, &error)) return 0;
  map.vowels = {"a", "e", "i", "o", "u"};
  std::vector<lexgen::Entry> words;
  std::istringstream in(rest);
  std::string line;
  while (std::getline(in, line) && words.size() < 20) {
    lexgen::Entry e;
    std::string unknown;
    size_t tab = line.find('\t');
    if (tab == std::string::npos || !map.map(line.substr(tab + 1), &e.phones, &unknown)) continue;
    e.word = line.substr(0, tab).substr(0, 30);
    words.push_back(e);
  }
  lexgen::Aligner aligner;
  aligner.train(words, 2);
  std::vector<lexgen::Entry> aligned;
  std::vector<lexgen::Alignment> alignments;
  for (const lexgen::Entry& e : words) {
    lexgen::Alignment a;
    if (aligner.align(e, &a)) aligned.push_back(e), alignments.push_back(a);
  }
  lexgen::LtsModel model;
  model.train(aligned, alignments, 200, 1);
  for (const lexgen::Entry& e : words) model.predict(e.word);
  return 0;
}
