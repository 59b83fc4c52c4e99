#include "sound/music.h"

#include <string>

#include "core/game_state.h"
#include "platform/system.h"

void PlayMusic(const char* file) {
  if (!bSoundOn) return;
  platform::SendMciCommand("close all");
  platform::SendMciCommand((std::string("open ") + file).c_str());
  platform::SendMciCommand((std::string("play ") + file).c_str());
}

void StopMusic() {
  if (!bSoundOn) return;
  platform::SendMciCommand("close all");
}
