#include "tools/common/VXN_wav_writer.h"

#include <string.h>

namespace {

// Data size of a stream whose length is not known yet, as sox writes it (and
// reads it without complaint up to the end of the stream).
const uint32_t kUnknownDataSize = 0x7FFFF000u;
const uint64_t kLargestWav = 0xFFFFFFFFu;

void put_le(unsigned char* p, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; i++) p[i] = (unsigned char)((value >> (8 * i)) & 0xFF);
}

int write_header(VXN_WavWriter* w, uint32_t riffSize, uint32_t dataSize) {
  unsigned char h[44];
  const uint32_t blockAlign = (uint32_t)w->channels * 2u;
  memcpy(h, "RIFF", 4);
  put_le(h + 4, riffSize, 4);
  memcpy(h + 8, "WAVEfmt ", 8);
  put_le(h + 16, 16, 4);
  put_le(h + 20, 1, 2);  // PCM
  put_le(h + 22, (uint32_t)w->channels, 2);
  put_le(h + 24, (uint32_t)w->rate, 4);
  put_le(h + 28, (uint32_t)w->rate * blockAlign, 4);
  put_le(h + 32, blockAlign, 2);
  put_le(h + 34, 16, 2);
  memcpy(h + 36, "data", 4);
  put_le(h + 40, dataSize, 4);
  return fwrite(h, 1, sizeof(h), w->fp) == sizeof(h);
}

}  // namespace

void VXN_WavWriter_open(VXN_WavWriter* w, FILE* fp, int rate, int channels, int raw) {
  w->fp = fp;
  w->raw = raw;
  w->rate = rate;
  w->channels = channels;
  w->bytes = 0;
  w->failed = 0;
  if (!raw && !write_header(w, kUnknownDataSize + 36, kUnknownDataSize)) w->failed = 1;
  if (fflush(fp) != 0) w->failed = 1;
}

int VXN_WavWriter_write(VXN_WavWriter* w, const short* samples, int count) {
  if (w->failed) return 0;
  unsigned char buffer[4096];
  int at = 0;
  while (at < count) {
    int n = 0;
    for (; at < count && n + 2 <= (int)sizeof(buffer); at++, n += 2)
      put_le(buffer + n, (uint32_t)(uint16_t)samples[at], 2);
    if (fwrite(buffer, 1, (size_t)n, w->fp) != (size_t)n) w->failed = 1;
    w->bytes += (uint64_t)n;
  }
  if (fflush(w->fp) != 0) w->failed = 1;
  return !w->failed;
}

int VXN_WavWriter_close(VXN_WavWriter* w) {
  // Sizes beyond 4 GB stay "unknown"; a pipe cannot be patched.
  if (!w->raw && !w->failed && w->bytes + 36 <= kLargestWav && fseek(w->fp, 0, SEEK_SET) == 0) {
    if (!write_header(w, (uint32_t)(w->bytes + 36), (uint32_t)w->bytes)) w->failed = 1;
    fseek(w->fp, 0, SEEK_END);
  }
  if (fflush(w->fp) != 0) w->failed = 1;
  return !w->failed;
}
