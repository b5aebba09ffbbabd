// Sources: Daggerfall Unity (github.com/Interkarma/daggerfall-unity), revision
// 81e89e9, paths under Assets/Scripts/.
#include "engine_play.h"

#include "tables.h"

#include <array>
#include <climits>

namespace kestrane {

const char kFreezingMultiplier[] = "20032.06";

namespace {

// The float steps go through memory, so that an x87 build rounds each to
// float or double as the engine's arithmetic does.
float asFloat(double value) {
    volatile float f = static_cast<float>(value);
    return f;
}

// Game/Entities/DaggerfallSkills.cs:485-547, by skill index.
constexpr std::array<std::uint8_t, kSkillNameCount> kSkillFactors = {
    12, 1, 1, 5,  15, 15, 15, 15, 15, 15, 15, 15, 15, 2, 1, 2, 2, 1,
    2,  1, 4, 50, 1,  2,  1,  1,  2,  1,  2,  2,  2,  2, 2, 1, 8};

}  // namespace

// API/ClassFile.cs:174 reads the field with ReadUInt32; API/DFCareer.cs:585-593
// makes it (field >> 16) + (field & 0xffff) / 65536f and rounds that through
// string.Format("{0:0.00}"), whose midpoints go away from zero (where the
// system's decimal mark is "."; elsewhere the parse fails and it keeps the
// unrounded value).
float engineMultiplier(std::int32_t stored) {
    const std::uint32_t raw = static_cast<std::uint32_t>(stored);
    const float value = asFloat(static_cast<float>(raw >> 16) + static_cast<float>(raw & 0xFFFF) / 65536.0f);
    // Not negative: cutting toward zero is the floor.
    const double cents = static_cast<double>(static_cast<long long>(static_cast<double>(value) * 100.0 + 0.5));
    // The float nearest the two-decimal number, as float.Parse gives: for
    // every value a 16.16 field holds, the nearest double's nearest float.
    return asFloat(cents / 100.0);
}

int skillAdvancementMultiplier(unsigned skill) { return skill < kSkillFactors.size() ? kSkillFactors[skill] : 0; }

// FormulaHelper.cs:318-327: floor(value * factor * multiplier * 1.04^level
// * 2 / 5 + 1), the first product in float, the rest in double; at level 1
// Math.Pow(1.04, 1) is 1.04 itself.
int skillUsesAtLevel1(int skillValue, int skillMultiplier, float classMultiplier) {
    const float product = asFloat(static_cast<float>(skillValue * skillMultiplier) * classMultiplier);
    volatile double x = static_cast<double>(product) * 1.04;
    x = x * 2;
    x = x / 5;
    x = x + 1;
    // Not negative: cutting toward zero is Math.Floor.
    return x >= INT_MAX ? INT_MAX : static_cast<int>(x);
}

// PlayerEntity.cs:1377-1380 RaiseSkills: a skill rises when its uses times
// the reflexes' factor (1.25 at very high reflexes, 0x14000 >> 16) reach the
// need, uses being held to 20000 (1249-1251). Skills start at 3 to 6
// (DaggerfallSkills.cs:30-31, 95; no biography shipped with the engine
// lowers one), the least factor is 1, a new character is level 1, and the
// need grows with the skill and the level: that skill's need at the start is
// the least any skill ever has.
bool freezesEverySkill(float classMultiplier) {
    return skillUsesAtLevel1(3, 1, classMultiplier) > kMostSkillUses;
}

}  // namespace kestrane
