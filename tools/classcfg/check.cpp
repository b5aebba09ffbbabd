// `check`: what a modder should know about a class file before the game
// reads it. Each finding is one line of plain words.
#include "classcfg.h"
#include "text_form.h"

namespace kestrane {
namespace classcfg {

namespace {

std::string codeList(const CodeName* codes, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += (i ? ", " : "") + std::to_string(codes[i].code);
    return out;
}

void checkCondition(std::vector<std::string>& found, const char* what, std::uint8_t v, const CodeName* codes,
                    std::size_t n) {
    if (!conditionName(codes, n, v))
        found.push_back(std::string(what) + " is " + std::to_string(v) + ", not one of its codes (" +
                        codeList(codes, n) + ")");
}

}  // namespace

std::vector<std::string> checkFile(const std::vector<std::uint8_t>& fileBytes) {
    std::vector<std::string> found;
    if (fileBytes.size() != kClassFileSize)
        found.push_back("size is " + std::to_string(fileBytes.size()) + " bytes, not 74");
    const ClassData c = recordOf(fileBytes);

    // A file too short to hold the whole name is reported by its size alone.
    if (fileBytes.size() >= 47) {
        bool nul = false;
        for (char ch : c.className) nul = nul || ch == '\0';
        if (!nul) found.push_back("name has no NUL in its 19 bytes");
    }
    static const char* const kGroup[] = {"primary", "primary", "primary", "major", "major", "major",
                                         "minor",   "minor",   "minor",   "minor", "minor", "minor"};
    static const int kPlace[] = {1, 2, 3, 1, 2, 3, 1, 2, 3, 4, 5, 6};
    for (std::size_t i = 0; i < kSkillCount; ++i)
        if (c.skills[i] >= SkillNames.size())
            found.push_back(std::string(kGroup[i]) + " skill " + std::to_string(kPlace[i]) + " is index " +
                            std::to_string(c.skills[i]) + ", which names no skill (0 to 34 do)");

    const std::uint8_t tol[4] = {c.immuneFlags, c.resistFlags, c.lowToleranceFlags, c.criticalWeaknessFlags};
    const Tolerance tolKind[4] = {Tolerance::Immune, Tolerance::Resist, Tolerance::LowTolerance, Tolerance::Critical};
    for (int r = 0; r < kEffectCount; ++r) {
        std::string list;
        int count = 0;
        for (int t = 0; t < 4; ++t)
            if (tol[t] & (1u << r)) {
                list += (count++ ? ", " : "") + std::string(kToleranceNames[static_cast<int>(tolKind[t])]);
            }
        if (count > 1) found.push_back(std::string(kEffectNames[r]) + " has more than one tolerance: " + list);
    }
    for (int i = 0; i < kWeaponGroupCount; ++i)
        if ((c.expertWeapons & (1u << i)) && (c.forbiddenEquipment & (1u << i)))
            found.push_back(std::string(kWeaponGroups[i]) + " is both forbidden and expert");
    for (int i = 0; i < kEnemyKindCount; ++i)
        if ((c.bonusPhobiaFlags & (1u << i)) && (c.bonusPhobiaFlags & (1u << (i + 4))))
            found.push_back(std::string(kEnemyKinds[i]) + " has both bonus and phobia");
    unsigned magery = (c.abilityFlags & kMageryMask) >> kMageryShift;
    if (magery >= kMageryNames.size())
        found.push_back("increased magery code is " + std::to_string(magery) + ", which has no meaning (0 to 5 do)");
    if ((c.abilityFlags & kUnableInDarkBit) && (c.abilityFlags & kReducedInDarkBit))
        found.push_back("light powered magery has both Unable to Cast in Dark and Reduced Power in Dark");
    if ((c.abilityFlags & kUnableInLightBit) && (c.abilityFlags & kReducedInLightBit))
        found.push_back("darkness powered magery has both Unable to Cast in Light and Reduced Power in Light");
    checkCondition(found, "rapid healing", c.rapidHealing, kRapidHealingCodes.data(), kRapidHealingCodes.size());
    checkCondition(found, "regeneration", c.regeneration, kRegenerationCodes.data(), kRegenerationCodes.size());
    checkCondition(found, "spell absorption", c.spellAbsorption, kSpellAbsorptionCodes.data(),
                   kSpellAbsorptionCodes.size());

    for (std::size_t i = 0; i < kAttributeCount; ++i)
        if (c.attributes[i] > 99)
            found.push_back(std::string(kAttributeNames[i]) + " is " + std::to_string(c.attributes[i]) +
                            ", over 99");
    if (c.hitPointsPerLevel > 999)
        found.push_back("hit points per level is " + std::to_string(c.hitPointsPerLevel) + ", over 999");
    if (c.advancementMultiplier < 0 || c.advancementMultiplier > 10 * 65536)
        found.push_back("multiplier " + multiplierText(c.advancementMultiplier) + " (" +
                        std::to_string(c.advancementMultiplier) + ") is outside 0 to 10");
    return found;
}

}  // namespace classcfg
}  // namespace kestrane
