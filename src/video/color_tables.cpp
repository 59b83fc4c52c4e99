// The three colour tables and the palette fades between them.
#include <cstdlib>
#include <memory>
#include <vector>

#include "video/display.h"

Palette* lpPalTitle = nullptr;
Palette* lpPalGame = nullptr;
Palette* lpPalBlack = nullptr;

namespace {

// Colour tables live as long as the process; a table made again reuses its storage.
std::vector<std::unique_ptr<Palette>> ownedTables;

Palette* OwnedTable(Palette* table) {
  for (const std::unique_ptr<Palette>& owned : ownedTables)
    if (owned.get() == table) return table;
  ownedTables.push_back(std::make_unique<Palette>());
  return ownedTables.back().get();
}

}  // namespace

void CopyPaletteEntries(Palette*& table) {
  table = OwnedTable(table);
  table->fill({});
  if (lpDDPal) lpDDPal->GetEntries(*table);
  if (lpPalBlack == nullptr) {
    lpPalBlack = OwnedTable(nullptr);
    lpPalBlack->fill({});
  }
}

void FadePalette(const Palette* from, const Palette* to, int step) {
  if (from == nullptr || to == nullptr || step == 0) return;
  Palette working = *from;
  const long long passes = 256 / std::llabs(static_cast<long long>(step));
  const auto move = [step](uint8_t& value, uint8_t target) {
    if (value != target) value = static_cast<uint8_t>(value + step);
  };
  for (long long pass = 0; pass < passes; ++pass) {
    for (size_t i = 0; i < working.size(); ++i) {
      move(working[i].red, (*to)[i].red);
      move(working[i].green, (*to)[i].green);
      move(working[i].blue, (*to)[i].blue);
    }
    if (lpDDPal) lpDDPal->SetEntries(working);
  }
}
