#include "weapons_armor_page.h"

#include "tables.h"
#include "weapons_armor_rules.h"

namespace kestrane {

using fw::Arg;

const fw::MessageTable WeaponsArmorPage::table = {
    &ClassPage::table,
    {
        fw::onClickedRange<&toggleForbiddenMaterial>(IDC_WA_MATERIAL0, IDC_WA_MATERIAL0 + kMaterialCount - 1, Arg::Mask),
        fw::onClicked<&toggleForbiddenEquipment>(IDC_WA_LEATHER, Arg::Value, 0x0040),
        fw::onClicked<&toggleForbiddenEquipment>(IDC_WA_CHAIN, Arg::Value, 0x0080),
        fw::onClicked<&toggleForbiddenEquipment>(IDC_WA_PLATE, Arg::Value, 0x0100),
        fw::onClicked<&toggleForbiddenEquipment>(IDC_WA_BUCKLER, Arg::Value, 0x0200),
        fw::onClicked<&toggleForbiddenEquipment>(IDC_WA_ROUND_SHIELD, Arg::Value, 0x0400),
        fw::onClicked<&toggleForbiddenEquipment>(IDC_WA_KITE_SHIELD, Arg::Value, 0x0800),
        fw::onClicked<&toggleForbiddenEquipment>(IDC_WA_TOWER_SHIELD, Arg::Value, 0x1000),
        fw::onClickedRange<&setWeaponForbidden>(IDC_WA_FORBIDDEN0, IDC_WA_FORBIDDEN0 + kWeaponGroupCount - 1, Arg::Mask),
        fw::onClickedRange<&setWeaponNormal>(IDC_WA_NORMAL0, IDC_WA_NORMAL0 + kWeaponGroupCount - 1, Arg::Mask),
        fw::onClickedRange<&setWeaponExpert>(IDC_WA_EXPERT0, IDC_WA_EXPERT0 + kWeaponGroupCount - 1, Arg::Mask),
    }};

bool WeaponsArmorPage::loadControls() {
    ClassPage::loadControls();
    showButtons(kWeaponsArmorButtons, &weaponsArmorShown);
    return true;
}

}  // namespace kestrane
