// The world generator refuses sources that would make a broken data set, and says where.
#include <filesystem>
#include <fstream>
#include <string>

#include "data_set.h"
#include "program_run.h"

namespace datacheck {
namespace {

namespace fs = std::filesystem;

// The sources are UTF-8, while this program's narrow literals are GBK.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class Generator : public ::testing::Test {
 protected:
  void SetUp() override {
    sources = fs::temp_directory_path() / ("tamsel_world_sources_" + std::to_string(::getpid()));
    fs::remove_all(sources);
    fs::copy(fs::path(TAMSEL_SOURCE_DIR) / "data", sources, fs::copy_options::recursive);
  }
  void TearDown() override { fs::remove_all(sources); }

  // Replaces the first occurrence of `from` in a source file.
  void Edit(const std::string& file, const std::string& from, const std::string& to) {
    std::string text = ReadWholeFile((sources / file).string());
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    std::ofstream(sources / file, std::ios::binary) << text;
  }

  // Runs the generator; its exit status and what it said.
  tamsel_test::Outcome Run() {
    return tamsel_test::RunCommand(std::string(TAMSEL_BUILD_DIR) + "/tools/datagen_world --sources " +
                                   sources.string() + " --out " + (sources / "out").string());
  }

  fs::path sources;
};

TEST_F(Generator, WritesTheSetFromGoodSourcesAndRefusesBrokenOnes) {
  const auto good = Run();
  EXPECT_EQ(good.exitCode, 0) << good.output;

  struct Case {
    const char* file;
    const char8_t* from;
    const char8_t* to;
    const char* complaint;
  };
  const Case cases[] = {
      // A character whose second GBK byte is '@' would end the spoken line in its middle.
      {"text/talk.txt", u8"npc: 路上小心。", u8"npc: 丂路上小心。", "second byte"},
      {"text/talk.txt", u8"npc: 路上小心。", u8"npc: 路上;小心。", "may not be used"},
      // A sentence-final stop alone at the start of the talk box's second row.
      {"text/talk.txt", u8"林子……我想去看看。", u8"林子……我想去看看呀。", "reword"},
      {"maps/home.txt", u8"D event door_to_city_north", u8"D event door_to_nowhere", "no event cell"},
      {"maps/home.txt", u8"b tile bed", u8"b tile bedd", "no overlay tile"},
      {"maps/home.txt", u8"[..................]\n[..................]",
       u8"[..................]\n[.................]", "wide"},
      {"characters/home.txt", u8"name      :娘;", u8"name     :娘;", "label"},
      {"characters/wood.txt", u8"goods     :C;", u8"goods     :C  ;", "loot"},
      {"text/goods.txt", u8"name      :馒头;", u8"name      :热气腾腾香喷喷的大白面馒头十六个字;", "bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.complaint);
    SetUp();
    Edit(c.file, Utf8(c.from), Utf8(c.to));
    const auto [status, said] = Run();
    EXPECT_NE(status, 0);
    EXPECT_TRUE(said.find(c.file) != std::string::npos && said.find(c.complaint) != std::string::npos) << said;
  }
}

}  // namespace
}  // namespace datacheck
