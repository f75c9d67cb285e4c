// The General MIDI instrument list of the ABC help against the General MIDI sound
// font Debian installs: the font names its bank-0 presets in its own words, but
// the instrument at each program number is the same, so a shared word pins the
// numbering (0 to 127, as abc2midi's "%%MIDI program" counts).
#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

#include "music/GmPrograms.h"
#include "platform/MciSynth.h"
#include "support/Installed.h"

namespace quorrel {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

TEST(GmProgramsTest, InstrumentsAgreeWithTheSoundFont) {
  ASSERT_TRUE(test::Installed(kDefaultSoundFont, "fluid-soundfont-gm"));
  std::unique_ptr<fluid_settings_t, decltype(&delete_fluid_settings)> settings(
      new_fluid_settings(), delete_fluid_settings);
  std::unique_ptr<fluid_synth_t, decltype(&delete_fluid_synth)> synth(
      new_fluid_synth(settings.get()), delete_fluid_synth);
  const int id = fluid_synth_sfload(synth.get(), kDefaultSoundFont, 0);
  ASSERT_NE(id, FLUID_FAILED);
  fluid_sfont_t* font = fluid_synth_get_sfont_by_id(synth.get(), id);
  ASSERT_NE(font, nullptr);

  struct Case {
    int program;
    const char* word;
  } cases[] = {
      {0, "grand"},
      {3, "honky"},
      {6, "harpsichord"},
      {7, "clavi"},
      {8, "celesta"},
      {9, "glockenspiel"},
      {12, "marimba"},
      {13, "xylophone"},
      {19, "church organ"},
      {22, "harmonica"},
      {32, "acoustic bass"},
      {35, "fretless"},
      {40, "violin"},
      {41, "viola"},
      {42, "cello"},
      {43, "contrabass"},
      {46, "harp"},
      {47, "timpani"},
      {55, "orchestra hit"},
      {56, "trumpet"},
      {57, "trombone"},
      {58, "tuba"},
      {59, "muted trumpet"},
      {64, "soprano sax"},
      {67, "baritone sax"},
      {68, "oboe"},
      {69, "english horn"},
      {70, "bassoon"},
      {71, "clarinet"},
      {72, "piccolo"},
      {73, "flute"},
      {74, "recorder"},
      {75, "pan flute"},
      {77, "shakuhachi"},
      {78, "whistle"},
      {79, "ocarina"},
      {104, "sitar"},
      {105, "banjo"},
      {106, "shamisen"},
      {107, "koto"},
      {108, "kalimba"},
      {110, "fiddle"},
      {113, "agogo"},
      {114, "steel drums"},
      {115, "woodblock"},
      {116, "taiko drum"},
      {117, "melodic tom"},
      {118, "synth drum"},
      {119, "reverse cymbal"},
      {121, "breath noise"},
      {123, "bird tweet"},
      {124, "telephone"},
      {125, "helicopter"},
      {126, "applause"},
  };
  for (const Case& c : cases) {
    fluid_preset_t* preset = fluid_sfont_get_preset(font, 0, c.program);
    ASSERT_NE(preset, nullptr) << c.program;
    const std::string fontName = fluid_preset_get_name(preset);
    EXPECT_NE(Lower(fontName).find(c.word), std::string::npos) << c.program << ": " << fontName;
    EXPECT_NE(Lower(GmProgramName(c.program)).find(c.word), std::string::npos)
        << c.program << ": " << GmProgramName(c.program);
  }
  for (int outside : {-1, 128}) EXPECT_EQ(GmProgramName(outside), "") << outside;
}

TEST(GmProgramsTest, TheListHasOneLinePerProgram) {
  const std::string list = GmProgramList();
  EXPECT_EQ(list.rfind("General MIDI Instruments\r\n\r\n0\tAcoustic Grand Piano\r\n", 0), 0u);
  EXPECT_NE(list.find("\r\n127\tGunshot\r\n"), std::string::npos);
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 2 + 128);
}

}  // namespace
}  // namespace quorrel
