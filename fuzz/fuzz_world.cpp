#include "fuzz_world.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/game_state.h"
#include "goods/goods.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "video/display.h"
#include "world/map_files.h"
#include "world/talk.h"

#ifndef TAMSEL_FUZZ_DATA
#define TAMSEL_FUZZ_DATA ""
#endif

namespace fuzz {

namespace {

std::filesystem::path& ScratchFolder() {
  static std::filesystem::path folder;
  return folder;
}

void RemoveScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(ScratchFolder(), ignored);
}

intptr_t FuzzWindowProc(int message, intptr_t wParam, intptr_t lParam) {
  return platform::DefWindowProc(message, wParam, lParam);
}

void MakeScratchFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tamsel-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("tamsel fuzz: cannot make a scratch folder");
    std::exit(1);
  }
  ScratchFolder() = pattern;
  for (const char* sub : {"maps", "pic", "text", "voc", "save"})
    std::filesystem::create_directories(ScratchFolder() / sub);
  std::atexit(RemoveScratchFolder);
}

}  // namespace

void StartWorld() {
  static bool started = false;
  if (started) return;
  started = true;

  platform::headless::Options options;
  options.quitWhenScriptEnds = false;  // no script: the run never ends by itself
  options.quitAfterMilliseconds = 0xFFFFFFFFu;
  platform::headless::UseHeadlessBackend(options);
  platform::SetDataDirectory(TAMSEL_FUZZ_DATA);
  platform::CreateMainWindow(FuzzWindowProc);
  if (InitDisplay() == 0 || LoadMaps() == 0) {
    std::fprintf(stderr, "tamsel fuzz: no data set at '%s'\n", TAMSEL_FUZZ_DATA);
    std::exit(1);
  }
  LoadNpcs();
  LoadTalkText();
  LoadGoods();
  InitNewGame();

  MakeScratchFolder();
  platform::SetDataDirectory(ScratchFolder().string());
}

void WriteGameFile(const char* gameName, const uint8_t* data, size_t size) {
  const std::string path = platform::HostPath(gameName);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr, "the scratch folder takes the input");
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "tamsel fuzz: does not hold: %s\n", what);
  std::abort();
}

}  // namespace fuzz
