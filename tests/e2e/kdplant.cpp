// kdplant.dll: planted by a scenario under the name of a system library the
// program asks for, in the directory it runs in. Loaded, it leaves a file
// behind there, so the scenario sees that the program took it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        HANDLE h = CreateFileA("planted-library-loaded", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    return TRUE;
}
