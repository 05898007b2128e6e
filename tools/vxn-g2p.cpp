// vxn-g2p: US English grapheme-to-phoneme conversion of standard input, one
// line at a time, in the output form the options select.
//
//   echo "Hello world." | vxn-g2p -pb -sm
//   hh ax l ow1 w er1 l d
//
// Options: -wb -sb -pb -sm -tb -gb (decorations), -td -pd (detail lines),
// -norm -annontext -tts -ph -debug (output forms), -u (UTF-8 in and out),
// -b (blank line after each line), -mp (all pronunciation variants),
// -O name:value (voice option), -version, -encoding.
// Exit status: 0 success, 1 no voice or a failed run, 2 bad option.
#include "frontend/app.h"
#include "modules/usen/usen_voice.h"

namespace {

cst_voice* init(int multiplePronunciations, kvap_option* options) {
  cst_voice* voice = usen_voice_new(multiplePronunciations, nullptr, "iso-8859-15");
  set_ext_options(voice, options);
  return voice;
}

void deinit(cst_voice* voice) { usen_voice_delete(voice); }

}  // namespace

int main(int argc, char** argv) { return app(argc, argv, init, deinit); }
