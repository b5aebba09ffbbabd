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

}  // namespace kestrane
