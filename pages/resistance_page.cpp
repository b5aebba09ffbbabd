#include "resistance_page.h"

#include "resistance_rules.h"
#include "tables.h"

namespace kestrane {

using fw::Arg;

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
    showButtons(kResistanceButtons, &resistanceShown);
    return true;
}

}  // namespace kestrane
