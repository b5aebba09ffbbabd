// The "Check" box: the class maker's itemised tally of a record (each
// advantage and disadvantage with its points, the total, the maker's
// multiplier and what the maker could not produce), then the findings under
// a heading for each game they concern, the most severe first, in a list of
// two columns: the points, right-aligned, and what they are for. "Use" closes
// it asking for that multiplier (0.30 to 3.00, so it is there only for a total
// within the maker's range).
#ifndef KESTRANE_TALLY_BOX_H
#define KESTRANE_TALLY_BOX_H

#include "class_record.h"
#include "resource.h"
#include "window.h"

namespace kestrane {

class TallyBox : public fw::Dialog {
public:
    explicit TallyBox(const ClassData& record) : fw::Dialog(IDD_TALLY), record_(record) {}
    ~TallyBox() override;

    // True when the box was closed with "Use".
    bool useChosen() const { return useChosen_; }

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    bool onInitDialog() override;

private:
    void useClicked();
    // The list's heading rows (item data 1) are drawn in bold.
    bool onNotify(fw::Message& m);
    // The box's frame, margins and buttons, and so the most room the list
    // has on the screen's work area.
    void measureBox();
    // Fills the list, a row too wide for that room going on in the next;
    // returns the width its two columns need.
    int fillList();
    // The list as large as its rows and columns need, up to that room, the
    // buttons under it at the right, the box around them.
    void fitToContent(int listWidth);

    const ClassData& record_;
    bool useChosen_ = false;
    HFONT bold_ = nullptr;
    SIZE edge_{}, button_{}, frame_{}, listRoom_{};
    RECT units_{};
};

}  // namespace kestrane

#endif
