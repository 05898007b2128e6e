// Syllable editing, English post-lexical rules and the post-lexical switch on
// utterances of the US English chain.
#include "tests/frontend/postlex_fixture.h"

#include <ctype.h>

#include "frontend/en/en_postlex.h"
#include "frontend/kvap_debug.h"
#include "frontend/lex_common.h"
#include "frontend/postlex_common.h"
#include "frontend/sylstruct_common.h"

namespace {

using Syl = UsVoice;

cst_item* first_phone(cst_item* word) { return path_to_item(word, "R:SylStructure.daughter1.daughter1"); }
cst_item* nth_syllable(cst_item* word, int n) { return item_nth_daughter(item_as(word, "SylStructure"), n); }
cst_item* nucleus(cst_item* syllable) {
  for (cst_item* p = item_daughter(syllable); p; p = item_next(p))
    if (default_is_syl_nucleus(item_feat_string(p, "name"))) return p;
  return nullptr;
}

TEST_F(Syl, InsertedPhonesJoinBothRelations) {
  cst_utterance* u = synth("banana");
  ASSERT_NE(u, nullptr);
  cst_item* w = word_named(u, "banana");
  ASSERT_EQ(syllables(w), "b ax|n ae|n ax");
  // Before the first phone of a syllable (the syllable's first-daughter link
  // moves), after its last, and in the middle.
  cst_item* n = item_daughter(nth_syllable(w, 1));
  ASSERT_NE(prepend_phoneme(n, "s"), nullptr);
  EXPECT_EQ(consistency(u), "");
  ASSERT_NE(append_phoneme(item_last_daughter(nth_syllable(w, 2)), "z"), nullptr);
  EXPECT_EQ(consistency(u), "");
  ASSERT_NE(append_phoneme(item_daughter(nth_syllable(w, 0)), "l"), nullptr);
  EXPECT_EQ(consistency(u), "");
  EXPECT_EQ(syllables(w), "b l ax|s n ae|n ax z");
  std::vector<std::string> segs = names(u, "Segment");
  std::vector<std::string> expect = {"pau", "b", "l", "ax", "s", "n", "ae", "n", "ax", "z", "pau"};
  EXPECT_EQ(segs, expect);
  // A pause has no syllable: the new phone goes into Segment only.
  cst_item* pause = relation_head(utt_relation(u, "Segment"));
  cst_item* added = append_phoneme(pause, "pau");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(item_as(added, "SylStructure"), nullptr);
  EXPECT_EQ(consistency(u), "");
  EXPECT_EQ(append_phoneme(nullptr, "x"), nullptr);
}

TEST_F(Syl, RemovingPhonesMergesOrDropsSyllables) {
  cst_utterance* u = synth("banana a cat");
  ASSERT_NE(u, nullptr);
  cst_item* w = word_named(u, "banana");
  // The nucleus of the middle syllable: its onset joins the first syllable.
  remove_phoneme(nucleus(nth_syllable(w, 1)));
  EXPECT_EQ(consistency(u), "");
  EXPECT_EQ(syllables(w), "b ax n|n ax");
  // The nucleus of the first syllable has no previous syllable to join.
  remove_phoneme(nucleus(nth_syllable(w, 0)));
  EXPECT_EQ(consistency(u), "");
  EXPECT_EQ(syllables(w), "b n|n ax");
  // A consonant: only the phone goes.
  remove_phoneme(item_daughter(nth_syllable(w, 1)));
  EXPECT_EQ(syllables(w), "b n|ax");
  EXPECT_EQ(consistency(u), "");
  // The only phone of a word: the syllable goes with it.
  cst_item* a = word_named(u, "a");
  ASSERT_EQ(syllables(a), "ax");
  remove_phoneme_unchecked(first_phone(a));
  EXPECT_EQ(syllables(a), "");
  EXPECT_EQ(consistency(u), "");
  EXPECT_EQ(names(u, "Syllable").size(), 3u);
}

TEST_F(Syl, MergeAcrossWordsStopsAtPauses) {
  cst_utterance* u = synth("the cat");
  ASSERT_NE(u, nullptr);
  cst_item* cat = word_named(u, "cat");
  remove_phoneme(nucleus(nth_syllable(cat, 0)));  // first syllable of its word: no merge
  EXPECT_EQ(syllables(cat), "k t");
  EXPECT_EQ(consistency(u), "");

  u = synth("the cat");
  cat = word_named(u, "cat");
  remove_phoneme_merge_across_words(nucleus(nth_syllable(cat, 0)));
  EXPECT_EQ(syllables(word_named(u, "the")), "dh ax k t");
  EXPECT_EQ(syllables(cat), "");
  EXPECT_EQ(consistency(u), "");

  // A phrase pause between the words keeps the syllables apart.
  u = synth("well, cat");
  cat = word_named(u, "cat");
  remove_phoneme_merge_across_words(nucleus(nth_syllable(cat, 0)));
  EXPECT_EQ(syllables(word_named(u, "well")), "w eh l");
  EXPECT_EQ(syllables(cat), "k t");
  EXPECT_EQ(consistency(u), "");
}

TEST_F(Syl, SyllableMergesKeepOrderAndMoveEndTone) {
  cst_utterance* u = synth("fantastic");
  ASSERT_NE(u, nullptr);
  cst_item* w = word_named(u, "fantastic");
  ASSERT_EQ(syllables(w), "f ae n|t ae|s t ih k");
  item_set_string(nth_syllable(w, 2), "endtone", "X");
  EXPECT_TRUE(merge_syllable_with_previous(nth_syllable(w, 2)));
  EXPECT_EQ(syllables(w), "f ae n|t ae s t ih k");
  EXPECT_EQ(feat(nth_syllable(w, 1), "endtone"), "X");
  EXPECT_EQ(consistency(u), "");
  EXPECT_TRUE(merge_syllable_with_next(nth_syllable(w, 0)));
  EXPECT_EQ(syllables(w), "f ae n t ae s t ih k");
  EXPECT_EQ(consistency(u), "");
  // No neighbour: nothing changes.
  EXPECT_FALSE(merge_syllable_with_previous(nth_syllable(w, 0)));
  EXPECT_FALSE(merge_syllable_with_next(nth_syllable(w, 0)));
  EXPECT_EQ(syllables(w), "f ae n t ae s t ih k");
  EXPECT_EQ(names(u, "Syllable").size(), 1u);

  u = synth("fantastic");
  w = word_named(u, "fantastic");
  cst_item* middle = nth_syllable(w, 1);
  EXPECT_FALSE(merge_syllable_with_neighbors(middle, item_daughter(nth_syllable(w, 0))));
  EXPECT_TRUE(merge_syllable_with_neighbors(middle, nucleus(middle)));
  EXPECT_EQ(syllables(w), "f ae n t|s t ih k");
  EXPECT_EQ(consistency(u), "");
  EXPECT_FALSE(merge_syllable_with_neighbors(nth_syllable(w, 0), nucleus(nth_syllable(w, 0))));
}

TEST_F(Syl, RemovingANucleusMergesWithTheNeighboursThere) {
  struct Case {
    const char* word;
    int syllable;
    const char* expect;
  } cases[] = {
      {"fantastic", 1, "f ae n t|s t ih k"},  // both neighbours
      {"fantastic", 0, "f n t ae|s t ih k"},  // only a next one
      {"fantastic", 2, "f ae n|t ae s t k"},  // only a previous one
      {"cat", 0, "k t"},                      // none
  };
  for (const Case& c : cases) {
    cst_utterance* u = synth(c.word);
    ASSERT_NE(u, nullptr);
    cst_item* w = word_named(u, c.word);
    remove_syllable_nucleus(nucleus(nth_syllable(w, c.syllable)));
    EXPECT_EQ(syllables(w), c.expect) << c.word << " " << c.syllable;
    EXPECT_EQ(consistency(u), "") << c.word << " " << c.syllable;
  }
}

TEST_F(Syl, ResyllabifyRestoresTheLexiconGrouping) {
  cst_utterance* u = synth("fantastic banana");
  ASSERT_NE(u, nullptr);
  for (const char* name : {"fantastic", "banana"}) {
    cst_item* w = word_named(u, name);
    std::string original = syllables(w);
    // Everything in one syllable: the boundaries need new syllables after it.
    while (merge_syllable_with_previous(item_last_daughter(item_as(w, "SylStructure")))) {
    }
    EXPECT_EQ(syllables(w).find('|'), std::string::npos);
    EXPECT_TRUE(resyllabify_word(w));
    EXPECT_EQ(syllables(w), original) << name;
    EXPECT_EQ(consistency(u), "") << name;
  }
  // A shifted boundary moves back.
  cst_item* w = word_named(u, "banana");
  remove_phoneme_unchecked(item_daughter(nth_syllable(w, 2)));
  append_phoneme(item_last_daughter(nth_syllable(w, 1)), "n");
  EXPECT_EQ(syllables(w), "b ax|n ae n|ax");
  EXPECT_TRUE(resyllabify_word(w));
  EXPECT_EQ(syllables(w), "b ax|n ae|n ax");
  EXPECT_EQ(consistency(u), "");
  cst_val* phones = get_word_phones(w);
  std::string joined;
  for (const cst_val* p = phones; p; p = val_cdr(p)) joined += std::string(val_string(val_car(p))) + ";";
  delete_val(phones);
  EXPECT_EQ(joined, "b;ax;n;ae;n;ax;");
}

TEST_F(Syl, NucleusAndPositionTests) {
  EXPECT_TRUE(default_is_syl_nucleus("ax"));
  EXPECT_TRUE(default_is_syl_nucleus("@"));
  EXPECT_TRUE(default_is_syl_nucleus("y"));
  EXPECT_FALSE(default_is_syl_nucleus("r"));
  EXPECT_FALSE(default_is_syl_nucleus(""));
  EXPECT_FALSE(default_is_syl_nucleus(nullptr));

  cst_utterance* u = synth("strengths");
  ASSERT_NE(u, nullptr);
  cst_item* w = word_named(u, "strengths");
  cst_item* s = first_phone(w);
  EXPECT_TRUE(is_word_initial(s));
  EXPECT_FALSE(is_word_final(s));
  EXPECT_FALSE(has_vowel_in_syl(s));
  cst_item* last = path_to_item(w, "R:SylStructure.daughtern.daughtern");
  EXPECT_TRUE(is_word_final(last));
  EXPECT_TRUE(has_vowel_in_syl(last));
  EXPECT_TRUE(ssyl_has_nucleus(nth_syllable(w, 0)));
  EXPECT_FALSE(is_word_initial(relation_head(utt_relation(u, "Segment"))));  // the pause
  EXPECT_FALSE(has_token_pronunciation(w));

  cst_val* list = cons_val(string_val("s"), cons_val(string_val("t"), nullptr));
  EXPECT_FALSE(has_nucleus_in_list(u, list));
  // A voice's own nucleus test replaces the default: here "s" is a nucleus.
  feat_set(u->features, "syl_nucleus_func", phonefunc_val([](const char* p) { return p[0] == 's'; }));
  EXPECT_TRUE(has_nucleus_in_list(u, list));
  EXPECT_TRUE(generic_is_syl_nucleus(u, "s"));
  EXPECT_FALSE(generic_is_syl_nucleus(u, "ax"));
  EXPECT_TRUE(generic_is_syl_nucleus(nullptr, "ax"));
  cst_val* other = string_val("s");
  EXPECT_EQ(val_phonefunc(other), nullptr);
  delete_val(other);
  delete_val(list);
}

TEST_F(Syl, InlinePhonesAreATokenPronunciation) {
  feat_set_int(voice_->features, "kvap.read_token_phones", 1);
  cst_utterance* u = synth("say word<!w.er1.d!>");
  ASSERT_NE(u, nullptr);
  EXPECT_TRUE(has_token_pronunciation(word_named(u, "word")));
  EXPECT_FALSE(has_token_pronunciation(word_named(u, "say")));
}

TEST_F(Syl, AcronymStressKeepsTheLastStressedSyllable) {
  cst_utterance* u = synth("afternoon nineteen");
  ASSERT_NE(u, nullptr);
  cst_item* afternoon = word_named(u, "afternoon");
  ASSERT_EQ(stresses(afternoon), "101");
  EXPECT_EQ(stressed_syl_count(afternoon), 2);
  acronym_fix_stress(afternoon);
  EXPECT_EQ(stresses(afternoon), "001");
  cst_item* nineteen = word_named(u, "nineteen");
  remove_word_stress(nineteen);
  EXPECT_EQ(stresses(nineteen), "00");
  EXPECT_EQ(stressed_syl_count(nineteen), 0);
  acronym_fix_stress(nineteen);  // nothing stressed: nothing to keep
  EXPECT_EQ(stresses(nineteen), "00");

  // Lexical insertion fixes only the words marked as acronyms.
  cst_utterance* h = new_utterance();
  utts_.push_back(h);
  utt_init(h, voice_);
  cst_relation* words = utt_relation_create(h, "Word");
  item_set_string(relation_append(words, nullptr), "name", "afternoon");
  cst_item* marked = relation_append(words, nullptr);
  item_set_string(marked, "name", "afternoon");
  item_set_int(marked, "acronym", 1);
  ASSERT_EQ(lexical_insertion_with_acronym_stress(h), h);
  EXPECT_EQ(stresses(relation_head(words)), "101");
  EXPECT_EQ(stresses(marked), "001");
  EXPECT_EQ(consistency(h), "");
}

// Token rules that mark upper-case tokens as acronyms.
cst_val* marking_tokentowords(cst_item* token) {
  std::string name = item_feat_string(token, "name");
  bool upper = !name.empty();
  for (char& c : name) {
    upper = upper && isupper((unsigned char)c);
    c = (char)tolower((unsigned char)c);
  }
  if (!upper) return cons_val(string_val(name.c_str()), nullptr);
  cst_features* f = new_features();
  feat_set_int(f, "acronym", 1);
  return cons_val(cons_val(string_val(name.c_str()), features_val(f)), nullptr);
}

TEST_F(Syl, TheUsChainFixesAcronymStress) {
  feat_set(voice_->features, "tokentowords_func", itemfunc_val(marking_tokentowords));
  cst_utterance* u = synth("AFTERNOON afternoon");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(stresses(word_named(u, "afternoon", 0)), "001");
  EXPECT_EQ(stresses(word_named(u, "afternoon", 1)), "101");
}

using Postlex = UsVoice;

TEST_F(Postlex, PossessiveEndings) {
  cst_utterance* u = synth("The dog's bone, the horse's tail and the cat's paw.");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(consistency(u), "");
  cst_item* dog = word_named(u, "'s", 0);
  cst_item* horse = word_named(u, "'s", 1);
  cst_item* cat = word_named(u, "'s", 2);
  ASSERT_TRUE(dog && horse && cat);
  EXPECT_EQ(syllables(dog), "z");
  EXPECT_EQ(feat(dog, "debug_postlex_tags"), "-");
  EXPECT_EQ(syllables(horse), "ax z");
  EXPECT_EQ(syllables(cat), "s");
  char* tags = item_get_debug_tag_string(horse, "debug_postlex_tags");
  EXPECT_STREQ(tags, "+ax");
  cst_free(tags);
  tags = item_get_debug_tag_string(nth_syllable(cat, 0), "debug_postlex_tags");
  EXPECT_STREQ(tags, "devoi_'s");
  cst_free(tags);
  // The schwa is a phone of the segment stream, between the s and the z.
  std::vector<std::string> segs = names(u, "Segment");
  std::string all;
  for (const std::string& s : segs) all += s + " ";
  EXPECT_NE(all.find("hh ao r s ax z t"), std::string::npos) << all;
  EXPECT_NE(all.find("k ae t s p"), std::string::npos) << all;
}

TEST_F(Postlex, ContractionsAfterConsonantsGetASchwa) {
  cst_utterance* u = synth("It'll do, could've gone, Jack'd go. We'll see, I'd say, you've been.");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(syllables(word_named(u, "'ll", 0)), "ax l");
  EXPECT_EQ(syllables(word_named(u, "'ve", 0)), "ax v");
  EXPECT_EQ(syllables(word_named(u, "'d", 0)), "ax d");
  EXPECT_EQ(syllables(word_named(u, "'ll", 1)), "l");
  EXPECT_EQ(syllables(word_named(u, "'d", 1)), "d");
  EXPECT_EQ(syllables(word_named(u, "'ve", 1)), "v");
  EXPECT_EQ(consistency(u), "");
}

TEST_F(Postlex, TheBeforeAVowel) {
  cst_utterance* u = synth("the apple and the pear");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(syllables(word_named(u, "the", 0)), "dh iy");
  EXPECT_EQ(syllables(word_named(u, "the", 1)), "dh ax");
}

TEST_F(Postlex, NonRhoticVoiceDropsSyllableFinalR) {
  feat_set(voice_->features, "postlex_func", uttfunc_val(remove_r));
  cst_utterance* u = synth("car park, far away r");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(syllables(word_named(u, "car")), "k aa");
  EXPECT_EQ(syllables(word_named(u, "park")), "p aa r k");  // not syllable-final
  EXPECT_EQ(syllables(word_named(u, "far")), "f aa r");     // a vowel follows
  EXPECT_EQ(syllables(word_named(u, "r")), "aa r");         // the letter itself
  char* tags = item_get_debug_tag_string(word_named(u, "car"), "debug_postlex_tags");
  EXPECT_STREQ(tags, "-r");
  cst_free(tags);
  EXPECT_EQ(consistency(u), "");
}

int g_postlexCalls = 0;
cst_utterance* counting_postlex(cst_utterance* u) {
  ++g_postlexCalls;
  return u;
}

TEST_F(Postlex, SwitchedOffRunsNothing) {
  feat_set_int(voice_->features, "kvap.no_postlex", 1);
  cst_utterance* u = synth("the horse's apple");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(syllables(word_named(u, "'s")), "z");
  EXPECT_EQ(syllables(word_named(u, "the")), "dh ax");

  feat_set(voice_->features, "postlex_func", uttfunc_val(counting_postlex));
  g_postlexCalls = 0;
  ASSERT_NE(synth("the horse's apple"), nullptr);
  EXPECT_EQ(g_postlexCalls, 0);
  feat_set_int(voice_->features, "kvap.no_postlex", 0);
  ASSERT_NE(synth("the horse's apple"), nullptr);
  EXPECT_EQ(g_postlexCalls, 1);
}

TEST_F(Postlex, RulesLeaveUtterancesWithoutMatchesAlone) {
  cst_utterance* u = synth("dogs run");
  ASSERT_NE(u, nullptr);
  std::vector<std::string> before = names(u, "Segment");
  apostrophe_s(u, "ax");
  remove_r(u);
  EXPECT_EQ(names(u, "Segment"), before);
  // Without a phone set the possessive rule cannot classify phones.
  cst_utterance* bare = new_utterance();
  utts_.push_back(bare);
  EXPECT_EQ(apostrophe_s(bare, "ax"), bare);
  EXPECT_EQ(apostrophe_s(nullptr, "ax"), nullptr);
}

}  // namespace
