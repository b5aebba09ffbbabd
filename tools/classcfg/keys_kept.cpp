// Bits and bytes no page shows: written down so that build gives them back.
#include "field_schema.h"
#include "value_readers.h"

#include <algorithm>

namespace kestrane {
namespace classcfg {

namespace {

void addMasked(Keys& k, const char* key, const char* jsonKey, std::uint16_t ClassData::*field, unsigned mask) {
    k.push_back({"", key, "keptAsRead", jsonKey,
                 [field, mask](Draft& d, const std::string& v) { setBits16(d.data.*field, mask, parseMasked(v, mask, 4)); }});
}

}  // namespace

void addKeptKeys(Keys& k) {
    k.push_back({"Kept as read: bits and bytes no page shows", "hidden byte", "keptAsRead", "hiddenByte",
                 [](Draft& d, const std::string& v) {
                     d.data.hiddenByte = static_cast<std::uint8_t>(parseNumber(v, 0xFF));
                 }});
    k.push_back({"", "hidden block", "keptAsRead", "hiddenBlock",
                 [](Draft& d, const std::string& v) {
                     std::vector<std::uint8_t> b = parseHexBytes(v);
                     if (b.size() != kHiddenBlockSize) bad("expected exactly 5 bytes, got " + std::to_string(b.size()));
                     std::copy(b.begin(), b.end(), d.data.hiddenBlock.begin());
                 }});
    k.push_back({"", "effect bit 7", "keptAsRead", "effectBit7",
                 [](Draft& d, const std::string& v) {
                     std::string t = normalName(v) == "none" ? "Normal" : v;
                     setTolerances(d.data, kEffectUnusedMask, parseStates(t, toleranceNames(), "tolerance"));
                 }});
    addMasked(k, "ability bits 13-15", "abilityBits13to15", &ClassData::abilityFlags, kAbilityUnusedMask);
    addMasked(k, "material bits 10-15", "materialBits10to15", &ClassData::forbiddenMaterials, kMaterialUnusedMask);
    k.push_back({"", "expert weapon bits 6-7", "keptAsRead", "expertWeaponBits6to7",
                 [](Draft& d, const std::string& v) {
                     setBits8(d.data.expertWeapons, kExpertUnusedMask, parseMasked(v, kExpertUnusedMask, 2));
                 }});
    addMasked(k, "equipment bits 13-15", "equipmentBits13to15", &ClassData::forbiddenEquipment, kEquipmentUnusedMask);
}

}  // namespace classcfg
}  // namespace kestrane
