#include "window.h"

#include "application.h"
#include "controls.h"

#include <algorithm>
#include <new>

namespace kestrane::fw {

// ---- message tables and the dispatcher ----

bool MessageEntry::matches(const Message& m) const {
    if (m.message != message) return false;
    if (message == WM_COMMAND) {
        if (code != -1 && HIWORD(m.wParam) != static_cast<WORD>(code)) return false;
        int id = LOWORD(m.wParam);
        if (firstId != -1 && (id < firstId || id > lastId)) return false;
    }
    return true;
}

int MessageEntry::argumentFor(const Message& m) const {
    int id = message == WM_COMMAND ? LOWORD(m.wParam) : firstId;
    switch (arg) {
        case Arg::Index: return id - firstId;
        case Arg::Id: return id;
        case Arg::None: break;
    }
    return 0;
}

const MessageTable Window::table = {nullptr, {}};

HWND Window::item(int id) const {
    for (const auto& known : items_)
        if (known.first == id) return known.second;
    HWND h = GetDlgItem(hwnd_, id);
    // Controls live as long as their window; attach forgets them with it.
    if (h) items_.emplace_back(id, h);
    return h;
}

const MessageTable* Window::messageTable() const { return &table; }

namespace {

// Every handler runs here: an error never crosses back into the platform.
template <typename F>
void guarded(const Message& m, F&& f) {
    try {
        f();
    } catch (const std::bad_alloc&) {
        app()->messageBox(L"Insufficient memory to perform operation.", MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        // A command from a menu or accelerator names no control.
        bool namesNoControl = m.message == WM_COMMAND && m.lParam == 0;
        app()->messageBox(namesNoControl ? L"Command failed." : L"Internal application error.",
                          MB_OK | MB_ICONSTOP);
    }
}

}  // namespace

bool Window::dispatch(Message& m) {
    const bool outermost = dispatching_ == 0;
    bool handled = false;
    ++dispatching_;
    for (const MessageTable* t = messageTable(); t && !handled; t = t->base) {
        for (const MessageEntry& e : t->entries) {
            if (!e.matches(m)) continue;
            handled = true;  // a handler that failed has had its say
            guarded(m, [&] { handled = e.invoke(this, m, e); });
            if (handled) break;
        }
    }
    --dispatching_;
    if (handled && outermost) guarded(m, [&] { afterHandling(m); });
    return handled;
}

namespace {

// Where a page goes in its sheet: the tab control's display area.
RECT displayArea(HWND sheet) {
    HWND tab = PropSheet_GetTabControl(sheet);
    RECT r{};
    GetWindowRect(tab, &r);
    MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&r), 2);
    TabCtrl_AdjustRect(tab, FALSE, &r);
    return r;
}

}  // namespace

// ---- dialogs and pages ----

INT_PTR DialogWindow::run(DialogWindow* created, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Message m{hwnd, msg, wp, lp, 0};
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(created));
        created->attach(hwnd);
        BOOL focusDefault = TRUE;
        guarded(m, [&] { focusDefault = created->onInitDialog(); });
        return focusDefault;
    }
    DialogWindow* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        self->attach(nullptr);
        return FALSE;
    }
    if (!self->dispatch(m) && !self->ownHandling(m)) return FALSE;
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, m.result);
    return TRUE;
}

const MessageTable Dialog::table = {&Window::table, {}};

void Dialog::runModal(HWND owner) {
    DialogBoxParamW(app()->instance(), MAKEINTRESOURCEW(templateId()), owner, &Dialog::proc,
                    reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return run(msg == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lp) : nullptr, hwnd, msg, wp, lp);
}

void Dialog::centreOnOwner() const {
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (!owner) return;
    RECT o{}, d{};
    GetWindowRect(owner, &o);
    GetWindowRect(hwnd_, &d);
    MONITORINFO screen{};
    screen.cbSize = sizeof(screen);
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &screen);
    const RECT& work = screen.rcWork;
    const int w = d.right - d.left, h = d.bottom - d.top;
    int x = (o.left + o.right - w) / 2, y = (o.top + o.bottom - h) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - w));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::ownHandling(Message& m) {
    if (m.message != WM_COMMAND) return false;
    const WORD id = LOWORD(m.wParam);
    if (id != IDOK && id != IDCANCEL) return false;
    EndDialog(m.hwnd, id);
    return true;
}

