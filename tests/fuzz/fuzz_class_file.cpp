// Fuzz target: the class file reader over arbitrary bytes, then the five
// pages' rules on whatever record the read left.
//
// Invariants:
//  - fromBytes and the real read through a file change exactly the first
//    min(N, 74) file bytes of the record, to the input's bytes;
//  - writeClassFile writes 74 bytes that read back to the same record;
//  - nameText() never passes the 19 bytes; the name field never shows more
//    than 18;
//  - every page button's click on that record changes only its own page's
//    bits, and leaves the button shown as a click would (a radio checked, a
//    check box flipped); a foreign id changes nothing;
//  - the Basic Info number rules round-trip every stored value.
// Crashes and sanitizer reports are findings too.
//
// A file costs a hundred times what an in-memory read does, and checking
// every button and number ten times, so most inputs are read in memory and
// checked on one group of rules the input picks (a page button or an id foreign to the page, the
// numbers with one attribute, or the input as typed text); one input in 1024
// (every input when replayed) goes through real files and every check.
#include "fuzz_support.h"

#include "basic_info_rules.h"
#include "class_name_rules.h"
#include "class_record.h"
#include "magicka_rules.h"
#include "miscellaneous_rules.h"
#include "resistance_rules.h"
#include "resource.h"
#include "tables.h"
#include "weapons_armor_rules.h"
#include "windows1252.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

using namespace kestrane;
using kestrane::fuzz::readRaw;
using kestrane::fuzz::scratchDir;
using kestrane::fuzz::writeRaw;

