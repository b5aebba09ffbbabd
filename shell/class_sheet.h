// The editor window: a modeless property sheet holding the five pages, and
// the file commands that act on the whole record.
#ifndef KESTRANE_CLASS_SHEET_H
#define KESTRANE_CLASS_SHEET_H

#include "basic_info_page.h"
#include "editor_commands.h"
#include "magicka_page.h"
#include "miscellaneous_page.h"
#include "resistance_page.h"
#include "weapons_armor_page.h"
#include "window.h"

#include <optional>
#include <string>

namespace kestrane {

class ClassSheet : public fw::SheetWindow, public EditorCommands {
public:
    ClassSheet();

    // How the window looks: a fixed-size pop-up with a caption and a system menu.
    static constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

    // Reads the start-up class file, asking for one when it cannot be read;
    // false when the user cancels.
    bool initialLoad();

    // Opens a class file into the record: asks first when it is not 74 bytes
    // long, reads it into a copy so that a failure changes nothing, and tells
    // the user what failed. True when the record now holds the file.
    // `quietIfUnopenable` leaves out the box for a file that cannot be opened.
    bool openPath(const std::string& path, bool quietIfUnopenable = false);

    // The save question when there are unsaved edits; false when the command
    // that asked must stop (Cancel, or the save failed).
    bool askToSave();

    // Exit: the save question when there are unsaved edits, then the window
    // goes once the message being handled has returned.
    virtual void closeEditor();

    void openCommand() override;
    void saveCommand() override;
    void saveAsCommand() override;
    void exitCommand() override;
    void aboutCommand() override;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    void postNcDestroy() override { delete this; }

private:
    void onDestroy(fw::Message& m);
    void onClose();
    // Writes the record to its file; a failure is reported and gives false.
    bool save();

    BasicInfoPage basicInfo_;
    ResistancePage resistance_;
    WeaponsArmorPage weaponsArmor_;
    MagickaPage magicka_;
    MiscellaneousPage miscellaneous_;
};

}  // namespace kestrane

#endif
