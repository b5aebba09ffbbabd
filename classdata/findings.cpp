// Each rule names its source. Facts of the open engine come from Daggerfall
// Unity (github.com/Interkarma/daggerfall-unity); those of the class maker
// from its class maker windows there, which follow the original's.
#include "findings.h"

#include "basic_numbers.h"
#include "standard_classes.h"
#include "tables.h"
#include "tally.h"
#include "windows1252.h"

#include <algorithm>
#include <cstdio>

namespace kestrane {

namespace {

struct Subject {
    const ClassData& c;
    const std::string& fileName;
};

using Found = std::vector<Finding>;

void add(Found& f, Game g, Severity s, const std::string& text) { f.push_back({text, g, s}); }

// The name's 16 bytes of the record's layout (ClassFile.cs: bytes 28-43,
// then 8 bytes kept); the last 3 of our 19 belong to those 8.
constexpr std::size_t kRecordNameBytes = 16;

// API/ClassFile.cs reads the name with FileProxy.ReadCStringSkip(reader, 0, 16):
// up to its NUL wherever that is, failing at the end of the file without
// one, then goes on at byte 44 whatever it read.
void nameLength(const Subject& s, Found& f) {
    const auto nul = std::find(s.c.className.begin(), s.c.className.end(), '\0');
    if (nul == s.c.className.end()) {
        const std::array<std::uint8_t, kClassFileSize> bytes = s.c.toBytes();
        const FieldInfo& field = *fieldNamed("className");
        std::size_t end = field.offset + field.size;
        while (end < bytes.size() && bytes[end] != 0) ++end;
        const std::string lead = "name has no NUL in its " + std::to_string(kClassNameSize) + " bytes; ";
        if (end == bytes.size())
            add(f, Game::Engine, Severity::Breaks,
                lead + "the open engine cannot load the file (no zero byte ends the name)");
        else
            add(f, Game::Engine, Severity::Changes,
                lead + "the open engine reads the name on to the zero at byte " + std::to_string(end));
        return;
    }
    const std::size_t n = static_cast<std::size_t>(nul - s.c.className.begin());
    if (n > kRecordNameBytes)
        add(f, Game::Engine, Severity::Note,
            "name has " + std::to_string(n) + " characters, more than the " + std::to_string(kRecordNameBytes) +
                " bytes the class record keeps for it; the open engine shows all " + std::to_string(n));
}

// FileProxy.ReadCString decodes the name as UTF-8 (Encoding.UTF8.GetString),
// so Windows-1252 bytes past ASCII do not read as the editor shows them.
void nameCharacters(const Subject& s, Found& f) {
    std::string odd;
    for (char ch : s.c.nameText()) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7F) continue;
        char32_t w = windows1252Char(b);
        if (w >= 0x20 && w != 0x7F) {
            appendUtf8(odd, w);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            odd += hex;
        }
    }
    if (!odd.empty())
        add(f, Game::Engine, Severity::Changes,
            "name has characters outside printable ASCII (" + odd +
                "); the open engine reads the name as UTF-8 and shows them otherwise, e.g. as a replacement mark");
}

// CreateCharClassSelect.cs lists each CLASS*.CFG by the name inside it, but
// shows the description text 2100 + its place in the list, written for the
// standard class of that file.
void standardName(const Subject& s, Found& f) {
    const int number = classFileNumber(s.fileName);
    // CLASS19.CFG and later stand for no class of the game.
    if (number < 0 || number >= kStandardClassCount) return;
    // The city watch's file names its class plain "Knight".
    const std::string standard = number == 18 ? "Knight" : standardClassName(number);
    const std::string name = s.c.nameText();
    if (name == standard) return;
    const std::string shown = "\"" + s.c.nameUtf8() + "\"";
    // The class list leaves the last file out; the enemies of type
    // Knight_CityWatch (EntityEnums.cs, "Just called Knight in-game") take
    // their class from it (EnemyEntity.cs: the type less 128).
    if (number == 18) {
        add(f, Game::Engine, Severity::Note,
            "the file of the city watch's Knight holds " + shown +
                "; the open engine never lists this file at character creation, and builds the city watch's guards "
                "from it");
        return;
    }
    add(f, Game::Engine, Severity::Changes,
        "the file of the standard " + standardClassName(number) + " holds " + shown + "; the open engine lists " +
            shown + " with the " + standard + "'s description");
}