bool PropertyPage::initPage() {
    for (const ListInit& list : initData()) {
        ComboBox box(item(list.controlId));
        // Only this code fills these lists, so one holding as many entries as
        // its data holds them already; rebuilding it costs more under Wine than
        // the rest of a page's fill.
        if (box.count() == static_cast<int>(list.texts.size())) continue;
        box.setRedraw(false);
        box.resetContent();
        for (const char* text : list.texts) box.addString(text);
        box.setRedraw(true);
    }
    return true;
}

bool PropertyPage::activatePage() { return hwnd_ != nullptr; }

PROPSHEETPAGEW PropertyPage::pageDescriptor() {
    PROPSHEETPAGEW p{};
    p.dwSize = sizeof(p);
    p.dwFlags = PSP_DEFAULT;
    p.hInstance = app()->instance();
    p.pszTemplate = MAKEINTRESOURCEW(templateId());
    p.pfnDlgProc = &PropertyPage::proc;
    p.lParam = reinterpret_cast<LPARAM>(this);
    return p;
}

INT_PTR CALLBACK PropertyPage::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PropertyPage* created = nullptr;
    if (msg == WM_INITDIALOG) created = reinterpret_cast<PropertyPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lp)->lParam);
    return run(created, hwnd, msg, wp, lp);
}

namespace {
// Posted to a page on its activation: focusFollows runs when it comes round.
constexpr UINT kFocusFollowsMessage = WM_APP + 2;
}  // namespace

void PropertyPage::focusFollows() const {
    if (!IsWindowVisible(hwnd_)) return;
    const HWND sheet = GetParent(hwnd_);
    const HWND tabs = PropSheet_GetTabControl(sheet);
    const HWND focus = GetFocus();
    if (!focus || focus == tabs || focus == hwnd_ || IsChild(hwnd_, focus)) return;
    if (focus == sheet || IsChild(sheet, focus)) SetFocus(tabs);
}

bool PropertyPage::onInitDialog() {
    initPage();
    return true;
}

bool PropertyPage::ownHandling(Message& m) {
    if (m.message == kFocusFollowsMessage) {
        focusFollows();
        return true;
    }
    if (m.message != WM_NOTIFY) return false;
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
    if (hdr->code == PSN_SETACTIVE) {
        // Pages are laid out in their own font; the sheet sized the display
        // area for it, so every page takes exactly that area.
        RECT r = displayArea(GetParent(hwnd_));
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        guarded(m, [&] { activatePage(); });
        // The sheet shows this page and hides the last one after this returns.
        PostMessageW(hwnd_, kFocusFollowsMessage, 0, 0);
        m.result = 0;
        return true;
    }
    if (hdr->code == PSN_QUERYCANCEL) {
        // The sheet never ends through a Cancel of its own.
        m.result = TRUE;
        return true;
    }
    return false;
}

// ---- property sheet ----

const MessageTable SheetWindow::table = {&Window::table, {}};

namespace {
SheetWindow* g_creating = nullptr;
const wchar_t kSheetProp[] = L"KestraneSheet";

// The sheet's Apply button, which commctrl.h does not name.
constexpr WORD kApplyNowId = 0x3021;
// Posted by destroyLater: the window goes when this message comes round.
constexpr UINT kDestroyMessage = WM_APP + 1;

// The template's own size in dialog units (DLGTEMPLATE or DLGTEMPLATEEX).
SIZE templateSize(HINSTANCE inst, int id) {
    SIZE s{0, 0};
    HRSRC res = FindResourceW(inst, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!res) return s;
    const WORD* w = static_cast<const WORD*>(LockResource(LoadResource(inst, res)));
    if (!w) return s;
    if (w[1] == 0xFFFF) {  // DLGTEMPLATEEX: ver, sig, helpID(2), exStyle(2), style(2), cDlgItems, x, y, cx, cy
        s.cx = static_cast<short>(w[11]);
        s.cy = static_cast<short>(w[12]);
    } else {  // DLGTEMPLATE: style(2), exStyle(2), cdit, x, y, cx, cy
        s.cx = static_cast<short>(w[7]);
        s.cy = static_cast<short>(w[8]);
    }
    return s;
}
}  // namespace

