// Prosody database in memory and its writer: the phone inventory, the slope
// and F0 codebooks, the five-point log-F0 contours and the unit records, laid
// out as the engine's loader reads them (docs/prosody-database.md).
// Plain values; the writer owns nothing after it returns.
#ifndef VXN_PROSODY_DB_H
#define VXN_PROSODY_DB_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vxn {
namespace voice {

// Limits of the file format: byte phone and codebook indices, 16-bit contour
// rows, 4-character phone names.
constexpr int kMaxProsodyPhones = 255;
constexpr int kMaxPhoneNameLength = 4;
constexpr int kMaxCodebookRows = 256;
constexpr int kMaxContours = 65536;
constexpr int kMaxProsodyUnits = 1000000;

struct ProsodyUnit {
  int phone = 0;        // inventory indices of the unit and its context
  int prev2 = 0;
  int prev = 0;
  int next = 0;
  int next2 = 0;
  bool voiced = false;
  int slope_row = 0;    // codebook rows
  int f0_row = 0;
  int contour_row = 0;  // row of the contour table
};

struct ProsodyDatabase {
  std::vector<std::string> phones;
  std::vector<float> slope_codebook;  // one value per row
  std::vector<float> f0_codebook;
  std::vector<std::array<float, 5>> contours;
  std::vector<ProsodyUnit> units;
};

// Checks every limit and index of db; false with the first problem in *error.
bool check_prosody_database(const ProsodyDatabase& db, std::string* error);
// The file image of db (after the check).
bool encode_prosody_database(const ProsodyDatabase& db, std::vector<uint8_t>* out,
                             std::string* error);
// Writes the file image to path.
bool write_prosody_database(const ProsodyDatabase& db, const std::string& path,
                            std::string* error);

}  // namespace voice
}  // namespace vxn

#endif
