#include "magicka_page.h"

#include "magicka_rules.h"
#include "tables.h"

namespace kestrane {

using fw::Arg;

const fw::MessageTable MagickaPage::table = {
    &ClassPage::table,
    {
        fw::onClicked<&setMagery>(IDC_MAG_MAGERY_NONE, Arg::Value, 0x1400),
        fw::onClicked<&setMagery>(IDC_MAG_MAGERY_NONE + 1, Arg::Value, 0x1000),
        fw::onClicked<&setMagery>(IDC_MAG_MAGERY_NONE + 2, Arg::Value, 0x0C00),
        fw::onClicked<&setMagery>(IDC_MAG_MAGERY_NONE + 3, Arg::Value, 0x0800),
        fw::onClicked<&setMagery>(IDC_MAG_MAGERY_NONE + 4, Arg::Value, 0x0400),
        fw::onClicked<&setMagery>(IDC_MAG_MAGERY_NONE + 5, Arg::Value, 0x0000),
        fw::onClicked<&setDarknessPoweredMagery>(IDC_MAG_LIGHT_NORMAL, Arg::Value, 0),
        fw::onClicked<&setDarknessPoweredMagery>(IDC_MAG_LIGHT_REDUCED, Arg::Value, kReducedInLightBit),
        fw::onClicked<&setDarknessPoweredMagery>(IDC_MAG_LIGHT_UNABLE, Arg::Value, kUnableInLightBit),
        fw::onClicked<&setLightPoweredMagery>(IDC_MAG_DARK_NORMAL, Arg::Value, 0),
        fw::onClicked<&setLightPoweredMagery>(IDC_MAG_DARK_REDUCED, Arg::Value, kReducedInDarkBit),
        fw::onClicked<&setLightPoweredMagery>(IDC_MAG_DARK_UNABLE, Arg::Value, kUnableInDarkBit),
        fw::onClicked<&setSpellAbsorption>(IDC_MAG_ABSORB_NONE, Arg::Value, 0),
        fw::onClicked<&setSpellAbsorption>(IDC_MAG_ABSORB_LIGHT, Arg::Value, 1),
        fw::onClicked<&setSpellAbsorption>(IDC_MAG_ABSORB_DARK, Arg::Value, 2),
        fw::onClicked<&setSpellAbsorption>(IDC_MAG_ABSORB_ALWAYS, Arg::Value, 4),
        fw::onClicked<&MagickaPage::noSpellRegenerationClicked>(IDC_MAG_NO_SPELL_REGEN),
    }};

bool MagickaPage::loadControls() {
    ClassPage::loadControls();
    showButtons(kMagickaButtons, &magickaShown);
    return true;
}

// The box has already changed its own state; the bit copies it.
void MagickaPage::noSpellRegenerationClicked() {
    setNoSpellRegeneration(button(IDC_MAG_NO_SPELL_REGEN).isChecked());
}

}  // namespace kestrane
