// The soak's keys: one key at a time, random or planned, steered toward a goal when asked.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <optional>
#include <random>

#include "platform/backend/backend.h"
#include "platform/system.h"

namespace soak {

using namespace platform;
using headless::PressKey;
using headless::ReleaseAllKeys;
using headless::ReleaseKey;

// One key at a time, pressed for a while and let go, then a short pause. Random keys come from
// a mix weighted toward walking, acting, confirming and leaving; planned keys are taps.
class Keys {
 public:
  // In a plan: let the screen settle (a fade end) before the next key.
  static constexpr int kPause = 0;

  explicit Keys(uint32_t seed) : random_(seed) {}

  void Plan(std::initializer_list<int> keys) { plan_.insert(plan_.end(), keys); }
  bool Idle(uint32_t now) const { return held_ == 0 && plan_.empty() && now >= nextAt_; }
  void Stop() {
    plan_.clear();
    held_ = 0;
    nextAt_ = 0;
    ReleaseAllKeys();
  }
  int Below(int n) { return int(random_() % uint32_t(n)); }

  // Random keys when asked for; long holds only while walking, where they lead somewhere.
  // While walking with a heading to steer by, most arrows take it.
  void Play(uint32_t now, bool randomly, bool walking, std::optional<int> steer = std::nullopt) {
    if (held_ != 0 && now >= releaseAt_) {
      ReleaseKey(held_);
      held_ = 0;
      nextAt_ = now + Between(30, 200);
    }
    if (held_ != 0 || now < nextAt_) return;
    if (!plan_.empty()) {
      if (plan_.front() == kPause) {
        nextAt_ = now + 600;
      } else {
        Press(now, plan_.front(), 60);
      }
      plan_.pop_front();
    } else if (randomly) {
      PressRandomKey(now, walking, steer);
    }
  }

 private:
  struct Choice {
    int key;  // 0: no key, only a pause
    int weight;
    uint32_t shortest, longest;  // how long it is held
  };
  // An arrow: while walking most often the one pressed last, so that walks lead somewhere.
  static constexpr int kArrow = -1;
  static constexpr Choice kMix[] = {
      {kArrow, 20, 40, 120},     {kArrow, 16, 300, 2500},   {VK_CONTROL, 10, 40, 100},
      {VK_RETURN, 12, 40, 100},  {VK_RETURN, 1, 500, 1500}, {VK_ESCAPE, 4, 40, 100},
      {VK_A, 2, 40, 100},        {0, 5, 100, 600},
  };

  uint32_t Between(uint32_t low, uint32_t high) { return low + random_() % (high - low + 1); }

  void Press(uint32_t now, int key, uint32_t milliseconds) {
    held_ = key;
    releaseAt_ = now + milliseconds;
    PressKey(key);
  }

  void PressRandomKey(uint32_t now, bool walking, std::optional<int> steer) {
    int total = 0;
    for (const Choice& choice : kMix) total += choice.weight;
    int pick = Below(total);
    for (const Choice& choice : kMix) {
      if ((pick -= choice.weight) >= 0) continue;
      const uint32_t longest = walking ? choice.longest : choice.shortest + 80;
      const uint32_t milliseconds = Between(choice.shortest, longest);
      if (choice.key == kArrow) {
        static constexpr int kArrows[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};
        if (!walking || Below(4) == 0) heading_ = kArrows[Below(4)];
        if (walking && steer && Below(4) != 0) heading_ = *steer;
        Press(now, heading_, milliseconds);
      } else if (choice.key != 0) {
        Press(now, choice.key, milliseconds);
      } else {
        nextAt_ = now + milliseconds;
      }
      return;
    }
  }

  std::mt19937 random_;
  std::deque<int> plan_;
  int held_ = 0;
  int heading_ = VK_DOWN;
  uint32_t releaseAt_ = 0;
  uint32_t nextAt_ = 0;
};

}  // namespace soak
