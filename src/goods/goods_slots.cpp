// Goods slots: 16 bytes of a record's szGoods, each a space or '0' plus a goods index.
#include "goods/goods.h"

const GoodsRecord* GoodsOfSlot(char slot) {
  const int index = static_cast<unsigned char>(slot) - '0';
  if (index < 2 || index >= 2 + nGoodsRead || index >= kGoodsCount) return nullptr;
  return &aGoods[index];
}

int CountGoods(const NpcRecord& npc) {
  int count = 0;
  for (int i = 0; i < kGoodsSlots; ++i) {
    if (GoodsOfSlot(npc.szGoods[i]) != nullptr) ++count;
  }
  return count;
}

void AddGoods(NpcRecord& npc, char slot) {
  for (int i = 0; i < kGoodsSlots; ++i) {
    if (GoodsOfSlot(npc.szGoods[i]) == nullptr) {
      npc.szGoods[i] = slot;
      // Slots past this one that a short field left as zero bytes become spaces, so the 16
      // slots stay a whole, NUL-terminated set.
      for (int j = i + 1; j < kGoodsSlots; ++j) {
        if (npc.szGoods[j] == '\0') npc.szGoods[j] = kEmptySlot;
      }
      npc.szGoods[kGoodsSlots] = '\0';
      return;
    }
  }
}
