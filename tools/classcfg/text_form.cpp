// The text form: one `key: value` line per fact, grouped under comments that
// name the editor pages. Every key owns a fixed set of bits or bytes of the
// record and no two keys share one, so the keys can come in any order and
// dump followed by build gives back every byte.
#include "classcfg.h"
#include "text_form.h"

#include "tables.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace kestrane {
namespace classcfg {

TextError::TextError(const std::string& source, int line, const std::string& message)
    : std::runtime_error(source + ":" + std::to_string(line) + ": " + message), line_(line) {}

namespace {

// Thrown by a key's parser; the caller adds the file and line.
struct ValueError {
    std::string message;
};

[[noreturn]] void bad(const std::string& message) { throw ValueError{message}; }

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

}  // namespace

// Lower case with runs of blanks made one, so "1 x int" finds "1  X INT".
std::string normalName(const std::string& s) {
    std::string out;
    bool blank = false;
    for (char c : trim(s)) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            blank = true;
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string hexByte(std::uint8_t b) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", b);
    return buf;
}

std::string hexBytes(const std::uint8_t* p, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        if (i) out += ' ';
        out += hexByte(p[i]);
    }
    return out;
}

std::string quoteName(const ClassData& c) {
    std::string out = "\"";
    for (char ch : c.nameText()) {
        auto b = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (b >= 0x20 && b < 0x7F) {
            out += ch;
        } else {
            out += "\\x" + hexByte(b);
        }
    }
    return out + "\"";
}

std::vector<std::uint8_t> nameTail(const ClassData& c) {
    auto nul = std::find(c.className.begin(), c.className.end(), '\0');
    std::vector<std::uint8_t> tail;
    if (nul == c.className.end()) return tail;
    for (auto it = nul + 1; it != c.className.end(); ++it) tail.push_back(static_cast<std::uint8_t>(*it));
    while (!tail.empty() && tail.back() == 0) tail.pop_back();
    return tail;
}

std::string multiplierText(std::int32_t raw) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.2f", raw / 65536.0);
    return buf;
}

const char* conditionName(const CodeName* codes, std::size_t n, std::uint8_t value) {
    for (std::size_t i = 0; i < n; ++i)
        if (codes[i].code == value) return codes[i].name;
    return nullptr;
}

