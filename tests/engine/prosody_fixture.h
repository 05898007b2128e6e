// Small prosody databases for the unit-search tests: units given as phone
// names with their context, encoded by the database writer and loaded into a
// private unit-selection context.
#ifndef VXN_TESTS_PROSODY_FIXTURE_H
#define VXN_TESTS_PROSODY_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/VXN_misc.h"
#include "engine/VXN_vsearch.h"
#include "tools/voicebuild/VXN_prosody_db.h"

namespace vxn_test {

// Every test database starts its inventory with these, so that index 0 is
// the padding phone "x".
inline std::vector<std::string> base_phones(std::vector<std::string> more) {
  std::vector<std::string> p = {"x", "sp", "pau"};
  p.insert(p.end(), more.begin(), more.end());
  return p;
}

inline int phone_index(const vxn::voice::ProsodyDatabase& db, const std::string& name) {
  for (size_t i = 0; i < db.phones.size(); i++)
    if (db.phones[i] == name) return (int)i;
  ADD_FAILURE() << "no phone " << name;
  return 0;
}

// A unit of phone `name` with context (two before, before, after, two after),
// voiced, codebook rows 0 and contour row `contour`.
inline vxn::voice::ProsodyUnit unit(const vxn::voice::ProsodyDatabase& db, const std::string& name,
                                    const std::vector<std::string>& context = {"x", "x", "x", "x"},
                                    int contour = 0) {
  vxn::voice::ProsodyUnit u;
  u.phone = phone_index(db, name);
  u.prev2 = phone_index(db, context[0]);
  u.prev = phone_index(db, context[1]);
  u.next = phone_index(db, context[2]);
  u.next2 = phone_index(db, context[3]);
  u.voiced = true;
  u.contour_row = contour;
  return u;
}

// Owns a context loaded from a database image.
class LoadedDb {
 public:
  LoadedDb() = default;
  ~LoadedDb() { Hybrid_FreeDB(&vt_); }
  LoadedDb(const LoadedDb&) = delete;
  LoadedDb& operator=(const LoadedDb&) = delete;

  // Encodes, loads and indexes db; failures are test failures.
  void load(const vxn::voice::ProsodyDatabase& db) {
    std::vector<uint8_t> image;
    std::string error;
    ASSERT_TRUE(vxn::voice::encode_prosody_database(db, &image, &error)) << error;
    ASSERT_EQ(Hybrid_LoadingPD_from_memory(&vt_, image.data(), image.size(), "test"), 1);
    ASSERT_EQ(Hybrid_DiphoneDB(&vt_), 1);
  }
  VXN_VTContext* vt() { return &vt_; }

 private:
  VXN_VTContext vt_ = {};
};

}  // namespace vxn_test

#endif