const char* const kSkillGroupNames[] = {"primary", "primary", "primary", "major", "major", "major",
                                        "minor",   "minor",   "minor",   "minor", "minor", "minor"};
const std::size_t kSkillGroupStart[] = {0, 0, 0, 3, 3, 3, 6, 6, 6, 6, 6, 6};

void skillIndexes(const Subject& s, Found& f) {
    for (std::size_t i = 0; i < kSkillCount; ++i)
        if (s.c.skills[i] >= SkillNames.size())
            add(f, Game::Editor, Severity::Note,
                std::string(kSkillGroupNames[i]) + " skill " + std::to_string(i - kSkillGroupStart[i] + 1) +
                    " is index " + std::to_string(s.c.skills[i]) + ", which names no skill (" +
                    rangeText(0, kSkillNameCount - 1) + " do)");
}

// CreateCharCustomClass.cs takes each picked skill out of the list it
// offers, so the maker names a skill once.
void doubledSkills(const Subject& s, Found& f) {
    for (std::size_t i = 0; i < kSkillCount; ++i) {
        const std::uint8_t k = s.c.skills[i];
        if (k >= SkillNames.size()) continue;
        if (std::find(s.c.skills.begin(), s.c.skills.begin() + static_cast<std::ptrdiff_t>(i), k) !=
            s.c.skills.begin() + static_cast<std::ptrdiff_t>(i))
            continue;
        const auto times = std::count(s.c.skills.begin(), s.c.skills.end(), k);
        if (times > 1)
            add(f, Game::Maker, Severity::Maker,
                std::string(SkillNames[k]) + " is among the skills " + std::to_string(times) +
                    " times; the class maker offers each skill once");
    }
}

// DFCareer.cs GetTolerance tests Resist, then Immune, Low Tolerance and
// Critical Weakness, and keeps the first it finds.
void tolerances(const Subject& s, Found& f) {
    // Entries of kToleranceBytes in the engine's order.
    const int engineOrder[] = {1, 0, 2, 3};
    for (int e = 0; e < kEffectCount; ++e) {
        const unsigned set = toleranceSet(s.c, static_cast<std::uint8_t>(1u << e));
        if (!(set & (set - 1))) continue;  // none or one
        int taken = 0;
        for (int t : engineOrder)
            if (set & (1u << t)) {
                taken = t;
                break;
            }
        add(f, Game::Engine, Severity::Changes,
            std::string(kEffectNames[e]) + " has more than one tolerance: " + toleranceNames(set) + "; the open engine takes " +
                kToleranceNames[static_cast<int>(kToleranceBytes[static_cast<std::size_t>(taken)].tolerance)]);
    }
}

// DFCareer.cs GetProficiency: Forbidden before Expert.
void weaponPairs(const Subject& s, Found& f) {
    for (int g = 0; g < kWeaponGroupCount; ++g)
        if ((s.c.expertWeapons & s.c.forbiddenEquipment) & (1u << g))
            add(f, Game::Engine, Severity::Changes,
                std::string(kWeaponGroups[g]) + " is both forbidden and expert; the open engine takes Forbidden");
}

// The open engine's character sheet (DaggerfallCharacterSheetWindow.cs,
// GetClassSpecials) looks increased magery, spell absorption, regeneration
// and rapid healing up in fixed tables of single codes: any other value has
// no entry, and the lookup fails.
const char kSheetFails[] = " and its character sheet fails on it (no text for that code)";

// DFCareer.cs: the spell point multiplier is (bits 10-12) x 4, and
// GetSpellPointMultiplierValue gives 3.00 for any value it does not know.
void mageryCode(const Subject& s, Found& f) {
    const unsigned code = (s.c.abilityFlags & kMageryMask) >> kMageryShift;
    if (code >= kMageryNames.size())
        add(f, Game::Engine, Severity::Breaks,
            "increased magery code is " + std::to_string(code) + ", which has no meaning (" +
                rangeText(0, static_cast<long long>(kMageryNames.size()) - 1) +
                " do); the open engine gives 3.00 x INT spell points" + kSheetFails);
}

