#include "weapons_armor_page.h"

#include "weapons_armor_rules.h"

namespace kestrane {

const fw::MessageTable WeaponsArmorPage::table = {
    &ClassPage::table,
    {
        fw::onClicked<&weaponsArmorClicked>(fw::kAnyControl, fw::Arg::Id),
    }};

bool WeaponsArmorPage::loadControls() {
    ClassPage::loadControls();
    showButtons(kWeaponsArmorButtons, &weaponsArmorShown);
    return true;
}

bool WeaponsArmorPage::showsSpotAt(int control, const Spot& spot) const {
    return showsSpot(ClassRecord, spot, &weaponsArmorShown, control) || ClassPage::showsSpotAt(control, spot);
}

}  // namespace kestrane
