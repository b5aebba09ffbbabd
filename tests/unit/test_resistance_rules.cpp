// The Resistance and Weakness page: one tolerance per effect in four bytes.
#include "class_record.h"
#include "resistance_rules.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>

using namespace kestrane;

namespace {

class ResistanceRules : public FreshRecord {};

// The buttons of row r, in the order Immune, Resist, Normal, Low Tol., Critical.
std::array<int, 5> row(int r) { return {3075 + r, 3082 + r, 3089 + r, 3096 + r, 3103 + r}; }

// Bit r of immuneFlags, resistFlags, lowToleranceFlags, criticalWeaknessFlags.
std::array<int, 4> rowBits(const ClassData& c, int r) {
    return {(c.immuneFlags >> r) & 1, (c.resistFlags >> r) & 1, (c.lowToleranceFlags >> r) & 1,
            (c.criticalWeaknessFlags >> r) & 1};
}

void setAllTolerances(std::uint8_t v) {
    ClassRecord.immuneFlags = ClassRecord.resistFlags = v;
    ClassRecord.lowToleranceFlags = ClassRecord.criticalWeaknessFlags = v;
}

}  // namespace

TEST_F(ResistanceRules, EachRoutineLeavesTheBitInItsOwnByteOnly) {
    struct Case {
        void (*routine)(std::uint8_t);
        std::array<int, 4> bits;
    };
    const Case cases[] = {
        {setEffectImmune, {1, 0, 0, 0}},       {setEffectResist, {0, 1, 0, 0}},
        {setEffectNormal, {0, 0, 0, 0}},       {setEffectLowTolerance, {0, 0, 1, 0}},
        {setEffectCritical, {0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        for (int r = 0; r < 7; ++r) {
            for (std::uint8_t start : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
                setAllTolerances(start);
                c.routine(static_cast<std::uint8_t>(1u << r));
                EXPECT_EQ(rowBits(ClassRecord, r), c.bits) << "row " << r;
                // Every other bit of the four bytes, bit 7 included, is as it was.
                const std::uint8_t others = static_cast<std::uint8_t>(~(1u << r));
                EXPECT_EQ(ClassRecord.immuneFlags & others, start & others);
                EXPECT_EQ(ClassRecord.resistFlags & others, start & others);
                EXPECT_EQ(ClassRecord.lowToleranceFlags & others, start & others);
                EXPECT_EQ(ClassRecord.criticalWeaknessFlags & others, start & others);
            }
        }
    }
}

TEST_F(ResistanceRules, ResistInTheShockRow) {
    setAllTolerances(0x20);
    ClassRecord.immuneFlags = 0xA1;  // bit 5 and others
    EXPECT_TRUE(resistanceClicked(3082 + 5));
    EXPECT_EQ(ClassRecord.resistFlags, 0x20);
    EXPECT_EQ(ClassRecord.immuneFlags, 0x81);
    EXPECT_EQ(ClassRecord.lowToleranceFlags, 0x00);
    EXPECT_EQ(ClassRecord.criticalWeaknessFlags, 0x00);
}

TEST_F(ResistanceRules, ARowHoldingTwoTolerancesShowsBoth) {
    ClassRecord.immuneFlags = 0x08;  // Fire
    ClassRecord.resistFlags = 0x08;
    const auto fire = row(3);
    EXPECT_TRUE(resistanceShown(ClassRecord, fire[0]));
    EXPECT_TRUE(resistanceShown(ClassRecord, fire[1]));
    EXPECT_FALSE(resistanceShown(ClassRecord, fire[2]));
    EXPECT_FALSE(resistanceShown(ClassRecord, fire[3]));
    EXPECT_FALSE(resistanceShown(ClassRecord, fire[4]));

    resistanceClicked(fire[3]);  // Low Tol.
    EXPECT_EQ(rowBits(ClassRecord, 3), (std::array<int, 4>{0, 0, 1, 0}));
}

TEST_F(ResistanceRules, AClickCollapsesItsRowToTheClickedButton) {
    for (int r = 0; r < 7; ++r) {
        for (int b = 0; b < 5; ++b) {
            setAllTolerances(0xFF);  // every tolerance at once, which no click produces
            ASSERT_TRUE(resistanceClicked(row(r)[b]));
            for (int other = 0; other < 5; ++other)
                EXPECT_EQ(resistanceShown(ClassRecord, row(r)[other]), other == b)
                    << "row " << r << " clicked " << b << " shows " << other;
            // The other rows still show all four tolerances and not Normal.
            for (int r2 = 0; r2 < 7; ++r2) {
                if (r2 == r) continue;
                EXPECT_TRUE(resistanceShown(ClassRecord, row(r2)[0]));
                EXPECT_FALSE(resistanceShown(ClassRecord, row(r2)[2]));
            }
        }
    }
}

TEST_F(ResistanceRules, AZeroRecordShowsNormalEverywhere) {
    for (int r = 0; r < 7; ++r)
        for (int b = 0; b < 5; ++b) EXPECT_EQ(resistanceShown(ClassRecord, row(r)[b]), b == 2) << r << ' ' << b;
}

TEST_F(ResistanceRules, ShowingIgnoresBitSeven) {
    setAllTolerances(0x80);
    for (int r = 0; r < 7; ++r) EXPECT_TRUE(resistanceShown(ClassRecord, row(r)[2]));
}

TEST_F(ResistanceRules, ASecondClickChangesNoByte) {
    for (int id : kResistanceButtons) {
        resistanceClicked(id);
        const auto before = ClassRecord.toBytes();
        resistanceClicked(id);  // the already-checked button again
        EXPECT_EQ(ClassRecord.toBytes(), before) << id;
    }
}

TEST_F(ResistanceRules, ButtonListIsTheFillOrderOfAllThirtyFive) {
    EXPECT_EQ(std::set<int>(kResistanceButtons.begin(), kResistanceButtons.end()).size(), 35u);
    EXPECT_EQ(*std::min_element(kResistanceButtons.begin(), kResistanceButtons.end()), 3075);
    EXPECT_EQ(*std::max_element(kResistanceButtons.begin(), kResistanceButtons.end()), 3109);
    // Row 0 is filled Immune, Resist, Low Tol., Critical, then Normal.
    EXPECT_EQ((std::array<int, 5>{kResistanceButtons[0], kResistanceButtons[1], kResistanceButtons[2],
                                  kResistanceButtons[3], kResistanceButtons[4]}),
              (std::array<int, 5>{3075, 3082, 3096, 3103, 3089}));
}

TEST_F(ResistanceRules, ForeignIdentifiersAreNotThisPagesButtons) {
    setAllTolerances(0x55);
    const auto before = ClassRecord.toBytes();
    for (int id : {3074, 3110, 3186, 3220, 3233, 57601, -1}) {
        EXPECT_FALSE(resistanceClicked(id)) << id;
        EXPECT_FALSE(resistanceShown(ClassRecord, id)) << id;
    }
    EXPECT_EQ(ClassRecord.toBytes(), before);
}

TEST_F(ResistanceRules, ShowingDoesNotTouchTheRecord) {
    setAllTolerances(0x3C);
    const auto before = ClassRecord.toBytes();
    for (int id : kResistanceButtons) resistanceShown(ClassRecord, id);
    EXPECT_EQ(ClassRecord.toBytes(), before);
}
