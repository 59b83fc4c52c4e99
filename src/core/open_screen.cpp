#include "core/open_screen.h"

namespace {
const char* openScreen = "world";
}

const char* OpenScreen() { return openScreen; }

ScreenScope::ScreenScope(const char* name) : previous_(openScreen) { openScreen = name; }

ScreenScope::~ScreenScope() { openScreen = previous_; }
