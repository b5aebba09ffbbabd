#include "magicka_page.h"

#include "magicka_rules.h"

namespace kestrane {

const fw::MessageTable MagickaPage::table = {
    &ClassPage::table,
    {
        fw::onClicked<&ClassPage::withCheckState<&magickaClicked>>(fw::kAnyControl, fw::Arg::Id),
    }};

bool MagickaPage::loadControls() {
    ClassPage::loadControls();
    showButtons(kMagickaButtons, &magickaShown);
    return true;
}

bool MagickaPage::showsSpotAt(int control, const Spot& spot) const {
    return showsSpot(ClassRecord, spot, &magickaShown, control) || ClassPage::showsSpotAt(control, spot);
}

}  // namespace kestrane
