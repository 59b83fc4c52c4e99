#include "people.h"

#include <algorithm>

#include "brush.h"

namespace pictures {
namespace {

struct Frame {
  Image img;
  double cx;        // the figure's centre line
  int feet;         // lowest painted row
  int leg_top;
  int body_top;
  double head_cy;
  double head_r;
  double hw;        // half width of the body
  int dir;          // -1 facing left, +1 facing right, 0 facing down or up
};

void Legs(Frame& f, const Look& look, Facing facing, int step) {
  Image& img = f.img;
  const int shoe_h = 2;
  auto leg = [&](double x0, double x1, int bottom, int shade) {
    for (int y = f.leg_top; y <= bottom; ++y)
      for (int x = static_cast<int>(x0); x < static_cast<int>(x1); ++x) {
        const bool shoe = y > bottom - shoe_h;
        const Ramp r = shoe ? look.shoes : look.bottom;
        img.Set(x, y, C(r, shade + (x == static_cast<int>(x0) ? 1 : 0)));
      }
  };
  if (facing == Facing::Down || facing == Facing::Up) {
    const int lw = std::max(2, static_cast<int>(f.hw) - 2);
    // The stepping foot lifts: a pixel on the small sheets, two on the hero's.
    const int lift = f.feet - f.leg_top >= 9 ? 2 : 1;
    const int left_bottom = f.feet - (step < 0 ? lift : 0);
    const int right_bottom = f.feet - (step > 0 ? lift : 0);
    leg(f.cx - 1 - lw, f.cx - 1 + 0.01, left_bottom, 2);
    leg(f.cx + 1, f.cx + 1 + lw, right_bottom, 1);
  } else {
    const int lw = 3;
    const double spread = step == 0 ? 0.5 : 2.5;
    const double front = f.cx - 1 + f.dir * spread, back = f.cx - 1 - f.dir * spread;
    leg(back, back + lw, f.feet, 1);
    leg(front, front + lw, f.feet, 2);
  }
}

// A skirt or robe from the waist down, flaring toward the hem.
void Skirt(Frame& f, const Look& look, Facing facing, int hem) {
  const double top_w = f.hw, bottom_w = f.hw + (look.robe ? 2.5 : 2.0);
  const Shape s = Polygon({{f.cx - top_w, f.leg_top - 2.0}, {f.cx + top_w, f.leg_top - 2.0},
                           {f.cx + bottom_w, hem + 1.0}, {f.cx - bottom_w, hem + 1.0}});
  ShadeBall(f.img, s, f.cx - 2, f.leg_top, bottom_w + 2, 40, look.top, look.top_lo, look.top_hi);
  for (int x = static_cast<int>(f.cx - bottom_w); x <= static_cast<int>(f.cx + bottom_w); ++x)
    if (f.img.Get(x, hem) != kKey) f.img.Set(x, hem, C(look.trim, 2));
  // A robe opens down the front, edged in its trim.
  if (look.robe && facing == Facing::Down)
    for (int y = f.leg_top - 1; y < hem; ++y) f.img.Set(static_cast<int>(f.cx), y, C(look.trim, 3));
}

void Torso(Frame& f, const Look& look, Facing facing) {
  const double hw = facing == Facing::Left || facing == Facing::Right ? f.hw - 1 : f.hw;
  const Shape body = Union(Box(f.cx - hw, f.body_top + 2, f.cx + hw, f.leg_top + 1),
                           Ellipse(f.cx, f.body_top + 2.5, hw, 2.5));
  const Ramp r = look.armour ? Ramp::Steel : look.top;
  const int lo = look.armour ? 1 : look.top_lo, hi = look.armour ? look.armour_hi : look.top_hi;
  ShadeBall(f.img, body, f.cx - 1.5, f.body_top + 3, hw + 2.5, f.leg_top - f.body_top + 4, r, lo, hi);
  // Belt.
  for (int x = static_cast<int>(f.cx - hw); x < static_cast<int>(f.cx + hw); ++x)
    f.img.Set(x, f.leg_top - 1, C(look.trim, x < f.cx ? 3 : 2));
  if (look.armour && facing != Facing::Up) {
    // Chest plate seam and shoulder guards.
    for (int y = f.body_top + 3; y < f.leg_top - 1; ++y) f.img.Set(static_cast<int>(f.cx) - (facing == Facing::Down ? 1 : 0), y, C(Ramp::Steel, 1));
  }
  if (look.apron && facing != Facing::Up) {
    const double ax0 = facing == Facing::Down ? f.cx - hw + 1.5 : facing == Facing::Left ? f.cx - hw : f.cx + 1;
    const double ax1 = facing == Facing::Down ? f.cx + hw - 1.5 : facing == Facing::Left ? f.cx - 1 : f.cx + hw;
    ShadeFlat(f.img, Box(ax0, f.body_top + 4, ax1, f.leg_top + 3), look.apron_ramp, look.apron_shade);
  }
}

void Arms(Frame& f, const Look& look, Facing facing, int step) {
  Image& img = f.img;
  const Ramp sleeve = look.bare_arms ? Ramp::Skin : look.armour ? Ramp::Steel : look.top;
  const int arm_len = f.leg_top - f.body_top;
  if (facing == Facing::Down || facing == Facing::Up) {
    for (int side = -1; side <= 1; side += 2) {
      const int x0 = side < 0 ? static_cast<int>(f.cx - f.hw - 2) : static_cast<int>(f.cx + f.hw);
      const int lift = (step == side) ? 1 : 0;
      const int y0 = f.body_top + 2, y1 = f.body_top + 2 + arm_len - lift;
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x < x0 + 2; ++x) {
          const bool hand = y >= y1 - 1;
          const int shade = (side < 0 ? 3 : 2) + (x == x0 ? 0 : -1);
          img.Set(x, y, hand ? C(Ramp::Skin, side < 0 ? 3 : 2) : C(sleeve, shade + (look.bare_arms ? 0 : 0)));
        }
      if (look.armour) {
        ShadeBall(img, Ellipse(x0 + 1, f.body_top + 3, 2.2, 1.8), x0, f.body_top + 2, 3, 3, Ramp::Steel, 2, look.armour_hi);
      }
    }
  } else {
    // The near arm swings forward and back with the stride.
    const int sx = static_cast<int>(f.cx) - (f.dir < 0 ? 1 : 0);
    const int swing = step == 0 ? 0 : (step > 0 ? 2 : -2) * f.dir;
    const int hx = sx + swing, hy = f.body_top + 2 + arm_len - 1;
    for (int k = 0; k < 2; ++k) {
      Line(img, sx + k, f.body_top + 3, hx + k, hy - 1, C(sleeve, k == 0 ? 3 : 2));
    }
    img.Set(hx, hy, C(Ramp::Skin, 3));
    img.Set(hx + 1, hy, C(Ramp::Skin, 2));
    img.Set(hx, hy + 1, C(Ramp::Skin, 2));
    if (look.armour) ShadeBall(img, Ellipse(sx + 1, f.body_top + 3, 2.5, 2), sx, f.body_top + 2, 3, 3, Ramp::Steel, 2, look.armour_hi);
  }
}

void Head(Frame& f, const Look& look, Facing facing) {
  Image& img = f.img;
  const double cx = f.cx, cy = f.head_cy, r = f.head_r;
  const Shape head = Ellipse(cx, cy, r, r * 0.95);
  ShadeBall(img, head, cx - 1.5, cy - 1.5, r + 2, r + 2, Ramp::Skin, 1, 4);
  // Hair.
  Shape hair;
  switch (facing) {
    case Facing::Down:
      hair = Intersect(head, [=](double x, double y) {
        const double fringe = cy - 2.2 + ((static_cast<int>(x) % 3 == 0) ? 1.0 : 0.0);
        return y < fringe || x < cx - r + 1.4 || (x > cx + r - 1.4 && y < cy + 2);
      });
      break;
    case Facing::Up:
      hair = Intersect(head, [=](double, double y) { return y < cy + r * 0.75; });
      break;
    case Facing::Left:
    case Facing::Right: {
      const int d = facing == Facing::Left ? -1 : 1;
      hair = Intersect(head, [=](double x, double y) { return y < cy - 2.2 || (x - cx) * d < -0.5; });
      break;
    }
  }
  if (look.head != Headwear::Hood) ShadeBall(img, hair, cx - 1.5, cy - 2, r + 2, r + 2, look.hair, look.hair_lo, look.hair_hi);
  // Face.
  const std::uint8_t eye = C(Ramp::Ink, 0);
  const int ey = static_cast<int>(cy + 1);
  // A grown-up's face (the talk box shows the first frame as the portrait) gets tall eyes under
  // brows and a mouth; a small face keeps to dots.
  const bool full_face = r >= 6;
  if (facing == Facing::Down) {
    const int gap = 2, lx = static_cast<int>(cx) - gap - 1, rx = static_cast<int>(cx) + gap;
    img.Set(lx, ey, eye);
    img.Set(rx, ey, eye);
    if (full_face) {
      img.Set(lx, ey - 1, eye);
      img.Set(rx, ey - 1, eye);
      if (!look.mask) {
        const std::uint8_t brow = C(look.hair, look.hair_lo + 1);
        img.Set(lx - 1, ey - 3, brow);
        img.Set(lx, ey - 3, brow);
        img.Set(rx, ey - 3, brow);
        img.Set(rx + 1, ey - 3, brow);
        img.Set(static_cast<int>(cx) - 1, ey + 3, C(Ramp::Red, 2));
        img.Set(static_cast<int>(cx), ey + 3, C(Ramp::Red, 2));
      }
    }
    img.Set(lx - 1, ey + 1, C(Ramp::Pink, 1));
    img.Set(rx + 1, ey + 1, C(Ramp::Pink, 1));
  } else if (facing != Facing::Up) {
    const int d = facing == Facing::Left ? -1 : 1;
    const int ex = static_cast<int>(cx) + d * static_cast<int>(r - 2.5) - (d < 0 ? 1 : 0);
    img.Set(ex, ey, eye);
    if (full_face) {
      img.Set(ex, ey - 1, eye);
      img.Set(ex - d, ey - 3, C(look.hair, look.hair_lo + 1));
      img.Set(ex, ey - 3, C(look.hair, look.hair_lo + 1));
      img.Set(ex + d, ey + 3, C(Ramp::Red, 2));
    }
    // Nose just past the cheek.
    const int nx = static_cast<int>(cx + d * (r + 0.2)) - (d < 0 ? 1 : 0);
    img.Set(nx, ey + 1, C(Ramp::Skin, 2));
  }
  if (look.mask && facing != Facing::Up) {
    const Shape mask = Intersect(head, Box(0, cy - 2.5, 64, cy + r));
    const Shape side = facing == Facing::Down ? mask
                       : facing == Facing::Left ? Intersect(mask, Box(0, 0, cx + 1, 64))
                                                : Intersect(mask, Box(cx - 1, 0, 64, 64));
    ShadeBall(img, side, cx - 1, cy, r + 1, r + 1, Ramp::Red, 1, 5);
    if (facing == Facing::Down) {
      img.Fill(static_cast<int>(cx) - 3, ey - 1, 2, 1, C(Ramp::Gold, 5));
      img.Fill(static_cast<int>(cx) + 1, ey - 1, 2, 1, C(Ramp::Gold, 5));
    } else {
      const int d = facing == Facing::Left ? -1 : 1;
      img.Fill(static_cast<int>(cx) + d * 3 - (d < 0 ? 1 : 0), ey - 1, 2, 1, C(Ramp::Gold, 5));
    }
  }
  if (look.beard && facing != Facing::Up) {
    // A long white beard from below the mouth down onto the chest, leaving the eyes clear.
    const double bx = facing == Facing::Down ? cx : cx + (facing == Facing::Left ? -2.5 : 2.5);
    const double half = facing == Facing::Down ? r * 0.55 : r * 0.4;
    const Shape beard = Polygon({{bx - half, cy + 2.5}, {bx + half, cy + 2.5}, {bx + half * 0.7, cy + r + 2},
                                 {bx, cy + r + 5}, {bx - half * 0.7, cy + r + 2}});
    ShadeBall(img, beard, bx - 1, cy + 3, half + 2, r + 2, Ramp::Stone, 4, 7);
    // Moustache.
    img.Set(static_cast<int>(bx) - 2, static_cast<int>(cy + 2), C(Ramp::Stone, 6));
    img.Set(static_cast<int>(bx) + 1, static_cast<int>(cy + 2), C(Ramp::Stone, 5));
  }
}

void Headgear(Frame& f, const Look& look, Facing facing) {
  Image& img = f.img;
  const double cx = f.cx, cy = f.head_cy, r = f.head_r;
  const int d = facing == Facing::Left ? -1 : facing == Facing::Right ? 1 : 0;
  switch (look.head) {
    case Headwear::None:
      break;
    case Headwear::Headband: {
      const int y = static_cast<int>(cy - 2);
      for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r); ++x)
        if (img.Get(x, y) != kKey) img.Set(x, y, C(look.head_ramp, x < cx ? 4 : 3));
      if (facing != Facing::Down) {
        // Tails of the band flying behind.
        const int bx = facing == Facing::Up ? static_cast<int>(cx) : static_cast<int>(cx - d * (r + 1));
        img.Set(bx, y + 1, C(look.head_ramp, 3));
        img.Set(bx - d, y + 2, C(look.head_ramp, 2));
        img.Set(bx, y + 3, C(look.head_ramp, 2));
      }
      break;
    }
    case Headwear::Cap: {
      const Shape cap = Union(Intersect(Ellipse(cx, cy - 1, r + 0.6, r), Box(0, 0, 64, cy - 1.5)),
                              Box(cx - r - 0.5, cy - 2.5, cx + r + 0.5, cy - 1));
      ShadeBall(img, cap, cx - 2, cy - 4, r + 2, r + 1, look.head_ramp, 1, 5);
      img.Set(static_cast<int>(cx), static_cast<int>(cy - r - 1), C(Ramp::Gold, 4));
      break;
    }
    case Headwear::Helmet: {
      const Shape helm = Union(Intersect(Ellipse(cx, cy - 0.5, r + 0.8, r + 0.5), Box(0, 0, 64, cy - 1)),
                               Box(cx - r - 0.8, cy - 1.5, cx + r + 0.8, cy));
      ShadeBall(img, helm, cx - 2, cy - 4, r + 2, r + 2, Ramp::Steel, 1, look.armour_hi);
      // Plume on top.
      for (int k = 0; k < 4; ++k) {
        const int px = static_cast<int>(cx) - (d == 0 ? 0 : d * k / 2) - (facing == Facing::Up ? 0 : 0);
        img.Set(px, static_cast<int>(cy - r - 1 - (k < 2 ? 0 : 1)) + (k % 2), C(look.head_ramp, 4 - k / 2));
      }
      img.Set(static_cast<int>(cx), static_cast<int>(cy - r - 2), C(look.head_ramp, 4));
      break;
    }
    case Headwear::Bun:
    case Headwear::Topknot: {
      const bool knot = look.head == Headwear::Topknot;
      double bx = cx, by = cy - r - (knot ? 0.5 : 0.0);
      if (d != 0) bx = cx - d * (r * 0.55);
      if (facing == Facing::Up) by = cy - r * 0.45;
      const double br = knot ? r * 0.42 : r * 0.55;
      ShadeBall(img, Ellipse(bx, by, br, br * 0.9), bx - 1, by - 1, br + 1.5, br + 1.5, look.hair, look.hair_lo, look.hair_hi);
      // Ribbon or pin.
      img.Set(static_cast<int>(bx) - 1, static_cast<int>(by + br * 0.7), C(look.head_ramp, 4));
      img.Set(static_cast<int>(bx), static_cast<int>(by + br * 0.7), C(look.head_ramp, 3));
      if (knot && facing != Facing::Down) {
        img.Set(static_cast<int>(bx) - d, static_cast<int>(by + br) + 1, C(look.head_ramp, 3));
        img.Set(static_cast<int>(bx) - 2 * d, static_cast<int>(by + br) + 2, C(look.head_ramp, 2));
      }
      break;
    }
    case Headwear::Hood: {
      // A hood framing the face (or covering the head from behind), dark like the robe.
      const Shape hood = Union(Ellipse(cx, cy - 0.5, r + 1, r + 0.8), Box(cx - r - 1, cy, cx + r + 1, cy + r));
      Shape cloth = hood;
      if (facing == Facing::Down) cloth = Minus(hood, Ellipse(cx, cy + 1.2, r - 1.2, r - 1.3));
      if (d != 0) cloth = Minus(hood, Ellipse(cx + d * 1.8, cy + 1.2, r - 1.8, r - 1.5));
      ShadeBall(img, cloth, cx - 2, cy - 3, r + 3, r + 3, look.top, look.top_lo, look.top_hi);
      // The lining shows as a coloured rim around the face.
      if (facing != Facing::Up) {
        const double ox = facing == Facing::Down ? cx : cx + d * 1.8;
        const double ix = facing == Facing::Down ? r - 1.2 : r - 1.8, iy = facing == Facing::Down ? r - 1.3 : r - 1.5;
        FillShape(img, Intersect(hood, Minus(Ellipse(ox, cy + 1.2, ix + 1, iy + 1), Ellipse(ox, cy + 1.2, ix, iy))),
                  C(Ramp::Gold, 2));
      }
      img.Set(static_cast<int>(cx), static_cast<int>(cy - r - 1), C(look.top, 1));
      break;
    }
  }
}

