// Message text of the speech-dispatcher module: the SSML that the server sends
// becomes a sequence of plain-text pieces and index marks, in order.
#ifndef VXN_SD_TEXT_H
#define VXN_SD_TEXT_H

#include <string>
#include <vector>

struct VXN_SdPiece {
  bool mark;          // true: an index mark, value is its name
  std::string value;  // the text (UTF-8, entities resolved) or the mark name
};

// Parses an SSML message (<speak> with <mark name="..."/> and any other
// elements, whose text is kept). Text that is not well-formed XML is taken
// as plain text. False, with *error holding the parser's line and reason,
// when the XML broke off; the pieces read up to there are kept.
bool VXN_sd_parse_ssml(const std::string& ssml, std::vector<VXN_SdPiece>* pieces,
                       std::string* error);

// A KEY name as words: "shift_a" -> "shift a", "space" -> "space".
std::string VXN_sd_key_text(const std::string& key);

#endif
