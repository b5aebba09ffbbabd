#include "class_page.h"

#include "class_name_rules.h"
#include "class_record.h"
#include "resource.h"
#include "wide_string.h"
#include "windows1252.h"

#include <windowsx.h>  // GET_X_LPARAM

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <utility>

namespace kestrane {

const fw::MessageTable ClassPage::table = {
    &fw::PropertyPage::table,
    {
        fw::onCommand<&ClassPage::classNameChanged>(EN_CHANGE, IDC_CLASS_NAME),
        fw::onCommand<&ClassPage::fieldLeft>(EN_KILLFOCUS, fw::kAnyControl),
        fw::onMessage<&ClassPage::onContextMenu>(WM_CONTEXTMENU),
        // Last, after every page's own rows: a click on a command button, or
        // its shortcut key (an accelerator command).
        fw::onCommand<&ClassPage::editorCommand>(-1, fw::kAnyControl, fw::Arg::Id),
    }};

namespace {

// Holds the change handlers off for one fill, and lets them work again however
// the fill ends, or no typing would count again.
class FillHeld {
public:
    explicit FillHeld(bool& filling) : flag_(filling), was_(filling) { flag_ = true; }
    ~FillHeld() { flag_ = was_; }
    FillHeld(const FillHeld&) = delete;
    FillHeld& operator=(const FillHeld&) = delete;

private:
    bool& flag_;
    const bool was_;
};

}  // namespace

bool ClassPage::initPage() {
    fw::PropertyPage::initPage();
    const FillHeld held(filling_);
    const bool result = loadControls();
    showFindings(findClass(ClassRecord, ClassRecord.classFilePath));
    return result;
}

bool ClassPage::onInitDialog() {
    bool result = fw::PropertyPage::onInitDialog();
    justFilled_ = true;
    return result;
}

bool ClassPage::activatePage() {
    bool result = fw::PropertyPage::activatePage();
    if (!std::exchange(justFilled_, false)) initPage();
    return result;
}

void ClassPage::refill() {
    const FillHeld held(filling_);
    loadControls();
}

bool ClassPage::loadControls() {
    fw::EditField name = edit(IDC_CLASS_NAME);
    selectText(name, 0, -1, false);
    // classNameChanged runs inside and stores nothing.
    name.replaceSel(widen(classNameForDisplay(ClassRecord)));
    // After the fill, so a fresh field's first fill is not cut.
    name.limitText(kClassNameLimit);
    return true;
}

void ClassPage::showStoredValues() {
    if (!hwnd_) return;
    const FillHeld held(filling_);
    restoreUnreadFields();
}

void ClassPage::fieldLeft() {
    // A page being taken down has nothing left to show.
    if (IsWindowVisible(hwnd_)) showStoredValues();
    editor_.fieldLeft();
}

void ClassPage::classNameChanged() {
    // A fill shows the name and leaves its 19 bytes as they are.
    if (filling()) return;
    // A character Windows-1252 lacks is stored as '?'.
    storeClassName(ClassRecord, utf8ToWindows1252(narrow(edit(IDC_CLASS_NAME).wideLine(kClassNameLimit))));
}

void ClassPage::selectText(const fw::EditField& field, int start, int end, bool noScroll) const {
    field.setSel(start, end);
    if (!noScroll) field.scrollCaret();
}

void ClassPage::afterHandling(const fw::Message& m) {
    if (filling()) return;
    int control = 0;
    EditKind kind = EditKind::Single;
    if (m.message == WM_COMMAND) {
        control = LOWORD(m.wParam);
        if (HIWORD(m.wParam) == EN_CHANGE) kind = EditKind::Typing;
    } else if (m.message == WM_VSCROLL) {
        control = GetDlgCtrlID(reinterpret_cast<HWND>(m.lParam));
        kind = EditKind::Arrow;
    }
    editor_.actionDone(*this, control, kind);
}

void ClassPage::onContextMenu(fw::Message& m) {
    editor_.contextMenu(GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam));
}

void ClassPage::showChange(int control) const {
    HWND target = item(focusTarget(control));
    if (target && fw::Button(target).isRadio()) {
        HWND checked = nullptr;
        HWND h = target;
        do {
            if (fw::Button(h).isChecked()) checked = h;
            h = GetNextDlgGroupItem(hwnd_, h, FALSE);
        } while (h && h != target && !checked);
        target = checked;
    }
    if (target)
        SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    else  // a group with none checked: the tab row, which changes nothing
        SetFocus(PropSheet_GetTabControl(GetParent(hwnd_)));
}

