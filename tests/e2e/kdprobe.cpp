// kdprobe.dll: loaded into the program under test by kdriver.exe (CreateRemoteThread
// on LoadLibraryA) and called on a thread of its own to read what only that process
// can read: the system menu. It changes nothing in the program.
#include "probe.h"

using namespace kestrane::probe;

namespace {

void readSystemMenu(Block* b) {
    HMENU menu = GetSystemMenu(b->hwnd, FALSE);
    if (!menu) return;
    int n = GetMenuItemCount(menu);
    if (n < 0) return;
    if (n > MaxItems) n = MaxItems;
    for (int i = 0; i < n; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = b->texts[i];
        info.cch = MaxText - 1;
        if (!GetMenuItemInfoA(menu, i, TRUE, &info)) return;
        b->ids[i] = info.wID;
        b->types[i] = info.fType;
        b->states[i] = info.fState;
    }
    b->count = n;
    b->result = 1;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI kdprobe_query(LPVOID param) {
    Block* b = static_cast<Block*>(param);
    b->result = 0;
    b->count = 0;
    if (b->op == OpSystemMenu) readSystemMenu(b);
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
