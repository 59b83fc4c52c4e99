// MIDI music driven by the game's command strings ("close all", "open FILE", "play FILE"),
// played with SDL_mixer (MIDI through FluidSynth and the General MIDI sound font).
//
// Decoding a piece means loading the sound font, which takes seconds, so pieces are decoded
// one at a time on a worker thread and kept once decoded: "play" of a piece still loading
// starts it when it is ready, and the restart of the background music every minute costs
// nothing. "close all" stops the music. Without an audio device the music is simply absent.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <string>

namespace platform::sdl {

class SdlMusic {
 public:
  // Opens the audio device; Available() tells whether it worked.
  SdlMusic();
  ~SdlMusic();
  SdlMusic(const SdlMusic&) = delete;
  SdlMusic& operator=(const SdlMusic&) = delete;

  bool Available() const { return open_; }
  // Unknown commands, missing files and files that cannot be decoded are ignored.
  void Command(const std::string& command);
  // Takes in a piece the worker has finished and starts it when it is waited for.
  void Poll();

 private:
  struct MusicDeleter {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
  };
  using MusicPtr = std::unique_ptr<Mix_Music, MusicDeleter>;

  // One piece being decoded on an SDL thread (SDL keeps per-thread data that only its own
  // threads give back).
  struct Load {
    std::string name;
    std::string path;
    Mix_Music* music = nullptr;
    std::atomic<bool> done{false};
    SDL_Thread* thread = nullptr;
  };
  static int DecodeOnWorker(void* load);

  void Open(const std::string& name, const std::string& file);
  void Play(const std::string& name);
  void StartNextLoad();
  void FinishLoad();

  bool open_ = false;
  std::map<std::string, MusicPtr> decoded_;  // by device name; nullptr: could not be decoded
  std::deque<std::pair<std::string, std::string>> waiting_;  // device name, game file name
  std::unique_ptr<Load> loading_;
  std::string wanted_;   // the piece to play as soon as it is decoded
  std::string playing_;  // the piece last started
};

}  // namespace platform::sdl
