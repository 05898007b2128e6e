// Writes a synthetic voice with speech-like values to the package stem given
// as the only argument (for tests whose hosts see only the public header).
#include <cstdio>
#include <string>

#include "tests/engine/voice_fixture.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_test_voice STEM\n");
    return 2;
  }
  std::string error;
  if (!vxn::voice::write_package(vxn_test::plausible_voice(3), argv[1], nullptr, &error)) {
    std::fprintf(stderr, "write_test_voice: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
