// The music as the player hears it: each piece rendered through the game's own sound device
// (SDL_mixer, with FluidSynth and the General MIDI sound font for the music) into SDL's disk
// audio driver, then measured. Both pieces should sit near -20 dBFS without clipping, and the fight sounds
// no more than about 6 dB above them.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sdl/sdl_sound.h"
#include "platform/system.h"
#include "sound_file_bytes.h"

namespace {

namespace fs = std::filesystem;

constexpr double kSeconds = 15;

struct Level {
  double rmsDb = -200;
  double peakDb = -200;
  int clipped = 0;
};

double Db(double amplitude) { return 20 * std::log10(std::max(amplitude, 1e-9) / 32768.0); }

Level Measure(const std::vector<std::int16_t>& samples) {
  Level level;
  double energy = 0;
  int peak = 0;
  for (std::int16_t s : samples) {
    energy += double(s) * s;
    peak = std::max(peak, std::abs(int(s)));
    level.clipped += s == 32767 || s == -32768;
  }
  if (!samples.empty()) level.rmsDb = Db(std::sqrt(energy / double(samples.size())));
  level.peakDb = Db(peak);
  return level;
}

// Plays one piece through the game's sound device and keeps kSeconds of what reaches the
// speakers, from its first sound on. Empty when no audio device could be opened.
std::vector<std::int16_t> Render(const std::string& piece) {
  const fs::path file = fs::temp_directory_path() / ("tamsel_music_" + std::to_string(::getpid()) + ".raw");
  fs::remove(file);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "1", 1);  // write far faster than real time
  platform::SetDataDirectory(TAMSEL_DATA_DIR);
  std::vector<std::int16_t> samples;
  {
    const auto sound = platform::sdl::SdlSound::Open();
    if (!sound) return {};
    sound->MusicCommand("play voc\\" + piece);
    // Read the file as it grows: silence while the sound font loads, then the piece.
    std::ifstream in;
    const std::size_t wanted = std::size_t(kSeconds * 44100 * 2);
    bool started = false;
    for (int waited = 0; waited < 120000 && samples.size() < wanted; waited += 5) {
      SDL_Delay(5);
      if (!in.is_open()) in.open(file, std::ios::binary);
      in.clear();
      std::int16_t s = 0;
      while (samples.size() < wanted && in.read(reinterpret_cast<char*>(&s), sizeof s)) {
        started = started || std::abs(int(s)) > 8;
        if (started) samples.push_back(s);
      }
    }
  }
  fs::remove(file);
  return samples;
}

// The fight sounds: 16-bit mono after a 44-byte header; the level of what is audible.
Level EffectLevel(const std::string& name) {
  const auto bytes = sound_test::ReadBytes(sound_test::DataPath(name + ".wav"));
  std::vector<std::int16_t> samples;
  for (std::size_t at = 44; at + 1 < bytes.size(); at += 2)
    samples.push_back(static_cast<std::int16_t>(sound_test::Le(bytes, at, 2)));
  const auto audible = [](std::int16_t s) { return std::abs(s) > 32; };
  const auto first = std::find_if(samples.begin(), samples.end(), audible);
  const auto last = std::find_if(samples.rbegin(), samples.rend(), audible).base();
  return first < last ? Measure({first, last}) : Level{};
}

TEST(MusicLevel, BothPiecesSitNearMinus20DbfsWithoutClippingAndTheFightSoundsStayClose) {
  double quietest = 0;
  for (const char* piece : {"title.mid", "back.mid"}) {
    SCOPED_TRACE(piece);
    const std::vector<std::int16_t> samples = Render(piece);
    ASSERT_GE(samples.size(), std::size_t(kSeconds * 44100 * 2 * 0.9)) << "the piece did not play";
    const Level level = Measure(samples);
    RecordProperty(std::string(piece) + " dBFS", std::to_string(level.rmsDb));
    EXPECT_GT(level.rmsDb, -22.5) << "too quiet beside the fight sounds";
    EXPECT_LT(level.rmsDb, -17.5) << "too loud";
    EXPECT_EQ(level.clipped, 0) << "samples at full scale";
    EXPECT_LT(level.peakDb, -1.0) << "no headroom left";
    quietest = std::min(quietest, level.rmsDb);
  }
  for (const char* effect : {"dead_00", "ao_00", "ack_00", "dead_01", "ao_01", "ack_01", "dead_02", "ao_02", "ack_02"}) {
    const Level level = EffectLevel(effect);
    EXPECT_LT(level.rmsDb, quietest + 7.0) << effect << " stands out above the music";
    EXPECT_GT(level.rmsDb, quietest - 3.0) << effect << " drowns in the music";
  }
}

}  // namespace
