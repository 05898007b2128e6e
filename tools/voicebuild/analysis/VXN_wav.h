// RIFF/WAVE reading and writing for the voice-building tools: 16-bit PCM,
// mono or stereo (channels averaged), any sampling rate. Samples are floats
// in 16-bit units (-32768 .. 32767), the scale the vocoder's gain refers to.
// Pure functions over caller-owned values; safe on any thread.
#ifndef VXN_ANALYSIS_WAV_H
#define VXN_ANALYSIS_WAV_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vxn {
namespace analysis {

struct Wav {
  int rate = 0;                // samples per second
  int channels = 0;            // channels of the file (the samples are their mean)
  std::vector<float> samples;  // one value per sample frame, 16-bit units
};

// Parses a whole RIFF/WAVE file held in memory. Accepts PCM (format 1) or
// WAVE_FORMAT_EXTENSIBLE with a PCM sub-format, 16 bits, 1 or 2 channels,
// rates 1..1000000; skips unknown chunks. Returns false with a message
// naming `name`, the operation and the offending value in *error.
bool parse_wav(const std::uint8_t* data, std::size_t size, const std::string& name, Wav* out,
               std::string* error);

// Reads and parses a file (errors name the path).
bool read_wav(const std::string& path, Wav* out, std::string* error);

// Writes 16-bit mono PCM; samples are rounded and clipped to the 16-bit range.
bool write_wav(const std::string& path, const float* samples, std::size_t count, int rate,
               std::string* error);

}  // namespace analysis
}  // namespace vxn

#endif
