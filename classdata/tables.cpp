#include "tables.h"

#include "captions.h"

namespace kestrane {

const std::array<const char*, kEffectCount> kEffectNames = {
    CAP_EFFECT_0, CAP_EFFECT_1, CAP_EFFECT_2, CAP_EFFECT_3, CAP_EFFECT_4, CAP_EFFECT_5, CAP_EFFECT_6};

const std::array<const char*, 5> kToleranceNames = {CAP_TOL_IMMUNE, CAP_TOL_RESIST, CAP_TOL_NORMAL, CAP_TOL_LOW,
                                                    CAP_TOL_CRITICAL};

const std::array<ToleranceByte, 4> kToleranceBytes = {{
    {&ClassData::immuneFlags, "immuneFlags", Tolerance::Immune, "Immunity", 10},
    {&ClassData::resistFlags, "resistFlags", Tolerance::Resist, "Resistance", 5},
    {&ClassData::lowToleranceFlags, "lowToleranceFlags", Tolerance::LowTolerance, "Low Tolerance", -5},
    {&ClassData::criticalWeaknessFlags, "criticalWeaknessFlags", Tolerance::Critical, "Critical Weakness", -14},
}};

const ToleranceByte* toleranceByte(Tolerance tolerance) {
    for (const ToleranceByte& t : kToleranceBytes)
        if (t.tolerance == tolerance) return &t;
    return nullptr;
}

unsigned toleranceSet(const ClassData& record, std::uint8_t effectMask) {
    unsigned set = 0;
    for (std::size_t t = 0; t < kToleranceBytes.size(); ++t)
        if (record.*kToleranceBytes[t].field & effectMask) set |= 1u << t;
    return set;
}

std::string toleranceNames(unsigned set) {
    std::string names;
    for (std::size_t t = 0; t < kToleranceBytes.size(); ++t)
        if (set & (1u << t))
            names += (names.empty() ? "" : ", ") + std::string(kToleranceNames[static_cast<int>(kToleranceBytes[t].tolerance)]);
    return names;
}

const std::array<BitName, 3> kTalents = {{{0x0001, CAP_TALENT_0}, {0x0002, CAP_TALENT_1}, {0x0004, CAP_TALENT_2}}};

const std::array<const char*, 6> kMageryNames = {CAP_MAGERY_0, CAP_MAGERY_1, CAP_MAGERY_2,
                                                 CAP_MAGERY_3, CAP_MAGERY_4, CAP_MAGERY_5};
const std::array<int, 6> kMageryPoints = {10, 8, 6, 4, 2, 0};

const std::array<AbilityBit, 10> kAbilityBits = {{
    {0x0001, CAP_TALENT_0, 1},
    {0x0002, CAP_TALENT_1, 4},
    {0x0004, CAP_TALENT_2, 4},
    {kNoSpellRegenBit, CAP_NO_SPELL_REGEN, -14},
    {kDamageSunlightBit, CAP_DAMAGE_SUN, -10},
    {kDamageHolyBit, CAP_DAMAGE_HOLY, -6},
    {kUnableInDarkBit, CAP_UNABLE_DARK, -14},
    {kReducedInDarkBit, CAP_REDUCED_DARK, -10},
    {kUnableInLightBit, CAP_UNABLE_LIGHT, -10},
    {kReducedInLightBit, CAP_REDUCED_LIGHT, -7},
}};

const std::array<CodeName, 4> kRapidHealingCodes = {{{kConditionNone, CAP_COND_NONE, 0},
                                                     {kConditionInLight, CAP_COND_LIGHT, 2},
                                                     {kConditionInDark, CAP_COND_DARK, 3},
                                                     {kConditionAlways, CAP_COND_ALWAYS, 4}}};
const std::array<CodeName, 5> kRegenerationCodes = {{{kConditionNone, CAP_COND_NONE, 0},
                                                     {kConditionInLight, CAP_COND_LIGHT, 6},
                                                     {kConditionInDark, CAP_COND_DARK, 10},
                                                     {kRegenerationInWater, CAP_COND_WATER, 2},
                                                     {kRegenerationAlways, CAP_COND_ALWAYS, 14}}};
const std::array<CodeName, 4> kSpellAbsorptionCodes = {{{kConditionNone, CAP_COND_NONE, 0},
                                                        {kConditionInLight, CAP_COND_LIGHT, 8},
                                                        {kConditionInDark, CAP_COND_DARK, 12},
                                                        {kConditionAlways, CAP_COND_ALWAYS, 14}}};

const std::array<const char*, kEnemyKindCount> kEnemyKinds = {CAP_ENEMY_0, CAP_ENEMY_1, CAP_ENEMY_2, CAP_ENEMY_3};
const std::array<int, kEnemyKindCount> kBonusToHitPoints = {6, 3, 6, 6};

const std::array<const char*, kMaterialCount> kMaterials = {CAP_MATERIAL_0, CAP_MATERIAL_1, CAP_MATERIAL_2,
                                                            CAP_MATERIAL_3, CAP_MATERIAL_4, CAP_MATERIAL_5,
                                                            CAP_MATERIAL_6, CAP_MATERIAL_7, CAP_MATERIAL_8,
                                                            CAP_MATERIAL_9};
// Iron, Steel, Silver, Elven, Dwarven, Mithril, Adamantium, Ebony, Orcish, Daedric
const std::array<int, kMaterialCount> kForbiddenMaterialPoints = {-1, -10, -6, -9, -7, -6, -5, -5, -3, -2};

const std::array<const char*, kWeaponGroupCount> kWeaponGroups = {CAP_WEAPON_0, CAP_WEAPON_1, CAP_WEAPON_2,
                                                                  CAP_WEAPON_3, CAP_WEAPON_4, CAP_WEAPON_5};

const std::array<EquipmentBit, 7> kArmorAndShields = {{
    {0x0040, CAP_ARMOR_LEATHER, false, -1},
    {0x0080, CAP_ARMOR_CHAIN, false, -2},
    {0x0100, CAP_ARMOR_PLATE, false, -5},
    {0x0200, CAP_SHIELD_BUCKLER, true, -1},
    {0x0400, CAP_SHIELD_ROUND, true, -1},
    {0x0800, CAP_SHIELD_KITE, true, -1},
    {0x1000, CAP_SHIELD_TOWER, true, -1},
}};

const std::array<const char*, kAttributeCount> kAttributeNames = {CAP_ATTR_0, CAP_ATTR_1, CAP_ATTR_2,
                                                                       CAP_ATTR_3, CAP_ATTR_4, CAP_ATTR_5,
                                                                       CAP_ATTR_6, CAP_ATTR_7};

const std::array<const char*, kSkillNameCount> SkillNames = {
    CAP_SKILL_0,  CAP_SKILL_1,  CAP_SKILL_2,  CAP_SKILL_3,  CAP_SKILL_4,  CAP_SKILL_5,  CAP_SKILL_6,
    CAP_SKILL_7,  CAP_SKILL_8,  CAP_SKILL_9,  CAP_SKILL_10, CAP_SKILL_11, CAP_SKILL_12, CAP_SKILL_13,
    CAP_SKILL_14, CAP_SKILL_15, CAP_SKILL_16, CAP_SKILL_17, CAP_SKILL_18, CAP_SKILL_19, CAP_SKILL_20,
    CAP_SKILL_21, CAP_SKILL_22, CAP_SKILL_23, CAP_SKILL_24, CAP_SKILL_25, CAP_SKILL_26, CAP_SKILL_27,
    CAP_SKILL_28, CAP_SKILL_29, CAP_SKILL_30, CAP_SKILL_31, CAP_SKILL_32, CAP_SKILL_33, CAP_SKILL_34};

}  // namespace kestrane
