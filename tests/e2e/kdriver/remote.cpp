// Memory inside the program under test, and the probe: kdprobe.dll, loaded into the
// program with a thread started there, then asked on a thread of its own.
#include "remote.h"

#include <tlhelp32.h>

#include <cstring>

namespace kestrane {

Remote::Remote(HANDLE p, size_t size) : process(p) {
    address = VirtualAllocEx(p, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address) fail("VirtualAllocEx failed in the program");
}

Remote::~Remote() { VirtualFreeEx(process, address, 0, MEM_RELEASE); }

void Remote::write(const void* data, size_t n, size_t offset) {
    SIZE_T done = 0;
    if (!WriteProcessMemory(process, static_cast<char*>(address) + offset, data, n, &done) || done != n)
        fail("WriteProcessMemory failed");
}

void Remote::read(void* data, size_t n, size_t offset) {
    SIZE_T done = 0;
    if (!ReadProcessMemory(process, static_cast<char*>(address) + offset, data, n, &done) || done != n)
        fail("ReadProcessMemory failed");
}

std::string remoteBufferText(Driver& d, HWND control, UINT msg, WPARAM wp) {
    wchar_t buffer[512] = {};
    Remote mem(d.proc.hProcess, sizeof buffer);
    mem.write(buffer, sizeof buffer);
    d.send(control, msg, wp, mem.at());
    mem.read(buffer, sizeof buffer);
    buffer[511] = 0;
    return narrow(buffer);
}

namespace {

HMODULE moduleOf(const void* address) {
    HMODULE m = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(address), &m);
    return m;
}

char* remoteModuleBase(Driver& d, const std::string& baseName) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, d.proc.dwProcessId);
    if (snap == INVALID_HANDLE_VALUE) return nullptr;
    MODULEENTRY32 me = {};
    me.dwSize = sizeof me;
    char* base = nullptr;
    for (BOOL ok = Module32First(snap, &me); ok; ok = Module32Next(snap, &me))
        if (lstrcmpiA(me.szModule, baseName.c_str()) == 0) base = reinterpret_cast<char*>(me.modBaseAddr);
    CloseHandle(snap);
    return base;
}

// Where a function of ours (in a module also loaded in the program) lives there.
char* remoteAddress(Driver& d, const void* local) {
    HMODULE m = moduleOf(local);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(m, path, sizeof path);
    const char* base = strrchr(path, '\\');
    base = base ? base + 1 : path;
    char* remote = remoteModuleBase(d, base);
    if (!remote) return static_cast<char*>(const_cast<void*>(local));  // same base in every process
    return remote + (static_cast<const char*>(local) - reinterpret_cast<const char*>(m));
}

struct RemoteStart {
    HANDLE process;
    void* function;
    LPARAM argument;
    HANDLE thread;
    DWORD error;
};

DWORD WINAPI startRemote(void* p) {
    RemoteStart* r = static_cast<RemoteStart*>(p);
    r->thread = CreateRemoteThread(r->process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(r->function),
                                   reinterpret_cast<void*>(r->argument), 0, nullptr);
    r->error = GetLastError();
    return 0;
}

DWORD runRemote(Driver& d, void* function, LPARAM argument) {
    // Starting a thread in another process waits on that process under Wine, so it
    // is started from a thread of ours and given up on after the timeout.
    RemoteStart* r = new RemoteStart{d.proc.hProcess, function, argument, nullptr, 0};
    HANDLE starter = CreateThread(nullptr, 0, startRemote, r, 0, nullptr);
    if (!starter || WaitForSingleObject(starter, d.timeoutMs) != WAIT_OBJECT_0)
        fail("the program did not let the probe start within the timeout");  // r is left to the starter
    CloseHandle(starter);
    HANDLE t = r->thread;
    DWORD error = r->error;
    delete r;
    if (!t) fail(format("CreateRemoteThread failed (%lu)", error));
    DWORD w = WaitForSingleObject(t, d.timeoutMs);
    DWORD code = 0;
    GetExitCodeThread(t, &code);
    CloseHandle(t);
    if (w != WAIT_OBJECT_0) fail("the probe thread in the program did not finish");
    return code;
}

}  // namespace

probe::Block runProbe(Driver& d, probe::Op op, HWND h) {
    std::string dll = d.exeDir + "kdprobe.dll";
    HMODULE local = LoadLibraryA(dll.c_str());
    if (!local) fail("cannot load " + dll);
    FARPROC query = GetProcAddress(local, "kdprobe_query");
    if (!query) fail("kdprobe.dll has no kdprobe_query");
    if (!remoteModuleBase(d, "kdprobe.dll")) {
        Remote path(d.proc.hProcess, dll.size() + 1);
        path.write(dll.c_str(), dll.size() + 1);
        void* loadLibrary = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA"));
        if (!runRemote(d, remoteAddress(d, loadLibrary), path.at())) fail("the program could not load kdprobe.dll");
    }
    char* remoteBase = remoteModuleBase(d, "kdprobe.dll");
    if (!remoteBase) fail("kdprobe.dll is not listed in the program");
    char* remoteQuery = remoteBase + (reinterpret_cast<char*>(query) - reinterpret_cast<char*>(local));
    probe::Block b = {};
    b.op = op;
    b.hwnd = h;
    Remote mem(d.proc.hProcess, sizeof b);
    mem.write(&b, sizeof b);
    runRemote(d, remoteQuery, mem.at());
    mem.read(&b, sizeof b);
    return b;
}

}  // namespace kestrane
