#include "class_sheet.h"

#include "about_box.h"
#include "application.h"
#include "class_record.h"
#include "command_line.h"
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
        fw::onCommand<&ClassSheet::aboutCommand>(-1, ID_APP_ABOUT_CMD),
        fw::onCommand<&ClassSheet::openCommand>(-1, ID_FILE_OPEN),
        fw::onCommand<&ClassSheet::saveAsCommand>(-1, ID_FILE_SAVE_AS),
        fw::onCommand<&ClassSheet::saveCommand>(-1, ID_FILE_SAVE),
        fw::onCommand<&ClassSheet::exitCommand>(-1, ID_APP_EXIT_CMD),
    }};

ClassSheet::ClassSheet()
    : fw::SheetWindow(kWindowTitle, nullptr, 0),
      basicInfo_(*this),
      resistance_(*this),
      weaponsArmor_(*this),
      magicka_(*this),
      miscellaneous_(*this) {
    setAccelerators(LoadAcceleratorsW(fw::app()->instance(), MAKEINTRESOURCEW(IDR_SHORTCUTS)));
}

int ClassSheet::onCreate() {
    int result = fw::SheetWindow::onCreate();
    // The program's icon in the caption, the taskbar and Alt+Tab, each at the
    // size the system draws there.
    const struct {
        WPARAM which;
        int width, height;
    } icons[] = {{ICON_BIG, SM_CXICON, SM_CYICON}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
    for (const auto& i : icons) {
        HANDLE icon = LoadImageW(fw::app()->instance(), MAKEINTRESOURCEW(IDI_KESTRANE), IMAGE_ICON,
                                 GetSystemMetrics(i.width), GetSystemMetrics(i.height), LR_SHARED);
        if (icon) SendMessageW(hwnd_, WM_SETICON, i.which, reinterpret_cast<LPARAM>(icon));
    }
    return result;
}

void ClassSheet::showFileInCaption() {
    if (!hwnd_) return;
    const std::string& path = ClassRecord.classFilePath;
    std::string::size_type slash = path.find_last_of("\\/");
    WString caption = (modified ? L"*" : L"") + widen(slash == std::string::npos ? path : path.substr(slash + 1)) +
                      L" - " + kWindowTitle;
    if (caption == shownCaption_) return;
    SetWindowTextW(hwnd_, caption.c_str());
    shownCaption_ = caption;
}

void ClassSheet::cannotOpen(const std::string& path) const {
    fw::app()->messageBox(L"Cannot open " + widen(path) + L".", MB_OK | MB_ICONSTOP);
}

namespace {

// The file named on the command line ("Open with", a double click, a drop on
// the program's icon), made full against the current directory; nothing when
// the program was started without one.
std::optional<std::string> fileFromCommandLine() {
    std::optional<WString> arg = fw::commandLineArgument(GetCommandLineW(), 1);
    if (!arg || arg->empty()) return std::nullopt;
    DWORD n = GetFullPathNameW(arg->c_str(), 0, nullptr, nullptr);
    if (n == 0) return narrow(*arg);
    WString full(n, L'\0');
    full.resize(GetFullPathNameW(arg->c_str(), n, &full[0], nullptr));
    return narrow(full);
}

}  // namespace

bool ClassSheet::initialLoad() {
    const std::optional<std::string> given = fileFromCommandLine();
    const std::string first = given ? *given : "arena2\\class00.cfg";
    ClassRecord.classFilePath = first;
    bool loaded = false;
    try {
        loaded = ClassRecord.readClassFile();
    } catch (const FileError&) {
        // Opened but unreadable: start again from the empty record and ask.
        ClassRecord = ClassData{};
        ClassRecord.classFilePath = first;
    }
    // A file the user named that cannot be opened is worth a word before the
    // dialog; the default file's absence is not.
    if (!loaded && given) cannotOpen(*given);
    while (!loaded) {
        // Shown when the game's own class file is not where the program was
        // started, so its title says what it wants.
        std::optional<std::string> path = openClassFileDialog(nullptr, L"Choose a class file");
        if (!path) return false;
        // Never take a file that could not be read: a window on an empty
        // record that points at someone's real file would overwrite it on Save.
        ClassData chosen;
        chosen.classFilePath = *path;
        try {
            loaded = chosen.readClassFile();
        } catch (const FileError&) {
            loaded = false;
        }
        if (loaded)
            ClassRecord = chosen;
        else
            cannotOpen(*path);
    }
    addPage(&basicInfo_);
    addPage(&resistance_);
    addPage(&weaponsArmor_);
    addPage(&magicka_);
    addPage(&miscellaneous_);
    return true;
}

void ClassSheet::askToSave() {
    // The name as text up to its NUL, and passed as an argument, never as a
    // format; stored in the system code page, like the game's files.
    WString question = L"Do you want to save " + fromSystemCodePage(ClassRecord.nameText()) + L" first?";
    if (fw::app()->messageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES) ClassRecord.writeClassFile();
}

void ClassSheet::openCommand() {
    if (modified) askToSave();
    std::optional<std::string> path = openClassFileDialog(hwnd_);
    if (!path) return;
    openPath(*path);
}

bool ClassSheet::openPath(const std::string& path) {
    // Read into a copy: a file that cannot be read changes neither the record
    // nor where Save writes it.
    ClassData chosen = ClassRecord;
    chosen.classFilePath = path;
    if (!chosen.readClassFile()) {
        cannotOpen(path);
        return false;
    }
    ClassRecord = chosen;
    return true;
}

void ClassSheet::refreshPageInFront() {
    ClassPage* const pages[] = {&basicInfo_, &resistance_, &weaponsArmor_, &magicka_, &miscellaneous_};
    for (ClassPage* p : pages)
        if (p == activePage()) p->loadControls();
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
    if (!path) return;
    if (modified) askToSave();
    if (openPath(*path)) refreshPageInFront();
}

void ClassSheet::saveCommand() { ClassRecord.writeClassFile(); }

void ClassSheet::saveAsCommand() {
    std::optional<std::string> path = saveClassFileDialog(hwnd_);
    if (!path) return;
    ClassRecord.classFilePath = *path;
    ClassRecord.writeClassFile();
}

void ClassSheet::exitCommand() { closeEditor(); }

void ClassSheet::closeEditor() {
    if (modified) askToSave();  // a failed save stops here and keeps the window
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
