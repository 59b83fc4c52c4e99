#include "mock_screens.h"

#include <cstdio>
#include <vector>

namespace contactsheet {
namespace {

constexpr std::uint8_t kKeyR = 255, kKeyG = 238, kKeyB = 187;

struct Sprite {
  int sheet;  // character sheet 0..14, or -1 for the hero
  int col, row;
  int direction_row;
  int frame;
};

struct Scene {
  const char* name;
  int ground;
  std::vector<std::string> grid;  // 15 rows of 20 cells
  std::vector<Sprite> sprites;
};

int TileFor(char c) {
  static const std::map<char, int> kLegend = {
      {',', 1},  {'"', 2},  {':', 3},  {'=', 4},  {'o', 5},  {'r', 6},  {'m', 7},  {'b', 8},  {'R', 9},  {'u', 10},
      {'l', 11}, {'T', 20}, {'P', 21}, {'B', 22}, {'K', 23}, {'~', 24}, {'f', 25}, {'s', 26}, {'W', 27}, {'D', 28},
      {'F', 29}, {'S', 30}, {'H', 31}, {'<', 40}, {'^', 41}, {'>', 42}, {'#', 43}, {'w', 44}, {'d', 45}, {'h', 46},
      {'C', 47}, {'G', 48}, {'L', 49}, {'1', 50}, {'2', 51}, {'3', 52}, {'Q', 53}, {'I', 60}, {'J', 61}, {'t', 62},
      {'x', 63}, {'e', 64}, {'c', 65}, {'k', 66}, {'a', 67}, {'X', 68}, {'v', 69}, {'O', 70}, {'y', 71}, {'A', 72},
      {'p', 73}, {'M', 80}, {'|', 81}, {'Y', 82}, {'*', 83}, {'Z', 84}, {'N', 85}, {'_', 86}, {'$', 301}, {'&', 302}};
  const auto it = kLegend.find(c);
  return it == kLegend.end() ? -1 : it->second;
}

// An 8-bit screen in the game palette, like the game's back buffer.
struct Screen {
  std::vector<std::uint8_t> px = std::vector<std::uint8_t>(640 * 480, 0);
  std::uint8_t key = 0;