namespace {

// --- value readers -------------------------------------------------------

unsigned long parseNumber(const std::string& text, unsigned long max) {
    std::string t = trim(text);
    bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
    std::string digits = hex ? t.substr(2) : t;
    bool ok = !digits.empty() &&
              std::all_of(digits.begin(), digits.end(), [hex](char ch) {
                  return hex ? std::isxdigit(static_cast<unsigned char>(ch)) != 0
                             : std::isdigit(static_cast<unsigned char>(ch)) != 0;
              });
    unsigned long v = 0;
    if (ok) {
        errno = 0;
        v = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
        ok = errno == 0 && v <= max;
    }
    if (!ok) bad("expected a number from 0 to " + std::to_string(max) + ", got '" + t + "'");
    return v;
}

std::vector<std::string> splitList(const std::string& value) {
    std::vector<std::string> items;
    std::string t = trim(value);
    if (t.empty() || normalName(t) == "none") return items;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = t.find(',', start);
        std::string item = trim(t.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (item.empty()) bad("empty entry in the list '" + t + "'");
        items.push_back(item);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return items;
}

std::string joinList(const std::vector<std::string>& items, const char* empty) {
    if (items.empty()) return empty;
    std::string out;
    for (const auto& s : items) out += (out.empty() ? "" : ", ") + s;
    return out;
}

std::string choices(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& s : names) out += (out.empty() ? "" : ", ") + s;
    return out;
}

// Index of `item` among `names` (matched by normalName), or a clear error.
std::size_t pick(const std::string& item, const std::vector<std::string>& names, const char* what) {
    std::string n = normalName(item);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (normalName(names[i]) == n) return i;
    bad("unknown " + std::string(what) + " '" + item + "' (one of: " + choices(names) + ")");
}

bool parseYesNo(const std::string& value) {
    std::string n = normalName(value);
    if (n == "yes") return true;
    if (n == "no") return false;
    bad("expected yes or no, got '" + trim(value) + "'");
}

// A set of flags given as a list of names, "Normal" standing for none of them.
unsigned parseStates(const std::string& value, const std::vector<std::string>& names, const char* what) {
    std::vector<std::string> items = splitList(value);
    if (items.empty()) bad("expected Normal or one of: " + choices(names));
    if (items.size() == 1 && normalName(items[0]) == "normal") return 0;
    unsigned set = 0;
    for (const auto& item : items) {
        if (normalName(item) == "normal") bad("Normal cannot be combined with other states");
        std::size_t i = pick(item, names, what);
        if (set & (1u << i)) bad("'" + item + "' is listed twice");
        set |= 1u << i;
    }
    return set;
}

std::string showStates(unsigned set, const std::vector<std::string>& names, const char* none) {
    std::vector<std::string> on;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (set & (1u << i)) on.push_back(names[i]);
    return joinList(on, none);
}

// A list of names each standing for one mask; "none" for no names.
unsigned parseMaskList(const std::string& value, const std::vector<std::string>& names,
                       const std::vector<unsigned>& masks, const char* what) {
    unsigned set = 0;
    for (const auto& item : splitList(value)) {
        std::size_t i = pick(item, names, what);
        if (set & masks[i]) bad("'" + item + "' is listed twice");
        set |= masks[i];
    }
    return set;
}

std::string showMaskList(unsigned value, const std::vector<std::string>& names, const std::vector<unsigned>& masks) {
    std::vector<std::string> on;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (value & masks[i]) on.push_back(names[i]);
    return joinList(on, "none");
}

std::string hexValue(unsigned v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
    return buf;
}

unsigned parseMasked(const std::string& value, unsigned mask, int digits) {
    unsigned v = static_cast<unsigned>(parseNumber(value, 0xFFFF));
    if (v & ~mask) bad("'" + trim(value) + "' has bits outside " + hexValue(mask, digits));
    return v;
}

std::vector<std::string> names(const char* const* p, std::size_t n) { return std::vector<std::string>(p, p + n); }

// The four tolerance bytes in the order of their names below.
std::uint8_t ClassData::* const kToleranceBytes[4] = {&ClassData::immuneFlags, &ClassData::resistFlags,
                                                      &ClassData::lowToleranceFlags,
                                                      &ClassData::criticalWeaknessFlags};

std::vector<std::string> toleranceNames() {
    return {kToleranceNames[static_cast<int>(Tolerance::Immune)], kToleranceNames[static_cast<int>(Tolerance::Resist)],
            kToleranceNames[static_cast<int>(Tolerance::LowTolerance)],
            kToleranceNames[static_cast<int>(Tolerance::Critical)]};
}

unsigned tolerancesOf(const ClassData& c, std::uint8_t bit) {
    unsigned set = 0;
    for (int t = 0; t < 4; ++t)
        if (c.*kToleranceBytes[t] & bit) set |= 1u << t;
    return set;
}

void setTolerances(ClassData& c, std::uint8_t bit, unsigned set) {
    for (int t = 0; t < 4; ++t) {
        c.*kToleranceBytes[t] = static_cast<std::uint8_t>(c.*kToleranceBytes[t] & ~bit);
        if (set & (1u << t)) c.*kToleranceBytes[t] = static_cast<std::uint8_t>(c.*kToleranceBytes[t] | bit);
    }
}

void setBits16(std::uint16_t& field, unsigned mask, unsigned value) {
    field = static_cast<std::uint16_t>((field & ~mask) | (value & mask));
}
void setBits8(std::uint8_t& field, unsigned mask, unsigned value) {
    field = static_cast<std::uint8_t>((field & ~mask) | (value & mask));
}

std::vector<std::uint8_t> parseHexBytes(const std::string& value) {
    std::vector<std::uint8_t> out;
    std::string t = trim(value);
    if (normalName(t) == "none") return out;
    std::size_t i = 0;
    while (i < t.size()) {
        if (std::isspace(static_cast<unsigned char>(t[i]))) {
            ++i;
            continue;
        }
        if (i + 1 >= t.size() || !std::isxdigit(static_cast<unsigned char>(t[i])) ||
            !std::isxdigit(static_cast<unsigned char>(t[i + 1])) ||
            (i + 2 < t.size() && !std::isspace(static_cast<unsigned char>(t[i + 2]))))
            bad("expected bytes as two hex digits each, separated by blanks (or none), got '" + t + "'");
        out.push_back(static_cast<std::uint8_t>(std::strtoul(t.substr(i, 2).c_str(), nullptr, 16)));
        i += 2;
    }
    return out;
}

std::string parseQuoted(const std::string& value) {
    std::string t = trim(value);
    if (t.size() < 2 || t.front() != '"' || t.back() != '"')
        bad("the name goes in double quotes, e.g. \"Lamplighter\"");
    std::string out;
    for (std::size_t i = 1; i + 1 < t.size(); ++i) {
        char ch = t[i];
        if (ch == '"') bad("a double quote inside the name is written \\\"");
        if (ch != '\\') {
            out += ch;
            continue;
        }
        if (i + 2 >= t.size()) bad("the name ends in a lone backslash");
        char e = t[++i];
        if (e == '\\' || e == '"') {
            out += e;
        } else if (e == 'x' && i + 3 < t.size() && std::isxdigit(static_cast<unsigned char>(t[i + 1])) &&
                   std::isxdigit(static_cast<unsigned char>(t[i + 2]))) {
            auto b = static_cast<char>(std::strtoul(t.substr(i + 1, 2).c_str(), nullptr, 16));
            if (b == '\0') bad("\\x00 ends the name; bytes behind the terminator go in 'name tail'");
            out += b;
            i += 2;
        } else {
            bad(std::string("unknown escape \\") + e + " in the name (use \\\\, \\\" or \\xHH)");
        }
    }
    if (out.size() > kClassNameSize) bad("the name has " + std::to_string(out.size()) + " bytes; the field holds 19");
    return out;
}

std::int32_t parseMultiplier(const std::string& value) {
    std::string t = trim(value);
    std::string dec = t, fixed;
    std::size_t open = t.find('(');
    if (open != std::string::npos) {
        if (t.back() != ')') bad("expected a multiplier like 1.50 or 1.50 (98304), got '" + t + "'");
        dec = trim(t.substr(0, open));
        fixed = trim(t.substr(open + 1, t.size() - open - 2));
    }
    const char* s = dec.c_str();
    char* end = nullptr;
    double d = std::strtod(s, &end);
    if (dec.empty() || *end != '\0' || !std::isfinite(d) || std::isspace(static_cast<unsigned char>(dec[0])))
        bad("expected a multiplier like 1.50 or 1.50 (98304), got '" + t + "'");
    if (fixed.empty()) {
        double raw = std::trunc(d * 65536.0);  // as typed into the editor: cut toward zero
        if (raw < -2147483648.0 || raw > 2147483647.0) bad("the multiplier " + dec + " does not fit 16.16 fixed point");
        return static_cast<std::int32_t>(raw);
    }
    bool neg = fixed[0] == '-';
    std::string digits = neg ? fixed.substr(1) : fixed;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char ch) {
            return std::isdigit(static_cast<unsigned char>(ch)) != 0;
        }))
        bad("expected the fixed-point value in parentheses as a whole number, got '(" + fixed + ")'");
    long long raw = std::strtoll(fixed.c_str(), nullptr, 10);
    if (digits.size() > 10 || raw < -2147483648LL || raw > 2147483647LL)
        bad("the fixed-point value " + fixed + " does not fit 32 bits");
    auto r = static_cast<std::int32_t>(raw);
    char shown[48];
    std::snprintf(shown, sizeof shown, "%.2f", d);
    if (multiplierText(r) != shown)
        bad("the multiplier " + dec + " does not match its fixed-point value " + fixed + ", which is " +
            multiplierText(r) + "; change both or give only one");
    return r;
}

