#include "file_dialogs.h"

#include "application.h"

#include <commdlg.h>

#include <vector>

namespace kestrane {

namespace {

// The filter as one literal, "|" standing for the list separator; the blanks
// around each part belong to it.
std::wstring classFileFilter() {
    std::wstring f = L"Class Files (class*.cfg) | class*.cfg | All Files (*.*) | *.* ||";
    for (wchar_t& c : f)
        if (c == L'|') c = L'\0';
    return f;
}

std::optional<std::string> runDialog(HWND owner, const wchar_t* initialName, DWORD flags, bool save) {
    std::wstring filter = classFileFilter();
    std::vector<wchar_t> file(32768, L'\0');
    wcsncpy(file.data(), initialName, file.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.hInstance = fw::app()->instance();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = L"cfg";
    ofn.Flags = flags | OFN_NOCHANGEDIR;

    // Also put the directory back ourselves: not every dialog honours the flag.
    std::wstring cwd(GetCurrentDirectoryW(0, nullptr), L'\0');
    cwd.resize(GetCurrentDirectoryW(static_cast<DWORD>(cwd.size()), &cwd[0]));
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    SetCurrentDirectoryW(cwd.c_str());
    if (!ok) return std::nullopt;
    return fw::narrow(file.data());
}

}  // namespace

std::optional<std::string> openClassFileDialog(HWND owner) {
    // OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOREADONLYRETURN
    return runDialog(owner, L"*.cfg", 36868, false);
}

std::optional<std::string> saveClassFileDialog(HWND owner) {
    // OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_NOREADONLYRETURN
    return runDialog(owner, L"class*.cfg", 40964, true);
}

}  // namespace kestrane
