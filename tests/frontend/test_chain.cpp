#include <gtest/gtest.h>

#include <string.h>

#include <fstream>
#include <string>
#include <vector>

#include "frontend/en/en_phrasing.h"
#include "frontend/kvap_g2p.h"
#include "frontend/phrasing_common.h"
#include "frontend/kvap_opts.h"
#include "frontend/kvap_util.h"
#include "frontend/synth_util.h"
#include "frontend/text_common.h"
#include "modules/usen/usen_voice.h"

namespace {

class Chain : public ::testing::Test {
 protected:
  void SetUp() override { voice_ = usen_voice_new(0, nullptr, "iso-8859-15"); }
  void TearDown() override { usen_voice_delete(voice_); }
  std::vector<std::string> names(cst_utterance* u, const char* relation, const char* feature = "name") {
    std::vector<std::string> out;
    for (cst_item* i = relation_head(utt_relation(u, relation)); i; i = item_next(i))
      out.push_back(item_feat_present(i, feature) ? item_feat_string(i, feature) : "-");
    return out;
  }
  cst_voice* voice_;
};

// ---------------------------------------------------------------------------
// Segment context: the cached reading against plain feature-path evaluation.

const char kSyl[] = "R:SylStructure.parent.R:Syllable.";
const char kWrd[] = "R:SylStructure.parent.parent.R:Word.";
const char kPhr[] = "R:SylStructure.parent.parent.R:Phrase.parent.";
const char kEndTone[] =
    "R:SylStructure.parent.parent.R:Phrase.parent.daughtern.R:SylStructure.daughtern.endtone";

int fint(const cst_item* seg, const char* prefix, const char* base, const char* feature) {
  char path[192];
  snprintf(path, sizeof(path), "%s%s%s", prefix, base, feature);
  return ffeature_int(seg, path);
}

void fstr(const cst_item* seg, const char* prefix, const char* base, const char* feature, char* out) {
  char path[192];
  snprintf(path, sizeof(path), "%s%s%s", prefix, base, feature);
  kvap_copy(out, ffeature_string(seg, path), KVAP_TEXT_SIZE);
}

// The fields as the feature paths give them, one path evaluation each.
void path_context_read(const cst_item* seg, kvap_seg_context* c) {
  static const char* const kPhonePaths[5] = {"p.p.name", "p.name", "name", "n.name", "n.n.name"};
  memset(c, 0, sizeof(*c));
  for (int k = 0; k < 5; ++k) kvap_copy(c->phone[k], ffeature_string(seg, kPhonePaths[k]), KVAP_NAME_SIZE);
  c->pause = strcmp(ffeature_string(seg, "name"), "pau") == 0;
  c->pauseAhead = strcmp(ffeature_string(seg, "n.name"), "pau") == 0 ||
                  strcmp(ffeature_string(seg, "n.n.name"), "pau") == 0;
  kvap_copy(c->h5, ffeature_string(seg, kEndTone), KVAP_TEXT_SIZE);
  if (c->pause) {
    c->a1 = fint(seg, "p.", kSyl, "stress");
    c->a2 = fint(seg, "p.", kSyl, "accented");
    c->a3 = fint(seg, "p.", kSyl, "syl_numphones");
    c->c1 = fint(seg, "n.", kSyl, "stress");
    c->c2 = fint(seg, "n.", kSyl, "accented");
    c->c3 = fint(seg, "n.", kSyl, "syl_numphones");
    fstr(seg, "p.", kWrd, "gpos", c->d1);
    c->d2 = fint(seg, "p.", kWrd, "word_numsyls");
    fstr(seg, "n.", kWrd, "gpos", c->f1);
    c->f2 = fint(seg, "n.", kWrd, "word_numsyls");
    c->g1 = fint(seg, "p.", kPhr, "lisp_num_syls_in_phrase");
    c->g2 = fint(seg, "p.", kPhr, "lisp_num_words_in_phrase");
    c->i1 = fint(seg, "n.", kPhr, "lisp_num_syls_in_phrase");
    c->i2 = fint(seg, "n.", kPhr, "lisp_num_words_in_phrase");
    const char* via = item_next(seg) ? "n." : "p.";
    c->j1 = fint(seg, via, kPhr, "lisp_total_syls");
    c->j2 = fint(seg, via, kPhr, "lisp_total_words");
    c->j3 = fint(seg, via, kPhr, "lisp_total_phrases");
    // The reduced form also reads the phrase position through the neighbour.
    c->h3 = fint(seg, via, kSyl, "sub_phrases") + 1;
    c->h4 = fint(seg, via, kPhr, "lisp_total_phrases") - fint(seg, via, kSyl, "sub_phrases");
    return;
  }
  int posInSyl = ffeature_int(seg, "R:SylStructure.pos_in_syl");
  c->p6 = posInSyl + 1;
  c->p7 = fint(seg, "", kSyl, "syl_numphones") - posInSyl;
  c->a1 = fint(seg, "", kSyl, "p.stress");
  c->a2 = fint(seg, "", kSyl, "p.accented");
  c->a3 = fint(seg, "", kSyl, "p.syl_numphones");
  int posInWord = fint(seg, "", kSyl, "pos_in_word");
  c->b[1] = fint(seg, "", kSyl, "stress");
  c->b[2] = fint(seg, "", kSyl, "accented");
  c->b[3] = fint(seg, "", kSyl, "syl_numphones");
  c->b[4] = posInWord + 1;
  c->b[5] = fint(seg, "", kWrd, "word_numsyls") - posInWord;
  c->b[6] = fint(seg, "", kSyl, "syl_in") + 1;
  c->b[7] = fint(seg, "", kSyl, "syl_out") + 1;
  c->b[8] = fint(seg, "", kSyl, "ssyl_in") + 1;
  c->b[9] = fint(seg, "", kSyl, "ssyl_out") + 1;
  c->b[10] = fint(seg, "", kSyl, "asyl_in") + 1;
  c->b[11] = fint(seg, "", kSyl, "asyl_out") + 1;
  c->b[12] = fint(seg, "", kSyl, "lisp_distance_to_p_stress");
  c->b[13] = fint(seg, "", kSyl, "lisp_distance_to_n_stress");
  c->b[14] = fint(seg, "", kSyl, "lisp_distance_to_p_accent");
  c->b[15] = fint(seg, "", kSyl, "lisp_distance_to_n_accent");
  fstr(seg, "", kSyl, "syl_vowel", c->b16);
  c->c1 = fint(seg, "", kSyl, "n.stress");
  c->c2 = fint(seg, "", kSyl, "n.accented");
  c->c3 = fint(seg, "", kSyl, "n.syl_numphones");
  fstr(seg, "", kWrd, "p.gpos", c->d1);
  c->d2 = fint(seg, "", kWrd, "p.word_numsyls");
  fstr(seg, "", kWrd, "gpos", c->e1);
  c->e[2] = fint(seg, "", kWrd, "word_numsyls");
  c->e[3] = fint(seg, "", kWrd, "pos_in_phrase") + 1;
  c->e[4] = fint(seg, "", kWrd, "words_out");
  c->e[5] = fint(seg, "", kWrd, "content_words_in") + 1;
  c->e[6] = fint(seg, "", kWrd, "content_words_out") + 1;
  c->e[7] = fint(seg, "", kWrd, "lisp_distance_to_p_content");
  c->e[8] = fint(seg, "", kWrd, "lisp_distance_to_n_content");
  fstr(seg, "", kWrd, "n.gpos", c->f1);
  c->f2 = fint(seg, "", kWrd, "n.word_numsyls");
  c->g1 = fint(seg, "", kPhr, "p.lisp_num_syls_in_phrase");
  c->g2 = fint(seg, "", kPhr, "p.lisp_num_words_in_phrase");
  c->h1 = fint(seg, "", kPhr, "lisp_num_syls_in_phrase");
  c->h2 = fint(seg, "", kPhr, "lisp_num_words_in_phrase");
  int subPhrases = fint(seg, "", kSyl, "sub_phrases");
  c->h3 = subPhrases + 1;
  c->h4 = fint(seg, "", kPhr, "lisp_total_phrases") - subPhrases;
  c->i1 = fint(seg, "", kPhr, "n.lisp_num_syls_in_phrase");
  c->i2 = fint(seg, "", kPhr, "n.lisp_num_words_in_phrase");
  c->j1 = fint(seg, "", kPhr, "lisp_total_syls");
  c->j2 = fint(seg, "", kPhr, "lisp_total_words");
  c->j3 = fint(seg, "", kPhr, "lisp_total_phrases");
}
std::vector<std::string> context_texts() {
  std::vector<std::string> texts = {
      "cat", "a", "Hmm... 3,2,1: GO!!! x-y+z=w @home #tag 100%", "Well, I think so.",
      "Mr. Smith's 2nd-floor flat, at 221B Baker St., costs GBP 1,250/month (incl. bills)?",
      "I I I I I.", "Oh! Ah? Eh.", "The end; the end, the end: the end - the end."};
  for (const char* f : {"/bench/asr/tv_heldout.txt", "/bench/asr/guide.txt", "/bench/asr/numbers.txt"}) {
    std::ifstream in(std::string(VXN_TEST_SOURCE_DIR) + f);
    std::string line;
    while (std::getline(in, line))
      if (!line.empty()) texts.push_back(line);
  }
  return texts;
}

TEST_F(Chain, CachedSegmentContextIsTheFeaturePathsContext) {
  std::vector<std::string> texts = context_texts();
  ASSERT_GT(texts.size(), 50u);
  size_t segments = 0, pauses = 0;
  cst_utterance* previous = nullptr;
  for (const std::string& text : texts) {
    cst_utterance* u = flite_synth_text(text.c_str(), voice_, nullptr);
    ASSERT_NE(u, nullptr) << text;
    kvap_feature_cache cache;
    kvap_feature_cache_init(&cache);
    // A cache of the previous utterance: this one's items are looked up as before.
    kvap_feature_cache other;
    kvap_feature_cache_init(&other);
    if (previous) {
      kvap_seg_context scratch;
      kvap_seg_context_read_cached(relation_head(utt_relation(previous, "Segment")), &scratch, &other);
    }
    for (cst_item* s = relation_head(utt_relation(u, "Segment")); s; s = item_next(s)) {
      kvap_seg_context want, got, again, single, foreign;
      path_context_read(s, &want);
      kvap_seg_context_read_cached(s, &got, &cache);
      kvap_seg_context_read_cached(s, &again, &cache);
      kvap_seg_context_read(s, &single);
      kvap_seg_context_read_cached(s, &foreign, &other);
      const std::string where = text + " / segment " + std::to_string(segments);
      ASSERT_EQ(memcmp(&got, &want, sizeof(want)), 0) << where;
      ASSERT_EQ(memcmp(&again, &want, sizeof(want)), 0) << where;
      ASSERT_EQ(memcmp(&single, &want, sizeof(want)), 0) << where;
      ASSERT_EQ(memcmp(&foreign, &want, sizeof(want)), 0) << where;
      segments++;
      if (want.pause) pauses++;
    }
    EXPECT_EQ(cache.utt, u);
    if (previous) delete_utterance(previous);
    previous = u;
  }
  if (previous) delete_utterance(previous);
  EXPECT_GT(segments, 3000u);
  EXPECT_GT(pauses, 100u);
}

TEST_F(Chain, UtteranceStartsAndEndsWithPause) {
  cst_utterance* u = flite_synth_text("cat", voice_, nullptr);
  ASSERT_NE(u, nullptr);
  std::vector<std::string> segs = names(u, "Segment");
  std::vector<std::string> expect = {"pau", "k", "ae", "t", "pau"};
  EXPECT_EQ(segs, expect);
  std::vector<std::string> sources = names(u, "Segment", "pause_source");
  EXPECT_EQ(sources.front(), "utt_boundary");
  EXPECT_EQ(sources.back(), "utt_boundary");
  delete_utterance(u);
}

TEST_F(Chain, StressDigitsMoveToSyllables) {
  // about: ax0 . b aw1 t
  cst_utterance* u = flite_synth_text("about", voice_, nullptr);
  ASSERT_NE(u, nullptr);
  std::vector<std::string> stress = names(u, "Syllable", "stress");
  std::vector<std::string> expect = {"0", "1"};
  EXPECT_EQ(stress, expect);
  std::vector<std::string> segs = names(u, "Segment");
  std::vector<std::string> expectSegs = {"pau", "ax", "b", "aw", "t", "pau"};
  EXPECT_EQ(segs, expectSegs);
  delete_utterance(u);
}

TEST_F(Chain, PhrasalPausesMarkPhraseBoundaries) {
  cst_utterance* u = flite_synth_text("Well, I think so.", voice_, nullptr);
  ASSERT_NE(u, nullptr);
  std::vector<std::string> phrases = names(u, "Phrase");
  EXPECT_EQ(phrases.size(), 2u);
  std::vector<std::string> sources;
  for (cst_item* s = relation_head(utt_relation(u, "Segment")); s; s = item_next(s))
    if (item_feat_present(s, "pause_source")) sources.push_back(item_feat_string(s, "pause_source"));
  std::vector<std::string> expect = {"utt_boundary", "phrase_boundary", "utt_boundary"};
  EXPECT_EQ(sources, expect);
  delete_utterance(u);
}

TEST_F(Chain, InlinePhonesOnlyWhenEnabled) {
  cst_utterance* u = flite_synth_text("say word<!w.er1.d!> now", voice_, nullptr);
  ASSERT_NE(u, nullptr);
  std::vector<std::string> words = names(u, "Word");
  std::vector<std::string> plain = {"say", "word", "now"};
  EXPECT_NE(words, plain);  // the bracket is read as ordinary text
  delete_utterance(u);
  feat_set_int(voice_->features, "kvap.read_token_phones", 1);
  u = flite_synth_text("say word<!w.er1.d!> now", voice_, nullptr);
  ASSERT_NE(u, nullptr);
  words = names(u, "Word");
  std::vector<std::string> expect = {"say", "word", "now"};
  EXPECT_EQ(words, expect);
  cst_item* w = relation_head(utt_relation(u, "Word"));
  w = item_next(w);
  EXPECT_STREQ(item_feat_string(w, "explicit_entry"), "1");
  std::vector<std::string> segs = names(u, "Segment");
  std::vector<std::string> expectSegs = {"pau", "s", "ey", "w", "er", "d", "n", "aw", "pau"};
  EXPECT_EQ(segs, expectSegs);
  delete_utterance(u);
}

TEST_F(Chain, PreprocessingDropsSpaceBeforeFinalPunctuationAndParentheses) {
  feat_set_int(voice_->features, "kvap.omit_parenthesized", 1);
  cst_utterance* u = flite_norm_text("Hello (not this) world !", voice_, nullptr);
  ASSERT_NE(u, nullptr);
  EXPECT_STREQ(feat_string(u->features, "input_text"), "Hello   world!");
  std::vector<std::string> words = names(u, "Word");
  std::vector<std::string> expect = {"hello", "world"};
  EXPECT_EQ(words, expect);
  // The normalisation chain stops before lexical insertion.
  EXPECT_FALSE(utt_relation_present(u, "Segment"));
  delete_utterance(u);
}

// A step that makes Flite raise an error must not end the process.
cst_val* g_notAList = nullptr;

cst_utterance* bad_step(cst_utterance* u) {
  val_car(g_notAList);  // not a list: Flite reports an error and jumps
  return u;
}

TEST_F(Chain, FliteErrorsFailTheChain) {
  g_notAList = int_val(3);
  feat_set(voice_->features, "pos_tagger_func", uttfunc_val(bad_step));
  EXPECT_EQ(flite_synth_text("hello", voice_, nullptr), nullptr);
  feat_remove(voice_->features, "pos_tagger_func");
  cst_utterance* u = flite_synth_text("hello", voice_, nullptr);
  EXPECT_NE(u, nullptr);
  delete_utterance(u);
  delete_val(g_notAList);
}

TEST_F(Chain, NoPostlexOption) {
  // cmu_postlex turns "the" before a vowel into dh iy.
  cst_utterance* u = flite_synth_text("the apple", voice_, nullptr);
  std::vector<std::string> segs = names(u, "Segment");
  delete_utterance(u);
  EXPECT_EQ(segs[2], "iy");
  feat_set_int(voice_->features, "kvap.no_postlex", 1);
  u = flite_synth_text("the apple", voice_, nullptr);
  segs = names(u, "Segment");
  delete_utterance(u);
  EXPECT_EQ(segs[2], "ax");
}

class Variants : public ::testing::Test {
 protected:
  void SetUp() override { voice_ = usen_voice_new(1, nullptr, "iso-8859-15"); }
  void TearDown() override { usen_voice_delete(voice_); }
  std::vector<std::string> all(const char* text, unsigned flags) {
    char** results = nullptr;
    int count = 0;
    flite_g2p(voice_, text, &results, &count, flags);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(results[i]);
    free_flite_g2p_results(results);
    return out;
  }
  cst_voice* voice_;
};

TEST_F(Variants, TwoAmbiguousWordsGiveFourFirstWordFastest) {
  // live: l ay1 v / l ih1 v; wind: w ih1 n d / w ay1 n d.
  std::vector<std::string> v = all("live wind", G2P_WORD_BOUNDARY | G2P_PHONE_BOUNDARY);
  ASSERT_EQ(v.size(), 4u);
  auto word = [](const std::string& s, int k) {
    size_t a = 0;
    for (int i = 0; i <= k; ++i) a = s.find('#', a) + 1;
    size_t b = s.find('#', a);
    return s.substr(a, b == std::string::npos ? std::string::npos : b - a);
  };
  EXPECT_NE(word(v[0], 0), word(v[1], 0));
  EXPECT_EQ(word(v[0], 1), word(v[1], 1));
  EXPECT_EQ(word(v[0], 0), word(v[2], 0));
  EXPECT_NE(word(v[0], 1), word(v[2], 1));
  EXPECT_EQ(word(v[1], 0), word(v[3], 0));
  EXPECT_EQ(word(v[2], 1), word(v[3], 1));
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) EXPECT_NE(v[i], v[j]);
}

