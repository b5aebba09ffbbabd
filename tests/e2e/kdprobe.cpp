// kdprobe.dll: loaded into the program under test by kdriver.exe (CreateRemoteThread
// on LoadLibraryA) and called on a thread of its own to read what only that process
// can read: the system menu (after WM_INITMENUPOPUP, as the menu is about to show),
// and the extent of each control's text in its own font. It changes nothing in the
// program but what the program itself does when its window menu is about to open.
#include "probe.h"

using namespace kestrane::probe;

namespace {

void readSystemMenu(Block* b) {
    HMENU menu = GetSystemMenu(b->hwnd, FALSE);
    if (!menu) return;
    // As the menu is about to show: a program may set its items' states only then.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(b->hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE),
                             SMTO_NORMAL, 5000, &answer))
        return;
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

// The room a control's text has, as the controls draw it (Wine's button.c): a push
// button's face less 2 pixels each side, a group box's caption 7 pixels in from each
// side, a check box's or radio button's label right of a box 12 pixels wide at 96 dpi
// (plus one) and half a digit's width of gap. -1 for a control that shows no text.
int roomFor(HWND c, HDC dc, const RECT& client) {
    char cls[32] = {};
    GetClassNameA(c, cls, sizeof cls);
    const LONG style = GetWindowLongA(c, GWL_STYLE);
    if (!lstrcmpiA(cls, "Static")) {
        switch (style & SS_TYPEMASK) {
            case SS_LEFT: case SS_CENTER: case SS_RIGHT: case SS_SIMPLE: case SS_LEFTNOWORDWRAP:
                return client.right;
            default:
                return -1;
        }
    }
    if (lstrcmpiA(cls, "Button")) return -1;
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON:
            return client.right - 4;
        case BS_GROUPBOX:
            return client.right - 14;
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: {
            int digit = 0;
            GetCharWidthW(dc, L'0', L'0', &digit);
            return client.right - (MulDiv(12, GetDeviceCaps(dc, LOGPIXELSX), 96) + 1) - digit / 2;
        }
        default:
            return -1;
    }
}

void checkFit(Block* b) {
    for (HWND c = GetWindow(b->hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        wchar_t text[256];
        const int n = GetWindowTextW(c, text, 256);
        if (n <= 0) continue;
        RECT client;
        GetClientRect(c, &client);
        HDC dc = GetDC(c);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
        HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        b->dpi = GetDeviceCaps(dc, LOGPIXELSX);
        const int room = roomFor(c, dc, client);
        UINT flags = DT_CALCRECT | DT_SINGLELINE;
        if ((GetWindowLongA(c, GWL_STYLE) & SS_NOPREFIX) && (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) <= SS_LEFTNOWORDWRAP)
            flags |= DT_NOPREFIX;
        // Each line of the text on its own, and the lines together against the height.
        int need = 0, lines = 0;
        for (int start = 0; start <= n;) {
            int end = start;
            while (end < n && text[end] != L'\n') ++end;
            RECT r = {0, 0, 0, 0};
            DrawTextW(dc, text + start, end - start, &r, flags);
            if (r.right > need) need = r.right;
            ++lines;
            start = end + 1;
        }
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        const bool tooTall = lines > 1 && lines * tm.tmHeight > client.bottom;
        if (room < 0 || (need <= room && !tooTall) || b->count >= MaxItems) continue;
        b->ids[b->count] = UINT(GetDlgCtrlID(c));
        b->types[b->count] = UINT(need);
        b->states[b->count] = UINT(tooTall ? client.bottom : room);
        WideCharToMultiByte(CP_UTF8, 0, text, -1, b->texts[b->count], MaxText - 1, nullptr, nullptr);
        ++b->count;
    }
    b->result = 1;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI kdprobe_query(LPVOID param) {
    Block* b = static_cast<Block*>(param);
    b->result = 0;
    b->count = 0;
    if (b->op == OpSystemMenu) readSystemMenu(b);
    if (b->op == OpFit) checkFit(b);
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
