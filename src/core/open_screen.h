// Which screen is open, for the headless state dump and for tests: "title", "world", "talk",
// "battle", "goods", "status", "shop", "menu", "save", "load", "about".
#pragma once

// The name of the screen open now ("world" when no other screen is open).
const char* OpenScreen();

// Names a screen while it is open. A modal screen makes one on entry; when the screen returns,
// or a quit unwinds it, the name of the screen below comes back.
class ScreenScope {
 public:
  explicit ScreenScope(const char* name);
  ~ScreenScope();
  ScreenScope(const ScreenScope&) = delete;
  ScreenScope& operator=(const ScreenScope&) = delete;

 private:
  const char* previous_;
};