TEST_F(Variants, UnambiguousTextHasOneVariant) {
  EXPECT_EQ(all("the cat", 0).size(), 1u);
  // Without the switch, ambiguous words keep their first transcription.
  cst_voice* single = usen_voice_new(0, nullptr, "iso-8859-15");
  char** results = nullptr;
  int count = 0;
  flite_g2p(single, "live wind", &results, &count, 0);
  EXPECT_EQ(count, 1);
  free_flite_g2p_results(results);
  usen_voice_delete(single);
}

TEST_F(Variants, WordsBeyondTheFiftiethUseTheirFirstTranscription) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "the ";
  text += "live";
  EXPECT_EQ(all(text.c_str(), 0).size(), 1u);
  EXPECT_EQ(all("the live", 0).size(), 2u);
}

TEST_F(Variants, SlotCounterIsMixedRadix) {
  cst_utterance* a = new_utterance();
  ASSERT_TRUE(utt_variants_advance(a, nullptr));
  short* c = utt_variant_choices(a);
  short* n = utt_variant_counts(a);
  EXPECT_EQ(c[0], -1);
  EXPECT_EQ(n[49], 1);
  c[0] = 1;  // slot 0: last of two
  n[0] = 2;
  c[1] = 0;  // slot 1: first of three
  n[1] = 3;
  cst_utterance* b = new_utterance();
  ASSERT_TRUE(utt_variants_advance(b, a));
  EXPECT_EQ(utt_variant_choices(b)[0], 0);
  EXPECT_EQ(utt_variant_choices(b)[1], 1);
  // The last combination has no successor.
  utt_variant_choices(b)[0] = 1;
  utt_variant_choices(b)[1] = 2;
  cst_utterance* c2 = new_utterance();
  EXPECT_FALSE(utt_variants_advance(c2, b));
  delete_utterance(a);
  delete_utterance(b);
  delete_utterance(c2);
}

}  // namespace