void HeldItem(Frame& f, const Look& look, Facing facing, bool behind) {
  Image& img = f.img;
  if (look.held == Held::None) return;
  if (look.held == Held::SwordOnBack) {
    // The hilt over the right shoulder from the front; the whole scabbard from behind.
    if (facing == Facing::Up && !behind) {
      Line(img, static_cast<int>(f.cx - f.hw), f.leg_top - 1, static_cast<int>(f.cx + f.hw + 1), f.body_top - 2, C(Ramp::Wood, 1));
      Line(img, static_cast<int>(f.cx - f.hw) + 1, f.leg_top - 1, static_cast<int>(f.cx + f.hw + 2), f.body_top - 2, C(Ramp::Wood, 2));
      img.Set(static_cast<int>(f.cx + f.hw + 2), f.body_top - 3, C(Ramp::Gold, 4));
    } else if (facing != Facing::Up && behind) {
      const int hx = facing == Facing::Down ? static_cast<int>(f.cx - f.hw - 1)
                                            : static_cast<int>(f.cx - (facing == Facing::Left ? -1 : 1) * (f.hw - 1));
      const int top = f.body_top - 6;
      Line(img, hx, top, hx + 2, f.body_top + 1, C(Ramp::Wood, 1));
      img.Fill(hx - 1, top - 1, 2, 2, C(Ramp::Gold, 4));
      img.Fill(hx, top + 3, 3, 1, C(Ramp::Gold, 3));
    }
    return;
  }
  // Staff or spear, held upright in the hand at the figure's side.
  const bool upright_behind = facing == Facing::Up;
  if (behind != upright_behind) return;
  int x;
  if (facing == Facing::Down) x = static_cast<int>(f.cx - f.hw - 2);
  else if (facing == Facing::Up) x = static_cast<int>(f.cx + f.hw + 1);
  else x = static_cast<int>(f.cx) + (facing == Facing::Left ? -8 : 6);
  const int top = look.held == Held::Spear ? 1 : static_cast<int>(f.head_cy - f.head_r) + 1;
  for (int y = top; y <= f.feet; ++y) {
    img.Set(x, y, C(Ramp::Wood, 3));
    img.Set(x + 1, y, C(Ramp::Wood, 1));
  }
  if (look.held == Held::Spear) {
    img.Fill(x, 0, 2, 4, C(Ramp::Steel, 5));
    img.Set(x + 1, 0, C(Ramp::Steel, 3));
    img.Set(x + 1, 3, C(Ramp::Steel, 3));
    img.Set(x - 1, 4, C(Ramp::Red, 4));
    img.Set(x + 2, 4, C(Ramp::Red, 3));
    img.Set(x, 5, C(Ramp::Red, 3));
  } else {
    // A knot of the staff's head.
    img.Set(x - 1, top, C(Ramp::Wood, 3));
    img.Set(x + 2, top + 1, C(Ramp::Wood, 2));
    img.Set(x, top - 1, C(Ramp::Wood, 4));
  }
}

}  // namespace

