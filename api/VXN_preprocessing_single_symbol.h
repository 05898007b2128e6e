// Text services applied before analysis: the single-symbol step (an input
// that is nothing but one listed symbol becomes its spoken name), blank
// trimming and the Korean pause insertion on EUC-KR text.
// The symbol tables are constant; buffers returned through out belong to the
// caller (release with VXN_free). Reentrant.
#ifndef VXN_PREPROCESSING_SINGLE_SYMBOL_H
#define VXN_PREPROCESSING_SINGLE_SYMBOL_H

enum { VXN_SYMBOL_ROWS = 42, VXN_SYMBOL_LANGUAGES = 18 };

// One row of a single-symbol table: the symbol and its spoken name (UTF-8).
struct VXN_SymbolName {
  const char* symbol;
  const char* name;
};

// The 42-row table of a language id (0..17), or null for any other id.
const VXN_SymbolName* VXN_symbol_table(int languageId);

// Trims text in place: the trailing run of blanks, line feeds, carriage
// returns and tabs is overwritten with NULs (never the first byte); returns a
// pointer to the first other byte. Null or empty text is returned unchanged.
char* removeSpace(char* text);

// Looks the trimmed text up among the rows of table (exact byte match). On a
// match *out receives a new zeroed copy of the name (twice its length in
// size) and the result is true. Trims text in place either way.
bool handleSpecificLanguage(const VXN_SymbolName* table, char* text, char** out);

// The single-symbol step for a language id; false for a null text or an id
// outside 0..17. CVxnLanguage::processing_single_symbol forwards here.
bool VXN_single_symbol(char* text, int languageId, char** out);

// Korean pause insertion on EUC-KR text: writes in to out with ", " after or
// before the listed words (one extra byte per comma). out needs room for
// strlen(in) + 1 + the number of commas; the driver gives strlen(in) + 256.
void TextSplit(const char* in, char* out);

#endif
