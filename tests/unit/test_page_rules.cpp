// What the five pages' buttons share: each page changes only its own bits,
// bits no page shows survive every click, and the reused identifiers
// 3089-3094 mean each page's own control.
#include "class_record.h"
#include "magicka_rules.h"
#include "miscellaneous_rules.h"
#include "resistance_rules.h"
#include "tables.h"
#include "test_support.h"
#include "weapons_armor_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace kestrane;

namespace {

class PageRules : public FreshRecord {};

// The bits each page may change, as a record with those bits set.
ClassData resistanceBits() {
    ClassData c;
    c.immuneFlags = c.resistFlags = c.lowToleranceFlags = c.criticalWeaknessFlags = 0x7F;
    return c;
}
ClassData weaponsArmorBits() {
    ClassData c;
    c.forbiddenMaterials = 0x03FF;
    c.forbiddenEquipment = 0x1FFF;
    c.expertWeapons = 0x3F;
    return c;
}
ClassData magickaBits() {
    ClassData c;
    c.abilityFlags = 0x1FC8;
    c.spellAbsorption = 0xFF;
    return c;
}
ClassData miscellaneousBits() {
    ClassData c;
    c.abilityFlags = 0x0037;
    c.regeneration = c.rapidHealing = c.bonusPhobiaFlags = 0xFF;
    return c;
}

// The record's bytes with the bits of `owned` cleared.
std::array<std::uint8_t, kClassFileSize> outside(const ClassData& record, const ClassData& owned) {
    auto bytes = record.toBytes();
    const auto mask = owned.toBytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] &= static_cast<std::uint8_t>(~mask[i]);
    return bytes;
}

struct Page {
    const char* name;
    std::vector<int> buttons;
    std::function<bool(int, bool)> click;
    ClassData owned;
    bool (*shown)(const ClassData&, int);
};

std::vector<Page> pages() {
    return {
        {"Resistance", {kResistanceButtons.begin(), kResistanceButtons.end()},
         [](int id, bool) { return resistanceClicked(id); }, resistanceBits(), resistanceShown},
        {"WeaponsArmor", {kWeaponsArmorButtons.begin(), kWeaponsArmorButtons.end()},
         [](int id, bool) { return weaponsArmorClicked(id); }, weaponsArmorBits(), weaponsArmorShown},
        {"Magicka", {kMagickaButtons.begin(), kMagickaButtons.end()}, magickaClicked, magickaBits(), magickaShown},
        {"Miscellaneous", {kMiscellaneousButtons.begin(), kMiscellaneousButtons.end()}, miscellaneousClicked,
         miscellaneousBits(), miscellaneousShown},
    };
}

// A deterministic jumble of bytes for the whole record.
ClassData jumbledRecord(std::uint32_t seed) {
    std::array<std::uint8_t, kClassFileSize> bytes{};
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    ClassData c;
    c.fromBytes(bytes.data(), bytes.size());
    return c;
}

ClassData allOnes() {
    std::array<std::uint8_t, kClassFileSize> bytes;
    bytes.fill(0xFF);
    ClassData c;
    c.fromBytes(bytes.data(), bytes.size());
    return c;
}

}  // namespace

TEST_F(PageRules, EachPageChangesOnlyItsOwnBits) {
    std::vector<ClassData> starts = {ClassData{}, allOnes()};
    for (std::uint32_t seed = 1; seed <= 20; ++seed) starts.push_back(jumbledRecord(seed));
    for (const Page& page : pages()) {
        for (const ClassData& start : starts) {
            ClassRecord = start;
            const auto before = outside(ClassRecord, page.owned);
            bool checked = false;
            // Forwards and backwards, so each button acts on what the others left.
            for (int id : page.buttons) ASSERT_TRUE(page.click(id, checked = !checked)) << page.name << ' ' << id;
            for (auto it = page.buttons.rbegin(); it != page.buttons.rend(); ++it) page.click(*it, checked = !checked);
            EXPECT_EQ(outside(ClassRecord, page.owned), before) << page.name;
        }
    }
}

