// The editor window: a modeless property sheet holding the five pages, and
// the file commands that act on the whole record.
#ifndef KESTRANE_CLASS_SHEET_H
#define KESTRANE_CLASS_SHEET_H

#include "basic_info_page.h"
#include "class_record.h"
#include "disk_watch.h"
#include "edit_history.h"
#include "editor_commands.h"
#include "magicka_page.h"
#include "miscellaneous_page.h"
#include "resistance_page.h"
#include "weapons_armor_page.h"
#include "window.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrane {

class ClassSheet : public fw::SheetWindow, public EditorCommands {
public:
    ClassSheet();
    ~ClassSheet() override;

    // How the window looks: a fixed-size pop-up with a caption, a system menu
    // and a minimise box.
    static constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
    // It takes files dropped on it from Explorer.
    static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_ACCEPTFILES;

    // Reads the start-up class file, asking for one when it cannot be read;
    // false when the user cancels.
    bool initialLoad();

    // Exit: the save question when there are unsaved edits, then the window
    // goes once the message being handled has returned.
    virtual void closeEditor();

    // "<file name> - KESTRANE", with "*" before the name while there are
    // unsaved changes; set only when it differs from what is shown.
    void showFileInCaption();

    bool runCommand(int id) override;
    void actionDone(ClassPage& page, int control, EditKind kind) override;
    void fieldLeft() override { history_.seal(); }
    void contextMenu(int x, int y) override;

    static const fw::MessageTable table;
    const fw::MessageTable* messageTable() const override { return &table; }

protected:
    int onCreate() override;

private:
    // The commands runCommand runs, one handler each.
    void openCommand();
    void saveCommand();
    void saveAsCommand();
    void exitCommand();
    void aboutCommand();
    void undoCommand();
    void redoCommand();
    void revertCommand();
    void classesCommand();

    // Puts back a state of the history and shows where it changed.
    void showMove(const EditHistory::Move& move);
    // Sets `modified`: whether the record's bytes differ from those last read
    // or written. The one place it is set; every change of the record or of
    // the saved bytes ends here.
    void updateModified();
    // The record now holds a file just read: a new history, and `asRead`, the
    // bytes that read delivered, are what another program's change is told
    // against.
    void takeLoaded(const ClassData& loaded, std::vector<std::uint8_t> asRead);
    // Reads the class file again as Open does; false when it was not read.
    bool readAgain();
    // Revert is offered while there is something to revert to: unsaved
    // changes, or another program's change on disk as last looked at.
    bool canRevert() const;
    // Reads the file on disk now: true when another program has changed it,
    // also kept in diskChanged_ for canRevert.
    bool lookAtDisk();
    // Undo, Redo and Revert greyed or not in `menu`, as they stand; set only
    // as a menu is about to show.
    void showCommandStates(HMENU menu) const;
    // The class as the questions name it: its name, or its file's.
    WString questionName() const;
    // A question about another program's change to the open file: `first`,
    // the fields it changed, then `last`; No is the default button when
    // `keepByDefault`, so Enter loses nothing. True for Yes.
    bool askAboutChange(const wchar_t* first, const wchar_t* last, bool keepByDefault) const;
    // Before a Save onto `path`: when it is the file that was read and another
    // program has changed it since, asks whether to replace it; false for No.
    bool mayReplace(const std::string& path);

    bool onSysCommand(fw::Message& m);
    bool onInitMenuPopup(fw::Message& m);
    bool onActivateApp(fw::Message& m);
    bool onContextMenu(fw::Message& m);
    // Posted when the program becomes the active one again.
    void checkDisk();

    void onDestroy(fw::Message& m);
    void onClose();
    void onDropFiles(fw::Message& m);
    // Open: the save question when there are unsaved edits, then `given` (a
    // dropped file) or the file the open dialog names is read; however that
    // ends, the page in front shows the record.
    void openFile(std::optional<std::string> given);
    // Reads `path` into the record; on failure says why and changes nothing.
    void openPath(const std::string& path);
    // The page in front shows the record again.
    void refreshPageInFront();
    // The save question; false when the command that asked must stop (Cancel,
    // or Yes and the save failed).
    bool askToSave();
    // Writes the record to its file; on failure says why, and the old file,
    // `modified` and the window stay as they were.
    bool save() { return saveTo(ClassRecord.classFilePath); }
    // Writes the record to `path`, which becomes the class's file only once
    // written: after a failed Save As the caption, the watch, Revert and Save
    // all still name the file that was open.
    bool saveTo(const std::string& path);
    enum class ReadResult { Loaded, Declined, Failed };
    // Reads `path` into `into`, asking first about a file that is not 74 bytes
    // long, and gives the bytes the read delivered in `asRead`; says why a
    // read failed, and why an open failed when `reportOpen`.
    ReadResult readInto(const std::string& path, ClassData& into, std::vector<std::uint8_t>& asRead,
                        bool reportOpen) const;
    // "Cannot save <full path>." and the system's reason, in a stop box.
    void fileError(const wchar_t* what, const std::string& path, unsigned long error) const;

    // The five pages, in tab order.
    std::array<ClassPage*, 5> pages() {
        return {&basicInfo_, &resistance_, &weaponsArmor_, &magicka_, &miscellaneous_};
    }

    BasicInfoPage basicInfo_;
    ResistancePage resistance_;
    WeaponsArmorPage weaponsArmor_;
    MagickaPage magicka_;
    MiscellaneousPage miscellaneous_;
    WString shownCaption_;
    EditHistory history_;
    DiskWatch disk_;
    bool diskChanged_ = false;  // as lookAtDisk last found it
};

}  // namespace kestrane

#endif
