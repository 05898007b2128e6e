#include "tools/voicebuild/analysis/VXN_wav.h"

#include <cmath>
#include <cstdio>

namespace vxn {
namespace analysis {

namespace {

std::uint32_t le32(const std::uint8_t* p) {
  return (std::uint32_t)p[0] | ((std::uint32_t)p[1] << 8) | ((std::uint32_t)p[2] << 16) |
         ((std::uint32_t)p[3] << 24);
}

std::uint16_t le16(const std::uint8_t* p) { return (std::uint16_t)(p[0] | (p[1] << 8)); }

bool fail(std::string* error, const std::string& name, const std::string& what) {
  if (error) *error = "read_wav: " + name + ": " + what;
  return false;
}

void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((std::uint8_t)(v >> (8 * i)));
}

void put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back((std::uint8_t)v);
  b.push_back((std::uint8_t)(v >> 8));
}

}  // namespace

bool parse_wav(const std::uint8_t* data, std::size_t size, const std::string& name, Wav* out,
               std::string* error) {
  if (size < 12 || le32(data) != 0x46464952u /* RIFF */ || le32(data + 8) != 0x45564157u /* WAVE */)
    return fail(error, name, "not a RIFF/WAVE file");
  bool have_fmt = false;
  int channels = 0, bits = 0;
  std::uint32_t rate = 0;
  std::size_t pos = 12;
  while (pos + 8 <= size) {
    const std::uint32_t id = le32(data + pos);
    const std::uint32_t len = le32(data + pos + 4);
    const std::size_t body = pos + 8;
    const std::size_t avail = size - body;
    if (id == 0x20746d66u /* "fmt " */) {
      if (len < 16 || len > avail)
        return fail(error, name, "fmt chunk of " + std::to_string(len) + " bytes");
      int format = le16(data + body);
      channels = le16(data + body + 2);
      rate = le32(data + body + 4);
      bits = le16(data + body + 14);
      if (format == 0xFFFE) {
        if (len < 40) return fail(error, name, "extensible fmt chunk of " + std::to_string(len) +
                                                   " bytes");
        format = le16(data + body + 24);  // first two bytes of the sub-format GUID
      }
      if (format != 1) return fail(error, name, "format " + std::to_string(format) + " is not PCM");
      if (bits != 16) return fail(error, name, std::to_string(bits) + "-bit samples (16 needed)");
      if (channels < 1 || channels > 2)
        return fail(error, name, std::to_string(channels) + " channels (1 or 2 needed)");
      if (rate < 1 || rate > 1000000) return fail(error, name, "rate " + std::to_string(rate));
      have_fmt = true;
    } else if (id == 0x61746164u /* "data" */) {
      if (!have_fmt) return fail(error, name, "data chunk before the fmt chunk");
      if (len > avail)
        return fail(error, name, "data chunk of " + std::to_string(len) + " bytes, only " +
                                     std::to_string(avail) + " in the file");
      const std::size_t frame_bytes = 2 * (std::size_t)channels;
      const std::size_t frames = len / frame_bytes;
      out->rate = (int)rate;
      out->channels = channels;
      out->samples.assign(frames, 0.0f);
      const std::uint8_t* p = data + body;
      for (std::size_t i = 0; i < frames; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) sum += (float)(std::int16_t)le16(p + 2 * c);
        out->samples[i] = sum / (float)channels;
        p += frame_bytes;
      }
      return true;
    }
    if (len > avail) break;
    pos = body + len + (len & 1u);
  }
  return fail(error, name, have_fmt ? "no data chunk" : "no fmt chunk");
}

bool read_wav(const std::string& path, Wav* out, std::string* error) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return fail(error, path, "cannot open");
  std::vector<std::uint8_t> bytes;
  std::uint8_t buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), fp)) > 0) bytes.insert(bytes.end(), buf, buf + n);
  const bool read_error = std::ferror(fp) != 0;
  std::fclose(fp);
  if (read_error) return fail(error, path, "read error");
  return parse_wav(bytes.data(), bytes.size(), path, out, error);
}

bool write_wav(const std::string& path, const float* samples, std::size_t count, int rate,
               std::string* error) {
  std::vector<std::uint8_t> b;
  b.reserve(44 + 2 * count);
  const std::uint32_t data_bytes = (std::uint32_t)(2 * count);
  put32(b, 0x46464952u);
  put32(b, 36 + data_bytes);
  put32(b, 0x45564157u);
  put32(b, 0x20746d66u);
  put32(b, 16);
  put16(b, 1);
  put16(b, 1);
  put32(b, (std::uint32_t)rate);
  put32(b, (std::uint32_t)rate * 2);
  put16(b, 2);
  put16(b, 16);
  put32(b, 0x61746164u);
  put32(b, data_bytes);
  for (std::size_t i = 0; i < count; ++i) {
    const float v = std::round(samples[i]);
    put16(b, (std::uint16_t)(std::int16_t)(v > 32767.0f ? 32767.0f : v < -32768.0f ? -32768.0f : v));
  }
  FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp) {
    if (error) *error = "write_wav: " + path + ": cannot create";
    return false;
  }
  const bool ok = std::fwrite(b.data(), 1, b.size(), fp) == b.size();
  if (std::fclose(fp) != 0 || !ok) {
    if (error) *error = "write_wav: " + path + ": write error";
    return false;
  }
  return true;
}

}  // namespace analysis
}  // namespace vxn
