// Miscellaneous: rapid healing, regeneration, talents, damage, and a bonus
// or phobia per enemy kind.
#include "field_schema.h"
#include "value_readers.h"

namespace kestrane {
namespace classcfg {

void addMiscellaneousKeys(Keys& k) {
    addCodeKey(k, "Miscellaneous", "rapid healing", "rapidHealing", &ClassData::rapidHealing, kRapidHealingCodes.data(),
               kRapidHealingCodes.size());
    addCodeKey(k, nullptr, "regeneration", "regeneration", &ClassData::regeneration, kRegenerationCodes.data(),
               kRegenerationCodes.size());
    std::vector<std::string> talents;
    std::vector<unsigned> masks;
    for (const BitName& t : kTalents) {
        talents.push_back(t.name);
        masks.push_back(t.mask);
    }
    addMaskListKey(k, "talents", "talents", &ClassData::abilityFlags, talents, masks, "talent");
    addYesNoKey(k, nullptr, "damage from sunlight", "damageFromSunlight", kDamageSunlightBit);
    addYesNoKey(k, nullptr, "damage from holy places", "damageFromHolyPlaces", kDamageHolyBit);
    for (int i = 0; i < kEnemyKindCount; ++i) {
        unsigned bonus = 1u << i, phobia = 1u << (i + kPhobiaShift);
        addPairKey(k, nullptr, kEnemyKinds[i], "enemies", kEnemyKinds[i], {"Bonus", "Phobia"}, "enemy state",
                   [bonus, phobia](ClassData& c, unsigned set) {
                       setBits8(c.bonusPhobiaFlags, bonus | phobia, ((set & 1u) ? bonus : 0u) | ((set & 2u) ? phobia : 0u));
                   });
    }
}

}  // namespace classcfg
}  // namespace kestrane
