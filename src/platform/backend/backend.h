// Choosing the backend, and controlling the headless one from tests and scripts.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings.h"

namespace platform {

// ---- the SDL backend (the real game) --------------------------------------------------------
// Starts SDL video, events and gamepads with the screen mode, scaling, effects volume and
// keys of the settings (the sound device opens when the game asks for it). False with a message on standard
// error when there is no display to open (for example no DISPLAY or WAYLAND_DISPLAY).
bool UseSdlBackend(const Settings& settings);
// The default settings, in a window or full screen (for tests and benchmarks).
struct SdlOptions {
  bool windowed = false;
};
bool UseSdlBackend(const SdlOptions& options);

// ---- the headless backend (tests, CI, scripted replays) --------------------------------------
namespace headless {

// One step of a script. Keys are the virtual-key codes of system.h.
struct Step {
  enum class Kind { Wait, Tap, Press, Release, Hold, Shot, State } kind = Kind::Wait;
  int key = 0;
  int milliseconds = 0;
  std::string name;  // Shot: picture name; State: file name
  int line = 0;      // line of the script file, for messages
};

// Parses a script ("wait MS", "tap KEY [N]" (N taps), "press KEY", "release KEY", "hold KEY MS",
// "shot NAME", "state FILE"; '#' starts a comment). On a malformed line returns false and
// sets error to a message naming the line.
// A script longer than kLongestScriptBytes, or of more than kMostScriptSteps steps with the
// repeats counted, is refused the same way.
constexpr size_t kLongestScriptBytes = 1 << 20;
constexpr size_t kMostScriptSteps = 100000;
bool ParseScript(const std::string& text, std::vector<Step>& steps, std::string& error);

// The game time a script may take before it counts as stalled: ten minutes for the game's
// own doings (fights, fades, taps waiting to be seen) on top of the script's waits and holds,
// so that a long playthrough has room to finish and a stuck one still ends.
uint32_t ScriptTimeLimit(const std::vector<Step>& steps);

// Which display operations fail, to test the start-up failure paths.
struct Faults {
  bool failDisplayDevice = false;
  bool failPrimary = false;
  bool failBackBuffer = false;
  int failSurfaceNumber = 0;  // the n-th off-screen surface (1-based) fails; 0: none
  bool failWindow = false;
  bool failSoundDevice = false;
};

struct Options {
  std::vector<Step> script;
  std::string shotDirectory = ".";    // where "shot NAME" writes NAME.png
  uint32_t seed = 1;                  // answered as the calendar time
  uint32_t millisecondsPerPoll = 1;   // virtual time that passes with each key or clock poll
  // Virtual time a palette load takes. 0 keeps fades out of the game's time: scripts count only
  // the game's own waits and play no step in the middle of a fade. 2 gives a fade the half
  // second it takes on the screen, and lets the script go on (and end) during it.
  uint32_t millisecondsPerPaletteLoad = 0;
  // The script ends the program when its last step is done; with false the program goes on
  // until QuitAfterMilliseconds of virtual time have passed (a bound for tests).
  bool quitWhenScriptEnds = true;
  uint32_t quitAfterMilliseconds = 600000;
  Faults faults;
  // Called at every poll, once the script has played what was due, with the virtual time and
  // whether the poll comes from the message loop (between two frames of the world, no screen
  // of the game's own waiting for keys). A test drives keys and checks the game from here;
  // returning false ends the run as the end of a script does.
  std::function<bool(uint32_t now, bool inMessageLoop)> observer;
};

// Installs a fresh headless backend (replacing any backend in use) and resets its logs.
void UseHeadlessBackend(const Options& options);

// A request to play a sound effect: started from its start, or skipped because the effect
// was still playing (found playing when the game asked).
struct EffectPlay {
  std::string name;  // the name the buffer was made with (its file)
  uint32_t time = 0;  // on the virtual clock
  bool started = false;
};

// What the game did, for tests to read.
struct Log {
  std::vector<std::string> mciCommands;
  std::vector<uint32_t> mciTimes;  // when each of mciCommands was sent, on the virtual clock
  std::vector<EffectPlay> effects;
  std::vector<std::string> messageBoxes;   // "caption|text", GBK bytes as the game gave them
  std::vector<std::string> debugLines;
  int paletteLoads = 0;  // palette loads into the palette attached to the screen
  int flips = 0;
  int presents = 0;
  int unwrittenFiles = 0;  // screenshots and state files of the script that could not be written
};
const Log& GetLog();
void ClearLog();

// Direct key control for in-process tests (scripts use the same mechanism).
void PressKey(int virtualKey);
void ReleaseKey(int virtualKey);
// Lets go of every key and drops the presses the game has not asked about yet.
void ReleaseAllKeys();
// Appends steps to the running script.
void AddSteps(const std::vector<Step>& steps);
bool ScriptFinished();
// Once the run is over: the script line of the first step that was never played, or nothing
// when the script was played through. A script still going when the time limit passed
// stalled there. When the game ends on its own, trailing waits and a tap whose press the game
// saw count as played. The demo in a window stalls only at its time limit (a player closing
// the window is no failure).
std::optional<int> StalledScriptLine();

// The virtual clock.
uint32_t Now();
void AdvanceClock(uint32_t milliseconds);

// Marks every surface lost, as when another application takes the display.
void LoseSurfaces();

}  // namespace headless

// The demo in a window: the SDL backend with the script of demo playing instead of the
// player, on the clock a headless run of it has (see sdl/sdl_demo.h).
bool UseSdlDemoBackend(const Settings& settings, const headless::Options& demo);

}  // namespace platform
