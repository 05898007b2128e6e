#include "modules/common/eu_voice.h"

#include <stdio.h>
#include <string.h>


#include "frontend/init_common.h"
#include "frontend/intonation_common.h"
#include "frontend/kvap_opts.h"
#include "frontend/sylstruct_common.h"

namespace {

const char* const kFeatureNames[] = {"vc", "vlng", "vheight", "vfront", "vrnd", "ctype", "cplace", "cvox", nullptr};
const int kFeatureCount = 8;

cst_phoneset* new_phoneset(const eu_language* lang) {
  int n = 0;
  while (lang->phones[n].name) ++n;
  // One value per distinct feature character.
  std::string values;
  for (int i = 0; i < n; ++i)
    for (int k = 0; k < kFeatureCount && lang->phones[i].features[k]; ++k)
      if (values.find(lang->phones[i].features[k]) == std::string::npos) values += lang->phones[i].features[k];
  const cst_val** featvals = cst_alloc(const cst_val*, values.size() + 1);
  for (size_t v = 0; v < values.size(); ++v) {
    char s[2] = {values[v], '\0'};
    featvals[v] = string_val(s);
  }
  int** table = cst_alloc(int*, n);
  const char** names = cst_alloc(const char*, n + 1);
  for (int i = 0; i < n; ++i) {
    names[i] = lang->phones[i].name;
    table[i] = cst_alloc(int, kFeatureCount);
    for (int k = 0; k < kFeatureCount; ++k) {
      char c = k < (int)strlen(lang->phones[i].features) ? lang->phones[i].features[k] : '0';
      size_t at = values.find(c);
      table[i][k] = at == std::string::npos ? 0 : (int)at;
    }
  }
  cst_phoneset init = {lang->code, kFeatureNames, featvals, names, "pau", n, table, 0};
  cst_phoneset* ps = cst_alloc(cst_phoneset, 1);
  memcpy((void*)ps, &init, sizeof init);
  return ps;
}

void free_phoneset(cst_phoneset* ps) {
  if (!ps) return;
  for (int i = 0; i < ps->num_phones; ++i) cst_free((void*)ps->fvtable[i]);
  cst_free((void*)ps->fvtable);
  for (int v = 0; ps->featvals[v]; ++v) delete_val((cst_val*)ps->featvals[v]);
  cst_free((void*)ps->featvals);
  cst_free((void*)ps->phonenames);
  cst_free(ps);
}

cst_lexicon* new_lexicon(const eu_voice_data* d) {
  const eu_language* lang = d->lang;
  eu_lexicon_record* r = cst_alloc(eu_lexicon_record, 1);
  r->data = lang->lexdata;
  r->lang = lang;
  r->fixed = new std::map<std::string, std::string>();
  for (const eu_name* p = lang->pronunciations; p && p->text; ++p) (*r->fixed)[eu_from_utf8(d, p->text)] = p->words;
  r->lex.name = lang->code;
  r->lex.syl_boundary = eu_syl_boundary;
  r->lex.lts_function = eu_lts_function;
  // A user lexicon may name any phone of the set, with a stress digit on vowels.
  std::vector<std::string> names;
  for (const eu_phone* p = lang->phones; p->name; ++p) {
    names.push_back(p->name);
    if (p->features[0] == '+')
      for (const char* d : {"0", "1", "2"}) names.push_back(std::string(p->name) + d);
  }
  r->phone_table = cst_alloc(char*, names.size() + 1);
  for (size_t i = 0; i < names.size(); ++i) r->phone_table[i] = cst_strdup(names[i].c_str());
  r->lex.phone_table = r->phone_table;
  r->elisions = new std::vector<std::pair<std::string, std::vector<std::string>>>();
  return &r->lex;
}

// The elided forms in the module's encoding, vowels with stress digit 0.
void convert_elisions(eu_voice_data* d) {
  eu_lexicon_record* r = (eu_lexicon_record*)d->lexicon;
  for (const eu_name* e = d->lang->elisions; e && e->text; ++e) {
    std::vector<std::string> phones;
    eu_push_words(e->words, &phones);
    for (std::string& p : phones)
      for (const eu_phone* ph = d->lang->phones; ph->name; ++ph)
        if (p == ph->name && ph->features[0] == '+') p += "0";
    r->elisions->emplace_back(eu_from_utf8(d, e->text), phones);
  }
}

void free_lexicon(cst_lexicon* lex) {
  if (!lex) return;
  eu_lexicon_record* r = (eu_lexicon_record*)lex;
  for (int i = 0; r->phone_table[i]; ++i) cst_free(r->phone_table[i]);
  cst_free(r->phone_table);
  delete r->fixed;
  delete_val(lex->lex_addenda);
  delete r->elisions;
  cst_free(r);
}

// The class table with its words converted into the module's encoding (the
// words of the Word relation are in that encoding).
void convert_gpos(eu_voice_data* d) {
  const kvap_gpos_class* src = d->lang->gpos;
  int classes = 0, words = 0;
  while (src && src[classes].name) {
    for (int w = 0; src[classes].words[w]; ++w) ++words;
    ++classes;
  }
  d->gpos_words = new std::vector<std::string>();
  d->gpos_words->reserve(words);
  d->gpos = new kvap_gpos_class[classes + 1]();
  if (classes == 0) return;
  const char** lists = new const char*[words + classes];
  int at = 0;
  for (int c = 0; c < classes; ++c) {
    d->gpos[c].name = src[c].name;
    d->gpos[c].words = lists + at;
    for (int w = 0; src[c].words[w]; ++w) {
      d->gpos_words->push_back(eu_from_utf8(d, src[c].words[w]));
      lists[at++] = d->gpos_words->back().c_str();
    }
    lists[at++] = nullptr;
  }
}

void free_gpos(eu_voice_data* d) {
  if (d->gpos && d->gpos[0].name) delete[] d->gpos[0].words;
  delete[] d->gpos;
  delete d->gpos_words;
}

// Punctuation of the tokenizer with the guillemets and inverted marks the
// encoding has.
std::string with_marks(const eu_voice_data* d, const char* base, const char* marksUtf8) {
  return std::string(base) + eu_from_utf8(d, marksUtf8);
}

}  // namespace

