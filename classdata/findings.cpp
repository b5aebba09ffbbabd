// Each rule names its source. Facts of the open engine come from Daggerfall
// Unity (github.com/Interkarma/daggerfall-unity), read at revision 81e89e9
// (paths under Assets/Scripts/); those of the class maker from its class
// maker windows there, which follow the original's.
#include "findings.h"

#include "basic_numbers.h"
#include "engine_play.h"
#include "engine_text.h"
#include "printed.h"
#include "standard_classes.h"
#include "tables.h"
#include "tally.h"
#include "windows1252.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <utility>

namespace kestrane {

namespace {

struct Subject {
    const ClassData& c;
    const std::string& fileName;
    EngineTexts texts;
};

using Found = std::vector<Finding>;

// A finding's text is printed from a format (printed.h); `spots` say where.
void add(Found& f, Game g, Severity s, std::string text, std::initializer_list<Spot> spots = {}) {
    f.push_back({std::move(text), g, s, spots});
}

constexpr std::uint32_t kWhole = ~0u;
const Spot kName{"className", kWhole};

// The entries of the record's twelve skills that hold `skill`.
std::uint32_t slotsOf(const ClassData& c, std::uint8_t skill) {
    std::uint32_t slots = 0;
    for (std::size_t i = 0; i < kSkillCount; ++i)
        if (c.skills[i] == skill) slots |= 1u << i;
    return slots;
}

// The name's 16 bytes of the record's layout (ClassFile.cs: bytes 28-43,
// then 8 bytes kept); the last 3 of our 19 belong to those 8.
constexpr std::size_t kRecordNameBytes = 16;

// The stored name reaches the engine's screen only on the character sheet of
// a character whose class its class questions chose: that path loads
// CLASSnn.CFG by number, 00 to 17, and keeps the name as read
// (Game/UserInterfaceWindows/DaggerfallStartNewGameWizard.cs:335-342,
// DaggerfallCharacterSheetWindow.cs:399). The class list shows the text table's
// entry for it instead (see renamedClass) and class enemies their type's name
// (TextManager.GetLocalizedEnemyName, TextManager.cs:432-441; the name
// EnemyEntity.cs:314 copies is read by no screen). A file not named CLASS*.CFG
// may yet become one of 00 to 17.
bool nameShownAsStored(const Subject& s) {
    const int number = classFileNumber(s.fileName);
    return number >= 0 ? number < kStandardClassCount - 1 : !looksLikeClassFile(s.fileName);
}
const char kWhereShown[] = ", on the character sheet when its class questions choose this class";

// API/ClassFile.cs:165 reads the name with FileProxy.ReadCStringSkip(reader, 0, 16)
// (FileProxy.cs:380-408): up to its NUL wherever that is, failing at the end
// of the file without one, then goes on at byte 44 whatever it read.
void nameLength(const Subject& s, Found& f) {
    const auto nul = std::find(s.c.className.begin(), s.c.className.end(), '\0');
    if (nul == s.c.className.end()) {
        const std::array<std::uint8_t, kClassFileSize> bytes = s.c.toBytes();
        const FieldInfo& field = *fieldNamed("className");
        std::size_t end = field.offset + field.size;
        while (end < bytes.size() && bytes[end] != 0) ++end;
        const int size = static_cast<int>(kClassNameSize);
        if (end == bytes.size())
            add(f, Game::Engine, Severity::Breaks,
                printed("name has no NUL in its %d bytes; the open engine cannot load the file (no zero byte ends the "
                        "name)",
                        size),
                {kName});
        else
            add(f, Game::Engine, Severity::Changes,
                printed("name has no NUL in its %d bytes; the open engine reads the name on to the zero at byte %d", size,
                        static_cast<int>(end)),
                {kName});
        return;
    }
    const std::size_t n = static_cast<std::size_t>(nul - s.c.className.begin());
    if (n > kRecordNameBytes && nameShownAsStored(s))
        add(f, Game::Engine, Severity::Note,
            printed("name has %d characters, more than the %d bytes the class record keeps for it; the open engine "
                    "shows all %d%s",
                    static_cast<int>(n), static_cast<int>(kRecordNameBytes), static_cast<int>(n), kWhereShown),
            {kName});
}

// FileProxy.cs:390 decodes the name as UTF-8 (Encoding.UTF8.GetString), so
// Windows-1252 bytes past ASCII do not read as the editor shows them.
void nameCharacters(const Subject& s, Found& f) {
    if (!nameShownAsStored(s)) return;
    std::string odd;
    for (char ch : s.c.nameText()) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7F) continue;
        char32_t w = windows1252Char(b);
        if (w >= 0x20 && w != 0x7F) {
            appendUtf8(odd, w);
        } else {
            const char digits[] = "0123456789ABCDEF";
            odd += {'\\', 'x', digits[b >> 4], digits[b & 15]};
        }
    }
    if (!odd.empty())
        add(f, Game::Engine, Severity::Changes,
            printed("name has characters outside printable ASCII (%s); the open engine reads the name as UTF-8 and "
                    "shows them otherwise, e.g. as a replacement mark%s",
                    odd.c_str(), kWhereShown),
            {kName});
}

