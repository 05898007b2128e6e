// Speech settings of the speech-dispatcher module: the values the server
// sends with SET, and how they map onto the engine's voices and controls.
#ifndef VXN_SD_SETTINGS_H
#define VXN_SD_SETTINGS_H

#include <string>
#include <vector>

#include "tools/common/VXN_voice_list.h"

struct VXN_SdSettings {
  int rate = 0;             // -100..100
  int pitch = 0;            // -100..100
  int volume = 100;         // -100..100
  std::string language;     // "en", "en-US", ... or empty
  std::string voice_type;   // "male1", "female2", ... or empty
  std::string synthesis_voice;  // a name from the voice list, or empty
};

// Applies one "name=value" line of a SET block; false for a line without '='.
// Unknown names and the value "NULL" are ignored; numbers are clamped.
bool VXN_SdSettings_set(VXN_SdSettings* s, const std::string& line);

// Engine controls: speed step -5..5, pitch -70..70, sample gain 0..1.
int VXN_sd_speed_step(int rate);
int VXN_sd_pitch(int pitch);
float VXN_sd_gain(int volume);

// The name under which a voice is listed: its stem without the directory.
std::string VXN_sd_voice_name(const VXN_VoiceEntry& v);
// Its language as speech-dispatcher writes it: "en-US".
std::string VXN_sd_voice_language(const VXN_VoiceEntry& v);

// The installed voice to speak with: the named synthesis voice when it is
// installed; else a voice of the requested language (the gender of the voice
// type preferred); else the fallback (the first en_US voice, else the first
// voice). -1 when there is no voice at all.
int VXN_sd_choose_voice(const std::vector<VXN_VoiceEntry>& voices, const VXN_SdSettings& s);

#endif
