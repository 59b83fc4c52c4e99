// Using the goods in one of the hero's slots.
#pragma once

// Adds the goods' experience, life (up to the hero's maximum), attack and defense to the hero
// and empties the slot. Returns 1 when the slot held goods, 0 (nothing changes) when it was
// empty or is no slot.
int UseGoods(int slot);
