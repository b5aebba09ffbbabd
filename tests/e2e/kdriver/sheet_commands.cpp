// Commands on the sheet: its tab row, the page in front, its window menu (read by
// the probe inside the program), its status bar and its standard buttons.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "commands.h"
#include "remote.h"

namespace kestrane {

namespace {

std::vector<std::string> tabCaptions(Driver& d, HWND tabs) {
    int n = int(d.send(tabs, TCM_GETITEMCOUNT, 0, 0));
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        std::string text;
        if (!remoteItemText(d, tabs, TCM_GETITEMW, WPARAM(i), item, text)) fail(format("TCM_GETITEM failed for tab %d", i));
        out.push_back(text);
    }
    return out;
}

}  // namespace

void cmdExpectTabs(Driver& d, const Call& k) {
    HWND t = d.requireTabs();
    d.expectValue("tabs", k.a(1), [&] { return joinBar(tabCaptions(d, t)); });
}

void cmdExpectActiveTab(Driver& d, const Call& k) {
    HWND t = d.requireTabs();
    HWND sheet = d.cur;
    std::string want = k.a(1);
    parseNumber(want, "a tab index");
    d.expectValue("active tab", want, [&] { return format("%d", int(d.send(t, TCM_GETCURSEL, 0, 0))); });
    // The page in front must be the one whose tab is selected.
    std::string tabText = tabCaptions(d, t)[size_t(atoi(want.c_str()))];
    d.expectValue("caption of the page in front", tabText, [&] {
        HWND p = d.activePage(sheet);
        return p ? Driver::caption(p) : std::string("(no page)");
    });
}

void cmdExpectPage(Driver& d, const Call& k) {
    HWND sheet = d.requireCurrent();
    d.expectValue("page in front", k.a(1), [&] {
        HWND p = d.activePage(sheet);
        return p ? Driver::caption(p) : std::string("(no page)");
    });
}

// A click on tab N, as the user makes it: the tab control itself asks the
// sheet (TCN_SELCHANGING) and tells it (TCN_SELCHANGE).
void clickTab(Driver& d, HWND t, int n) {
    int count = int(d.send(t, TCM_GETITEMCOUNT, 0, 0));
    if (n < 0 || n >= count) fail(format("no tab %d (there are %d)", n, count));
    Remote mem(d.proc.hProcess, sizeof(RECT));
    if (!d.send(t, TCM_GETITEMRECT, n, mem.at())) fail(format("TCM_GETITEMRECT failed for tab %d", n));
    RECT r;
    mem.read(&r, sizeof r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    d.send(t, WM_LBUTTONDOWN, MK_LBUTTON, at);
    d.send(t, WM_LBUTTONUP, 0, at);
}

void cmdSelectTab(Driver& d, const Call& k) {
    HWND t = d.requireTabs();
    clickTab(d, t, int(parseNumber(k.a(1), "a tab index")));
    d.expectValue("active tab after the click", k.a(1),
                  [&] { return format("%d", int(d.send(t, TCM_GETCURSEL, 0, 0))); });
}

// The window menu as it stands when about to show: the probe sends the window
// WM_INITMENUPOPUP, then reads the items.
void cmdExpectSysmenu(Driver& d, const Call& k) {
    HWND w = d.requireCurrent();
    probe::Block b = runProbe(d, probe::OpSystemMenu, w);
    if (!b.result) fail("the program's system menu could not be read");
    std::vector<std::string> items;
    for (int i = 0; i < b.count; ++i) {
        if (b.types[i] & MFT_SEPARATOR) {
            items.push_back("-");
            continue;
        }
        switch (b.ids[i] & 0xFFF0) {
            case SC_RESTORE: items.push_back("Restore"); break;
            case SC_MOVE: items.push_back("Move"); break;
            case SC_SIZE: items.push_back("Size"); break;
            case SC_MINIMIZE: items.push_back("Minimize"); break;
            case SC_MAXIMIZE: items.push_back("Maximize"); break;
            case SC_CLOSE: items.push_back("Close"); break;
            default:
                items.push_back(format("0x%X", b.ids[i]) + " " + quote(b.texts[i]) +
                                (b.states[i] & MFS_GRAYED ? " grey" : ""));
        }
    }
    if (joinBar(items) != k.a(1))
        fail(format("system menu: expected %s, seen %s", quote(k.a(1)).c_str(), quote(joinBar(items)).c_str()));
    // No shortcut letter twice, the system's own items counted.
    std::string letters;
    for (int i = 0; i < b.count; ++i) {
        const char* amp = strchr(b.texts[i], '&');
        if (!amp || !amp[1] || (b.types[i] & MFT_SEPARATOR)) continue;
        const char letter = char(toupper(static_cast<unsigned char>(amp[1])));
        if (letters.find(letter) != std::string::npos)
            fail(format("system menu: the letter %c marks two items (%s)", letter, quote(b.texts[i]).c_str()));
        letters += letter;
    }
}

// ---- the status bar ----

// The current window's status bar.
static HWND statusBar(Driver& d) {
    HWND w = d.requireCurrent();
    for (HWND c : directChildren(w))
        if (!lstrcmpiA(className(c).c_str(), STATUSCLASSNAMEA)) return c;
    fail(format("%s has no status bar", quote(Driver::caption(w)).c_str()));
}

void cmdExpectStatus(Driver& d, const Call& k) {
    HWND bar = statusBar(d);
    const int part = int(parseNumber(k.a(1), "a part"));
    d.expectValue(format("status bar part %d", part), k.a(2), [&] {
        const int parts = int(d.send(bar, SB_GETPARTS, 0, 0));
        return part < parts ? remoteBufferText(d, bar, SB_GETTEXTW, WPARAM(part))
                            : format("(no part %d: %d parts)", part, parts);
    });
}

// A click on the part's middle, posted: what it opens may be modal.
void cmdClickStatus(Driver& d, const Call& k) {
    HWND bar = statusBar(d);
    const int part = int(parseNumber(k.a(1), "a part"));
    Remote mem(d.proc.hProcess, sizeof(RECT));
    if (!d.send(bar, SB_GETRECT, WPARAM(part), mem.at())) fail(format("the status bar has no part %d", part));
    RECT r;
    mem.read(&r, sizeof r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    d.post(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    d.post(bar, WM_LBUTTONUP, 0, at);
    d.settle(100);
}

void cmdExpectNoButton(Driver& d, const Call& k) {
    HWND w = d.requireCurrent();
    std::string want = k.a(1);
    std::vector<int> ids;
    if (want == "OK") ids = {IDOK};
    if (want == "Cancel") ids = {IDCANCEL};
    if (want == "Apply") ids = {0x3021};
    if (want == "Help") ids = {IDHELP, 0x3021 + 2};
    for (HWND b : children(w)) {
        if (lstrcmpiA(className(b).c_str(), "Button") || !IsWindowVisible(b)) continue;
        std::string text = stripMnemonic(Driver::caption(b));
        bool byText = lstrcmpiA(text.c_str(), want.c_str()) == 0 ||
                      (want == "Apply" && lstrcmpiA(text.c_str(), "Apply Now") == 0);
        bool byId = GetParent(b) == w && std::find(ids.begin(), ids.end(), controlId(b)) != ids.end();
        if (byText || byId)
            fail(format("a visible button %s (id %d) is in %s", quote(Driver::caption(b)).c_str(), controlId(b),
                        quote(Driver::caption(w)).c_str()));
    }
}

}  // namespace kestrane
