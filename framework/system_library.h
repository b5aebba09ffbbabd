// Windows' own libraries that the program needs only now and then, loaded the
// first time one of their functions is wanted, so the program imports nothing
// more for them and starts without them.
#ifndef KESTRANE_SYSTEM_LIBRARY_H
#define KESTRANE_SYSTEM_LIBRARY_H

#include <windows.h>

namespace kestrane::fw {

// The system library `name` (a literal: "shell32.dll"), loaded from the
// system folder alone the first time it is asked for and kept until the
// program ends; null, with GetLastError saying why, when it cannot be loaded.
// Only the window's thread asks.
HMODULE systemLibrary(const wchar_t* name);

// The function `function` of the system library `library` as the type `Fn`;
// null, with GetLastError saying why, when the library or the function is
// not there.
template <typename Fn>
Fn systemFunction(const wchar_t* library, const char* function) {
    HMODULE module = systemLibrary(library);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, function))) : nullptr;
}

}  // namespace kestrane::fw

#endif
