// The Weapons and Armor page: materials, armor, shields and weapon groups.
#include "class_record.h"
#include "findings.h"
#include "test_support.h"
#include "weapons_armor_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <utility>

using namespace kestrane;

namespace {

class WeaponsArmorRules : public FreshRecord {};

// Group i's buttons: Forbidden, Normal, Expert.
std::array<int, 3> group(int i) { return {3220 + i, 3089 + i, 3227 + i}; }

// (forbiddenEquipment bit i, expertWeapons bit i)
std::pair<int, int> pair(const ClassData& c, int i) {
    return {(c.forbiddenEquipment >> i) & 1, (c.expertWeapons >> i) & 1};
}

}  // namespace

TEST_F(WeaponsArmorRules, MaterialBoxesEachInvertTheirOwnBit) {
    for (int k = 0; k < 10; ++k) {
        ClassRecord.forbiddenMaterials = 0;
        ASSERT_TRUE(weaponsArmorClicked(3203 + k));
        EXPECT_EQ(ClassRecord.forbiddenMaterials, 1u << k) << k;
        EXPECT_TRUE(weaponsArmorShown(ClassRecord, 3203 + k));
        weaponsArmorClicked(3203 + k);
        EXPECT_EQ(ClassRecord.forbiddenMaterials, 0) << k;
        EXPECT_FALSE(weaponsArmorShown(ClassRecord, 3203 + k));
    }
}

TEST_F(WeaponsArmorRules, ArmorAndShieldBoxesInvertBitsSixToTwelve) {
    const std::pair<int, std::uint16_t> boxes[] = {{3213, 0x0040}, {3214, 0x0080}, {3215, 0x0100}, {3216, 0x0200},
                                                   {3217, 0x0400}, {3218, 0x0800}, {3219, 0x1000}};
    for (const auto& [id, mask] : boxes) {
        ClassRecord.forbiddenEquipment = 0x003F;  // every weapon group forbidden
        weaponsArmorClicked(id);
        EXPECT_EQ(ClassRecord.forbiddenEquipment, 0x003F | mask) << id;
        EXPECT_TRUE(weaponsArmorShown(ClassRecord, id));
    }
}

TEST_F(WeaponsArmorRules, TwoClicksOnABoxRestoreTheField) {
    ClassRecord.forbiddenMaterials = 0xA5A5;
    ClassRecord.forbiddenEquipment = 0x5A5A;
    for (int id : {3203, 3207, 3212, 3213, 3216, 3219}) {
        weaponsArmorClicked(id);
        weaponsArmorClicked(id);
    }
    EXPECT_EQ(ClassRecord.forbiddenMaterials, 0xA5A5);
    EXPECT_EQ(ClassRecord.forbiddenEquipment, 0x5A5A);
}

TEST_F(WeaponsArmorRules, LeatherLeavesTheWeaponGroupsAndShortBladesTheArmor) {
    ClassRecord.forbiddenEquipment = 0x0015;
    weaponsArmorClicked(3213);  // Leather
    EXPECT_EQ(ClassRecord.forbiddenEquipment, 0x0055);

    ClassRecord.forbiddenEquipment = 0x1FC0;  // all armor and shields
    ClassRecord.expertWeapons = 0x01;
    weaponsArmorClicked(3220);  // Forbidden, Short Blades
    EXPECT_EQ(ClassRecord.forbiddenEquipment, 0x1FC1);
    EXPECT_EQ(ClassRecord.expertWeapons, 0x00);
}

TEST_F(WeaponsArmorRules, WeaponGroupStatesAreExclusivePairs) {
    for (int i = 0; i < 6; ++i) {
        ClassRecord.expertWeapons = static_cast<std::uint8_t>(1u << i);
        weaponsArmorClicked(group(i)[0]);
        EXPECT_EQ(pair(ClassRecord, i), std::make_pair(1, 0)) << "Forbidden after Expert, group " << i;
        weaponsArmorClicked(group(i)[2]);
        EXPECT_EQ(pair(ClassRecord, i), std::make_pair(0, 1)) << "Expert after Forbidden, group " << i;
        weaponsArmorClicked(group(i)[1]);
        EXPECT_EQ(pair(ClassRecord, i), std::make_pair(0, 0)) << "Normal, group " << i;
    }
}

