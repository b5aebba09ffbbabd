#include "class_facts.h"

#include "basic_numbers.h"
#include "captions.h"
#include "tables.h"
#include "windows1252.h"

#include <algorithm>

namespace kestrane {

namespace {

// The editor carries the facts too, within its size budget: values are kept
// in place, the table is made by the compiler, and one routine reads them all.

// The tolerances whose byte holds `bit`, in the order of kToleranceBytes.
void addTolerances(Value& v, const ClassData& c, std::uint8_t bit) {
    const unsigned set = toleranceSet(c, bit);
    for (std::size_t t = 0; t < kToleranceBytes.size(); ++t)
        if (set & (1u << t)) v.entries.push_back({kToleranceNames[static_cast<int>(kToleranceBytes[t].tolerance)], 0});
}

// Two bits shown as "Normal", one state or both.
void addPair(Value& v, bool first, bool second, const char* firstName, const char* secondName) {
    v.shape = Shape::States;
    if (first) v.entries.push_back({firstName, 0});
    if (second) v.entries.push_back({secondName, 0});
}

// A code among `codes`: its name, or its number.
void addCode(Value& v, const CodeName* codes, std::size_t n, unsigned code) {
    v.shape = Shape::Choice;
    Entry e{nullptr, code};
    for (std::size_t i = 0; i < n; ++i)
        if (codes[i].code == code) e.name = codes[i].name;
    v.entries.push_back(e);
}

const char* abilityName(unsigned mask) {
    for (const AbilityBit& b : kAbilityBits)
        if (b.mask == mask) return b.name;
    return "";
}

void setHex(Value& v, unsigned n, int digits) {
    v.shape = Shape::Hex;
    v.number = n;
    v.digits = digits;
}

std::string quoted(const Value& v) {
    std::string out = "\"";
    for (std::uint8_t b : v.bytes) {
        const char32_t c = windows1252Char(b);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
        } else if (c < 0x20 || c == 0x7F) {
            // Control bytes, and the five Windows-1252 leaves undefined (0).
            out += "\\x" + hexByte(b);
        } else {
            appendUtf8(out, c);
        }
    }
    return out + "\"";
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

std::string hexByte(std::uint8_t b) { return {kHexDigits[b >> 4], kHexDigits[b & 15]}; }

std::string hexBytes(const std::uint8_t* p, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        if (i) out += ' ';
        out += hexByte(p[i]);
    }
    return out;
}

std::string hexValue(unsigned v, int digits) {
    std::string out;
    do {
        out.insert(out.begin(), kHexDigits[v & 15]);
        v >>= 4;
    } while (v);
    if (static_cast<int>(out.size()) < digits) out.insert(0, static_cast<std::size_t>(digits) - out.size(), '0');
    return "0x" + out;
}

std::string textOf(const Value& v) {
    const auto number = static_cast<std::int32_t>(v.number);
    std::string out;
    switch (v.shape) {
    case Shape::Number: return std::to_string(number);
    case Shape::Hex: return hexValue(static_cast<unsigned>(number), v.digits);
    case Shape::YesNo: return number ? "yes" : "no";
    case Shape::Choice:
    case Shape::States:
    case Shape::Names:
        for (const Entry& e : v.entries) {
            if (!out.empty()) out += ", ";
            if (e.named())
                out += e.name;
            else
                out += std::to_string(e.number);
        }
        if (out.empty()) out = v.shape == Shape::States ? "Normal" : v.shape == Shape::Names ? "none" : "";
        return out;
    case Shape::Bytes: return v.bytes.empty() ? std::string("none") : hexBytes(v.bytes.data(), v.bytes.size());
    case Shape::Name: return quoted(v);
    case Shape::Multiplier: return multiplierShown(number) + " (" + std::to_string(number) + ")";
    }
    return out;
}

const FactKey kFactKeys[kFactKeyCount] = {
    {"name", FactKind::Name, 0},
    {"name tail", FactKind::NameTail, 0},
    {CAP_ATTR_0, FactKind::Attribute, 0},
    {CAP_ATTR_1, FactKind::Attribute, 1},
    {CAP_ATTR_2, FactKind::Attribute, 2},
    {CAP_ATTR_3, FactKind::Attribute, 3},
    {CAP_ATTR_4, FactKind::Attribute, 4},
    {CAP_ATTR_5, FactKind::Attribute, 5},
    {CAP_ATTR_6, FactKind::Attribute, 6},
    {CAP_ATTR_7, FactKind::Attribute, 7},
    {"hit points per level", FactKind::HitPoints, 0},
    {"multiplier", FactKind::Multiplier, 0},
    {"primary skills", FactKind::Skills, 0},
    {"major skills", FactKind::Skills, 1},
    {"minor skills", FactKind::Skills, 2},
    {CAP_EFFECT_0, FactKind::Effect, 0},
    {CAP_EFFECT_1, FactKind::Effect, 1},
    {CAP_EFFECT_2, FactKind::Effect, 2},
    {CAP_EFFECT_3, FactKind::Effect, 3},
    {CAP_EFFECT_4, FactKind::Effect, 4},
    {CAP_EFFECT_5, FactKind::Effect, 5},
    {CAP_EFFECT_6, FactKind::Effect, 6},
    {CAP_WEAPON_0, FactKind::Weapon, 0},
    {CAP_WEAPON_1, FactKind::Weapon, 1},
    {CAP_WEAPON_2, FactKind::Weapon, 2},
    {CAP_WEAPON_3, FactKind::Weapon, 3},
    {CAP_WEAPON_4, FactKind::Weapon, 4},
    {CAP_WEAPON_5, FactKind::Weapon, 5},
    {"forbidden materials", FactKind::Materials, 0},
    {"forbidden armor", FactKind::Equipment, 0},
    {"forbidden shields", FactKind::Equipment, 1},
    {"increased magery", FactKind::Magery, 0},
    {"spell absorption", FactKind::Absorption, 0},
    {"unable to regenerate spell points", FactKind::AbilityBit, kNoSpellRegenBit},
    {"light powered magery", FactKind::MageryPair, kUnableInDarkBit | kReducedInDarkBit << 16u},
    {"darkness powered magery", FactKind::MageryPair, kUnableInLightBit | kReducedInLightBit << 16u},
    {"rapid healing", FactKind::RapidHealing, 0},
    {"regeneration", FactKind::Regeneration, 0},
    {"talents", FactKind::Talents, 0},
    {"damage from sunlight", FactKind::AbilityBit, kDamageSunlightBit},
    {"damage from holy places", FactKind::AbilityBit, kDamageHolyBit},
    {CAP_ENEMY_0, FactKind::Enemy, 0},
    {CAP_ENEMY_1, FactKind::Enemy, 1},
    {CAP_ENEMY_2, FactKind::Enemy, 2},
    {CAP_ENEMY_3, FactKind::Enemy, 3},
    {"hidden byte", FactKind::HiddenByte, 0},
    {"hidden block", FactKind::HiddenBlock, 0},
    {"effect bit 7", FactKind::EffectBit7, 0},
    {"ability bits 13-15", FactKind::AbilityBits, 0},
    {"material bits 10-15", FactKind::MaterialBits, 0},
    {"expert weapon bits 6-7", FactKind::ExpertBits, 0},
    {"equipment bits 13-15", FactKind::EquipmentBits, 0},
};

Value FactKey::valueIn(const ClassData& c) const {
    Value v;
    switch (kind) {
    case FactKind::Name:
        v.shape = Shape::Name;
        v.bytes.assign(c.className.begin(), std::find(c.className.begin(), c.className.end(), '\0'));
        break;
    case FactKind::NameTail: {
        // The bytes behind the name's terminator, trailing zeros left out.
        v.shape = Shape::Bytes;
        auto nul = std::find(c.className.begin(), c.className.end(), '\0');
        if (nul == c.className.end()) break;
        v.bytes.assign(nul + 1, c.className.end());
        while (!v.bytes.empty() && v.bytes.back() == 0) v.bytes.pop_back();
        break;
    }
    case FactKind::Attribute: v.number = c.attributes[arg]; break;
    case FactKind::HitPoints: v.number = c.hitPointsPerLevel; break;
    case FactKind::Multiplier:
        v.shape = Shape::Multiplier;
        v.number = c.advancementMultiplier;
        break;
    case FactKind::Skills: {
        // `arg`: 0 primary, 1 major, 2 minor.
        static const std::uint8_t first[] = {0, 3, 6, 12};
        v.shape = Shape::Names;
        for (unsigned i = first[arg]; i < first[arg + 1]; ++i) {
            const std::uint8_t s = c.skills[i];
            v.entries.push_back({s < SkillNames.size() ? SkillNames[s] : nullptr, s});
        }
        break;
    }
    case FactKind::Effect:
        v.shape = Shape::States;
        addTolerances(v, c, static_cast<std::uint8_t>(1u << arg));
        break;
    case FactKind::Weapon:
        addPair(v, c.forbiddenEquipment & (1u << arg), c.expertWeapons & (1u << arg), "Forbidden", "Expert");
        break;
    case FactKind::Materials:
        v.shape = Shape::Names;
        for (int i = 0; i < kMaterialCount; ++i)
            if (c.forbiddenMaterials & (1u << i)) v.entries.push_back({kMaterials[i], 0});
        break;
    case FactKind::Equipment:
        // `arg`: 1 for the shields, 0 for the armor.
        v.shape = Shape::Names;
        for (const EquipmentBit& e : kArmorAndShields)
            if (e.shield == (arg != 0) && (c.forbiddenEquipment & e.mask)) v.entries.push_back({e.name, 0});
        break;
    case FactKind::Magery: {
        const unsigned code = (c.abilityFlags & kMageryMask) >> kMageryShift;
        v.shape = Shape::Choice;
        v.entries.push_back({code < kMageryNames.size() ? kMageryNames[code] : nullptr, code});
        break;
    }
    case FactKind::Absorption:
        addCode(v, kSpellAbsorptionCodes.data(), kSpellAbsorptionCodes.size(), c.spellAbsorption);
        break;
    case FactKind::RapidHealing:
        addCode(v, kRapidHealingCodes.data(), kRapidHealingCodes.size(), c.rapidHealing);
        break;
    case FactKind::Regeneration:
        addCode(v, kRegenerationCodes.data(), kRegenerationCodes.size(), c.regeneration);
        break;
    case FactKind::AbilityBit:
        v.shape = Shape::YesNo;
        v.number = (c.abilityFlags & arg) != 0;
        break;
    case FactKind::MageryPair: {
        // `arg`: the first state's bit in the low half, the second's in the high.
        const unsigned first = arg & 0xFFFF, second = arg >> 16;
        addPair(v, c.abilityFlags & first, c.abilityFlags & second, abilityName(first), abilityName(second));
        break;
    }
    case FactKind::Talents:
        v.shape = Shape::Names;
        for (const BitName& t : kTalents)
            if (c.abilityFlags & t.mask) v.entries.push_back({t.name, 0});
        break;
    case FactKind::Enemy:
        addPair(v, c.bonusPhobiaFlags & (1u << arg), c.bonusPhobiaFlags & (1u << (arg + kPhobiaShift)), "Bonus",
                "Phobia");
        break;
    case FactKind::HiddenByte: setHex(v, c.hiddenByte, 2); break;
    case FactKind::HiddenBlock:
        v.shape = Shape::Bytes;
        v.bytes.assign(c.hiddenBlock.begin(), c.hiddenBlock.end());
        break;
    case FactKind::EffectBit7:
        v.shape = Shape::Names;
        addTolerances(v, c, kEffectUnusedMask);
        break;
    case FactKind::AbilityBits: setHex(v, c.abilityFlags & kAbilityUnusedMask, 4); break;
    case FactKind::MaterialBits: setHex(v, c.forbiddenMaterials & kMaterialUnusedMask, 4); break;
    case FactKind::ExpertBits: setHex(v, c.expertWeapons & kExpertUnusedMask, 2); break;
    case FactKind::EquipmentBits: setHex(v, c.forbiddenEquipment & kEquipmentUnusedMask, 4); break;
    }
    return v;
}

namespace {

std::string pastText(const std::vector<std::uint8_t>& fileBytes) {
    const std::size_t n = fileBytes.size();
    return n > kClassFileSize ? hexBytes(fileBytes.data() + kClassFileSize, n - kClassFileSize) : std::string("none");
}

void addChange(std::vector<std::string>& lines, const char* key, const std::string& before, const std::string& after) {
    if (before == after) return;
    std::string line = key;
    line += ": ";
    line += before;
    line += " -> ";
    line += after;
    lines.push_back(std::move(line));
}

}  // namespace

std::vector<std::string> factChanges(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after) {
    std::vector<std::string> lines;
    addChange(lines, "file size", std::to_string(before.size()), std::to_string(after.size()));
    ClassData a, b;
    a.fromBytes(before.data(), before.size());
    b.fromBytes(after.data(), after.size());
    for (const FactKey& k : kFactKeys) addChange(lines, k.key, textOf(k.valueIn(a)), textOf(k.valueIn(b)));
    addChange(lines, "bytes past 74", pastText(before), pastText(after));
    return lines;
}

std::string changeSummary(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after) {
    if (after.size() != kClassFileSize)
        return "It is now " + std::to_string(after.size()) + " bytes long; a class file is 74 bytes.";
    std::vector<std::string> lines = factChanges(before, after);
    // A file that had bytes past 74 has none now: its size line says so, and
    // a line of every byte gone would fill the screen.
    if (before.size() > kClassFileSize) lines.pop_back();
    constexpr std::size_t kMaxLines = 8;
    std::string out;
    for (std::size_t i = 0; i < lines.size() && i < kMaxLines; ++i) {
        if (i) out += '\n';
        out += lines[i];
    }
    if (lines.size() > kMaxLines) out += "\nand " + std::to_string(lines.size() - kMaxLines) + " more";
    return out;
}

}  // namespace kestrane
