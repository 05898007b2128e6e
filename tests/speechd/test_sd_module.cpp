// The speech-dispatcher module's message text, settings and audio events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "include/vxn_engine.h"
#include "tools/speechd/VXN_sd_audio.h"
#include "tools/speechd/VXN_sd_settings.h"
#include "tools/speechd/VXN_sd_text.h"

namespace {

TEST(SdText, SsmlBecomesTextAndMarksInOrder) {
  std::vector<VXN_SdPiece> pieces;
  std::string error;
  ASSERT_TRUE(VXN_sd_parse_ssml(
      "<speak><s>Fish &amp; chips &lt;3</s><mark name=\"__spd_1\"/>  <s>Next.</s>"
      "<mark name=\"end\"/></speak>",
      &pieces, &error))
      << error;
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_FALSE(pieces[0].mark);
  EXPECT_EQ(pieces[0].value, "Fish & chips <3 ");
  EXPECT_TRUE(pieces[1].mark);
  EXPECT_EQ(pieces[1].value, "__spd_1");
  EXPECT_EQ(pieces[2].value, "  Next. ");
  EXPECT_TRUE(pieces[3].mark);

  // Plain text stays as it is; blank text is nothing.
  ASSERT_TRUE(VXN_sd_parse_ssml("5 < 6 & so on", &pieces, &error));
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].value, "5 < 6 & so on");
  ASSERT_TRUE(VXN_sd_parse_ssml(" \n ", &pieces, &error));
  EXPECT_TRUE(pieces.empty());

  // Broken XML: what came before the fault is kept, the fault is named.
  EXPECT_FALSE(VXN_sd_parse_ssml("<speak>Hello <b>there</speak>", &pieces, &error));
  EXPECT_NE(error.find("SSML line 1"), std::string::npos) << error;
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].value, "Hello there");
  EXPECT_EQ(VXN_sd_key_text("shift_a"), "shift a");
}

TEST(SdSettings, SetLinesAndMappings) {
  VXN_SdSettings s;
  EXPECT_TRUE(VXN_SdSettings_set(&s, "rate=40"));
  EXPECT_TRUE(VXN_SdSettings_set(&s, "pitch=-300"));
  EXPECT_TRUE(VXN_SdSettings_set(&s, "volume=x"));
  EXPECT_TRUE(VXN_SdSettings_set(&s, "language=de"));
  EXPECT_TRUE(VXN_SdSettings_set(&s, "synthesis_voice=NULL"));
  EXPECT_TRUE(VXN_SdSettings_set(&s, "punctuation_mode=all"));
  EXPECT_FALSE(VXN_SdSettings_set(&s, "nonsense"));
  EXPECT_EQ(s.rate, 40);
  EXPECT_EQ(s.pitch, -100);
  EXPECT_EQ(s.volume, 100);
  EXPECT_EQ(s.language, "de");
  EXPECT_TRUE(s.synthesis_voice.empty());

  EXPECT_EQ(VXN_sd_speed_step(0), 0);
  EXPECT_EQ(VXN_sd_speed_step(40), 2);
  EXPECT_EQ(VXN_sd_speed_step(-100), -5);
  EXPECT_EQ(VXN_sd_speed_step(100), 5);
  EXPECT_EQ(VXN_sd_pitch(-100), -70);
  EXPECT_EQ(VXN_sd_pitch(50), 35);
  EXPECT_FLOAT_EQ(VXN_sd_gain(100), 1.0f);
  EXPECT_FLOAT_EQ(VXN_sd_gain(0), 0.5f);
  EXPECT_FLOAT_EQ(VXN_sd_gain(-100), 0.0f);
}

TEST(SdSettings, VoiceChoiceByNameLanguageAndGender) {
  auto voice = [](int language, int index, const char* stem) {
    return VXN_VoiceEntry{language, index, stem, false, VXN_VoiceInfo(), ""};
  };
  const std::vector<VXN_VoiceEntry> voices = {voice(VXN_LANG_GERMAN, 0, "De/vxnf_ge_24_256"),
                                              voice(VXN_LANG_US_ENGLISH, 0, "EnUS/vxnf_usen_24_256"),
                                              voice(VXN_LANG_US_ENGLISH, 1, "EnUS/vxnm_usen_24_256")};
  VXN_SdSettings s;
  EXPECT_EQ(VXN_sd_choose_voice(voices, s), 1);  // nothing asked: US English first
  s.language = "en-US";
  s.voice_type = "male2";
  EXPECT_EQ(VXN_sd_choose_voice(voices, s), 2);
  s.voice_type = "female1";
  EXPECT_EQ(VXN_sd_choose_voice(voices, s), 1);
  s.language = "de";
  s.voice_type = "male1";  // no male German voice: the female one
  EXPECT_EQ(VXN_sd_choose_voice(voices, s), 0);
  s.language = "fr";
  EXPECT_EQ(VXN_sd_choose_voice(voices, s), 1);
  s.synthesis_voice = "VXNM_USEN_24_256";
  EXPECT_EQ(VXN_sd_choose_voice(voices, s), 2);
  EXPECT_EQ(VXN_sd_choose_voice({}, s), -1);
  EXPECT_EQ(VXN_sd_voice_name(voices[2]), "vxnm_usen_24_256");
  EXPECT_EQ(VXN_sd_voice_language(voices[2]), "en-US");
}

// The sample bytes never hold a line feed; escapes decode to the samples.
TEST(SdAudio, EventEscapesLineFeedsAndTheEscapeByte) {
  const std::vector<short> samples = {0x0A0A, 0x7D00, 0x1234, -1, 0x007D};
  const std::string event = VXN_sd_audio_event(samples.data(), 5, 24000, 1, 1.0f);
  const std::string head = std::string("705-bits=16\n705-num_channels=1\n705-sample_rate=24000\n"
                                       "705-num_samples=5\n705-big_endian=0\n705-AUDIO") + '\0';
  ASSERT_EQ(event.compare(0, head.size(), head), 0);
  const std::string tail = "\n705 AUDIO\n";
  ASSERT_EQ(event.compare(event.size() - tail.size(), tail.size(), tail), 0);
  const std::string data = event.substr(head.size(), event.size() - head.size() - tail.size());
  EXPECT_EQ(data.find('\n'), std::string::npos);
  std::string decoded;
  for (size_t i = 0; i < data.size(); i++)
    decoded += data[i] == 0x7D ? (char)(data[++i] ^ 0x20) : data[i];
  ASSERT_EQ(decoded.size(), 10u);
  for (int i = 0; i < 5; i++)
    EXPECT_EQ((short)((unsigned char)decoded[2 * i] | ((unsigned char)decoded[2 * i + 1] << 8)),
              samples[(size_t)i]);
  // Half volume halves the samples.
  const std::string quiet = VXN_sd_audio_event(samples.data() + 2, 1, 24000, 1, 0.5f);
  EXPECT_EQ((unsigned char)quiet[head.size()], 0x1A);
  EXPECT_EQ((unsigned char)quiet[head.size() + 1], 0x09);
}

}  // namespace
