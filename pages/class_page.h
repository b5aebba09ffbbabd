// The base of the five pages: the class name field, the command buttons, and
// the rule that a page refills every control from the record whenever it is
// initialised or brought to the front.
#ifndef KESTRANE_CLASS_PAGE_H
#define KESTRANE_CLASS_PAGE_H

#include "class_record.h"
#include "controls.h"
#include "editor_commands.h"
#include "findings.h"
#include "window.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kestrane {

class ClassPage : public fw::PropertyPage {
public:
    ClassPage(int templateId, EditorCommands& editor) : fw::PropertyPage(templateId), editor_(editor) {}

    bool initPage() override;
    bool activatePage() override;
    // Fills every control of the page from ClassRecord; called through refill
    // or initPage, so the change notifications the filling raises store nothing.
    virtual bool loadControls();
    // loadControls with the change handlers held off: showing the record is
    // not an edit, and reading the shown texts back could alter it.
    void refill();

    // Before a Save, and as the user leaves a field: a field whose text does
    // not read as its value shows the record's value again, so the record
    // never holds a value its field does not show. Changes nothing in the record.
    void showStoredValues();

    // After an undo or redo: the focus on the control where the change was
    // made, or for a radio group on its checked button (on Windows, the focus
    // moving onto an unchecked radio button clicks it, which would redo the
    // change).
    void showChange(int control) const;

    // Marks each control whose value has one of the counted findings in
    // `found`: a warning mark beside it, or at the corner of the group box
    // it stands in, and the findings' lines in its tooltip and the mark's.
    // A control without such a finding has neither.
    void showFindings(const std::vector<Finding>& found);

    // A group box's shortcut letter leads to its radio group the way
    // showChange does: onto the checked button, never clicking one.
    bool preTranslate(MSG& msg) override;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    // Whether `control` shows the spot of the record: here the class name's
    // field; each page adds its own controls.
    virtual bool showsSpotAt(int control, const Spot& spot) const;

    // The control that shows what `control` changed: the field an arrow
    // steps, say.
    virtual int focusTarget(int control) const { return control; }
    // Every action the page handled is offered to the history.
    void afterHandling(const fw::Message& m) override;
    void onContextMenu(fw::Message& m);
    void fieldLeft();
    // Each field whose text does not read as its value shows the record's;
    // called with the change handlers held off.
    virtual void restoreUnreadFields() {}

    // True while a fill runs; the change handlers then leave the record alone.
    bool filling() const { return filling_; }
    bool onInitDialog() override;

    void classNameChanged();
    void selectText(const fw::EditField& field, int start, int end, bool noScroll) const;

    // A command no row of the page took (a command button, a shortcut key)
    // passes to the editor window; false when it is not one of its commands.
    bool editorCommand(int id) { return editor_.runCommand(id); }

    // A click passed on to the page's rules with the button's state after it
    // (a check box has already changed its own); false when the control is
    // not one of theirs.
    template <bool (*Clicked)(int, bool)>
    bool withCheckState(int id) {
        return Clicked(id, button(id).isChecked());
    }

    // Sets each button's check state on its own, from the record.
    template <std::size_t N>
    void showButtons(const std::array<int, N>& ids, bool (*shown)(const ClassData&, int)) const {
        for (int id : ids) button(id).setCheck(shown(ClassRecord, id));
    }

    fw::EditField edit(int id) const { return fw::EditField(item(id)); }
    fw::Button button(int id) const { return fw::Button(item(id)); }
    fw::ComboBox comboBox(int id) const { return fw::ComboBox(item(id)); }

private:
    struct Mark {
        HWND anchor;  // the control or group box it stands at
        HWND window;
        std::uint64_t found;  // the findings it stands for, bit i for the i-th
    };
    // The mark for `control`, made hidden on first use; one for all the
    // controls of a group box. Null when `make` is false and there is none.
    Mark* markFor(HWND control, bool make);

    EditorCommands& editor_;
    fw::ToolTip tips_;
    std::vector<Mark> marks_;
    bool filling_ = false;
    // Set when the window has just been made and filled: the sheet brings a
    // new page to the front at once, with nothing in between to show anew.
    bool justFilled_ = false;
};

}  // namespace kestrane

#endif
