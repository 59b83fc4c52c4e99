// The names that tie the data set together: overlay tiles, ground tiles, character sheets and
// goods icons. The painters draw what this catalogue names at these numbers; the map, character
// and goods sources refer to the same things by name.
#pragma once

#include <string_view>

namespace datagen {

// Ground tiles: rows of pic/map1.bmp (one per map, painted under every cell).
enum GroundTile : int {
  kGroundGrass = 0,
  kGroundDirt = 1,
  kGroundCobble = 2,   // city pavement
  kGroundWoodFloor = 3,  // indoors
  kGroundForest = 4,   // dark forest floor
  kGroundMarble = 5,   // palace floor
  kGroundSand = 6,
  kGroundArena = 7,    // the battle clearing
  kGroundCarpet = 8,
  kGroundStoneFloor = 9,
};

struct TileInfo {
  int number;             // overlay tile number on pic/maps.bmp (20 to a row)
  std::string_view name;  // the name map legends use
  bool solid;             // how maps normally place it (code n, or 0xA000 + n when solid)
  std::string_view looks; // what the painter draws
};

// Overlay tiles. Number 0 is fully transparent (code 0xA000 makes an invisible wall).
// 301 and 302 are the closed and opened chest, fixed by the program.
inline constexpr TileInfo kTiles[] = {
    {0, "invisible", true, "nothing: every pixel the colour key"},
    // row 0: ground decorations (walkable)
    {1, "flowers", false, "a few small flowers on transparent ground"},
    {2, "grass_tuft", false, "tufts of taller grass"},
    {3, "dirt_path", false, "a worn dirt path filling the cell"},
    {4, "cobble_path", false, "a laid stone path filling the cell"},
    {5, "pebbles", false, "scattered pebbles"},
    {6, "rug", false, "a woven rug filling the cell"},
    {7, "doormat", false, "a small mat marking a doorway"},
    {8, "bridge", false, "wooden bridge planks filling the cell"},
    {9, "red_carpet", false, "a red carpet with gold edges filling the cell"},
    {10, "mushrooms", false, "a small cluster of mushrooms"},
    {11, "fallen_leaves", false, "fallen leaves"},
    {12, "paving_warm", false, "the city's paving laid in a warmer, lighter batch of stone"},
    {13, "paving_moss", false, "moss in the joints of the paving and a weed between two setts"},
    {14, "paving_worn", false, "paving worn darker by traffic, a few setts cracked or chipped"},
    // row 1: nature (solid)
    {20, "tree", true, "a round leafy tree, trunk at the bottom"},
    {21, "pine", true, "a dark pine tree"},
    {22, "bush", true, "a round bush"},
    {23, "rock", true, "a grey boulder"},
    {24, "water", true, "water filling the cell, light ripples"},
    {25, "fence", true, "a wooden fence, horizontal"},
    {26, "stump", true, "a cut tree stump"},
    {27, "well", true, "a stone well with a small roof"},
    {28, "dead_tree", true, "a bare twisted dark tree"},
    {29, "flowerbed", true, "a raised flowerbed with a stone border"},
    {30, "signpost", true, "a wooden signpost"},
    {31, "haystack", true, "a haystack"},
    // row 2: buildings seen from outside (solid unless said)
    {40, "roof_left", true, "left end of a tiled roof (roofs fill the lower two thirds of a cell)"},
    {41, "roof", true, "middle of a tiled roof"},
    {42, "roof_right", true, "right end of a tiled roof"},
    {43, "house_wall", true, "a plaster house wall"},
    {44, "house_window", true, "a house wall with a lit window"},
    {45, "house_door", true, "a house wall with a wooden door (the door cell below it is the event cell)"},
    {46, "shop_door", true, "a shop front with an open door and a hanging sign"},
    {47, "city_wall", true, "a high grey stone city wall"},
    {48, "city_gate", true, "a stone gate tower of the city wall, one on each side of the open gateway"},
    {49, "lantern", true, "a stone lantern"},
    {50, "shop_sign_goods", true, "a shop wall with a sign showing a bag"},
    {51, "shop_sign_arms", true, "a shop wall with a sign showing a sword"},
    {52, "shop_sign_trade", true, "a shop wall with a sign showing a coin"},
    {53, "palace_gate", true, "a red lacquered palace gate with gold studs"},
    // row 3: interiors (solid unless said)
    {60, "inner_wall", true, "an indoor wall face, wood panels"},
    {61, "inner_wall_window", true, "an indoor wall with a paper window"},
    {62, "table", true, "a wooden table"},
    {63, "stool", true, "a small stool"},
    {64, "bed", true, "a bed with a quilt"},
    {65, "counter", true, "a shop counter"},
    {66, "shelf", true, "a shelf with jars and bags"},
    {67, "barrel", true, "a barrel"},
    {68, "crate", true, "a wooden crate"},
    {69, "vase", true, "a tall vase"},
    {70, "stove", true, "a clay stove with a pot"},
    {71, "bookcase", true, "a bookcase"},
    {72, "weapon_rack", true, "a rack of swords and spears"},
    {73, "plant", true, "a potted plant"},
    // row 4: palace (solid unless said)
    {80, "palace_wall", true, "a red palace wall with gold trim"},
    {81, "pillar", true, "a red round pillar"},
    {82, "throne", true, "a gold and red throne"},
    {83, "brazier", true, "a burning brazier"},
    {84, "statue", true, "a stone guardian statue"},
    {85, "banner_wall", true, "a palace wall with a hanging banner"},
    {86, "palace_stairs", false, "wide stone stairs"},
    // row 5: the shell of a room seen from above and in front (solid). The side and front walls
    // are thin rims on the cell's outer side, so a figure standing against them does not sink in.
    {100, "void", true, "darkness outside a room: solid black"},
    {101, "wall_left", true, "the rim of a room's left wall, floor showing on its inner side"},
    {102, "wall_right", true, "the rim of a room's right wall, floor showing on its inner side"},
    {103, "wall_front", true, "the rim of a room's front wall along the cell's bottom"},
    {104, "wall_corner_left", true, "where the left and front rims meet"},
    {105, "wall_corner_right", true, "where the right and front rims meet"},
    {106, "wall_exit", true, "a gap in the front rim with a stone threshold: the way out"},
    {107, "stone_wall", true, "a smithy's soot-darkened stone wall face"},
    {108, "stone_wall_tools", true, "a stone wall with tongs and hammers hanging on it"},
    {109, "wall_scroll", true, "a wooden wall with a hanging calligraphy scroll"},
    // row 6: the shops' furniture (solid)
    {120, "forge", true, "a brick forge with a glowing fire under a hood"},
    {121, "anvil", true, "an iron anvil on a tree stump"},
    {122, "grindstone", true, "a grinding wheel in a wooden frame"},
    {123, "armour_stand", true, "a stand with a suit of iron armour"},
    {124, "quench_tub", true, "a wooden tub of water"},
    {125, "coal_heap", true, "a heap of charcoal"},
    {126, "sacks", true, "grain sacks piled up"},
    {127, "rice_barrel", true, "an open barrel of rice with a scoop"},
    {128, "baskets", true, "baskets of vegetables and buns on a low stand"},
    {129, "jars", true, "big glazed pickle jars"},
    {130, "pawn_counter", true, "a high counter with a wooden grille above it"},
    {131, "strongbox", true, "an iron-bound strongbox"},
    {132, "ledger_desk", true, "a desk with a ledger, a brush and an inkstone"},
    {133, "curio_shelf", true, "a shelf of pawned things: vases, a clock, bundles"},
    {134, "workbench", true, "a smith's bench with tongs and hammers"},
    // row 15: treasure chests (fixed by the program)
    {301, "chest", true, "a closed treasure chest"},
    {302, "chest_open", true, "an opened, empty treasure chest"},
};

// Character sheets pic/npc01.bmp .. npc15.bmp: picture index 0 .. 14.
// The fight voice of each picture is fixed by the program: 2,1,2,2,1,2,1,1,2,1,1,1,1,1,2.
struct SheetInfo {
  int picture;
  std::string_view name;
  std::string_view looks;
};
inline constexpr SheetInfo kSheets[] = {
    {0, "smith", "the smith: brawny, bare arms, a leather apron and a dark cap"},
    {1, "villager_woman", "a woman in a blue dress with her hair in a bun (the hero's mother)"},
    {2, "elder", "an old man with a white beard and a staff (also the old woodcutter)"},
    {3, "guard", "a city guard in armour with a spear"},
    {4, "girl", "a young girl in pink"},
    {5, "thug", "a burly troublemaker in dark red with a headband"},
    {6, "shopkeeper", "a townsman in a white tunic and a green apron (the grocer)"},
    {7, "merchant", "a plump merchant in purple with a cap"},
    {8, "wolf", "a grey wolf, a creature of the wood"},
    {9, "slime", "a green slime blob, a creature of the wood"},
    {10, "tree_demon", "a big twisted tree demon with glowing eyes (the strong one of the wood)"},
    {11, "princess", "a palace lady in white and gold"},
    {12, "soldier", "a palace soldier in black armour"},
    {13, "bat", "a purple bat, a creature of the wood"},
    {14, "dark_lord", "the palace master: a tall figure in a black robe with a red mask"},
};

// Goods by goods index (2 to 19): the icon painted in cell k of pic/goods.bmp.
// Cell 0 is the empty-slot frame, cell 1 the cursor frame.
struct GoodsIcon {
  int index;
  std::string_view name;
  std::string_view looks;
};
inline constexpr GoodsIcon kGoodsIcons[] = {
    {2, "bun", "a steamed bun"},
    {3, "herb", "a green medicinal herb"},
    {4, "potion", "a small red potion bottle"},
    {5, "elixir", "a golden elixir gourd"},
    {6, "wooden_sword", "a wooden practice sword"},
    {7, "iron_sword", "an iron sword"},
    {8, "jade_sword", "a sword with a jade-green blade"},
    {9, "leather_armor", "a leather vest"},
    {10, "iron_armor", "an iron breastplate"},
    {11, "shield", "a round shield"},
    {12, "manual", "a martial arts manual (book)"},
    {13, "scroll", "a tied scroll"},
    {14, "ring", "a ring with a red stone"},
    {15, "amulet", "a jade amulet on a cord"},
    {16, "ginseng", "a ginseng root"},
    {17, "tea", "a cup of tea"},
    {18, "meat", "a roasted leg of meat"},
    {19, "pearl", "a shining pearl"},
};

// The colour key: pixels of this colour are transparent in keyed pictures.
inline constexpr unsigned char kKeyRed = 255, kKeyGreen = 238, kKeyBlue = 187;

}  // namespace datagen
