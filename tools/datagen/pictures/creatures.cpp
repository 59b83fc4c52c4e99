#include "creatures.h"

#include <utility>

#include "brush.h"

namespace pictures {
namespace {

int Dir(Facing f) { return f == Facing::Left ? -1 : f == Facing::Right ? 1 : 0; }

void Eyes(Image& img, int x0, int x1, int y, std::uint8_t c) {
  img.Set(x0, y, c);
  img.Set(x1, y, c);
}

}  // namespace

Image PaintWolf(Facing facing, int frame) {
  Image img(32, 32, kKey);
  const int d = Dir(facing);
  const int bob = frame;
  if (d != 0) {
    // Side view: tail, far legs, body, near legs, head with snout and ears toward d.
    const double cx = 16;
    const Shape tail = Polygon({{cx - d * 9.0, 16.0 + bob}, {cx - d * 15.0, 12.0 + bob * 2}, {cx - d * 14.0, 15.0 + bob * 2}, {cx - d * 9.0, 19.0 + bob}});
    ShadeBall(img, tail, cx - d * 12, 13, 5, 5, Ramp::Fur, 1, 3);
    const int swing = frame == 0 ? 1 : -2;
    for (int leg = 0; leg < 4; ++leg) {
      const bool front = leg < 2;
      const bool near = leg % 2 == 0;
      const double lx = cx + d * (front ? 6 : -6) + (near ? swing : -swing) * (front ? 1 : -1);
      const int shade = near ? 3 : 1;
      img.Fill(static_cast<int>(lx) - 1, 21 + bob, 2, 9 - bob, C(Ramp::Fur, shade));
      img.Set(static_cast<int>(lx) - 1 + (d > 0 ? 1 : 0) + d, 29, C(Ramp::Fur, shade));
    }
    ShadeBall(img, Ellipse(cx, 18 + bob, 10, 5), cx - 2, 15 + bob, 11, 6, Ramp::Fur, 1, 4);
    // Pale belly.
    for (int x = static_cast<int>(cx - 6); x < static_cast<int>(cx + 6); ++x) img.Set(x, 22 + bob, C(Ramp::Fur, 3));
    // Head: skull, snout, ears.
    const double hx = cx + d * 10, hy = 13 + bob;
    ShadeBall(img, Ellipse(hx, hy, 4.5, 4), hx - 1, hy - 1, 5.5, 5, Ramp::Fur, 1, 4);
    ShadeBall(img, Ellipse(hx + d * 4, hy + 1.5, 3.5, 2), hx + d * 3 - 1, hy, 4, 3, Ramp::Fur, 2, 4);
    img.Set(static_cast<int>(hx + d * 7) - (d < 0 ? 1 : 0), static_cast<int>(hy + 1), C(Ramp::Ink, 0));
    const Shape ear = Polygon({{hx - d * 2.5, hy - 2}, {hx - d * 0.5, hy - 8}, {hx + d * 1.0, hy - 2}});
    ShadeFlat(img, ear, Ramp::Fur, 2);
    img.Set(static_cast<int>(hx + d * 1.5) - (d < 0 ? 1 : 0), static_cast<int>(hy - 1), C(Ramp::Gold, 5));
  } else if (facing == Facing::Down) {
    // Facing us: haunches behind, chest, forelegs, big head with pointed ears and yellow eyes.
    ShadeBall(img, Ellipse(16, 19 + bob, 9, 6), 14, 17, 10, 7, Ramp::Fur, 1, 3);
    const int lift = frame == 0 ? 0 : 1;
    img.Fill(11, 22, 3, 8 - lift, C(Ramp::Fur, 3));
    img.Fill(18, 22 + lift, 3, 8 - lift, C(Ramp::Fur, 2));
    ShadeBall(img, Ellipse(16, 20 + bob, 5, 5), 15, 18, 6, 6, Ramp::Fur, 2, 4);
    const double hy = 12 + bob;
    for (int s = -1; s <= 1; s += 2) {
      const Shape ear = Polygon({{16 + s * 2.0, hy - 3}, {16 + s * 6.0, hy - 9}, {16 + s * 6.5, hy - 1}});
      ShadeFlat(img, ear, Ramp::Fur, s < 0 ? 3 : 2);
    }
    ShadeBall(img, Ellipse(16, hy, 6, 5), 14, hy - 2, 7, 6, Ramp::Fur, 1, 4);
    ShadeBall(img, Ellipse(16, hy + 3, 3, 2.5), 15, hy + 2, 4, 3, Ramp::Fur, 3, 4);
    img.Set(15, static_cast<int>(hy + 2), C(Ramp::Ink, 0));
    img.Set(16, static_cast<int>(hy + 2), C(Ramp::Ink, 0));
    Eyes(img, 13, 18, static_cast<int>(hy - 1), C(Ramp::Gold, 5));
    Eyes(img, 13, 18, static_cast<int>(hy), C(Ramp::Ink, 0));
  } else {
    // From behind: back, hind legs, tail raised, ears over the head.
    const int lift = frame == 0 ? 0 : 1;
    img.Fill(11, 22 + lift, 3, 8 - lift, C(Ramp::Fur, 3));
    img.Fill(18, 22, 3, 8 - lift, C(Ramp::Fur, 2));
    ShadeBall(img, Ellipse(16, 17 + bob, 8, 7), 14, 15, 9, 8, Ramp::Fur, 1, 4);
    const double hy = 9 + bob;
    for (int s = -1; s <= 1; s += 2) {
      const Shape ear = Polygon({{16 + s * 2.0, hy}, {16 + s * 5.0, hy - 7}, {16 + s * 6.0, hy + 1}});
      ShadeFlat(img, ear, Ramp::Fur, 2);
    }
    ShadeBall(img, Ellipse(16, hy + 1, 5, 4), 15, hy - 1, 6, 5, Ramp::Fur, 1, 3);
    const Shape tail = Polygon({{15, 20.0 + bob}, {17, 20.0 + bob}, {19.0 + frame, 29}, {16.0 + frame, 30}});
    ShadeBall(img, tail, 16, 22, 4, 6, Ramp::Fur, 2, 4);
  }
  OutlineSprite(img);
  return img;
}

Image PaintSlime(Facing facing, int frame) {
  Image img(32, 32, kKey);
  const int d = Dir(facing);
  // Squashed wide on frame 1, tall on frame 0.
  const double rx = frame == 0 ? 10 : 12, ry = frame == 0 ? 10 : 8;
  const double cy = 30 - ry;
  const Shape body = Intersect(Union(Ellipse(16, cy, rx, ry), Ellipse(16 + d * 1.5, cy - ry * 0.6, rx * 0.45, ry * 0.6)),
                               Box(0, 0, 32, 30.5));
  ShadeBall(img, body, 12, cy - 3, rx + 3, ry + 3, Ramp::Slime, 1, 4);
  if (facing == Facing::Up) {
    // From behind: the curl of its crest and a darker back.
    for (int y = static_cast<int>(cy - 2); y < 30; ++y)
      for (int x = 8; x < 25; ++x)
        if (img.Get(x, y) != kKey && (x - 16) * (x - 16) + (y - cy - 2) * (y - cy - 2) < 40) Nudge(img, x, y, -1);
    Line(img, 13, static_cast<int>(cy - ry + 3), 19, static_cast<int>(cy - ry + 6), C(Ramp::Slime, 1));
    Line(img, 19, static_cast<int>(cy - ry + 6), 15, static_cast<int>(cy), C(Ramp::Slime, 1));
  }
  // Wet highlight and a few bubbles inside.
  img.Fill(10, static_cast<int>(cy - ry * 0.5), 2, 2, kWhite);
  img.Set(9, static_cast<int>(cy - ry * 0.5) + 2, C(Ramp::Slime, 4));
  img.Set(20, static_cast<int>(cy + 3), C(Ramp::Slime, 4));
  img.Set(14, static_cast<int>(cy + 5), C(Ramp::Slime, 3));
  if (facing != Facing::Up) {
    const int ex = 16 + d * 4;
    const int ey = static_cast<int>(cy);
    const int gap = d == 0 ? 3 : 2;
    for (const int x : {ex - gap - 1, ex + gap}) {
      img.Fill(x, ey - 1, 2, 3, C(Ramp::Ink, 0));
      img.Set(x, ey - 1, kWhite);
    }
    // Mouth.
    img.Fill(ex - 1, ey + 4, 3, 1, C(Ramp::Slime, 0));
  }
  OutlineSprite(img);
  return img;
}

Image PaintTreeDemon(Facing facing, int frame) {
  Image img(32, 32, kKey);
  const int d = Dir(facing);
  const int sway = frame == 0 ? 0 : 1;
  // Root legs.
  for (const int rx : {8, 13, 19, 24}) {
    Line(img, 16 + (rx - 16) / 2, 24, rx + (rx < 16 ? -sway : sway), 30, C(Ramp::Bark, 1));
    Line(img, 16 + (rx - 16) / 2 + 1, 24, rx + 1 + (rx < 16 ? -sway : sway), 30, C(Ramp::Bark, 2));
  }
  // Twisted trunk body.
  const Shape trunk = Polygon({{9, 27}, {10, 12}, {8, 4}, {13, 7}, {16, 2}, {19, 7}, {24, 4}, {22, 12}, {23, 27}});
  ShadeBall(img, trunk, 13, 12, 11, 18, Ramp::Bark, 1, 4);
  // Bark grooves.
  for (int y = 10; y < 26; y += 3) {
    img.Set(12 + (y % 2), y, C(Ramp::Bark, 0));
    img.Set(19 - (y % 2), y + 1, C(Ramp::Bark, 0));
  }
  // Branch arms reaching out, up or down with the frame.
  const int ay = frame == 0 ? 10 : 14;
  Line(img, 10, 15, 3, ay, C(Ramp::Bark, 2));
  Line(img, 10, 16, 3, ay + 1, C(Ramp::Bark, 1));
  Line(img, 3, ay, 1, ay - 3, C(Ramp::Bark, 2));
  Line(img, 3, ay, 2, ay + 3, C(Ramp::Bark, 2));
  Line(img, 22, 15, 29, 24 - ay, C(Ramp::Bark, 2));
  Line(img, 22, 16, 29, 25 - ay, C(Ramp::Bark, 1));
  Line(img, 29, 24 - ay, 30, 21 - ay, C(Ramp::Bark, 2));
  // Leaf tufts on its crown.
  for (const auto& [x, y] : {std::pair{8.0, 4.0}, {16.0, 2.5}, {24.0, 4.0}}) ShadeBall(img, Ellipse(x, y, 3, 2.5), x - 1, y - 1, 3.5, 3, Ramp::Pine, 1, 4);
  if (facing != Facing::Up) {
    // Glowing eyes and a jagged mouth hollow.
    const int ex = 16 + d * 3;
    for (const int x : {ex - 4, ex + 2}) {
      img.Fill(x, 12, 3, 2, C(Ramp::Ink, 0));
      img.Set(x + 1, 12, C(Ramp::Gold, 5));
      img.Set(x + 1, 13, C(Ramp::Fire, 4));
    }
    img.Fill(ex - 3, 18, 7, 3, C(Ramp::Ink, 0));
    img.Set(ex - 2, 18, C(Ramp::Bark, 3));
    img.Set(ex + 1, 18, C(Ramp::Bark, 3));
    img.Set(ex, 20, C(Ramp::Bark, 2));
  }
  OutlineSprite(img);
  return img;
}

Image PaintBat(Facing facing, int frame) {
  Image img(32, 32, kKey);
  const int d = Dir(facing);
  const double cy = 15 + frame;
  // Wings up on frame 0, down on frame 1; in profile the far wing is smaller.
  for (int s = -1; s <= 1; s += 2) {
    const double span = d == 0 ? 14.5 : (s == d ? 9 : 14);
    const double tip_y = frame == 0 ? cy - 10 : cy + 6;
    const Shape wing = Polygon({{16.0, cy - 2}, {16 + s * span * 0.55, tip_y}, {16 + s * span, cy - 1 + (frame == 0 ? -4 : 3)},
                                {16 + s * span * 0.8, cy + 3}, {16 + s * span * 0.55, cy + 1}, {16 + s * span * 0.3, cy + 4},
                                {16.0, cy + 2}});
    // The backs of the wings are darker than their undersides.
    const int wing_shade = (s < 0 ? 3 : 2) - (facing == Facing::Up ? 1 : 0);
    ShadeFlat(img, wing, Ramp::Purple, wing_shade);
    // Wing bones.
    Line(img, 16, static_cast<int>(cy - 1), static_cast<int>(16 + s * span * 0.55), static_cast<int>(tip_y),
         C(Ramp::Purple, facing == Facing::Up ? 3 : 1));
  }
  ShadeBall(img, Ellipse(16 + d, cy + 1, 4, 5), 15, cy - 1, 5, 6, Ramp::Purple, facing == Facing::Up ? 0 : 1,
            facing == Facing::Up ? 2 : 4);
  // Ears.
  for (int s = -1; s <= 1; s += 2) {
    img.Set(16 + d + s * 2 - (s > 0 ? 1 : 0), static_cast<int>(cy - 4), C(Ramp::Purple, 3));
    img.Set(16 + d + s * 2 - (s > 0 ? 1 : 0), static_cast<int>(cy - 5), C(Ramp::Purple, 2));
  }
  if (facing != Facing::Up) {
    const int ex = 16 + d * 2;
    if (d == 0) Eyes(img, ex - 2, ex + 1, static_cast<int>(cy - 1), C(Ramp::Red, 5));
    else img.Set(ex + d, static_cast<int>(cy - 1), C(Ramp::Red, 5));
    img.Set(ex - 1, static_cast<int>(cy + 2), kWhite);
    img.Set(ex + (d == 0 ? 0 : d), static_cast<int>(cy + 2), kWhite);
  }
  OutlineSprite(img);
  return img;
}

}  // namespace pictures
