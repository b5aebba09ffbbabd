// kdprobe.dll: loaded into the program under test by kdriver.exe (CreateRemoteThread
// on LoadLibraryA) and called on a thread of its own to read what only that process
// can read. It changes nothing in the program.
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
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = b->texts[i];
        info.cch = MaxText - 1;
        if (!GetMenuItemInfoA(menu, i, TRUE, &info)) return;
        b->ids[i] = info.wID;
        b->types[i] = info.fType;
    }
    b->count = n;
    b->result = 1;
}

struct IconSearch {
    HWND found;
};

BOOL CALLBACK findIconStatic(HWND child, LPARAM lp) {
    char cls[32];
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child)) {
        reinterpret_cast<IconSearch*>(lp)->found = child;
        return FALSE;
    }
    return TRUE;
}

void readMessageBoxIcon(Block* b) {
    IconSearch s = {nullptr};
    EnumChildWindows(b->hwnd, findIconStatic, reinterpret_cast<LPARAM>(&s));
    b->result = IconNone;
    if (!s.found) return;
    DWORD_PTR shown = 0;
    if (!SendMessageTimeoutA(s.found, STM_GETICON, 0, 0, SMTO_NORMAL, 5000, &shown) || !shown) return;
    struct {
        LPCSTR id;
        Icon icon;
    } const known[] = {{IDI_HAND, IconStop},
                       {IDI_QUESTION, IconQuestion},
                       {IDI_EXCLAMATION, IconExclamation},
                       {IDI_ASTERISK, IconInformation}};
    b->result = IconOther;
    for (const auto& k : known)
        if (reinterpret_cast<HICON>(shown) == LoadIconA(nullptr, k.id)) b->result = k.icon;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI kdprobe_query(LPVOID param) {
    Block* b = static_cast<Block*>(param);
    b->result = 0;
    b->count = 0;
    if (b->op == OpSystemMenu)
        readSystemMenu(b);
    else if (b->op == OpMessageBoxIcon)
        readMessageBoxIcon(b);
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
