#include "file_dialogs.h"

#include "application.h"
#include "dialog_failure.h"
#include "file_paths.h"
#include "system_library.h"

#include <commdlg.h>
#include <shlobj.h>

#include <exception>
#include <utility>
#include <vector>

namespace kestrane {

namespace {

// The filter as one literal, "|" standing for the list separator. No blanks
// around the patterns: some dialogs take them as part of the pattern and list
// nothing.
WString classFileFilter() {
    WString f = L"Class Files (class*.cfg)|class*.cfg|All Files (*.*)|*.*||";
    for (wchar_t& c : f)
        if (c == L'|') c = L'\0';
    return f;
}

// Reported by the dispatcher like any failed command.
struct DialogsUnavailable : std::exception {};

using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
using ExtendedErrorFn = DWORD(WINAPI*)();

// The dialogs' library brings much of the shell with it; it is loaded when a
// dialog is first needed rather than at every start.
template <typename Fn>
Fn dialogLibraryFunction(const char* name) {
    Fn f = fw::systemFunction<Fn>(L"comdlg32.dll", name);
    if (!f) throw DialogsUnavailable();
    return f;
}

FileDialogFn fileDialog(bool save) {
    return dialogLibraryFunction<FileDialogFn>(save ? "GetSaveFileNameW" : "GetOpenFileNameW");
}

// Why the last dialog ended without a file: 0 when the user cancelled it.
DWORD dialogExtendedError() { return dialogLibraryFunction<ExtendedErrorFn>("CommDlgExtendedError")(); }

std::optional<std::string> runDialog(HWND owner, const wchar_t* title, const WString& initialName, DWORD flags,
                                     bool save, const WString& initialDir = WString()) {
    WString filter = classFileFilter();
    std::vector<wchar_t> file(32768, L'\0');
    wcsncpy(file.data(), initialName.c_str(), file.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.hInstance = fw::app()->instance();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = L"cfg";
    ofn.lpstrTitle = title;
    if (!initialDir.empty()) ofn.lpstrInitialDir = initialDir.c_str();
    ofn.Flags = flags | OFN_NOCHANGEDIR;

    // Also put the directory back ourselves: not every dialog honours the flag.
    WString cwd(GetCurrentDirectoryW(0, nullptr), L'\0');
    cwd.resize(GetCurrentDirectoryW(static_cast<DWORD>(cwd.size()), &cwd[0]));
    BOOL ok = fileDialog(save)(&ofn);
    // Asked at once, before anything else can reset it.
    const DWORD failure = ok ? 0 : dialogExtendedError();
    SetCurrentDirectoryW(cwd.c_str());
    if (ok) return narrow(file.data());
    // A dialog that could not be shown says so; the command then ends as a
    // cancel would.
    if (failure != 0) fw::app()->messageBox(dialogFailureText(L"file", failure), MB_OK | MB_ICONSTOP);
    return std::nullopt;
}

}  // namespace

namespace {

// The folder and name of `current` made full.
std::pair<WString, WString> folderAndName(const std::string& current) {
    const std::string full = fullPath(current);
    return {widen(folderOf(full)), widen(fileNameOf(full))};
}

}  // namespace

std::optional<std::string> openClassFileDialog(HWND owner, const wchar_t* title, const std::string& current) {
    constexpr DWORD flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOREADONLYRETURN;
    if (current.empty()) return runDialog(owner, title, WString(L"*.cfg"), flags, false);
    // Where the class is: a name typed there is that folder's file, and the
    // filter alone picks the class files.
    return runDialog(owner, title, WString(), flags, false, folderAndName(current).first);
}

std::optional<std::string> saveClassFileDialog(HWND owner, const std::string& current) {
    const auto [dir, name] = folderAndName(current);
    return runDialog(owner, nullptr, name,
                     OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_NOREADONLYRETURN | OFN_OVERWRITEPROMPT, true, dir);
}

namespace {

// Where the folder picker starts, and whether it came up at all: it returns
// nothing both for Cancel and for a failure.
struct FolderPicking {
    const wchar_t* start;
    bool shown = false;
};

int CALLBACK startInFolder(HWND picker, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        auto* picking = reinterpret_cast<FolderPicking*>(data);
        picking->shown = true;
        SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(picking->start));
    }
    return 0;
}

// A picker that could not be shown says so, as the file dialogs do; the
// command then ends as a cancel would.
std::nullopt_t folderDialogFailed(unsigned long code) {
    fw::app()->messageBox(dialogFailureText(L"folder", code), MB_OK | MB_ICONSTOP);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> pickFolderDialog(HWND owner, const std::string& current) {
    using BrowseFn = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOW);
    using PathFn = BOOL(WINAPI*)(LPCITEMIDLIST, LPWSTR);
    using FreeFn = void(WINAPI*)(LPITEMIDLIST);
    using OleStartFn = HRESULT(WINAPI*)(LPVOID);
    using OleEndFn = void(WINAPI*)();
    // The shell's library and COM's are loaded when the picker is first wanted.
    const auto browse = fw::systemFunction<BrowseFn>(L"shell32.dll", "SHBrowseForFolderW");
    const auto pathOf = browse ? fw::systemFunction<PathFn>(L"shell32.dll", "SHGetPathFromIDListW") : nullptr;
    const auto oleStart = pathOf ? fw::systemFunction<OleStartFn>(L"ole32.dll", "OleInitialize") : nullptr;
    const auto oleEnd = oleStart ? fw::systemFunction<OleEndFn>(L"ole32.dll", "OleUninitialize") : nullptr;
    if (!oleEnd) return folderDialogFailed(GetLastError());
    // The picker wants COM in this thread.
    const HRESULT oleStarted = oleStart(nullptr);
    if (FAILED(oleStarted)) return folderDialogFailed(static_cast<unsigned long>(oleStarted));
    const WString start = widen(current);
    FolderPicking picking{start.c_str()};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = L"Choose the folder whose class files to list.";
    // A path can be typed or pasted as well as found in the tree.
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    info.lpfn = startInFolder;
    info.lParam = reinterpret_cast<LPARAM>(&picking);
    SetLastError(0);
    LPITEMIDLIST chosen = browse(&info);
    const DWORD error = GetLastError();
    wchar_t path[MAX_PATH] = L"";
    const bool ok = chosen && pathOf(chosen, path) != FALSE;
    if (chosen) {
        if (const auto release = fw::systemFunction<FreeFn>(L"shell32.dll", "ILFree")) release(chosen);
    }
    oleEnd();
    // Nothing chosen from a picker that never came up: a failure, whose code
    // the shell may not have set (then COM's "unspecified error").
    if (!chosen && !picking.shown) return folderDialogFailed(error != 0 ? error : static_cast<unsigned long>(E_FAIL));
    if (!ok || !path[0]) return std::nullopt;
    return narrow(path);
}

std::string fullPath(const std::string& path) {
    const WString w = widen(path);
    DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    WString full(n, L'\0');
    full.resize(GetFullPathNameW(w.c_str(), n, &full[0], nullptr));
    return narrow(full);
}

}  // namespace kestrane
