#include "miscellaneous_page.h"

#include "miscellaneous_rules.h"

namespace kestrane {

const fw::MessageTable MiscellaneousPage::table = {
    &ClassPage::table,
    {
        fw::onClicked<&ClassPage::withCheckState<&miscellaneousClicked>>(fw::kAnyControl, fw::Arg::Id),
    }};

bool MiscellaneousPage::loadControls() {
    ClassPage::loadControls();
    showButtons(kMiscellaneousButtons, &miscellaneousShown);
    return true;
}

bool MiscellaneousPage::showsSpotAt(int control, const Spot& spot) const {
    return showsSpot(ClassRecord, spot, &miscellaneousShown, control) || ClassPage::showsSpotAt(control, spot);
}

}  // namespace kestrane
