// "Basic Info": attributes, hit points per level, the advancement multiplier
// and the twelve skills.
#ifndef KESTRANE_BASIC_INFO_PAGE_H
#define KESTRANE_BASIC_INFO_PAGE_H

#include "class_page.h"
#include "resource.h"

namespace kestrane {

class BasicInfoPage : public ClassPage {
public:
    explicit BasicInfoPage(EditorCommands& editor) : ClassPage(IDD_BASIC_INFO, editor) {}

    bool loadControls() override;
    // The arrows' vertical-scroll handler.
    virtual void stepField(fw::Message& m);
    // Up and Down in a number field step it as its arrows do.
    bool preTranslate(MSG& msg) override;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    bool onInitDialog() override;
    std::vector<ListInit> initData() const override;
    // An arrow's change shows in its field.
    int focusTarget(int control) const override;
    bool showsSpotAt(int control, const Spot& spot) const override;

private:
    void attributeChanged(int index);
    void hitPointsChanged();
    void multiplierChanged();
    void skillChanged(int index);
    void restoreUnreadFields() override;

    // Replaces a number field's text, shown from its first character; its
    // change handler reads it back, except during a fill.
    void replaceNumber(int id, const std::string& text);
    // Shows a number read from the record whole: the field's limit is the
    // typing limit, or the text's length where that is longer.
    void showNumber(int id, const std::string& text, std::size_t limit);
    void showFromStart(const fw::EditField& field) const;
    // The field's text as its change handler reads it.
    std::string fieldText(int id) const;
};

}  // namespace kestrane

#endif
