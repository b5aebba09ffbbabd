// The record's layout, the reader and writer's transfers, and the class
// maker's tally of a record.
#include "class_record.h"
#include "findings.h"
#include "tables.h"
#include "tally.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace kestrane;

namespace {

ClassData readFromFile(const std::string& path, ClassData start = ClassData{}) {
    start.classFilePath = path;
    EXPECT_TRUE(start.readClassFile());
    return start;
}

}  // namespace

TEST(ClassLayout, FieldsTileTheFileInOrderWithoutGaps) {
    std::size_t next = 0;
    for (const FieldInfo& f : kFields) {
        EXPECT_EQ(f.offset, next) << f.name;
        EXPECT_EQ(fieldNamed(f.name), &f) << f.name;
        next = f.offset + f.size;
    }
    EXPECT_EQ(next, kClassFileSize);
    EXPECT_EQ(fieldNamed("className")->offset, 28u);
    EXPECT_EQ(fieldNamed("classFilePath"), nullptr);  // kept, never stored
}

TEST(ClassLayout, DistinctBytesLandInTheirFieldsLittleEndian) {
    TempDir dir;
    std::vector<std::uint8_t> bytes = countingBytes(74);  // 01 02 ... 4A
    writeBytes(dir.file("c.cfg"), bytes);
    ClassData c = readFromFile(dir.file("c.cfg"));

    EXPECT_EQ(c.resistFlags, 0x01);
    EXPECT_EQ(c.immuneFlags, 0x02);
    EXPECT_EQ(c.lowToleranceFlags, 0x03);
    EXPECT_EQ(c.criticalWeaknessFlags, 0x04);
    EXPECT_EQ(c.abilityFlags, 0x0605);
    EXPECT_EQ(c.rapidHealing, 0x07);
    EXPECT_EQ(c.regeneration, 0x08);
    EXPECT_EQ(c.hiddenByte, 0x09);
    EXPECT_EQ(c.spellAbsorption, 0x0A);
    EXPECT_EQ(c.bonusPhobiaFlags, 0x0B);
    EXPECT_EQ(c.forbiddenMaterials, 0x0D0C);
    EXPECT_EQ(c.expertWeapons, 0x0E);
    EXPECT_EQ(c.forbiddenEquipment, 0x100F);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(c.skills[i], 0x11 + i);
    for (int i = 0; i < 19; ++i) EXPECT_EQ(static_cast<std::uint8_t>(c.className[i]), 0x1D + i);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(c.hiddenBlock[i], 0x30 + i);
    EXPECT_EQ(c.hitPointsPerLevel, 0x3635);
    EXPECT_EQ(c.advancementMultiplier, 0x3A393837);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(c.attributes[i], ((0x3C + 2 * i) << 8) | (0x3B + 2 * i)) << "attribute " << i;

    // And the same record writes the same bytes back.
    c.writeClassFile();
    EXPECT_EQ(readBytes(dir.file("c.cfg")), bytes);
}

TEST(ClassLayout, KnownValuesHaveTheirDocumentedBytes) {
    ClassData c;
    c.advancementMultiplier = 98304;  // 1.5
    c.hitPointsPerLevel = 300;
    c.advancementMultiplier = static_cast<std::int32_t>(1.5 * 65536);
    auto b = c.toBytes();
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin() + 54, b.begin() + 58)),
              (std::vector<std::uint8_t>{0x00, 0x80, 0x01, 0x00}));
    EXPECT_EQ(b[52], 0x2C);
    EXPECT_EQ(b[53], 0x01);

    c.advancementMultiplier = -1;  // signed field: all ones
    b = c.toBytes();
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin() + 54, b.begin() + 58)),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(ClassFileRoundTrip, EveryByteComesBackIncludingOpaqueAndBehindTheName) {
    TempDir dir;
    // A name with bytes after its terminator, the hidden byte and block set,
    // unused flag bits set.
    std::vector<std::uint8_t> bytes(74);
    for (std::size_t i = 0; i < 74; ++i) bytes[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 37));
    const char name[] = "Knight\0junk\xff\x01zzabcd";  // exactly 19 bytes
    static_assert(sizeof name == 20);
    std::copy(name, name + 19, bytes.begin() + 28);
    writeBytes(dir.file("k.cfg"), bytes);

    ClassData c = readFromFile(dir.file("k.cfg"));
    c.classFilePath = dir.file("out.cfg");
    c.writeClassFile();
    EXPECT_EQ(readBytes(dir.file("out.cfg")), bytes);
    EXPECT_EQ(c.nameText(), "Knight");
}