std::vector<std::string> skillNames() { return names(SkillNames.data(), SkillNames.size()); }

std::string showSkills(const ClassData& c, std::size_t first, std::size_t count) {
    std::vector<std::string> out;
    for (std::size_t i = first; i < first + count; ++i) {
        std::uint8_t s = c.skills[i];
        out.push_back(s < SkillNames.size() ? SkillNames[s] : std::to_string(s));
    }
    return joinList(out, "");
}

void parseSkills(ClassData& c, const std::string& value, std::size_t first, std::size_t count) {
    std::vector<std::string> items = splitList(value);
    if (items.size() != count)
        bad("expected " + std::to_string(count) + " skills separated by commas, got " + std::to_string(items.size()));
    const std::vector<std::string> all = skillNames();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& item = items[i];
        bool number = std::all_of(item.begin(), item.end(), [](char ch) {
            return std::isdigit(static_cast<unsigned char>(ch)) != 0;
        });
        c.skills[first + i] = static_cast<std::uint8_t>(number ? parseNumber(item, 255) : pick(item, all, "skill"));
    }
}

// A condition byte: its name when it holds one of its codes, else the number.
std::string showCondition(const CodeName* codes, std::size_t n, std::uint8_t v) {
    const char* name = conditionName(codes, n, v);
    return name ? name : std::to_string(v);
}