// A class's text in the engine's class list: Game/UserInterfaceWindows/
// CreateCharClassSelect.cs:60-61 shows TextManager.GetLocalizedText(name),
// the text table's entry under the name as a key, or "<LocaleText-NotFound>"
// for a name that is none (TextManager.cs:45, 356-371), whatever its length
// or characters; the class picked takes the text shown as its name (81).
std::string listedText(const Subject& s, const std::string& name) {
    std::string text;
    if (s.texts ? s.texts(name, text) : isEngineTextKey(name)) {
        if (!s.texts) return "the text it keeps under that key";
        // Some texts are lists of many lines: their start will do.
        constexpr std::size_t kLongest = 40;
        std::string quoted;
        for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
            const char ch = text[i];
            if (ch == '\n' || ch == '\r' || ch == '"') quoted += '\\';
            quoted += ch == '\n' ? 'n' : ch == '\r' ? 'r' : ch;
        }
        return printed("\"%s%s\", the text under that key", quoted.c_str(), text.size() > kLongest ? "..." : "");
    }
    return printed("\"%s\", as any name that is not one of its text keys (whatever its length or characters)",
                   kEngineTextNotFound);
}

// A standard file holding another name. Its description in the list is RSC
// 2100 + its place there (CreateCharClassSelect.cs:84), written for the
// standard class of that place, which is the file's own while the folder
// holds the nineteen standard files alone (findFolder says when not). The
// list leaves out the file listed last (56), CLASS18.CFG then, the file the
// city watch's guards (Knight_CityWatch, DaggerfallUnityEnums.cs:208, "Just
// called Knight in-game") are built from (EnemyEntity.cs:293-294), who are
// named by their type, not by the file (TextManager.cs:432-441).
void renamedClass(const Subject& s, Found& f) {
    const int number = classFileNumber(s.fileName);
    // CLASS19.CFG and later stand for no class of the game.
    if (number < 0 || number >= kStandardClassCount) return;
    const bool watch = number == kStandardClassCount - 1;
    const std::string standard = watch ? "Knight" : standardClassName(number);
    const std::string name = s.c.nameText();
    if (name == standard) return;
    const std::string held = s.c.nameUtf8();
    if (watch) {
        add(f, Game::Engine, Severity::Note,
            printed("the file of the city watch's Knight holds \"%s\"; the open engine names its guards City Watch "
                    "whatever the file holds, and lists the file at character creation only when another CLASS*.CFG "
                    "sorts after it",
                    held.c_str()));
        return;
    }
    add(f, Game::Engine, Severity::Changes,
        printed("the file of the standard %s holds \"%s\"; the open engine lists it as %s, with the %s's description, "
                "and a character picked there takes that name",
                standard.c_str(), held.c_str(), listedText(s, name).c_str(), standard.c_str()));
}

