#include "tools/voicebuild/VXN_prosody_db.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>

#include "engine/VXN_prosody_key.h"
#include "engine/VXN_vsearch.h"

namespace vxn {
namespace voice {

namespace {

bool fail(std::string* error, const std::string& what) {
  if (error) *error = "prosody database: " + what;
  return false;
}

void put(std::vector<uint8_t>* out, const void* p, size_t n) {
  const uint8_t* b = static_cast<const uint8_t*>(p);
  out->insert(out->end(), b, b + n);
}

void put_i32(std::vector<uint8_t>* out, int32_t v) { put(out, &v, 4); }

void put_set(std::vector<uint8_t>* out, const float* values, int rows, int columns) {
  put_i32(out, rows);
  put_i32(out, columns);
  put(out, values, (size_t)rows * (size_t)columns * sizeof(float));
}

bool finite_all(const float* v, size_t n) {
  for (size_t i = 0; i < n; i++)
    if (!std::isfinite(v[i])) return false;
  return true;
}

}  // namespace

bool check_prosody_database(const ProsodyDatabase& db, std::string* error) {
  const int P = (int)db.phones.size();
  if (P < 1 || P > kMaxProsodyPhones)
    return fail(error, std::to_string(P) + " phones, the format allows 1.." +
                           std::to_string(kMaxProsodyPhones));
  std::set<std::string> seen;
  std::string list;
  for (const std::string& p : db.phones) {
    if (p.empty() || (int)p.size() > kMaxPhoneNameLength || p.find(',') != std::string::npos)
      return fail(error, "phone name '" + p + "' is not 1 to 4 characters without a comma");
    for (char c : p)
      if (c < 0x21 || c > 0x7e) return fail(error, "phone name '" + p + "' is not printable");
    if (!seen.insert(p).second) return fail(error, "phone '" + p + "' appears twice");
    list += p + ",";
  }
  if (list.size() > 65535) return fail(error, "the phone list is longer than 65535 bytes");
  const int slopes = (int)db.slope_codebook.size(), f0s = (int)db.f0_codebook.size();
  const int contours = (int)db.contours.size();
  if (slopes < 1 || slopes > kMaxCodebookRows)
    return fail(error, "slope codebook of " + std::to_string(slopes) + " rows, allowed 1..256");
  if (f0s < 1 || f0s > kMaxCodebookRows)
    return fail(error, "F0 codebook of " + std::to_string(f0s) + " rows, allowed 1..256");
  if (contours < 1 || contours > kMaxContours)
    return fail(error, std::to_string(contours) + " contours, allowed 1..65536");
  if (!finite_all(db.slope_codebook.data(), db.slope_codebook.size()) ||
      !finite_all(db.f0_codebook.data(), db.f0_codebook.size()) ||
      !finite_all(db.contours.data()->data(), db.contours.size() * 5))
    return fail(error, "a codebook or contour value is not a finite number");
  if ((long)db.units.size() > kMaxProsodyUnits)
    return fail(error, std::to_string(db.units.size()) + " units, allowed at most 1000000");
  for (size_t a = 0; a < db.units.size(); a++) {
    const ProsodyUnit& u = db.units[a];
    const int context[5] = {u.phone, u.prev2, u.prev, u.next, u.next2};
    for (int c : context)
      if (c < 0 || c >= P)
        return fail(error, "unit " + std::to_string(a) + " names phone " + std::to_string(c) +
                               " of " + std::to_string(P));
    if (u.slope_row < 0 || u.slope_row >= slopes || u.f0_row < 0 || u.f0_row >= f0s ||
        u.contour_row < 0 || u.contour_row >= contours)
      return fail(error, "unit " + std::to_string(a) + " addresses a codebook or contour row "
                                                         "outside its table");
  }
  return true;
}

bool encode_prosody_database(const ProsodyDatabase& db, std::vector<uint8_t>* out,
                             std::string* error) {
  if (!check_prosody_database(db, error)) return false;
  out->clear();
  std::string list;
  for (const std::string& p : db.phones) list += p + ",";
  uint8_t key[VXN_PROSODY_KEY_SIZE];
  VXN_prosody_key(key);
  out->push_back((uint8_t)db.phones.size());
  const uint16_t T = (uint16_t)list.size();
  put(out, &T, 2);
  for (size_t i = 0; i < list.size(); i++) out->push_back((uint8_t)((uint8_t)list[i] + key[i % 5]));
  put_i32(out, (int32_t)db.units.size());
  put_i32(out, VXN_VT_RECORD_BYTES);
  put_i32(out, 3);
  put_set(out, db.slope_codebook.data(), (int)db.slope_codebook.size(), 1);
  put_set(out, db.f0_codebook.data(), (int)db.f0_codebook.size(), 1);
  put_set(out, db.contours.data()->data(), (int)db.contours.size(), 5);
  for (const ProsodyUnit& u : db.units) {
    const uint8_t r[VXN_VT_RECORD_BYTES] = {
        (uint8_t)u.phone,     (uint8_t)u.prev2,
        (uint8_t)u.prev,      (uint8_t)u.next,
        (uint8_t)(u.next2 | (u.voiced ? VXN_VT_VOICED_MARK : 0)),
        (uint8_t)u.slope_row, (uint8_t)u.f0_row,
        (uint8_t)(u.contour_row & 0xff), (uint8_t)(u.contour_row >> 8)};
    put(out, r, sizeof(r));
  }
  return true;
}

bool write_prosody_database(const ProsodyDatabase& db, const std::string& path,
                            std::string* error) {
  std::vector<uint8_t> image;
  if (!encode_prosody_database(db, &image, error)) return false;
  FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp) return fail(error, "cannot write " + path);
  const bool ok = std::fwrite(image.data(), 1, image.size(), fp) == image.size();
  if (std::fclose(fp) != 0 || !ok) return fail(error, "cannot write " + path);
  return true;
}

}  // namespace voice
}  // namespace vxn