namespace {

using Bytes = std::array<std::uint8_t, kClassFileSize>;

// The bits a page's buttons may change, as file bytes.
Bytes resistanceBits() {
    ClassData m;
    m.resistFlags = m.immuneFlags = m.lowToleranceFlags = m.criticalWeaknessFlags = 0x7F;
    return m.toBytes();
}
Bytes weaponsArmorBits() {
    ClassData m;
    m.forbiddenMaterials = 0x03FF;
    m.expertWeapons = 0x3F;
    m.forbiddenEquipment = 0x1FFF;
    return m.toBytes();
}
Bytes magickaBits() {
    ClassData m;
    m.abilityFlags = kNoSpellRegenBit | kUnableInDarkBit | kReducedInDarkBit | kUnableInLightBit |
                     kReducedInLightBit | kMageryMask;
    m.spellAbsorption = 0xFF;
    return m.toBytes();
}
Bytes miscellaneousBits() {
    ClassData m;
    m.abilityFlags = kTalentMask | kDamageSunlightBit | kDamageHolyBit;
    m.rapidHealing = m.regeneration = m.bonusPhobiaFlags = 0xFF;
    return m.toBytes();
}

bool inRange(int id, int first, int count) { return id >= first && id < first + count; }

struct Page {
    const char* name;
    const int* ids;
    std::size_t count;
    bool (*shown)(const ClassData&, int);
    bool (*click)(int id, bool checkedAfterClick);
    bool (*isCheckBox)(int id);  // everything else is a radio button
    Bytes mayChange;
};

const std::array<Page, 4>& pages() {
    static const std::array<Page, 4> all = {{
        {"resistance", kResistanceButtons.data(), kResistanceButtons.size(), resistanceShown,
         [](int id, bool) { return resistanceClicked(id); }, [](int) { return false; }, resistanceBits()},
        {"weapons and armor", kWeaponsArmorButtons.data(), kWeaponsArmorButtons.size(), weaponsArmorShown,
         [](int id, bool) { return weaponsArmorClicked(id); },
         [](int id) { return inRange(id, IDC_WA_MATERIAL0, 10) || inRange(id, IDC_WA_LEATHER, 7); },
         weaponsArmorBits()},
        {"magicka", kMagickaButtons.data(), kMagickaButtons.size(), magickaShown, magickaClicked,
         [](int id) { return id == IDC_MAG_NO_SPELL_REGEN; }, magickaBits()},
        {"miscellaneous", kMiscellaneousButtons.data(), kMiscellaneousButtons.size(), miscellaneousShown,
         miscellaneousClicked,
         [](int id) { return inRange(id, IDC_MISC_TALENT0, 3) || id == IDC_MISC_SUNLIGHT || id == IDC_MISC_HOLY; },
         miscellaneousBits()},
    }};
    return all;
}

// Every button of every page and a foreign id on each, or on the one page
// `pick` falls on either its one button or the foreign id.
void checkPages(const ClassData& record, const Bytes& start, int foreignId, bool every, std::uint32_t pick) {
    const bool foreignOnly = !every && pick % 2 == 1;
    pick /= 2;
    for (std::size_t p = 0; p < pages().size(); ++p) {
        if (!every && p != pick % pages().size()) continue;
        const Page& page = pages()[p];
        const std::size_t one = pick / pages().size() % page.count;
        for (std::size_t k = every ? 0 : one; !foreignOnly && k < (every ? page.count : one + 1); ++k) {
            const int id = page.ids[k];
            ClassRecord = record;
            const bool wasShown = page.shown(ClassRecord, id);
            // A check box's state after a click is the opposite of what it showed.
            FUZZ_CHECK(page.click(id, !wasShown));
            const Bytes after = ClassRecord.toBytes();
            for (std::size_t i = 0; i < kClassFileSize; ++i)
                FUZZ_CHECK(((after[i] ^ start[i]) & ~page.mayChange[i]) == 0);
            FUZZ_CHECK(page.shown(ClassRecord, id) == (page.isCheckBox(id) ? !wasShown : true));
        }
        if ((every || foreignOnly) && std::find(page.ids, page.ids + page.count, foreignId) == page.ids + page.count) {
            ClassRecord = record;
            FUZZ_CHECK(!page.shown(ClassRecord, foreignId));
            FUZZ_CHECK(!page.click(foreignId, true));
            FUZZ_CHECK(ClassRecord.toBytes() == start);
        }
    }
}

void checkStep(bool (*step)(std::uint16_t&, int), std::uint16_t v, int code) {
    std::uint16_t u = v;
    if (step(u, code))
        FUZZ_CHECK(code == kLineUp ? u == v + 1 : (code == kLineDown && u == v - 1));
    else
        FUZZ_CHECK(u == v);
}

void checkNumber(std::uint16_t v, std::size_t limit, bool (*step)(std::uint16_t&, int)) {
    const std::string s = formatNumber(v);
    FUZZ_CHECK(readNumberText(s) == v);
    FUZZ_CHECK(numberAfterShowing(v, fieldLimitFor(s, limit)) == v);
    for (int code : {kLineUp, kLineDown, 7}) checkStep(step, v, code);
}

void checkMultiplier(std::int32_t m) {
    const std::string s = formatMultiplier(m);
    // A value at the top shows as 32768.00, which is past 16.16: the field's
    // text then stores nothing and the record keeps the value.
    const std::optional<std::int32_t> read = readMultiplierText(s);
    const std::int32_t back = read.value_or(m);
    // Two decimals lose at most half a hundredth (327.68 raw), the cut one more.
    const long long diff = static_cast<long long>(back) - m;
    FUZZ_CHECK(diff >= -329 && diff <= 329);
    FUZZ_CHECK(read || m > 0x7FFF0000);
    FUZZ_CHECK(multiplierAfterShowing(m, fieldLimitFor(s, kMultiplierLimit)) == back);
    for (int code : {kLineUp, kLineDown, 7}) {
        std::int32_t u = m;
        if (stepMultiplier(u, code))
            FUZZ_CHECK(static_cast<long long>(u) - m == (code == kLineUp ? 655 : -655));
        else
            FUZZ_CHECK(u == m);
    }
}

// The input as a field's text: digits alone read as an attribute or the hit
// points, and text that does not read stores nothing.
void checkTypedText(const std::string& text) {
    const bool allDigits =
        !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    const std::optional<std::uint16_t> n = readNumberText(text);
    if (!allDigits) FUZZ_CHECK(!n);
    if (allDigits && text.size() <= 9) {
        const long a = std::atol(text.c_str());
        FUZZ_CHECK(a > 65535 ? !n : n == a);
    }
    const std::optional<std::int32_t> m = readMultiplierText(text);
    if (m) FUZZ_CHECK(text.find_first_not_of("-.0123456789") == std::string::npos);

    ClassRecord = ClassData{};
    ClassRecord.attributes[3] = 7;
    ClassRecord.hitPointsPerLevel = 8;
    ClassRecord.advancementMultiplier = 9;
    FUZZ_CHECK(storeAttributeText(3, text) == n.has_value());
    FUZZ_CHECK(ClassRecord.attributes[3] == n.value_or(7));
    FUZZ_CHECK(!storeAttributeText(kAttributeCount, text));  // out of range: ignored
    FUZZ_CHECK(storeHitPointsText(text) == n.has_value());
    FUZZ_CHECK(ClassRecord.hitPointsPerLevel == n.value_or(8));
    FUZZ_CHECK(storeMultiplierText(text) == m.has_value());
    FUZZ_CHECK(ClassRecord.advancementMultiplier == m.value_or(9));
    const int selection = text.empty() ? -1 : static_cast<signed char>(text[0]);
    storeSkillSelection(kSkillCount - 1, selection);
    FUZZ_CHECK(ClassRecord.skills[kSkillCount - 1] == static_cast<std::uint8_t>(selection & 0xFF));
    storeSkillSelection(kSkillCount, selection);  // out of range: ignored
    FUZZ_CHECK(ClassRecord.toBytes() == [&] {
        ClassData expected;
        expected.attributes[3] = n.value_or(7);
        expected.hitPointsPerLevel = n.value_or(8);
        expected.advancementMultiplier = m.value_or(9);
        expected.skills[kSkillCount - 1] = static_cast<std::uint8_t>(selection & 0xFF);
        return expected.toBytes();
    }());

    ClassData named;
    named.className.fill('Z');
    storeClassName(named, text);
    const std::size_t stored = std::min(text.size(), kClassNameLimit);
    FUZZ_CHECK(named.nameText() == std::string(text.c_str(), std::min(stored, std::strlen(text.c_str()))));
    for (std::size_t i = stored + 1; i < kClassNameSize; ++i) FUZZ_CHECK(named.className[i] == 'Z');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint32_t hash = kestrane::fuzz::hashOf(data, size);
    const bool every = kestrane::fuzz::checkEverything(hash, 1024);
    const std::uint32_t pick = hash / 1024;

    // A record whose bytes differ from byte to byte, so that a byte a read
    // left alone is told from one it wrote; made once.
    static const Bytes before = [] {
        Bytes b;
        for (std::size_t i = 0; i < kClassFileSize; ++i) b[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 151));
        return b;
    }();
    static const ClassData start = [] {
        ClassData r;
        r.fromBytes(before.data(), before.size());
        FUZZ_CHECK(r.toBytes() == before);
        return r;
    }();

