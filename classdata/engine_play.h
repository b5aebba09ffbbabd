// What the open engine reimplementation (Daggerfall Unity) makes of a class
// in play: the numbers its formulas give for a class file, and the limits the
// findings test against. Each formula names its source (revision 81e89e9,
// paths under Assets/Scripts/).
#ifndef KESTRANE_ENGINE_PLAY_H
#define KESTRANE_ENGINE_PLAY_H

#include "class_record.h"

#include <cstdint>

namespace kestrane {

// The multiplier as the engine reads the 16.16 field: unsigned, so a
// negative value reads as 32768 or more, and rounded to two decimals.
float engineMultiplier(std::int32_t stored);

// DaggerfallSkills.GetAdvancementMultiplier: each skill's own factor in the
// uses a point needs (Running 50 ... Etiquette 1); 0 for an index past 34.
int skillAdvancementMultiplier(unsigned skill);

// FormulaHelper.CalculateSkillUsesForAdvancement at level 1: the uses a
// skill of this value needs for its next point.
int skillUsesAtLevel1(int skillValue, int skillMultiplier, float classMultiplier);

// The most uses a skill can show at a skill check (PlayerEntity.cs: uses
// held to 20000, times 1.25 at very high reflexes).
constexpr int kMostSkillUses = 25000;

// True when no skill of any character of the class can ever rise: even the
// weakest (3, factor 1) needs more uses at level 1 than a skill can show,
// and the need only grows. That holds from this multiplier up.
bool freezesEverySkill(float classMultiplier);
extern const char kFreezingMultiplier[];  // "20032.06"

}  // namespace kestrane

#endif
