// A goods table: read at start-up, then every slot byte looked up as the goods windows,
// shops and fights look their goods up.
#include <cstdint>
#include <cstring>

#include "fuzz_world.h"
#include "goods/goods.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::StartWorld();
  fuzz::WriteGameFile("text/goods.dat", data, size);
  LoadGoods();
  for (const GoodsRecord& goods : aGoods) {
    fuzz::Require(strnlen(goods.szName, sizeof goods.szName) < sizeof goods.szName, "a name ends");
    fuzz::Require(strnlen(goods.szText, sizeof goods.szText) < sizeof goods.szText, "a text ends");
  }
  for (int byte = 0; byte < 256; ++byte) {
    const GoodsRecord* goods = GoodsOfSlot(char(byte));
    fuzz::Require(goods == nullptr || (goods >= aGoods + 2 && goods < aGoods + kGoodsCount),
                  "a slot names a filled entry of the table or nothing");
  }
  return 0;
}
