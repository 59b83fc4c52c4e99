#include "datagen/world/goods_builder.h"

#include "datagen/common/catalog.h"
#include "datagen/world/field_lines.h"
#include "datagen/world/source_file.h"
#include "datagen/world/text_layout.h"

namespace datagen {

int GoodsIndexByIconName(std::string_view name) {
  for (const GoodsIcon& icon : kGoodsIcons)
    if (icon.name == name) return icon.index;
  return -1;
}

GoodsTable BuildGoods(const std::filesystem::path& source, const std::filesystem::path& out) {
  FieldReader fields(source, ReadFieldLines(source));
  const int count = fields.NextNumber("count     :");
  if (count < 1 || count > kMaxGoods)
    fields.Fail("the table holds 1 to " + std::to_string(kMaxGoods) + " goods");

  GoodsTable table;
  std::string bytes = FieldLineBytes("count     :", count);
  for (int i = 0; i < count; ++i) {
    const int id = fields.NextNumber("id        :");
    if (id != kFirstGoodsIndex + i)
      fields.Fail("goods are numbered by their goods index; this one is " +
                  std::to_string(kFirstGoodsIndex + i));
    const std::string name = fields.NextText("name      :", kGoodsNameBytes);
    if (name.empty()) fields.Fail("goods need a name");
    const std::string text =
        LayOutRows(fields.NextText("text      :", kGoodsTextBytes), kGoodsTextRow);
    if (const std::string bad = FindRowStartingWithCloser(text, kGoodsTextRow); !bad.empty())
      fields.Fail(bad);
    if (text.size() > kGoodsTextBytes)
      fields.Fail("the description laid out in rows of 22 bytes takes " +
                  std::to_string(text.size()) + " bytes, at most 99 fit");
    const int value = fields.NextNumber("value     :");
    const int addExp = fields.NextNumber("add_exp   :");
    const int addLife = fields.NextNumber("add_life  :");
    const int addAttack = fields.NextNumber("add_attack:");
    const int addDefense = fields.NextNumber("add_def   :");
    fields.NextNumber("end       :");
    if (value < 0) fields.Fail("a price is never negative");
    // The goods windows show each effect in three places.
    for (int effect : {addExp, addLife, addAttack, addDefense})
      if (effect < -99 || effect > 999) fields.Fail("an effect must fit in three places");

    table.names.push_back(name);
    bytes += FieldLineBytes("id        :", id);
    bytes += FieldLineBytes("name      :", name);
    bytes += FieldLineBytes("text      :", text);
    bytes += FieldLineBytes("value     :", value);
    bytes += FieldLineBytes("add_exp   :", addExp);
    bytes += FieldLineBytes("add_life  :", addLife);
    bytes += FieldLineBytes("add_attack:", addAttack);
    bytes += FieldLineBytes("add_def   :", addDefense);
    bytes += FieldLineBytes("end       :", 0);
  }
  if (!fields.AtEnd()) fields.Fail("more lines than the count says");
  WriteBytes(out, bytes);
  return table;
}

}  // namespace datagen
