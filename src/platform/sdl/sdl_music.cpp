#include "platform/sdl/sdl_music.h"

#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/settings.h"
#include "platform/system.h"

namespace platform::sdl {

namespace {

// Debian's General MIDI sound font (fluid-soundfont-gm), else the system's chosen one.
constexpr const char* kSoundFonts[] = {"/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                       "/usr/share/sounds/sf2/default-GM.sf2"};
// A music file larger than this is not one of the game's pieces.
constexpr std::uintmax_t kLargestPiece = 4u << 20;

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A piece is addressed by the file name it was opened with, without regard to case as on
// the game's original file system, and with either separator.
std::string DeviceName(const std::string& file) {
  std::string name = Lower(file);
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

std::vector<uint8_t> ReadPiece(const std::string& gameName) {
  const std::optional<std::string> bytes = ReadGameFile(gameName.c_str(), kLargestPiece + 1);
  if (!bytes) return {};
  if (bytes->size() > kLargestPiece) {
    ReportUnusableGameFile(gameName.c_str(), "larger than any piece of music");
    return {};
  }
  return {bytes->begin(), bytes->end()};
}

}  // namespace

void SdlMusic::SettingsDeleter::operator()(fluid_settings_t* settings) const {
  delete_fluid_settings(settings);
}
void SdlMusic::SynthDeleter::operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
void SdlMusic::PlayerDeleter::operator()(fluid_player_t* player) const {
  delete_fluid_player(player);
}

SdlMusic::SdlMusic(int frequency, SDL_AudioFormat format, int channels)
    : frequency_(frequency), renderable_(format == AUDIO_S16SYS), channels_(channels) {
  try {
    worker_ = std::thread(&SdlMusic::Work, this);
  } catch (const std::system_error&) {
    return;  // no thread to spare: no music
  }
  Mix_HookMusic(&SdlMusic::Render, this);
}

SdlMusic::~SdlMusic() {
  if (!worker_.joinable()) return;
  Mix_HookMusic(nullptr, nullptr);  // the audio thread is out of Render once this returns
  {
    const std::lock_guard lock(requestsLock_);
    quit_ = true;
  }
  requestsWaiting_.notify_one();
  worker_.join();  // waits for a sound font still loading
}

void SdlMusic::Command(const std::string& command) {
  if (!worker_.joinable()) return;
  const std::string text = Trim(command);
  const size_t space = text.find_first_of(" \t");
  const std::string verb = Lower(text.substr(0, space));
  const std::string argument = space == std::string::npos ? "" : Trim(text.substr(space));
  if (argument.empty()) return;
  Request request;
  if (verb == "close") {
    request.kind = Request::Kind::Close;
  } else if (verb == "open") {
    request.kind = Request::Kind::Open;
  } else if (verb == "play") {
    request.kind = Request::Kind::Play;
  } else {
    return;
  }
  request.name = DeviceName(argument);
  if (request.kind != Request::Kind::Close) request.file = argument;
  {
    // A stop or a start makes the stops and starts still waiting pointless, and a piece
    // waiting to be read needs reading once: the queue stays short however often the game
    // asks, even while the sound font loads.
    const std::lock_guard lock(requestsLock_);
    const bool supersedes = request.kind == Request::Kind::Play ||
                            (request.kind == Request::Kind::Close && request.name == "all");
    std::erase_if(requests_, [&request, supersedes](const Request& waiting) {
      if (waiting.kind == Request::Kind::Open) {
        return request.kind == Request::Kind::Open && waiting.name == request.name;
      }
      return supersedes;
    });
    requests_.push_back(std::move(request));
  }
  requestsWaiting_.notify_one();
}

void SdlMusic::Work() {
  for (;;) {
    Request request;
    {
      std::unique_lock lock(requestsLock_);
      requestsWaiting_.wait(lock, [this] { return quit_ || !requests_.empty(); });
      if (quit_) return;
      request = std::move(requests_.front());
      requests_.pop_front();
    }
    Carry(request);
  }
}

// Once per run, for the first piece played: without a sound font (or with a mixer format the
// synthesiser cannot write) the music stays silent.
void SdlMusic::LoadSynth() {
  synthTried_ = true;
  if (!renderable_) return;
  const char* font = nullptr;
  std::error_code error;
  for (const char* candidate : kSoundFonts) {
    if (font == nullptr && std::filesystem::exists(candidate, error)) font = candidate;
  }
  if (font == nullptr) {
    std::fprintf(stderr, "tamsel: no General MIDI sound font (%s), so the music stays silent; "
                         "install the package fluid-soundfont-gm\n", kSoundFonts[0]);
    return;
  }
  for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
    fluid_set_log_function(level, nullptr, nullptr);
  }

  settings_.reset(new_fluid_settings());
  if (!settings_) return;
  fluid_settings_setnum(settings_.get(), "synth.sample-rate", double(frequency_));
  // The player's music volume (0 to 100) scales the gain.
  const double volume = double(std::clamp(CurrentSettings().musicVolume, 0, kMaxVolume)) / kMaxVolume;
  fluid_settings_setnum(settings_.get(), "synth.gain", kMusicGain * volume);
  std::unique_ptr<fluid_synth_t, SynthDeleter> synth(new_fluid_synth(settings_.get()));
  if (!synth || fluid_synth_sfload(synth.get(), font, 1) == FLUID_FAILED) return;
  const std::lock_guard lock(renderLock_);
  synth_ = std::move(synth);
}

const std::vector<uint8_t>& SdlMusic::Piece(const Request& request) {
  auto found = pieces_.find(request.name);
  if (found == pieces_.end()) found = pieces_.emplace(request.name, ReadPiece(request.file)).first;
  return found->second;
}

void SdlMusic::Carry(const Request& request) {
  switch (request.kind) {
    case Request::Kind::Close:
      if (request.name == "all" || request.name == playing_) StopPiece();
      break;
    case Request::Kind::Open:
      Piece(request);
      break;
    case Request::Kind::Play: {
      const std::vector<uint8_t>& piece = Piece(request);  // a piece played unopened is opened
      if (piece.empty()) break;
      if (!synthTried_) LoadSynth();
      if (!synth_) break;
      StopPiece();
      const std::lock_guard lock(renderLock_);
      player_.reset(new_fluid_player(synth_.get()));
      if (!player_ || fluid_player_add_mem(player_.get(), piece.data(), piece.size()) != FLUID_OK ||
          fluid_player_play(player_.get()) != FLUID_OK) {
        player_.reset();
        break;
      }
      playing_ = request.name;
      break;
    }
  }
}

// Ends the piece and every note still sounding.
void SdlMusic::StopPiece() {
  const std::lock_guard lock(renderLock_);
  player_.reset();
  if (synth_) fluid_synth_system_reset(synth_.get());
  playing_.clear();
}

void SdlMusic::Render(void* self, Uint8* stream, int bytes) {
  auto& music = *static_cast<SdlMusic*>(self);
  const std::lock_guard lock(music.renderLock_);
  fluid_synth_t* synth = music.synth_.get();
  if (synth == nullptr) return;
  const bool piece =
      music.player_ && fluid_player_get_status(music.player_.get()) == FLUID_PLAYER_PLAYING;
  if (!piece && fluid_synth_get_active_voice_count(synth) == 0) return;  // silence: no work
  // The mixer hands a silent buffer; left and right go to the first two channels (both to
  // the one channel of a mono output).
  auto* samples = reinterpret_cast<int16_t*>(stream);
  const int step = music.channels_;
  const int frames = bytes / int(sizeof(int16_t)) / step;
  fluid_synth_write_s16(synth, frames, samples, 0, step, samples, step > 1 ? 1 : 0, step);
}

}  // namespace platform::sdl
