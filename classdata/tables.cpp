#include "tables.h"

#include "captions.h"

namespace kestrane {

const std::array<const char*, kEffectCount> kEffectNames = {
    CAP_EFFECT_0, CAP_EFFECT_1, CAP_EFFECT_2, CAP_EFFECT_3, CAP_EFFECT_4, CAP_EFFECT_5, CAP_EFFECT_6};

const std::array<const char*, 5> kToleranceNames = {CAP_TOL_IMMUNE, CAP_TOL_RESIST, CAP_TOL_NORMAL, CAP_TOL_LOW,
                                                    CAP_TOL_CRITICAL};

const std::array<ToleranceByte, 4> kToleranceBytes = {{
    {&ClassData::immuneFlags, Tolerance::Immune},
    {&ClassData::resistFlags, Tolerance::Resist},
    {&ClassData::lowToleranceFlags, Tolerance::LowTolerance},
    {&ClassData::criticalWeaknessFlags, Tolerance::Critical},
}};

unsigned toleranceSet(const ClassData& record, std::uint8_t effectMask) {
    unsigned set = 0;
    for (std::size_t t = 0; t < kToleranceBytes.size(); ++t)
        if (record.*kToleranceBytes[t].field & effectMask) set |= 1u << t;
    return set;
}

const std::array<BitName, 3> kTalents = {{{0x0001, CAP_TALENT_0}, {0x0002, CAP_TALENT_1}, {0x0004, CAP_TALENT_2}}};

const std::array<const char*, 6> kMageryNames = {CAP_MAGERY_0, CAP_MAGERY_1, CAP_MAGERY_2,
                                                 CAP_MAGERY_3, CAP_MAGERY_4, CAP_MAGERY_5};

const std::array<BitName, 10> kAbilityBits = {{
    {0x0001, CAP_TALENT_0},
    {0x0002, CAP_TALENT_1},
    {0x0004, CAP_TALENT_2},
    {kNoSpellRegenBit, CAP_NO_SPELL_REGEN},
    {kDamageSunlightBit, CAP_DAMAGE_SUN},
    {kDamageHolyBit, CAP_DAMAGE_HOLY},
    {kUnableInDarkBit, CAP_UNABLE_DARK},
    {kReducedInDarkBit, CAP_REDUCED_DARK},
    {kUnableInLightBit, CAP_UNABLE_LIGHT},
    {kReducedInLightBit, CAP_REDUCED_LIGHT},
}};

const std::array<CodeName, 4> kRapidHealingCodes = {
    {{0, CAP_COND_NONE}, {1, CAP_COND_LIGHT}, {2, CAP_COND_DARK}, {4, CAP_COND_ALWAYS}}};
const std::array<CodeName, 5> kRegenerationCodes = {
    {{0, CAP_COND_NONE}, {1, CAP_COND_LIGHT}, {2, CAP_COND_DARK}, {4, CAP_COND_WATER}, {8, CAP_COND_ALWAYS}}};
const std::array<CodeName, 4> kSpellAbsorptionCodes = {
    {{0, CAP_COND_NONE}, {1, CAP_COND_LIGHT}, {2, CAP_COND_DARK}, {4, CAP_COND_ALWAYS}}};

const std::array<const char*, kEnemyKindCount> kEnemyKinds = {CAP_ENEMY_0, CAP_ENEMY_1, CAP_ENEMY_2, CAP_ENEMY_3};

const std::array<const char*, kMaterialCount> kMaterials = {CAP_MATERIAL_0, CAP_MATERIAL_1, CAP_MATERIAL_2,
                                                            CAP_MATERIAL_3, CAP_MATERIAL_4, CAP_MATERIAL_5,
                                                            CAP_MATERIAL_6, CAP_MATERIAL_7, CAP_MATERIAL_8,
                                                            CAP_MATERIAL_9};

const std::array<const char*, kWeaponGroupCount> kWeaponGroups = {CAP_WEAPON_0, CAP_WEAPON_1, CAP_WEAPON_2,
                                                                  CAP_WEAPON_3, CAP_WEAPON_4, CAP_WEAPON_5};

const std::array<EquipmentBit, 7> kArmorAndShields = {{
    {0x0040, CAP_ARMOR_LEATHER, false},
    {0x0080, CAP_ARMOR_CHAIN, false},
    {0x0100, CAP_ARMOR_PLATE, false},
    {0x0200, CAP_SHIELD_BUCKLER, true},
    {0x0400, CAP_SHIELD_ROUND, true},
    {0x0800, CAP_SHIELD_KITE, true},
    {0x1000, CAP_SHIELD_TOWER, true},
}};

const std::array<const char*, kAttributeCountNamed> kAttributeNames = {CAP_ATTR_0, CAP_ATTR_1, CAP_ATTR_2,
                                                                       CAP_ATTR_3, CAP_ATTR_4, CAP_ATTR_5,
                                                                       CAP_ATTR_6, CAP_ATTR_7};

const std::array<const char*, kSkillNameCount> SkillNames = {
    CAP_SKILL_0,  CAP_SKILL_1,  CAP_SKILL_2,  CAP_SKILL_3,  CAP_SKILL_4,  CAP_SKILL_5,  CAP_SKILL_6,
    CAP_SKILL_7,  CAP_SKILL_8,  CAP_SKILL_9,  CAP_SKILL_10, CAP_SKILL_11, CAP_SKILL_12, CAP_SKILL_13,
    CAP_SKILL_14, CAP_SKILL_15, CAP_SKILL_16, CAP_SKILL_17, CAP_SKILL_18, CAP_SKILL_19, CAP_SKILL_20,
    CAP_SKILL_21, CAP_SKILL_22, CAP_SKILL_23, CAP_SKILL_24, CAP_SKILL_25, CAP_SKILL_26, CAP_SKILL_27,
    CAP_SKILL_28, CAP_SKILL_29, CAP_SKILL_30, CAP_SKILL_31, CAP_SKILL_32, CAP_SKILL_33, CAP_SKILL_34};

}  // namespace kestrane
