// "Miscellaneous": talents, damage, regeneration, rapid healing, and bonuses or phobias against four enemy kinds.
#ifndef KESTRANE_MISCELLANEOUS_PAGE_H
#define KESTRANE_MISCELLANEOUS_PAGE_H

#include "class_page.h"
#include "resource.h"

namespace kestrane {

class MiscellaneousPage : public ClassPage {
public:
    explicit MiscellaneousPage(EditorCommands& editor) : ClassPage(IDD_MISCELLANEOUS, editor) {}

    bool loadControls() override;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    bool showsSpotAt(int control, const Spot& spot) const override;
};

}  // namespace kestrane

#endif
