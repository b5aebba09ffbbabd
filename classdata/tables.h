// The meaning of every bit and code of the class record, defined once for the
// pages and the tools, and beside each what the game's class maker charges
// for it ("points": + for an advantage, - for a disadvantage; see tally.h).
#ifndef KESTRANE_TABLES_H
#define KESTRANE_TABLES_H

#include "class_record.h"

#include <array>
#include <cstdint>
#include <string>

namespace kestrane {

struct BitName {
    std::uint16_t mask;
    const char* name;
};

struct CodeName {
    std::uint8_t code;
    const char* name;
    int points;
};

// Effects: bit r of the four tolerance bytes.
constexpr int kEffectCount = 7;
extern const std::array<const char*, kEffectCount> kEffectNames;

// The five tolerances of an effect, in the order the page shows them.
enum class Tolerance { Immune, Resist, Normal, LowTolerance, Critical };
extern const std::array<const char*, 5> kToleranceNames;

// The four tolerance bytes; an effect's bit in one of them gives it that tolerance.
struct ToleranceByte {
    std::uint8_t ClassData::*field;
    const char* fieldName;  // its name in kFields
    Tolerance tolerance;
    const char* makerEntry;  // the class maker's name for it, e.g. "Immunity"
    int points;              // per effect
};
extern const std::array<ToleranceByte, 4> kToleranceBytes;  // Immune, Resist, Low Tol., Critical
// The entry of kToleranceBytes for `tolerance`; null for Normal, which is
// none of the four bytes.
const ToleranceByte* toleranceByte(Tolerance tolerance);
// The entries of kToleranceBytes that hold `effectMask`: bit t for entry t.
unsigned toleranceSet(const ClassData& record, std::uint8_t effectMask);
// The names of the tolerances in `set` (as toleranceSet gives it), in the
// entries' order and joined by ", ".
std::string toleranceNames(unsigned set);

// abilityFlags
constexpr std::uint16_t kTalentMask = 0x0007;
extern const std::array<BitName, 3> kTalents;
constexpr std::uint16_t kNoSpellRegenBit = 0x0008;
constexpr std::uint16_t kDamageSunlightBit = 0x0010;
constexpr std::uint16_t kDamageHolyBit = 0x0020;
constexpr std::uint16_t kUnableInDarkBit = 0x0040;
constexpr std::uint16_t kReducedInDarkBit = 0x0080;
constexpr std::uint16_t kUnableInLightBit = 0x0100;
constexpr std::uint16_t kReducedInLightBit = 0x0200;
constexpr std::uint16_t kMageryMask = 0x1C00;
constexpr int kMageryShift = 10;
// Increased magery, indexed by code 0-5; codes 6 and 7 have no meaning.
extern const std::array<const char*, 6> kMageryNames;
extern const std::array<int, 6> kMageryPoints;
// All named ability bits, for listing.
struct AbilityBit {
    std::uint16_t mask;
    const char* name;
    int points;
};
extern const std::array<AbilityBit, 10> kAbilityBits;

// Condition codes of rapidHealing, regeneration and spellAbsorption: the
// editor writes exactly one of these per byte. The code 4 is "always" for
// rapid healing and absorption but "in water" for regeneration.
constexpr std::uint8_t kConditionNone = 0;
constexpr std::uint8_t kConditionInLight = 1;
constexpr std::uint8_t kConditionInDark = 2;
constexpr std::uint8_t kConditionAlways = 4;  // rapidHealing, spellAbsorption
constexpr std::uint8_t kRegenerationInWater = 4;
constexpr std::uint8_t kRegenerationAlways = 8;
// The bits each byte's buttons test; a byte with none of them shows None.
constexpr std::uint8_t kConditionBits = kConditionInLight | kConditionInDark | kConditionAlways;
constexpr std::uint8_t kRegenerationBits =
    kConditionInLight | kConditionInDark | kRegenerationInWater | kRegenerationAlways;
extern const std::array<CodeName, 4> kRapidHealingCodes;
extern const std::array<CodeName, 5> kRegenerationCodes;
extern const std::array<CodeName, 4> kSpellAbsorptionCodes;

// bonusPhobiaFlags: bonus is bit i, phobia bit i + kPhobiaShift.
constexpr int kEnemyKindCount = 4;
constexpr int kPhobiaShift = 4;
extern const std::array<const char*, kEnemyKindCount> kEnemyKinds;
extern const std::array<int, kEnemyKindCount> kBonusToHitPoints;
constexpr int kPhobiaPoints = -4;

// forbiddenMaterials: bit i.
constexpr int kMaterialCount = 10;
extern const std::array<const char*, kMaterialCount> kMaterials;
extern const std::array<int, kMaterialCount> kForbiddenMaterialPoints;

// Weapon groups: bit i of expertWeapons and of forbiddenEquipment.
constexpr int kWeaponGroupCount = 6;
extern const std::array<const char*, kWeaponGroupCount> kWeaponGroups;
constexpr int kExpertWeaponPoints = 2;
constexpr int kForbiddenWeaponPoints = -2;

// The rest of forbiddenEquipment: armor (bits 6-8) and shields (bits 9-12).
struct EquipmentBit {
    std::uint16_t mask;
    const char* name;
    bool shield;
    int points;  // when forbidden
};
extern const std::array<EquipmentBit, 7> kArmorAndShields;

extern const std::array<const char*, kAttributeCount> kAttributeNames;

constexpr int kSkillNameCount = 35;
extern const std::array<const char*, kSkillNameCount> SkillNames;

// Bits that no page shows or changes; they pass from read to write untouched.
constexpr std::uint8_t kEffectUnusedMask = 0x80;
constexpr std::uint16_t kAbilityUnusedMask = 0xE000;
constexpr std::uint16_t kMaterialUnusedMask = 0xFC00;
constexpr std::uint8_t kExpertUnusedMask = 0xC0;
constexpr std::uint16_t kEquipmentUnusedMask = 0xE000;

}  // namespace kestrane

#endif