bool SheetWindow::create(DWORD style, DWORD exStyle) {
    style_ = style;
    exStyle_ = exStyle;
    std::vector<PROPSHEETPAGEW> descriptors;
    for (PropertyPage* p : pages_) descriptors.push_back(p->pageDescriptor());

    PROPSHEETHEADERW h{};
    h.dwSize = sizeof(h);
    h.dwFlags = PSH_MODELESS | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK | PSH_NOCONTEXTHELP;
    h.hwndParent = parent_;
    h.hInstance = app()->instance();
    h.pszCaption = caption_.c_str();
    h.nPages = static_cast<UINT>(descriptors.size());
    h.nStartPage = static_cast<UINT>(firstPage_);
    h.ppsp = descriptors.data();
    h.pfnCallback = &SheetWindow::sheetCallback;

    g_creating = this;
    HWND w = reinterpret_cast<HWND>(PropertySheetW(&h));
    g_creating = nullptr;
    if (!w || w == reinterpret_cast<HWND>(-1) || !hwnd_) return false;
    Message m{hwnd_, WM_CREATE, 0, 0, 0};
    int created = -1;
    guarded(m, [&] { created = onCreate(); });
    if (created == -1) {
        DestroyWindow(hwnd_);
        return false;
    }
    return true;
}

PropertyPage* SheetWindow::activePage() const {
    HWND current = hwnd_ ? PropSheet_GetCurrentPageHwnd(hwnd_) : nullptr;
    for (PropertyPage* p : pages_)
        if (current && p->hwnd() == current) return p;
    return nullptr;
}

bool SheetWindow::preTranslate(MSG& msg) {
    PropertyPage* page = activePage();
    if (!page) return false;
    // Sent to the page as its own command, so a shortcut does what the page's
    // button does, on every page.
    if (accelerators_ && TranslateAcceleratorW(page->hwnd(), accelerators_, &msg)) return true;
    return page->preTranslate(msg);
}

void SheetWindow::destroyLater() {
    if (hwnd_) PostMessageW(hwnd_, kDestroyMessage, 0, 0);
}

int CALLBACK SheetWindow::sheetCallback(HWND hwnd, UINT msg, LPARAM lp) {
    SheetWindow* self = g_creating;
    if (!self) return 0;
    if (msg == PSCB_PRECREATE) {
        // Keep only the template's font bits; the rest of the style is ours.
        WORD* w = reinterpret_cast<WORD*>(lp);
        DWORD* styleField;
        DWORD* exStyleField;
        if (w[1] == 0xFFFF) {
            exStyleField = reinterpret_cast<DWORD*>(w + 4);
            styleField = reinterpret_cast<DWORD*>(w + 6);
        } else {
            styleField = reinterpret_cast<DWORD*>(w);
            exStyleField = reinterpret_cast<DWORD*>(w + 2);
        }
        // Built hidden: the window is laid out for its pages before it shows.
        *styleField = (self->style_ & ~WS_VISIBLE) | (*styleField & (DS_SETFONT | DS_FIXEDSYS));
        *exStyleField = self->exStyle_;
    } else if (msg == PSCB_INITIALIZED) {
        self->attach(hwnd);
        SetPropW(hwnd, kSheetProp, self);
        self->platformProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SheetWindow::subclassProc)));
    }
    return 0;
}