template <std::size_t N>
void code(Found& f, const char* key, const std::array<CodeName, N>& codes, std::uint8_t value, const char* engine) {
    for (const CodeName& k : codes)
        if (k.code == value) return;
    std::string list;
    for (std::size_t i = 0; i < N; ++i) list += (i ? ", " : "") + std::to_string(codes[i].code);
    add(f, Game::Engine, Severity::Breaks,
        std::string(key) + " is " + std::to_string(value) + ", not one of its codes (" + list + "); " + engine +
            kSheetFails);
}

// EntityEffectManager.cs TryCareerBasedAbsorption compares the byte with
// each single code.
void absorptionCode(const Subject& s, Found& f) {
    code(f, "spell absorption", kSpellAbsorptionCodes, s.c.spellAbsorption, "the open engine absorbs no spells");
}

// PassiveSpecialsEffect.cs switches on the pair's value: both bits match no case.
void mageryPairs(const Subject& s, Found& f) {
    const struct {
        const char* key;
        std::uint16_t first, second;
    } pairs[] = {{"light powered magery", kUnableInDarkBit, kReducedInDarkBit},
                 {"darkness powered magery", kUnableInLightBit, kReducedInLightBit}};
    for (const auto& p : pairs) {
        if ((s.c.abilityFlags & p.first) == 0 || (s.c.abilityFlags & p.second) == 0) continue;
        std::string names[2];
        for (const AbilityBit& b : kAbilityBits) {
            if (b.mask == p.first) names[0] = b.name;
            if (b.mask == p.second) names[1] = b.name;
        }
        add(f, Game::Engine, Severity::Changes,
            std::string(p.key) + " has both " + names[0] + " and " + names[1] + "; the open engine applies neither");
    }
}

// FormulaHelper.cs CalculateHealthRecoveryRate compares with single codes;
// PassiveSpecialsEffect.cs RegenerateHealth returns on any other value.
void healingCodes(const Subject& s, Found& f) {
    code(f, "rapid healing", kRapidHealingCodes, s.c.rapidHealing, "the open engine heals as without it");
    code(f, "regeneration", kRegenerationCodes, s.c.regeneration, "the open engine regenerates nothing");
}

// DFCareer.cs GetAttackModifier: the bonus before the phobia.
void enemyPairs(const Subject& s, Found& f) {
    for (int k = 0; k < kEnemyKindCount; ++k)
        if ((s.c.bonusPhobiaFlags & (1u << k)) && (s.c.bonusPhobiaFlags & (1u << (k + 4))))
            add(f, Game::Engine, Severity::Changes,
                std::string(kEnemyKinds[k]) + " has both bonus and phobia; the open engine takes the bonus");
}

// The editor's arrows stop at kAttributeMax. DaggerfallStats.cs
// GetLiveStatValue holds a live attribute to kEngineAttributeMax.
void attributeBounds(const Subject& s, Found& f) {
    const std::string maker = "the class maker gives " + rangeText(kMakerMinAttribute, kMakerMaxAttribute);
    for (std::size_t i = 0; i < kAttributeCount; ++i) {
        const unsigned v = s.c.attributes[i];
        const std::string line =
            std::string(kAttributeNames[i]) + " is " + std::to_string(v) + ", over " + std::to_string(kAttributeMax);
        if (v > kEngineAttributeMax)
            add(f, Game::Engine, Severity::Changes,
                line + "; the open engine holds it to " + std::to_string(kEngineAttributeMax) + " in play, and " + maker);
        else if (v > kAttributeMax)
            add(f, Game::Editor, Severity::Note, line + "; " + maker);
    }
}

