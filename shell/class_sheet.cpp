#include "class_sheet.h"

#include "about_box.h"
#include "application.h"
#include "class_record.h"
#include "command_line.h"
#include "file_io.h"
#include "file_dialogs.h"
#include "resource.h"
#include "wide_string.h"

#include <shellapi.h>  // HDROP; its functions are loaded when first needed

namespace kestrane {

namespace {
// The window's title; the caption puts the class file's name before it.
constexpr wchar_t kWindowTitle[] = L"KESTRANE";
}  // namespace

const fw::MessageTable ClassSheet::table = {
    &fw::SheetWindow::table,
    {
        fw::onMessage<&ClassSheet::onDestroy>(WM_DESTROY),
        fw::onMessage<&ClassSheet::onClose>(WM_CLOSE),
        fw::onMessage<&ClassSheet::onDropFiles>(WM_DROPFILES),
        // A command sent to the window itself.
        fw::onCommand<&ClassSheet::runCommand>(-1, fw::kAnyControl, fw::Arg::Id),
    }};

bool ClassSheet::runCommand(int id) {
    switch (id) {
        case ID_FILE_OPEN: openCommand(); return true;
        case ID_FILE_SAVE: saveCommand(); return true;
        case ID_FILE_SAVE_AS: saveAsCommand(); return true;
        case ID_APP_EXIT_CMD: exitCommand(); return true;
        case ID_APP_ABOUT_CMD: aboutCommand(); return true;
        default: return false;
    }
}

ClassSheet::ClassSheet()
    : fw::SheetWindow(kWindowTitle, nullptr, 0),
      basicInfo_(*this),
      resistance_(*this),
      weaponsArmor_(*this),
      magicka_(*this),
      miscellaneous_(*this) {
    setAccelerators(LoadAcceleratorsW(fw::app()->instance(), MAKEINTRESOURCEW(IDR_SHORTCUTS)));
}

ClassSheet::~ClassSheet() {
    // The message loop can end with the window still up (a quit message from
    // elsewhere): it goes first, so none of its messages finds the object gone.
    if (hwnd_) DestroyWindow(hwnd_);
}

int ClassSheet::onCreate() {
    int result = fw::SheetWindow::onCreate();
    // The program's icon in the caption, the taskbar and Alt+Tab, each at the
    // size the system draws there.
    const struct {
        WPARAM which;
        int width, height;
    } icons[] = {// The small one first, so the system makes none from the big one.
                 {ICON_SMALL, SM_CXSMICON, SM_CYSMICON},
                 {ICON_BIG, SM_CXICON, SM_CYICON}};
    for (const auto& i : icons) {
        HANDLE icon = LoadImageW(fw::app()->instance(), MAKEINTRESOURCEW(IDI_KESTRANE), IMAGE_ICON,
                                 GetSystemMetrics(i.width), GetSystemMetrics(i.height), LR_SHARED);
        if (icon) SendMessageW(hwnd_, WM_SETICON, i.which, reinterpret_cast<LPARAM>(icon));
    }
    return result;
}

void ClassSheet::showFileInCaption() {
    if (!hwnd_) return;
    WString caption = (modified ? L"*" : L"") + widen(fileNameOf(ClassRecord.classFilePath)) + L" - " + kWindowTitle;
    if (caption == shownCaption_) return;
    SetWindowTextW(hwnd_, caption.c_str());
    shownCaption_ = caption;
}

void ClassSheet::fileError(const wchar_t* what, const std::string& path, unsigned long error) const {
    WString text = WString(what) + L" " + widen(fullPath(path)) + L".";
    const WString reason = systemErrorText(error);
    if (!reason.empty()) text += L"\n\n" + reason;
    fw::app()->messageBox(text, MB_OK | MB_ICONSTOP);
}

namespace {

// The file named on the command line ("Open with", a double click, a drop on
// the program's icon), made full against the current directory; nothing when
// the program was started without one.
std::optional<std::string> fileFromCommandLine() {
    std::optional<WString> arg = fw::commandLineArgument(GetCommandLineW(), 1);
    if (!arg || arg->empty()) return std::nullopt;
    return fullPath(narrow(*arg));
}

}  // namespace

ClassSheet::ReadResult ClassSheet::readInto(const std::string& path, ClassData& into, bool reportOpen) const {
    // A file of another size is more likely a mistake than a class: a Save
    // would cut it to 74 bytes.
    const std::optional<std::uint64_t> size = fileSize(path);
    if (size && *size != kClassFileSize) {
        WString question = widen(fullPath(path)) + L" is " + widen(std::to_string(*size)) +
                           L" bytes long; a class file is 74 bytes. Open it anyway?";
        if (fw::app()->messageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return ReadResult::Declined;
    }
    into.classFilePath = path;
    try {
        if (!into.readClassFile()) {
            // The open's own error, before anything else can change it.
            const unsigned long error = GetLastError();
            if (reportOpen) fileError(L"Cannot open", path, error);
            return ReadResult::Failed;
        }
    } catch (const FileError& e) {
        fileError(L"Cannot read", path, e.systemError());
        return ReadResult::Failed;
    }
    return ReadResult::Loaded;
}

bool ClassSheet::initialLoad() {
    const std::optional<std::string> given = fileFromCommandLine();
    // Never take a file that could not be read: a window on an empty record
    // that points at someone's real file would overwrite it on Save. The
    // default file's absence is no news; a file the user named is worth a word.
    ClassData chosen;
    ReadResult result = readInto(given ? *given : "arena2\\class00.cfg", chosen, given.has_value());
    while (result != ReadResult::Loaded) {
        // Shown when the game's own class file is not where the program was
        // started, so its title says what it wants.
        std::optional<std::string> path = openClassFileDialog(nullptr, L"Choose a class file");
        if (!path) return false;
        chosen = ClassData{};
        result = readInto(*path, chosen, true);
    }
    ClassRecord = chosen;
    for (ClassPage* p : pages()) addPage(p);
    return true;
}

bool ClassSheet::askToSave() {
    // The name as text up to its NUL, and passed as an argument, never as a
    // format; stored in the system code page, like the game's files. A class
    // without a name is named by its file.
    WString name = fromSystemCodePage(ClassRecord.nameText());
    if (name.empty()) name = widen(fileNameOf(ClassRecord.classFilePath));
    switch (fw::app()->messageBox(L"Do you want to save " + name + L" first?", MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: return save();
        case IDNO: return true;
        default: return false;  // Cancel, Escape or the box's close button
    }
}

bool ClassSheet::save() {
    try {
        ClassRecord.writeClassFile();
    } catch (const FileError& e) {
        fileError(L"Cannot save", ClassRecord.classFilePath, e.systemError());
        return false;
    }
    return true;
}

void ClassSheet::openCommand() { openFile(std::nullopt); }

void ClassSheet::openFile(std::optional<std::string> given) {
    if (!modified || askToSave()) {
        if (!given) given = openClassFileDialog(hwnd_);
        if (given) openPath(*given);
    }
    // The page the command came from shows the record at once, even when
    // nothing was read; the others refill when they come to the front.
    refreshPageInFront();
}

void ClassSheet::openPath(const std::string& path) {
    // Read into a fresh record: a file that cannot be read changes neither the
    // record nor where Save writes it, and a short one leaves zeros, not the
    // previous class, behind its end.
    ClassData chosen;
    if (readInto(path, chosen, true) == ReadResult::Loaded) ClassRecord = chosen;
}

void ClassSheet::refreshPageInFront() {
    const fw::PropertyPage* inFront = activePage();
    for (ClassPage* p : pages())
        if (p == inFront) p->refill();
}

namespace {

// The first of the files dropped on the window. The shell's library comes
// with the file dialogs anyway; it is loaded when a file is first dropped.
std::optional<std::string> firstDroppedFile(HDROP drop) {
    using QueryFn = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
    using FinishFn = void(WINAPI*)(HDROP);
    static HMODULE shell = LoadLibraryW(L"shell32.dll");
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(shell ? GetProcAddress(shell, "DragQueryFileW") : nullptr));
    auto finish = reinterpret_cast<FinishFn>(
        reinterpret_cast<void*>(shell ? GetProcAddress(shell, "DragFinish") : nullptr));
    std::optional<std::string> first;
    if (query) {
        UINT n = query(drop, 0, nullptr, 0);
        if (n > 0) {
            WString name(n + 1, L'\0');
            name.resize(query(drop, 0, &name[0], n + 1));
            first = narrow(name);
        }
    }
    if (finish) finish(drop);
    return first;
}

}  // namespace

// A dropped file is opened as Open opens the file its dialog names.
void ClassSheet::onDropFiles(fw::Message& m) {
    std::optional<std::string> path = firstDroppedFile(reinterpret_cast<HDROP>(m.wParam));
    if (path) openFile(path);
}

void ClassSheet::saveCommand() { save(); }

void ClassSheet::saveAsCommand() {
    std::optional<std::string> path = saveClassFileDialog(hwnd_, ClassRecord.classFilePath);
    if (!path) return;
    // Kept even when the write fails, so a later Save tries the new name again.
    ClassRecord.classFilePath = *path;
    save();
}

void ClassSheet::exitCommand() { closeEditor(); }

void ClassSheet::closeEditor() {
    if (modified && !askToSave()) return;  // Cancel, or a failed save: the window stays
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
