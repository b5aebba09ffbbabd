// The JSON form: the facts of the text form with JSON types (numbers,
// booleans, lists), written by nlohmann/json.
#include "classcfg.h"
#include "text_form.h"

// The cross build sees only nlohmann's own directory (see CMakeLists.txt).
#include <nlohmann/json.hpp>

namespace kestrane {
namespace classcfg {

namespace {

using Json = nlohmann::ordered_json;

// Name bytes as the characters of the same numbers (Latin-1), so every byte
// value, control bytes included, survives as a JSON string.
std::string latin1ToUtf8(const std::string& bytes) {
    std::string out;
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

Json states(unsigned set, const std::vector<const char*>& names) {
    Json a = Json::array();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (set & (1u << i)) a.push_back(names[i]);
    if (a.empty()) a.push_back("Normal");
    return a;
}

Json condition(const CodeName* codes, std::size_t n, std::uint8_t v) {
    const char* name = conditionName(codes, n, v);
    return name ? Json(name) : Json(v);
}

Json byteList(const std::uint8_t* p, std::size_t n) {
    Json a = Json::array();
    for (std::size_t i = 0; i < n; ++i) a.push_back(p[i]);
    return a;
}

}  // namespace

std::string dumpJson(const std::vector<std::uint8_t>& fileBytes, const std::string& fileName) {
    const ClassData c = recordOf(fileBytes);
    Json j;
    if (!fileName.empty()) j["file"] = fileName;
    j["fileSize"] = fileBytes.size();
    j["name"] = latin1ToUtf8(c.nameText());
    std::vector<std::uint8_t> tail = nameTail(c);
    j["nameTail"] = byteList(tail.data(), tail.size());
    j["attributes"] = Json::object();
    for (std::size_t i = 0; i < kAttributeCount; ++i) j["attributes"][kAttributeNames[i]] = c.attributes[i];
    j["hitPointsPerLevel"] = c.hitPointsPerLevel;
    j["multiplier"] = {{"value", c.advancementMultiplier / 65536.0},
                       {"shown", multiplierText(c.advancementMultiplier)},
                       {"fixed", c.advancementMultiplier}};
    Json skills = Json::object();
    const char* groups[] = {"primary", "major", "minor"};
    const std::size_t first[] = {0, 3, 6}, count[] = {3, 3, 6};
    for (int g = 0; g < 3; ++g) {
        Json a = Json::array();
        for (std::size_t i = first[g]; i < first[g] + count[g]; ++i) {
            if (c.skills[i] < SkillNames.size())
                a.push_back(SkillNames[c.skills[i]]);
            else
                a.push_back(c.skills[i]);
        }
        skills[groups[g]] = a;
    }
    j["skills"] = skills;

    const std::vector<const char*> tolNames = {
        kToleranceNames[static_cast<int>(Tolerance::Immune)], kToleranceNames[static_cast<int>(Tolerance::Resist)],
        kToleranceNames[static_cast<int>(Tolerance::LowTolerance)],
        kToleranceNames[static_cast<int>(Tolerance::Critical)]};
    auto tolerances = [&c](unsigned bit) {
        return ((c.immuneFlags & bit) ? 1u : 0u) | ((c.resistFlags & bit) ? 2u : 0u) |
               ((c.lowToleranceFlags & bit) ? 4u : 0u) | ((c.criticalWeaknessFlags & bit) ? 8u : 0u);
    };
    Json effects = Json::object();
    for (int r = 0; r < kEffectCount; ++r) effects[kEffectNames[r]] = states(tolerances(1u << r), tolNames);
    j["tolerances"] = effects;

    Json weapons = Json::object();
    for (int i = 0; i < kWeaponGroupCount; ++i) {
        unsigned bit = 1u << i;
        weapons[kWeaponGroups[i]] = states(((c.forbiddenEquipment & bit) ? 1u : 0u) | ((c.expertWeapons & bit) ? 2u : 0u),
                                           {"Forbidden", "Expert"});
    }
    j["weapons"] = weapons;
    Json mats = Json::array(), armor = Json::array(), shields = Json::array();
    for (int i = 0; i < kMaterialCount; ++i)
        if (c.forbiddenMaterials & (1u << i)) mats.push_back(kMaterials[i]);
    for (const EquipmentBit& e : kArmorAndShields)
        if (c.forbiddenEquipment & e.mask) (e.shield ? shields : armor).push_back(e.name);
    j["forbiddenMaterials"] = mats;
    j["forbiddenArmor"] = armor;
    j["forbiddenShields"] = shields;

    unsigned magery = (c.abilityFlags & kMageryMask) >> kMageryShift;
    j["increasedMagery"] = magery < kMageryNames.size() ? Json(kMageryNames[magery]) : Json(magery);
    j["spellAbsorption"] = condition(kSpellAbsorptionCodes.data(), kSpellAbsorptionCodes.size(), c.spellAbsorption);
    j["unableToRegenerateSpellPoints"] = (c.abilityFlags & kNoSpellRegenBit) != 0;
    auto pair = [&c](std::uint16_t a, std::uint16_t b) {
        const char *na = "", *nb = "";
        for (const BitName& n : kAbilityBits) {
            if (n.mask == a) na = n.name;
            if (n.mask == b) nb = n.name;
        }
        return states(((c.abilityFlags & a) ? 1u : 0u) | ((c.abilityFlags & b) ? 2u : 0u), {na, nb});
    };
    j["lightPoweredMagery"] = pair(kUnableInDarkBit, kReducedInDarkBit);
    j["darknessPoweredMagery"] = pair(kUnableInLightBit, kReducedInLightBit);

    j["rapidHealing"] = condition(kRapidHealingCodes.data(), kRapidHealingCodes.size(), c.rapidHealing);
    j["regeneration"] = condition(kRegenerationCodes.data(), kRegenerationCodes.size(), c.regeneration);
    Json talents = Json::array();
    for (const BitName& t : kTalents)
        if (c.abilityFlags & t.mask) talents.push_back(t.name);
    j["talents"] = talents;
    j["damageFromSunlight"] = (c.abilityFlags & kDamageSunlightBit) != 0;
    j["damageFromHolyPlaces"] = (c.abilityFlags & kDamageHolyBit) != 0;
    Json enemies = Json::object();
    for (int i = 0; i < kEnemyKindCount; ++i)
        enemies[kEnemyKinds[i]] = states(((c.bonusPhobiaFlags >> i) & 1u) | (((c.bonusPhobiaFlags >> (i + 4)) & 1u) << 1),
                                         {"Bonus", "Phobia"});
    j["enemies"] = enemies;

    Json kept = Json::object();
    kept["hiddenByte"] = c.hiddenByte;
    kept["hiddenBlock"] = byteList(c.hiddenBlock.data(), c.hiddenBlock.size());
    Json bit7 = Json::array();
    for (std::size_t t = 0; t < tolNames.size(); ++t)
        if (tolerances(kEffectUnusedMask) & (1u << t)) bit7.push_back(tolNames[t]);
    kept["effectBit7"] = bit7;
    kept["abilityBits13to15"] = c.abilityFlags & kAbilityUnusedMask;
    kept["materialBits10to15"] = c.forbiddenMaterials & kMaterialUnusedMask;
    kept["expertWeaponBits6to7"] = c.expertWeapons & kExpertUnusedMask;
    kept["equipmentBits13to15"] = c.forbiddenEquipment & kEquipmentUnusedMask;
    j["keptAsRead"] = kept;

    std::array<std::uint8_t, kClassFileSize> bytes = c.toBytes();
    j["bytes"] = hexBytes(bytes.data(), bytes.size());
    if (fileBytes.size() > kClassFileSize)
        j["bytesPast74"] = byteList(fileBytes.data() + kClassFileSize, fileBytes.size() - kClassFileSize);
    // A file name that is not UTF-8 (possible on Linux) must not stop the dump.
    return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace classcfg
}  // namespace kestrane
