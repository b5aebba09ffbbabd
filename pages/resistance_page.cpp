#include "resistance_page.h"

#include "resistance_rules.h"

namespace kestrane {

const fw::MessageTable ResistancePage::table = {
    &ClassPage::table,
    {
        fw::onClicked<&resistanceClicked>(fw::kAnyControl, fw::Arg::Id),
    }};

bool ResistancePage::loadControls() {
    ClassPage::loadControls();
    showButtons(kResistanceButtons, &resistanceShown);
    return true;
}

bool ResistancePage::showsSpotAt(int control, const Spot& spot) const {
    return showsSpot(ClassRecord, spot, &resistanceShown, control) || ClassPage::showsSpotAt(control, spot);
}

}  // namespace kestrane