namespace {

std::vector<std::string> phrase_names(cst_utterance* u, std::vector<int>* sizes) {
  std::vector<std::string> out;
  for (cst_item* p = relation_head(utt_relation(u, "Phrase")); p; p = item_next(p)) {
    out.push_back(item_feat_string(p, "name"));
    int n = 0;
    for (cst_item* w = item_daughter(p); w; w = item_next(w)) ++n;
    sizes->push_back(n);
  }
  return out;
}

TEST(Phrasing, EnglishWordPairsAndPunctuation) {
  cst_voice* v = usen_voice_new(0, nullptr, "iso-8859-15");
  feat_set(v->features, "phrasing_func", uttfunc_val(en_phrasing));
  cst_utterance* u = flite_synth_text("I went there as if I knew it, then left.", v, nullptr);
  ASSERT_NE(u, nullptr);
  std::vector<int> sizes;
  std::vector<std::string> names = phrase_names(u, &sizes);
  std::vector<std::string> expect = {"B", "B", "BB"};
  std::vector<int> expectSizes = {3, 5, 2};
  EXPECT_EQ(names, expect);
  EXPECT_EQ(sizes, expectSizes);
  delete_utterance(u);
  // Without punctuation ahead the pair does not break.
  u = flite_synth_text("I went there as if I knew it", v, nullptr);
  sizes.clear();
  names = phrase_names(u, &sizes);
  EXPECT_EQ(names, std::vector<std::string>{"BB"});
  delete_utterance(u);
  // Punctuation phrasing: weak punctuation gives B, the text end stays BB.
  feat_set(v->features, "phrasing_func", uttfunc_val(punctuation_phrasing));
  u = flite_synth_text("One, two; three", v, nullptr);
  sizes.clear();
  names = phrase_names(u, &sizes);
  expect = {"B", "B", "BB"};
  EXPECT_EQ(names, expect);
  delete_utterance(u);
  usen_voice_delete(v);
}

}  // namespace

