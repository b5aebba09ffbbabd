// Magicka: increased magery, spell absorption, spell-point regeneration and
// the light and darkness powered magery.
#include "field_schema.h"
#include "value_readers.h"

#include <cctype>

namespace kestrane {
namespace classcfg {

namespace {

// The light/dark pairs of abilityFlags, shown by the names of their bits.
void addMageryPair(Keys& k, const char* key, const char* jsonKey, std::uint16_t first, std::uint16_t second) {
    std::vector<std::string> states;
    for (std::uint16_t mask : {first, second})
        for (const AbilityBit& b : kAbilityBits)
            if (b.mask == mask) states.push_back(b.name);
    addPairKey(k, nullptr, key, "", jsonKey, states, "state", [first, second](ClassData& c, unsigned set) {
        setBits16(c.abilityFlags, first | second, ((set & 1u) ? first : 0u) | ((set & 2u) ? second : 0u));
    });
}

}  // namespace

void addMagickaKeys(Keys& k) {
    k.push_back({"Magicka", "increased magery", "", "increasedMagery",
                 [](Draft& d, const std::string& v) {
                     std::string t = trim(v);
                     unsigned code = (!t.empty() && std::isdigit(static_cast<unsigned char>(t[0])) && t.size() == 1)
                                         ? static_cast<unsigned>(parseNumber(t, 7))
                                         : static_cast<unsigned>(
                                               pick(t, names(kMageryNames.data(), kMageryNames.size()), "magery"));
                     setBits16(d.data.abilityFlags, kMageryMask, code << kMageryShift);
                 }});
    addCodeKey(k, nullptr, "spell absorption", "spellAbsorption", &ClassData::spellAbsorption,
               kSpellAbsorptionCodes.data(), kSpellAbsorptionCodes.size());
    addYesNoKey(k, nullptr, "unable to regenerate spell points", "unableToRegenerateSpellPoints", kNoSpellRegenBit);
    addMageryPair(k, "light powered magery", "lightPoweredMagery", kUnableInDarkBit, kReducedInDarkBit);
    addMageryPair(k, "darkness powered magery", "darknessPoweredMagery", kUnableInLightBit, kReducedInLightBit);
}

}  // namespace classcfg
}  // namespace kestrane
