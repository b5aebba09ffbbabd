// The Miscellaneous page: talents, damage, regeneration, rapid healing, and
// the bonus or phobia against four kinds of enemies.
#ifndef KESTRANE_MISCELLANEOUS_RULES_H
#define KESTRANE_MISCELLANEOUS_RULES_H

#include "class_record.h"

#include <array>
#include <cstdint>

namespace kestrane {

// Every routine acts on the global ClassRecord.

// Inverts `mask` in abilityFlags by testing the record (not the box).
void toggleAbilityFlag(std::uint16_t mask);
// The damage boxes: `mask` (kDamageSunlightBit or kDamageHolyBit) of
// abilityFlags follows the box's state after the click. Only bits 4-5 are used.
void setDamageFlag(std::uint16_t mask, bool checkedAfterClick);

// The whole byte: one of the condition codes of tables.h, for regeneration
// up to kRegenerationAlways, for rapid healing up to kConditionAlways.
void setRegeneration(std::uint8_t code);
void setRapidHealing(std::uint8_t code);

// Enemy kind e, given m = 1 << e: bonus bit m, phobia bit m << kPhobiaShift.
void setEnemyPhobia(std::uint8_t m);
void setEnemyNormal(std::uint8_t m);
void setEnemyBonus(std::uint8_t m);

// The page's 26 buttons in the order its loadControls sets them: the three
// talents; regeneration In Dark, In Light, In Water, Always, None; rapid
// healing In Dark, In Light, Always, None; damage from sunlight, from holy
// places; for each kind e, Bonus, Phobia, Normal (IDC_MISC_BONUS0 + e and so on).
extern const std::array<int, 26> kMiscellaneousButtons;

// Whether `controlId` is shown checked for `record`, each control from its
// own bits. False for a foreign id.
bool miscellaneousShown(const ClassData& record, int controlId);

// A click on `controlId`; `checkedAfterClick` is read only for the damage
// boxes IDC_MISC_SUNLIGHT and IDC_MISC_HOLY. False, with nothing changed, for a foreign id.
bool miscellaneousClicked(int controlId, bool checkedAfterClick);

}  // namespace kestrane

#endif
