#include "class_sheet.h"

#include "about_box.h"
#include "application.h"
#include "basic_info_rules.h"
#include "class_facts.h"
#include "class_record.h"
#include "classes_box.h"
#include "command_line.h"
#include "file_dialogs.h"
#include "file_io.h"
#include "file_paths.h"
#include "findings.h"
#include "resource.h"
#include "system_library.h"
#include "tally.h"
#include "tally_box.h"
#include "wide_string.h"

#include <shellapi.h>  // HDROP; its functions are loaded when first needed
#include <windowsx.h>  // GET_X_LPARAM

#include <algorithm>
#include <iterator>

namespace kestrane {

namespace {
// The window's title; the caption puts the class file's name before it.
constexpr wchar_t kWindowTitle[] = L"KESTRANE";

// Posted when the program has become the active one: the disk is looked at
// once the activation is over.
constexpr UINT kCheckDiskMessage = WM_APP + 16;

// The editor's menu: above the window menu's own items, and on a right click
// on a page.
struct EditorMenuItem {
    UINT id;
    const wchar_t* text;
};
// Each has a letter of its own, none of the window menu's (Restore, Move,
// Size, Minimize, Maximize, Close: R, M, S, N, X, C).
constexpr EditorMenuItem kEditorMenu[] = {
    {ID_EDIT_UNDO, L"&Undo\tCtrl+Z"},
    {ID_EDIT_REDO, L"R&edo\tCtrl+Y"},
    {ID_FILE_REVERT, L"Re&vert to Saved"},
    {ID_VIEW_CLASSES, L"C&lasses...\tCtrl+L"},
    {ID_VIEW_CHECK, L"Chec&k...\tCtrl+K"},
};

// Inserts the editor's items at `position` of `menu`.
void addEditorItems(HMENU menu, UINT position) {
    for (const EditorMenuItem& item : kEditorMenu)
        InsertMenuW(menu, position++, MF_BYPOSITION | MF_STRING, item.id, item.text);
}

bool isEditorItem(UINT id) {
    for (const EditorMenuItem& item : kEditorMenu)
        if (item.id == id) return true;
    return false;
}

}  // namespace

const fw::MessageTable ClassSheet::table = {
    &fw::SheetWindow::table,
    {
        fw::onMessage<&ClassSheet::onDestroy>(WM_DESTROY),
        fw::onMessage<&ClassSheet::onClose>(WM_CLOSE),
        fw::onMessage<&ClassSheet::onDropFiles>(WM_DROPFILES),
        // A command sent to the window itself.
        fw::onMessage<&ClassSheet::onSysCommand>(WM_SYSCOMMAND),
        fw::onMessage<&ClassSheet::onInitMenuPopup>(WM_INITMENUPOPUP),
        fw::onMessage<&ClassSheet::onActivateApp>(WM_ACTIVATEAPP),
        fw::onMessage<&ClassSheet::onContextMenu>(WM_CONTEXTMENU),
        fw::onMessage<&ClassSheet::onNotify>(WM_NOTIFY),
        fw::onMessage<&ClassSheet::checkDisk>(kCheckDiskMessage),
        fw::onCommand<&ClassSheet::runCommand>(-1, fw::kAnyControl, fw::Arg::Id),
    }};

bool ClassSheet::runCommand(int id) {
    switch (id) {
        case ID_FILE_OPEN: openCommand(); return true;
        case ID_FILE_SAVE: saveCommand(); return true;
        case ID_FILE_SAVE_AS: saveAsCommand(); return true;
        case ID_APP_EXIT_CMD: exitCommand(); return true;
        case ID_APP_ABOUT_CMD: aboutCommand(); return true;
        case ID_EDIT_UNDO: undoCommand(); return true;
        case ID_EDIT_REDO: redoCommand(); return true;
        case ID_FILE_REVERT: revertCommand(); return true;
        case ID_VIEW_CLASSES: classesCommand(); return true;
        case ID_VIEW_CHECK: checkCommand(); return true;
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
    // Above the window menu's own items, where a desktop's menu under the
    // caption icon has room for a program's commands.
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    addEditorItems(menu, 0);
    // Their states are set each time the menu opens (onInitMenuPopup).
    InsertMenuW(menu, static_cast<UINT>(std::size(kEditorMenu)), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
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
    makeStatusBar();
    showStatus();
    return result;
}

void ClassSheet::makeStatusBar() {
    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), fw::app()->instance(),
                              nullptr);
    if (!status_) return;
    // In the window's own font, as the tab row above it; the bar takes its
    // height from its font as it is sized.
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT bar{}, window{}, client{};
    GetWindowRect(status_, &bar);
    GetWindowRect(hwnd_, &window);
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + bar.bottom - bar.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(status_, WM_SIZE, 0, 0);
    GetClientRect(hwnd_, &client);

    // The count's part as wide as its widest text, with room for the part's
    // edges and the bar's inner margin; the maker's reckoning has the rest.
    HDC dc = GetDC(status_);
    const HGDIOBJ old = SelectObject(dc, font);
    int widest = 0;
    for (const wchar_t* text : {L"no findings", L"99 findings"}) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
        widest = std::max<int>(widest, size.cx);
    }
    const int margin = MulDiv(16, GetDeviceCaps(dc, LOGPIXELSX), 96);
    SelectObject(dc, old);
    ReleaseDC(status_, dc);
    const int edges[] = {client.right - widest - margin, -1};
    SendMessageW(status_, SB_SETPARTS, std::size(edges), reinterpret_cast<LPARAM>(edges));
}

