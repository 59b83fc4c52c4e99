// pic/player.bmp: the hero, a young swordsman, in three walk frames (standing, left stride,
// right stride) and four rows: down, left, right, up.
#include "people.h"
#include "sheets.h"

namespace pictures {

Image PaintHeroSheet() {
  Look hero;
  hero.top = Ramp::Blue;
  hero.top_lo = 1;
  hero.top_hi = 5;
  hero.bottom = Ramp::Steel;
  hero.shoes = Ramp::Bark;
  hero.trim = Ramp::Red;
  hero.head = Headwear::Topknot;
  hero.head_ramp = Ramp::Red;
  hero.held = Held::SwordOnBack;
  constexpr Facing kRows[4] = {Facing::Down, Facing::Left, Facing::Right, Facing::Up};
  constexpr int kSteps[3] = {0, -1, 1};
  Image sheet(96, 192, kKey);
  for (int row = 0; row < 4; ++row)
    for (int frame = 0; frame < 3; ++frame)
      sheet.Paste(PaintPerson(hero, kHeroBuild, kRows[row], kSteps[frame]), 32 * frame, 48 * row, false);
  return sheet;
}

}  // namespace pictures
