// Silence tag parser and Korean pause insertion on arbitrary bytes.
// Input layout: the whole input is the text (NUL bytes end it); the key for
// GetSilenceTime is "silence" and, second, the text's first four bytes.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "api/VXN_InputParser.h"
#include "api/VXN_preprocessing_single_symbol.h"
#include "engine/VXN_misc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (g_nStatePrint = 3, true);  // no traces while fuzzing
  (void)quiet;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* s = text.c_str();

  CVxnInputParser parser;
  if (parser.GetTagState(s)) {
    const char* body = parser.GetText();
    if (!body || strlen(body) + 2 > strlen(s)) __builtin_trap();
    parser.GetSilenceTime(body, "silence");
    parser.GetSilenceTime(body, text.substr(0, 4).c_str());
  }
  const int n = (int)strlen(s);
  parser.ForwardSearchChar(s, '<', n, 3);
  parser.BackwardSearchChar(s, '>', n, 3);
  if (n > 0) parser.GetUtf8ByteSize(s);

  // Each inserted comma needs one byte; blanks around a word of at least two
  // bytes bound their number by n / 3.
  std::vector<char> out(n + n / 3 + 1, '\x7f');
  TextSplit(s, out.data());
  const size_t written = strlen(out.data());
  if (written < (size_t)n || written > (size_t)(n + n / 3)) __builtin_trap();
  return 0;
}