// StatsRollout.cs in the class maker's free edit.
void attributesForMaker(const Subject& s, Found& f) {
    std::string list;
    for (std::size_t i = 0; i < kAttributeCount; ++i)
        // Past kAttributeMax the line above says it.
        if (!makerTakesAttribute(s.c.attributes[i]) && s.c.attributes[i] <= kAttributeMax)
            list += (list.empty() ? "" : ", ") + std::string(kAttributeNames[i]) + " " + std::to_string(s.c.attributes[i]);
    if (!list.empty())
        add(f, Game::Maker, Severity::Maker,
            "attributes outside the class maker's " + rangeText(kMakerMinAttribute, kMakerMaxAttribute) + ": " + list);
}

void editorBounds(const Subject& s, Found& f) {
    if (s.c.hitPointsPerLevel > kHitPointsMax)
        add(f, Game::Editor, Severity::Note,
            "hit points per level is " + std::to_string(s.c.hitPointsPerLevel) + ", over " +
                std::to_string(kHitPointsMax) + "; the class maker gives " +
                rangeText(kMakerMinHitPoints, kMakerMaxHitPoints));
    const std::int32_t m = s.c.advancementMultiplier;
    if (m < 0 || m > kMultiplierMax)
        add(f, Game::Editor, Severity::Note,
            "multiplier " + multiplierShown(m) + " (" + std::to_string(m) + ") is outside " +
                rangeText(0, kMultiplierMax / kMultiplierOne));
}

// CreateCharCustomClass.cs: hit points and the total;
// CreateCharSpecialAdvantageWindow.cs: entries a list. Tested as the tally
// tests them; entries no maker choice gives have their own lines above.
void makerLimits(const Subject& s, Found& f) {
    const ClassTally t = tallyClass(s.c);
    const std::string lead = "the class maker could not make it: ";
    // Past kHitPointsMax the editor's line says it.
    if (!makerTakesHitPoints(s.c.hitPointsPerLevel) && s.c.hitPointsPerLevel <= kHitPointsMax)
        add(f, Game::Maker, Severity::Maker,
            lead + "hit points per level " + std::to_string(s.c.hitPointsPerLevel) + " are outside its " +
                rangeText(kMakerMinHitPoints, kMakerMaxHitPoints));
    const std::string entries = " more than its " + std::to_string(kMakerMaxEntries);
    if (!makerTakesEntries(t.advantages))
        add(f, Game::Maker, Severity::Maker, lead + std::to_string(t.advantages) + " advantages," + entries);
    if (!makerTakesEntries(t.disadvantages))
        add(f, Game::Maker, Severity::Maker, lead + std::to_string(t.disadvantages) + " disadvantages," + entries);
    if (!makerTakesPoints(t.total))
        add(f, Game::Maker, Severity::Maker,
            lead + "a total of " + std::to_string(t.total) + " points is outside its " +
                rangeText(kMakerMinPoints, kMakerMaxPoints));
}

using Rule = void (*)(const Subject&, Found&);

// In the order of the text form, as `check` prints them.
const Rule kRules[] = {
    nameLength,     nameCharacters, standardName,    skillIndexes, doubledSkills,   tolerances,
    weaponPairs,    mageryCode,     absorptionCode,  mageryPairs,  healingCodes,    enemyPairs,
    attributeBounds, attributesForMaker, editorBounds, makerLimits,
};

}  // namespace

std::vector<Finding> findClass(const ClassData& record, const std::string& fileName) {
    const Subject s{record, fileName};
    Found found;
    for (Rule r : kRules) r(s, found);
    return found;
}

int findingCount(const ClassData& record, const std::string& fileName) {
    return static_cast<int>(findClass(record, fileName).size());
}

const char* gameKey(Game g) {
    switch (g) {
    case Game::Engine: return "engine";
    case Game::Maker: return "maker";
    case Game::Editor: return "editor";
    }
    return "";
}

const char* severityKey(Severity s) {
    switch (s) {
    case Severity::Breaks: return "breaks";
    case Severity::Changes: return "changes";
    case Severity::Maker: return "maker";
    case Severity::Note: return "note";
    }
    return "";
}

std::string findingCountText(int n) {
    if (n == 0) return "no findings";
    return std::to_string(n) + (n == 1 ? " finding" : " findings");
}

}  // namespace kestrane
