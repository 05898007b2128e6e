// Pieces of the US English reading of television text: address cutting,
// accent folding, the loanword lexicon, and a sweep of the English
// dictionary through the token rules looking for words that get spelled.
#include <gtest/gtest.h>

#include <string.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "frontend/kvap_g2p.h"
#include "frontend/kvap_opts.h"
#include "modules/usen/usen_address.h"
#include "modules/usen/usen_lexicon.h"
#include "modules/usen/usen_voice.h"

namespace {

// Pieces as one string: labels as they are, joiners in angle brackets.
std::string pieces_of(const std::string& s) {
  std::vector<UsenAddressPiece> pieces;
  if (!usen_address_pieces(s, &pieces)) return "-";
  std::string out;
  for (const UsenAddressPiece& p : pieces) {
    if (!out.empty()) out += ' ';
    out += p.label ? p.text : "<" + p.text + ">";
  }
  return out;
}

TEST(UsenAddress, CutsAddressesHashtagsAndHandles) {
  EXPECT_EQ(pieces_of("www.example.com"), "www <dot> example <dot> com");
  EXPECT_EQ(pieces_of("https://bbc.co.uk/news/"), "bbc <dot> co <dot> uk <slash> news");
  EXPECT_EQ(pieces_of("http://www.my-site.tv"), "www <dot> my <dash> site <dot> tv");
  EXPECT_EQ(pieces_of("news_desk@cbs.com"), "news <underscore> desk <at> cbs <dot> com");
  EXPECT_EQ(pieces_of("Amazon.com"), "Amazon <dot> com");
  EXPECT_EQ(pieces_of("#BreakingNews"), "<hashtag> Breaking News");
  EXPECT_EQ(pieces_of("@nbc_news"), "<at> nbc news");
  EXPECT_EQ(pieces_of("@BBCOne"), "<at> BBC One");
}

TEST(UsenAddress, LeavesOtherDottedTextAlone) {
  for (const char* s : {"St.Louis", "Dr.Who", "e.g", "U.S", "v2.3.1", "3.5", "a@b", "x@y.zz", "@", "#1", "#",
                        "a@@b.com", "..com", "a..b.com", "a.-b.com", "www.bbc.com?x=1", "example.com.",
                        "@name!", "50%.com", ".com"})
    EXPECT_EQ(pieces_of(s), "-") << s;
}

TEST(UsenAddress, CamelWords) {
  EXPECT_EQ(usen_camel_words("BreakingNews"), (std::vector<std::string>{"Breaking", "News"}));
  EXPECT_EQ(usen_camel_words("BBCOne"), (std::vector<std::string>{"BBC", "One"}));
  EXPECT_EQ(usen_camel_words("Channel4HD"), (std::vector<std::string>{"Channel", "4", "HD"}));
  EXPECT_EQ(usen_camel_words("news"), (std::vector<std::string>{"news"}));
  EXPECT_TRUE(usen_camel_words("").empty());
}

TEST(UsenLexicon, FoldsAccentsAndKnowsLoanwords) {
  EXPECT_EQ(usen_fold_accents("M\xFCller"), "Muller");
  EXPECT_EQ(usen_fold_accents("\xC9\x63lair \xDF \xBD uvre \xD7"), "Eclair ss oe uvre \xD7");
  EXPECT_EQ(usen_fold_accents("\xA6\xA8\xB4\xB8\xBE\xFE"), "SsZzYth");
  const cst_lexicon* lex = usen_lexicon();
  EXPECT_TRUE(usen_lexicon_has_accented(lex, "caf\xE9"));
  EXPECT_TRUE(usen_lexicon_has_accented(lex, "pok\xE9mon"));
  EXPECT_FALSE(usen_lexicon_has_accented(lex, "m\xFCller"));
  EXPECT_FALSE(usen_lexicon_has_accented(lex, "cafe"));
  EXPECT_FALSE(usen_lexicon_has_accented(nullptr, "caf\xE9"));
  cst_val* phones = lex_lookup(lex, "beyonc\xE9", nullptr, nullptr);
  ASSERT_NE(phones, nullptr);
  EXPECT_STREQ(val_string(val_car(phones)), "b");
  delete_val(phones);
}

// Words that are spelled although they are words: a dictionary sweep.
// Abbreviations without vowels and lower-case Roman numerals are spelled on
// purpose; the few computer and slang words listed here are accepted, and
// "read", which alone is an instruction and comes out written as it is read
// ("reed").
// The no-break space (0xA0) the input step writes after a joined
// abbreviation separates words in the module's encoding, and the
// abbreviation still reads as one.
TEST(UsenWords, NoBreakSpaceSeparatesWords) {
  cst_voice* voice = usen_voice_new(0, nullptr, "iso-8859-15");
  char** results = nullptr;
  int count = 0;
  g2p(voice, "Ep.\xA0" "5 with Mr.\xA0Smith", &results, &count, G2P_NORM);
  ASSERT_GT(count, 0);
  EXPECT_STREQ(results[0], "episode five with mister smith");
  free_g2p_results(results);
  usen_voice_delete(voice);
}

TEST(UsenWords, DictionaryWordsAreNotSpelled) {
  std::ifstream in("/usr/share/dict/american-english");
  if (!in) GTEST_SKIP() << "no /usr/share/dict/american-english (Debian package wamerican)";
  const std::set<std::string> accepted = {"dded",  "dding",  "ftpers", "ftping", "ftps",   "mkay",    "pshaw",
                                          "pshaws", "pwned", "pwning", "pwns",   "schrod", "schrods", "schtick",
                                          "schticks", "stdio", "ttys",   "wkly",   "xref",   "xrefs",  "xterm",
                                          "read"};
  cst_voice* voice = usen_voice_new(0, nullptr, "iso-8859-15");
  std::string word;
  std::vector<std::string> spelled;
  int swept = 0;
  while (std::getline(in, word)) {
    if (word.size() < 4 || word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos) continue;
    ++swept;
    char** results = nullptr;
    int count = 0;
    g2p(voice, word.c_str(), &results, &count, G2P_NORM);
    const bool asWord = count > 0 && results[0] && word == results[0];
    free_g2p_results(results);
    if (asWord || accepted.count(word)) continue;
    const bool vowel = word.find_first_of("aeiouy") != std::string::npos;
    const bool roman = word.find_first_not_of("ivxlc") == std::string::npos;
    if (vowel && !roman) spelled.push_back(word);
  }
  usen_voice_delete(voice);
  EXPECT_GT(swept, 10000);
  std::string list;
  for (size_t i = 0; i < spelled.size() && i < 40; ++i) list += spelled[i] + " ";
  EXPECT_TRUE(spelled.empty()) << spelled.size() << " of " << swept << " words are not read as words: " << list;
}

}  // namespace