  void Blit(const IndexedBitmap& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int tx = dx + x, ty = dy + y, fx = sx + x, fy = sy + y;
        if (tx < 0 || ty < 0 || tx >= 640 || ty >= 480 || fx < 0 || fy < 0 || fx >= src.w || fy >= src.h) continue;
        const std::uint8_t c = src.At(fx, fy);
        if (keyed && c == key) continue;
        px[static_cast<std::size_t>(ty) * 640 + tx] = c;
      }
  }
};

RgbPicture ToRgb(const Screen& s, const IndexedBitmap& palette_source) {
  RgbPicture out(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const auto& c = palette_source.colours[s.px[static_cast<std::size_t>(y) * 640 + x]];
      out.Set(x, y, c[0], c[1], c[2]);
    }
  return out;
}

std::vector<Scene> Scenes() {
  return {
      {"village", 0,
       {"TTPT..B....,...TTPTT", "T.....,..<^^^>....PT", "B.F......#wdw#...f.T", ",......,...:......f.",
        "..<^^>.....:..,...f.", "..#dw#..W..:.....Hf.", "....:.....::::::::..", "....::::::::.,...:..",
        ".S......,.:...B..:..", "...\"..o...:.$.....\".", "..~~~~b~~~~~~~...T..", "..~~~~b~~~~~~~..TPT.",
        "T.,...:...u.,....B..", "TT...\"::...F..,..TTP", "PTT..B..:....B.PTTTT"},
       {{0, 13, 6, 0, 0}, {1, 5, 8, 3, 1}, {4, 15, 7, 1, 0}, {-1, 10, 8, 0, 0}}},
      {"city", 2,
       {"CCCCCCCCCGCCCCCCCCCC", "CCCCCCCCCGCCCCCCCCCC", "L.......:::.......L.", "<^^^^>....:..<^^^^>.",
        "#1h2w#...:...#3hw3#.", "....:....:....:.....", "====================", "..L..........L......",
        "<^^^>...W...<^^^^^>.", "#w1h#........#whw#..", "..:...F...F....:....", "..:..............:..",
        "====================", "B..T....L.....T...B.", "...................."},
       {{3, 8, 2, 0, 0}, {3, 10, 2, 0, 1}, {5, 4, 7, 3, 0}, {7, 15, 5, 0, 0}, {-1, 9, 6, 2, 1}}},
      {"house", 3,
       {"IIIIJIIIIIIJIIIIIIII", "yykIIIAIIIIIIIIIOIII", "......v.........kIII", "..rrrr...t....x.aXII",
        "..rrrr..xtx.....aXII", "..rrrr...........III", "................cccI", ".e..............cccI",
        "....p.......$.&....I", "................p..I", "IIIIIIIIIIIIIII..III", "III..t.x...e....vIII",
        "III....ccc.....aaIII", "III...........p..III", "IIIIIIIIm.IIIIIIIIII"},
       {{6, 17, 8, 0, 0}, {2, 10, 5, 1, 0}, {-1, 8, 9, 3, 0}}},
      {"wood", 4,
       {"PPTPPDPPPPPPTPPPPDPP", "PP..l....u....l..PPP", "P..K...\"....s.....PP", "T....u......l...\"..P",
        "P.l....D.....K.....P", "P...\"......u.......T", "PP....l...\"....D...P", "D..s.......l......PP",
        "P....K...u.....\"...P", "PP..l....$..l......P", "P....\"......K...s..P", "T..u.....l.....u...P",
        "PP....D......\"....PP", "PPP.l.....u.....PPPP", "PPPPPTPPDPPPPPTPPPPP"},
       {{8, 5, 6, 3, 0}, {9, 12, 4, 1, 1}, {13, 8, 9, 0, 0}, {10, 15, 11, 0, 0}, {-1, 10, 12, 2, 0}}},
      {"palace", 5,
       {"MMMMMNMMMMMMMMNMMMMM", "MM|..*...YY...*..|MM", "MM|.Z....RR....Z.|MM", "MM|......RR......|MM",
        "MM|..*...RR...*..|MM", "MM|......RR......|MM", "MMN......RR......NMM", "MM|......RR......|MM",
        "MM|..Z...RR...Z..|MM", "MM|......RR......|MM", "MM|..*...RR...*..|MM", "MM|......RR......|MM",
        "MMMMMMMM_RR_MMMMMMMM", "........__Q_........", "...................."},
       {{14, 9, 2, 0, 0}, {11, 6, 6, 3, 0}, {12, 7, 9, 0, 0}, {12, 12, 9, 0, 1}, {-1, 10, 11, 3, 0}}},
  };
}

void DrawScene(Screen& screen, const Scene& scene, const PictureSet& pics) {
  const IndexedBitmap& ground = pics.at("map1.bmp");
  const IndexedBitmap& tiles = pics.at("maps.bmp");
  for (int row = 0; row < 15; ++row)
    for (int col = 0; col < 20; ++col) {
      screen.Blit(ground, 0, 32 * scene.ground, 32, 32, col * 32, row * 32, false);
      const int n = TileFor(scene.grid[row][col]);
      if (n > 0) screen.Blit(tiles, 32 * (n % 20), 32 * (n / 20), 32, 32, col * 32, row * 32, true);
    }
  for (const Sprite& s : scene.sprites) {
    if (s.sheet < 0) {
      screen.Blit(pics.at("player.bmp"), 32 * s.frame, 48 * s.direction_row, 32, 48, s.col * 32, s.row * 32 - 16, true);
    } else {
      char name[32];
      std::snprintf(name, sizeof name, "npc%02d.bmp", s.sheet + 1);
      screen.Blit(pics.at(name), 32 * s.frame, 32 * s.direction_row, 32, 32, s.col * 32, s.row * 32, true);
    }
  }
}

// The white, yellow, black and red text places of each box, marked as thin bars so the layout can be
// judged without the font.
void MarkText(Screen& s, int x, int y, int w, std::uint8_t colour) {
  for (int k = 0; k < w; ++k)
    for (int j = 4; j < 16; j += 5) s.px[static_cast<std::size_t>(y + j) * 640 + x + k] = (k % 10 < 8) ? colour : s.px[static_cast<std::size_t>(y + j) * 640 + x + k];
}

}  // namespace

