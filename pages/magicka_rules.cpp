#include "magicka_rules.h"

#include "resource.h"
#include "tables.h"

namespace kestrane {

namespace {

// One button per code, the first for the top code, "None (.5 X INT)".
constexpr int kMageryButtonCount = static_cast<int>(kMageryNames.size());
constexpr int kTopMageryCode = kMageryButtonCount - 1;
constexpr std::uint16_t kLightPair = kUnableInLightBit | kReducedInLightBit;
constexpr std::uint16_t kDarkPair = kUnableInDarkBit | kReducedInDarkBit;

// Replaces the bits of `mask` in abilityFlags with those of `bits`.
void setAbilityBits(std::uint16_t mask, std::uint16_t bits) {
    ClassRecord.abilityFlags = static_cast<std::uint16_t>((ClassRecord.abilityFlags & ~mask) | (bits & mask));
}

// Button IDC_MAG_MAGERY_NONE + k stands for code kTopMageryCode - k.
std::uint16_t mageryValueOf(int id) {
    return static_cast<std::uint16_t>((kTopMageryCode - (id - IDC_MAG_MAGERY_NONE)) << kMageryShift);
}

bool isMageryButton(int id) { return id >= IDC_MAG_MAGERY_NONE && id < IDC_MAG_MAGERY_NONE + kMageryButtonCount; }

}  // namespace

void setMagery(std::uint16_t codeValue) { setAbilityBits(kMageryMask, codeValue); }

void setCastingInDark(std::uint16_t darkBits) { setAbilityBits(kDarkPair, darkBits); }

void setCastingInLight(std::uint16_t lightBits) { setAbilityBits(kLightPair, lightBits); }

void setSpellAbsorption(std::uint8_t code) {
    ClassRecord.spellAbsorption = code;
}

void setNoSpellRegeneration(bool checkedAfterClick) {
    setAbilityBits(kNoSpellRegenBit, checkedAfterClick ? kNoSpellRegenBit : 0);
}

const std::array<int, 17> kMagickaButtons = {
    IDC_MAG_MAGERY_NONE,     IDC_MAG_MAGERY_NONE + 1, IDC_MAG_MAGERY_NONE + 2, IDC_MAG_MAGERY_NONE + 3,
    IDC_MAG_MAGERY_NONE + 4, IDC_MAG_MAGERY_NONE + 5, IDC_MAG_LIGHT_REDUCED,   IDC_MAG_LIGHT_UNABLE,
    IDC_MAG_LIGHT_NORMAL,    IDC_MAG_DARK_REDUCED,    IDC_MAG_DARK_UNABLE,     IDC_MAG_DARK_NORMAL,
    IDC_MAG_ABSORB_DARK,     IDC_MAG_ABSORB_LIGHT,    IDC_MAG_ABSORB_ALWAYS,   IDC_MAG_ABSORB_NONE,
    IDC_MAG_NO_SPELL_REGEN,
};

bool magickaShown(const ClassData& record, int id) {
    const std::uint16_t flags = record.abilityFlags;
    // Codes 6 and 7 match no button, so none is checked.
    if (isMageryButton(id)) return (flags & kMageryMask) == mageryValueOf(id);
    switch (id) {
    case IDC_MAG_LIGHT_REDUCED: return (flags & kReducedInLightBit) != 0;
    case IDC_MAG_LIGHT_UNABLE: return (flags & kUnableInLightBit) != 0;
    case IDC_MAG_LIGHT_NORMAL: return (flags & kLightPair) == 0;
    case IDC_MAG_DARK_REDUCED: return (flags & kReducedInDarkBit) != 0;
    case IDC_MAG_DARK_UNABLE: return (flags & kUnableInDarkBit) != 0;
    case IDC_MAG_DARK_NORMAL: return (flags & kDarkPair) == 0;
    case IDC_MAG_ABSORB_DARK: return (record.spellAbsorption & kConditionInDark) != 0;
    case IDC_MAG_ABSORB_LIGHT: return (record.spellAbsorption & kConditionInLight) != 0;
    case IDC_MAG_ABSORB_ALWAYS: return (record.spellAbsorption & kConditionAlways) != 0;
    case IDC_MAG_ABSORB_NONE: return (record.spellAbsorption & kConditionBits) == 0;
    case IDC_MAG_NO_SPELL_REGEN: return (flags & kNoSpellRegenBit) != 0;
    default: return false;
    }
}

bool magickaClicked(int id, bool checkedAfterClick) {
    if (isMageryButton(id)) {
        setMagery(mageryValueOf(id));
        return true;
    }
    switch (id) {
    case IDC_MAG_LIGHT_REDUCED: setCastingInLight(kReducedInLightBit); break;
    case IDC_MAG_LIGHT_UNABLE: setCastingInLight(kUnableInLightBit); break;
    case IDC_MAG_LIGHT_NORMAL: setCastingInLight(0); break;
    case IDC_MAG_DARK_REDUCED: setCastingInDark(kReducedInDarkBit); break;
    case IDC_MAG_DARK_UNABLE: setCastingInDark(kUnableInDarkBit); break;
    case IDC_MAG_DARK_NORMAL: setCastingInDark(0); break;
    case IDC_MAG_ABSORB_NONE: setSpellAbsorption(kConditionNone); break;
    case IDC_MAG_ABSORB_LIGHT: setSpellAbsorption(kConditionInLight); break;
    case IDC_MAG_ABSORB_DARK: setSpellAbsorption(kConditionInDark); break;
    case IDC_MAG_ABSORB_ALWAYS: setSpellAbsorption(kConditionAlways); break;
    case IDC_MAG_NO_SPELL_REGEN: setNoSpellRegeneration(checkedAfterClick); break;
    default: return false;
    }
    return true;
}

}  // namespace kestrane
