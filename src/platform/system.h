// What the game asks of the desktop: the window with its message queue and timer, the
// asynchronous key state, the millisecond clock, message boxes, the debug output, MIDI music
// through command strings, the calendar time and the data files.
// Every call goes to the backend in use (the SDL window or the headless test backend).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// ---- keys ---------------------------------------------------------------------------------
// Virtual-key codes of the keys the game reads.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_A = 0x41;

// Non-zero while the key is held, or if it was pressed since the previous query of that key
// (a short tap between two polls is not lost). Each call pumps the backend's events and, when
// nothing has changed for a while, yields the processor a little.
// Throws QuitRequested when the window was closed (or the headless script has ended).
int GetAsyncKeyState(int virtualKey);

// ---- clock --------------------------------------------------------------------------------
// Milliseconds since start-up. Polls like GetAsyncKeyState (and may throw QuitRequested).
uint32_t GetTickCount();

// Seconds of the calendar time; the headless backend answers its fixed seed instead.
uint32_t CalendarTimeSeconds();

// ---- window and messages ------------------------------------------------------------------
constexpr int WM_DESTROY = 0x0002;
constexpr int WM_CLOSE = 0x0010;
constexpr int WM_QUIT = 0x0012;
constexpr int WM_ACTIVATEAPP = 0x001C;
constexpr int WM_SETCURSOR = 0x0020;
constexpr int WM_TIMER = 0x0113;

struct Msg {
  int message = 0;
  intptr_t wParam = 0;
  intptr_t lParam = 0;
};

using WindowProc = intptr_t (*)(int message, intptr_t wParam, intptr_t lParam);

// Thrown out of a poll when the player closes the window (or presses Ctrl+C in the terminal)
// while the game is inside a screen's own polling loop, and by the headless backend when its
// script has ended. The entry catches it, runs the window's clean-up and ends with exit code 0.
struct QuitRequested {};

// Opens the one window ("Tamsel") with the given window procedure. False when no window can be
// made. The window exists until DestroyWindow.
bool CreateMainWindow(WindowProc proc);
bool WindowExists();

// True when a message waits (without removing it). Pending timer ticks are merged into one.
bool PeekMessage();
// Takes the next message, waiting for one. False when it is the quit message.
bool GetMessage(Msg& msg);
// Hands the message to the window procedure and returns its result.
intptr_t DispatchMessage(const Msg& msg);
// What the platform does with a message the game passes on: WM_CLOSE destroys the window.
intptr_t DefWindowProc(int message, intptr_t wParam, intptr_t lParam);
void PostMessage(int message, intptr_t wParam = 0, intptr_t lParam = 0);
// Posts the quit message; GetMessage then returns false and the exit code is kept.
void PostQuitMessage(int exitCode);
int QuitExitCode();
// Sleeps until a message arrives.
void WaitMessage();
// Destroys the window: the window procedure gets WM_DESTROY at once.
void DestroyWindow();
// Starts a repeating timer that posts WM_TIMER with the identifier as wParam.
void SetTimer(int id, int milliseconds);

void HideCursor();

// ---- reports ------------------------------------------------------------------------------
// A message box with one OK button. Texts are GBK. Also printed to standard error.
void MessageBox(const char* text, const char* caption);
// A line on the debug output (standard error; the headless backend also keeps it).
void OutputDebugString(const char* text);

// ---- music --------------------------------------------------------------------------------
// MIDI music through command strings: "close all", "open FILE", "play FILE".
// Unknown commands and missing files are ignored.
void SendMciCommand(const char* command);

// ---- data files ---------------------------------------------------------------------------
// The directory that holds pic, maps, text, voc and save (default: the working directory).
void SetDataDirectory(const std::string& directory);
const std::string& DataDirectory();
// Maps a game file name written with either separator ("pic\title.bmp", "text/goods.dat")
// to a path on this machine.
std::string HostPath(const char* gameName);
// fopen of HostPath(gameName); for reading ("rb") only a regular file is opened.
std::FILE* OpenGameFile(const char* gameName, const char* mode);
// Names a game file the game cannot use on standard error, with why, once per file.
// OpenGameFile does so itself for every file it cannot open, but for a slot file not there.
void ReportUnusableGameFile(const char* gameName, const std::string& why);
// An open game file that closes itself.
struct GameFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using GameFile = std::unique_ptr<std::FILE, GameFileCloser>;
// The bytes of a game file, at most mostBytes of them; nothing when it cannot be opened.
std::optional<std::string> ReadGameFile(const char* gameName,
                                        size_t mostBytes = std::numeric_limits<size_t>::max());

// The directory the saved games "save\1.sav" to "save\5.sav" live in. HostPath maps every
// name under "save" there. Empty (the default): under the data directory like any other file.
void SetSaveDirectory(const std::string& directory);
const std::string& SaveDirectory();

// Replaces a game file with the given bytes, whole or not at all: the bytes go to a new file
// beside it, reach the disk, and only then take the old file's name. Creates the file's
// directory when missing. False when anything failed; the old file, if any, is then untouched.
bool ReplaceGameFile(const char* gameName, const void* bytes, size_t size);
// For tests: step n (1-based) of every replacement fails as on a full disk; 0 turns the fault
// off. The steps: making the directory, creating the new file, each write of at most 4096
// bytes, flushing the file to the disk, closing it, giving it the old file's name.
void FailReplaceStepForTests(int step);

// ---- state dumps --------------------------------------------------------------------------
// The game registers a function that writes its state as JSON; the headless script's
// "state FILE" step calls it.
void SetStateDumper(std::function<std::string()> dumper);

}  // namespace platform