std::uint8_t parseCondition(const std::string& value, const CodeName* codes, std::size_t n) {
    std::string t = trim(value);
    if (!t.empty() && std::isdigit(static_cast<unsigned char>(t[0])))
        return static_cast<std::uint8_t>(parseNumber(t, 255));
    std::vector<std::string> list;
    for (std::size_t i = 0; i < n; ++i) list.push_back(codes[i].name);
    return codes[pick(t, list, "condition")].code;
}

std::vector<KeyDef> makeKeys() {
    std::vector<KeyDef> k;
    auto add = [&k](const char* section, std::string key, Show show, Parse parse) {
        k.push_back({section ? section : "", std::move(key), std::move(show), std::move(parse)});
    };

    // Basic Info
    add("Basic Info", "name", [](const ClassData& c) { return quoteName(c); },
        [](Draft& d, const std::string& v) {
            d.name = parseQuoted(v);
            d.nameLine = d.currentLine;
        });
    add(nullptr, "name tail",
        [](const ClassData& c) {
            std::vector<std::uint8_t> t = nameTail(c);
            return t.empty() ? std::string("none") : hexBytes(t.data(), t.size());
        },
        [](Draft& d, const std::string& v) {
            d.tail = parseHexBytes(v);
            d.tailLine = d.currentLine;
        });
    for (std::size_t i = 0; i < kAttributeNames.size(); ++i)
        add(nullptr, kAttributeNames[i], [i](const ClassData& c) { return std::to_string(c.attributes[i]); },
            [i](Draft& d, const std::string& v) {
                d.data.attributes[i] = static_cast<std::uint16_t>(parseNumber(v, 0xFFFF));
            });
    add(nullptr, "hit points per level", [](const ClassData& c) { return std::to_string(c.hitPointsPerLevel); },
        [](Draft& d, const std::string& v) {
            d.data.hitPointsPerLevel = static_cast<std::uint16_t>(parseNumber(v, 0xFFFF));
        });
    add(nullptr, "multiplier",
        [](const ClassData& c) {
            return multiplierText(c.advancementMultiplier) + " (" + std::to_string(c.advancementMultiplier) + ")";
        },
        [](Draft& d, const std::string& v) { d.data.advancementMultiplier = parseMultiplier(v); });
    add(nullptr, "primary skills", [](const ClassData& c) { return showSkills(c, 0, 3); },
        [](Draft& d, const std::string& v) { parseSkills(d.data, v, 0, 3); });
    add(nullptr, "major skills", [](const ClassData& c) { return showSkills(c, 3, 3); },
        [](Draft& d, const std::string& v) { parseSkills(d.data, v, 3, 3); });
    add(nullptr, "minor skills", [](const ClassData& c) { return showSkills(c, 6, 6); },
        [](Draft& d, const std::string& v) { parseSkills(d.data, v, 6, 6); });

    // Resistance and Weakness
    for (int r = 0; r < kEffectCount; ++r) {
        auto bit = static_cast<std::uint8_t>(1u << r);
        add(r == 0 ? "Resistance and Weakness" : nullptr, kEffectNames[r],
            [bit](const ClassData& c) { return showStates(tolerancesOf(c, bit), toleranceNames(), "Normal"); },
            [bit](Draft& d, const std::string& v) {
                setTolerances(d.data, bit, parseStates(v, toleranceNames(), "tolerance"));
            });
    }

    // Weapons and Armor
    const std::vector<std::string> weaponStates = {"Forbidden", "Expert"};
    for (int i = 0; i < kWeaponGroupCount; ++i) {
        unsigned bit = 1u << i;
        add(i == 0 ? "Weapons and Armor" : nullptr, kWeaponGroups[i],
            [bit, weaponStates](const ClassData& c) {
                unsigned set = ((c.forbiddenEquipment & bit) ? 1u : 0u) | ((c.expertWeapons & bit) ? 2u : 0u);
                return showStates(set, weaponStates, "Normal");
            },
            [bit, weaponStates](Draft& d, const std::string& v) {
                // The editor's own caption spells it "Fobidden"; take that too.
                std::string t;
                for (const std::string& item : splitList(v))
                    t += (t.empty() ? "" : ", ") + (normalName(item) == "fobidden" ? std::string("Forbidden") : item);
                if (t.empty()) t = v;
                unsigned set = parseStates(t, weaponStates, "weapon state");
                setBits16(d.data.forbiddenEquipment, bit, (set & 1u) ? bit : 0);
                setBits8(d.data.expertWeapons, bit, (set & 2u) ? bit : 0);
            });
    }
    {
        std::vector<std::string> mats = names(kMaterials.data(), kMaterials.size());
        std::vector<unsigned> masks;
        for (int i = 0; i < kMaterialCount; ++i) masks.push_back(1u << i);
        add(nullptr, "forbidden materials",
            [mats, masks](const ClassData& c) { return showMaskList(c.forbiddenMaterials, mats, masks); },
            [mats, masks](Draft& d, const std::string& v) {
                setBits16(d.data.forbiddenMaterials, 0x03FF, parseMaskList(v, mats, masks, "material"));
            });
    }
    for (bool shield : {false, true}) {
        std::vector<std::string> items;
        std::vector<unsigned> masks;
        unsigned all = 0;
        for (const EquipmentBit& e : kArmorAndShields)
            if (e.shield == shield) {
                items.push_back(e.name);
                masks.push_back(e.mask);
                all |= e.mask;
            }
        add(nullptr, shield ? "forbidden shields" : "forbidden armor",
            [items, masks](const ClassData& c) { return showMaskList(c.forbiddenEquipment, items, masks); },
            [items, masks, all, shield](Draft& d, const std::string& v) {
                setBits16(d.data.forbiddenEquipment, all, parseMaskList(v, items, masks, shield ? "shield" : "armor"));
            });
    }

    // Magicka
    add("Magicka", "increased magery",
        [](const ClassData& c) {
            unsigned code = (c.abilityFlags & kMageryMask) >> kMageryShift;
            return code < kMageryNames.size() ? std::string(kMageryNames[code]) : std::to_string(code);
        },
        [](Draft& d, const std::string& v) {
            std::string t = trim(v);
            unsigned code = (!t.empty() && std::isdigit(static_cast<unsigned char>(t[0])) && t.size() == 1)
                                ? static_cast<unsigned>(parseNumber(t, 7))
                                : static_cast<unsigned>(
                                      pick(t, names(kMageryNames.data(), kMageryNames.size()), "magery"));
            setBits16(d.data.abilityFlags, kMageryMask, code << kMageryShift);
        });
    add(nullptr, "spell absorption",
        [](const ClassData& c) {
            return showCondition(kSpellAbsorptionCodes.data(), kSpellAbsorptionCodes.size(), c.spellAbsorption);
        },
        [](Draft& d, const std::string& v) {
            d.data.spellAbsorption = parseCondition(v, kSpellAbsorptionCodes.data(), kSpellAbsorptionCodes.size());
        });
    auto yesNo = [&add](const char* section, const char* key, std::uint16_t bit) {
        add(section, key, [bit](const ClassData& c) { return std::string((c.abilityFlags & bit) ? "yes" : "no"); },
            [bit](Draft& d, const std::string& v) { setBits16(d.data.abilityFlags, bit, parseYesNo(v) ? bit : 0); });
    };
    yesNo(nullptr, "unable to regenerate spell points", kNoSpellRegenBit);
    auto pair = [&add](const char* key, std::uint16_t first, std::uint16_t second) {
        std::vector<std::string> states;
        for (const BitName& b : kAbilityBits)
            if (b.mask == first || b.mask == second) states.push_back(b.name);
        add(nullptr, key,
            [first, second, states](const ClassData& c) {
                unsigned set = ((c.abilityFlags & first) ? 1u : 0u) | ((c.abilityFlags & second) ? 2u : 0u);
                return showStates(set, states, "Normal");
            },
            [first, second, states](Draft& d, const std::string& v) {
                unsigned set = parseStates(v, states, "state");
                setBits16(d.data.abilityFlags, first | second, ((set & 1u) ? first : 0u) | ((set & 2u) ? second : 0u));
            });
    };
    pair("light powered magery", kUnableInDarkBit, kReducedInDarkBit);
    pair("darkness powered magery", kUnableInLightBit, kReducedInLightBit);

    // Miscellaneous
    add("Miscellaneous", "rapid healing",
        [](const ClassData& c) {
            return showCondition(kRapidHealingCodes.data(), kRapidHealingCodes.size(), c.rapidHealing);
        },
        [](Draft& d, const std::string& v) {
            d.data.rapidHealing = parseCondition(v, kRapidHealingCodes.data(), kRapidHealingCodes.size());
        });
    add(nullptr, "regeneration",
        [](const ClassData& c) {
            return showCondition(kRegenerationCodes.data(), kRegenerationCodes.size(), c.regeneration);
        },
        [](Draft& d, const std::string& v) {
            d.data.regeneration = parseCondition(v, kRegenerationCodes.data(), kRegenerationCodes.size());
        });
    {
        std::vector<std::string> talents;
        std::vector<unsigned> masks;
        for (const BitName& t : kTalents) {
            talents.push_back(t.name);
            masks.push_back(t.mask);
        }
        add(nullptr, "talents",
            [talents, masks](const ClassData& c) { return showMaskList(c.abilityFlags, talents, masks); },
            [talents, masks](Draft& d, const std::string& v) {
                setBits16(d.data.abilityFlags, kTalentMask, parseMaskList(v, talents, masks, "talent"));
            });
    }
    yesNo(nullptr, "damage from sunlight", kDamageSunlightBit);
    yesNo(nullptr, "damage from holy places", kDamageHolyBit);
    const std::vector<std::string> enemyStates = {"Bonus", "Phobia"};
    for (int i = 0; i < kEnemyKindCount; ++i) {
        unsigned bonus = 1u << i, phobia = 1u << (i + 4);
        add(nullptr, kEnemyKinds[i],
            [bonus, phobia, enemyStates](const ClassData& c) {
                unsigned set = ((c.bonusPhobiaFlags & bonus) ? 1u : 0u) | ((c.bonusPhobiaFlags & phobia) ? 2u : 0u);
                return showStates(set, enemyStates, "Normal");
            },
            [bonus, phobia, enemyStates](Draft& d, const std::string& v) {
                unsigned set = parseStates(v, enemyStates, "enemy state");
                setBits8(d.data.bonusPhobiaFlags, bonus | phobia,
                         ((set & 1u) ? bonus : 0u) | ((set & 2u) ? phobia : 0u));
            });
    }

    // Kept as read
    const char* kept = "Kept as read: bits and bytes no page shows";
    add(kept, "hidden byte", [](const ClassData& c) { return hexValue(c.hiddenByte, 2); },
        [](Draft& d, const std::string& v) { d.data.hiddenByte = static_cast<std::uint8_t>(parseNumber(v, 0xFF)); });
    add(nullptr, "hidden block", [](const ClassData& c) { return hexBytes(c.hiddenBlock.data(), c.hiddenBlock.size()); },
        [](Draft& d, const std::string& v) {
            std::vector<std::uint8_t> b = parseHexBytes(v);
            if (b.size() != kHiddenBlockSize)
                bad("expected exactly 5 bytes, got " + std::to_string(b.size()));
            std::copy(b.begin(), b.end(), d.data.hiddenBlock.begin());
        });
    add(nullptr, "effect bit 7",
        [](const ClassData& c) { return showStates(tolerancesOf(c, kEffectUnusedMask), toleranceNames(), "none"); },
        [](Draft& d, const std::string& v) {
            std::string t = normalName(v) == "none" ? "Normal" : v;
            setTolerances(d.data, kEffectUnusedMask, parseStates(t, toleranceNames(), "tolerance"));
        });
    auto masked16 = [&add](const char* key, std::uint16_t ClassData::*field, unsigned mask) {
        add(nullptr, key, [field, mask](const ClassData& c) { return hexValue(c.*field & mask, 4); },
            [field, mask](Draft& d, const std::string& v) { setBits16(d.data.*field, mask, parseMasked(v, mask, 4)); });
    };
    masked16("ability bits 13-15", &ClassData::abilityFlags, kAbilityUnusedMask);
    masked16("material bits 10-15", &ClassData::forbiddenMaterials, kMaterialUnusedMask);
    add(nullptr, "expert weapon bits 6-7", [](const ClassData& c) { return hexValue(c.expertWeapons & kExpertUnusedMask, 2); },
        [](Draft& d, const std::string& v) {
            setBits8(d.data.expertWeapons, kExpertUnusedMask, parseMasked(v, kExpertUnusedMask, 2));
        });
    masked16("equipment bits 13-15", &ClassData::forbiddenEquipment, kEquipmentUnusedMask);
    return k;
}

}  // namespace

