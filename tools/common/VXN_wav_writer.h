// Streaming audio output for tools: 16-bit little-endian PCM as a RIFF/WAVE
// file or headerless, written chunk by chunk as the engine delivers it.
//
// The WAV header goes out first. Its sizes are unknown then, so the data size
// is written as 0x7FFFF000, the value sox itself uses for a stream of unknown
// length, which readers take up to the end of the stream; when the output can
// seek (a regular file) the real sizes are patched in when the writer closes.
// Every chunk is flushed at once, so that a reader of a pipe hears the first
// chunk while the rest is still being synthesised.
#ifndef VXN_WAV_WRITER_H
#define VXN_WAV_WRITER_H

#include <stdint.h>
#include <stdio.h>

struct VXN_WavWriter {
  FILE* fp;
  int raw;            // 1: no header
  int rate;
  int channels;
  uint64_t bytes;     // PCM bytes written so far
  int failed;         // a write failed (disk full, closed pipe)
};

// Starts the output on an open stream (the writer does not own it).
void VXN_WavWriter_open(VXN_WavWriter* w, FILE* fp, int rate, int channels, int raw);
// Appends count interleaved samples and flushes. 0 once a write has failed.
int VXN_WavWriter_write(VXN_WavWriter* w, const short* samples, int count);
// Patches the header of a seekable WAV output; returns 0 if any write failed.
int VXN_WavWriter_close(VXN_WavWriter* w);

#endif
