// What the open engine reimplementation (Daggerfall Unity) makes of a class
// in play: the numbers its formulas give for a class file, for the Check box
// and `classcfg tally`, and the limits the findings test against. Each
// formula names its source (revision 81e89e9, paths under Assets/Scripts/).
// They hold for characters made after an edit: a character keeps the class
// it was made with in its saves (Game/Entities/PlayerEntity.cs:835,
// Game/Serialization/SerializablePlayer.cs:112, 280), and an enemy kept in a
// save its hit points (SerializableEnemy.cs:109, 175).
#ifndef KESTRANE_ENGINE_PLAY_H
#define KESTRANE_ENGINE_PLAY_H

#include "class_record.h"

#include <cstdint>
#include <string>
#include <vector>

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

// What the engine makes of the class, one line each: a new character's hit
// points and what a level adds, the uses its first primary skill needs, and
// for a standard file (CLASS00.CFG to CLASS18.CFG) the enemies built from it.
// `fileName` may be a path or empty.
std::vector<std::string> playLines(const ClassData& record, const std::string& fileName);
// The heading the lines stand under.
extern const char kPlayHeading[];

}  // namespace kestrane

#endif