const std::vector<KeyDef>& keyDefs() {
    static const std::vector<KeyDef> keys = makeKeys();
    return keys;
}

ClassData recordOf(const std::vector<std::uint8_t>& fileBytes) {
    ClassData c;
    c.fromBytes(fileBytes.data(), fileBytes.size());
    return c;
}

std::string dumpText(const ClassData& record) {
    std::string out;
    for (const KeyDef& k : keyDefs()) {
        if (!k.section.empty()) out += (out.empty() ? "# " : "\n# ") + k.section + "\n";
        out += k.key + ": " + k.show(record) + "\n";
    }
    return out;
}

std::string sizeNote(const std::vector<std::uint8_t>& fileBytes) {
    std::size_t n = fileBytes.size();
    if (n == kClassFileSize) return "";
    std::string out = "# file size: " + std::to_string(n) + " bytes, not 74.\n";
    if (n < kClassFileSize)
        return out + "# The fields below are as a read leaves an empty record: bytes the file lacks are zero.\n\n";
    return out + "# Bytes past 74, which a read ignores and build does not write: " +
           hexBytes(fileBytes.data() + kClassFileSize, n - kClassFileSize) + "\n\n";
}

std::string dumpText(const std::vector<std::uint8_t>& fileBytes) {
    return sizeNote(fileBytes) + dumpText(recordOf(fileBytes));
}

