#include "resistance_page.h"

#include "resistance_rules.h"
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

// Each column of like buttons calls one routine with its row's mask.
const fw::MessageTable ResistancePage::table = {
    &ClassPage::table,
    {
        fw::onClickedRange<&setEffectImmune>(IDC_RES_IMMUNE0, IDC_RES_IMMUNE0 + kEffectCount - 1, Arg::Mask),
        fw::onClickedRange<&setEffectResist>(IDC_RES_RESIST0, IDC_RES_RESIST0 + kEffectCount - 1, Arg::Mask),
        fw::onClickedRange<&setEffectNormal>(IDC_RES_NORMAL0, IDC_RES_NORMAL0 + kEffectCount - 1, Arg::Mask),
        fw::onClickedRange<&setEffectLowTolerance>(IDC_RES_LOW_TOL0, IDC_RES_LOW_TOL0 + kEffectCount - 1, Arg::Mask),
        fw::onClickedRange<&setEffectCritical>(IDC_RES_CRITICAL0, IDC_RES_CRITICAL0 + kEffectCount - 1, Arg::Mask),
    }};

bool ResistancePage::loadControls() {
    ClassPage::loadControls();
    for (int id : kResistanceButtons) showAsStored(button(id), resistanceShown(ClassRecord, id));
    return true;
}

}  // namespace kestrane
