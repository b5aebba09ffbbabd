// "Resistance and Weakness": one row of five tolerances for each of seven effects.
#ifndef KESTRANE_RESISTANCE_PAGE_H
#define KESTRANE_RESISTANCE_PAGE_H

#include "class_page.h"
#include "resource.h"

namespace kestrane {

class ResistancePage : public ClassPage {
public:
    explicit ResistancePage(EditorCommands& editor) : ClassPage(IDD_RESISTANCE, editor) {}

    bool loadControls() override;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    bool showsSpotAt(int control, const Spot& spot) const override;
};

}  // namespace kestrane

#endif
