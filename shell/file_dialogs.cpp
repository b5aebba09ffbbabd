#include "file_dialogs.h"

#include "application.h"
#include "file_io.h"

#include <commdlg.h>

#include <stdexcept>
#include <vector>

namespace kestrane {

namespace {

// The filter as one literal, "|" standing for the list separator. No blanks
// around the patterns: some dialogs take them as part of the pattern.
WString classFileFilter() {
    WString f = L"Class Files (class*.cfg)|class*.cfg|All Files (*.*)|*.*||";
    for (wchar_t& c : f)
        if (c == L'|') c = L'\0';
    return f;
}

using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEW);

// The dialogs' library brings much of the shell with it; it is loaded when a
// dialog is first needed rather than at every start.
FileDialogFn fileDialog(bool save) {
    static HMODULE library = LoadLibraryW(L"comdlg32.dll");
    FARPROC f = library ? GetProcAddress(library, save ? "GetSaveFileNameW" : "GetOpenFileNameW") : nullptr;
    if (!f) throw std::runtime_error("the file dialogs are not available");
    return reinterpret_cast<FileDialogFn>(reinterpret_cast<void*>(f));
}

std::optional<std::string> runDialog(HWND owner, const WString& initialName, DWORD flags, bool save,
                                     const WString& initialDir = WString()) {
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
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = L"cfg";
    ofn.Flags = flags | OFN_NOCHANGEDIR;

    // Also put the directory back ourselves: not every dialog honours the flag.
    WString cwd(GetCurrentDirectoryW(0, nullptr), L'\0');
    cwd.resize(GetCurrentDirectoryW(static_cast<DWORD>(cwd.size()), &cwd[0]));
    BOOL ok = fileDialog(save)(&ofn);
    SetCurrentDirectoryW(cwd.c_str());
    if (!ok) return std::nullopt;
    return narrow(file.data());
}

}  // namespace

std::optional<std::string> openClassFileDialog(HWND owner) {
    return runDialog(owner, L"*.cfg", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOREADONLYRETURN, false);
}

std::optional<std::string> saveClassFileDialog(HWND owner, const std::string& currentPath) {
    WString full = currentPath.empty() ? WString() : widen(fullPath(currentPath));
    WString::size_type slash = full.find_last_of(L"\\/");
    WString dir = slash == WString::npos ? WString() : full.substr(0, slash + 1);
    return runDialog(owner, full.substr(slash + 1),
                     OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_NOREADONLYRETURN | OFN_OVERWRITEPROMPT, true, dir);
}

}  // namespace kestrane
