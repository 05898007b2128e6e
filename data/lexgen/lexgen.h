// Pronunciation lexicon generator for the European language modules: maps an
// oracle's phoneme strings onto a language's phone set, aligns letters with
// phones, trains one letter-to-sound decision tree per letter over a window of
// letters (Flite's letter-to-sound form) and picks the exception lexicon of
// the words the rules get wrong. Build-time code; nothing here is shipped.
// Everything is plain data owned by the caller; single-threaded.
#ifndef VXN_LEXGEN_H
#define VXN_LEXGEN_H

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include <unicode/locid.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

namespace lexgen {

// ---------------------------------------------------------------------------
// Word lists: one word a line (a hunspell dictionary's "/FLAGS" and tab
// fields are dropped); plain words of letters only, kept as written and
// lower-cased in the module's 8-bit encoding. A word listed in capitals and
// in lower case ("US", "us") keeps its lower-case spelling.
// ---------------------------------------------------------------------------
class Converter {
 public:
  explicit Converter(const std::string& encoding);
  ~Converter();
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cnv_ != nullptr; }
  // The text in the 8-bit encoding; false when a character has no byte there.
  bool from_unicode(const icu::UnicodeString& u, std::string* out) const;

 private:
  UConverter* cnv_ = nullptr;
};

// The word lower-cased in the module's encoding, or false when it is not a
// plain word of letters.
bool normalise(const std::string& utf8, const icu::Locale& locale, const Converter& cnv, std::string* out);

void read_word_list(const std::vector<std::string>& lines, const icu::Locale& locale, const Converter& cnv,
                    std::vector<std::string>* original, std::vector<std::string>* lower);

// A word of the lexicon: its letters as bytes of the module's 8-bit encoding
// and its phones, vowels carrying a stress digit ("a1", "ax0").
struct Entry {
  std::string word;
  std::vector<std::string> phones;
};

// ---------------------------------------------------------------------------
// Phone map: oracle symbols (one to three space-separated tokens) to phones.
// A row may give a second form used in the coda, i.e. after a vowel and not
// before one ("r" -> "r", coda "xr"). A key whose first symbol is written
// with a leading "'" matches that symbol only when it is stressed.
// ---------------------------------------------------------------------------
struct PhoneMapRow {
  std::vector<std::string> key;
  std::vector<std::string> phones;
  std::vector<std::string> coda;  // empty: same as phones
};

struct PhoneMap {
  std::vector<PhoneMapRow> rows;
  std::set<std::string> vowels;
  // Parses "key<TAB>phones[<TAB>coda]" lines; a '#' at the start of a line or
  // after a blank starts a comment (inside a symbol it belongs to it). False
  // with a message naming the line when a row is malformed.
  bool parse(const std::string& text, std::string* error);
  // Maps one oracle transcription (tokens separated by spaces, a leading "'"
  // marking primary stress, "," secondary stress, which is dropped). Writes
  // the phones with stress digits on vowels; false with the first unknown
  // symbol in *unknown.
  bool map(const std::string& oracle, std::vector<std::string>* phones, std::string* unknown) const;
};

// ---------------------------------------------------------------------------
// Stress rule applied after the letter-to-sound rules (and mirrored by the
// module at run time): one primary stress per word, the first the rules
// predicted; a word without one is stressed on its first, penultimate or
// last vowel that is not in the unstressable set.
// ---------------------------------------------------------------------------
struct StressRule {
  // The values the module's data record holds (eu_lexdata.stress_position).
  enum Position { kFirst = 0, kPenultimate = 1, kLast = 2 };
  Position position = kFirst;
  // Parses "first", "penultimate" or "last"; false for anything else.
  bool set_position(const std::string& name);
  std::set<std::string> unstressable;
  void apply(std::vector<std::string>* phones, const std::set<std::string>& vowels) const;
  // Drops every stress the oracle gave (all vowels 0) and applies the rule:
  // for languages whose stress the rule alone decides.
  void reassign(std::vector<std::string>* phones, const std::set<std::string>& vowels) const;
};

// Vowels that change after the primary stress (Russian reduces the a of
// "город" to a schwa there): "from:to" pairs, applied to the unstressed
// vowels that follow the stressed one. Parsing fails with the pair it
// cannot read.
struct PostStressRule {
  std::map<std::string, std::string> change;
  bool parse(const std::string& pairs, std::string* error);
  void apply(std::vector<std::string>* phones, const std::set<std::string>& vowels) const;
};

// Phone name without its stress digit.
std::string base_phone(const std::string& phone);

// ---------------------------------------------------------------------------
// Letter-phone alignment: every letter emits nothing ("epsilon"), one phone,
// or two phones (written "p1-p2"), chosen by hard expectation-maximisation of
// emission probabilities per letter.
// ---------------------------------------------------------------------------
typedef std::vector<std::string> Alignment;  // one emission per letter

class Aligner {
 public:
  // Estimates the emission probabilities from the words (iterations of
  // Viterbi re-estimation); words with more than two phones per letter are
  // ignored.
  void train(const std::vector<Entry>& words, int iterations);
  // Best alignment of one word; false when none exists.
  bool align(const Entry& e, Alignment* out) const;

 private:
  // Emissions are keyed by letter and up to two phone ids (stress dropped;
  // id 0 = none, so (letter, 0, 0) is the deletion).
  static unsigned long long key(unsigned char letter, int first, int second);
  int phone_id(const std::string& phone) const;
  double score(unsigned long long key) const;
  void count(const Entry& e, const Alignment& a, std::unordered_map<unsigned long long, double>* counts);
  std::unordered_map<std::string, int> ids_;
  std::unordered_map<unsigned long long, double> prob_;
};

// ---------------------------------------------------------------------------
// Letter-to-sound trees in Flite's packed form: 6-byte nodes (feature, value,
// true address, false address; feature 255 marks a leaf whose value indexes
// the phone table). Features 0..w-1 are the w letters before the current one
// (farthest first), w..2w-1 the w letters after it. Letter codes start at 3;
// 1 marks the word boundary and 2 the padding beyond it.
// ---------------------------------------------------------------------------
struct LtsModel {
  int window = 4;
  std::vector<std::string> phone_table;       // [0] = "epsilon"
  std::vector<unsigned char> letter_bytes;    // letter code - 3 -> byte of the encoding
  unsigned char letter_code[256] = {0};       // byte -> letter code (0: not a letter)
  std::vector<unsigned short> letter_root;    // letter code - 3 -> first node
  std::vector<unsigned char> nodes;           // 6 bytes per node

  // Trains the trees from aligned words; grows the most useful splits first
  // until the model holds maxNodes nodes or no split helps.
  void train(const std::vector<Entry>& words, const std::vector<Alignment>& alignments,
             int maxNodes, int minLeaf);
  // Phones of a word (dual emissions split, epsilons dropped), as Flite's
  // lts_apply produces them.
  std::vector<std::string> predict(const std::string& word) const;
  int node_count() const { return (int)(nodes.size() / 6); }
};

}  // namespace lexgen

#endif
