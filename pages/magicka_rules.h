// The Magicka page: increased magery, light- and darkness-powered magery,
// spell absorption and spell-point regeneration.
#ifndef KESTRANE_MAGICKA_RULES_H
#define KESTRANE_MAGICKA_RULES_H

#include "class_record.h"

#include <array>
#include <cstdint>

namespace kestrane {

// Every routine acts on the global ClassRecord.

// Writes bits 10-12 of abilityFlags: `codeValue` is code << 10 (0, 0x400,
// ... 0x1400); only its bits 10-12 are used, every other bit is kept.
void setMagery(std::uint16_t codeValue);

// "Light Powered Magery" (casting in the dark): bits 6-7 of abilityFlags
// become `darkBits`, one of 0, kUnableInDarkBit, kReducedInDarkBit.
void setCastingInDark(std::uint16_t darkBits);
// "Darkness Powered Magery" (casting in the light): bits 8-9 of abilityFlags
// become `lightBits`, one of 0, kUnableInLightBit, kReducedInLightBit.
void setCastingInLight(std::uint16_t lightBits);

// The whole byte: one of the condition codes (kConditionNone to kConditionAlways).
void setSpellAbsorption(std::uint8_t code);

// Bit 3 of abilityFlags follows the check box's state after the click.
void setNoSpellRegeneration(bool checkedAfterClick);

// The page's 17 buttons in the order its loadControls sets them: the six
// magery buttons from IDC_MAG_MAGERY_NONE; light Reduced, Unable, Normal;
// dark Reduced, Unable, Normal; absorption In Dark, In Light, Always, None;
// the check box IDC_MAG_NO_SPELL_REGEN.
extern const std::array<int, 17> kMagickaButtons;

// Whether `controlId` is shown checked for `record`, each control from its
// own bits. Magery codes 6 and 7 show none of the six magery buttons. False
// for a foreign id.
bool magickaShown(const ClassData& record, int controlId);

// A click on `controlId`; `checkedAfterClick` is read only for the check box
// IDC_MAG_NO_SPELL_REGEN. False, with nothing changed, for a foreign id.
bool magickaClicked(int controlId, bool checkedAfterClick);

}  // namespace kestrane

#endif
