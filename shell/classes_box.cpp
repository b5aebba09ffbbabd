#include "classes_box.h"

#include "class_record.h"
#include "file_dialogs.h"
#include "file_io.h"
#include "findings.h"
#include "standard_classes.h"
#include "tally.h"
#include "wide_string.h"
#include "windows1252.h"

#include <shlobj.h>  // the folder picker's types; its functions are loaded when first needed

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <memory>

namespace kestrane {

const fw::MessageTable ClassesBox::table = {
    &fw::Dialog::table,
    {
        fw::onClicked<&ClassesBox::openClicked>(IDOK),
        fw::onClicked<&ClassesBox::folderClicked>(IDC_CLASSES_FOLDER),
        fw::onMessage<&ClassesBox::onNotify>(WM_NOTIFY),
    }};

namespace {

struct Column {
    const wchar_t* title;
    int width;  // dialog units
};
// "Findings" stands before the last column, the open file's mark.
constexpr Column kColumns[] = {
    {L"File", 58}, {L"Class", 72}, {L"Standard", 78}, {L"Maker", 72}, {L"Findings", 36}, {L"Open", 54},
};
enum { kFileColumn, kClassColumn, kStandardColumn, kMakerColumn, kFindingsColumn, kOpenColumn };

// Letters compared without case first, as a folder shows the game's upper-case
// names beside lower-case ones.
bool byName(const std::string& a, const std::string& b) {
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string la = lower(a), lb = lower(b);
    return la != lb ? la < lb : a < b;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    const char last = folder.empty() ? '\\' : folder.back();
    return folder + (last == '\\' || last == '/' ? "" : "\\") + name;
}

std::string folderOf(const std::string& fullFile) {
    const std::string::size_type slash = fullFile.find_last_of("\\/");
    if (slash == std::string::npos) return std::string();
    // A drive's root keeps its backslash ("C:\").
    return fullFile.substr(0, slash == 2 && fullFile[1] == ':' ? slash + 1 : slash);
}

bool samePath(const std::string& a, const std::string& b) {
    return lstrcmpiW(widen(a).c_str(), widen(b).c_str()) == 0;
}

// The class files of `folder` by name; false with the system's error when it
// cannot be listed.
bool classFilesIn(const std::string& folder, std::vector<std::string>& names, DWORD& error) {
    names.clear();
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(widen(joinPath(folder, "*")).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND;
    }
    do {
        const std::string name = narrow(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && looksLikeClassFile(name)) names.push_back(name);
    } while (FindNextFileW(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end(), byName);
    return true;
}

// The file's record as Open would read it (a short file leaves zeros behind
// its end); without touching the editor's own record or its unsaved flag.
// False with the system's reason when it cannot be read.
bool readRow(const std::string& path, ClassData& record, WString& reason) {
    try {
        std::unique_ptr<ClassFileReader> file = ClassFileReader::open(path);
        if (!file) {
            reason = systemErrorText(GetLastError());
            return false;
        }
        // One read: a file delivers all it has up to the size asked for, and
        // every call is a round trip to the system under Wine.
        std::array<std::uint8_t, kClassFileSize> bytes{};
        const std::size_t got = file->read(bytes.data(), bytes.size());
        file->close();
        record.fromBytes(bytes.data(), got);
        return true;
    } catch (const FileError& e) {
        reason = systemErrorText(e.systemError());
        return false;
    }
}

void setCell(HWND listView, int row, int column, const WString& text) {
    ListView_SetItemText(listView, row, column, const_cast<LPWSTR>(text.c_str()));
}

// The shell's library is loaded when the folder picker is first wanted, as
// for dropped files: the program imports nothing more for it.
FARPROC shellFunction(const char* name) {
    static HMODULE shell = LoadLibraryW(L"shell32.dll");
    return shell ? GetProcAddress(shell, name) : nullptr;
}

int CALLBACK startInFolder(HWND picker, UINT message, LPARAM, LPARAM folder) {
    if (message == BFFM_INITIALIZED) SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, folder);
    return 0;
}

// The folder the user picks, starting at `current`; nothing when cancelled.
std::optional<std::string> pickFolder(HWND owner, const std::string& current) {
    using BrowseFn = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOW);
    using PathFn = BOOL(WINAPI*)(LPCITEMIDLIST, LPWSTR);
    using FreeFn = void(WINAPI*)(LPITEMIDLIST);
    auto browse = reinterpret_cast<BrowseFn>(reinterpret_cast<void*>(shellFunction("SHBrowseForFolderW")));
    auto pathOf = reinterpret_cast<PathFn>(reinterpret_cast<void*>(shellFunction("SHGetPathFromIDListW")));
    auto release = reinterpret_cast<FreeFn>(reinterpret_cast<void*>(shellFunction("ILFree")));
    if (!browse || !pathOf) return std::nullopt;
    // The picker wants COM in this thread; its library too is loaded only now.
    using OleStartFn = HRESULT(WINAPI*)(LPVOID);
    using OleEndFn = void(WINAPI*)();
    static HMODULE ole = LoadLibraryW(L"ole32.dll");
    auto oleStart = reinterpret_cast<OleStartFn>(
        reinterpret_cast<void*>(ole ? GetProcAddress(ole, "OleInitialize") : nullptr));
    auto oleEnd = reinterpret_cast<OleEndFn>(
        reinterpret_cast<void*>(ole ? GetProcAddress(ole, "OleUninitialize") : nullptr));
    const bool oleStarted = oleStart && oleEnd && SUCCEEDED(oleStart(nullptr));
    const WString start = widen(current);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = L"Choose the folder whose class files to list.";
    // A path can be typed or pasted as well as found in the tree.
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    info.lpfn = startInFolder;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    LPITEMIDLIST chosen = browse(&info);
    wchar_t path[MAX_PATH] = L"";
    const bool ok = chosen && pathOf(chosen, path) != FALSE;
    if (chosen && release) release(chosen);
    if (oleStarted) oleEnd();
    if (!ok || !path[0]) return std::nullopt;
    return narrow(path);
}

}  // namespace

