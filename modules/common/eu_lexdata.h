/* Generated pronunciation data of a European language module: letter-to-sound
   rules in Flite's form, the stress rule that completes their output, and the
   exception lexicon of the words the rules get wrong. One constant record per
   language, written by vxn-lexgen (data/lexgen) into data/<lang>/; read-only,
   shared by every voice of the process. */
#ifndef EU_LEXDATA_H
#define EU_LEXDATA_H

#ifdef __cplusplus
extern "C" {
#endif

#include <cst_lts.h>

typedef struct eu_lexdata_struct {
  const char* language;  /* "de" */
  const char* encoding;  /* encoding of every word and letter byte here */
  /* Letter-to-sound rules; words are given to lts_apply as letter codes
     (letter_codes[byte], 3 and up; 0 = not a letter of the rules). */
  cst_lts_rules lts;
  const unsigned char* letter_codes; /* 256 entries */
  /* Stress rule: one primary stress per word (the first predicted); without
     one the first (stress_position 0), penultimate (1) or last (2) vowel not
     in unstressable gets it. Both lists are null-terminated base names. */
  const char* const* vowels;
  const char* const* unstressable;
  int stress_position;
  /* Exception lexicon: entries sorted by their word bytes; each is the word,
     a 0, its phone numbers (1-based into phones, vowels carry a stress digit)
     and a 0. index holds the offset of every index_step-th entry. */
  const char* const* phones;
  int phone_count;
  const unsigned char* entries;
  unsigned int entries_size;
  unsigned int entry_count;
  const unsigned int* index;
  unsigned int index_count;
  unsigned int index_step;
} eu_lexdata;

#ifdef __cplusplus
}
#endif

#endif
