#include "tools/speechd/VXN_sd_settings.h"

#include <stdlib.h>
#include <strings.h>

#include <cmath>

#include "include/vxn_engine.h"

namespace {

int clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }

bool parse_number(const std::string& text, int* value) {
  char* end = nullptr;
  const long v = strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0') return false;
  *value = (int)clamp((int)(v < -1000 ? -1000 : v > 1000 ? 1000 : v), -100, 100);
  return true;
}

}  // namespace

bool VXN_SdSettings_set(VXN_SdSettings* s, const std::string& line) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  const std::string name = line.substr(0, eq), value = line.substr(eq + 1);
  if (value == "NULL") return true;
  if (name == "rate") parse_number(value, &s->rate);
  else if (name == "pitch") parse_number(value, &s->pitch);
  else if (name == "volume") parse_number(value, &s->volume);
  else if (name == "language") s->language = value;
  else if (name == "voice") s->voice_type = value;
  else if (name == "synthesis_voice") s->synthesis_voice = value;
  return true;
}

int VXN_sd_speed_step(int rate) { return clamp((int)std::lround(rate / 20.0), -5, 5); }

int VXN_sd_pitch(int pitch) { return clamp((int)std::lround(pitch * 0.7), -70, 70); }

float VXN_sd_gain(int volume) { return (float)(clamp(volume, -100, 100) + 100) / 200.0f; }

std::string VXN_sd_voice_name(const VXN_VoiceEntry& v) {
  return v.stem.substr(v.stem.rfind('/') + 1);
}

std::string VXN_sd_voice_language(const VXN_VoiceEntry& v) {
  std::string code = VXNLanguageCode(v.language);
  code[code.find('_')] = '-';
  return code;
}

int VXN_sd_choose_voice(const std::vector<VXN_VoiceEntry>& voices, const VXN_SdSettings& s) {
  if (voices.empty()) return -1;
  for (size_t i = 0; i < voices.size(); i++)
    if (!s.synthesis_voice.empty() &&
        strcasecmp(VXN_sd_voice_name(voices[i]).c_str(), s.synthesis_voice.c_str()) == 0)
      return (int)i;
  const int want = VXNLanguageId(s.language.c_str());
  // Voice types name a gender: male1..3 and child_male are male.
  const bool male = strncasecmp(s.voice_type.c_str(), "male", 4) == 0 ||
                    strcasecmp(s.voice_type.c_str(), "child_male") == 0;
  int same_language = -1;
  for (size_t i = 0; i < voices.size(); i++) {
    if (voices[i].language != want) continue;
    if ((voices[i].index % 2 == 1) == male) return (int)i;
    if (same_language < 0) same_language = (int)i;
  }
  if (same_language >= 0) return same_language;
  for (size_t i = 0; i < voices.size(); i++)
    if (voices[i].language == VXN_LANG_US_ENGLISH) return (int)i;
  return 0;
}
