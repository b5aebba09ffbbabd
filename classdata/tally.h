// The class maker's tally: what the game's own custom-class screen would
// charge for a class. It adds up points for the hit points per level and for
// each special advantage (+) and disadvantage (-), and turns the total into
// the advancement multiplier it would give. The costs are beside the bit
// tables in tables.cpp.
//
// This is the maker's price, not a rule: the game reads any class file
// whatever its multiplier, and a file edited by hand can hold what no maker
// entry gives (those are named in `beyondMaker` and cost nothing).
#ifndef KESTRANE_TALLY_H
#define KESTRANE_TALLY_H

#include "basic_numbers.h"
#include "class_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrane {

// What the maker accepts (CreateCharCustomClass.cs: hit points and the
// total; CreateCharSpecialAdvantageWindow.cs: entries a list; StatsRollout.cs
// in its free edit: attributes).
constexpr int kMakerMinPoints = -12;
constexpr int kMakerMaxPoints = 40;
constexpr unsigned kMakerMinHitPoints = 4;
constexpr unsigned kMakerMaxHitPoints = 30;
constexpr int kMakerMaxEntries = 7;  // advantages, and separately disadvantages
constexpr unsigned kMakerMinAttribute = 10;
constexpr unsigned kMakerMaxAttribute = 75;

// Each of those limits, tested here alone for the tally and the findings.
constexpr bool makerTakesPoints(int total) { return total >= kMakerMinPoints && total <= kMakerMaxPoints; }
constexpr bool makerTakesHitPoints(unsigned hitPoints) {
    return hitPoints >= kMakerMinHitPoints && hitPoints <= kMakerMaxHitPoints;
}
constexpr bool makerTakesEntries(int count) { return count <= kMakerMaxEntries; }
constexpr bool makerTakesAttribute(unsigned value) {
    return value >= kMakerMinAttribute && value <= kMakerMaxAttribute;
}

struct TallyItem {
    std::string name;  // e.g. "Resistance: Fire"
    int points;
};

struct ClassTally {
    std::vector<TallyItem> items;  // the advantages and disadvantages, in page order
    int hitPointPoints = 0;
    int total = 0;  // hitPointPoints and every item
    int advantages = 0;
    int disadvantages = 0;
    // The maker's formula for `total`, not held to its range.
    double makerMultiplier = 0;
    // What the maker could not produce, in words, e.g. "Poison has more than
    // one tolerance (Immune, Critical)"; empty when it could.
    std::vector<std::string> beyondMaker;
};

ClassTally tallyClass(const ClassData& record);

// 0.3 + 2.7 x (points + 12) / 52: 0.30 at -12 points, 3.00 at 40.
double makerMultiplierFor(int points);
// Points for the hit points per level: h - 8 from 8 up, -2 x (8 - h) below.
int hitPointPoints(unsigned hitPoints);

// One row of the itemised reckoning, as the Check box and `classcfg tally`
// list it: the points of the hit points, of each item and of the total, or a
// row without points (what the maker could not produce, the summary).
struct TallyLine {
    enum class Kind { Points, NotFromMaker, Summary };
    Kind kind;
    int points;  // for Kind::Points
    std::string text;
};
// The hit points ("hit points per level 12"), each item, the total ("total: 6
// advantages, 3 disadvantages"), each "not from the maker: ..." and the
// summary ("Class maker: 2.01 (21 points); the file has 1.25"), in that order.
std::vector<TallyLine> tallyLines(const ClassData& record, const ClassTally& tally);

// The 16.16 value that typing the two-decimal text of `multiplier` into the
// editor stores (the number times 65536, cut toward zero).
std::int32_t typedMultiplier(double multiplier);
// "Class maker: 1.25 (14 points)".
std::string tallySummary(const ClassTally& tally);
// The maker's reckoning in a few words: "2.01 (21 points)", or
// "beyond (-19 points)" when the maker could not have made the class.
std::string makerText(const ClassTally& tally);

}  // namespace kestrane

#endif