Image PaintPerson(const Look& look, const Build& build, Facing facing, int step) {
  Frame f{Image(32, build.frame_h, kKey), 16.0, build.frame_h - 2, 0, 0, 0, build.head_r, build.half_w + look.girth, 0};
  f.dir = facing == Facing::Left ? -1 : facing == Facing::Right ? 1 : 0;
  const int bob = step != 0 ? 1 : 0;
  f.leg_top = f.feet - build.leg_h + 1;
  f.body_top = f.leg_top - build.body_h - look.height + bob;
  f.head_cy = f.body_top - build.head_r + 2.5;
  if (look.head == Headwear::Helmet || look.head == Headwear::Hood) f.head_cy += 0.5;

  HeldItem(f, look, facing, true);
  if (look.robe || look.dress) {
    // Feet peep out under the hem and show the stride.
    Legs(f, look, facing, step);
    Skirt(f, look, facing, look.robe ? f.feet - 1 : f.feet - 2);
  } else {
    Legs(f, look, facing, step);
  }
  if (facing == Facing::Up) Arms(f, look, facing, step);
  Torso(f, look, facing);
  if (facing != Facing::Up) Arms(f, look, facing, step);
  Head(f, look, facing);
  Headgear(f, look, facing);
  HeldItem(f, look, facing, false);
  OutlineSprite(f.img);
  return f.img;
}

}  // namespace pictures
