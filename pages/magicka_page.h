// "Magicka": increased magery, light- and darkness-powered magery, spell absorption and spell-point regeneration.
#ifndef KESTRANE_MAGICKA_PAGE_H
#define KESTRANE_MAGICKA_PAGE_H

#include "class_page.h"
#include "resource.h"

namespace kestrane {

class MagickaPage : public ClassPage {
public:
    explicit MagickaPage(EditorCommands& editor) : ClassPage(IDD_MAGICKA, editor) {}

    bool loadControls() override;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    bool showsSpotAt(int control, const Spot& spot) const override;
};

}  // namespace kestrane

#endif