ClassesBox::ClassesBox(const std::string& openFile, bool unsaved)
    : fw::Dialog(IDD_CLASSES), openFile_(fullPath(openFile)), unsaved_(unsaved) {}

bool ClassesBox::onInitDialog() {
    HWND listView = item(IDC_CLASSES_LIST);
    ListView_SetExtendedListViewStyle(listView, LVS_EX_FULLROWSELECT);
    int column = 0;
    for (const Column& c : kColumns) {
        RECT width{0, 0, c.width, 0};
        MapDialogRect(hwnd_, &width);
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvc.pszText = const_cast<LPWSTR>(c.title);
        lvc.cx = width.right;
        lvc.iSubItem = column;
        ListView_InsertColumn(listView, column++, &lvc);
    }
    list(folderOf(openFile_));
    centreOnOwner();
    SetFocus(listView);
    return false;
}

void ClassesBox::list(const std::string& folder) {
    folder_ = folder;
    HWND listView = item(IDC_CLASSES_LIST);
    SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(listView);
    DWORD error = 0;
    const bool listed = classFilesIn(folder, names_, error);
    int openRow = -1;
    for (int row = 0; row < static_cast<int>(names_.size()); ++row) {
        const std::string& name = names_[static_cast<std::size_t>(row)];
        const std::string path = joinPath(folder, name);
        const WString file = widen(name);
        LVITEMW lvi{};
        lvi.mask = LVIF_TEXT;
        lvi.iItem = row;
        lvi.pszText = const_cast<LPWSTR>(file.c_str());
        ListView_InsertItem(listView, &lvi);
        ClassData record;
        WString reason;
        if (readRow(path, record, reason)) {
            // The name as stored: Windows-1252 characters, as the name field shows them.
            setCell(listView, row, kClassColumn, widen(windows1252ToUtf8(record.nameText())));
            setCell(listView, row, kMakerColumn, widen(makerText(tallyClass(record))));
            setCell(listView, row, kFindingsColumn, widen(std::to_string(findingCount(record, name))));
        } else {
            setCell(listView, row, kClassColumn, reason);
        }
        setCell(listView, row, kStandardColumn, widen(standardClassFor(name)));
        if (samePath(path, openFile_)) {
            openRow = row;
            setCell(listView, row, kOpenColumn, unsaved_ ? L"open, unsaved" : L"open");
        }
    }
    const int selected = openRow >= 0 ? openRow : names_.empty() ? -1 : 0;
    if (selected >= 0) {
        ListView_SetItemState(listView, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(listView, selected, FALSE);
    }
    SendMessageW(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);

    WString where;
    if (!listed) {
        where = L"Cannot list " + widen(folder) + L".";
        const WString why = systemErrorText(error);
        if (!why.empty()) where += L" " + why;
    } else if (names_.empty()) {
        where = L"No class files in " + widen(folder) + L".";
    } else {
        where = L"Class files in " + widen(folder) + L":";
    }
    SetWindowTextW(item(IDC_CLASSES_WHERE), where.c_str());
    EnableWindow(item(IDOK), !names_.empty());
}

void ClassesBox::openClicked() {
    const int row = ListView_GetNextItem(item(IDC_CLASSES_LIST), -1, LVNI_SELECTED);
    if (row < 0 || row >= static_cast<int>(names_.size())) return;
    chosen_ = joinPath(folder_, names_[static_cast<std::size_t>(row)]);
    EndDialog(hwnd_, IDOK);
}

void ClassesBox::folderClicked() {
    if (std::optional<std::string> folder = pickFolder(hwnd_, folder_)) list(*folder);
}

bool ClassesBox::onNotify(fw::Message& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->idFrom != IDC_CLASSES_LIST || header->code != NM_DBLCLK) return false;
    // A double click on a row opens it; one beside the rows does nothing.
    if (reinterpret_cast<const NMITEMACTIVATE*>(m.lParam)->iItem >= 0) openClicked();
    return true;
}

}  // namespace kestrane
