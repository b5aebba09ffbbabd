#include "field_schema.h"

#include "value_readers.h"
#include "windows1252.h"

namespace kestrane {
namespace classcfg {

const Keys& keyDefs() {
    static const Keys keys = [] {
        Keys k;
        addBasicInfoKeys(k);
        addResistanceKeys(k);
        addWeaponsArmorKeys(k);
        addMagickaKeys(k);
        addMiscellaneousKeys(k);
        addKeptKeys(k);
        return k;
    }();
    return keys;
}

Value numberValue(long long n) {
    Value v;
    v.number = n;
    return v;
}

Value hexFieldValue(unsigned n, int digits) {
    Value v;
    v.shape = Shape::Hex;
    v.number = n;
    v.digits = digits;
    return v;
}

Value yesNoValue(bool on) {
    Value v;
    v.shape = Shape::YesNo;
    v.number = on ? 1 : 0;
    return v;
}

Value namesValue(Shape shape, unsigned set, const std::vector<std::string>& names) {
    Value v;
    v.shape = shape;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (set & (1u << i)) v.entries.push_back({names[i], 0});
    return v;
}

Value codeValue(const CodeName* codes, std::size_t n, unsigned code) {
    Value v;
    v.shape = Shape::Choice;
    Entry e{"", code};
    for (std::size_t i = 0; i < n; ++i)
        if (codes[i].code == code) e.name = codes[i].name;
    v.entries.push_back(e);
    return v;
}

namespace {

std::string entryText(const Entry& e) { return e.name.empty() ? std::to_string(e.number) : e.name; }

std::string quoted(const std::vector<std::uint8_t>& name) {
    std::string out = "\"";
    for (std::uint8_t b : name) {
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

}  // namespace

std::string textOf(const Value& v) {
    std::vector<std::string> items;
    for (const Entry& e : v.entries) items.push_back(entryText(e));
    switch (v.shape) {
    case Shape::Number: return std::to_string(v.number);
    case Shape::Hex: return hexValue(static_cast<unsigned>(v.number), v.digits);
    case Shape::YesNo: return v.number ? "yes" : "no";
    case Shape::Choice: return joinList(items, "");
    case Shape::States: return joinList(items, "Normal");
    case Shape::Names: return joinList(items, "none");
    case Shape::Bytes: return v.bytes.empty() ? std::string("none") : hexBytes(v.bytes.data(), v.bytes.size());
    case Shape::Name: return quoted(v.bytes);
    case Shape::Multiplier: {
        auto raw = static_cast<std::int32_t>(v.number);
        return multiplierText(raw) + " (" + std::to_string(raw) + ")";
    }
    }
    return "";
}

std::vector<std::string> names(const char* const* p, std::size_t n) { return std::vector<std::string>(p, p + n); }

void setBits16(std::uint16_t& field, unsigned mask, unsigned value) {
    field = static_cast<std::uint16_t>((field & ~mask) | (value & mask));
}
void setBits8(std::uint8_t& field, unsigned mask, unsigned value) {
    field = static_cast<std::uint8_t>((field & ~mask) | (value & mask));
}

void addPairKey(Keys& k, const char* section, const std::string& key, const char* jsonGroup,
                const std::string& jsonKey, std::vector<std::string> states, const char* what, BitPair bits) {
    KeyDef d{section ? section : "", key, jsonGroup, jsonKey, nullptr, nullptr};
    d.get = [states, bits](const ClassData& c) { return namesValue(Shape::States, bits.get(c), states); };
    d.parse = [states, what, bits](Draft& dr, const std::string& v) {
        bits.set(dr.data, parseStates(v, states, what));
    };
    k.push_back(std::move(d));
}

void addYesNoKey(Keys& k, const char* section, const char* key, const char* jsonKey, std::uint16_t bit) {
    k.push_back({section ? section : "", key, "", jsonKey,
                 [bit](const ClassData& c) { return yesNoValue((c.abilityFlags & bit) != 0); },
                 [bit](Draft& d, const std::string& v) { setBits16(d.data.abilityFlags, bit, parseYesNo(v) ? bit : 0); }});
}

void addCodeKey(Keys& k, const char* section, const char* key, const char* jsonKey, std::uint8_t ClassData::*field,
                const CodeName* codes, std::size_t n) {
    k.push_back({section ? section : "", key, "", jsonKey,
                 [field, codes, n](const ClassData& c) { return codeValue(codes, n, c.*field); },
                 [field, codes, n](Draft& d, const std::string& v) { d.data.*field = parseCode(v, codes, n); }});
}

void addMaskListKey(Keys& k, const char* key, const char* jsonKey, std::uint16_t ClassData::*field,
                    std::vector<std::string> items, std::vector<unsigned> masks, const char* what) {
    unsigned all = 0;
    for (unsigned m : masks) all |= m;
    k.push_back({"", key, "", jsonKey,
                 [field, items, masks](const ClassData& c) {
                     Value v;
                     v.shape = Shape::Names;
                     for (std::size_t i = 0; i < items.size(); ++i)
                         if (c.*field & masks[i]) v.entries.push_back({items[i], 0});
                     return v;
                 },
                 [field, items, masks, all, what](Draft& d, const std::string& v) {
                     setBits16(d.data.*field, all, parseMaskList(v, items, masks, what));
                 }});
}

}  // namespace classcfg
}  // namespace kestrane