namespace {

// Reads text with a token stream and reports where default_utt_break cuts.
std::vector<std::string> break_after(const char* text) {
  cst_utterance* u = new_utterance();
  cst_relation* tokens = utt_relation_create(u, "Token");
  cst_tokenstream* ts = ts_open_string(text, cst_ts_default_whitespacesymbols, cst_ts_default_singlecharsymbols,
                                       cst_ts_default_prepunctuationsymbols, cst_ts_default_postpunctuationsymbols);
  std::vector<std::string> out;
  while (!ts_eof(ts)) {
    const char* token = ts_get(ts);
    if (relation_tail(tokens) && default_utt_break(ts, token, tokens))
      out.push_back(item_feat_string(relation_tail(tokens), "name"));
    cst_item* t = relation_append(tokens, nullptr);
    item_set_string(t, "name", token);
    item_set_string(t, "punc", ts->postpunctuation);
  }
  ts_close(ts);
  delete_utterance(u);
  return out;
}

TEST(UttBreak, SentenceEndsAndAbbreviations) {
  std::vector<std::string> expect = {"arrived", "late"};
  EXPECT_EQ(break_after("Dr. Smith arrived. He was late! so"), expect);
  EXPECT_EQ(break_after("Mr. Jones"), std::vector<std::string>{});           // short capitalised token
  EXPECT_EQ(break_after("see the U.S.A. Then"), std::vector<std::string>{});  // ends in a capital
  EXPECT_EQ(break_after("one\n\ntwo"), std::vector<std::string>{"one"});
}

TEST(Tagger, DictionaryBeforeTree) {
  cst_voice* v = usen_voice_new(0, nullptr, "iso-8859-15");
  cst_utterance* u = flite_synth_text("a nice dog", v, nullptr);
  ASSERT_NE(u, nullptr);
  cst_item* w = relation_head(utt_relation(u, "Word"));
  EXPECT_STREQ(item_feat_string(w, "pos"), "d");
  EXPECT_STREQ(item_feat_string(item_next(w), "pos"), "a");
  EXPECT_STREQ(item_feat_string(item_next(item_next(w)), "pos"), "n");  // from the tree
  delete_utterance(u);
  usen_voice_delete(v);
}

}  // namespace

