// The paper doll that paints every human figure: villagers, guards, the palace's people and the
// hero, facing any of four directions, standing or mid-stride.
#pragma once

#include "image.h"
#include "palette.h"

namespace pictures {

enum class Facing { Down, Left, Up, Right };

enum class Headwear { None, Headband, Cap, Helmet, Bun, Topknot, Hood };
enum class Held { None, Staff, Spear, SwordOnBack };

struct Look {
  Ramp hair = Ramp::Hair;
  int hair_lo = 0, hair_hi = 3;    // shades of the hair ramp used (white hair sits high in Stone)
  Ramp top = Ramp::Wood;           // tunic, dress or robe
  int top_lo = 1, top_hi = 5;
  Ramp bottom = Ramp::Steel;       // trousers
  Ramp shoes = Ramp::Bark;
  Ramp trim = Ramp::Wood;          // belt, hem
  bool dress = false;              // a skirt down to the ankles
  bool robe = false;               // a robe down to the feet, hiding them
  bool beard = false;
  bool apron = false;
  Ramp apron_ramp = Ramp::Green;
  int apron_shade = 3;
  bool armour = false;             // plate over the chest and shoulders (drawn in Steel)
  int armour_hi = 5;
  bool mask = false;               // a red mask over the face
  bool bare_arms = false;
  Headwear head = Headwear::None;
  Ramp head_ramp = Ramp::Red;
  Held held = Held::None;
  double girth = 0;                // extra half-width of the body
  int height = 0;                  // extra pixels of body (negative for a child)
};

// Proportions for a frame: the characters' 32 × 32 or the hero's 32 × 48.
struct Build {
  int frame_h;
  double head_r;
  int body_h;
  int leg_h;
  double half_w;
};
// One scale for everyone: a grown-up fills the 32-pixel frame from the top to the feet on its
// bottom line; the hero, drawn with the same head, stands about 37 pixels tall in his 48.
inline constexpr Build kNpcBuild{32, 6.0, 10, 9, 5.5};
inline constexpr Build kHeroBuild{48, 6.3, 12, 11, 6.0};

// Paints one outlined frame. `step` is 0 standing, -1 or +1 for the two strides (which also
// lower the body by a pixel).
Image PaintPerson(const Look& look, const Build& build, Facing facing, int step);

}  // namespace pictures
