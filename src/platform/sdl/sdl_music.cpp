#include "platform/sdl/sdl_music.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/system.h"

namespace platform::sdl {

namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

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

}  // namespace

SdlMusic::SdlMusic() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  Mix_Init(MIX_INIT_MID);
  std::error_code error;
  if (std::filesystem::exists(kSoundFont, error)) Mix_SetSoundFonts(kSoundFont);
  open_ = true;
}

SdlMusic::~SdlMusic() {
  if (!open_) return;
  if (loading_) {  // the worker must be done before the device goes
    SDL_WaitThread(loading_->thread, nullptr);
    const MusicPtr unused(loading_->music);
  }
  Mix_HaltMusic();
  decoded_.clear();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlMusic::Command(const std::string& command) {
  if (!open_) return;
  Poll();
  const std::string text = Trim(command);
  const size_t space = text.find_first_of(" \t");
  const std::string verb = Lower(text.substr(0, space));
  const std::string argument = space == std::string::npos ? "" : Trim(text.substr(space));
  if (argument.empty()) return;
  const std::string name = DeviceName(argument);
  if (verb == "close") {
    if (name == "all" || name == wanted_ || name == playing_) {
      Mix_HaltMusic();
      wanted_.clear();
      playing_.clear();
    }
  } else if (verb == "open") {
    Open(name, argument);
  } else if (verb == "play") {
    Open(name, argument);  // a piece played without opening is opened first
    Play(name);
  }
}

void SdlMusic::Open(const std::string& name, const std::string& file) {
  const bool known = decoded_.contains(name) || (loading_ && loading_->name == name) ||
                     std::any_of(waiting_.begin(), waiting_.end(),
                                 [&name](const auto& entry) { return entry.first == name; });
  if (known) return;
  waiting_.emplace_back(name, HostPath(file.c_str()));
  StartNextLoad();
}

void SdlMusic::Play(const std::string& name) {
  wanted_ = name;
  const auto found = decoded_.find(name);
  if (found == decoded_.end()) return;  // starts when decoded
  // A loop count of 1 plays the piece once in every SDL_mixer version.
  if (found->second && Mix_PlayMusic(found->second.get(), 1) == 0) playing_ = name;
  wanted_.clear();
}

int SdlMusic::DecodeOnWorker(void* data) {
  auto* load = static_cast<Load*>(data);
  load->music = Mix_LoadMUS(load->path.c_str());
  load->done.store(true, std::memory_order_release);
  return 0;
}

void SdlMusic::StartNextLoad() {
  while (!loading_ && !waiting_.empty()) {
    auto load = std::make_unique<Load>();
    load->name = waiting_.front().first;
    load->path = waiting_.front().second;
    waiting_.pop_front();
    load->thread = SDL_CreateThread(DecodeOnWorker, "tamsel-music", load.get());
    if (load->thread != nullptr) loading_ = std::move(load);
    else decoded_[load->name] = nullptr;  // no thread to decode with: that piece stays silent
  }
}

void SdlMusic::FinishLoad() {
  SDL_WaitThread(loading_->thread, nullptr);
  const std::string finished = loading_->name;
  decoded_[finished] = MusicPtr(loading_->music);
  loading_.reset();
  if (wanted_ == finished) Play(finished);
  StartNextLoad();
}

void SdlMusic::Poll() {
  if (open_ && loading_ && loading_->done.load(std::memory_order_acquire)) FinishLoad();
}

}  // namespace platform::sdl