int WriteMockScreens(const PictureSet& pics, const std::string& out_dir) {
  const IndexedBitmap& game = pics.at("player.bmp");
  int written = 0;
  Screen screen;
  screen.key = 5;
  for (std::size_t i = 0; i < 256; ++i)
    if (game.colours[i][0] == kKeyR && game.colours[i][1] == kKeyG && game.colours[i][2] == kKeyB) screen.key = static_cast<std::uint8_t>(i);
  for (const Scene& scene : Scenes()) {
    DrawScene(screen, scene, pics);
    written += WritePng(out_dir + "/mock_" + scene.name + ".png", ToRgb(screen, game), 1);
  }
  // A talk in the village: the talk bar, the speaker's portrait, name and words.
  DrawScene(screen, Scenes()[0], pics);
  screen.Blit(pics.at("talkbar.bmp"), 0, 0, 640, 96, 0, 384, true);
  screen.Blit(pics.at("npc02.bmp"), 0, 0, 32, 32, 30, 404, true);
  MarkText(screen, 18, 450, 60, 2);
  MarkText(screen, 120, 400, 480, 1);
  written += WritePng(out_dir + "/mock_talk.png", ToRgb(screen, game), 1);
  // A fight in the clearing with the fight bar.
  const Scene arena{"arena", 7, std::vector<std::string>(15, "...................."), {}};
  DrawScene(screen, arena, pics);
  screen.Blit(pics.at("npc09.bmp"), 0, 32, 32, 32, 470, 238, true);
  screen.Blit(game, 0, 96, 32, 48, 130, 222, true);
  screen.Blit(pics.at("fightbar.bmp"), 0, 0, 448, 112, 96, 304, false);
  screen.Blit(game, 0, 0, 32, 48, 106, 314, true);
  screen.Blit(pics.at("npc09.bmp"), 0, 0, 32, 32, 361, 330, true);
  for (int line = 0; line < 4; ++line) {
    MarkText(screen, 146, 319 + 20 * line, 120, 0);
    MarkText(screen, 401, 319 + 20 * line, 120, 0);
    MarkText(screen, 298, 314 + 24 * line, 40, 3);
  }
  screen.Blit(pics.at("bomb.bmp"), 54 * 4, 0, 54, 50, 460, 238, true);
  written += WritePng(out_dir + "/mock_fight.png", ToRgb(screen, game), 1);
  // The hero beside every character, feet on one line, facing down and facing each other, to
  // judge that everyone is drawn at one scale.
  const Scene street{"lineup", 2, std::vector<std::string>(15, "...................."), {}};
  DrawScene(screen, street, pics);
  for (int k = 0; k < 15; ++k) {
    const int x = 16 + (k % 5) * 128, feet = 144 + (k / 5) * 144;
    char name[32];
    std::snprintf(name, sizeof name, "npc%02d.bmp", k + 1);
    screen.Blit(game, 0, 0, 32, 48, x, feet - 48, true);
    screen.Blit(pics.at(name), 0, 0, 32, 32, x + 32, feet - 32, true);
    screen.Blit(game, 0, 96, 32, 48, x, feet + 8, true);
    screen.Blit(pics.at(name), 0, 32, 32, 32, x + 28, feet + 24, true);
  }
  written += WritePng(out_dir + "/mock_lineup.png", ToRgb(screen, game), 1);
  // The goods window over the house, and the menu box.
  DrawScene(screen, Scenes()[2], pics);
  screen.Blit(pics.at("sbar.bmp"), 0, 0, 420, 320, 110, 80, true);
  const IndexedBitmap& goods = pics.at("goods.bmp");
  for (int i = 0; i < 16; ++i) {
    const int x = 125 + 49 * (i % 8), y = 270 + 49 * (i / 8);
    screen.Blit(goods, 0, 0, 48, 48, x, y, true);
    const int k = 2 + i + (i > 11 ? 2 : 0);
    if (i != 13 && k < 20) screen.Blit(goods, 48 * (k % 8), 48 * (k / 8), 48, 48, x, y, true);
    if (i == 3) screen.Blit(goods, 48, 0, 48, 48, x, y, true);
  }
  MarkText(screen, 120, 110, 360, 1);
  for (int line = 0; line < 4; ++line) MarkText(screen, 140, 170 + 20 * line, 100, 1);
  MarkText(screen, 270, 170, 220, 2);
  MarkText(screen, 130, 367, 380, 1);
  written += WritePng(out_dir + "/mock_panels.png", ToRgb(screen, game), 1);
  // The title with the main menu, then the load menu's box over it (shown in the title's colours).
  const IndexedBitmap& title = pics.at("title.bmp");
  screen.Blit(title, 0, 0, 640, 480, 0, 0, false);
  for (int i = 0; i < 3; ++i) MarkText(screen, 16, 390 + 24 * i, 60, i == 0 ? 2 : 1);
  written += WritePng(out_dir + "/mock_title.png", ToRgb(screen, title), 1);
  screen.Blit(pics.at("mainmenu.bmp"), 0, 0, 150, 200, 0, 280, false);
  for (int i = 0; i < 6; ++i) MarkText(screen, 50, 300 + 24 * i, 80, i == 0 ? 2 : 1);
  written += WritePng(out_dir + "/mock_title_load.png", ToRgb(screen, title), 1);
  return written;
}

}  // namespace contactsheet
