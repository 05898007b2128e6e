#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "frontend/app.h"
#include "frontend/kvap_debug.h"
#include "frontend/kvap_g2p.h"
#include "frontend/kvap_iconv.h"
#include "frontend/kvap_opts.h"
#include "frontend/en/en_gpos.h"
#include "modules/usen/usen_voice.h"

namespace {

TEST(Iconv, ConvertsAndReportsErrors) {
  kvap_iconv_t h = open_iconv_handler("utf-8", "iso-8859-15");
  ASSERT_NE(h, (kvap_iconv_t)-1);
  char out[16];
  EXPECT_EQ(simple_iconv(h, "caf\xe9", out, sizeof(out)), 0);
  EXPECT_STREQ(out, "caf\xc3\xa9");
  char tiny[4];
  EXPECT_NE(simple_iconv(h, "caf\xe9", tiny, sizeof(tiny)), 0);  // needs 5 bytes + terminator
  EXPECT_STREQ(tiny, "");
  EXPECT_EQ(simple_iconv(h, "abc", out, 0), 0);
  close_iconv_handler(h);
  kvap_iconv_t back = open_iconv_handler("iso-8859-15", "utf-8");
  EXPECT_NE(simple_iconv(back, "bad \xc3", out, sizeof(out)), 0);  // incomplete sequence
  EXPECT_STREQ(out, "");
  close_iconv_handler(back);
  EXPECT_EQ(open_iconv_handler("no-such-charset", "utf-8"), (kvap_iconv_t)-1);
  cst_val* v = iconvhand_val((kvap_iconv_t)0x1234);
  EXPECT_EQ(val_iconvhand(v), (kvap_iconv_t)0x1234);
  delete_val(v);
  cst_val* s = string_val("x");
  EXPECT_EQ(val_iconvhand(s), (kvap_iconv_t)-1);
  delete_val(s);
}

TEST(DebugTags, AppendOnceInOrder) {
  cst_utterance* u = new_utterance();
  cst_item* i = relation_append(utt_relation_create(u, "Word"), nullptr);
  char* empty = item_get_debug_tag_string(i, "debug_lex_tags");
  EXPECT_STREQ(empty, "");
  cst_free(empty);
  item_add_debug_tag(i, "debug_lex_tags", "lts");
  item_add_debug_tag(i, "debug_lex_tags", "user");
  item_add_debug_tag(i, "debug_lex_tags", "lts");
  char* s = item_get_debug_tag_string(i, "debug_lex_tags");
  EXPECT_STREQ(s, "lts user");
  cst_free(s);
  delete_utterance(u);
}

TEST(Options, NameValueAndParsing) {
  char *name, *value;
  ASSERT_EQ(get_name_val("kvap.user_dict:/tmp/x", &name, &value), 1);
  EXPECT_STREQ(name, "kvap.user_dict");
  EXPECT_STREQ(value, "/tmp/x");
  free(name);
  free(value);
  ASSERT_EQ(get_name_val("{kvap.voice_name}:{anna}", &name, &value), 1);
  EXPECT_STREQ(name, "kvap.voice_name");
  EXPECT_STREQ(value, "anna");
  free(name);
  free(value);
  EXPECT_EQ(get_name_val("novalue", &name, &value), 0);

  const char* argv1[] = {"tool", "-wb", "-sm", "-u", "-O", "kvap.no_postlex:1", nullptr};
  unsigned flags = 0;
  int mp = 0;
  kvap_option* opts = nullptr;
  EXPECT_EQ(parse_options(6, const_cast<char**>(argv1), &flags, &mp, &opts), 1);
  EXPECT_EQ(flags, (unsigned)(G2P_WORD_BOUNDARY | G2P_STRESS_MARK | G2P_UTF8));
  ASSERT_NE(opts, nullptr);
  EXPECT_STREQ(opts[0][0], "kvap.input_encoding");
  EXPECT_STREQ(opts[0][1], "utf-8");
  EXPECT_STREQ(opts[1][0], "kvap.no_postlex");
  EXPECT_EQ(opts[2], nullptr);
  free_options(opts);
  const char* argv2[] = {"tool", "-mp", "-version", nullptr};
  opts = nullptr;
  EXPECT_EQ(parse_options(3, const_cast<char**>(argv2), &flags, &mp, &opts), -10);
  EXPECT_EQ(mp, 1);
  const char* argv3[] = {"tool", "-encoding", nullptr};
  EXPECT_EQ(parse_options(2, const_cast<char**>(argv3), &flags, &mp, &opts), -11);
  const char* argv4[] = {"tool", "-what", nullptr};
  EXPECT_EQ(parse_options(2, const_cast<char**>(argv4), &flags, &mp, &opts), -2);
  free_options(opts);
}

TEST(Options, ExtendedOptionsOnAVoice) {
  cst_voice* v = usen_voice_new(0, nullptr, "iso-8859-15");
  char name[] = "kvap.input_encoding";
  char value[] = "utf-8";
  char* pair[2] = {name, value};
  kvap_option options[2] = {pair, nullptr};
  set_ext_options(v, options);
  EXPECT_STREQ(get_param_string(v->features, "kvap.input_encoding", ""), "utf-8");
  ASSERT_TRUE(feat_present(v->features, "iconv_handler"));
  // The chain converts UTF-8 input to the voice encoding first.
  char** results = nullptr;
  int count = 0;
  g2p(v, "caf\xc3\xa9", &results, &count, G2P_NORM);
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(results[0], "caf\xe9");  // one Latin-9 byte, a letter of the word
  free_g2p_results(results);
  common_deinit(v);
  EXPECT_FALSE(feat_present(v->features, "iconv_handler"));
  set_ext_options(v, nullptr);
  usen_voice_delete(v);
}

TEST(Options, UserDictionaryComesFirst) {
  char path[] = "/tmp/vxn_frontend_test_addenda.txt";
  FILE* f = fopen(path, "w");
  ASSERT_NE(f, nullptr);
  fputs("hello : k ae1 t\nworld n : b ae1 t\n", f);
  fclose(f);
  cst_voice* v = usen_voice_new(0, path, "iso-8859-15");
  char** results = nullptr;
  int count = 0;
  g2p(v, "hello world", &results, &count, G2P_PHONE_BOUNDARY);
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(results[0], "k ae t b ae t");
  free_g2p_results(results);
  g2p(v, "hello you", &results, &count, G2P_DEBUG);
  ASSERT_EQ(count, 1);
  EXPECT_NE(strstr(results[0], "| user |"), nullptr) << results[0];
  free_g2p_results(results);
  usen_voice_delete(v);
  remove(path);
}

TEST(Gpos, EnglishClassesAndDictionary) {
  EXPECT_STREQ(gpos_lookup(en_gpos, "of"), "in");
  EXPECT_STREQ(gpos_lookup(en_gpos, "to"), "to");
  EXPECT_STREQ(gpos_lookup(en_gpos, "many"), "det");
  EXPECT_STREQ(gpos_lookup(en_gpos, "ought"), "md");
  EXPECT_STREQ(gpos_lookup(en_gpos, "nor"), "cc");
  EXPECT_STREQ(gpos_lookup(en_gpos, "when"), "wp");
  EXPECT_STREQ(gpos_lookup(en_gpos, "mine"), "pps");
  EXPECT_STREQ(gpos_lookup(en_gpos, "be"), "aux");
  EXPECT_STREQ(gpos_lookup(en_gpos, "?"), "punc");
  EXPECT_STREQ(gpos_lookup(en_gpos, "weather"), "content");
  int n = 0;
  while (en_pos_dict[n][0]) ++n;
  EXPECT_EQ(n, 15);
}

}  // namespace
