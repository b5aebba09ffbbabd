#include "magicka_page.h"

#include "magicka_rules.h"
#include "tables.h"

namespace kestrane {

using fw::Arg;

namespace {

// Shows one button as the record says. Wine's auto radio button unchecks the
// rest of its group when it is checked by message, which would hide a row
// holding two states; a plain radio button does not, so the button is set as
// one and then made automatic again.
void showAsStored(const fw::Button& button, bool checked) {
    const bool automatic = (GetWindowLongA(button.hwnd(), GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
    if (automatic) SendMessageA(button.hwnd(), BM_SETSTYLE, BS_RADIOBUTTON, FALSE);
    button.setCheck(checked);
    if (automatic) SendMessageA(button.hwnd(), BM_SETSTYLE, BS_AUTORADIOBUTTON, FALSE);
}

}  // namespace

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
    for (int id : kMagickaButtons) showAsStored(button(id), magickaShown(ClassRecord, id));
    return true;
}

// The box has already changed its own state; the bit copies it.
void MagickaPage::noSpellRegenerationClicked() {
    setNoSpellRegeneration(button(IDC_MAG_NO_SPELL_REGEN).isChecked());
}

}  // namespace kestrane
