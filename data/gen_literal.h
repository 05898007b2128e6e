// C string literals for the build-time table generators: every byte outside
// printable ASCII (and the characters a literal or a trigraph would take
// otherwise) as a three-digit octal escape, so that no escape runs on into
// the next character.
#ifndef VXN_DATA_GEN_LITERAL_H
#define VXN_DATA_GEN_LITERAL_H

#include <stdio.h>

#include <string>

// Writes s as one literal, or, with wrap_columns > 0, as adjacent literals on
// lines of about that many source bytes; with wrap_lines, a new literal line
// also begins after each newline of s.
inline void vxn_put_literal(FILE* fp, const std::string& s, int wrap_columns = 0, bool wrap_lines = false,
                            const char* indent = "    ") {
  int column = 0;
  fputc('"', fp);
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = (unsigned char)s[i];
    if (wrap_columns > 0 && column >= wrap_columns) {
      fprintf(fp, "\"\n%s\"", indent);
      column = 0;
    }
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
      fputc(c, fp);
      ++column;
    } else if (c == '\n' && wrap_lines) {
      fputs("\\n", fp);
      if (i + 1 < s.size()) fprintf(fp, "\"\n%s\"", indent);
      column = 0;
    } else {
      fprintf(fp, "\\%03o", c);
      column += 4;
    }
  }
  fputc('"', fp);
}

#endif
