// The language table: report names, model directories and voice stems.
#ifndef VXN_LANGUAGES_H
#define VXN_LANGUAGES_H

enum { VXN_LANGUAGE_COUNT = 18 };

struct VXN_LanguageRow {
  const char* report_name;     // as printed by VXNShowLanguage
  const char* female_pattern;  // model stem pattern of voice 0, formatted with 24 and 256
  const char* male_pattern;    // voice 1
};

extern const VXN_LanguageRow kVxnLanguages[VXN_LANGUAGE_COUNT];

#endif