const char* const kSkillGroupNames[] = {"primary", "primary", "primary", "major", "major", "major",
                                        "minor",   "minor",   "minor",   "minor", "minor", "minor"};
const std::size_t kSkillGroupStart[] = {0, 0, 0, 3, 3, 3, 6, 6, 6, 6, 6, 6};

// "major skill 2": the slot of index i in the record's twelve.
std::string slotName(std::size_t i) {
    return printed("%s skill %d", kSkillGroupNames[i], static_cast<int>(i - kSkillGroupStart[i] + 1));
}

// API/DFCareer.cs:570-581 casts each skill byte to the Skills enum, which
// ends at 34 (485-486). Arrays of 35 do not: the bonus-skill screen every new
// character passes takes each class skill's bonus with ElementAt from one
// (Game/UserInterface/SkillsRollout.cs:297, 319, 341; API/BiogFile.cs:463-464),
// and the character sheet's skill lists read the skill's effect modifier
// (Game/Entities/DaggerfallSkills.cs:73, 137, for 35 to 63) or its
// recently-raised bit (PlayerEntity.cs:70, 220, from 64): each throws.
void skillIndexes(const Subject& s, Found& f) {
    for (std::size_t i = 0; i < kSkillCount; ++i)
        if (s.c.skills[i] >= SkillNames.size())
            add(f, Game::Engine, Severity::Breaks,
                printed("%s is index %d, which names no skill (%s do); the open engine fails on it when a character of "
                        "the class is made (its bonus-skill screen) and in the character sheet's skill lists",
                        slotName(i).c_str(), s.c.skills[i], rangeText(0, kSkillNameCount - 1).c_str()),
                {{"skills", 1u << i}});
}

// The engine's starting rolls by group (Game/UserInterface/SkillsRollout.cs:
// 30-38): 28, 18 and 13, each plus 0 to 3.
const int kGroupRollBase[] = {28, 18, 13};
constexpr int kGroupRollSpread = 3;

// CreateCharCustomClass.cs takes each picked skill out of the list it
// offers, so the maker names a skill once. The engine keeps every listing:
// SkillsRollout.cs:116-135 rolls primary, major then minor skills, so the
// last group's roll is the start; PlayerEntity.cs:1439-1475, the sum that
// sets the level (FormulaHelper.cs:336), adds a skill once for each primary
// and each major listing and the highest minor once, so a point in a skill
// listed twice there counts twice and the class levels faster.
void doubledSkills(const Subject& s, Found& f) {
    for (std::size_t i = 0; i < kSkillCount; ++i) {
        const std::uint8_t k = s.c.skills[i];
        if (k >= SkillNames.size()) continue;
        if (std::find(s.c.skills.begin(), s.c.skills.begin() + static_cast<std::ptrdiff_t>(i), k) !=
            s.c.skills.begin() + static_cast<std::ptrdiff_t>(i))
            continue;
        const auto times = std::count(s.c.skills.begin(), s.c.skills.end(), k);
        if (times < 2) continue;
        const Spot slots{"skills", slotsOf(s.c, k)};
        add(f, Game::Maker, Severity::Maker,
            printed("%s is among the skills %d times; the class maker offers each skill once", SkillNames[k],
                    static_cast<int>(times)),
            {slots});
        int inGroup[3] = {0, 0, 0};
        for (std::size_t j = 0; j < kSkillCount; ++j)
            if (s.c.skills[j] == k) ++inGroup[kSkillGroupStart[j] == 0 ? 0 : kSkillGroupStart[j] == 3 ? 1 : 2];
        const int counted = inGroup[0] + inGroup[1] + (inGroup[2] ? 1 : 0);
        const int groups = (inGroup[0] ? 1 : 0) + (inGroup[1] ? 1 : 0) + (inGroup[2] ? 1 : 0);
        if (counted < 2) continue;  // listed among the minor skills alone
        // "primary skill 1, major skill 2 and minor skill 4"
        std::string where;
        for (std::size_t j = 0, seen = 0; j < kSkillCount; ++j)
            if (s.c.skills[j] == k)
                where.append(seen++ == 0 ? "" : static_cast<long>(seen) == times ? " and " : ", ").append(slotName(j));
        std::string roll;
        if (groups > 1) {
            const int last = inGroup[2] ? 2 : 1;
            roll = printed("starts it with the %s roll (%s) and ", last == 1 ? "major" : "minor",
                           rangeText(kGroupRollBase[last], kGroupRollBase[last] + kGroupRollSpread).c_str());
        }
        add(f, Game::Engine, Severity::Changes,
            printed("%s is %s; the open engine %scounts each point in it up to %d times toward the next level, so the "
                    "class levels faster",
                    SkillNames[k], where.c_str(), roll.c_str(), counted),
            {slots});
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
            printed("%s has more than one tolerance: %s; the open engine takes %s", kEffectNames[e],
                    toleranceNames(set).c_str(),
                    kToleranceNames[static_cast<int>(kToleranceBytes[static_cast<std::size_t>(taken)].tolerance)]));
        for (std::size_t t = 0; t < kToleranceBytes.size(); ++t)
            if (set & (1u << t)) f.back().spots.push_back({kToleranceBytes[t].fieldName, 1u << e});
    }
}

