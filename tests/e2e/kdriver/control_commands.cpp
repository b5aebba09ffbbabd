// Commands on the controls of the page in front (or of a dialog): buttons, edit
// fields and the clipboard, the keyboard focus, check and enabled states, texts that
// fit their room (measured by the probe), scroll bars.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "commands.h"
#include "remote.h"

namespace kestrane {

void cmdClick(Driver& d, const Call& k) {
    HWND b = d.control(k.a(1));
    if (k.name == "click") {
        d.send(b, BM_CLICK, 0, 0);
    } else {
        d.post(b, BM_CLICK, 0, 0);
        d.settle(100);
    }
}

void cmdType(Driver& d, const Call& k) {
    HWND e = d.control(k.a(1));
    d.focusControl(e);
    for (wchar_t w : widen(k.a(2))) d.send(e, WM_CHAR, w, 1);
}

// TEXT on the clipboard, then WM_PASTE to the focused field: the field reads the
// clipboard itself, as on Ctrl+V. The clipboard is owned by a window of the driver's.
void cmdPaste(Driver& d, const Call& k) {
    HWND e = d.control(k.a(1));
    const std::wstring text = widen(k.a(2));
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!data) fail("GlobalAlloc failed");
    memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    bool opened = false;
    d.waitFor([&] { return opened = OpenClipboard(d.ownWindow()) != FALSE; }, d.timeoutMs);
    if (!opened) {
        GlobalFree(data);
        fail(format("cannot open the clipboard (%lu)", GetLastError()));
    }
    const bool put = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    if (!put) {
        GlobalFree(data);
        fail("cannot put the text on the clipboard");
    }
    d.focusControl(e);
    d.send(e, WM_PASTE, 0, 0);
}

void cmdSelectAll(Driver& d, const Call& k) {
    HWND e = d.control(k.a(1));
    d.focusControl(e);
    d.send(e, EM_SETSEL, 0, -1);
}

void cmdBackspace(Driver& d, const Call& k) {
    HWND e = d.control(k.a(1));
    long n = k.argc > 1 ? parseNumber(k.a(2), "a count") : 1;
    d.focusControl(e);
    for (long i = 0; i < n; ++i) d.send(e, WM_CHAR, VK_BACK, 1);
}

void cmdExpectText(Driver& d, const Call& k) {
    HWND w = d.control(k.a(1));
    d.expectValue(format("text of control %s", k.a(1).c_str()), k.a(2), [&] { return d.controlText(w); });
}

void cmdExpectFirstShown(Driver& d, const Call& k) {
    HWND w = d.control(k.a(1));
    d.expectValue(format("first shown character of control %s", k.a(1).c_str()), k.a(2),
                  [&] { return format("%d", int(d.send(w, EM_GETFIRSTVISIBLELINE, 0, 0))); });
}

// "tabs" for the tab row, else the id of the focused control, marked when
// it is not on the page in front.
void cmdExpectFocus(Driver& d, const Call& k) {
    HWND tabs = d.requireTabs();
    HWND page = d.container();
    DWORD tid = GetWindowThreadProcessId(tabs, nullptr);
    d.expectValue("keyboard focus", k.a(1), [&]() -> std::string {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof gti;
        if (!GetGUIThreadInfo(tid, &gti) || !gti.hwndFocus) return "nothing";
        if (gti.hwndFocus == tabs) return "tabs";
        std::string id = format("%d", controlId(gti.hwndFocus));
        return IsChild(page, gti.hwndFocus) ? id : id + " (not on the page in front)";
    });
}

// Control ID's answer to `msg`, a number, against `want`.
void expectAnswer(Driver& d, const Call& k, const char* what, UINT msg, const std::string& want) {
    HWND h = d.control(k.a(1));
    d.expectValue(format("%s %s", what, k.a(1).c_str()), want, [&] { return format("%d", int(d.send(h, msg, 0, 0))); });
}

void cmdExpectChecked(Driver& d, const Call& k) { expectAnswer(d, k, "check state of control", BM_GETCHECK, k.a(2)); }

void cmdExpectEnabled(Driver& d, const Call& k) {
    HWND w = d.control(k.a(1));
    d.expectValue(format("enabled state of control %s", k.a(1).c_str()), k.a(2),
                  [&] { return IsWindowEnabled(w) ? std::string("1") : std::string("0"); });
}

// Every text of the page in front (or of the current window) shows whole in its
// control's own font; on a sheet also its status bar's parts, and its tab row is
// one row.
void cmdExpectFit(Driver& d, const Call&) {
    HWND w = d.requireCurrent();
    probe::Block b = runProbe(d, probe::OpFit, d.container());
    if (!b.result) fail("the texts of the window could not be measured");
    std::string cut;
    auto add = [&cut](const probe::Block& found) {
        for (int i = 0; i < found.count; ++i)
            cut += format("%s%d %s needs %u px, has %u", cut.empty() ? "" : "; ", int(short(found.ids[i])),
                          quote(found.texts[i]).c_str(), found.types[i], found.states[i]);
    };
    add(b);
    if (HWND t = d.tabControl(w)) {
        // The sheet's own children besides its page: the status bar's parts.
        probe::Block own = runProbe(d, probe::OpFit, w);
        if (!own.result) fail("the texts of the window could not be measured");
        add(own);
        int rows = int(d.send(t, TCM_GETROWCOUNT, 0, 0));
        if (rows != 1) cut += format("%sthe tab row has %d rows", cut.empty() ? "" : "; ", rows);
    }
    if (!cut.empty()) fail(format("cut off at %d dpi: %s", int(b.dpi), cut.c_str()));
}

void cmdScroll(Driver& d, const Call& k) {
    HWND bar = d.control(k.a(1));
    long code = parseNumber(k.a(2), "a scroll code");
    long n = k.name == "scroll" ? 1 : parseNumber(k.a(3), "a count");
    DWORD style = GetWindowLongA(bar, GWL_STYLE);
    UINT msg = (className(bar) == "ScrollBar" && !(style & SBS_VERT)) ? WM_HSCROLL : WM_VSCROLL;
    for (long i = 0; i < n; ++i)
        d.send(GetParent(bar), msg, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bar));
}

}  // namespace kestrane
