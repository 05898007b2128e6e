// Phrasing modules, end-tone marks, the English tagger corrections and the
// English trees, on utterances of the US English chain.
#include "tests/frontend/postlex_fixture.h"

#include <cst_val_const.h>

#include "frontend/en/en_phrasing.h"
#include "frontend/en/en_pos.h"
#include "frontend/intonation_common.h"
#include "frontend/lex_common.h"
#include "frontend/phrasing_common.h"

extern "C" {
// Flite's originals of the converted English trees.
extern const cst_cart us_pos_cart;
extern const cst_cart us_int_accent_cart;
extern const cst_cart us_int_tone_cart;
extern const cst_cart us_nums_cart;
}

namespace {

// One-leaf trees answering 1 or 0 for every word.
DEF_STATIC_CONST_VAL_INT(val_one, 1);
DEF_STATIC_CONST_VAL_INT(val_zero, 0);
const char* const kNoFeatures[] = {nullptr};
const cst_cart_node kYesNodes[] = {{255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_one},
                                   {255, CST_CART_OP_NONE, 0, nullptr}};
const cst_cart_node kNoNodes[] = {{255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_zero},
                                  {255, CST_CART_OP_NONE, 0, nullptr}};
const cst_cart kAlwaysBreak = {kYesNodes, kNoFeatures};
const cst_cart kNeverBreak = {kNoNodes, kNoFeatures};

class Phrasing : public UsVoice {
 protected:
  // Phrases as "name:word word|name:word".
  static std::string phrases(cst_utterance* u) {
    std::string out;
    for (cst_item* p = relation_head(utt_relation(u, "Phrase")); p; p = item_next(p)) {
      if (!out.empty()) out += "|";
      out += feat(p, "name") + ":";
      for (cst_item* w = item_daughter(p); w; w = item_next(w)) {
        out += item_feat_string(w, "name");
        if (item_next(w)) out += " ";
      }
    }
    return out;
  }
  // Reruns a phrasing module on an utterance of the chain.
  std::string rephrase(const char* text, cst_utterance* (*module)(cst_utterance*)) {
    cst_utterance* u = synth(text);
    if (!u) return "no utterance";
    utt_relation_delete(u, "Phrase");
    module(u);
    return phrases(u);
  }
  std::string rephrase_tree(const char* text, const cst_cart* tree) {
    cst_utterance* u = synth(text);
    if (!u) return "no utterance";
    utt_relation_delete(u, "Phrase");
    cart_assisted_phrasing(u, tree);
    return phrases(u);
  }
  // "endtone" of every syllable that has one, as "word:tone".
  static std::string end_tones(cst_utterance* u) {
    std::string out;
    for (cst_item* s = relation_head(utt_relation(u, "Syllable")); s; s = item_next(s)) {
      if (!item_feat_present(s, "endtone")) continue;
      if (!out.empty()) out += " ";
      out += ffeature_string(s, "R:SylStructure.parent.name") + std::string(":") + item_feat_string(s, "endtone");
    }
    return out;
  }
};

TEST_F(Phrasing, NoPunctuationIsOneBigPhrase) {
  const char* text = "the cat sat on the mat";
  EXPECT_EQ(rephrase(text, punctuation_phrasing), "BB:the cat sat on the mat");
  EXPECT_EQ(rephrase(text, en_phrasing), "BB:the cat sat on the mat");
  EXPECT_EQ(rephrase(text, trivial_phrasing), "BB:the cat sat on the mat");
  // Without punctuation ahead a break word does not open a phrase either.
  EXPECT_EQ(rephrase("he looked as if he saw it", en_phrasing), "BB:he looked as if he saw it");
}

TEST_F(Phrasing, BreakWordsOpenMinorPhrases) {
  EXPECT_EQ(rephrase("He looked as if he saw it.", en_phrasing), "B:he looked|BB:as if he saw it");
  // One word before the pair is not enough for "as", but "if" itself breaks.
  EXPECT_EQ(rephrase("Look as if you care.", en_phrasing), "B:look as|BB:if you care");
  EXPECT_EQ(rephrase("I will go unless it rains.", en_phrasing), "B:i will go|BB:unless it rains");
  EXPECT_EQ(rephrase("We had all but won.", en_phrasing), "BB:we had all but won");
  EXPECT_EQ(rephrase("Well, we went home.", en_phrasing), "B:well|BB:we went home");
  EXPECT_EQ(rephrase("Well, we went home.", punctuation_phrasing), "B:well|BB:we went home");
}

TEST_F(Phrasing, TreeAssistedPhrasing) {
  // The tree closes a phrase after every token: punctuation names it, "B"
  // otherwise; the last phrase is "BB".
  EXPECT_EQ(rephrase_tree("one two, three. four", &kAlwaysBreak), "B:one|B:two|BB:three|BB:four");
  // Prepunctuation of the next word closes a phrase whatever the tree says
  // (parentheses are prepunctuation once they are no single-character tokens).
  feat_set_string(voice_->features, "text_singlecharsymbols", "");
  EXPECT_EQ(rephrase_tree("one two (three) four five", &kNeverBreak), "B:one two|BB:three four five");
  EXPECT_EQ(rephrase_tree("one two (three) four five", nullptr), "B:one two|BB:three four five");
  EXPECT_EQ(rephrase_tree("one two three", &kNeverBreak), "BB:one two three");
  // Multi-word tokens break only after their last word.
  EXPECT_EQ(rephrase_tree("it costs 21 dollars", &kAlwaysBreak), "B:it|B:costs|B:twenty one|BB:dollars");
}

TEST_F(Phrasing, PhrasePunctuationTests) {
  feat_set_string(voice_->features, "text_singlecharsymbols", "");
  cst_utterance* u = synth("Well, (this) is it?");
  ASSERT_NE(u, nullptr);
  utt_relation_delete(u, "Phrase");
  en_phrasing(u);
  ASSERT_EQ(phrases(u), "B:well|BB:this is it");
  cst_item* first = relation_head(utt_relation(u, "Phrase"));
  cst_item* second = item_next(first);
  EXPECT_STREQ(val_string(phrase_punc(first)), ",");
  EXPECT_STREQ(val_string(phrase_prepunc(first)), "");
  EXPECT_STREQ(val_string(phrase_punc(second)), "?");
  EXPECT_STREQ(val_string(phrase_prepunc(second)), "(");
}

TEST_F(Phrasing, EndTonesMarkTheLastSyllableOfEachPhrase) {
  feat_set(voice_->features, "phrasing_func", uttfunc_val(en_phrasing));
  feat_set(voice_->features, "intonation_func", uttfunc_val(generic_qs_intonation));
  const char* text = "Well, is it raining? Yes, it is raining today.";
  cst_utterance* u = synth(text);
  ASSERT_NE(u, nullptr);
  ASSERT_EQ(phrases(u), "B:well|BB:is it raining|B:yes|BB:it is raining today");
  EXPECT_EQ(end_tones(u), "well:S raining:Q yes:S today:S");
  // Only the last syllable of a many-syllable word carries the mark.
  cst_item* today = word_named(u, "today");
  EXPECT_FALSE(item_feat_present(path_to_item(today, "R:SylStructure.daughter1"), "endtone"));

  feat_set(voice_->features, "intonation_func", uttfunc_val(generic_qsp_intonation));
  u = synth(text);
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(end_tones(u), "well:P raining:Q yes:P today:S");

  // The question characters are a voice parameter.
  feat_set_string(voice_->features, "question_punc", "!");
  u = synth("Stop! Why?");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(end_tones(u), "stop:Q why:S");
}

TEST_F(Phrasing, EndTonesReachTheLabelRows) {
  feat_set(voice_->features, "intonation_func", uttfunc_val(generic_qs_intonation));
  cst_utterance* u = synth("Is it?");
  ASSERT_NE(u, nullptr);
  // Every segment of the phrase reads the phrase's end tone.
  for (cst_item* s = relation_head(utt_relation(u, "Segment")); s; s = item_next(s))
    EXPECT_STREQ(ffeature_string(s, "R:SylStructure.parent.parent.R:Phrase.parent.daughtern.R:SylStructure.daughtern.endtone"),
                 item_as(s, "SylStructure") ? "Q" : "0");
}

using Tagger = UsVoice;

TEST_F(Tagger, EnglishCorrections) {
  struct Case {
    const char* text;
    const char* word;
    const char* pos;
  } cases[] = {
      {"live", "live", "j"},
      {"Watch live TV.", "live", "j"},
      {"record", "record", "v"},
      {"Can record.", "record", "v"},
      {"I will table it", "table", "v"},
      {"I don't care", "care", "v"},
      {"We cannot stand", "stand", "v"},
      {"Shall dance", "dance", "v"},
      {"the record", "record", "n"},
  };
  for (const Case& c : cases) {
    cst_utterance* u = synth(c.text);
    ASSERT_NE(u, nullptr) << c.text;
    EXPECT_EQ(feat(word_named(u, c.word), "pos"), c.pos) << c.text;
  }
  // The verb reading reaches the pronunciation.
  cst_utterance* u = synth("record");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(syllables(word_named(u, "record")), "r ax|k ao r d");
  u = synth("the record");
  EXPECT_EQ(syllables(word_named(u, "record")), "r eh|k er d");
}

TEST_F(Tagger, CorrectionsChangeWhatTheTreeSays) {
  // The same texts through the default tagger alone: the corrections above
  // are not what the tree already answers.
  feat_set(voice_->features, "pos_tagger_func", uttfunc_val(default_pos_tagger));
  cst_utterance* u = synth("record");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(feat(word_named(u, "record"), "pos"), "n");
  for (const char* text : {"I don't care", "We cannot stand", "Shall dance"}) {
    u = synth(text);
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(feat(item_last_daughter(relation_tail(utt_relation(u, "Token"))), "pos"), "n") << text;
  }
  // After "to" the tree's answer stands.
  u = synth("go to school");
  ASSERT_NE(u, nullptr);
  std::string treeSchool = feat(word_named(u, "school"), "pos");
  feat_set(voice_->features, "pos_tagger_func", uttfunc_val(en_pos_tagger));
  u = synth("go to school");
  EXPECT_EQ(feat(word_named(u, "school"), "pos"), treeSchool);
}

// Node by node: feature names, operators, branches and values.
void expect_same_tree(const cst_cart& ours, const cst_cart& theirs, int nodes) {
  int n = 0;
  for (;; ++n) {
    const cst_cart_node& a = ours.rule_table[n];
    const cst_cart_node& b = theirs.rule_table[n];
    ASSERT_EQ(a.val == nullptr, b.val == nullptr) << "node " << n;
    if (!a.val) break;
    ASSERT_EQ(a.op, b.op) << "node " << n;
    ASSERT_EQ(a.no_node, b.no_node) << "node " << n;
    if (a.op != CST_CART_OP_LEAF) {
      ASSERT_STREQ(ours.feat_table[a.feat], theirs.feat_table[b.feat]) << "node " << n;
    }
    ASSERT_EQ(CST_VAL_TYPE(a.val), CST_VAL_TYPE(b.val)) << "node " << n;
    if (CST_VAL_TYPE(a.val) == CST_VAL_TYPE_STRING)
      EXPECT_STREQ(val_string(a.val), val_string(b.val)) << "node " << n;
    else
      EXPECT_EQ(val_float(a.val), val_float(b.val)) << "node " << n;
  }
  EXPECT_EQ(n + 1, nodes);  // with the end marker
}

TEST(EnglishTrees, AreFlitesTreesNodeForNode) {
  expect_same_tree(en_pos_cart, us_pos_cart, 368);
  expect_same_tree(en_int_accent_cart, us_int_accent_cart, 150);
  expect_same_tree(en_int_tone_cart, us_int_tone_cart, 96);
  expect_same_tree(en_nums_cart, us_nums_cart, 98);
}

TEST_F(Tagger, ConvertedTreesAnswerAsFliteDoes) {
  const char* texts[] = {
      "The quick brown fox jumps over the lazy dog.",
      "Can you record live TV? I will, if it costs less than 25 dollars on May 3rd, 1999.",
      "However, nobody knew why the old man had left his house at 7:30 in the morning!",
      "She said \"no\" (twice) and walked away; they were all very surprised.",
  };
  int words = 0, syllables = 0, tokens = 0;
  for (const char* text : texts) {
    cst_utterance* u = synth(text);
    ASSERT_NE(u, nullptr);
    for (cst_item* w = relation_head(utt_relation(u, "Word")); w; w = item_next(w), ++words)
      EXPECT_STREQ(val_string(cart_interpret(w, &en_pos_cart)), val_string(cart_interpret(w, &us_pos_cart)))
          << item_feat_string(w, "name");
    for (cst_item* s = relation_head(utt_relation(u, "Syllable")); s; s = item_next(s), ++syllables) {
      EXPECT_STREQ(val_string(cart_interpret(s, &en_int_accent_cart)),
                   val_string(cart_interpret(s, &us_int_accent_cart)));
      EXPECT_STREQ(val_string(cart_interpret(s, &en_int_tone_cart)), val_string(cart_interpret(s, &us_int_tone_cart)));
    }
    for (cst_item* t = relation_head(utt_relation(u, "Token")); t; t = item_next(t), ++tokens)
      EXPECT_STREQ(val_string(cart_interpret(t, &en_nums_cart)), val_string(cart_interpret(t, &us_nums_cart)))
          << item_feat_string(t, "name");
  }
  EXPECT_GT(words, 50);
  EXPECT_GT(syllables, 60);
  EXPECT_GT(tokens, 40);
}

}  // namespace
