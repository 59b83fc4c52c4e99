// The game palette: 256 colours built from material ramps, shared by every picture but the title.
#pragma once

#include <array>
#include <cstdint>

namespace pictures {

struct Rgb {
  std::uint8_t r, g, b;
};
using Palette = std::array<Rgb, 256>;

// Fixed entries the screens and fades rely on.
inline constexpr std::uint8_t kBlack = 0;
inline constexpr std::uint8_t kWhite = 1;
inline constexpr std::uint8_t kYellow = 2;
inline constexpr std::uint8_t kRed = 3;
inline constexpr std::uint8_t kDarkBlue = 4;
inline constexpr std::uint8_t kKey = 5;  // the transparent colour of keyed pictures

// Materials. Each has a ramp of shades from dark (0) to light (Shades() - 1), hue-shifted so that
// shadows lean cool and highlights warm.
enum class Ramp : int {
  Stone,
  Grass,
  Leaf,
  Pine,
  Earth,
  Sand,
  Wood,
  Bark,
  RoofTile,
  Plaster,
  Water,
  Skin,
  Hair,
  Red,
  Blue,
  Green,
  Purple,
  Pink,
  Gold,
  Steel,
  Jade,
  Frame,
  Panel,
  Fire,
  Forest,
  Marble,
  Lacquer,
  Slime,
  Fur,
  Ink,
  Count
};

// Palette index of shade `shade` of a ramp; the shade is clamped into the ramp.
std::uint8_t C(Ramp ramp, int shade);
int Shades(Ramp ramp);

// Which ramp an index belongs to (Ramp::Count for the fixed entries) and its shade.
Ramp RampOf(std::uint8_t index);
int ShadeOf(std::uint8_t index);

// The darkest shade of the index's ramp, used for outlines; black for fixed entries.
std::uint8_t OutlineFor(std::uint8_t index);

const Palette& GamePalette();

// The title picture's palette: every entry the game palette uses, so that the menu box drawn over
// the title looks as it does in the game, plus a long evening-sky gradient in the spare entries.
const Palette& TitlePalette();
inline constexpr int kTitleSkyShades = 48;
std::uint8_t TitleSky(int shade);  // 0 = deep night blue .. kTitleSkyShades-1 = glow at the horizon

}  // namespace pictures
