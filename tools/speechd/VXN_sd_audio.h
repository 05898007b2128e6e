// Audio events of the speech-dispatcher module: a chunk of 16-bit samples as
// the "705 AUDIO" event that hands it to the server for playing. The sample
// bytes are escaped so that they hold no line feed: 0x0A and 0x7D become 0x7D
// followed by the byte with its bit 5 inverted.
#ifndef VXN_SD_AUDIO_H
#define VXN_SD_AUDIO_H

#include <string>

// The whole event, ready to be written.
std::string VXN_sd_audio_event(const short* samples, int count, int rate, int channels,
                               float gain);

#endif
