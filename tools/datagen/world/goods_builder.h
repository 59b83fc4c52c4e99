// The goods table: data/text/goods.txt (field lines, UTF-8) into text/goods.dat (GBK).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace datagen {

inline constexpr int kFirstGoodsIndex = 2;
inline constexpr int kMaxGoods = 18;
inline constexpr size_t kGoodsNameBytes = 31;
inline constexpr size_t kGoodsTextBytes = 99;
// The goods windows show a description in rows of this many bytes.
inline constexpr int kGoodsTextRow = 22;

struct GoodsTable {
  std::vector<std::string> names;  // GBK; names[0] is goods index 2

  // True when goods index k is filled by the table.
  bool Has(int k) const { return k >= kFirstGoodsIndex && k < kFirstGoodsIndex + int(names.size()); }
};

// Reads the source, checks it and writes the goods file. Throws SourceError.
GoodsTable BuildGoods(const std::filesystem::path& source, const std::filesystem::path& out);

// The goods index of a goods icon name of the catalogue ("herb"), or -1.
int GoodsIndexByIconName(std::string_view name);

}  // namespace datagen