int SheetWindow::onCreate() {
    // The window can be moved, minimised and closed, but not resized.
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        UINT id = GetMenuItemID(menu, i);
        if (id != SC_RESTORE && id != SC_MOVE && id != SC_MINIMIZE && id != SC_CLOSE)
            DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    }

    // A modeless sheet has no buttons: hide them and give their band back.
    const int buttons[] = {IDOK, IDCANCEL, IDHELP, kApplyNowId};
    for (int id : buttons) {
        // Only those still shown or enabled: every change asks the window
        // server. The sheet itself is not shown yet, so the button's own style.
        if (HWND b = item(id)) {
            if (GetWindowLongPtrW(b, GWL_STYLE) & WS_VISIBLE) ShowWindow(b, SW_HIDE);
            if (IsWindowEnabled(b)) EnableWindow(b, FALSE);
        }
    }

    // Size the display area for the largest page in the pages' own font.
    HWND current = PropSheet_GetCurrentPageHwnd(hwnd_);
    SIZE need{0, 0};
    for (PropertyPage* p : pages_) {
        SIZE du = templateSize(app()->instance(), p->templateId());
        RECT r{0, 0, du.cx, du.cy};
        if (current) MapDialogRect(current, &r);
        need.cx = std::max(need.cx, r.right);
        need.cy = std::max(need.cy, r.bottom);
    }

    HWND tab = PropSheet_GetTabControl(hwnd_);
    RECT tabRect{};
    GetWindowRect(tab, &tabRect);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&tabRect), 2);
    const int margin = tabRect.left > 0 ? tabRect.left : 7;
    // The width first: the number of tab rows depends on it, so a second
    // pass when the first changed the size the tabs need.
    SIZE tabSize{-1, -1};
    auto sizeTabs = [&] {
        for (int pass = 0; pass < 2; ++pass) {
            RECT display{0, 0, need.cx, need.cy};
            TabCtrl_AdjustRect(tab, TRUE, &display);
            const SIZE wanted{display.right - display.left, display.bottom - display.top};
            if (wanted.cx == tabSize.cx && wanted.cy == tabSize.cy) break;
            SetWindowPos(tab, nullptr, tabRect.left, tabRect.top, wanted.cx, wanted.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            tabSize = wanted;
        }
    };
    sizeTabs();
    // One row of tabs, whose order stays put when a page comes to the front:
    // where the captions need more than the pages' width (a high resolution,
    // a wider stand-in font), the window grows until they fit in one.
    for (int step = 0; step < 64 && TabCtrl_GetRowCount(tab) > 1; ++step) {
        need.cx += 4;
        sizeTabs();
    }
    GetWindowRect(tab, &tabRect);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&tabRect), 2);

    RECT frame{0, 0, tabRect.right + margin, tabRect.bottom + margin};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    // The style as asked for; the template's font bits were needed only to build it.
    SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style_ & ~WS_VISIBLE));

    if (current) {
        RECT display = displayArea(hwnd_);
        SetWindowPos(current, nullptr, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

LRESULT CALLBACK SheetWindow::subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    SheetWindow* self = static_cast<SheetWindow*>(GetPropW(hwnd, kSheetProp));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    WNDPROC platform = self->platformProc_;
    switch (msg) {
        case WM_COMMAND: {
            // Enter and Escape reach the sheet as its hidden buttons' commands;
            // neither may close it.
            WORD id = LOWORD(wp);
            if (id == IDOK || id == IDCANCEL || id == IDHELP || id == kApplyNowId) return 0;
            break;
        }
        case kDestroyMessage:
            DestroyWindow(hwnd);
            return 0;
        case WM_NCDESTROY: {
            LRESULT r = CallWindowProcW(platform, hwnd, msg, wp, lp);
            RemovePropW(hwnd, kSheetProp);
            self->attach(nullptr);
            if (app()->mainWindow == self) app()->mainWindow = nullptr;
            return r;
        }
        default:
            break;
    }
    Message m{hwnd, msg, wp, lp, 0};
    if (self->dispatch(m)) return m.result;
    return CallWindowProcW(platform, hwnd, msg, wp, lp);
}

LRESULT SheetWindow::defaultHandling(Message& m) {
    return CallWindowProcW(platformProc_, m.hwnd, m.message, m.wParam, m.lParam);
}

}  // namespace kestrane::fw
