#include "class_sheet.h"

#include "about_box.h"
#include "application.h"
#include "class_record.h"
#include "file_dialogs.h"
#include "file_io.h"
#include "resource.h"
#include "wide_string.h"

namespace kestrane {

const fw::MessageTable ClassSheet::table = {
    &fw::SheetWindow::table,
    {
        fw::onMessage<&ClassSheet::onDestroy>(WM_DESTROY),
        fw::onMessage<&ClassSheet::onClose>(WM_CLOSE),
        fw::onCommand<&ClassSheet::aboutCommand>(-1, ID_APP_ABOUT_CMD),
        fw::onCommand<&ClassSheet::openCommand>(-1, ID_FILE_OPEN),
        fw::onCommand<&ClassSheet::saveAsCommand>(-1, ID_FILE_SAVE_AS),
        fw::onCommand<&ClassSheet::saveCommand>(-1, ID_FILE_SAVE),
        fw::onCommand<&ClassSheet::exitCommand>(-1, ID_APP_EXIT_CMD),
    }};

ClassSheet::ClassSheet()
    : fw::SheetWindow(L"KESTRANE", nullptr, 0),
      basicInfo_(*this),
      resistance_(*this),
      weaponsArmor_(*this),
      magicka_(*this),
      miscellaneous_(*this) {}

namespace {

constexpr const char* kDefaultClassFile = "arena2\\class00.cfg";

// Every file failure is told the same way: which file, what was being done
// and the system's reason.
void reportFileError(const FileError& e) { fw::app()->messageBox(widen(fileErrorText(e)), MB_OK | MB_ICONSTOP); }

WString fileNameOf(const std::string& path) {
    std::string::size_type slash = path.find_last_of("\\/");
    return widen(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

bool ClassSheet::openPath(const std::string& path, bool quietIfUnopenable) {
    try {
        int error = 0;
        std::unique_ptr<ClassFileReader> file = ClassFileReader::open(path, &error);
        if (!file) {
            if (quietIfUnopenable) return false;
            throw FileError(FileError::Open, path, error);
        }
        // Anything else is not a class file, most likely: a Save would cut it
        // to 74 bytes.
        std::uint64_t size = file->size();
        if (size != kClassFileSize &&
            fw::app()->messageBox(widen(fullPath(path) + " is " + std::to_string(size) +
                                        " bytes long; a class file is 74 bytes. Open it anyway?"),
                                  MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        // Read into a fresh record: a file that cannot be read changes neither
        // the record nor where Save writes it, and a short one leaves zeros,
        // not the previous class, behind its end.
        ClassData chosen;
        chosen.classFilePath = path;
        chosen.readFrom(*file);
        ClassRecord = chosen;
        return true;
    } catch (const FileError& e) {
        reportFileError(e);
        return false;
    }
}

bool ClassSheet::initialLoad() {
    bool loaded = openPath(kDefaultClassFile, true);
    while (!loaded) {
        std::optional<std::string> path = openClassFileDialog(nullptr);
        if (!path) return false;
        // Never take a file that could not be read: a window on an empty
        // record that points at someone's real file would overwrite it on Save.
        loaded = openPath(*path);
    }
    addPage(&basicInfo_);
    addPage(&resistance_);
    addPage(&weaponsArmor_);
    addPage(&magicka_);
    addPage(&miscellaneous_);
    return true;
}

bool ClassSheet::save() {
    try {
        ClassRecord.writeClassFile();
        return true;
    } catch (const FileError& e) {
        reportFileError(e);
        return false;
    }
}

bool ClassSheet::askToSave() {
    if (!modified) return true;
    // The name as text up to its NUL, and passed as an argument, never as a
    // format; stored in the system code page, like the game's files. Without
    // a name, the file tells the user which class this is.
    std::string name = ClassRecord.nameText();
    WString shown = name.empty() ? fileNameOf(ClassRecord.classFilePath) : fromSystemCodePage(name);
    switch (fw::app()->messageBox(L"Do you want to save " + shown + L" first?", MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: return save();
        case IDNO: return true;
        default: return false;  // Cancel, Escape or the box's close button
    }
}

void ClassSheet::openCommand() {
    if (!askToSave()) return;
    std::optional<std::string> path = openClassFileDialog(hwnd_);
    if (path) openPath(*path);
}

void ClassSheet::saveCommand() { save(); }

void ClassSheet::saveAsCommand() {
    std::optional<std::string> path = saveClassFileDialog(hwnd_, ClassRecord.classFilePath);
    if (!path) return;
    ClassRecord.classFilePath = *path;
    save();
}

void ClassSheet::exitCommand() { closeEditor(); }

void ClassSheet::closeEditor() {
    if (!askToSave()) return;  // Cancel, or a failed save, keeps the window
    destroyLater();
}

void ClassSheet::aboutCommand() {
    AboutBox box;
    box.runModal(hwnd_);
}

void ClassSheet::onClose() { closeEditor(); }

void ClassSheet::onDestroy(fw::Message& m) {
    m.result = defaultHandling(m);
    PostQuitMessage(0);
}

}  // namespace kestrane
