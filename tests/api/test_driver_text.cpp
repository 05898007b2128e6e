// The input step's UTF-8 repair and UTF-16 surrogate check: what is left
// out, where the first fault is reported, and that nothing past the given
// length is read.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "api/VXN_driver_text.h"
#include "engine/VXN_misc.h"

namespace {

struct Repaired {
  bool changed;
  std::string text;
  long first;
  int places;
};

Repaired repair(const std::string& bytes, int length = -1) {
  // Exact-size copy without a terminator when a length is given, so that a
  // read past it is caught by the sanitizers.
  std::vector<unsigned char> buf(bytes.begin(), bytes.end());
  if (length < 0) {
    buf.push_back(0);
    length = (int)bytes.size() + 1;
  }
  long first = -2;
  int places = -2;
  char* out = VXN_driver_utf8_repair(buf.data(), length, &first, &places);
  Repaired r{out != nullptr, out ? out : "", first, places};
  VXN_free(out);
  return r;
}

TEST(Utf8Repair, WellFormedTextIsLeftAlone) {
  const Repaired r = repair("caf\xC3\xA9 \xE2\x82\xAC 5 \xF0\x9F\x98\x80");
  EXPECT_FALSE(r.changed);
  EXPECT_EQ(r.first, -1);
  EXPECT_EQ(r.places, 0);
}

TEST(Utf8Repair, MalformedRunsGoAndTheFirstIsReported) {
  // An overlong slash, a lone continuation byte and a surrogate half: three
  // runs; the bytes around them stay.
  const Repaired r = repair("ab\xC0\xAF" "cd\x80\x80" "e\xED\xA0\x80" "f");
  ASSERT_TRUE(r.changed);
  EXPECT_EQ(r.text, "abcdef");
  EXPECT_EQ(r.first, 2);
  EXPECT_EQ(r.places, 3);
  // A sequence cut by the end of the text.
  const Repaired cut = repair("news \xE2\x82");
  ASSERT_TRUE(cut.changed);
  EXPECT_EQ(cut.text, "news ");
  EXPECT_EQ(cut.first, 5);
  EXPECT_EQ(cut.places, 1);
}

TEST(Utf8Repair, StopsAtTheLengthWithoutATerminator) {
  // The euro sign is cut by the length: only its first byte is inside.
  const Repaired r = repair("ok \xE2\x82\xAC", 4);
  ASSERT_TRUE(r.changed);
  EXPECT_EQ(r.text, "ok ");
  EXPECT_EQ(r.first, 3);
  EXPECT_FALSE(repair("ok", 2).changed);
}

TEST(Utf16Surrogates, LoneHalvesGoPairsStayInEitherByteOrder) {
  std::vector<short> units = {'a', (short)0xD83D, (short)0xDE00, (short)0xDC00, 'b', (short)0xD800, 0};
  long first = -2;
  EXPECT_EQ(VXN_driver_utf16_drop_lone_surrogates(units.data(), 6, &first), 2);
  EXPECT_EQ(first, 3);
  const std::vector<short> kept = {'a', (short)0xD83D, (short)0xDE00, 'b', 0, 0, 0};
  EXPECT_EQ(units, kept);
  // Big-endian behind a byte-order mark: the halves are recognised swapped.
  std::vector<short> swapped = {(short)0xFFFE, (short)0x00DC, 'x' << 8, 0};
  EXPECT_EQ(VXN_driver_utf16_drop_lone_surrogates(swapped.data(), 3, &first), 1);
  EXPECT_EQ(first, 1);
  EXPECT_EQ((unsigned short)swapped[1], (unsigned short)('x' << 8));
  EXPECT_EQ(VXN_driver_utf16_drop_lone_surrogates(nullptr, 3, &first), 0);
  EXPECT_EQ(first, -1);
}

}  // namespace
