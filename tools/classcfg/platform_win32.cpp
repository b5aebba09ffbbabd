#include "classcfg.h"

#include "wide_string.h"

#include <windows.h>

namespace kestrane {
namespace classcfg {

std::string reasonFor(unsigned long systemError) {
    std::string text = narrow(systemErrorText(systemError));
    if (text.empty()) return "system error " + std::to_string(systemError);
    if (text.back() == '.') text.pop_back();
    return text;
}

bool listFolder(const std::string& utf8Path, std::vector<std::string>& names) {
    const WString path = widen(utf8Path);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const WString last = path.empty() ? WString() : path.substr(path.size() - 1);
    const WString pattern = path + (last == L"\\" || last == L"/" ? L"*" : L"\\*");
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(pattern.c_str(), &found);
    names.clear();
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return true;  // an empty drive root
        throw ReadError("cannot read folder " + utf8Path + ": " + reasonFor(code));
    }
    do {
        const WString n = found.cFileName;
        if (n != L"." && n != L"..") names.push_back(narrow(n));
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return true;
}

}  // namespace classcfg
}  // namespace kestrane