namespace {

// The letter after a single '&' in a control's text, or 0.
wchar_t shortcutLetter(HWND h) {
    wchar_t text[128];
    const int n = GetWindowTextW(h, text, 128);
    for (int i = 0; i + 1 < n; ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(text[i + 1]));
        ++i;
    }
    return 0;
}

}  // namespace

bool ClassPage::preTranslate(MSG& msg) {
    // Alt and a letter anywhere; a bare letter only where the focus takes no
    // typing, as the dialog manager does.
    if (msg.message == WM_CHAR) {
        if (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
            (DLGC_WANTCHARS | DLGC_WANTMESSAGE))
            return false;
    } else if (msg.message != WM_SYSCHAR) {
        return false;
    }
    const wchar_t letter = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(msg.wParam)));
    for (HWND h = GetWindow(hwnd_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!fw::Button(h).isGroupBox() || !IsWindowVisible(h)) continue;
        if (shortcutLetter(h) != letter) continue;
        HWND first = GetWindow(h, GW_HWNDNEXT);
        if (!first || !fw::Button(first).isRadio()) return false;
        showChange(GetDlgCtrlID(first));
        return true;
    }
    return false;
}

bool ClassPage::showsSpotAt(int control, const Spot& spot) const {
    return control == IDC_CLASS_NAME && std::strcmp(spot.field, "className") == 0;
}

