// pic/maps.bmp: the overlay tiles, 20 to a row. Numbers the catalogue does not list stay fully
// transparent.
#include "datagen/common/catalog.h"
#include "sheets.h"
#include "tile_kit.h"

namespace pictures {

Image PaintOverlaySheet() {
  Image sheet(640, 1536, kKey);
  const PutTile put = [&](int number, const Image& tile) {
    sheet.Paste(tile, kTile * (number % 20), kTile * (number / 20), false);
  };
  PaintDecorTiles(put);
  PaintNatureTiles(put);
  PaintBuildingTiles(put);
  PaintInteriorTiles(put);
  PaintPalaceTiles(put);
  PaintRoomTiles(put);
  PaintShopTiles(put);
  PaintChestTiles(put);
  return sheet;
}

}  // namespace pictures
