// classcfg's commands run in-process: build's line-numbered errors, check's
// findings, diff's output and exit statuses, and usage errors.
#include "classcfg.h"
#include "csv_reader.h"
#include "engine_play.h"
#include "standard_classes.h"
#include "tables.h"
#include "tally.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <random>
#include <sstream>

#include <sys/stat.h>

using namespace kestrane;
using namespace kestrane::classcfg;

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int status = run(args, out, err);
    return {status, out.str(), err.str()};
}

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> bytesOf(const ClassData& c) {
    auto a = c.toBytes();
    return std::vector<std::uint8_t>(a.begin(), a.end());
}

// A class the checker has nothing to say about.
ClassData plainClass() {
    ClassData c;
    std::string n = "Lamplighter";
    std::copy(n.begin(), n.end(), c.className.begin());
    c.attributes = {45, 60, 55, 50, 45, 55, 50, 50};
    c.hitPointsPerLevel = 12;
    c.advancementMultiplier = 81920;
    c.skills = {23, 24, 2, 27, 21, 18, 28, 20, 14, 1, 0, 16};
    return c;
}

// Gives the record another name, the rest of the field zero.
void rename(ClassData& c, const std::string& name) {
    c.className.fill('\0');
    std::copy(name.begin(), name.end(), c.className.begin());
}

}  // namespace

// --- build --------------------------------------------------------------

