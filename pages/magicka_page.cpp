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

}  // namespace kestrane