namespace {

// The marks are found again by this property of each control they mark
// (a test reads it too).
const wchar_t kMarkProperty[] = L"KestraneMark";

RECT rectIn(HWND page, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The group box a button or list stands in: the nearest one before it that
// holds it. Null for none.
HWND boxAround(HWND page, HWND control) {
    const RECT c = rectIn(page, control);
    for (HWND h = GetWindow(control, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV)) {
        if (!fw::Button(h).isGroupBox()) continue;
        const RECT b = rectIn(page, h);
        return c.left >= b.left && c.right <= b.right && c.top >= b.top && c.bottom <= b.bottom ? h : nullptr;
    }
    return nullptr;
}

// Whether a mark at `r` stands clear of each shown control of the page but
// the marks (which have no id), a label's text alone counted, and inside or
// outside each group box, at least `margin` from its lines.
bool clearOfControls(HWND page, const RECT& r, int margin) {
    RECT client{};
    GetClientRect(page, &client);
    if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom) return false;
    for (HWND h = GetWindow(page, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(h) == 0 || !(GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT c = rectIn(page, h), common{};
        if (fw::isOfClass(h, L"Static") && (GetWindowLongPtrW(h, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT) {
            // A label's text is narrower than its room at some resolutions.
            wchar_t text[64];
            int n = 0;
            GetWindowTextW(h, text, 64);
            for (int i = 0; text[i]; ++i) {  // the shortcut's '&' is not shown
                if (text[i] == L'&' && text[i + 1]) ++i;
                text[n++] = text[i];
            }
            HDC dc = GetDC(h);
            const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
            SIZE size{};
            GetTextExtentPoint32W(dc, text, n, &size);
            SelectObject(dc, old);
            ReleaseDC(h, dc);
            c.right = std::min<LONG>(c.right, c.left + size.cx);
        }
        if (fw::Button(h).isGroupBox()) {
            InflateRect(&c, margin, margin);
            if (!IntersectRect(&common, &r, &c)) continue;
            InflateRect(&c, -2 * margin, -2 * margin);
            if (r.left >= c.left && r.right <= c.right && r.top >= c.top && r.bottom <= c.bottom) continue;
            return false;
        }
        if (IntersectRect(&common, &r, &c)) return false;
    }
    return true;
}

}  // namespace

ClassPage::Mark* ClassPage::markFor(HWND control, bool make) {
    // An edit field's mark stands left of its label, left of it, or right
    // past its arrows, the first of them with room; a button's or a list's,
    // whose rows have none, and a field's without room, at its group box's
    // top right corner.
    HWND box = boxAround(hwnd_, control);
    const bool field = fw::isOfClass(control, L"Edit");
    for (int pass = 0; pass < 2; ++pass)
        for (Mark& m : marks_)
            if (m.anchor == (pass == 0 && field ? control : box) && m.anchor) return &m;
    if (!make) return nullptr;

    // A warning sign 6 dialog units across, at every resolution.
    RECT units{0, 0, 6, 8};
    MapDialogRect(hwnd_, &units);
    const int side = units.right, line = units.bottom;
    // The system's warning sign (OIC_WARNING) at that size: the pages share
    // one font, so one icon serves them all.
    static const HICON icon =
        static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32515), IMAGE_ICON, side, side, 0));
    RECT gap{0, 0, 1, 0};
    MapDialogRect(hwnd_, &gap);
    HWND anchor = box, after = nullptr;  // after: its place in the order of the page's controls
    RECT at{};
    if (field || !box) {
        HWND beside = GetWindow(control, GW_HWNDNEXT), label = GetWindow(control, GW_HWNDPREV);
        after = fw::isOfClass(beside, L"ScrollBar") ? beside : control;
        const RECT a = rectIn(hwnd_, after), c = rectIn(hwnd_, control);
        const RECT l = fw::isOfClass(label, L"Static") ? rectIn(hwnd_, label) : c;
        const int top = (c.top + c.bottom - side) / 2;
        for (int x : {static_cast<int>(l.left - gap.right - side), static_cast<int>(c.left - gap.right - side),
                      static_cast<int>(a.right + gap.right)}) {
            at = {x, top, x + side, top + side};
            if (clearOfControls(hwnd_, at, gap.right)) {
                anchor = control;
                break;
            }
        }
        if (!box) anchor = control;  // no better place: right of it, as `at` is now
    }
    if (anchor == box) {
        // Just above the box, whose line is then clipped and leaves it whole;
        // on its top line, clear of its caption.
        after = GetWindow(box, GW_HWNDPREV);
        if (!after) after = HWND_TOP;
        SetWindowLongPtrW(box, GWL_STYLE, GetWindowLongPtrW(box, GWL_STYLE) | WS_CLIPSIBLINGS);
        const RECT r = rectIn(hwnd_, box);
        const int x = r.right - side - 4 * gap.right, y = r.top + (line - side) / 2;
        at = {x, y, x + side, y + side};
    }
    // WS_GROUP keeps it out of the radio group before it; SS_NOTIFY lets the
    // pointer find it for its tip; the sign is drawn at the mark's size.
    HWND mark = CreateWindowExW(0, L"Static", nullptr, WS_CHILD | WS_GROUP | SS_ICON | SS_NOTIFY | SS_REALSIZECONTROL,
                                at.left, at.top, side, side, hwnd_, nullptr, nullptr, nullptr);
    if (!mark) return nullptr;
    SendMessageW(mark, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SetWindowPos(mark, after, at.left, at.top, side, side, SWP_NOACTIVATE);
    marks_.push_back({anchor, mark, 0});
    return &marks_.back();
}

void ClassPage::showFindings(const std::vector<Finding>& found) {
    if (!hwnd_) return;
    // Each finding's line, one a line, for the findings in `set`.
    const auto linesOf = [&found](std::uint64_t set) {
        std::string lines;
        for (std::size_t i = 0; i < found.size() && i < 64; ++i)
            if (set >> i & 1) lines.append(lines.empty() ? "" : "\n").append(found[i].text);
        return widen(lines);
    };
    for (Mark& m : marks_) m.found = 0;
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        if (id <= 0 || id == 0xFFFF || fw::Button(c).isGroupBox()) continue;
        std::uint64_t set = 0;
        for (std::size_t i = 0; i < found.size() && i < 64; ++i)
            for (const Spot& spot : found[i].spots)
                if (counts(found[i]) && showsSpotAt(id, spot)) set |= std::uint64_t{1} << i;
        if (!set && !GetPropW(c, kMarkProperty)) continue;
        tips_.setText(c, linesOf(set));
        Mark* mark = markFor(c, set != 0);
        if (!set || !mark) {
            RemovePropW(c, kMarkProperty);
            continue;
        }
        SetPropW(c, kMarkProperty, mark->window);
        mark->found |= set;
    }
    for (const Mark& m : marks_) {
        tips_.setText(m.window, linesOf(m.found));
        ShowWindow(m.window, m.found ? SW_SHOWNA : SW_HIDE);
    }
}

}  // namespace kestrane