TEST(ClasscfgBuild, WritesTheClassFileTheTextDescribes) {
    TempDir dir;
    writeText(dir.file("c.txt"), dumpText(plainClass()));
    Result r = cli({"build", dir.file("c.txt"), "-o", dir.file("class00.cfg")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readBytes(dir.file("class00.cfg")), bytesOf(plainClass()));
    // Keys left out are written as 0 and named, so a slip does not pass unseen.
    writeText(dir.file("short.txt"), "name: \"Lamplighter\"\nSTR: 45\nINT: 60\nWIL: 55\nAGI: 50\nEND: 45\n");
    r = cli({"build", dir.file("short.txt"), "-o", dir.file("class01.cfg")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.rfind("classcfg: " + dir.file("short.txt") + " does not give name tail, PER, SPD, LUC, hit points", 0),
              0u)
        << r.err;
    EXPECT_NE(r.err.find(", equipment bits 13-15; they are written as an empty class has them (0, Normal, none, no)\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(readBytes(dir.file("class01.cfg")).at(58), 45);
}

TEST(ClasscfgBuild, BadTextNamesFileAndLineAndWritesNothing) {
    struct Case {
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"name: \"A\"\nSTR: 70000\n", 2, "STR: expected a number from 0 to 65535, got '70000'"},
        {"# comment\n\nFier: Resist\n", 3, "unknown key 'Fier'"},
        {"this is no key\n", 1, "expected 'key: value'"},
        {"STR: 5\nINT: 5\nstr: 6\n", 3, "'STR' is given twice (first on line 1)"},
        {"Fire: Resist, Normal\n", 1, "Normal cannot be combined"},
        {"Fire: Warm\n", 1, "unknown tolerance 'Warm'"},
        {"multiplier: 1.75 (98304)\n", 1, "does not match its fixed-point value 98304, which is 1.50"},
        {"multiplier: fast\n", 1, "expected a multiplier like 1.50"},
        {"multiplier: 32768\n", 1, "the multiplier 32768 does not fit 16.16 fixed point"},
        {"multiplier: -32768.01\n", 1, "the multiplier -32768.01 does not fit 16.16 fixed point"},
        {"name: Lamplighter\n", 1, "double quotes"},
        {"name: \"ABCDEFGHIJKLMNOPQRST\"\n", 1, "the name has 20 bytes; the field holds 19"},
        {"name: \"A\\x00B\"\n", 1, "\\x00 ends the name"},
        {"name: \"A\\qB\"\n", 1, "unknown escape \\q"},
        {"primary skills: Medical, Jumping\n", 1, "expected 3 skills separated by commas, got 2"},
        {"minor skills: Medical, Stealth, , Jumping, Axe, Blunt\n", 1, "empty entry"},
        {"major skills: Medical, Sneaking, Axe\n", 1, "unknown skill 'Sneaking'"},
        {"hidden block: 00 11\n", 1, "expected exactly 5 bytes, got 2"},
        {"hidden block: 0 1 2 3 4\n", 1, "two hex digits each"},
        {"ability bits 13-15: 0x0001\n", 1, "has bits outside 0xE000"},
        {"increased magery: 8\n", 1, "from 0 to 7"},
        {"forbidden armor: Buckler\n", 1, "unknown armor 'Buckler'"},
        {"damage from sunlight: maybe\n", 1, "expected yes or no"},
        {"Undead: Bonus, Bonus\n", 1, "listed twice"},
        {"name: \"Lamplighter\"\nname tail: 01 02 03 04 05 06 07 08\n", 2, "need 20 bytes; the field holds 19"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TempDir dir;
        writeText(dir.file("bad.txt"), c.text);
        Result r = cli({"build", dir.file("bad.txt"), "-o", dir.file("out.cfg")});
        EXPECT_EQ(r.status, 1);
        std::string where = dir.file("bad.txt") + ":" + std::to_string(c.line) + ": ";
        EXPECT_EQ(r.err.rfind(where, 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"bad.txt"});
    }
}

TEST(ClasscfgBuild, BadTextLeavesAnExistingOutputAsItWas) {
    TempDir dir;
    std::vector<std::uint8_t> old = countingBytes(74);
    writeBytes(dir.file("class00.cfg"), old);
    writeText(dir.file("bad.txt"), "STR: lots\n");
    EXPECT_EQ(cli({"build", dir.file("bad.txt"), "-o", dir.file("class00.cfg")}).status, 1);
    EXPECT_EQ(readBytes(dir.file("class00.cfg")), old);
}

TEST(ClasscfgBuild, UnreadableTextAndUnwritableOutputAreReported) {
    TempDir dir;
    Result r = cli({"build", dir.file("missing.txt"), "-o", dir.file("out.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open " + dir.file("missing.txt")), std::string::npos) << r.err;

    writeText(dir.file("c.txt"), "name: \"X\"\n");
    r = cli({"build", dir.file("c.txt"), "-o", dir.file("no/such/dir/out.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write " + dir.file("no/such/dir/out.cfg")), std::string::npos) << r.err;
}

// --- check --------------------------------------------------------------

TEST(ClasscfgCheck, APlainClassHasNoFindings) {
    EXPECT_EQ(checkFile(bytesOf(plainClass())), std::vector<std::string>{});
}

TEST(ClasscfgCheck, EachOddityIsReportedAlone) {
    struct Case {
        const char* what;
        void (*spoil)(ClassData&);
        const char* finding;
        std::vector<std::string> also = {};  // more lines: the maker's, which move with some of these, or another game's
        const char* file = "";       // the file's name, for the rules of the standard files
        const char* where = nullptr;  // the first finding's spots, "field mask, ...", where given
    };
    const char notFound[] = "\"<LocaleText-NotFound>\", as any name that is not one of its text keys (whatever its "
                            "length or characters)";
    const Case cases[] = {
        {"no NUL", [](ClassData& c) { c.className.fill('N'); }, "name has no NUL in its 19 bytes; the open engine reads the name on to the zero at byte 47"},
        {"skill 35", [](ClassData& c) { c.skills[4] = 35; },
         "major skill 2 is index 35, which names no skill (0 to 34 do); the open engine fails on it when a character "
         "of the class is made (its bonus-skill screen) and in the character sheet's skill lists", {}, "", "skills 10"},
        {"skill 40", [](ClassData& c) { c.skills[0] = 40; },
         "primary skill 1 is index 40, which names no skill (0 to 34 do); the open engine fails on it when a character "
         "of the class is made (its bonus-skill screen) and in the character sheet's skill lists"},
        {"two tolerances", [](ClassData& c) { c.immuneFlags = 0x04, c.criticalWeaknessFlags = 0x04; },
         "Poison has more than one tolerance: Immune, Critical; the open engine takes Immune", {}, "",
         "immuneFlags 4, criticalWeaknessFlags 4"},
        {"forbidden and expert", [](ClassData& c) { c.expertWeapons = 0x20, c.forbiddenEquipment = 0x20; },
         "Missile Weapons is both forbidden and expert; the open engine's character sheet shows Forbidden, and in play "
         "it equips no such weapon, so the expert bonus goes unused", {}, "", "forbiddenEquipment 20, expertWeapons 20"},
        {"hand to hand forbidden and expert", [](ClassData& c) { c.expertWeapons = 0x04, c.forbiddenEquipment = 0x04; },
         "Hand to Hand is both forbidden and expert; the open engine's character sheet shows Forbidden, but in play "
         "the expert bonus applies and the forbidding does nothing"},
        {"bonus and phobia", [](ClassData& c) { c.bonusPhobiaFlags = 0x44; }, "Humanoid has both bonus and phobia; the open engine takes the bonus", {}, "", "bonusPhobiaFlags 44"},
        {"magery 6", [](ClassData& c) { c.abilityFlags = 6 << kMageryShift; },
         "increased magery code is 6, which has no meaning (0 to 5 do); the open engine gives 3.00 x INT spell "
         "points and its character sheet fails on it (no text for that code)", {}, "", "abilityFlags 1c00"},
        {"magery 7", [](ClassData& c) { c.abilityFlags = 7 << kMageryShift; }, "increased magery code is 7, which has no meaning (0 to 5 do); the open engine gives 3.00 x INT spell points and its character sheet fails on it (no text for that code)"},
        {"both light bits", [](ClassData& c) { c.abilityFlags = kUnableInLightBit | kReducedInLightBit; },
         "darkness powered magery has both Unable to Cast in Light and Reduced Power in Light; the open engine "
         "applies neither", {}, "", "abilityFlags 300"},
        {"rapid healing 8", [](ClassData& c) { c.rapidHealing = 8; },
         "rapid healing is 8, not one of its codes (0, 1, 2, 4); the open engine heals as without it and its "
         "character sheet fails on it (no text for that code)", {}, "", "rapidHealing ff"},
        {"regeneration 3", [](ClassData& c) { c.regeneration = 3; },
         "regeneration is 3, not one of its codes (0, 1, 2, 4, 8); the open engine regenerates nothing and its "
         "character sheet fails on it (no text for that code)"},
        {"absorption 5", [](ClassData& c) { c.spellAbsorption = 5; }, "spell absorption is 5, not one of its codes (0, 1, 2, 4); the open engine absorbs no spells and its character sheet fails on it (no text for that code)"},
        // Past the editor's arrows a note, past the engine's 100 what it does; the maker's limits count apart.
        {"attribute 100", [](ClassData& c) { c.attributes[5] = 100; }, "PER is 100, over 99, where the editor's arrows stop",
         {"attributes outside the class maker's 10 to 75: PER 100"}},
        {"attribute 101", [](ClassData& c) { c.attributes[0] = 101; }, "STR is 101; the open engine holds it to 100 in play",
         {"attributes outside the class maker's 10 to 75: STR 101"}},
        {"END 150", [](ClassData& c) { c.attributes[4] = 150; },
         "END is 150; the open engine holds it to 100 in play, but for the hit points a level adds, which read it as stored",
         {"attributes outside the class maker's 10 to 75: END 150"}},
        {"attribute 9", [](ClassData& c) { c.attributes[7] = 9; }, "attributes outside the class maker's 10 to 75: LUC 9", {}, "", "attributes 80"},
        {"17 characters", [](ClassData& c) { std::copy_n("Seventeen Letters", 18, c.className.begin()); },
         "name has 17 characters, more than the 16 bytes the class record keeps for it; the open engine shows all 17, "
         "on the character sheet when its class questions choose this class"},
        {"17 characters in the city watch's file", [](ClassData& c) { std::copy_n("Seventeen Letters", 18, c.className.begin()); },
         "the file of the city watch's Knight holds \"Seventeen Letters\"; the open engine names its guards City Watch "
         "whatever the file holds, and lists the file at character creation only when another CLASS*.CFG sorts after it",
         {}, "CLASS18.CFG"},
        {"e acute", [](ClassData& c) { c.className[1] = '\xE9'; },
         "name has characters outside printable ASCII (\xC3\xA9); the open engine reads the name as UTF-8 and shows "
         "them otherwise, e.g. as a replacement mark, on the character sheet when its class questions choose this class",
         {}, "", "className ffffffff"},
        {"one skill three times", [](ClassData& c) { c.skills[0] = c.skills[4] = c.skills[9] = 32; },
         "Blunt is among the skills 3 times; the class maker offers each skill once",
         {"Blunt is primary skill 1, major skill 2 and minor skill 4; the open engine starts it with the minor roll (13 "
          "to 16) and counts each point in it up to 3 times toward the next level, so the class levels faster"},
         "", "skills 211"},
        {"one skill twice among the primary", [](ClassData& c) { c.skills[2] = c.skills[0]; },
         "Restoration is among the skills 2 times; the class maker offers each skill once",
         {"Restoration is primary skill 1 and primary skill 3; the open engine counts each point in it up to 2 times "
          "toward the next level, so the class levels faster"}},
        {"one skill twice among the minor", [](ClassData& c) { c.skills[11] = c.skills[6]; },
         "Short Blade is among the skills 2 times; the class maker offers each skill once"},
        {"27 disadvantages' worth", [](ClassData& c) { c.hitPointsPerLevel = 4, c.criticalWeaknessFlags = 0x7F; },
         "the class maker could not make it: a total of -96 points is outside its -12 to 40", {}, "", ""},
        {"hit points 1000", [](ClassData& c) { c.hitPointsPerLevel = 1000; },
         "hit points per level is 1000, over 999, where the editor's arrows stop",
         {"the class maker could not make it: hit points per level 1000 are outside its 4 to 30",
          "the class maker could not make it: a total of 1002 points is outside its -12 to 40"}},
        {"hit points 31", [](ClassData& c) { c.hitPointsPerLevel = 31; },
         "the class maker could not make it: hit points per level 31 are outside its 4 to 30", {}, "",
         "hitPointsPerLevel ffffffff"},
        {"multiplier negative", [](ClassData& c) { c.advancementMultiplier = -1; },
         "multiplier -0.00 (-1) is outside 0 to 10",
         {"the open engine reads the multiplier as 65536.00 (it takes the field as unsigned); from 20032.06 up it never "
          "raises a skill: no skill's uses reach what its next point needs"}},
        {"multiplier 20032.06", [](ClassData& c) { c.advancementMultiplier = 20032 * 65536 + 3933; },
         "multiplier 20032.06 (1312821085) is outside 0 to 10",
         {"the open engine reads the multiplier as 20032.06; from 20032.06 up it never raises a skill: no skill's uses "
          "reach what its next point needs"}},
        {"multiplier 0", [](ClassData& c) { c.advancementMultiplier = 0; },
         "multiplier is 0.00; the open engine then raises every skill used since its last point by a point at each "
         "skill check (the end of a rest or a fast journey more than 6 game hours after the last check), one use being "
         "enough (two at low reflexes)"},
        // A standard file holding another name, as the engine's class list shows it.
        {"renamed", [](ClassData&) {},
         nullptr, {}, "arena2/CLASS05.CFG"},
        {"another class's name", [](ClassData& c) { rename(c, "Warrior"); },
         "the file of the standard Mage holds \"Warrior\"; the open engine lists it as \"Warrior\", the text under that "
         "key, with the Mage's description, and a character picked there takes that name", {}, "CLASS00.CFG", ""},
        {"a key with a long text", [](ClassData& c) { rename(c, "enemyNames"); },
         "the file of the standard Mage holds \"enemyNames\"; the open engine lists it as \"Rat\\nImp\\nSpriggan\\nGiant "
         "Bat\\nGrizzly Bear\\n...\", the text under that key, with the Mage's description, and a character "
         "picked there takes that name", {}, "class00.cfg"},
        {"the standard name in a trailing space", [](ClassData& c) { rename(c, "Mage "); },
         nullptr, {}, "CLASS00.CFG"},
        {"multiplier over 10", [](ClassData& c) { c.advancementMultiplier = 10 * 65536 + 1; },
         "multiplier 10.00 (655361) is outside 0 to 10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClassData d = plainClass();
        c.spoil(d);
        // A renamed standard file's line, made here for the names the list does not know.
        const std::string name = d.nameText(), standard = standardClassName(classFileNumber(c.file));
        const std::string renamed = "the file of the standard " + standard + " holds \"" + name +
                                    "\"; the open engine lists it as " + notFound + ", with the " + standard +
                                    "'s description, and a character picked there takes that name";
        std::vector<std::string> expected{c.finding ? c.finding : renamed};
        expected.insert(expected.end(), c.also.begin(), c.also.end());
        EXPECT_EQ(checkFile(bytesOf(d), c.file), expected);
        if (!c.where) continue;
        std::ostringstream where;
        const std::vector<Finding> found = findClass(d, c.file);
        for (const Spot& spot : found.at(0).spots)
            where << (where.tellp() ? ", " : "") << spot.field << ' ' << std::hex << spot.mask;
        EXPECT_EQ(where.str(), c.where);
    }
    // Without the engine's text table, as in the editor: a key is known by its hash alone.
    ClassData warrior = plainClass();
    rename(warrior, "Warrior");
    EXPECT_EQ(findClass(warrior, "CLASS00.CFG").at(0).text,
              "the file of the standard Mage holds \"Warrior\"; the open engine lists it as the text it keeps under that "
              "key, with the Mage's description, and a character picked there takes that name");
    EXPECT_EQ(findClass(plainClass(), "CLASS00.CFG").at(0).text, checkFile(bytesOf(plainClass()), "CLASS00.CFG").at(0));
    EXPECT_TRUE(findClass(plainClass(), "CLASS19.CFG").empty());
    // Notes are not counted: the page says "no findings" for a class with notes alone.
    ClassData fast = plainClass();
    fast.advancementMultiplier = 0;
    EXPECT_EQ(findingCountText(findingCount(fast, "CLASS18.CFG")), "no findings");
    EXPECT_EQ(findingsHeading(findClass(fast, "CLASS18.CFG")), "2 notes");
    EXPECT_EQ(findingsHeading(findClass(fast, "CLASS17.CFG")), "1 finding and 1 note");
    // A name that no zero byte ends before the end of the file.
    std::vector<std::uint8_t> endless = bytesOf(plainClass());
    std::fill(endless.begin() + 28, endless.end(), 'N');
    EXPECT_EQ(checkFile(endless).at(0),
              "name has no NUL in its 19 bytes; the open engine cannot load the file (no zero byte ends the name)");
    // The editor's limits themselves are only the class maker's findings.
    ClassData edge = plainClass();
    edge.attributes.fill(99);
    edge.hitPointsPerLevel = 999;
    edge.advancementMultiplier = 10 * 65536;
    edge.skills.fill(34);
    EXPECT_EQ(checkFile(bytesOf(edge)),
              (std::vector<std::string>{
                  "Critical Hit is among the skills 12 times; the class maker offers each skill once",
                  "Critical Hit is primary skill 1, primary skill 2, primary skill 3, major skill 1, major skill 2, major "
                  "skill 3, minor skill 1, minor skill 2, minor skill 3, minor skill 4, minor skill 5 and minor skill 6; "
                  "the open engine starts it with the minor roll (13 to 16) and counts each point in it up to 7 times "
                  "toward the next level, so the class levels faster",
                  "attributes outside the class maker's 10 to 75: STR 99, INT 99, WIL 99, AGI 99, END 99, PER 99, SPD 99, LUC 99",
                  "the class maker could not make it: hit points per level 999 are outside its 4 to 30",
                  "the class maker could not make it: a total of 1001 points is outside its -12 to 40"}));
}

TEST(ClasscfgCheck, SizeIsReportedForShortAndLongFiles) {
    std::vector<std::uint8_t> bytes = bytesOf(plainClass());
    bytes.push_back(0);
    EXPECT_EQ(checkFile(bytes), std::vector<std::string>{"the file is 75 bytes long; a class file is 74 bytes; the open engine ignores the bytes past 74"});
    EXPECT_EQ(checkFindings(bytes).at(0).severity, Severity::Note);
    bytes.resize(40);
    EXPECT_EQ(checkFile(bytes),
              std::vector<std::string>{"the file is 40 bytes long; a class file is 74 bytes; the open engine cannot load the "
                                       "file (it ends inside a field)"});
    EXPECT_EQ(checkFindings(bytes).at(0).severity, Severity::Breaks);
}

TEST(ClasscfgCheck, ExitStatusAndOutputPerFile) {
    TempDir dir;
    writeBytes(dir.file("good.cfg"), bytesOf(plainClass()));
    ClassData bad = plainClass();
    bad.hitPointsPerLevel = 5000;
    bad.regeneration = 16;
    writeBytes(dir.file("bad.cfg"), bytesOf(bad));

    Result r = cli({"check", dir.file("good.cfg")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, dir.file("good.cfg") + ": ok\n");

    r = cli({"check", dir.file("good.cfg"), dir.file("bad.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, dir.file("good.cfg") + ": ok\n" + dir.file("bad.cfg") +
                         ": regeneration is 16, not one of its codes (0, 1, 2, 4, 8); the open engine regenerates nothing and its "
                         "character sheet fails on it (no text for that code)\n" +
                         dir.file("bad.cfg") + ": note: hit points per level is 5000, over 999, where the editor's arrows stop\n" +
                         dir.file("bad.cfg") + ": the class maker could not make it: hit points per level 5000 are outside its 4 to 30\n" +
                         dir.file("bad.cfg") + ": the class maker could not make it: a total of 5002 points is outside its -12 to 40\n");

    r = cli({"check", dir.file("good.cfg"), dir.file("gone.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, dir.file("good.cfg") + ": ok\n");
    EXPECT_EQ(r.err, "classcfg: cannot open " + dir.file("gone.cfg") + ": No such file or directory\n");

    // A folder is its class files in any case, by name; one without any is a failure.
    std::system(("mkdir '" + dir.file("arena2") + "' '" + dir.file("none") + "'").c_str());
    writeBytes(dir.file("arena2/CLASS01.CFG"), bytesOf(bad));
    writeBytes(dir.file("arena2/class00.cfg"), bytesOf(plainClass()));
    writeBytes(dir.file("arena2/CLASS19.CFG"), bytesOf(plainClass()));
    writeBytes(dir.file("arena2/CLASS.TXT"), bytesOf(bad));
    writeBytes(dir.file("none/notes.txt"), bytesOf(bad));
    r = cli({"check", dir.file("arena2")});
    EXPECT_EQ(r.status, 1);
    // The folder's own findings come first: here the standard files it lacks.
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), dir.file("arena2") +
                                                      ": CLASS02.CFG is missing; the open engine cannot make Battlemage "
                                                      "enemies, nor a character whose class questions choose the Battlemage");
    EXPECT_NE(r.out.find("\n" + dir.file("arena2/class00.cfg") + ": the file of the standard Mage holds \"Lamplighter\"; the "
                         "open engine lists it as \"<LocaleText-NotFound>\""),
              std::string::npos);
    EXPECT_NE(r.out.find(dir.file("arena2/CLASS01.CFG") + ": note: hit points per level"), std::string::npos);
    // Past CLASS18.CFG no standard class.
    EXPECT_NE(r.out.find(dir.file("arena2/CLASS19.CFG") + ": ok"), std::string::npos) << r.out;
    r = cli({"check", dir.file("none"), dir.file("good.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, dir.file("good.cfg") + ": ok\n");
    EXPECT_EQ(r.err, "classcfg: no class files in " + dir.file("none") + "\n");

    // The JSON form: each file with its findings, the game and how serious.
    r = cli({"check", "--json", dir.file("good.cfg"), dir.file("bad.cfg")});
    EXPECT_EQ(r.status, 1);
    nlohmann::json j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["file"], dir.file("good.cfg"));
    EXPECT_TRUE(j[0]["findings"].empty());
    ASSERT_EQ(j[1]["findings"].size(), 4u);
    EXPECT_EQ(j[1]["findings"][0]["game"], "engine");
    EXPECT_EQ(j[1]["findings"][0]["severity"], "breaks");
    EXPECT_EQ(j[1]["findings"][1]["game"], "editor");
    EXPECT_EQ(j[1]["findings"][1]["severity"], "note");
    EXPECT_EQ(j[1]["findings"][2]["severity"], "maker");

    // Notes are listed but never fail the check; --only picks the kinds.
    writeBytes(dir.file("CLASS18.CFG"), bytesOf(plainClass()));
    const std::string watch = dir.file("CLASS18.CFG") + ": note: the file of the city watch's Knight holds \"Lamplighter\"";
    r = cli({"check", dir.file("CLASS18.CFG")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(watch, 0), 0u) << r.out;
    r = cli({"check", "--only", "breaks,note", dir.file("bad.cfg"), dir.file("CLASS18.CFG")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.find(dir.file("bad.cfg") + ": the class maker"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(dir.file("bad.cfg") + ": regeneration is 16"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(watch), std::string::npos) << r.out;
    r = cli({"check", "--only", "changes", dir.file("CLASS18.CFG")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, dir.file("CLASS18.CFG") + ": ok\n");
    EXPECT_EQ(cli({"check", "--only", "breaks,bad", dir.file("good.cfg")}).status, 2);
    EXPECT_EQ(cli({"check", dir.file("good.cfg"), "--only"}).status, 2);

    // A whole game's folder: without CLASS18.CFG, then with a 20th file, then with one that moves the places.
    std::system(("mkdir '" + dir.file("game") + "'").c_str());
    for (int n = 0; n < kStandardClassCount - 1; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "game/CLASS%02d.CFG", n);
        writeBytes(dir.file(name), bytesOf(plainClass()));
    }
    const struct {
        const char* add;
        std::vector<std::string> lines;
    } games[] = {
        {nullptr,
         {"CLASS18.CFG is missing; the open engine cannot make the city watch",
          "the open engine's class list leaves out the file listed last, CLASS17.CFG, so its Knight cannot be chosen at "
          "character creation"}},
        {"game/CLASS18.CFG", {}},
        {"game/CLASS19.CFG",
         {"the folder has 20 CLASS*.CFG files; the open engine lists all but the last (CLASS19.CFG), and a character of "
          "the 19th class listed, CLASS18.CFG, cannot be made: there is no biography or starting weapon for a 19th "
          "class"}},
        {"game/Class05a.cfg",
         {"the open engine's class list goes by place, not file number: from Class05a.cfg, listed 7th, each class "
          "takes the description, biography questions, starting spells and starting weapon of the place it is listed "
          "at (Class05a.cfg the Bard's)",
          "the folder has 21 CLASS*.CFG files; the open engine lists all but the last (CLASS19.CFG), and a character of "
          "the 19th class listed, CLASS17.CFG, cannot be made: there is no biography or starting weapon for a 19th "
          "class"}},
    };
    for (const auto& g : games) {
        if (g.add) writeBytes(dir.file(g.add), bytesOf(plainClass()));
        r = cli({"check", "--only", "breaks,changes", dir.file("game")});
        std::string expected;
        for (const std::string& line : g.lines) expected += dir.file("game") + ": " + line + "\n";
        EXPECT_EQ(r.out.substr(0, r.out.find(dir.file("game/CLASS00.CFG"))), expected) << (g.add ? g.add : "");
    }
    j = nlohmann::json::parse(cli({"check", "--json", dir.file("game")}).out);
    EXPECT_EQ(j[0]["folder"], dir.file("game"));
    EXPECT_EQ(j[0]["findings"][0]["severity"], "changes");
    EXPECT_EQ(j[1]["file"], dir.file("game/CLASS00.CFG"));
}

// --- diff ---------------------------------------------------------------

TEST(ClasscfgDiff, EqualFilesExitZeroWithNoOutput) {
    TempDir dir;
    writeBytes(dir.file("a.cfg"), bytesOf(plainClass()));
    writeBytes(dir.file("b.cfg"), bytesOf(plainClass()));
    Result r = cli({"diff", dir.file("a.cfg"), dir.file("b.cfg")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST(ClasscfgDiff, ListsEachChangedFieldByNameWithBothValues) {
    TempDir dir;
    ClassData a = plainClass(), b = plainClass();
    b.resistFlags = 0x08;
    b.skills[0] = 22;
    b.hiddenBlock[2] = 0x7F;
    b.advancementMultiplier = 98304;
    writeBytes(dir.file("a.cfg"), bytesOf(a));
    writeBytes(dir.file("b.cfg"), bytesOf(b));
    Result r = cli({"diff", dir.file("a.cfg"), dir.file("b.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "multiplier: 1.25 (81920) -> 1.50 (98304)\n"
              "primary skills: Restoration, Illusion, Streetwise -> Destruction, Illusion, Streetwise\n"
              "Fire: Normal -> Resist\n"
              "hidden block: 00 00 00 00 00 -> 00 00 7F 00 00\n");
}

TEST(ClasscfgDiff, SizeAndBytesPast74CountAsDifferences) {
    TempDir dir;
    std::vector<std::uint8_t> a = bytesOf(plainClass()), b = a;
    b.push_back(0xAB);
    writeBytes(dir.file("a.cfg"), a);
    writeBytes(dir.file("b.cfg"), b);
    Result r = cli({"diff", dir.file("a.cfg"), dir.file("b.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "file size: 74 -> 75\nbytes past 74: none -> AB\n");
}

TEST(ClasscfgDiff, TwoFoldersPairTheirClassFilesByNameInAnyCase) {
    TempDir dir;
    const std::string a = dir.file("old"), b = dir.file("new");
    std::system(("mkdir '" + a + "' '" + b + "'").c_str());
    ClassData stronger = plainClass();
    stronger.attributes[0] = 50;
    writeBytes(a + "/CLASS00.CFG", bytesOf(plainClass()));
    writeBytes(b + "/class00.cfg", bytesOf(stronger));
    writeBytes(a + "/CLASS01.CFG", bytesOf(plainClass()));
    writeBytes(b + "/CLASS01.CFG", bytesOf(plainClass()));
    writeBytes(a + "/CLASS02.CFG", bytesOf(plainClass()));
    writeBytes(b + "/CLASS19.CFG", bytesOf(plainClass()));
    writeBytes(b + "/notes.txt", bytesOf(stronger));
    Result r = cli({"diff", a, b});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "# " + a + "/CLASS00.CFG -> " + b + "/class00.cfg\nSTR: 45 -> 50\n# only in " + a +
                         ": CLASS02.CFG\n# only in " + b + ": CLASS19.CFG\n");
    r = cli({"diff", a, a});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(cli({"diff", a, b + "/CLASS01.CFG"}).status, 2);  // a folder and a file
}

TEST(ClasscfgDiff, AnUnreadableFileIsTroubleNotADifference) {
    TempDir dir;
    writeBytes(dir.file("a.cfg"), bytesOf(plainClass()));
    Result r = cli({"diff", dir.file("a.cfg"), dir.file("gone.cfg")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("cannot open " + dir.file("gone.cfg")), std::string::npos);
}

// --- dump and the command line ----------------------------------------

TEST(ClasscfgDumpCommand, SeveralFilesAreHeadedByTheirNamesAndJsonIsAnArray) {
    TempDir dir;
    ClassData b = plainClass();
    b.className[0] = 'R';
    writeBytes(dir.file("a.cfg"), bytesOf(plainClass()));
    writeBytes(dir.file("b.cfg"), bytesOf(b));

    Result r = cli({"dump", dir.file("a.cfg"), dir.file("b.cfg")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "# file: " + dir.file("a.cfg") + "\n" + dumpText(plainClass()) + "\n# file: " + dir.file("b.cfg") +
                         "\n" + dumpText(b));

    r = cli({"dump", "--json", dir.file("a.cfg"), dir.file("b.cfg")});
    EXPECT_EQ(r.status, 0);
    nlohmann::json j = nlohmann::json::parse(r.out);
    ASSERT_TRUE(j.is_array());
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["file"], dir.file("a.cfg"));
    EXPECT_EQ(j[1]["name"], "Ramplighter");
    EXPECT_EQ(j[1]["multiplier"]["shown"], "1.25");

    r = cli({"dump", "--json", dir.file("a.cfg")});
    j = nlohmann::json::parse(r.out);
    EXPECT_TRUE(j.is_object());
    EXPECT_FALSE(j.contains("file"));
}

TEST(ClasscfgDumpCommand, AnUnreadableFileIsReportedAndTheOthersStillDumped) {
    TempDir dir;
    writeBytes(dir.file("a.cfg"), bytesOf(plainClass()));
    Result r = cli({"dump", dir.file("gone.cfg"), dir.file("a.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open " + dir.file("gone.cfg")), std::string::npos);
    EXPECT_NE(r.out.find("name: \"Lamplighter\""), std::string::npos);
}

TEST(ClasscfgCommandLine, HelpAndUsageErrors) {
    Result r = cli({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("classcfg build TEXT -o FILE"), std::string::npos);
    // A command's own usage: its lines of the help, and no other command's.
    for (const char* command : {"dump", "build", "diff", "check", "tally", "table"}) {
        Result h = cli({command, "--help"});
        EXPECT_EQ(h.status, 0) << command;
        EXPECT_EQ(h.out.rfind("usage: classcfg " + std::string(command) + " ", 0), 0u) << h.out;
        EXPECT_EQ(h.out.find("classcfg", 8), std::string::npos) << h.out;
    }
    EXPECT_EQ(cli({"table", "--csv", "--help"}).out,
              "usage: classcfg table [--csv|--json|--markdown] FILE...\n"
              "                                          one line per class: name, attributes, skills, the maker's price\n");

    const std::vector<std::vector<std::string>> wrong = {
        {},           {"frobnicate"},         {"dump"},   {"dump", "--yaml", "a.cfg"},
        {"build"},    {"build", "a.txt"},     {"build", "a.txt", "-o"},
        {"diff", "a"}, {"diff", "a", "b", "c"}, {"check"},
        {"table"},    {"table", "--csv", "--json", "a"}, {"table", "--tsv", "a"},
        {"apply"},    {"apply", "a.csv", "b.csv"}, {"apply", "--force", "a.csv"},
    };
    for (const auto& args : wrong) {
        Result u = cli(args);
        EXPECT_EQ(u.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(u.err.find("Try 'classcfg --help'."), std::string::npos);
    }
}

// Every command says so of a file that is not 74 bytes long, and fails.
TEST(ClasscfgCommandLine, EveryCommandSaysAFileIsNot74BytesLong) {
    TempDir dir;
    const std::string good = dir.file("good.cfg"), shorter = dir.file("short.cfg");
    writeBytes(good, bytesOf(plainClass()));
    writeBytes(shorter, countingBytes(10));
    const std::string line = "classcfg: " + shorter + " is 10 bytes long; a class file is 74 bytes.\n";
    const struct {
        std::vector<std::string> args;
        const char* out;  // the start of what is still printed; null for nothing
    } cases[] = {
        {{"dump", shorter}, "# file size: 10 bytes, not 74."},  // build can make a class file of it
        {{"tally", good, shorter}, nullptr},                     // no reckoning for it
        {{"table", "--csv", shorter}, nullptr},
        {{"diff", good, shorter}, "file size: 74 -> 10\n"},
    };
    for (const auto& c : cases) {
        Result r = cli(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0];
        EXPECT_EQ(r.err, line) << c.args[0];
        if (c.out) {
            EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << r.out;
        }
    }
    EXPECT_EQ(cli({"tally", shorter}).out, "");
    // table lists it, marked, without numbers a read of it would make up.
    EXPECT_NE(cli({"table", "--csv", shorter}).out.find("\r\n" + shorter + ",\"(10 bytes long, not 74)\",,,,,,1,,,,,,,,,,,,"),
              std::string::npos);
    Result r = cli({"check", shorter});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, shorter + ": the file is 10 bytes long; a class file is 74 bytes; the open engine cannot load the "
                               "file (it ends inside a field)\n");
}

// --- tally --------------------------------------------------------------

TEST(ClasscfgTally, OurSamplesCostWhatAHandReckoningSays) {
    // From samples/*.txt, with the class maker's price list:
    //  Ashcaller     hp 8: 0; Poison Low Tol. -5, Fire Immune +10, Frost Critical -14;
    //                Long Blades and Hand to Hand forbidden -2 -2; Chain -2, Plate -5;
    //                Round, Kite, Tower Shield -1 -1 -1; 1.75 X INT +6; absorption in
    //                darkness +12; reduced power in light -7; holy places -6;
    //                Undead phobia -4; Daedra bonus +3                      = -19
    //                (12 disadvantages and -19 points: more than the maker gives)
    //  Lamplighter   hp 12: +4; Magic Resist +5; Short Blades expert +2; Plate -5;
    //                Kite, Tower Shield -1 -1; 2 X INT +8; rapid healing in light +2;
    //                Acute Hearing +1; Undead bonus +6                      = 21
    //  Quarrywright  hp 22: +14; Paralysis, Poison Resist +5 +5; Magic Low Tol. -5;
    //                Axes, Blunt expert +2 +2; Missile forbidden -2; Elven -9;
    //                no spell-point regeneration -14; rapid healing in darkness +3;
    //                Adrenaline Rush +4; Humanoid bonus +6; Animals phobia -4 = 7
    //  Tidewarden    hp 18: +10; Frost, Disease Resist +5 +5; Shock Low Tol. -5;
    //                Long Blades expert +2; Missile forbidden -2; Iron -1, Orcish -3;
    //                Tower Shield -1; regeneration in water +2; Athleticism +4;
    //                Daedra phobia -4; Animals bonus +6                     = 18
    // The multiplier is 0.3 + 2.7 x (total + 12) / 52.
    //
    // What the open engine makes of two of them, in the demo's files:
    //  Lamplighter (CLASS00.CFG, the Mage's): hp 12: a new character 25 + 12 = 37; a level adds 12 / 2 = 6
    //                to 12 (END 50: modifier 50 / 10 - 5 = 0), 9 on average, so level 10 is 37 + 9 x 9 =
    //                118; Restoration (factor 2) at 30 with 1.25: 30 x 2 x 1.25 = 75, x 1.04 x 2 / 5 =
    //                31.2, + 1, floor: 32; Mage enemies 10 + 1 to 12 a level, 6.5 on average: 75 at 10
    //  Tidewarden  (CLASS01.CFG, the Spellsword's): hp 18: 43; 9 to 18, 13.5 on average, level 10 is
    //                43 + 121.5 = 164.5; the file's 104857 / 65536 = 1.59999 reads as 1.60; Swimming
    //                (factor 1): 30 x 1.60 = 48, x 1.04 x 2 / 5 = 19.968, + 1, floor: 20; Spellsword
    //                enemies 10 + 10 x 9.5 = 105 at level 10
    const struct {
        const char* name;
        const char* file;
        const char* total;
        const char* summary;
        std::vector<std::string> play;
    } expected[] = {
        {"lamplighter", "CLASS00.CFG", "  +21  total: 6 advantages, 3 disadvantages\n",
         "Class maker: 2.01 (21 points); the file has 1.25\n",
         {"a new character has 37 hit points (25 + 12)",
          "each level adds 6 to 12 hit points, plus END's modifier, at least 1: on average 118 at level 10 with END 50",
          "Restoration, the first primary skill, needs 32 uses for its next point at level 1 from 30 (multiplier read "
          "as 1.25)",
          "Mage enemies made from it have 10 hit points and 1 to 12 more for each level (their level is the player's): "
          "on average 75 at level 10; they ignore its skills, multiplier, forbidden and expert gear and magery"}},
        {"tidewarden", "CLASS01.CFG", "  +18  total: 6 advantages, 6 disadvantages\n",
         "Class maker: 1.86 (18 points); the file has 1.60\n",
         {"a new character has 43 hit points (25 + 18)",
          "each level adds 9 to 18 hit points, plus END's modifier, at least 1: on average 164.5 at level 10 with END 50",
          "Swimming, the first primary skill, needs 20 uses for its next point at level 1 from 30 (multiplier read as "
          "1.60)",
          "Spellsword enemies made from it have 10 hit points and 1 to 18 more for each level (their level is the "
          "player's): on average 105 at level 10; they ignore its skills, multiplier, forbidden and expert gear and "
          "magery"}},
        {"ashcaller", "CLASS02.CFG", "  -19  total: 4 advantages, 12 disadvantages\n",
         "Class maker: beyond (-19 points); the file has 2.10\n", {}},
        {"quarrywright", "CLASS03.CFG", "   +7  total: 7 advantages, 5 disadvantages\n",
         "Class maker: 1.29 (7 points); the file has 1.10\n", {}},
    };
    TempDir dir;
    std::vector<std::string> args = {"tally"};
    for (const auto& e : expected) {
        std::string cfg = dir.file(e.file);
        ASSERT_EQ(cli({"build", samplesDir() + "/" + e.name + ".txt", "-o", cfg}).status, 0) << e.name;
        args.push_back(cfg);
    }
    Result r = cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    for (const auto& e : expected) {
        std::size_t at = r.out.find(dir.file(e.file) + ":");
        ASSERT_NE(at, std::string::npos) << e.name;
        std::string part = r.out.substr(at, r.out.find("\n\n", at) - at + 1);
        EXPECT_NE(part.find(e.total), std::string::npos) << part;
        EXPECT_NE(part.find(e.summary), std::string::npos) << part;
        EXPECT_EQ(part.find("not from the maker") != std::string::npos, std::string(e.name) == "ashcaller") << part;
        // The play figures follow the maker's price.
        if (e.play.empty()) continue;
        std::string play = e.summary + std::string(kPlayHeading) + "\n";
        for (const std::string& line : e.play) play += "  " + line + "\n";
        EXPECT_EQ(part.substr(part.find(e.summary)), play);
    }
    // The multiplier from which no skill rises, from the uses formula itself.
    EXPECT_TRUE(freezesEverySkill(std::strtof(kFreezingMultiplier, nullptr)));
    EXPECT_FALSE(freezesEverySkill(20032.05f));
    EXPECT_NE(r.out.find("not from the maker: 12 disadvantages, more than the maker's 7\n"), std::string::npos);

    // JSON carries the same reckoning; a missing file fails the command.
    nlohmann::json j = nlohmann::json::parse(cli({"dump", "--json", args[1]}).out);
    EXPECT_EQ(j["tally"]["total"], 21);
    EXPECT_EQ(j["tally"]["makerMultiplier"]["typed"], 131727);  // "2.01" typed: 131727.36, cut
    EXPECT_EQ(j["tally"]["items"][0], (nlohmann::json{{"name", "Resistance: Magic"}, {"points", 5}}));
    EXPECT_EQ(cli({"tally", dir.file("gone.cfg")}).status, 1);
    EXPECT_EQ(cli({"tally"}).status, 2);
}

// --- table --------------------------------------------------------------

TEST(ClasscfgTable, EachFormOfAFolderOfUpperCaseClassFiles) {
    TempDir dir;
    std::system(("mkdir '" + dir.file("arena2") + "'").c_str());
    ClassData odd = plainClass();  // a name to quote, and hit points the maker never gives
    const std::string oddName = "Roof, \"Runner\"";
    std::fill(odd.className.begin(), odd.className.end(), '\0');
    std::copy(oddName.begin(), oddName.end(), odd.className.begin());
    odd.hitPointsPerLevel = 40;
    writeBytes(dir.file("arena2/Class05.Cfg"), bytesOf(odd));
    writeBytes(dir.file("arena2/CLASS00.CFG"), bytesOf(plainClass()));
    writeBytes(dir.file("arena2/README.TXT"), bytesOf(odd));
    const std::string f0 = dir.file("arena2/CLASS00.CFG"), f5 = dir.file("arena2/Class05.Cfg");
    const std::string skills =
        "Restoration,Illusion,Streetwise,Mysticism,Running,Climbing,Short Blade,Dodging,Mercantile,Etiquette,Medical,Stealth";
    const std::string header =
        "file,name,standard,hit points per level,multiplier,maker points,maker multiplier,findings,STR,INT,WIL,AGI,END,PER,SPD,LUC,"
        "primary 1,primary 2,primary 3,major 1,major 2,major 3,minor 1,minor 2,minor 3,minor 4,minor 5,minor 6";
    auto bars = [](std::string line) {
        std::string out = "| ";
        for (char ch : line) out += ch == ',' ? std::string(" | ") : std::string(1, ch);
        return out + " |";
    };
    std::string separator = "|";
    for (int i = 0; i < 28; ++i) separator += "---|";
    // Lamplighter: 12 hit points +4, magery code 0 (3 X INT) +10: 14 points, 1.65. The other: 40 hit
    // points, +42, beyond the maker. CSV adds every other key of the text form and spells the
    // multiplier as it does; each line begins as given and ends in its own line end.
    const struct {
        const char* option;
        std::vector<std::string> starts;
        std::string lineEnd;
    } forms[] = {
        {"--csv",
         {header + ",name tail,Paralysis,Magic,", f0 + ",Lamplighter,Mage,12,1.25 (81920),14,1.65,1,45,60,55,50,45,55,50,50," + skills + ",none,Normal,",
          f5 + ",\"Roof, \"\"Runner\"\"\",Nightblade,40,1.25 (81920),42,,3,45,60,55,50,45,55,50,50," + skills + ",none,"},
         "\r"},
        {"--markdown", {bars(header) + "\n", separator + "\n", bars(f0 + ",Lamplighter,Mage,12,1.25,14,1.65,1,45,60,55,50,45,55,50,50," + skills) + "\n"}, ""},
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(form.option);
        Result r = cli({"table", form.option, dir.file("arena2")});
        EXPECT_EQ(r.status, 0) << r.err;
        std::istringstream lines(r.out);
        std::string line;
        for (const std::string& start : form.starts) {
            std::getline(lines, line);
            line += "\n";
            EXPECT_EQ(line.substr(0, start.size()), start);
            EXPECT_EQ(line.substr(line.size() - 1 - form.lineEnd.size()), form.lineEnd + "\n");
        }
    }
    EXPECT_NE(cli({"table", "--csv", f0}).out.find(",none,0x0000,0x0000,0x00,0x0000\r\n"), std::string::npos);
    EXPECT_NE(cli({"table", "--csv", f0}).out.find(",expert weapon bits 6-7,equipment bits 13-15\r\n"), std::string::npos);

    nlohmann::json j = nlohmann::json::parse(cli({"table", "--json", dir.file("arena2")}).out);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0].size(), 28u);
    EXPECT_EQ(j[0]["standard"], "Mage");
    EXPECT_EQ(j[0]["maker multiplier"], 1.65);
    EXPECT_EQ(j[0]["minor 6"], "Stealth");
    EXPECT_EQ(j[1]["name"], oddName);
    EXPECT_EQ(j[1]["maker points"], 42);
    EXPECT_TRUE(j[1]["maker multiplier"].is_null());

    // Plain text: each column starts where its header does; a file name outside the table has no standard class.
    writeBytes(dir.file("class-x.cfg"), bytesOf(plainClass()));
    Result r = cli({"table", f0, dir.file("class-x.cfg")});
    EXPECT_EQ(r.status, 0);
    std::istringstream lines(r.out);
    std::string head, row0, row1;
    std::getline(lines, head);
    std::getline(lines, row0);
    std::getline(lines, row1);
    EXPECT_EQ(row0.find("Lamplighter  Mage "), head.find("name "));
    EXPECT_EQ(row0.substr(head.find("hit points per level"), 4), "12  ");
    EXPECT_EQ(row1.substr(head.find("standard"), 10), std::string(10, ' '));
    EXPECT_EQ(row1.substr(head.find("hit points per level"), 4), "12  ");
    EXPECT_EQ(row0.substr(row0.size() - 9), "  Stealth");

    EXPECT_EQ(standardClassFor("C:\\Games\\arena2\\class18.cfg"), "Knight (city watch)");
    EXPECT_EQ(standardClassFor("arena2/CLASS19.CFG"), "");
    EXPECT_EQ(makerText(tallyClass(odd)), "beyond (42 points)");
}

// --- apply --------------------------------------------------------------

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Every cell quoted, as some spreadsheets write.
std::string csvText(const Rows& rows, const std::string& sep = ",", const std::string& lineEnd = "\r\n") {
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            text += (i ? sep : "") + std::string("\"");
            for (char ch : row[i]) text += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            text += "\"";
        }
        text += lineEnd;
    }
    return text;
}

void setCell(Rows& rows, std::size_t row, const std::string& column, const std::string& value) {
    auto at = std::find(rows[0].begin(), rows[0].end(), column);
    ASSERT_NE(at, rows[0].end()) << column;
    rows.at(row - 1).at(static_cast<std::size_t>(at - rows[0].begin())) = value;
}

// A file rewritten, even with the same bytes, is a new file under its name.
std::vector<ino_t> inodes(const std::vector<std::string>& files) {
    std::vector<ino_t> out;
    for (const std::string& f : files) {
        struct stat st {};
        out.push_back(stat(f.c_str(), &st) == 0 ? st.st_ino : 0);
    }
    return out;
}

// A folder of class files and its table as table --csv writes it.
struct Tabled {
    TempDir dir;
    std::vector<std::string> files;
    Rows rows;
    explicit Tabled(const std::vector<std::vector<std::uint8_t>>& contents) {
        std::system(("mkdir '" + dir.file("arena2") + "'").c_str());
        for (std::size_t i = 0; i < contents.size(); ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "arena2/CLASS%02zu.CFG", i);
            files.push_back(dir.file(name));
            writeBytes(files.back(), contents[i]);
        }
        rows = readCsv(cli({"table", "--csv", dir.file("arena2")}).out);
    }
    std::vector<std::vector<std::uint8_t>> bytes() const {
        std::vector<std::vector<std::uint8_t>> out;
        for (const std::string& f : files) out.push_back(readBytes(f));
        return out;
    }
    Result apply(const std::string& text, bool dryRun = false) {
        writeText(dir.file("t.csv"), text);
        return dryRun ? cli({"apply", "--dry-run", dir.file("t.csv")}) : cli({"apply", dir.file("t.csv")});
    }
};

}  // namespace

TEST(ClasscfgApply, AnUnchangedTableWritesNothingAndKeepsEveryByte) {
    // Our odd class (a name to quote and escape, bytes behind it, unshown bits) and random files.
    ClassData odd = plainClass();
    const std::string oddName = "R\x01of, \"R\\n\"\x81;";
    std::fill(odd.className.begin(), odd.className.end(), '\0');
    std::copy(oddName.begin(), oddName.end(), odd.className.begin());
    odd.className[17] = '\x7F';
    odd.advancementMultiplier = 81921;
    odd.abilityFlags = 0xE000;
    odd.skills[3] = 200;
    std::vector<std::vector<std::uint8_t>> contents = {bytesOf(plainClass()), bytesOf(odd)};
    std::mt19937 rng(2026);
    for (int i = 0; i < 60; ++i) {
        std::vector<std::uint8_t> b(74);
        for (auto& x : b) x = static_cast<std::uint8_t>(rng());
        contents.push_back(b);
    }
    Tabled t(contents);
    ASSERT_EQ(t.rows.size(), 63u);
    EXPECT_EQ(t.rows[2][1], "R\\x01of, \"R\\\\n\"\\x81;");
    const std::vector<ino_t> before = inodes(t.files);
    for (bool dryRun : {true, false}) {
        Result r = t.apply(cli({"table", "--csv", t.dir.file("arena2")}).out, dryRun);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, dryRun ? "dry run: 0 of 62 class files would change; nothing written\n"
                                : "0 of 62 class files changed; nothing written\n");
        EXPECT_EQ(t.bytes(), contents);
        EXPECT_EQ(inodes(t.files), before);
    }
}

TEST(ClasscfgApply, OneEditedCellChangesThatFieldOfThatFileAlone) {
    const struct {
        const char* column;
        const char* cell;
        const char* change;
    } cases[] = {
        {"STR", "61", "STR: 45 -> 61"},
        {"major 2", "Axe", "major skills: Mysticism, Running, Climbing -> Mysticism, Axe, Climbing"},
        {"name", "Roof, \"Runner\"\\x01", "name: \"Lamplighter\" -> \"Roof, \\\"Runner\\\"\\x01\""},
        {"multiplier", "1.5", "multiplier: 1.25 (81920) -> 1.50 (98304)"},
        {"Fire", "Resist", "Fire: Normal -> Resist"},
        {"hidden block", "00 00 7F 00 00", "hidden block: 00 00 00 00 00 -> 00 00 7F 00 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        Tabled t({bytesOf(plainClass()), bytesOf(plainClass())});
        const std::vector<ino_t> before = inodes(t.files);
        setCell(t.rows, 3, c.column, c.cell);
        const std::string change = t.files[1] + ": " + c.change + "\n";
        Result r = t.apply(csvText(t.rows), true);
        EXPECT_EQ(r.out, change + "dry run: 1 of 2 class files would change; nothing written\n") << r.err;
        EXPECT_EQ(inodes(t.files), before);
        r = t.apply(csvText(t.rows));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, change + "1 of 2 class files changed and written\n");
        EXPECT_EQ(cli({"diff", t.files[0], t.files[1]}).out, std::string(c.change) + "\n");
        EXPECT_EQ(inodes(t.files)[0], before[0]);
    }
}

TEST(ClasscfgApply, ARefusedTableNamesRowAndColumnAndWritesNothing) {
    const struct {
        const char* what;
        void (*spoil)(Rows&, const std::string& dir);
        const char* message;  // after "classcfg: TABLE: "; FILE stands for the second file
    } cases[] = {
        {"a number", [](Rows& r, const std::string&) { setCell(r, 3, "STR", "lots"); },
         "row 3 (FILE), column STR: expected a number from 0 to 65535, got 'lots'"},
        {"a skill", [](Rows& r, const std::string&) { setCell(r, 3, "minor 4", "Sneaking"); },
         "row 3 (FILE), column minor 4: unknown skill 'Sneaking' (one of: "},
        {"a state", [](Rows& r, const std::string&) { setCell(r, 3, "Fire", "Resist, Normal"); },
         "row 3 (FILE), column Fire: Normal cannot be combined with other states (the cell holds 'Resist, Normal')"},
        {"a name", [](Rows& r, const std::string&) { setCell(r, 3, "name", "Lamplighter\\q"); },
         "row 3 (FILE), column name: unknown escape \\q in the name (use \\\\, \\\" or \\xHH) (the cell holds 'Lamplighter\\q')"},
        {"a tail the name leaves no room for", [](Rows& r, const std::string&) { setCell(r, 3, "name tail", "01 02 03 04 05 06 07 08"); },
         "row 3 (FILE), column name: the name (11 bytes), its NUL and the name tail (8 bytes) need 20 bytes"},
        {"a line break", [](Rows& r, const std::string&) { setCell(r, 3, "name", "Lamp\nlighter"); },
         "row 3 (FILE), column name: the cell holds a line break"},
        {"an unknown column", [](Rows& r, const std::string&) { r[0][20] = "speed"; }, "row 1: unknown column 'speed'"},
        {"a column twice", [](Rows& r, const std::string&) { r[0][20] = "str"; }, "row 1: the column 'STR' is given twice (columns 9 and 21)"},
        {"no file column", [](Rows& r, const std::string&) { for (auto& row : r) row.erase(row.begin()); },
         "row 1: no column 'file'"},
        {"a missing file", [](Rows& r, const std::string& d) { setCell(r, 3, "file", d + "/gone.cfg"); },
         "row 3 (DIR/gone.cfg), column file: cannot open DIR/gone.cfg: No such file or directory"},
        {"a 75-byte file", [](Rows&, const std::string& d) { writeBytes(d + "/arena2/CLASS01.CFG", countingBytes(75)); },
         "row 3 (FILE), column file: FILE is 75 bytes long; a class file is 74 bytes."},
        {"a file twice", [](Rows& r, const std::string&) { r.push_back(r[2]); }, "row 4 (FILE), column file: the file is also on row 3"},
        {"a short row", [](Rows& r, const std::string&) { r[2].pop_back(); }, "row 3: 65 cells where the header has 66"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Tabled t({bytesOf(plainClass()), bytesOf(plainClass())});
        setCell(t.rows, 2, "STR", "50");  // a change that must not be written either
        c.spoil(t.rows, t.dir.path());
        const std::vector<std::vector<std::uint8_t>> contents = t.bytes();
        Result r = t.apply(csvText(t.rows));
        EXPECT_EQ(r.status, 1);
        std::string message = c.message;
        for (auto at = message.find("FILE"); at != std::string::npos; at = message.find("FILE"))
            message.replace(at, 4, t.files[1]);
        for (auto at = message.find("DIR"); at != std::string::npos; at = message.find("DIR"))
            message.replace(at, 3, t.dir.path());
        EXPECT_EQ(r.err.rfind("classcfg: " + t.dir.file("t.csv") + ": " + message, 0), 0u) << r.err;
        EXPECT_EQ(r.err.substr(r.err.size() - 27), "\nclasscfg: no file written\n");
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(t.bytes(), contents);
    }
    // A quote left open: the reader names the row.
    Tabled t({bytesOf(plainClass())});
    EXPECT_EQ(t.apply("file,name\r\n" + t.files[0] + ",\"Lamp\r\n").err,
              "classcfg: " + t.dir.file("t.csv") + ": row 2: cell 2 opens a quote that is never closed\nclasscfg: no file written\n");
}

TEST(ClasscfgApply, ReadsWhatSpreadsheetsWrite) {
    // Separators and line ends, a byte-order mark, some columns only: the others keep the file's
    // values and the derived ones are not read.
    const struct {
        const char* sep;
        const char* lineEnd;
        bool bom;
    } forms[] = {{",", "\r\n", false}, {";", "\r\n", true}, {",", "\n", true}, {";", "\n", false}};
    ClassData expected = plainClass();
    const std::string name = "Roof; \"Runner\", \xE9";
    std::fill(expected.className.begin(), expected.className.end(), '\0');
    std::copy(name.begin(), name.end(), expected.className.begin());
    expected.attributes[0] = 70;
    expected.skills[11] = 31;  // Axe
    for (const auto& f : forms) {
        SCOPED_TRACE(std::string(f.sep) + (f.bom ? " BOM" : ""));
        Tabled t({bytesOf(plainClass())});
        const Rows rows = {{"file", "Name", "STR", "findings", "minor 6", "maker multiplier"},
                           {t.files[0], "Roof; \"Runner\", \xC3\xA9", "70", "junk", "Axe", "9.99"},
                           {"", "", "", "", "", ""}};
        Result r = t.apply((f.bom ? "\xEF\xBB\xBF" : "") + csvText(rows, f.sep, f.lineEnd));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(readBytes(t.files[0]), bytesOf(expected));
    }
}
