#include "tools/speechd/VXN_sd_text.h"

#include <expat.h>
#include <string.h>

namespace {

struct Parse {
  std::vector<VXN_SdPiece>* pieces;
  std::string text;
};

void flush_text(Parse* p) {
  if (p->text.find_first_not_of(" \t\r\n") != std::string::npos)
    p->pieces->push_back({false, p->text});
  p->text.clear();
}

void on_start(void* data, const XML_Char* name, const XML_Char** attributes) {
  Parse* p = static_cast<Parse*>(data);
  if (strcmp(name, "mark") != 0) return;
  for (int i = 0; attributes[i]; i += 2)
    if (strcmp(attributes[i], "name") == 0) {
      flush_text(p);
      p->pieces->push_back({true, attributes[i + 1]});
    }
}

void on_end(void* data, const XML_Char* name) {
  // Sentence and paragraph ends keep their words apart.
  if (strcmp(name, "s") == 0 || strcmp(name, "p") == 0) static_cast<Parse*>(data)->text += ' ';
}

void on_text(void* data, const XML_Char* s, int len) {
  static_cast<Parse*>(data)->text.append(s, (size_t)len);
}

}  // namespace

bool VXN_sd_parse_ssml(const std::string& ssml, std::vector<VXN_SdPiece>* pieces,
                       std::string* error) {
  pieces->clear();
  const size_t first = ssml.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return true;
  if (ssml[first] != '<') {
    pieces->push_back({false, ssml});
    return true;
  }
  XML_Parser parser = XML_ParserCreate("UTF-8");
  if (!parser) {
    if (error) *error = "cannot create the XML parser";
    return false;
  }
  Parse p{pieces, ""};
  XML_SetUserData(parser, &p);
  XML_SetElementHandler(parser, on_start, on_end);
  XML_SetCharacterDataHandler(parser, on_text);
  const bool ok = XML_Parse(parser, ssml.data(), (int)ssml.size(), 1) == XML_STATUS_OK;
  if (!ok && error)
    *error = "SSML line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
             XML_ErrorString(XML_GetErrorCode(parser));
  flush_text(&p);
  XML_ParserFree(parser);
  return ok;
}

std::string VXN_sd_key_text(const std::string& key) {
  std::string words = key;
  for (char& c : words)
    if (c == '_') c = ' ';
  return words;
}
