// Voice descriptions: the "<stem>.info" file written next to every package
// Model/<Dir>/<stem>.{am,dt,qt,pt} by the tool that made it. Plain text, one
// "key: value" per line; keys language, index, stem, kind, source, licence,
// donor, notes. Unknown keys are ignored; blank lines are allowed.
#ifndef VXN_VOICE_INFO_H
#define VXN_VOICE_INFO_H

#include <stddef.h>

#include <string>

struct VXN_VoiceInfo {
  std::string language;  // code such as en_US
  int index = -1;        // voice index, -1 when not given
  std::string stem;
  std::string kind;      // imported, trained, converted or derived
  std::string source;
  std::string licence;
  std::string donor;
  std::string notes;
};

// Parses `size` bytes of a description. False, with *error naming the line and
// what is wrong with it, for a line without "key:", an index that is not a
// number 0..99, a kind outside the four, or a zero byte.
bool VXN_VoiceInfo_parse(const char* text, size_t size, VXN_VoiceInfo* info, std::string* error);
// Reads and parses a file (at most 64 KB); false with *error when it cannot.
bool VXN_VoiceInfo_read(const std::string& path, VXN_VoiceInfo* info, std::string* error);

#endif
