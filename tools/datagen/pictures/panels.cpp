// The boxes the screens draw their text on: talk bar, panel, fight bar and menu box.
#include "brush.h"
#include "frame_style.h"
#include "palette.h"
#include "sheets.h"

namespace pictures {

// 640 × 96 at the bottom of the screen. The speaker's portrait stands in a well on the left
// (32 × 32 at (30, 20), the hero's 32 × 48 at (30, 12)), the name is written below it at (18, 66)
// (four characters reach x 98), the words to the right from (120, 16) and a chest's message from
// (100, 16).
Image PaintTalkBar() {
  Image img(640, 96, kKey);
  FillDarkInterior(img, 0, 0, 640, 96);
  DrawFrame(img, 0, 0, 640, 96);
  DrawInset(img, 24, 8, 44, 56);
  img.Fill(26, 10, 40, 52, C(Ramp::Panel, 0));
  // A thin gold rule beside the well divides the portrait from the words. It stops above the
  // name row and stands left of x 100, so neither a long name nor a chest's message runs over it.
  for (int y = 10; y < 62; ++y) {
    img.Set(82, y, C(Ramp::Frame, 1));
    img.Set(83, y, C(Ramp::Frame, 3));
  }
  RoundCorners(img, 0, 0, 640, 96);
  return img;
}

// 420 × 320, drawn at (110, 80) behind the status, goods, shop and About screens. Text runs from
// x 10 to 390, y 18 to 300 in white and yellow; the goods slots sit from (15, 190) in a 8 × 2 grid.
Image PaintPanel() {
  Image img(420, 320, kKey);
  FillDarkInterior(img, 0, 0, 420, 320);
  DrawFrame(img, 0, 0, 420, 320);
  // A faint double rule under the heading line.
  for (int x = 16; x < 404; ++x) {
    if (x % 4 == 0) continue;
    img.Set(x, 84, C(Ramp::Panel, 3));
  }
  RoundCorners(img, 0, 0, 420, 320);
  return img;
}

// 448 × 112 at (96, 304), unkeyed. The hero's portrait well on the left (32 × 48 at (10, 10)), his
// figures in black on a light board from (50, 15); the four red two-character commands in the
// middle column from (202, 10), 24 pixels apart; the enemy's portrait well (32 × 32 at (265, 26))
// and figures from (305, 15) on the right.
Image PaintFightBar() {
  Image img(448, 112, C(Ramp::Panel, 1));
  FillDarkInterior(img, 0, 0, 448, 112);
  DrawFrame(img, 0, 0, 448, 112);
  // Portrait wells.
  DrawInset(img, 6, 6, 40, 56);
  img.Fill(8, 8, 36, 52, C(Ramp::Panel, 0));
  DrawInset(img, 261, 22, 40, 40);
  img.Fill(263, 24, 36, 36, C(Ramp::Panel, 0));
  // Light boards behind the black figures (four 20-pixel lines of 12 bytes = 120 pixels).
  DrawInset(img, 46, 10, 134, 92);
  FillLightInterior(img, 48, 12, 130, 88);
  DrawInset(img, 301, 10, 138, 92);
  FillLightInterior(img, 303, 12, 134, 88);
  // The command column: a darker well under the red commands (two characters, 40 pixels wide).
  DrawInset(img, 194, 6, 60, 100);
  img.Fill(196, 8, 56, 96, C(Ramp::Ink, 1));
  // Gold rules between the command slots.
  for (int i = 1; i < 4; ++i)
    for (int x = 199; x < 250; ++x)
      if (x % 3 != 0) img.Set(x, 8 + 24 * i, C(Ramp::Frame, 2));
  return img;
}

// 150 × 200 at (0, 280), unkeyed: the menu entries are written in white from (34, 20), 24 apart.
Image PaintMainMenu() {
  Image img(150, 200, C(Ramp::Panel, 1));
  FillDarkInterior(img, 0, 0, 150, 200);
  DrawFrame(img, 0, 0, 150, 200);
  // A small gold diamond at the top and bottom of the box.
  for (const int cy : {10, 189}) {
    for (int d = 0; d < 3; ++d) {
      img.Fill(75 - d, cy - (2 - d), 2 * d + 1, 1, C(Ramp::Gold, 4));
      img.Fill(75 - d, cy + (2 - d), 2 * d + 1, 1, C(Ramp::Gold, 2));
    }
  }
  return img;
}

}  // namespace pictures