TEST_F(WeaponsArmorRules, APairOfOneOneShowsBothAndCollapsesOnAClick) {
    for (int i = 0; i < 6; ++i) {
        for (int b = 0; b < 3; ++b) {
            ClassRecord.forbiddenEquipment = 0x003F;
            ClassRecord.expertWeapons = 0x3F;
            EXPECT_TRUE(weaponsArmorShown(ClassRecord, group(i)[0]));
            EXPECT_FALSE(weaponsArmorShown(ClassRecord, group(i)[1]));
            EXPECT_TRUE(weaponsArmorShown(ClassRecord, group(i)[2]));
            // With the expert bit set the forbidden bit shows on the row's
            // Forbidden alone, and on nothing of another row or of the armor.
            const Spot forbidden{"forbiddenEquipment", 1u << i};
            EXPECT_EQ(showsSpot(ClassRecord, forbidden, &weaponsArmorShown, group(i)[b]), b == 0);
            EXPECT_FALSE(showsSpot(ClassRecord, forbidden, &weaponsArmorShown, group((i + 1) % 6)[b]));
            EXPECT_FALSE(showsSpot(ClassRecord, forbidden, &weaponsArmorShown, 3213 + b));  // Leather, Chain, Plate

            weaponsArmorClicked(group(i)[b]);
            for (int other = 0; other < 3; ++other)
                EXPECT_EQ(weaponsArmorShown(ClassRecord, group(i)[other]), other == b) << i << ' ' << b;
            // The other groups keep their (1, 1).
            for (int j = 0; j < 6; ++j) {
                if (j == i) continue;
                EXPECT_EQ(pair(ClassRecord, j), std::make_pair(1, 1)) << j;
            }
        }
    }
}

TEST_F(WeaponsArmorRules, WeaponRoutinesApplyTheLowByteToExpertWeapons) {
    ClassRecord.expertWeapons = 0xFF;
    ClassRecord.forbiddenEquipment = 0x0000;
    setWeaponForbidden(0x0101);
    EXPECT_EQ(ClassRecord.forbiddenEquipment, 0x0101);
    EXPECT_EQ(ClassRecord.expertWeapons, 0xFE);
    setWeaponExpert(0x0102);
    EXPECT_EQ(ClassRecord.forbiddenEquipment, 0x0001);
    EXPECT_EQ(ClassRecord.expertWeapons, 0xFE);
    setWeaponNormal(0x0202);
    EXPECT_EQ(ClassRecord.expertWeapons, 0xFC);
}

TEST_F(WeaponsArmorRules, AZeroRecordShowsEveryGroupNormalAndNothingForbidden) {
    for (int id : kWeaponsArmorButtons) {
        const bool isNormal = id >= 3089 && id <= 3094;
        EXPECT_EQ(weaponsArmorShown(ClassRecord, id), isNormal) << id;
    }
}

TEST_F(WeaponsArmorRules, ASecondClickOnARadioButtonChangesNoByte) {
    for (int i = 0; i < 6; ++i) {
        for (int id : group(i)) {
            weaponsArmorClicked(id);
            const auto before = ClassRecord.toBytes();
            weaponsArmorClicked(id);
            EXPECT_EQ(ClassRecord.toBytes(), before) << id;
        }
    }
}

TEST_F(WeaponsArmorRules, ButtonListIsTheFillOrderOfAllThirtyFive) {
    std::set<int> expected;
    for (int id = 3203; id <= 3225; ++id) expected.insert(id);
    for (int id = 3227; id <= 3232; ++id) expected.insert(id);
    for (int id = 3089; id <= 3094; ++id) expected.insert(id);
    EXPECT_EQ(std::set<int>(kWeaponsArmorButtons.begin(), kWeaponsArmorButtons.end()), expected);
    EXPECT_EQ(kWeaponsArmorButtons[0], 3203);
    EXPECT_EQ(kWeaponsArmorButtons[10], 3220);
    EXPECT_EQ(kWeaponsArmorButtons[11], 3227);
    EXPECT_EQ(kWeaponsArmorButtons[12], 3089);
    EXPECT_EQ(kWeaponsArmorButtons[34], 3219);
}

TEST_F(WeaponsArmorRules, ForeignIdentifiersAreNotThisPagesButtons) {
    ClassRecord.forbiddenEquipment = 0xFFFF;
    ClassRecord.forbiddenMaterials = 0xFFFF;
    ClassRecord.expertWeapons = 0xFF;
    const auto before = ClassRecord.toBytes();
    for (int id : {3095, 3202, 3226, 3233, 3075, 3186, 11}) {
        EXPECT_FALSE(weaponsArmorClicked(id)) << id;
        EXPECT_FALSE(weaponsArmorShown(ClassRecord, id)) << id;
    }
    EXPECT_EQ(ClassRecord.toBytes(), before);
}
