// The voices a voice directory really holds: for every (language, index) of
// the engine's language table whose package Model/<stem>.{am,dt,qt,pt} is
// complete, the entry with its description (<stem>.info) when there is one.
// Uses the engine's public interface only.
#ifndef VXN_VOICE_LIST_H
#define VXN_VOICE_LIST_H

#include <string>
#include <vector>

#include "tools/common/VXN_voice_info.h"

struct VXN_VoiceEntry {
  int language;            // language id
  int index;               // voice index
  std::string stem;        // relative to Model/, e.g. "EnUS/vxnf_usen_24_256"
  bool described;          // a readable .info was found
  VXN_VoiceInfo info;      // its contents when described
  std::string info_error;  // why an existing .info was not read
};

// voiceDir ends with '/'. Entries in language order, then index order.
std::vector<VXN_VoiceEntry> VXN_list_voices(const std::string& voiceDir);

// "female" for index 0 (and 2), "male" for 1 (and 3).
const char* VXN_voice_gender(int index);

#endif
