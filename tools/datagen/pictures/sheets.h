// Every picture of the game, each painted by its own painter.
#pragma once

#include "image.h"

namespace pictures {

inline constexpr int kTile = 32;

Image PaintGroundSheet();              // pic/map1.bmp: ten ground tiles stacked
Image PaintOverlaySheet();             // pic/maps.bmp: overlay tiles, 20 to a row
Image PaintCharacterSheet(int picture);  // pic/npcNN.bmp: 2 walk frames × 4 directions of 32 × 32
Image PaintHeroSheet();                // pic/player.bmp: 3 walk frames × 4 directions of 32 × 48
Image PaintTalkBar();                  // pic/talkbar.bmp
Image PaintPanel();                    // pic/sbar.bmp
Image PaintFightBar();                 // pic/fightbar.bmp
Image PaintMainMenu();                 // pic/mainmenu.bmp
Image PaintExplosion();                // pic/bomb.bmp: ten frames of 54 × 50
Image PaintGoodsSheet();               // pic/goods.bmp: 48 × 48 cells, 8 to a row
Image PaintTitle();                    // pic/title.bmp, in the title palette

}  // namespace pictures