TEST(ClassFileRead, ShortEmptyAndLongFiles) {
    TempDir dir;
    ClassData before;
    before.fromBytes(countingBytes(74, 0x80).data(), 74);

    // Empty: a success that changes nothing.
    writeBytes(dir.file("empty.cfg"), {});
    ClassData e = readFromFile(dir.file("empty.cfg"), before);
    EXPECT_EQ(e.toBytes(), before.toBytes());

    // 30 bytes: offsets 0-27 replaced, the name's first two bytes replaced,
    // everything later kept.
    writeBytes(dir.file("short.cfg"), countingBytes(30, 1));
    ClassData s = readFromFile(dir.file("short.cfg"), before);
    auto got = s.toBytes();
    auto old = before.toBytes();
    for (std::size_t i = 0; i < 74; ++i) {
        if (i < 30)
            EXPECT_EQ(got[i], 1 + i) << "offset " << i;
        else
            EXPECT_EQ(got[i], old[i]) << "offset " << i;
    }

    // A field cut in the middle keeps its own later bytes: 5 bytes deliver
    // only the low byte of abilityFlags.
    writeBytes(dir.file("five.cfg"), {1, 2, 3, 4, 0x55});
    ClassData f = readFromFile(dir.file("five.cfg"), before);
    EXPECT_EQ(f.abilityFlags, (before.abilityFlags & 0xFF00) | 0x55);

    // 100 bytes: the first 74 count; a save writes 74.
    std::vector<std::uint8_t> longFile = countingBytes(100, 7);
    writeBytes(dir.file("long.cfg"), longFile);
    ClassData l = readFromFile(dir.file("long.cfg"), before);
    l.writeClassFile();
    EXPECT_EQ(readBytes(dir.file("long.cfg")), std::vector<std::uint8_t>(longFile.begin(), longFile.begin() + 74));
}

TEST(ClassFileRead, MissingFileReturnsFalseAndChangesNothing) {
    TempDir dir;
    ClassData c;
    c.hitPointsPerLevel = 42;
    c.classFilePath = dir.file("nothing.cfg");
    EXPECT_FALSE(c.readClassFile());
    EXPECT_EQ(c.hitPointsPerLevel, 42);
    EXPECT_EQ(c.classFilePath, dir.file("nothing.cfg"));
}

TEST(ClassFileRead, ADirectoryIsAFileErrorThatChangesNothing) {
    TempDir dir;
    ClassData c;
    c.hitPointsPerLevel = 42;
    c.classFilePath = dir.path();
    const auto before = c.toBytes();
    EXPECT_EQ(raisedBy([&] { c.readClassFile(); }).systemError(), static_cast<unsigned long>(EISDIR));
    EXPECT_EQ(c.toBytes(), before);
}

TEST(ClassName, TextStopsAtTheNulOrTheFieldsEnd) {
    ClassData c;
    EXPECT_EQ(c.nameText(), "");
    std::fill(c.className.begin(), c.className.end(), 'A');
    EXPECT_EQ(c.nameText(), std::string(19, 'A'));
    c.className[4] = '\0';
    EXPECT_EQ(c.nameText(), "AAAA");
}

// --- the class maker's tally ---------------------------------------------

