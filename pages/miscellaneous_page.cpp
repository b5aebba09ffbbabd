#include "miscellaneous_page.h"

#include "miscellaneous_rules.h"
#include "tables.h"

namespace kestrane {

using fw::Arg;

const fw::MessageTable MiscellaneousPage::table = {
    &ClassPage::table,
    {
        fw::onClickedRange<&toggleAbilityFlag>(IDC_MISC_TALENT0, IDC_MISC_TALENT0 + 2, Arg::Mask),
        fw::onClicked<&MiscellaneousPage::sunlightClicked>(IDC_MISC_SUNLIGHT),
        fw::onClicked<&MiscellaneousPage::holyPlacesClicked>(IDC_MISC_HOLY),
        fw::onClicked<&setRegeneration>(IDC_MISC_REGEN_NONE, Arg::Value, 0),
        fw::onClicked<&setRegeneration>(IDC_MISC_REGEN_LIGHT, Arg::Value, 1),
        fw::onClicked<&setRegeneration>(IDC_MISC_REGEN_DARK, Arg::Value, 2),
        fw::onClicked<&setRegeneration>(IDC_MISC_REGEN_WATER, Arg::Value, 4),
        fw::onClicked<&setRegeneration>(IDC_MISC_REGEN_ALWAYS, Arg::Value, 8),
        fw::onClicked<&setRapidHealing>(IDC_MISC_HEAL_NONE, Arg::Value, 0),
        fw::onClicked<&setRapidHealing>(IDC_MISC_HEAL_LIGHT, Arg::Value, 1),
        fw::onClicked<&setRapidHealing>(IDC_MISC_HEAL_DARK, Arg::Value, 2),
        fw::onClicked<&setRapidHealing>(IDC_MISC_HEAL_ALWAYS, Arg::Value, 4),
        fw::onClickedRange<&setEnemyPhobia>(IDC_MISC_PHOBIA0, IDC_MISC_PHOBIA0 + kEnemyKindCount - 1, Arg::Mask),
        fw::onClickedRange<&setEnemyNormal>(IDC_MISC_NORMAL0, IDC_MISC_NORMAL0 + kEnemyKindCount - 1, Arg::Mask),
        fw::onClickedRange<&setEnemyBonus>(IDC_MISC_BONUS0, IDC_MISC_BONUS0 + kEnemyKindCount - 1, Arg::Mask),
    }};

bool MiscellaneousPage::loadControls() {
    ClassPage::loadControls();
    showButtons(kMiscellaneousButtons, &miscellaneousShown);
    return true;
}

// These two boxes copy their state after the click into their bit.
void MiscellaneousPage::sunlightClicked() {
    setDamageFlag(kDamageSunlightBit, button(IDC_MISC_SUNLIGHT).isChecked());
}

void MiscellaneousPage::holyPlacesClicked() { setDamageFlag(kDamageHolyBit, button(IDC_MISC_HOLY).isChecked()); }

}  // namespace kestrane
