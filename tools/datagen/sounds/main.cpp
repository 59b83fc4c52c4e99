// datagen_sounds --sources DIR --out DIR
// Synthesises the nine fight sounds from DIR/sound/effects.txt into OUT/voc/*.wav and writes the
// title and travelling music from DIR/sound/title.notes and back.notes into OUT/voc/*.mid.
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "effect_render.h"
#include "effect_spec.h"
#include "midi_file.h"
#include "score.h"
#include "source_text.h"
#include "wav_file.h"

namespace {

// The effect files the game opens, by voice: death cry, cry of pain, attack.
constexpr const char* kEffectNames[] = {"dead_00", "ao_00", "ack_00", "dead_01", "ao_01",
                                        "ack_01",  "dead_02", "ao_02", "ack_02"};
constexpr const char* kMusicNames[] = {"title", "back"};

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw sounds::SourceError(path.string() + ": cannot write");
}

void WriteEffects(const std::filesystem::path& sources, const std::filesystem::path& voc) {
  const std::string file = (sources / "sound" / "effects.txt").string();
  const auto effects = sounds::ParseEffects(sounds::ReadSourceFile(file), file);
  for (const char* name : kEffectNames) {
    const sounds::EffectSpec* found = nullptr;
    for (const auto& effect : effects)
      if (effect.name == name) found = &effect;
    if (!found) throw sounds::SourceError(file + ": the game needs an effect named " + name);
    WriteFile(voc / (std::string(name) + ".wav"),
              sounds::EncodeWav(sounds::RenderEffect(*found), sounds::kSampleRate));
  }
  for (const auto& effect : effects) {
    bool known = false;
    for (const char* name : kEffectNames) known = known || effect.name == name;
    if (!known) throw sounds::SourceError(file + ": the game never plays an effect named " + effect.name);
  }
}

void WriteMusic(const std::filesystem::path& sources, const std::filesystem::path& voc) {
  for (const char* name : kMusicNames) {
    const std::string file = (sources / "sound" / (std::string(name) + ".notes")).string();
    WriteFile(voc / (std::string(name) + ".mid"),
              sounds::EncodeMidi(sounds::ParseScore(sounds::ReadSourceFile(file), file)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path sources, out;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--sources") sources = argv[i + 1];
    else if (option == "--out") out = argv[i + 1];
  }
  if (sources.empty() || out.empty()) {
    std::fprintf(stderr, "usage: datagen_sounds --sources DIR --out DIR\n");
    return 2;
  }
  try {
    const auto voc = out / "voc";
    std::filesystem::create_directories(voc);
    WriteEffects(sources, voc);
    WriteMusic(sources, voc);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "datagen_sounds: %s\n", error.what());
    return 1;
  }
  return 0;
}