// API/DFCareer.cs:764-776 GetProficiency puts Forbidden before Expert, and
// the character sheet shows that; play reads the raw flags. The inventory
// equips no weapon of a forbidden group (Game/UserInterfaceWindows/
// DaggerfallInventoryWindow.cs:1363, the only reader of the forbidden
// weapon flags), and the expert bonus is the expert flag's alone
// (Game/Formulas/FormulaHelper.cs:908-931 CalculateProficiencyModifiers):
// for a weapon it goes unused, for Hand-to-Hand, which no item carries, it
// applies and the forbidding does nothing.
void weaponPairs(const Subject& s, Found& f) {
    constexpr int kHandToHand = 2;  // ProficiencyFlags.HandToHand = 4 (DFCareer.cs:317)
    for (int g = 0; g < kWeaponGroupCount; ++g) {
        if (!((s.c.expertWeapons & s.c.forbiddenEquipment) & (1u << g))) continue;
        add(f, Game::Engine, Severity::Changes,
            printed("%s is both forbidden and expert; the open engine's character sheet shows Forbidden, %s",
                    kWeaponGroups[g],
                    g == kHandToHand ? "but in play the expert bonus applies and the forbidding does nothing"
                                     : "and in play it equips no such weapon, so the expert bonus goes unused"),
            {{"forbiddenEquipment", 1u << g}, {"expertWeapons", 1u << g}});
    }
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
            printed("increased magery code is %u, which has no meaning (%s do); the open engine gives 3.00 x INT spell "
                    "points%s",
                    code, rangeText(0, static_cast<long long>(kMageryNames.size()) - 1).c_str(), kSheetFails),
            {{"abilityFlags", kMageryMask}});
}

template <std::size_t N>
void code(Found& f, const char* key, const char* field, const std::array<CodeName, N>& codes, std::uint8_t value,
          const char* engine) {
    for (const CodeName& k : codes)
        if (k.code == value) return;
    std::string list;
    for (std::size_t i = 0; i < N; ++i) list += printed(i ? ", %d" : "%d", codes[i].code);
    add(f, Game::Engine, Severity::Breaks,
        printed("%s is %d, not one of its codes (%s); %s%s", key, value, list.c_str(), engine, kSheetFails),
        {{field, 0xFF}});
}