TEST(ClassTally, PricesAndLimitsAgainstHandReckonedClasses) {
    // A base that costs nothing: 8 hit points, no increased magery.
    auto base = [] {
        ClassData c;
        c.hitPointsPerLevel = 8;
        c.abilityFlags = 5 << kMageryShift;
        return c;
    };
    const struct Case {
        const char* what;
        void (*make)(ClassData&);
        int total;
        int beyond;  // how many things the maker could not produce
    } cases[] = {
        {"nothing", [](ClassData&) {}, 0, 0},
        {"zero record: 3 X INT +10, 0 hp -16", [](ClassData& c) { c = ClassData{}; }, -6, 1},
        {"hp 4: -8", [](ClassData& c) { c.hitPointsPerLevel = 4; }, -8, 0},
        {"hp 3: -10, below the maker's 4", [](ClassData& c) { c.hitPointsPerLevel = 3; }, -10, 1},
        {"hp 30: +22", [](ClassData& c) { c.hitPointsPerLevel = 30; }, 22, 0},
        {"every material: -54, 10 disadvantages", [](ClassData& c) { c.forbiddenMaterials = 0x03FF; }, -54, 2},
        {"all armor and shields: -8 -4", [](ClassData& c) { c.forbiddenEquipment = 0x1FC0; }, -12, 0},
        {"7 resists +35, at the maker's 7", [](ClassData& c) { c.resistFlags = 0x7F; }, 35, 0},
        {"8 advantages", [](ClassData& c) { c.resistFlags = 0x7F, c.abilityFlags |= 1; }, 36, 1},
        {"hp 30, absorbing always, Athleticism: 40, the top", [](ClassData& c) {
             c.hitPointsPerLevel = 30, c.spellAbsorption = 4, c.abilityFlags |= 2;
         }, 40, 0},
        {"and Acute Hearing: 41", [](ClassData& c) {
             c.hitPointsPerLevel = 30, c.spellAbsorption = 4, c.abilityFlags |= 3;
         }, 41, 1},
        {"hp 4, Daedric, Axes forbidden: -12, the bottom", [](ClassData& c) {
             c.hitPointsPerLevel = 4, c.forbiddenMaterials = 0x200, c.forbiddenEquipment = 0x08;
         }, -12, 0},
        {"and Leather: -13", [](ClassData& c) {
             c.hitPointsPerLevel = 4, c.forbiddenMaterials = 0x200, c.forbiddenEquipment = 0x48;
         }, -13, 1},
        {"dark magery both ways and sunlight: -14 -10 -10",
         [](ClassData& c) { c.abilityFlags |= kUnableInDarkBit | kNoSpellRegenBit | kDamageSunlightBit; }, -38, 1},
        {"light magery reduced, holy places, regenerating always: -7 -6 +14",
         [](ClassData& c) { c.abilityFlags |= kReducedInLightBit | kDamageHolyBit, c.regeneration = 8; }, 1, 0},
        {"Undead bonus, Daedra phobia, Humanoid both: +6 -4 +0",
         [](ClassData& c) { c.bonusPhobiaFlags = 0x01 | 0x20 | 0x44; }, 2, 1},
        {"Fire immune, Frost critical, Poison immune and low: +10 -14 +0",
         [](ClassData& c) { c.immuneFlags = 0x0C, c.criticalWeaknessFlags = 0x10, c.lowToleranceFlags = 0x04; }, -4, 1},
        {"Blunt expert, Axes both: +2 +0", [](ClassData& c) { c.expertWeapons = 0x18, c.forbiddenEquipment = 0x08; }, 2, 1},
        {"both light bits, magery 6, regeneration 3, healing 8: all nothing", [](ClassData& c) {
             c.abilityFlags = kUnableInLightBit | kReducedInLightBit | 6 << kMageryShift;
             c.regeneration = 3, c.rapidHealing = 8;
         }, 0, 4},
        {"1.5 X INT, regenerating and absorbing in light: +4 +6 +8", [](ClassData& c) {
             c.abilityFlags = 3 << kMageryShift, c.regeneration = 1, c.spellAbsorption = 1;
         }, 18, 0},
        {"regenerating in darkness, light magery reduced, darkness magery unable: +10 -10 -10", [](ClassData& c) {
             c.regeneration = 2, c.abilityFlags |= kReducedInDarkBit | kUnableInLightBit;
         }, -10, 0},
        {"1 X INT, rapid healing always: +2 +4", [](ClassData& c) {
             c.abilityFlags = 4 << kMageryShift, c.rapidHealing = 4;
         }, 6, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        ClassData c = base();
        k.make(c);
        ClassTally t = tallyClass(c);
        int sum = t.hitPointPoints;
        for (const TallyItem& i : t.items) sum += i.points;
        EXPECT_EQ(t.total, k.total);
        EXPECT_EQ(sum, t.total);
        EXPECT_EQ(static_cast<int>(t.beyondMaker.size()), k.beyond) << ::testing::PrintToString(t.beyondMaker);
        EXPECT_DOUBLE_EQ(t.makerMultiplier, 0.3 + 2.7 * (k.total + 12) / 52);
    }
    EXPECT_DOUBLE_EQ(makerMultiplierFor(-12), 0.3);
    EXPECT_DOUBLE_EQ(makerMultiplierFor(40), 3.0);

    // As typed: the two-decimal text times 65536, cut toward zero.
    EXPECT_EQ(typedMultiplier(makerMultiplierFor(7)), 84541);  // "1.29": 84541.44
    EXPECT_EQ(typedMultiplier(makerMultiplierFor(40)), 3 * 65536);
    EXPECT_EQ(typedMultiplier(makerMultiplierFor(-19)), -3932);  // "-0.06": -3932.16
    ClassTally one = tallyClass(base());
    EXPECT_EQ(tallySummary(one), "Class maker: 0.92 (0 points)");
    one.total = 1;
    EXPECT_EQ(tallySummary(one), "Class maker: 0.92 (1 point)");

    // The rows the Check box and classcfg list: hit points, items, total, what the
    // maker could not produce, the summary.
    ClassData listed = base();
    listed.hitPointsPerLevel = 3;
    listed.resistFlags = 0x01;
    listed.advancementMultiplier = 98304;
    using Kind = TallyLine::Kind;
    const std::vector<TallyLine> lines = tallyLines(listed, tallyClass(listed));
    ASSERT_EQ(lines.size(), 5u);
    const struct {
        Kind kind;
        int points;
        const char* text;
    } rows[] = {
        {Kind::Points, -10, "hit points per level 3"},
        {Kind::Points, 5, "Resistance: Paralysis"},
        {Kind::Points, -5, "total: 1 advantage, 0 disadvantages"},
        {Kind::NotFromMaker, 0, "not from the maker: hit points per level 3 is outside the maker's 4 to 30"},
        {Kind::Summary, 0, "Class maker: beyond (-5 points); the file has 1.50"},
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(rows[i].text);
        EXPECT_EQ(lines[i].kind, rows[i].kind);
        EXPECT_EQ(lines[i].points, rows[i].points);
        EXPECT_EQ(lines[i].text, rows[i].text);
    }
}

TEST(Findings, TogetherByGameTheMostSevereFirst) {
    using G = Game;
    using S = Severity;
    const std::vector<Finding> found = {
        {"maker 1", G::Maker, S::Maker, {}},       {"engine note", G::Engine, S::Note, {}},
        {"editor", G::Editor, S::Changes, {}},     {"engine breaks", G::Engine, S::Breaks, {}},
        {"maker 2", G::Maker, S::Maker, {}},       {"engine changes", G::Engine, S::Changes, {}},
    };
    std::vector<std::string> order;
    for (const Finding& f : mostSevereFirst(found)) order.push_back(f.text);
    EXPECT_EQ(order, (std::vector<std::string>{"engine breaks", "engine changes", "engine note", "editor", "maker 1",
                                               "maker 2"}));
    EXPECT_STREQ(gameHeading(G::Engine), "Open engine (Daggerfall Unity)");
    EXPECT_TRUE(mostSevereFirst({}).empty());
}
