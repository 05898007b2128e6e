// Input tag parser: recognises a piece of text that is one control tag (the
// silence tag, e.g. "<silence=500>") and reads values from its body.
// Owns the body of the last tag parsed (NUL-terminated, freed on the next
// successful parse and by the destructor). One thread per object.
#ifndef VXN_INPUTPARSER_H
#define VXN_INPUTPARSER_H

class CVxnInputParser {
 public:
  CVxnInputParser() = default;
  ~CVxnInputParser();
  CVxnInputParser(const CVxnInputParser&) = delete;
  CVxnInputParser& operator=(const CVxnInputParser&) = delete;

  // True when text is a tag: at least 5 bytes, '<' among the first three
  // bytes, '>' among the last three, at least one byte between them. The body
  // (bytes between them) then replaces the stored one.
  bool ParsingText(const char* text);
  bool GetTagState(const char* text);
  // Body of the last tag parsed (owned by the parser), or null.
  char* GetText();
  // Value after the last '=' whose preceding body bytes equal key exactly;
  // 0 when none matches or the value has no digits.
  int GetSilenceTime(const char* body, const char* key);

  // Index of the first c among the first min(limit, length) bytes, or -1.
  int ForwardSearchChar(const char* text, char c, int length, int limit);
  // Index of the first c among the last limit bytes (from max(length - limit, 0)
  // to the end), or -1.
  int BackwardSearchChar(const char* text, char c, int length, int limit);
  // Byte length of a UTF-8 sequence from its lead byte; -1 for a continuation
  // byte.
  int GetUtf8ByteSize(const char* lead);

 private:
  char* body_ = nullptr;
};

#endif