// EntityEffectManager.cs TryCareerBasedAbsorption compares the byte with
// each single code.
void absorptionCode(const Subject& s, Found& f) {
    code(f, "spell absorption", "spellAbsorption", kSpellAbsorptionCodes, s.c.spellAbsorption, "the open engine absorbs no spells");
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
            printed("%s has both %s and %s; the open engine applies neither", p.key, names[0].c_str(), names[1].c_str()),
            {{"abilityFlags", static_cast<std::uint32_t>(p.first | p.second)}});
    }
}

// FormulaHelper.cs CalculateHealthRecoveryRate compares with single codes;
// PassiveSpecialsEffect.cs RegenerateHealth returns on any other value.
void healingCodes(const Subject& s, Found& f) {
    code(f, "rapid healing", "rapidHealing", kRapidHealingCodes, s.c.rapidHealing, "the open engine heals as without it");
    code(f, "regeneration", "regeneration", kRegenerationCodes, s.c.regeneration, "the open engine regenerates nothing");
}

// DFCareer.cs GetAttackModifier: the bonus before the phobia.
void enemyPairs(const Subject& s, Found& f) {
    for (int k = 0; k < kEnemyKindCount; ++k)
        if ((s.c.bonusPhobiaFlags & (1u << k)) && (s.c.bonusPhobiaFlags & (1u << (k + kPhobiaShift))))
            add(f, Game::Engine, Severity::Changes,
                printed("%s has both bonus and phobia; the open engine takes the bonus", kEnemyKinds[k]),
                {{"bonusPhobiaFlags", (1u << k) | (1u << (k + kPhobiaShift))}});
}

// The editor's arrows stop at kAttributeMax: past it a note. The engine
// holds a live attribute to kEngineAttributeMax (Game/Entities/
// DaggerfallStats.cs:155-164, FormulaHelper.MaxStatValue, FormulaHelper.cs:
// 131-138) but keeps the stored value, which the hit points a level adds read
// for END (FormulaHelper.cs:350, PermanentEndurance).
void attributeBounds(const Subject& s, Found& f) {
    constexpr std::size_t kEndurance = 4;
    for (std::size_t i = 0; i < kAttributeCount; ++i) {
        const unsigned v = s.c.attributes[i];
        if (v > kEngineAttributeMax)
            add(f, Game::Engine, Severity::Changes,
                printed("%s is %u; the open engine holds it to %d in play%s", kAttributeNames[i], v, kEngineAttributeMax,
                        i == kEndurance ? ", but for the hit points a level adds, which read it as stored" : ""),
                {{"attributes", 1u << i}});
        else if (v > kAttributeMax)
            add(f, Game::Editor, Severity::Note,
                printed("%s is %u, over %d, where the editor's arrows stop", kAttributeNames[i], v, kAttributeMax),
                {{"attributes", 1u << i}});
    }
}

// StatsRollout.cs in the class maker's free edit.
void attributesForMaker(const Subject& s, Found& f) {
    std::string list;
    std::uint32_t entries = 0;
    for (std::size_t i = 0; i < kAttributeCount; ++i)
        if (!makerTakesAttribute(s.c.attributes[i])) {
            list += printed("%s%s %u", list.empty() ? "" : ", ", kAttributeNames[i], s.c.attributes[i]);
            entries |= 1u << i;
        }
    if (!list.empty())
        add(f, Game::Maker, Severity::Maker,
            printed("attributes outside the class maker's %s: %s", rangeText(kMakerMinAttribute, kMakerMaxAttribute).c_str(),
                    list.c_str()),
            {{"attributes", entries}});
}

void editorBounds(const Subject& s, Found& f) {
    if (s.c.hitPointsPerLevel > kHitPointsMax)
        add(f, Game::Editor, Severity::Note,
            printed("hit points per level is %d, over %d, where the editor's arrows stop", s.c.hitPointsPerLevel,
                    kHitPointsMax),
            {{"hitPointsPerLevel", kWhole}});
    const std::int32_t m = s.c.advancementMultiplier;
    if (m < 0 || m > kMultiplierMax)
        add(f, Game::Editor, Severity::Note,
            printed("multiplier %s (%ld) is outside %s", multiplierShown(m).c_str(), static_cast<long>(m),
                    rangeText(0, kMultiplierMax / kMultiplierOne).c_str()),
            {{"advancementMultiplier", kWhole}});
}