TEST_F(PageRules, UnusedBitsSurviveEveryClickOfEveryPage) {
    ClassRecord.immuneFlags = ClassRecord.resistFlags = kEffectUnusedMask;
    ClassRecord.lowToleranceFlags = ClassRecord.criticalWeaknessFlags = kEffectUnusedMask;
    ClassRecord.abilityFlags = kAbilityUnusedMask | 0x1800;  // and magery code 6
    ClassRecord.forbiddenMaterials = kMaterialUnusedMask;
    ClassRecord.expertWeapons = kExpertUnusedMask;
    ClassRecord.forbiddenEquipment = kEquipmentUnusedMask;
    ClassRecord.hiddenByte = 0xA5;
    ClassRecord.hiddenBlock = {1, 2, 3, 4, 5};

    bool checked = false;
    for (const Page& page : pages())
        for (int id : page.buttons) page.click(id, checked = !checked);

    EXPECT_EQ(ClassRecord.immuneFlags & 0x80, 0x80);
    EXPECT_EQ(ClassRecord.resistFlags & 0x80, 0x80);
    EXPECT_EQ(ClassRecord.lowToleranceFlags & 0x80, 0x80);
    EXPECT_EQ(ClassRecord.criticalWeaknessFlags & 0x80, 0x80);
    EXPECT_EQ(ClassRecord.abilityFlags & kAbilityUnusedMask, kAbilityUnusedMask);
    EXPECT_EQ(ClassRecord.forbiddenMaterials & kMaterialUnusedMask, kMaterialUnusedMask);
    EXPECT_EQ(ClassRecord.expertWeapons & kExpertUnusedMask, kExpertUnusedMask);
    EXPECT_EQ(ClassRecord.forbiddenEquipment & kEquipmentUnusedMask, kEquipmentUnusedMask);
    EXPECT_EQ(ClassRecord.hiddenByte, 0xA5);
    EXPECT_EQ(ClassRecord.hiddenBlock, (std::array<std::uint8_t, 5>{1, 2, 3, 4, 5}));
}

TEST_F(PageRules, EveryButtonOfEveryPageWritesWhatItShows) {
    // Clicked where it is not shown, on a zero record or one of all ones (one
    // of them has each button unchecked), a button changes the record so that
    // it is.
    for (const Page& page : pages()) {
        for (int id : page.buttons) {
            int tried = 0;
            for (const ClassData& start : {ClassData{}, allOnes()}) {
                if (page.shown(start, id)) continue;
                ++tried;
                ClassRecord = start;
                page.click(id, true);
                EXPECT_NE(ClassRecord.toBytes(), start.toBytes()) << page.name << ' ' << id;
                EXPECT_TRUE(page.shown(ClassRecord, id)) << page.name << ' ' << id;
            }
            EXPECT_GT(tried, 0) << page.name << ' ' << id;
        }
    }
}

TEST_F(PageRules, ReusedIdentifiersMeanEachPagesOwnControl) {
    // 3089: Paralysis Normal, Short Blades Normal, light Normal, regeneration None.
    ClassRecord = allOnes();
    resistanceClicked(3089);
    EXPECT_EQ(ClassRecord.immuneFlags, 0xFE);
    EXPECT_EQ(ClassRecord.forbiddenEquipment, 0xFFFF);
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFFFF);
    EXPECT_EQ(ClassRecord.regeneration, 0xFF);

    weaponsArmorClicked(3089);
    EXPECT_EQ(ClassRecord.forbiddenEquipment, 0xFFFE);
    EXPECT_EQ(ClassRecord.expertWeapons, 0xFE);
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFFFF);

    magickaClicked(3089, false);
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFCFF);
    EXPECT_EQ(ClassRecord.regeneration, 0xFF);

    miscellaneousClicked(3089, false);
    EXPECT_EQ(ClassRecord.regeneration, 0x00);
    EXPECT_EQ(ClassRecord.abilityFlags, 0xFCFF);

    // 3091: Poison Normal, Hand to Hand Normal, absorption None, Undead Normal.
    ClassRecord = allOnes();
    magickaClicked(3091, false);
    EXPECT_EQ(ClassRecord.spellAbsorption, 0x00);
    EXPECT_EQ(ClassRecord.bonusPhobiaFlags, 0xFF);
    miscellaneousClicked(3091, false);
    EXPECT_EQ(ClassRecord.bonusPhobiaFlags, 0xEE);
    EXPECT_EQ(ClassRecord.expertWeapons, 0xFF);
    weaponsArmorClicked(3091);
    EXPECT_EQ(ClassRecord.expertWeapons, 0xFB);
    EXPECT_EQ(ClassRecord.resistFlags, 0xFF);
    resistanceClicked(3091);
    EXPECT_EQ(ClassRecord.resistFlags, 0xFB);
}

TEST_F(PageRules, ShowingReadsTheRecordPassedNotTheGlobalOne) {
    ClassData shown;
    shown.immuneFlags = 0x01;
    shown.expertWeapons = 0x01;
    shown.abilityFlags = 0x0301;
    shown.regeneration = 0x01;
    EXPECT_TRUE(resistanceShown(shown, 3075));
    EXPECT_TRUE(weaponsArmorShown(shown, 3227));
    EXPECT_TRUE(magickaShown(shown, 3239));
    EXPECT_TRUE(miscellaneousShown(shown, 3254));
    EXPECT_TRUE(miscellaneousShown(shown, 3248));
    // The global record is all zeros, so it would show the opposite.
    EXPECT_FALSE(resistanceShown(ClassRecord, 3075));
    EXPECT_FALSE(magickaShown(ClassRecord, 3239));
}
