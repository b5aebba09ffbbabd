// Sources: Daggerfall Unity (github.com/Interkarma/daggerfall-unity), revision
// 81e89e9, paths under Assets/Scripts/.
#include "engine_play.h"

#include "printed.h"
#include "standard_classes.h"
#include "tables.h"

#include <array>
#include <climits>

namespace kestrane {

const char kFreezingMultiplier[] = "20032.06";
const char kPlayHeading[] = "In the open engine (Daggerfall Unity):";

namespace {

// The float steps go through memory, so that an x87 build rounds each to
// float or double as the engine's arithmetic does.
float asFloat(double value) {
    volatile float f = static_cast<float>(value);
    return f;
}

// A number given in halves: "118", "164.5".
std::string halves(int twice) { return printed("%d%s", twice / 2, twice % 2 ? ".5" : ""); }

// Game/Formulas/FormulaHelper.cs:166-167 RollMaxHealth: 25 and the class's
// hit points per level; a new character is level 1, so no level's roll more
// (PlayerEntity.cs:873-874).
constexpr int kBaseHealth = 25;
// FormulaHelper.cs:1751 RollEnemyClassMaxHealth.
constexpr int kEnemyBaseHealth = 10;

// FormulaHelper.cs:340-354 CalculateHitPointsPerLevelUp: a roll of half the
// hit points per level to all of them (DFRandom.random_range_inclusive),
// plus HitPointsModifier(END) = floor(END / 10) - 5 (111-118), which is 0 at
// END 50, at least 1. Twice its average there: the least and the most roll,
// or 2 when the least is 0 (hit points 0 or 1, every roll counting 1).
int twiceAverageGainAtEnd50(unsigned hitPoints) {
    return hitPoints < 2 ? 2 : static_cast<int>(hitPoints / 2 + hitPoints);
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

std::vector<std::string> playLines(const ClassData& c, const std::string& fileName) {
    std::vector<std::string> lines;
    const unsigned hp = c.hitPointsPerLevel;
    const int start = kBaseHealth + static_cast<int>(hp);
    lines.push_back(printed("a new character has %d hit points (%d + %u)", start, kBaseHealth, hp));
    lines.push_back(printed("each level adds %u to %u hit points, plus END's modifier, at least 1: on average %s at "
                            "level 10 with END 50",
                            hp / 2, hp, halves(2 * start + 9 * twiceAverageGainAtEnd50(hp)).c_str()));

    // The first primary skill at 30, level 1, with the multiplier as read;
    // average reflexes count uses as they are.
    const unsigned first = c.skills[0];
    if (first < SkillNames.size()) {
        const float m = engineMultiplier(c.advancementMultiplier);
        const int uses = skillUsesAtLevel1(30, skillAdvancementMultiplier(first), m);
        lines.push_back(printed("%s, the first primary skill, needs %d uses for its next point at level 1 from 30 "
                                "(multiplier read as %.2f)%s",
                                SkillNames[first], uses, static_cast<double>(m),
                                uses > kMostSkillUses ? "; no skill shows that many" : ""));
    } else {
        lines.push_back(printed("the first primary skill is index %u, which names no skill", first));
    }

    // Game/Entities/EnemyEntity.cs:291-303: a class enemy of type 128 + n is
    // built from CLASSnn.CFG (Knight_CityWatch, 146, from CLASS18.CFG:
    // DaggerfallUnityEnums.cs:190-208), at the player's level, the watch 3 to
    // 6 levels above it; its hit points are RollEnemyClassMaxHealth's 10 and
    // a roll of 1 to the hit points per level for each level
    // (FormulaHelper.cs:1745-1759; Unity's Random.Range(1, 1) gives 1).
    // It ignores the skills (every skill is 5 x level + 30, at most 100:
    // EnemyEntity.cs:318-327), the multiplier (read only by
    // PlayerEntity.cs:1375), forbidden and expert gear (enemies' gear is
    // random, ItemHelper.cs:1366-1420; the checks are the player's:
    // DaggerfallInventoryWindow.cs:1343-1368, FormulaHelper.cs:594-605) and
    // magery (spell points: DaggerfallEntity.cs:488; light, darkness and
    // regeneration: the player's passive specials, EntityEffectManager.cs:230-233,
    // FormulaHelper.cs:225).
    const int n = classFileNumber(fileName);
    if (n >= 0 && n < kStandardClassCount) {
        const bool watch = n == kStandardClassCount - 1;
        const unsigned most = hp ? hp : 1;
        lines.push_back(printed("%s%s made from it have %d hit points and 1 to %u more for each level (their level is the "
                                "player's%s): on average %s at level 10; they ignore its skills, multiplier, forbidden "
                                "and expert gear and magery",
                                watch ? "the city watch's guards" : standardClassName(n).c_str(), watch ? "" : " enemies",
                                kEnemyBaseHealth, most, watch ? " and 3 to 6 more" : "",
                                halves(2 * kEnemyBaseHealth + 10 * (1 + static_cast<int>(most))).c_str()));
    }
    return lines;
}

}  // namespace kestrane