// The multiplier as the engine reads it (engine_play.h). At 0.00 a skill's
// next point needs one use (FormulaHelper.cs:326), which PlayerEntity.cs:
// 1359-1388 RaiseSkills grants at each skill check: when a rest ends
// (DaggerfallRestWindow.cs:731) or a fast journey does
// (DaggerfallTravelPopUp.cs:380), more than 360 game minutes after the last
// check; at low reflexes one use counts as less than one, so two are needed.
// From kFreezingMultiplier up no skill ever rises (freezesEverySkill).
void multiplierInPlay(const Subject& s, Found& f) {
    const float m = engineMultiplier(s.c.advancementMultiplier);
    if (m == 0.0f)
        add(f, Game::Engine, Severity::Note,
            "multiplier is 0.00; the open engine then raises every skill used since its last point by a point at each "
            "skill check (the end of a rest or a fast journey more than 6 game hours after the last check), one use "
            "being enough (two at low reflexes)",
            {{"advancementMultiplier", kWhole}});
    else if (freezesEverySkill(m))
        add(f, Game::Engine, Severity::Changes,
            printed("the open engine reads the multiplier as %s%s; from %s up it never raises a skill: no skill's "
                    "uses reach what its next point needs",
                    twoDecimals(m).c_str(), s.c.advancementMultiplier < 0 ? " (it takes the field as unsigned)" : "",
                    kFreezingMultiplier),
            {{"advancementMultiplier", kWhole}});
}

// CreateCharCustomClass.cs: hit points and the total;
// CreateCharSpecialAdvantageWindow.cs: entries a list. Tested as the tally
// tests them; entries no maker choice gives have their own lines above.
void makerLimits(const Subject& s, Found& f) {
    const ClassTally t = tallyClass(s.c);
    if (!makerTakesHitPoints(s.c.hitPointsPerLevel))
        add(f, Game::Maker, Severity::Maker,
            printed("the class maker could not make it: hit points per level %d are outside its %s", s.c.hitPointsPerLevel,
                    rangeText(kMakerMinHitPoints, kMakerMaxHitPoints).c_str()),
            {{"hitPointsPerLevel", kWhole}});
    const struct {
        int count;
        const char* what;
    } entries[] = {{t.advantages, "advantages"}, {t.disadvantages, "disadvantages"}};
    for (const auto& e : entries)
        if (!makerTakesEntries(e.count))
            add(f, Game::Maker, Severity::Maker,
                printed("the class maker could not make it: %d %s, more than its %d", e.count, e.what, kMakerMaxEntries));
    if (!makerTakesPoints(t.total))
        add(f, Game::Maker, Severity::Maker,
            printed("the class maker could not make it: a total of %d points is outside its %s", t.total,
                    rangeText(kMakerMinPoints, kMakerMaxPoints).c_str()));
}

using Rule = void (*)(const Subject&, Found&);

// In the order of the text form, as `check` prints them.
const Rule kRules[] = {
    nameLength,     nameCharacters, renamedClass,    skillIndexes, doubledSkills,   tolerances,
    weaponPairs,    mageryCode,     absorptionCode,  mageryPairs,  healingCodes,    enemyPairs,
    attributeBounds, attributesForMaker, editorBounds, multiplierInPlay, makerLimits,
};

}  // namespace

std::vector<Finding> findClass(const ClassData& record, const std::string& fileName, EngineTexts texts) {
    const Subject s{record, fileName, texts};
    Found found;
    for (Rule r : kRules) r(s, found);
    return found;
}

