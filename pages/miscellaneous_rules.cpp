#include "miscellaneous_rules.h"

#include "resource.h"
#include "tables.h"

namespace kestrane {

namespace {

constexpr int kTalentCount = static_cast<int>(kTalents.size());
constexpr std::uint16_t kDamageMask = kDamageSunlightBit | kDamageHolyBit;

bool inRange(int id, int first, int count) { return id >= first && id < first + count; }

std::uint8_t enemyMask(int id, int first) { return static_cast<std::uint8_t>(1u << (id - first)); }

// Replaces the bonus and phobia bits of kind `m` with `bits`.
void setEnemyBits(std::uint8_t m, unsigned bits) {
    const unsigned both = m | (m << kPhobiaShift);
    ClassRecord.bonusPhobiaFlags = static_cast<std::uint8_t>((ClassRecord.bonusPhobiaFlags & ~both) | (bits & both));
}

}  // namespace

void toggleAbilityFlag(std::uint16_t mask) {
    const std::uint16_t flags = ClassRecord.abilityFlags;
    ClassRecord.abilityFlags =
        (flags & mask) != 0 ? static_cast<std::uint16_t>(flags & ~mask) : static_cast<std::uint16_t>(flags | mask);
}

void setDamageFlag(std::uint16_t mask, bool checkedAfterClick) {
    mask &= kDamageMask;
    ClassRecord.abilityFlags = checkedAfterClick ? static_cast<std::uint16_t>(ClassRecord.abilityFlags | mask)
                                                 : static_cast<std::uint16_t>(ClassRecord.abilityFlags & ~mask);
}

void setRegeneration(std::uint8_t code) {
    ClassRecord.regeneration = code;
}

void setRapidHealing(std::uint8_t code) {
    ClassRecord.rapidHealing = code;
}

void setEnemyPhobia(std::uint8_t m) { setEnemyBits(m, static_cast<unsigned>(m) << kPhobiaShift); }
void setEnemyNormal(std::uint8_t m) { setEnemyBits(m, 0); }
void setEnemyBonus(std::uint8_t m) { setEnemyBits(m, m); }

const std::array<int, 26> kMiscellaneousButtons = {
    IDC_MISC_TALENT0,     IDC_MISC_TALENT0 + 1,  IDC_MISC_TALENT0 + 2,  IDC_MISC_REGEN_DARK, IDC_MISC_REGEN_LIGHT,
    IDC_MISC_REGEN_WATER, IDC_MISC_REGEN_ALWAYS, IDC_MISC_REGEN_NONE,   IDC_MISC_HEAL_DARK,  IDC_MISC_HEAL_LIGHT,
    IDC_MISC_HEAL_ALWAYS, IDC_MISC_HEAL_NONE,    IDC_MISC_SUNLIGHT,     IDC_MISC_HOLY,       IDC_MISC_BONUS0,
    IDC_MISC_PHOBIA0,     IDC_MISC_NORMAL0,      IDC_MISC_BONUS0 + 1,   IDC_MISC_PHOBIA0 + 1, IDC_MISC_NORMAL0 + 1,
    IDC_MISC_BONUS0 + 2,  IDC_MISC_PHOBIA0 + 2,  IDC_MISC_NORMAL0 + 2,  IDC_MISC_BONUS0 + 3, IDC_MISC_PHOBIA0 + 3,
    IDC_MISC_NORMAL0 + 3,
};

bool miscellaneousShown(const ClassData& record, int id) {
    const std::uint16_t flags = record.abilityFlags;
    const unsigned enemies = record.bonusPhobiaFlags;
    if (inRange(id, IDC_MISC_TALENT0, kTalentCount)) return (flags & (1u << (id - IDC_MISC_TALENT0))) != 0;
    if (inRange(id, IDC_MISC_BONUS0, kEnemyKindCount)) return (enemies & enemyMask(id, IDC_MISC_BONUS0)) != 0;
    if (inRange(id, IDC_MISC_PHOBIA0, kEnemyKindCount))
        return (enemies & (static_cast<unsigned>(enemyMask(id, IDC_MISC_PHOBIA0)) << kPhobiaShift)) != 0;
    if (inRange(id, IDC_MISC_NORMAL0, kEnemyKindCount)) {
        const unsigned m = enemyMask(id, IDC_MISC_NORMAL0);
        return (enemies & (m | (m << kPhobiaShift))) == 0;
    }
    switch (id) {
    case IDC_MISC_SUNLIGHT: return (flags & kDamageSunlightBit) != 0;
    case IDC_MISC_HOLY: return (flags & kDamageHolyBit) != 0;
    case IDC_MISC_REGEN_DARK: return (record.regeneration & kConditionInDark) != 0;
    case IDC_MISC_REGEN_LIGHT: return (record.regeneration & kConditionInLight) != 0;
    case IDC_MISC_REGEN_WATER: return (record.regeneration & kRegenerationInWater) != 0;
    case IDC_MISC_REGEN_ALWAYS: return (record.regeneration & kRegenerationAlways) != 0;
    case IDC_MISC_REGEN_NONE: return (record.regeneration & kRegenerationBits) == 0;
    case IDC_MISC_HEAL_DARK: return (record.rapidHealing & kConditionInDark) != 0;
    case IDC_MISC_HEAL_LIGHT: return (record.rapidHealing & kConditionInLight) != 0;
    case IDC_MISC_HEAL_ALWAYS: return (record.rapidHealing & kConditionAlways) != 0;
    case IDC_MISC_HEAL_NONE: return (record.rapidHealing & kConditionBits) == 0;
    default: return false;
    }
}

bool miscellaneousClicked(int id, bool checkedAfterClick) {
    if (inRange(id, IDC_MISC_TALENT0, kTalentCount)) {
        toggleAbilityFlag(static_cast<std::uint16_t>(1u << (id - IDC_MISC_TALENT0)));
        return true;
    }
    if (inRange(id, IDC_MISC_BONUS0, kEnemyKindCount)) {
        setEnemyBonus(enemyMask(id, IDC_MISC_BONUS0));
        return true;
    }
    if (inRange(id, IDC_MISC_PHOBIA0, kEnemyKindCount)) {
        setEnemyPhobia(enemyMask(id, IDC_MISC_PHOBIA0));
        return true;
    }
    if (inRange(id, IDC_MISC_NORMAL0, kEnemyKindCount)) {
        setEnemyNormal(enemyMask(id, IDC_MISC_NORMAL0));
        return true;
    }
    switch (id) {
    case IDC_MISC_SUNLIGHT: setDamageFlag(kDamageSunlightBit, checkedAfterClick); break;
    case IDC_MISC_HOLY: setDamageFlag(kDamageHolyBit, checkedAfterClick); break;
    case IDC_MISC_REGEN_NONE: setRegeneration(kConditionNone); break;
    case IDC_MISC_REGEN_LIGHT: setRegeneration(kConditionInLight); break;
    case IDC_MISC_REGEN_DARK: setRegeneration(kConditionInDark); break;
    case IDC_MISC_REGEN_WATER: setRegeneration(kRegenerationInWater); break;
    case IDC_MISC_REGEN_ALWAYS: setRegeneration(kRegenerationAlways); break;
    case IDC_MISC_HEAL_NONE: setRapidHealing(kConditionNone); break;
    case IDC_MISC_HEAL_LIGHT: setRapidHealing(kConditionInLight); break;
    case IDC_MISC_HEAL_DARK: setRapidHealing(kConditionInDark); break;
    case IDC_MISC_HEAL_ALWAYS: setRapidHealing(kConditionAlways); break;
    default: return false;
    }
    return true;
}

}  // namespace kestrane
