// classcfg's text form: dump followed by build gives back every byte, and
// every combination a file can hold has a way to be written down.
#include "classcfg.h"
#include "tables.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <random>
#include <sstream>

using namespace kestrane;
using namespace kestrane::classcfg;

namespace {

std::vector<std::string> sampleFiles() {
    std::vector<std::string> out;
    if (DIR* d = opendir(samplesDir().c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".txt") == 0) out.push_back(samplesDir() + "/" + n);
        }
        closedir(d);
    }
    return out;
}

std::string readText(const std::string& path) {
    std::vector<std::uint8_t> b = readBytes(path);
    return std::string(b.begin(), b.end());
}

std::vector<std::uint8_t> bytesOf(const ClassData& c) {
    auto a = c.toBytes();
    return std::vector<std::uint8_t>(a.begin(), a.end());
}

std::vector<std::uint8_t> roundTrip(const std::vector<std::uint8_t>& bytes) {
    return bytesOf(parseText(dumpText(bytes), "dump"));
}

bool hasLine(const std::string& text, const std::string& line) {
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        if (l == line) return true;
    return false;
}

ClassData named(const char* name) {
    ClassData c;
    std::string n = name;
    std::copy(n.begin(), n.end(), c.className.begin());
    return c;
}

}  // namespace

TEST(ClasscfgSamples, EachIsInTheFormDumpWritesAndChecksClean) {
    std::vector<std::string> files = sampleFiles();
    ASSERT_GE(files.size(), 3u) << "samples in " << samplesDir();
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        std::string text = readText(f);
        ClassData c = parseText(text, f);
        std::vector<std::uint8_t> bytes = bytesOf(c);
        EXPECT_EQ(roundTrip(bytes), bytes);
        // A sample is its own dump behind a comment block, so it diffs
        // cleanly against what `dump` prints for the built file.
        std::string body = text.substr(text.find("# Basic Info"));
        EXPECT_EQ(dumpText(bytes), body);
        // Under its own file name a sample has no findings but the class maker's.
        for (const Finding& x : checkFindings(bytes, f)) {
            EXPECT_EQ(x.game, Game::Maker) << x.text;
        }
        EXPECT_FALSE(c.nameText().empty());
        if (f.find("ashcaller") != std::string::npos) {
            EXPECT_FALSE(checkFindings(bytes, f).empty());
        }
    }
}

TEST(ClasscfgRoundTrip, ThousandsOfRandomFilesComeBackByteForByte) {
    std::mt19937 rng(74);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < 4000; ++n) {
        std::vector<std::uint8_t> bytes(kClassFileSize);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(rng));
        // Half of them get a NUL inside the name, so that tails are exercised too.
        if (n % 2) bytes[28 + static_cast<std::size_t>(byte(rng)) % 19] = 0;
        ASSERT_EQ(roundTrip(bytes), bytes) << "file " << n << ":\n" << dumpText(bytes);
    }
}

TEST(ClasscfgRoundTrip, JsonCarriesTheSameBytes) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < 200; ++n) {
        std::vector<std::uint8_t> bytes(kClassFileSize);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(rng));
        nlohmann::json j = nlohmann::json::parse(dumpJson(bytes));
        ClassData c = recordOf(bytes);
        std::string hex;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            char buf[4];
            std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", bytes[i]);
            hex += buf;
        }
        ASSERT_EQ(j.at("bytes").get<std::string>(), hex);
        EXPECT_EQ(j.at("multiplier").at("fixed").get<std::int32_t>(), c.advancementMultiplier);
        EXPECT_EQ(j.at("attributes").at("LUC").get<int>(), c.attributes[7]);
        EXPECT_EQ(j.at("keptAsRead").at("hiddenByte").get<int>(), c.hiddenByte);
        // The name is the text form's string, escapes and all.
        const std::string text = dumpText(bytes);
        const std::size_t at = text.find("\nname: ") + 7;
        EXPECT_EQ("\"" + j.at("name").get<std::string>() + "\"", text.substr(at, text.find('\n', at) - at));
    }
}

TEST(ClasscfgDump, CombinationsNoClickProducesAreWrittenOutAndBuiltBack) {
    ClassData c = named("Oddity");
    c.resistFlags = 0x08;
    c.lowToleranceFlags = 0x08;  // Fire: two tolerances
    c.expertWeapons = 0x08;
    c.forbiddenEquipment = 0x08;  // Axes: forbidden and expert
    c.abilityFlags = kUnableInDarkBit | kReducedInDarkBit | (6 << kMageryShift);
    c.regeneration = 3;
    c.bonusPhobiaFlags = 0x11;  // Undead: bonus and phobia
    c.skills[11] = 200;
    c.criticalWeaknessFlags = 0x80;
    std::string text = dumpText(c);
    EXPECT_TRUE(hasLine(text, "Fire: Resist, Low Tol.")) << text;
    EXPECT_TRUE(hasLine(text, "Axes: Forbidden, Expert")) << text;
    EXPECT_TRUE(hasLine(text, "light powered magery: Unable to Cast in Dark, Reduced Power in Dark")) << text;
    EXPECT_TRUE(hasLine(text, "increased magery: 6")) << text;
    EXPECT_TRUE(hasLine(text, "regeneration: 3")) << text;
    EXPECT_TRUE(hasLine(text, "Undead: Bonus, Phobia")) << text;
    EXPECT_TRUE(hasLine(text, "minor skills: Medical, Medical, Medical, Medical, Medical, 200")) << text;
    EXPECT_TRUE(hasLine(text, "effect bit 7: Critical")) << text;
    EXPECT_EQ(bytesOf(parseText(text, "t")), bytesOf(c));
}

