// "Weapons and Armor": forbidden materials, armor and shields, and each weapon group forbidden, normal or expert.
#ifndef KESTRANE_WEAPONS_ARMOR_PAGE_H
#define KESTRANE_WEAPONS_ARMOR_PAGE_H

#include "class_page.h"
#include "resource.h"

namespace kestrane {

class WeaponsArmorPage : public ClassPage {
public:
    explicit WeaponsArmorPage(EditorCommands& editor) : ClassPage(IDD_WEAPONS_ARMOR, editor) {}

    bool loadControls() override;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    bool showsSpotAt(int control, const Spot& spot) const override;
};

}  // namespace kestrane

#endif