    Bytes expected = before;
    std::copy(data, data + std::min(size, kClassFileSize), expected.begin());

    ClassData read = start;
    read.fromBytes(data, size);
    FUZZ_CHECK(read.toBytes() == expected);

    if (every) {
        // The real read, through a file.
        const std::string& dir = scratchDir();
        const std::string in = dir + "/in.cfg";
        writeRaw(in, data, size);
        read = start;
        read.classFilePath = in;
        FUZZ_CHECK(read.readClassFile());
        FUZZ_CHECK(read.toBytes() == expected);

        // Written and read back into an empty record: the same 74 bytes.
        const std::string out = dir + "/out.cfg";
        read.classFilePath = out;
        read.writeClassFile();
        const std::string onDisk = readRaw(out);
        FUZZ_CHECK(onDisk.size() == kClassFileSize && std::memcmp(onDisk.data(), expected.data(), kClassFileSize) == 0);
        ClassData again;
        again.classFilePath = out;
        FUZZ_CHECK(again.readClassFile());
        FUZZ_CHECK(again.toBytes() == expected);
    }
    FUZZ_CHECK(read.nameText().size() <= kClassNameSize);
    // The field shows the name's start as text; its bytes come back from it.
    const std::string shownName = utf8ToWindows1252(classNameForDisplay(read));
    FUZZ_CHECK(shownName.size() <= kClassNameLimit && read.nameText().compare(0, shownName.size(), shownName) == 0);

    // The rules: all of them, or the one group the input picks.
    const int group = every ? -1 : static_cast<int>(pick % 3);
    if (group < 0 || group == 0) {
        const int foreignId = size >= 2 ? 3000 + ((data[0] << 8 | data[1]) % 400) : 0;
        checkPages(read, expected, foreignId, every, pick / 3);
    }
    if (group < 0 || group == 1) {
        for (std::size_t a = 0; a < kAttributeCount; ++a)
            if (every || a == pick / 3 % kAttributeCount) checkNumber(read.attributes[a], kAttributeLimit, stepAttribute);
        checkNumber(read.hitPointsPerLevel, kHitPointsLimit, stepHitPoints);
        checkMultiplier(read.advancementMultiplier);
    }
    if (group < 0 || group == 2) checkTypedText(std::string(reinterpret_cast<const char*>(data), size));

    ClassRecord = ClassData{};
    return 0;
}
