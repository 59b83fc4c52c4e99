#include "platform/display_device.h"

#include <gtest/gtest.h>

#include "platform/backend/backend.h"

using platform::BlitResult;
using platform::DisplayDevice;
using platform::Palette;
using platform::headless::GetLog;

namespace {

class DisplayDeviceTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::CloseDisplayDevice(); }
  DisplayDevice* Open(const platform::headless::Faults& faults = {}) {
    platform::headless::Options options;
    options.faults = faults;
    platform::headless::UseHeadlessBackend(options);
    return platform::OpenDisplayDevice();
  }
};

}  // namespace

TEST_F(DisplayDeviceTest, PagesAreScreenSizedAndFlipExchangesThem) {
  DisplayDevice* device = Open();
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(platform::CurrentDisplayDevice(), device);
  EXPECT_EQ(device->BackBuffer(), nullptr);
  EXPECT_EQ(device->Flip(), BlitResult::Failed);
  platform::Surface* front = device->CreatePrimaryWithBackBuffer();
  platform::Surface* back = device->BackBuffer();
  ASSERT_TRUE(front && back);
  EXPECT_EQ(front->Width(), 640);
  EXPECT_EQ(back->Height(), 480);
  platform::FillSurface(*back, 9), platform::FillSurface(*front, 4);
  EXPECT_EQ(device->Flip(), BlitResult::Ok);
  EXPECT_EQ(front->PixelAt(639, 479), 9);
  EXPECT_EQ(back->PixelAt(0, 0), 4);
  EXPECT_EQ(GetLog().flips, 1);
  back->MarkLost();
  EXPECT_EQ(device->Flip(), BlitResult::SurfaceLost);
  EXPECT_EQ(front->PixelAt(0, 0), 9);
  EXPECT_EQ(GetLog().flips, 1);

  device->ReleasePrimary();
  EXPECT_TRUE(device->Primary() == nullptr && device->BackBuffer() == nullptr);
}

TEST_F(DisplayDeviceTest, PaletteIsBlackUntilAttachedAndLoadsAreCountedOnlyWhenAttached) {
  DisplayDevice* device = Open();
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->CurrentPalette(), Palette{});
  Palette greys{};
  for (int i = 0; i < 256; ++i) greys[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  auto shown = device->CreatePalette(greys);
  auto spare = device->CreatePalette(greys);
  EXPECT_EQ(GetLog().paletteLoads, 0);
  device->AttachPalette(shown);
  EXPECT_EQ(device->CurrentPalette()[200].green, 200);
  EXPECT_EQ(device->AttachedPalette(), shown.get());

  Palette reds{}, read;
  reds[1] = {255, 0, 0, 0};
  const uint64_t version = shown->Version();
  shown->SetEntries(reds);
  spare->SetEntries(reds);  // not on screen: no load
  EXPECT_EQ(GetLog().paletteLoads, 1);
  EXPECT_GT(shown->Version(), version);
  EXPECT_EQ(device->CurrentPalette()[1].red, 255);
  shown->GetEntries(read);
  EXPECT_EQ(read, reds);
  // A palette object that outlives its device loads quietly.
  platform::CloseDisplayDevice();
  shown->SetEntries(greys);
  EXPECT_EQ(GetLog().paletteLoads, 1);
}

TEST_F(DisplayDeviceTest, InjectedFaultsFailTheirStep) {
  EXPECT_EQ(Open({.failDisplayDevice = true}), nullptr);
  EXPECT_EQ(platform::CurrentDisplayDevice(), nullptr);
  DisplayDevice* device = Open({.failPrimary = true});
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->CreatePrimaryWithBackBuffer(), nullptr);
  device = Open({.failBackBuffer = true});
  EXPECT_TRUE(device->CreatePrimaryWithBackBuffer() != nullptr && device->BackBuffer() == nullptr);

  // The third off-screen surface since the device was opened fails, and only that one;
  // counting starts again with a new device.
  device = Open({.failSurfaceNumber = 3});
  const auto sheet = device->CreateSurface(64, 128);
  EXPECT_EQ(sheet ? sheet->Height() : 0, 128);
  for (const bool made : {true, false, true}) EXPECT_EQ(device->CreateSurface(8, 8) != nullptr, made);
  // Sizes no device gives fail too.
  EXPECT_TRUE(device->CreateSurface(0, 10) == nullptr && device->CreateSurface(100000, 100000) == nullptr);
  device = platform::OpenDisplayDevice();
  for (const bool made : {true, true, false}) EXPECT_EQ(device->CreateSurface(8, 8) != nullptr, made);
}