namespace {

std::vector<std::string> pause_sources(cst_utterance* u) {
  std::vector<std::string> out;
  for (cst_item* s = relation_head(utt_relation(u, "Segment")); s; s = item_next(s))
    if (strcmp(item_feat_string(s, "name"), "pau") == 0)
      out.push_back(item_feat_present(s, "pause_source") ? item_feat_string(s, "pause_source") : "-");
  return out;
}

TEST(PhoneticPauses, MarksInsertAnnotatedPauses) {
  cst_voice* v = usen_voice_new(0, nullptr, "iso-8859-15");
  cst_utterance* u = flite_synth_text("hello,! world", v, nullptr);
  // Without the option the marks are plain punctuation: a comma phrase.
  std::vector<std::string> expect = {"utt_boundary", "phrase_boundary", "utt_boundary"};
  EXPECT_EQ(pause_sources(u), expect);
  delete_utterance(u);
  feat_set_int(v->features, "kvap.phonetic_pauses", 1);
  u = flite_synth_text("hello,! world", v, nullptr);
  expect = {"utt_boundary", "annotation", "utt_boundary"};
  EXPECT_EQ(pause_sources(u), expect);
  EXPECT_STREQ(item_feat_string(relation_head(utt_relation(u, "Token")), "punc"), "");
  delete_utterance(u);
  // Phonetic phrases close only at long marks.
  feat_set_int(v->features, "kvap.phonetic_phrases", 1);
  u = flite_synth_text("one,! two;! three", v, nullptr);
  int phrases = 0;
  for (cst_item* p = relation_head(utt_relation(u, "Phrase")); p; p = item_next(p)) ++phrases;
  EXPECT_EQ(phrases, 2);
  delete_utterance(u);
  usen_voice_delete(v);
}

}  // namespace
