// The music as the player hears it: each piece rendered through the game's own sound device
// (SDL_mixer, with FluidSynth and the General MIDI sound font for the music) into SDL's disk
// audio driver, then measured. Both pieces should sit near -20 dBFS without clipping, and the
// fight sounds no more than about 6 dB above them.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/sdl/sdl_sound.h"
#include "platform/system.h"
#include "sound_file_bytes.h"

namespace {

namespace fs = std::filesystem;

constexpr double kSeconds = 15;

struct Level {
  double rmsDb = -200, peakDb = -200;
  int clipped = 0;
};

double Db(double amplitude) { return 20 * std::log10(std::max(amplitude, 1e-9) / 32768.0); }

Level Measure(const std::vector<int>& samples) {
  Level level;
  double energy = 0;
  int peak = 0;
  for (int s : samples) {
    energy += double(s) * s;
    peak = std::max(peak, std::abs(s));
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

TEST(MusicLevel, BothPiecesSitNearMinus20DbfsWithoutClippingAndTheFightSoundsStayClose) {
  double quietest = 0;
  for (const char* piece : {"title.mid", "back.mid"}) {
    SCOPED_TRACE(piece);
    const std::vector<std::int16_t> samples = Render(piece);
    ASSERT_GE(samples.size(), std::size_t(kSeconds * 44100 * 2 * 0.9)) << "the piece did not play";
    const Level level = Measure({samples.begin(), samples.end()});
    RecordProperty(std::string(piece) + " dBFS", std::to_string(level.rmsDb));
    EXPECT_TRUE(level.rmsDb > -22.5 && level.rmsDb < -17.5) << level.rmsDb << " dBFS: too quiet or too loud";
    EXPECT_EQ(level.clipped, 0) << "samples at full scale";
    EXPECT_LT(level.peakDb, -1.0) << "no headroom left";
    quietest = std::min(quietest, level.rmsDb);
  }
  // The fight sounds, what is audible of them: near the music, and peaks low enough that a cry
  // landing on the music does not clip.
  for (const char* effect : sound_test::kEffects) {
    const auto samples = sound_test::Samples(sound_test::ReadBytes(sound_test::DataPath(effect + std::string(".wav"))));
    const auto audible = [](int s) { return std::abs(s) > 32; };
    const auto first = std::find_if(samples.begin(), samples.end(), audible);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), audible).base();
    const Level level = first < last ? Measure({first, last}) : Level{};
    EXPECT_TRUE(level.rmsDb < quietest + 7.0 && level.rmsDb > quietest - 3.0)
        << effect << " stands out above the music or drowns in it: " << level.rmsDb << " dBFS";
    EXPECT_LT(level.peakDb, -4.0) << effect << " peaks so high it clips on the music";
  }
}

}  // namespace
