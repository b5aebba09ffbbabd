// kdprobe.dll: loaded into the program under test by kdriver.exe (CreateRemoteThread
// on LoadLibraryA) and called on a thread of its own to read what only that process
// can read: the system menu (after WM_INITMENUPOPUP, as the menu is about to show),
// and the extent of each control's text in its own font. It changes nothing in the
// program but what the program itself does when its window menu is about to open.
#include "probe.h"

#include <commctrl.h>

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

// Adds a text that does not fit its room to the block's answer.
void reportCut(Block* b, HWND c, const wchar_t* text, int need, int room) {
    if (b->count >= MaxItems) return;
    b->ids[b->count] = UINT(GetDlgCtrlID(c));
    b->types[b->count] = UINT(need);
    b->states[b->count] = UINT(room);
    WideCharToMultiByte(CP_UTF8, 0, text, -1, b->texts[b->count], MaxText - 1, nullptr, nullptr);
    ++b->count;
}

// The width of one line of text in the control's font.
int textWidth(HWND c, HDC dc, const wchar_t* text, int n) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT r = {0, 0, 0, 0};
    DrawTextW(dc, text, n, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    return r.right;
}

// Each part of a status bar: its text after the part's sunken edge (a pixel each
// side) and the bar's inset of 3 pixels (Wine's DrawStatusTextW), a pixel to spare.
void checkStatusBar(Block* b, HWND bar, HDC dc) {
    const int parts = int(SendMessageW(bar, SB_GETPARTS, 0, 0));
    for (int i = 0; i < parts; ++i) {
        wchar_t text[256] = {};
        if (LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, i, 0)) >= 256) continue;
        SendMessageW(bar, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(text));
        RECT part = {};
        SendMessageW(bar, SB_GETRECT, i, reinterpret_cast<LPARAM>(&part));
        const int need = textWidth(bar, dc, text, lstrlenW(text));
        const int room = part.right - part.left - 6;
        if (need > room) reportCut(b, bar, text, need, room);
    }
}

// Each cell of a report list against its column: its text after the list's inset of
// 5 pixels (Wine's LABEL_HOR_PADDING), a pixel to spare; a row whose item data is not
// zero is measured in bold, as the Check box draws its heading rows. A list that
// scrolls does not show its rows whole: its content against its client area.
void checkList(Block* b, HWND list, HDC dc) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    GetObjectW(font, sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectW(&lf);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    const int rows = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    int contentWidth = 0;
    for (int c = 0; c < columns; ++c) {
        const int width = int(SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0));
        contentWidth += width;
        for (int r = 0; r < rows; ++r) {
            wchar_t text[256] = {};
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = r;
            item.iSubItem = c;
            item.pszText = text;
            item.cchTextMax = 256;
            if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) || !text[0]) continue;
            HGDIOBJ old = SelectObject(dc, item.lParam ? static_cast<HGDIOBJ>(bold) : static_cast<HGDIOBJ>(font));
            RECT calc = {0, 0, 0, 0};
            DrawTextW(dc, text, -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, old);
            if (calc.right > width - 6) reportCut(b, list, text, calc.right, width - 6);
        }
    }
    DeleteObject(bold);
    // Each header title against its item, less the header's margin a side and, on
    // the sorted item, the room of a drawn sort arrow (three fifths of the height).
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(header, WM_GETFONT, 0, 0)));
    const int margin = header ? int(SendMessageW(header, HDM_GETBITMAPMARGIN, 0, 0)) : 0;
    for (int c = 0; c < columns; ++c) {
        wchar_t text[64] = {};
        HDITEMW hi = {};
        hi.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH;
        hi.pszText = text;
        hi.cchTextMax = 64;
        RECT place = {};
        if (!SendMessageW(header, HDM_GETITEMW, c, reinterpret_cast<LPARAM>(&hi)) || !text[0] ||
            !SendMessageW(header, HDM_GETITEMRECT, c, reinterpret_cast<LPARAM>(&place)))
            continue;
        const int half = (place.bottom - place.top) / 5 > 3 ? (place.bottom - place.top) / 5 : 3;
        const int room = hi.cxy - 2 * margin - (hi.fmt & (HDF_SORTUP | HDF_SORTDOWN) ? 3 * half : 0);
        RECT calc = {0, 0, 0, 0};
        DrawTextW(dc, text, -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        if (calc.right > room) reportCut(b, header, text, calc.right, room);
    }
    SelectObject(dc, old);
    const LONG style = GetWindowLongW(list, GWL_STYLE);
    RECT client, row = {LVIR_BOUNDS, 0, 0, 0};
    GetClientRect(list, &client);
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    if (style & WS_HSCROLL) reportCut(b, list, L"(the list scrolls across)", contentWidth, client.right);
    if (style & WS_VSCROLL) reportCut(b, list, L"(the list scrolls down)", rows * (row.bottom - row.top), client.bottom);
}

void checkFit(Block* b) {
    for (HWND c = GetWindow(b->hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        char kind[32] = {};
        GetClassNameA(c, kind, sizeof kind);
        const bool statusBar = !lstrcmpiA(kind, STATUSCLASSNAMEA);
        if (statusBar || !lstrcmpiA(kind, WC_LISTVIEWA)) {
            HDC dc = GetDC(c);
            b->dpi = GetDeviceCaps(dc, LOGPIXELSX);
            if (statusBar)
                checkStatusBar(b, c, dc);
            else
                checkList(b, c, dc);
            ReleaseDC(c, dc);
            continue;
        }
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
        if (room < 0 || (need <= room && !tooTall)) continue;
        reportCut(b, c, text, need, tooTall ? client.bottom : room);
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
