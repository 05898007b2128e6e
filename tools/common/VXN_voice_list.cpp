#include "tools/common/VXN_voice_list.h"

#include <unistd.h>

#include "include/vxn_engine.h"

namespace {

const int kLanguageCount = 18;
const int kMaxIndex = 4;

bool readable(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

}  // namespace

const char* VXN_voice_gender(int index) { return index % 2 == 0 ? "female" : "male"; }

std::vector<VXN_VoiceEntry> VXN_list_voices(const std::string& voiceDir) {
  std::vector<VXN_VoiceEntry> voices;
  for (int id = 0; id < kLanguageCount; id++) {
    for (int index = 0; index < kMaxIndex; index++) {
      char stem[256];
      if (!VXNVoiceStem(id, index, stem, sizeof(stem))) continue;
      const std::string base = voiceDir + "Model/" + stem;
      if (!readable(base + ".am") || !readable(base + ".dt") || !readable(base + ".qt") ||
          !readable(base + ".pt"))
        continue;
      VXN_VoiceEntry entry{id, index, stem, false, VXN_VoiceInfo(), ""};
      if (readable(base + ".info"))
        entry.described = VXN_VoiceInfo_read(base + ".info", &entry.info, &entry.info_error);
      voices.push_back(entry);
    }
  }
  return voices;
}
