#include "platform/headless/headless_backend.h"

#include <cstdio>
#include <fstream>

#include "platform/backend/state_dumper.h"
#include "platform/display_device.h"
#include "platform/headless/headless_sound.h"
#include "platform/pixels/png_writer.h"
#include "platform/text.h"

namespace platform::headless {

HeadlessBackend::HeadlessBackend(const Options& options)
    : options_(options), run_(options_, keys_, *this) {}

// The run ends when the script has played its last step, and again when the time limit
// passes (in case the game carried on after the first).
void HeadlessBackend::AdvanceClock(uint32_t milliseconds) {
  if (run_.Advance(milliseconds)) RequestQuit();
}

// A palette load is shown at once. When the options give it time, that time passes and the
// script plays on meanwhile; without, a fade is over in an instant for the script, whose next
// step waits for the game's next poll of its own. Any other poll takes the poll step and shows
// what changed. The test's observer, if any, then sees the poll.
void HeadlessBackend::Pump(Poll poll) {
  if (poll == Poll::PaletteLoad) {
    ShowPaletteLoad();
    if (options_.millisecondsPerPaletteLoad > 0) AdvanceClock(options_.millisecondsPerPaletteLoad);
  } else {
    AdvanceClock(options_.millisecondsPerPoll);
    PresentIfChanged();
  }
  if (options_.observer && !options_.observer(run_.Now(), poll == Poll::Message)) RequestQuit();
}

// Waiting for a message lets virtual time pass in poll-sized steps, stopping at the next
// timer tick, so the script keeps its pace while the game sleeps.
void HeadlessBackend::WaitForEvent(std::optional<uint32_t> timerDue) {
  AdvanceClock(run_.WaitStep(timerDue));
}

void HeadlessBackend::PresentIfChanged() {
  const detail::ScreenSignature current = detail::CurrentScreenSignature();
  if (current == shown_) return;
  shown_ = current;
  ++log_.presents;
}

void HeadlessBackend::ShowPaletteLoad() {
  ++log_.paletteLoads;
  shown_ = detail::CurrentScreenSignature();
  ++log_.presents;
}

void HeadlessBackend::MessageBox(const char* text, const char* caption) {
  log_.messageBoxes.push_back(std::string(caption) + "|" + text);
  std::fprintf(stderr, "%s: %s\n", GbkToUtf8(caption).c_str(), GbkToUtf8(text).c_str());
}

void HeadlessBackend::OutputDebugString(const char* text) {
  log_.debugLines.emplace_back(text);
  std::fputs(text, stderr);
}

void HeadlessBackend::SendMciCommand(const char* command) {
  log_.mciCommands.emplace_back(command);
  log_.mciTimes.push_back(run_.Now());
}

std::unique_ptr<detail::SoundDevice> HeadlessBackend::MakeSoundDevice() {
  if (options_.faults.failSoundDevice) return nullptr;
  return std::make_unique<HeadlessSound>(run_.Now(), log_);
}

void HeadlessBackend::WriteShot(const Step& step) {
  const std::string path = options_.shotDirectory + "/" + step.name + ".png";
  DisplayDevice* device = CurrentDisplayDevice();
  const Surface* page = device != nullptr ? device->Primary() : nullptr;
  const Surface blank(kScreenWidth, kScreenHeight);
  static const Palette kBlack{};
  const Palette& palette = device != nullptr ? device->CurrentPalette() : kBlack;
  if (!WritePng(path, page != nullptr ? *page : blank, palette)) {
    std::fprintf(stderr, "script line %d: cannot write %s\n", step.line, path.c_str());
    ++log_.unwrittenFiles;
  }
}

void HeadlessBackend::WriteState(const Step& step) {
  const std::optional<std::string> state = detail::DumpGameState();
  if (!state) {
    std::fprintf(stderr, "script line %d: the game has no state writer\n", step.line);
    return;
  }
  const std::string path = options_.shotDirectory + "/" + step.name;
  std::ofstream file(path, std::ios::binary);
  file << *state;
  if (!file) {
    std::fprintf(stderr, "script line %d: cannot write %s\n", step.line, path.c_str());
    ++log_.unwrittenFiles;
  }
}

}  // namespace platform::headless
