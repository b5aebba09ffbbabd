// Weapons and Armor: each weapon group forbidden or expert, and the
// forbidden materials, armor and shields.
#include "field_schema.h"
#include "value_readers.h"

namespace kestrane {
namespace classcfg {

void addWeaponsArmorKeys(Keys& k) {
    for (int i = 0; i < kWeaponGroupCount; ++i) {
        unsigned bit = 1u << i;
        addPairKey(k, i == 0 ? "Weapons and Armor" : nullptr, kWeaponGroups[i], "weapons", kWeaponGroups[i],
                   {"Forbidden", "Expert"}, "weapon state", [bit](ClassData& c, unsigned set) {
                       setBits16(c.forbiddenEquipment, bit, (set & 1u) ? bit : 0u);
                       setBits8(c.expertWeapons, bit, (set & 2u) ? bit : 0u);
                   });
        // Text written before the editor's caption was mended says "Fobidden"; take that too.
        Parse states = k.back().parse;
        k.back().parse = [states](Draft& d, const std::string& v) {
            std::string t;
            for (const std::string& item : splitList(v))
                t += (t.empty() ? "" : ", ") + (normalName(item) == "fobidden" ? std::string("Forbidden") : item);
            states(d, t.empty() ? v : t);
        };
    }
    std::vector<unsigned> masks;
    for (int i = 0; i < kMaterialCount; ++i) masks.push_back(1u << i);
    addMaskListKey(k, "forbidden materials", "forbiddenMaterials", &ClassData::forbiddenMaterials,
                   names(kMaterials.data(), kMaterials.size()), masks, "material");
    for (bool shield : {false, true}) {
        std::vector<std::string> items;
        masks.clear();
        for (const EquipmentBit& e : kArmorAndShields)
            if (e.shield == shield) {
                items.push_back(e.name);
                masks.push_back(e.mask);
            }
        addMaskListKey(k, shield ? "forbidden shields" : "forbidden armor", shield ? "forbiddenShields" : "forbiddenArmor",
                       &ClassData::forbiddenEquipment, items, masks, shield ? "shield" : "armor");
    }
}

}  // namespace classcfg
}  // namespace kestrane
