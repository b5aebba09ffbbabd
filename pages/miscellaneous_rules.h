// The Miscellaneous page: talents, damage, regeneration, rapid healing, and
// the bonus or phobia against four kinds of enemies.
#ifndef KESTRANE_MISCELLANEOUS_RULES_H
#define KESTRANE_MISCELLANEOUS_RULES_H

#include "class_record.h"

#include <array>
#include <cstdint>

namespace kestrane {

// Every routine acts on the global ClassRecord and sets modified = 1.

// Inverts `mask` in abilityFlags by testing the record (not the box).
void toggleAbilityFlag(std::uint16_t mask);
// The damage boxes: `mask` (kDamageSunlightBit or kDamageHolyBit) of
// abilityFlags follows the box's state after the click. Only bits 4-5 are used.
void setDamageFlag(std::uint16_t mask, bool checkedAfterClick);

// The whole byte: regeneration 0, 1, 2, 4 or 8; rapid healing 0, 1, 2 or 4.
void setRegeneration(std::uint8_t code);
void setRapidHealing(std::uint8_t code);

// Enemy kind e, given m = 1 << e: bonus bit m, phobia bit m << 4.
void setEnemyPhobia(std::uint8_t m);
void setEnemyNormal(std::uint8_t m);
void setEnemyBonus(std::uint8_t m);

// The page's 26 buttons in the order its loadControls sets them: talents
// 3248-3250; regeneration 3257, 3254, 3260, 3261, 3089; rapid healing 3258,
// 3255, 3262, 3090; damage 3252, 3253; for each kind e, Bonus 3269+e,
// Phobia 3265+e, Normal 3091+e.
extern const std::array<int, 26> kMiscellaneousButtons;

// Whether `controlId` is shown checked for `record`, each control from its
// own bits. False for a foreign id.
bool miscellaneousShown(const ClassData& record, int controlId);

// A click on `controlId`; `checkedAfterClick` is read only for the damage
// boxes 3252 and 3253. False, with nothing changed, for a foreign id.
bool miscellaneousClicked(int controlId, bool checkedAfterClick);

}  // namespace kestrane

#endif
