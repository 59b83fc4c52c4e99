// pic/npc01.bmp .. npc15.bmp: two walk frames (standing, striding) in four rows: down, left, up,
// right. Picture k shows the character the catalogue names for it.
#include "creatures.h"
#include "people.h"
#include "sheets.h"

namespace pictures {
namespace {

constexpr Facing kRowFacing[4] = {Facing::Down, Facing::Left, Facing::Up, Facing::Right};

// The smith: brawny, bare-armed, in a leather apron and a dark cloth cap.
Look Smith() {
  Look l;
  l.top = Ramp::Plaster;
  l.top_lo = 0;
  l.top_hi = 3;
  l.bottom = Ramp::Bark;
  l.trim = Ramp::Bark;
  l.bare_arms = true;
  l.apron = true;
  l.apron_ramp = Ramp::Earth;
  l.apron_shade = 2;
  l.head = Headwear::Cap;
  l.head_ramp = Ramp::Blue;
  l.girth = 1.5;
  return l;
}

Look VillagerWoman() {
  Look l;
  l.top = Ramp::Blue;
  l.dress = true;
  l.trim = Ramp::Blue;
  l.head = Headwear::Bun;
  l.head_ramp = Ramp::Jade;
  return l;
}

Look Elder() {
  Look l;
  l.hair = Ramp::Stone;
  l.hair_lo = 4;
  l.hair_hi = 7;
  l.top = Ramp::Earth;
  l.robe = true;
  l.trim = Ramp::Gold;
  l.beard = true;
  l.head = Headwear::Topknot;
  l.head_ramp = Ramp::Wood;
  l.held = Held::Staff;
  return l;
}

Look Guard() {
  Look l;
  l.top = Ramp::Blue;
  l.bottom = Ramp::Blue;
  l.armour = true;
  l.trim = Ramp::Wood;
  l.head = Headwear::Helmet;
  l.head_ramp = Ramp::Red;
  l.held = Held::Spear;
  return l;
}

Look Girl() {
  Look l;
  l.top = Ramp::Pink;
  l.top_lo = 0;
  l.top_hi = 4;
  l.dress = true;
  l.trim = Ramp::Red;
  l.head = Headwear::Bun;
  l.head_ramp = Ramp::Red;
  l.height = -7;
  return l;
}

Look Thug() {
  Look l;
  l.top = Ramp::Red;
  l.top_lo = 0;
  l.top_hi = 3;
  l.bottom = Ramp::Bark;
  l.trim = Ramp::Ink;
  l.bare_arms = true;
  l.head = Headwear::Headband;
  l.head_ramp = Ramp::Stone;
  l.girth = 1.5;
  return l;
}

Look Shopkeeper() {
  Look l;
  l.top = Ramp::Plaster;
  l.top_lo = 0;
  l.top_hi = 4;
  l.bottom = Ramp::Wood;
  l.apron = true;
  l.trim = Ramp::Green;
  return l;
}

Look Merchant() {
  Look l;
  l.top = Ramp::Purple;
  l.robe = true;
  l.trim = Ramp::Gold;
  l.head = Headwear::Cap;
  l.head_ramp = Ramp::Purple;
  l.girth = 2;
  return l;
}

Look Princess() {
  Look l;
  l.top = Ramp::Marble;
  l.top_lo = 1;
  l.top_hi = 4;
  l.dress = true;
  l.robe = true;
  l.trim = Ramp::Gold;
  l.head = Headwear::Bun;
  l.head_ramp = Ramp::Gold;
  return l;
}

Look Soldier() {
  Look l;
  l.top = Ramp::Steel;
  l.bottom = Ramp::Ink;
  l.armour = true;
  l.armour_hi = 2;
  l.trim = Ramp::Red;
  l.head = Headwear::Helmet;
  l.head_ramp = Ramp::Lacquer;
  l.held = Held::Spear;
  return l;
}

Look DarkLord() {
  Look l;
  l.top = Ramp::Steel;
  l.top_lo = 0;
  l.top_hi = 2;
  l.robe = true;
  l.trim = Ramp::Lacquer;
  l.mask = true;
  l.head = Headwear::Hood;
  l.girth = 0.5;
  l.height = 1;
  return l;
}

Image Frame(int picture, Facing facing, int frame) {
  switch (picture) {
    case 8: return PaintWolf(facing, frame);
    case 9: return PaintSlime(facing, frame);
    case 10: return PaintTreeDemon(facing, frame);
    case 13: return PaintBat(facing, frame);
    default: break;
  }
  Look look;
  switch (picture) {
    case 0: look = Smith(); break;
    case 1: look = VillagerWoman(); break;
    case 2: look = Elder(); break;
    case 3: look = Guard(); break;
    case 4: look = Girl(); break;
    case 5: look = Thug(); break;
    case 6: look = Shopkeeper(); break;
    case 7: look = Merchant(); break;
    case 11: look = Princess(); break;
    case 12: look = Soldier(); break;
    default: look = DarkLord(); break;
  }
  return PaintPerson(look, kNpcBuild, facing, frame == 0 ? 0 : 1);
}

}  // namespace

Image PaintCharacterSheet(int picture) {
  Image sheet(64, 128, kKey);
  for (int row = 0; row < 4; ++row)
    for (int frame = 0; frame < 2; ++frame) sheet.Paste(Frame(picture, kRowFacing[row], frame), 32 * frame, 32 * row, false);
  return sheet;
}

}  // namespace pictures
