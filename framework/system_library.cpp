#include "system_library.h"

#include "wide_string.h"

#include <iterator>

namespace kestrane::fw {

namespace {

struct Loaded {
    const wchar_t* name;
    HMODULE module;
};
// The libraries loaded so far; the program asks for a handful.
Loaded g_loaded[8];
std::size_t g_loadedCount = 0;

}  // namespace

HMODULE systemLibrary(const wchar_t* name) {
    for (std::size_t i = 0; i < g_loadedCount; ++i)
        if (lstrcmpiW(g_loaded[i].name, name) == 0) return g_loaded[i].module;
    // By its full path in the system folder, never a copy planted in the
    // program's folder or the current one; the libraries it needs in turn are
    // looked for in the system folder first too. The path works on every
    // Windows, where LOAD_LIBRARY_SEARCH_SYSTEM32 needs Windows 8 or an update.
    const UINT size = GetSystemDirectoryW(nullptr, 0);
    if (size == 0) return nullptr;
    WString path(size, L'\0');
    const UINT length = GetSystemDirectoryW(&path[0], size);
    if (length == 0 || length >= size) {
        if (length != 0) SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nullptr;
    }
    path.resize(length);
    path += L'\\';
    path += name;
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module && g_loadedCount < std::size(g_loaded)) g_loaded[g_loadedCount++] = {name, module};
    return module;
}

}  // namespace kestrane::fw
