#include "field_schema.h"

#include "value_readers.h"

#include <stdexcept>

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
        if (k.size() != kFactKeyCount) throw std::logic_error("classcfg: the keys and the facts differ in number");
        for (std::size_t i = 0; i < k.size(); ++i) {
            if (k[i].key != kFactKeys[i].key)
                throw std::logic_error("classcfg: key '" + k[i].key + "' stands where the facts have '" +
                                       kFactKeys[i].key + "'");
            k[i].fact = &kFactKeys[i];
        }
        return k;
    }();
    return keys;
}

std::vector<std::string> names(const char* const* p, std::size_t n) { return std::vector<std::string>(p, p + n); }

void setBits16(std::uint16_t& field, unsigned mask, unsigned value) {
    field = static_cast<std::uint16_t>((field & ~mask) | (value & mask));
}
void setBits8(std::uint8_t& field, unsigned mask, unsigned value) {
    field = static_cast<std::uint8_t>((field & ~mask) | (value & mask));
}

void addPairKey(Keys& k, const char* section, const std::string& key, const char* jsonGroup,
                const std::string& jsonKey, std::vector<std::string> states, const char* what, SetPair set) {
    k.push_back({section ? section : "", key, jsonGroup, jsonKey, [states, what, set](Draft& d, const std::string& v) {
                     set(d.data, parseStates(v, states, what));
                 }});
}

void addYesNoKey(Keys& k, const char* section, const char* key, const char* jsonKey, std::uint16_t bit) {
    k.push_back({section ? section : "", key, "", jsonKey,
                 [bit](Draft& d, const std::string& v) { setBits16(d.data.abilityFlags, bit, parseYesNo(v) ? bit : 0); }});
}

void addCodeKey(Keys& k, const char* section, const char* key, const char* jsonKey, std::uint8_t ClassData::*field,
                const CodeName* codes, std::size_t n) {
    k.push_back({section ? section : "", key, "", jsonKey,
                 [field, codes, n](Draft& d, const std::string& v) { d.data.*field = parseCode(v, codes, n); }});
}

void addMaskListKey(Keys& k, const char* key, const char* jsonKey, std::uint16_t ClassData::*field,
                    std::vector<std::string> items, std::vector<unsigned> masks, const char* what) {
    unsigned all = 0;
    for (unsigned m : masks) all |= m;
    k.push_back({"", key, "", jsonKey,
                 [field, items, masks, all, what](Draft& d, const std::string& v) {
                     setBits16(d.data.*field, all, parseMaskList(v, items, masks, what));
                 }});
}

}  // namespace classcfg
}  // namespace kestrane