std::string eu_to_utf8(const eu_voice_data* d, const char* bytes) {
  return d ? eu_codec_to_utf8(d->codec, bytes) : "";
}

std::string eu_from_utf8(const eu_voice_data* d, const std::string& utf8) {
  return d ? eu_codec_from_utf8(d->codec, utf8) : "";
}

eu_voice_data* eu_voice_data_of(const cst_item* item) {
  cst_utterance* u = item ? item_utt(item) : nullptr;
  if (!u || !feat_present(u->features, "eu_voice")) return nullptr;
  return (eu_voice_data*)val_userdata(feat_val(u->features, "eu_voice"));
}

cst_voice* eu_voice_new(const eu_language* lang, int multiplePronunciations, const char* dictPath,
                        const char* encoding) {
  if (!lang || !lang->lexdata || !lang->phones) return nullptr;
  eu_codec* codec = eu_codec_open(lang->encoding);
  if (!codec) {
    fprintf(stderr, "eu_voice_new: no converter for the encoding %s\n", lang->encoding);
    return nullptr;
  }
  // The locale's number rules are generated from CLDR at build time; a
  // failure here is a build fault, said plainly.
  std::string error;
  eu_plural_rules* plurals = new eu_plural_rules;
  eu_spellout* spellout = new eu_spellout;
  if (!lang->locale || !plurals->parse(lang->locale->plural_rules, &error) ||
      !spellout->parse(lang->locale->spellout_rules, plurals, lang->locale->decimal_mark, &error)) {
    fprintf(stderr, "eu_voice_new: the number rules of the locale %s are unusable: %s\n",
            lang->locale ? lang->locale->name : "(none)", error.c_str());
    delete spellout;
    delete plurals;
    eu_codec_close(codec);
    return nullptr;
  }
  eu_voice_data* d = new eu_voice_data{lang, new_phoneset(lang), nullptr, codec, spellout, plurals, nullptr, nullptr};
  d->lexicon = new_lexicon(d);
  convert_gpos(d);
  convert_elisions(d);

  cst_voice* v = new_voice();
  v->name = lang->code;
  cst_features* f = v->features;
  feat_set_string(f, "version", lang->version);
  feat_set_string(f, "encoding", lang->encoding);
  feat_set_string(f, "language", lang->code);
  feat_set(f, "eu_voice", userdata_val(d));
  feat_set(f, "phoneset", phoneset_val(d->phoneset));
  feat_set_string(f, "silence", "pau");
  // A no-break space separates tokens as a space does ("1 500", "12,50 €").
  feat_set_string(f, "text_whitespace", with_marks(d, cst_ts_default_whitespacesymbols, "\u00A0").c_str());
  feat_set_string(f, "text_postpunctuation", with_marks(d, cst_ts_default_postpunctuationsymbols, "«»").c_str());
  feat_set_string(f, "text_prepunctuation", with_marks(d, cst_ts_default_prepunctuationsymbols, "¿¡«»").c_str());
  feat_set_string(f, "text_singlecharsymbols", cst_ts_default_singlecharsymbols);
  feat_set(f, "tokentowords_func", itemfunc_val(eu_tokentowords));
  feat_set(f, "lexicon", lexicon_val(d->lexicon));
  feat_set(f, "gpos_table", userdata_val(d->gpos));
  // Words spelled as acronyms keep only their last stress.
  feat_set(f, "lexical_insertion_func", uttfunc_val(lexical_insertion_with_acronym_stress));
  // Phrase-final syllables carry Q (question), S (statement) or P (minor phrase).
  feat_set(f, "intonation_func", uttfunc_val(generic_qsp_intonation));
  feat_set_int(f, "kvap.multiple_pronunciations", multiplePronunciations ? 1 : 0);
  // Commas get their own pause, as recorded voices pause there.
  feat_set_int(f, "kvap.phrasal_pauses", 1);
  common_ff_register(v->ffunctions);
  ff_register_gpos(v->ffunctions);

  // Text in another encoding is converted to the module's before tokenising;
  // characters the module's encoding lacks are dropped, as the engine's own
  // input conversion does ("°" in Russian text).
  feat_set_int(f, "kvap.iconv_ignore", 1);
  if (encoding && encoding[0] && !eu_same_encoding_name(encoding, lang->encoding))
    feat_set_string(f, "kvap.input_encoding", encoding);
  if (dictPath && dictPath[0]) {
    FILE* probe = fopen(dictPath, "r");
    if (probe) {
      fclose(probe);
      feat_set_string(f, "kvap.user_dict", dictPath);
    }
  }
  if (lang->configure) lang->configure(v);
  apply_ext_options(v);
  return v;
}

void eu_voice_delete(cst_voice* voice) {
  if (!voice) return;
  eu_voice_data* d = feat_present(voice->features, "eu_voice")
                         ? (eu_voice_data*)val_userdata(feat_val(voice->features, "eu_voice"))
                         : nullptr;
  common_deinit(voice);
  delete_voice(voice);
  if (!d) return;
  free_phoneset(d->phoneset);
  free_lexicon(d->lexicon);
  eu_codec_close(d->codec);
  delete d->spellout;
  delete d->plurals;
  free_gpos(d);
  delete d;
}