TEST(ClasscfgDump, NameBytesAreQuotedEscapedAndTheTailKept) {
    ClassData c;
    const char raw[19] = {'A', '"', 'b', '\\', 'c', '\x01', '\xE9', '\0', 'o', 'l', 'd', '\0', '\0', 'X'};
    std::copy(raw, raw + 19, c.className.begin());
    std::string text = dumpText(c);
    EXPECT_TRUE(hasLine(text, "name: \"A\\\"b\\\\c\\x01\xC3\xA9\"")) << text;
    EXPECT_TRUE(hasLine(text, "name tail: 6F 6C 64 00 00 58")) << text;
    EXPECT_EQ(bytesOf(parseText(text, "t")), bytesOf(c));

    ClassData full;
    full.className.fill('Z');  // 19 letters, no terminator
    text = dumpText(full);
    EXPECT_TRUE(hasLine(text, "name: \"ZZZZZZZZZZZZZZZZZZZ\"")) << text;
    EXPECT_TRUE(hasLine(text, "name tail: none")) << text;
    EXPECT_EQ(bytesOf(parseText(text, "t")), bytesOf(full));

    // UTF-8 text is built as the Windows-1252 bytes the editor stores, and
    // dumps back the same; the five undefined bytes stay escapes.
    ClassData typed = parseText("name: \"D\xC3\xBCster\xC3\xA9 \xE2\x82\xAC\\x81\"\n", "t");
    EXPECT_EQ(typed.nameText(), "D\xFCster\xE9 \x80\x81");
    EXPECT_TRUE(hasLine(dumpText(typed), "name: \"D\xC3\xBCster\xC3\xA9 \xE2\x82\xAC\\x81\"")) << dumpText(typed);
    // Not UTF-8, or a character Windows-1252 lacks: refused, naming the line.
    for (const char* bad : {"\n\nname: \"D\xFCster\"\n", "\n\nname: \"\xCE\xA9mega\"\n"}) {
        try {
            parseText(bad, "t");
            ADD_FAILURE() << bad;
        } catch (const TextError& e) {
            EXPECT_EQ(e.line(), 3) << e.what();
        }
    }
}

TEST(ClasscfgDump, MultiplierShowsTwoDecimalsAndItsExactFixedPointValue) {
    ClassData c;
    c.advancementMultiplier = 98304;
    EXPECT_TRUE(hasLine(dumpText(c), "multiplier: 1.50 (98304)"));
    c.advancementMultiplier = -655;
    EXPECT_TRUE(hasLine(dumpText(c), "multiplier: -0.01 (-655)"));
    EXPECT_EQ(parseText(dumpText(c), "t").advancementMultiplier, -655);
}

TEST(ClasscfgDump, OtherSizesSayHowTheyWereRead) {
    std::vector<std::uint8_t> shortFile = countingBytes(30, 0x41);
    std::string text = dumpText(shortFile);
    EXPECT_EQ(text.rfind("# file size: 30 bytes, not 74.\n", 0), 0u) << text;
    // The missing bytes read as zero, and build writes them so.
    std::vector<std::uint8_t> expect = shortFile;
    expect.resize(kClassFileSize, 0);
    EXPECT_EQ(bytesOf(parseText(text, "t")), expect);

    std::vector<std::uint8_t> longFile = countingBytes(76, 0x10);
    text = dumpText(longFile);
    EXPECT_TRUE(hasLine(text, "# Bytes past 74, which a read ignores and build does not write: 5A 5B")) << text;
    EXPECT_EQ(bytesOf(parseText(text, "t")), std::vector<std::uint8_t>(longFile.begin(), longFile.begin() + 74));
}

TEST(ClasscfgBuildText, HandWrittenTextIsReadLeniently) {
    std::string text =
        "\xEF\xBB\xBF# a class written by hand\r\n"
        "  NAME :  \"Hand Made\"  \r\n"
        "\r\n"
        "increased magery: 1 x int\r\n"          // one blank where the caption has two
        "Missile Weapons: fobidden\r\n"          // the editor's old spelling
        "major skills: Ettiqette, 3, Etiquette\r\n"  // the old spelling and the mended one
        "multiplier: 1.1\r\n"                    // cut toward zero, as the editor stores typed text
        "forbidden materials: iron, Daedric\r\n"
        "primary skills: long blade, 200, Archery\r\n"
        "regeneration: 8\r\n"
        "hidden byte: 255\r\n";
    ClassData c = parseText(text, "t");
    EXPECT_EQ(c.nameText(), "Hand Made");
    EXPECT_EQ(c.abilityFlags, 4 << kMageryShift);
    EXPECT_EQ(c.forbiddenEquipment, 0x20);
    EXPECT_EQ(c.advancementMultiplier, 72089);
    EXPECT_EQ(c.forbiddenMaterials, 0x0201);
    EXPECT_EQ(c.skills[0], 29);
    EXPECT_EQ(c.skills[1], 200);
    EXPECT_EQ(c.skills[2], 33);
    EXPECT_EQ(c.skills[3], 1);
    EXPECT_EQ(c.skills[5], 1);
    EXPECT_EQ(c.regeneration, 8);
    EXPECT_EQ(c.hiddenByte, 255);
    // Keys left out keep the zero record's value.
    EXPECT_EQ(c.attributes[0], 0);
    EXPECT_EQ(c.resistFlags, 0);
}
