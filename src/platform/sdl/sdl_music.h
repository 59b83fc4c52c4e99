// MIDI music driven by the game's command strings ("close all", "open FILE", "play FILE"),
// synthesised by FluidSynth with the General MIDI sound font and mixed into SDL_mixer's
// output through its music hook.
//
// The game thread only queues commands; it never waits for the synthesiser or the sound
// output. A worker thread carries them out: it loads the sound font once, on the first
// piece played (that takes seconds), reads each piece's file once, and starts and stops pieces.
// The mixer's audio thread renders the synthesiser; the worker and the audio thread share
// one lock, which the worker holds only to swap pieces. A piece is played once, not looped.
#pragma once

#include <SDL.h>
#include <fluidsynth/types.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform::sdl {

// The loudness of the music: FluidSynth's master gain ("synth.gain"; FluidSynth's own default
// is 0.2). The effects play at full volume; at 0.6 the game's pieces sound about 12 dB below
// them, and their loudest moments together with an effect's stay within full scale.
constexpr double kMusicGain = 0.6;

class SdlMusic {
 public:
  // Hooks into the open mixer, whose output has this rate, sample format and channel count.
  SdlMusic(int frequency, SDL_AudioFormat format, int channels);
  ~SdlMusic();
  SdlMusic(const SdlMusic&) = delete;
  SdlMusic& operator=(const SdlMusic&) = delete;

  // Unknown commands, missing files and files that cannot be played are ignored.
  void Command(const std::string& command);

 private:
  struct Request {
    enum class Kind { Close, Open, Play } kind = Kind::Close;
    std::string name;  // the device name the piece is addressed by
    std::string file;  // its game file name
  };
  struct SettingsDeleter {
    void operator()(fluid_settings_t* settings) const;
  };
  struct SynthDeleter {
    void operator()(fluid_synth_t* synth) const;
  };
  struct PlayerDeleter {
    void operator()(fluid_player_t* player) const;
  };

  // ---- the worker ----
  void Work();
  void LoadSynth();
  void Carry(const Request& request);
  const std::vector<uint8_t>& Piece(const Request& request);
  void StopPiece();

  // ---- the audio thread ----
  static void Render(void* self, Uint8* stream, int bytes);

  const int frequency_;
  const bool renderable_;  // the mixer takes 16-bit samples, which the synthesiser writes
  const int channels_;

  std::mutex requestsLock_;
  std::condition_variable requestsWaiting_;
  std::deque<Request> requests_;
  bool quit_ = false;

  // The worker's own.
  bool synthTried_ = false;
  std::unique_ptr<fluid_settings_t, SettingsDeleter> settings_;
  std::map<std::string, std::vector<uint8_t>> pieces_;  // by name; empty: cannot be read
  std::string playing_;

  // Shared by the worker and the audio thread.
  std::mutex renderLock_;
  std::unique_ptr<fluid_synth_t, SynthDeleter> synth_;
  std::unique_ptr<fluid_player_t, PlayerDeleter> player_;

  std::thread worker_;
};

}  // namespace platform::sdl
