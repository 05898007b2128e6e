// Rules shared by the European and Brazilian Portuguese modules: function
// words, clock times ("20h15", "21:30"), dates, Roman numerals after names
// and centuries, the feminine of numbers before feminine nouns ("duas
// horas") and the token rules both variants read alike ("D." as dom or dona,
// "p. ex."). Where the variants differ the caller says which it is.
#ifndef PT_RULES_H
#define PT_RULES_H

#include "modules/common/eu_language.h"

// The written variant: what differs in the rules.
struct pt_variant {
  bool first_as_ordinal;  // day 1 of a date is "primeiro" (Brazil), not "um"
  bool phone_groups;      // "98765-4321" is a telephone number read digit by digit (Brazil)
  const char* const* months;
};

extern const kvap_gpos_class pt_function_words[];

bool pt_read_time(eu_context* c, int hours, int minutes, std::vector<std::string>* out);
bool pt_read_date(eu_context* c, const pt_variant& v, int day, int month, int year, std::vector<std::string>* out);
bool pt_ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                     std::vector<std::string>* out);
bool pt_token_rule(eu_context* c, const pt_variant& v, const std::string& text, std::vector<std::string>* out);

#endif
