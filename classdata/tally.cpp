#include "tally.h"

#include "tables.h"

#include <cstdlib>

namespace kestrane {

namespace {

class Reckoning {
public:
    explicit Reckoning(ClassTally& t) : t_(t) {}

    void item(const std::string& name, int points) {
        if (points != 0) t_.items.push_back({name, points});
    }
    void beyond(const std::string& what) { t_.beyondMaker.push_back(what); }

    const AbilityBit& ability(std::uint16_t mask) const {
        for (const AbilityBit& b : kAbilityBits)
            if (b.mask == mask) return b;
        return kAbilityBits[0];  // not reached: every mask asked for is in the table
    }
    void abilityItem(const ClassData& c, std::uint16_t mask) {
        if (c.abilityFlags & mask) item(ability(mask).name, ability(mask).points);
    }
    // One maker entry with two choices: both bits set is none of them.
    void choiceOfTwo(const ClassData& c, const std::string& entry, std::uint16_t first, std::uint16_t second) {
        if ((c.abilityFlags & first) && (c.abilityFlags & second)) {
            beyond(entry + " has both " + ability(first).name + " and " + ability(second).name);
            return;
        }
        for (std::uint16_t m : {first, second})
            if (c.abilityFlags & m) item(entry + ": " + ability(m).name, ability(m).points);
    }
    template <std::size_t N>
    void code(const std::string& entry, const std::array<CodeName, N>& codes, std::uint8_t value) {
        for (const CodeName& k : codes)
            if (k.code == value) return item(entry + ": " + k.name, k.points);
        beyond(entry + " code " + std::to_string(value) + " stands for no entry");
    }

private:
    ClassTally& t_;
};

}  // namespace

int hitPointPoints(unsigned h) { return h >= 8 ? static_cast<int>(h) - 8 : -2 * (8 - static_cast<int>(h)); }

double makerMultiplierFor(int points) { return 0.3 + 2.7 * (points + 12) / 52.0; }

ClassTally tallyClass(const ClassData& c) {
    ClassTally t;
    Reckoning r(t);

    // Resistance and Weakness: one tolerance per effect.
    for (int e = 0; e < kEffectCount; ++e) {
        unsigned set = toleranceSet(c, static_cast<std::uint8_t>(1u << e));
        if (set & (set - 1)) {  // more than one
            r.beyond(std::string(kEffectNames[e]) + " has more than one tolerance (" + toleranceNames(set) + ")");
            continue;
        }
        for (std::size_t i = 0; i < kToleranceBytes.size(); ++i)
            if (set & (1u << i))
                r.item(std::string(kToleranceBytes[i].makerEntry) + ": " + kEffectNames[e], kToleranceBytes[i].points);
    }

    // Weapons and Armor.
    for (int g = 0; g < kWeaponGroupCount; ++g) {
        unsigned bit = 1u << g;
        bool expert = (c.expertWeapons & bit) != 0, forbidden = (c.forbiddenEquipment & bit) != 0;
        if (expert && forbidden)
            r.beyond(std::string(kWeaponGroups[g]) + " is both forbidden and expert");
        else if (expert)
            r.item(std::string("Expertise: ") + kWeaponGroups[g], kExpertWeaponPoints);
        else if (forbidden)
            r.item(std::string("Forbidden Weaponry: ") + kWeaponGroups[g], kForbiddenWeaponPoints);
    }
    for (int m = 0; m < kMaterialCount; ++m)
        if (c.forbiddenMaterials & (1u << m))
            r.item(std::string("Forbidden Material: ") + kMaterials[m], kForbiddenMaterialPoints[m]);
    for (const EquipmentBit& e : kArmorAndShields)
        if (c.forbiddenEquipment & e.mask)
            r.item(std::string(e.shield ? "Forbidden Shield: " : "Forbidden Armor: ") + e.name, e.points);

    // Magicka.
    unsigned magery = (c.abilityFlags & kMageryMask) >> kMageryShift;
    if (magery < kMageryNames.size())
        r.item(std::string("Increased Magery: ") + kMageryNames[magery], kMageryPoints[magery]);
    else
        r.beyond("increased magery code " + std::to_string(magery) + " stands for no entry");
    r.code("Spell Absorption", kSpellAbsorptionCodes, c.spellAbsorption);
    r.abilityItem(c, kNoSpellRegenBit);
    r.choiceOfTwo(c, "Light Powered Magery", kUnableInDarkBit, kReducedInDarkBit);
    r.choiceOfTwo(c, "Darkness Powered Magery", kUnableInLightBit, kReducedInLightBit);

    // Miscellaneous.
    r.code("Rapid Healing", kRapidHealingCodes, c.rapidHealing);
    r.code("Regenerate Health", kRegenerationCodes, c.regeneration);
    for (const BitName& talent : kTalents) r.abilityItem(c, talent.mask);
    r.abilityItem(c, kDamageSunlightBit);
    r.abilityItem(c, kDamageHolyBit);
    for (int k = 0; k < kEnemyKindCount; ++k) {
        bool bonus = (c.bonusPhobiaFlags & (1u << k)) != 0;
        bool phobia = (c.bonusPhobiaFlags & (1u << (k + kPhobiaShift))) != 0;
        if (bonus && phobia)
            r.beyond(std::string(kEnemyKinds[k]) + " has both bonus and phobia");
        else if (bonus)
            r.item(std::string("Bonus to Hit: ") + kEnemyKinds[k], kBonusToHitPoints[k]);
        else if (phobia)
            r.item(std::string("Phobia: ") + kEnemyKinds[k], kPhobiaPoints);
    }

    t.hitPointPoints = hitPointPoints(c.hitPointsPerLevel);
    t.total = t.hitPointPoints;
    for (const TallyItem& i : t.items) {
        t.total += i.points;
        (i.points > 0 ? t.advantages : t.disadvantages) += 1;
    }
    t.makerMultiplier = makerMultiplierFor(t.total);

    if (!makerTakesHitPoints(c.hitPointsPerLevel))
        r.beyond("hit points per level " + std::to_string(c.hitPointsPerLevel) + " is outside the maker's " +
                 rangeText(kMakerMinHitPoints, kMakerMaxHitPoints));
    if (!makerTakesEntries(t.advantages))
        r.beyond(std::to_string(t.advantages) + " advantages, more than the maker's " + std::to_string(kMakerMaxEntries));
    if (!makerTakesEntries(t.disadvantages))
        r.beyond(std::to_string(t.disadvantages) + " disadvantages, more than the maker's " +
                 std::to_string(kMakerMaxEntries));
    if (!makerTakesPoints(t.total))
        r.beyond("a total of " + std::to_string(t.total) + " points is outside the maker's " +
                 rangeText(kMakerMinPoints, kMakerMaxPoints));
    return t;
}

std::int32_t typedMultiplier(double multiplier) {
    return twoDecimalsStored(twoDecimals(multiplier));
}

std::string tallySummary(const ClassTally& t) { return "Class maker: " + makerText(t); }

std::string makerText(const ClassTally& t) {
    return (t.beyondMaker.empty() ? twoDecimals(t.makerMultiplier) : std::string("beyond")) + " (" +
           std::to_string(t.total) + (t.total == 1 || t.total == -1 ? " point)" : " points)");
}

}  // namespace kestrane