namespace {

std::string upper(std::string s) {
    for (char& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

std::string ordinal(std::size_t n) {
    return printed("%d%s", static_cast<int>(n),
                   n % 100 / 10 == 1 ? "th" : n % 10 == 1 ? "st" : n % 10 == 2 ? "nd" : n % 10 == 3 ? "rd" : "th");
}

}  // namespace

// The engine's class list: Game/UserInterfaceWindows/CreateCharClassSelect.cs:53-56
// takes Directory.GetFiles(arena2, "CLASS*.CFG") unsorted, as the file system
// gives them (NTFS: by name, compared in upper case), and lists all but the
// last. A class's description (84: RSC 2100 + place), biography questions
// (DaggerfallStartNewGameWizard.cs:364, 415-424: BIOG<place>T*.TXT, shipped for
// 00 to 17), starting spells (Game/Utility/StartGameBehaviour.cs:804-836) and
// starting weapon (Game/Items/ItemHelper.cs:1313-1334, a table of 18) go by
// that place, so a 19th listed class finds no biography and no weapon, and
// picking it throws (424, 1334). Enemies take their file by number:
// Game/Entities/DaggerfallEntity.cs:907-915 GetClassCareerTemplate returns
// null for a missing CLASSnn.CFG, and EnemyEntity.cs:303 then reads its hit
// points through it; the class questions load CLASSnn.CFG by number too, and
// fail on a missing one (DaggerfallStartNewGameWizard.cs:335-341).
std::vector<Finding> findFolder(const std::vector<std::string>& classFileNames) {
    Found f;
    std::vector<std::string> names;
    for (const std::string& path : classFileNames) {
        const std::size_t slash = path.find_last_of("/\\");
        names.push_back(slash == std::string::npos ? path : path.substr(slash + 1));
    }
    // Few names: an insertion sort is the least code.
    for (std::size_t i = 1; i < names.size(); ++i)
        for (std::size_t j = i; j > 0 && upper(names[j]) < upper(names[j - 1]); --j) names[j].swap(names[j - 1]);

    const int watch = kStandardClassCount - 1;
    for (int n = 0; n < kStandardClassCount; ++n) {
        if (std::any_of(names.begin(), names.end(), [n](const std::string& x) { return classFileNumber(x) == n; }))
            continue;
        const std::string standard = standardClassName(n);
        if (n == watch)
            add(f, Game::Engine, Severity::Breaks, printed("CLASS%02d.CFG is missing; the open engine cannot make the city watch", n));
        else
            add(f, Game::Engine, Severity::Breaks,
                printed("CLASS%02d.CFG is missing; the open engine cannot make %s enemies, nor a character whose class "
                        "questions choose the %s",
                        n, standard.c_str(), standard.c_str()));
    }
    if (names.size() < 2) return f;

    const std::size_t listed = names.size() - 1;
    for (std::size_t place = 0; place < listed && place < static_cast<std::size_t>(watch); ++place) {
        if (classFileNumber(names[place]) == static_cast<int>(place)) continue;
        add(f, Game::Engine, Severity::Changes,
            printed("the open engine's class list goes by place, not file number: from %s, listed %s, each class takes "
                    "the description, biography questions, starting spells and starting weapon of the place it is "
                    "listed at (%s the %s's)",
                    names[place].c_str(), ordinal(place + 1).c_str(), names[place].c_str(),
                    standardClassName(static_cast<int>(place)).c_str()));
        break;
    }
    if (listed > static_cast<std::size_t>(watch))
        add(f, Game::Engine, Severity::Breaks,
            printed("the folder has %d CLASS*.CFG files; the open engine lists all but the last (%s), and a character "
                    "of the %dth class listed, %s, cannot be made: there is no biography or starting weapon for a %dth "
                    "class",
                    static_cast<int>(names.size()), names.back().c_str(), watch + 1, names[watch].c_str(), watch + 1));
    const int last = classFileNumber(names.back());
    if (last >= 0 && last < watch)
        add(f, Game::Engine, Severity::Changes,
            printed("the open engine's class list leaves out the file listed last, %s, so its %s cannot be chosen at "
                    "character creation",
                    names.back().c_str(), standardClassName(last).c_str()));
    return f;
}

bool counts(const Finding& finding) { return finding.severity != Severity::Note; }

bool showsSpot(const ClassData& record, const Spot& spot, bool (*shown)(const ClassData&, int), int control) {
    const FieldInfo* field = fieldNamed(spot.field);
    // A control shows flags or a code of a byte's bits at most, never a whole number.
    int bitCount = 0;
    for (std::uint32_t m = spot.mask; m; m &= m - 1) ++bitCount;
    if (!field || field->size > 4 || bitCount > 8) return false;
    std::array<std::uint8_t, kClassFileSize> bytes = record.toBytes();
    // The field's bytes are little-endian, as the file holds them.
    std::uint32_t value = 0;
    for (std::size_t i = field->size; i-- > 0;) value = value << 8 | bytes[field->offset + i];
    const bool now = shown(record, control);
    // Every other value of the spot's bits: few for any one finding.
    for (std::uint32_t bits = spot.mask;; bits = (bits - 1) & spot.mask) {
        const std::uint32_t other = (value & ~spot.mask) | bits;
        for (std::size_t i = 0; i < field->size; ++i)
            bytes[field->offset + i] = static_cast<std::uint8_t>(other >> (8 * i));
        ClassData changed = record;
        changed.fromBytes(bytes.data(), bytes.size());
        if (shown(changed, control) != now) return true;
        if (bits == 0) return false;
    }
}

int findingCount(const std::vector<Finding>& found) {
    return static_cast<int>(std::count_if(found.begin(), found.end(), counts));
}

int findingCount(const ClassData& record, const std::string& fileName) {
    return findingCount(findClass(record, fileName));
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

bool severityOfKey(const std::string& key, Severity& severity) {
    for (Severity s : {Severity::Breaks, Severity::Changes, Severity::Maker, Severity::Note})
        if (key == severityKey(s)) {
            severity = s;
            return true;
        }
    return false;
}

std::string findingsHeading(const std::vector<Finding>& found) {
    const int counted = findingCount(found);
    const int notes = static_cast<int>(found.size()) - counted;
    if (notes == 0) return findingCountText(counted);
    const std::string noteText = std::to_string(notes) + (notes == 1 ? " note" : " notes");
    return counted ? findingCountText(counted) + " and " + noteText : noteText;
}

std::string findingCountText(int n) {
    if (n == 0) return "no findings";
    return std::to_string(n) + (n == 1 ? " finding" : " findings");
}

std::vector<Finding> mostSevereFirst(std::vector<Finding> found) {
    // Each game's most severe finding (a lower Severity is a graver one), and
    // the games in that order; a handful of findings needs no sort.
    constexpr int kGames = 3, kSeverities = 4;
    int worst[kGames] = {kSeverities, kSeverities, kSeverities};
    for (const Finding& f : found)
        worst[static_cast<int>(f.game)] = std::min(worst[static_cast<int>(f.game)], static_cast<int>(f.severity));
    int games[kGames] = {0, 1, 2};
    for (int i = 1; i < kGames; ++i)
        for (int k = i; k > 0 && worst[games[k]] < worst[games[k - 1]]; --k) std::swap(games[k], games[k - 1]);
    std::vector<Finding> ordered;
    for (int game : games)
        for (int severity = 0; severity < kSeverities; ++severity)
            for (const Finding& f : found)
                if (static_cast<int>(f.game) == game && static_cast<int>(f.severity) == severity)
                    ordered.push_back(Finding(f));  // as the rules add them: one copy of the growing code
    return ordered;
}

const char* gameHeading(Game g) {
    switch (g) {
    case Game::Engine: return "Open engine (Daggerfall Unity)";
    case Game::Maker: return "Class maker";
    case Game::Editor: return "Editor";
    }
    return "";
}

}  // namespace kestrane
