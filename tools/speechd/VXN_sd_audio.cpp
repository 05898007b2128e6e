#include "tools/speechd/VXN_sd_audio.h"

#include <stdio.h>

std::string VXN_sd_audio_event(const short* samples, int count, int rate, int channels,
                               float gain) {
  char head[160];
  snprintf(head, sizeof(head),
           "705-bits=16\n705-num_channels=%d\n705-sample_rate=%d\n705-num_samples=%d\n"
           "705-big_endian=0\n705-AUDIO",
           channels, rate, count / channels);
  std::string event(head);
  event += '\0';
  event.reserve(event.size() + 2 * (size_t)count + 16);
  for (int i = 0; i < count; i++) {
    const int scaled = (int)((float)samples[i] * gain);
    const unsigned short v = (unsigned short)(short)scaled;
    for (unsigned char byte : {(unsigned char)(v & 0xFF), (unsigned char)(v >> 8)}) {
      if (byte == '\n' || byte == 0x7D) {
        event += (char)0x7D;
        byte ^= 0x20;
      }
      event += (char)byte;
    }
  }
  event += "\n705 AUDIO\n";
  return event;
}