std::vector<Fact> factsOf(const std::vector<std::uint8_t>& fileBytes) {
    ClassData c = recordOf(fileBytes);
    std::vector<Fact> facts;
    facts.push_back({"file size", std::to_string(fileBytes.size())});
    for (const KeyDef& k : keyDefs()) facts.push_back({k.key, k.show(c)});
    std::size_t n = fileBytes.size();
    facts.push_back({"bytes past 74", n > kClassFileSize ? hexBytes(fileBytes.data() + kClassFileSize, n - kClassFileSize)
                                                         : std::string("none")});
    return facts;
}

ClassData parseText(const std::string& text, const std::string& source) {
    std::map<std::string, const KeyDef*> byKey;
    for (const KeyDef& k : keyDefs()) byKey[normalName(k.key)] = &k;
    std::map<const KeyDef*, int> seen;

    Draft d;
    std::size_t pos = 0;
    // A leading UTF-8 byte-order mark, as some Windows editors write, is not text.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    int lineNo = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? text.size() : nl + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = trim(line);
        if (t.empty() || t[0] == '#') continue;
        std::size_t colon = t.find(':');
        if (colon == std::string::npos) throw TextError(source, lineNo, "expected 'key: value', got '" + t + "'");
        std::string key = trim(t.substr(0, colon));
        auto it = byKey.find(normalName(key));
        if (it == byKey.end()) throw TextError(source, lineNo, "unknown key '" + key + "'");
        auto prev = seen.find(it->second);
        if (prev != seen.end())
            throw TextError(source, lineNo,
                            "'" + it->second->key + "' is given twice (first on line " + std::to_string(prev->second) + ")");
        seen[it->second] = lineNo;
        d.currentLine = lineNo;
        try {
            it->second->parse(d, t.substr(colon + 1));
        } catch (const ValueError& e) {
            throw TextError(source, lineNo, it->second->key + ": " + e.message);
        }
    }

    // The name and the bytes behind its terminator share the 19 bytes.
    std::size_t used = d.name.size() + (d.tail.empty() ? 0 : 1 + d.tail.size());
    if (used > kClassNameSize) {
        int line = d.tailLine ? d.tailLine : d.nameLine;
        throw TextError(source, line,
                        "the name (" + std::to_string(d.name.size()) + " bytes), its NUL and the name tail (" +
                            std::to_string(d.tail.size()) + " bytes) need " + std::to_string(used) +
                            " bytes; the field holds 19");
    }
    d.data.className.fill('\0');
    std::copy(d.name.begin(), d.name.end(), d.data.className.begin());
    for (std::size_t i = 0; i < d.tail.size(); ++i)
        d.data.className[d.name.size() + 1 + i] = static_cast<char>(d.tail[i]);
    return d.data;
}

}  // namespace classcfg
}  // namespace kestrane
