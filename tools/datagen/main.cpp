// datagen: writes Tamsel's whole data set from the sources in data/.
//   datagen --sources DIR --out DIR
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "datagen/generators.h"

int main(int argc, char** argv) {
  std::filesystem::path sources;
  std::filesystem::path out;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--sources") == 0) {
      sources = argv[i + 1];
    } else if (std::strcmp(argv[i], "--out") == 0) {
      out = argv[i + 1];
    }
  }
  if (sources.empty() || out.empty()) {
    std::fprintf(stderr, "usage: datagen --sources DIR --out DIR\n");
    return 2;
  }
  std::error_code error;
  for (const char* folder : {"pic", "maps", "text", "voc", "save"}) {
    std::filesystem::create_directories(out / folder, error);
    if (error) {
      std::fprintf(stderr, "datagen: cannot create %s: %s\n", (out / folder).c_str(),
                   error.message().c_str());
      return 1;
    }
  }
  if (!datagen::GeneratePictures(sources, out) || !datagen::GenerateWorld(sources, out) ||
      !datagen::GenerateSounds(sources, out)) {
    return 1;
  }
  return 0;
}