void ClassSheet::showStatus() {
    if (!status_) return;
    // One list for the count and the page's marks, so they never disagree.
    const std::vector<Finding> found = findClass(ClassRecord, ClassRecord.classFilePath);
    const fw::PropertyPage* inFront = activePage();
    for (ClassPage* p : pages())
        if (p == inFront) p->showFindings(found);
    const std::array<std::string, 2> texts = {tallySummary(tallyClass(ClassRecord)),
                                              findingCountText(findingCount(found))};
    for (std::size_t part = 0; part < texts.size(); ++part) {
        if (texts[part] == shownStatus_[part]) continue;
        SendMessageW(status_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(widen(texts[part]).c_str()));
        shownStatus_[part] = texts[part];
    }
}

// A click on the status bar, on the reckoning or the count, opens the Check box.
bool ClassSheet::onNotify(fw::Message& m) {
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
    if (!status_ || hdr->hwndFrom != status_ || hdr->code != static_cast<UINT>(NM_CLICK)) return false;
    runCommand(ID_VIEW_CHECK);
    return true;
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

ClassSheet::ReadResult ClassSheet::readInto(const std::string& path, ClassData& into, std::vector<std::uint8_t>& asRead,
                                            bool reportOpen) const {
    // A file of another size is more likely a mistake than a class: a Save
    // would cut it to 74 bytes.
    const std::optional<std::uint64_t> size = fileSize(path);
    if (size && *size != kClassFileSize) {
        WString question = widen(fullPath(path)) + L" is " + widen(std::to_string(*size)) +
                           L" bytes long; a class file is 74 bytes. Open it anyway?";
        if (fw::app()->messageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return ReadResult::Declined;
    }
    // As the file system spells it: the caption names the game's CLASS00.CFG
    // so, and Save, whose replace step takes the name it is given, keeps it.
    into.classFilePath = spelledOnDisk(path);
    try {
        if (!into.readClassFile(&asRead)) {
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
    std::vector<std::uint8_t> asRead;
    ReadResult result = readInto(given ? *given : "arena2\\class00.cfg", chosen, asRead, given.has_value());
    while (result != ReadResult::Loaded) {
        // Shown when the game's own class file is not where the program was
        // started, so its title says what it wants.
        std::optional<std::string> path = openClassFileDialog(nullptr, L"Choose a class file");
        if (!path) return false;
        chosen = ClassData{};
        result = readInto(*path, chosen, asRead, true);
    }
    takeLoaded(chosen, std::move(asRead));
    for (ClassPage* p : pages()) addPage(p);
    return true;
}

WString ClassSheet::questionName() const {
    // The name as text, passed as an argument, never as a format. A class
    // without a name is named by its file.
    WString name = widen(ClassRecord.nameUtf8());
    if (name.empty()) name = widen(fileNameOf(ClassRecord.classFilePath));
    return name;
}

bool ClassSheet::askToSave() {
    switch (fw::app()->messageBox(L"Do you want to save " + questionName() + L" first?",
                                  MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: return save();
        case IDNO: return true;
        default: return false;  // Cancel, Escape or the box's close button
    }
}

bool ClassSheet::askAboutChange(const wchar_t* first, const wchar_t* last, bool keepByDefault) const {
    const WString question = widen(fullPath(disk_.path())) + first + L"\n\n" +
                             widen(changeSummary(disk_.known(), disk_.changed())) + L"\n\n" + last;
    return fw::app()->messageBox(question, MB_YESNO | MB_ICONQUESTION | (keepByDefault ? MB_DEFBUTTON2 : 0)) == IDYES;
}

bool ClassSheet::mayReplace(const std::string& path) {
    if (!samePath(path, disk_.path()) || !lookAtDisk()) return true;
    disk_.acknowledge();
    // Enter keeps the other program's file.
    return askAboutChange(L" was changed by another program since it was read.", L"Replace it with this class?", true);
}

bool ClassSheet::saveTo(const std::string& path) {
    // A field left holding text that is no number (a paste, an emptied
    // field) shows the stored value, which is what is written.
    for (ClassPage* p : pages()) p->showStoredValues();
    if (!mayReplace(path)) return false;
    ClassData out = ClassRecord;
    out.classFilePath = path;
    try {
        out.writeClassFile();
    } catch (const FileError& e) {
        fileError(L"Cannot save", path, e.systemError());
        return false;
    }
    ClassRecord.classFilePath = path;
    const RecordBytes written = ClassRecord.toBytes();
    // Undo after a Save makes the class unsaved again; the next change is a
    // step of its own, so Undo comes back to exactly these bytes.
    history_.markSaved(written);
    updateModified();
    disk_.remember(path, std::vector<std::uint8_t>(written.begin(), written.end()));
    diskChanged_ = false;
    return true;
}

void ClassSheet::openCommand() { openFile(std::nullopt); }

void ClassSheet::classesCommand() {
    ClassesBox box(ClassRecord.classFilePath, modified != 0);
    box.runModal(hwnd_);
    // The box is gone before the save question and the read, as after the
    // open dialog.
    if (box.chosen()) openFile(box.chosen());
}

void ClassSheet::checkCommand() {
    TallyBox box(ClassRecord);
    box.runModal(hwnd_);
    // The box is gone before the change, which shows on Basic Info as an
    // undo would show it.
    if (!box.useChosen() || !storeMakerMultiplier()) return;
    showChangeOn(basicInfo_, 0, IDC_MULTIPLIER);
    actionDone(basicInfo_, IDC_MULTIPLIER, EditKind::Single);
}

void ClassSheet::openFile(std::optional<std::string> given) {
    if (!modified || askToSave()) {
        if (!given) given = openClassFileDialog(hwnd_, nullptr, ClassRecord.classFilePath);
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
    std::vector<std::uint8_t> asRead;
    if (readInto(path, chosen, asRead, true) == ReadResult::Loaded) takeLoaded(chosen, std::move(asRead));
}

void ClassSheet::takeLoaded(const ClassData& loaded, std::vector<std::uint8_t> asRead) {
    ClassRecord = loaded;
    history_.reset(ClassRecord.toBytes());
    updateModified();
    disk_.remember(ClassRecord.classFilePath, std::move(asRead));
    diskChanged_ = false;
}

bool ClassSheet::readAgain() {
    ClassData chosen;
    std::vector<std::uint8_t> asRead;
    const bool read = readInto(ClassRecord.classFilePath, chosen, asRead, true) == ReadResult::Loaded;
    if (read) takeLoaded(chosen, std::move(asRead));
    refreshPageInFront();
    return read;
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
    const auto query = fw::systemFunction<QueryFn>(L"shell32.dll", "DragQueryFileW");
    const auto finish = fw::systemFunction<FinishFn>(L"shell32.dll", "DragFinish");
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
    // An existing file keeps its own spelling.
    if (path) saveTo(spelledOnDisk(*path));
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

// ---- the history of the user's changes ----

void ClassSheet::actionDone(ClassPage& page, int control, EditKind kind) {
    const std::array<ClassPage*, 5> all = pages();
    const int index = static_cast<int>(std::find(all.begin(), all.end(), &page) - all.begin());
    history_.record(ClassRecord.toBytes(), {index, control, kind}, GetTickCount());
    updateModified();
}

// Unsaved means a difference: a click on what was already chosen, a value
// typed back to what it was, or an undo to the saved state leaves nothing to
// save.
void ClassSheet::updateModified() {
    modified = history_.differsFromSaved(ClassRecord.toBytes()) ? 1 : 0;
    showStatus();
}

void ClassSheet::undoCommand() {
    if (std::optional<EditHistory::Move> move = history_.undo()) showMove(*move);
}

void ClassSheet::redoCommand() {
    if (std::optional<EditHistory::Move> move = history_.redo()) showMove(*move);
}

void ClassSheet::showMove(const EditHistory::Move& move) {
    ClassRecord.fromBytes(move.bytes.data(), move.bytes.size());
    updateModified();
    showChangeOn(*pages()[static_cast<std::size_t>(move.origin.page)], move.origin.page, move.origin.control);
}

void ClassSheet::showChangeOn(ClassPage& page, int index, int control) {
    // Bringing a page to the front fills it; the page in front is filled here.
    if (activePage() == &page)
        page.refill();
    else
        PropSheet_SetCurSel(hwnd_, nullptr, index);
    page.showChange(control);
}

// ---- revert, and another program's change ----

bool ClassSheet::lookAtDisk() {
    diskChanged_ = disk_.check() == DiskWatch::State::Changed;
    return diskChanged_;
}

bool ClassSheet::canRevert() const { return modified || diskChanged_; }

void ClassSheet::revertCommand() {
    lookAtDisk();
    if (!canRevert()) return;
    const WString question = L"Discard your changes to " + questionName() + L" and read " +
                             widen(fileNameOf(ClassRecord.classFilePath)) + L" again?";
    if (fw::app()->messageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES) readAgain();
}

bool ClassSheet::onActivateApp(fw::Message& m) {
    // The program's own boxes and dialogs closing never come here: only
    // another program's window giving the activation back.
    if (m.wParam) PostMessageW(hwnd_, kCheckDiskMessage, 0, 0);
    return false;
}

void ClassSheet::checkDisk() {
    // A question or dialog of the program's own is up: it is asked later, at
    // the next activation or Save.
    if (!IsWindowEnabled(hwnd_)) return;
    if (!lookAtDisk() || disk_.askedBefore()) return;
    disk_.acknowledge();
    // With unsaved changes Enter keeps them; with none, reading it is the
    // likely wish.
    if (askAboutChange(L" was changed by another program.",
                       modified ? L"Read it again and lose your changes?" : L"Read it again?", modified != 0))
        readAgain();
}

// ---- the editor's menu ----

void ClassSheet::showCommandStates(HMENU menu) const {
    const auto show = [menu](UINT id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    show(ID_EDIT_UNDO, history_.canUndo());
    show(ID_EDIT_REDO, history_.canRedo());
    show(ID_FILE_REVERT, canRevert());
}

bool ClassSheet::onSysCommand(fw::Message& m) {
    const UINT id = static_cast<UINT>(m.wParam & 0xFFF0);
    if (!isEditorItem(id)) return false;
    runCommand(static_cast<int>(id));
    return true;
}

// The window menu's states, as it opens.
bool ClassSheet::onInitMenuPopup(fw::Message& m) {
    if (!HIWORD(m.lParam)) return false;
    lookAtDisk();
    showCommandStates(reinterpret_cast<HMENU>(m.wParam));
    return false;
}

// The tab row's, from the keyboard or a right click there; the caption keeps
// the window menu the platform opens on it.
bool ClassSheet::onContextMenu(fw::Message& m) {
    const int x = GET_X_LPARAM(m.lParam), y = GET_Y_LPARAM(m.lParam);
    if (x != -1 || y != -1) {
        POINT p{x, y};
        RECT client{};
        ScreenToClient(hwnd_, &p);
        GetClientRect(hwnd_, &client);
        if (!PtInRect(&client, p)) return false;
    }
    contextMenu(x, y);
    return true;
}

void ClassSheet::contextMenu(int x, int y) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    addEditorItems(menu, 0);
    if (x == -1 && y == -1) {
        // From the keyboard: at the control with the focus, or the page's corner.
        RECT r{};
        HWND focus = GetFocus();
        GetWindowRect(focus && IsChild(hwnd_, focus) ? focus : hwnd_, &r);
        x = r.left;
        y = r.bottom;
    }
    // The menu sends no WM_INITMENUPOPUP (TPM_NONOTIFY): its states are set
    // here, just before it shows.
    lookAtDisk();
    showCommandStates(menu);
    const UINT id = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, hwnd_, nullptr));
    DestroyMenu(menu);
    if (id) runCommand(static_cast<int>(id));
}

}  // namespace kestrane
