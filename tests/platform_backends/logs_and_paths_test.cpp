#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "headless_fixture.h"
#include "platform/backend_interface.h"
#include "platform/display_device.h"

using namespace platform;
using tamsel_test::HeadlessTest;

using HeadlessLogTest = HeadlessTest;

TEST_F(HeadlessLogTest, KeepsCommandsBoxesAndDebugLinesAsGiven) {
  SendMciCommand("close all");
  SendMciCommand("open voc\\title.mid");
  MessageBox("error open file", "voc\\ao_00.wav");
  OutputDebugString("handle is null\n");
  const headless::Log& log = headless::GetLog();
  EXPECT_EQ(log.mciCommands, (std::vector<std::string>{"close all", "open voc\\title.mid"}));
  EXPECT_EQ(log.messageBoxes, (std::vector<std::string>{"voc\\ao_00.wav|error open file"}));
  EXPECT_EQ(log.debugLines, (std::vector<std::string>{"handle is null\n"}));
  headless::ClearLog();
  EXPECT_TRUE(headless::GetLog().mciCommands.empty());
  // A fresh backend starts with an empty log.
  SendMciCommand("play voc\\back.mid");
  headless::UseHeadlessBackend(tamsel_test::OpenEndedOptions());
  EXPECT_TRUE(headless::GetLog().mciCommands.empty());
}

TEST_F(HeadlessLogTest, CountsPaletteLoadsFlipsAndPresentsOfChangedScreens) {
  DisplayDevice* device = OpenDisplayDevice();
  ASSERT_NE(device, nullptr);
  Surface* primary = device->CreatePrimaryWithBackBuffer();
  ASSERT_NE(primary, nullptr);
  auto attached = device->CreatePalette(Palette{});
  auto spare = device->CreatePalette(Palette{});
  device->AttachPalette(attached);
  GetTickCount();
  headless::ClearLog();

  attached->SetEntries(Palette{});
  spare->SetEntries(Palette{});  // not on screen: no load
  EXPECT_EQ(headless::GetLog().paletteLoads, 1);
  EXPECT_EQ(headless::GetLog().presents, 1);  // a palette load is shown at once

  GetTickCount();  // nothing changed since: nothing shown
  EXPECT_EQ(headless::GetLog().presents, 1);

  FillSurface(*primary, 9);  // drawn straight onto the visible page
  GetAsyncKeyState(VK_UP);
  EXPECT_EQ(headless::GetLog().presents, 2);

  EXPECT_EQ(device->Flip(), BlitResult::Ok);
  EXPECT_EQ(headless::GetLog().flips, 1);
  PeekMessage();
  EXPECT_EQ(headless::GetLog().presents, 3);
  CloseDisplayDevice();
}

TEST(GamePaths, MapEitherSeparatorIntoTheDataDirectory) {
  SetDataDirectory(".");
  EXPECT_EQ(HostPath("pic\\title.bmp"), "pic/title.bmp");
  SetDataDirectory("/srv/tamsel/data");
  EXPECT_EQ(HostPath("pic\\title.bmp"), "/srv/tamsel/data/pic/title.bmp");
  EXPECT_EQ(HostPath("text/goods.dat"), "/srv/tamsel/data/text/goods.dat");
  SetDataDirectory("build/data/");
  EXPECT_EQ(HostPath("save\\1.sav"), "build/data/save/1.sav");
  EXPECT_EQ(DataDirectory(), "build/data/");
  SetDataDirectory("");
  EXPECT_EQ(DataDirectory(), ".");

  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("tamsel_paths_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "text");
  std::ofstream(dir / "text" / "gp.txt") << "about";
  SetDataDirectory(dir.string());
  std::FILE* file = OpenGameFile("text\\gp.txt", "rb");
  ASSERT_NE(file, nullptr);
  char bytes[6] = {};
  EXPECT_EQ(std::fread(bytes, 1, 5, file), 5u);
  EXPECT_STREQ(bytes, "about");
  std::fclose(file);
  EXPECT_EQ(OpenGameFile("text\\missing.txt", "rb"), nullptr);
  EXPECT_EQ(OpenGameFile(nullptr, "rb"), nullptr);
  SetDataDirectory(".");
  std::filesystem::remove_all(dir);
}

TEST(NoBackend, CallsAnswerInertlyInsteadOfCrashing) {
  detail::InstallBackend(nullptr);
  EXPECT_FALSE(CreateMainWindow(nullptr));
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  const uint32_t start = GetTickCount();
  EXPECT_GE(GetTickCount(), start);
  Msg msg;
  EXPECT_FALSE(GetMessage(msg));  // nothing can ever arrive: the loop ends
  EXPECT_EQ(headless::GetLog().mciCommands.size(), 0u);
  SendMciCommand("close all");
  headless::PressKey(VK_UP);  // headless controls do nothing with another backend
  EXPECT_EQ(GetAsyncKeyState(VK_UP), 0);
}
