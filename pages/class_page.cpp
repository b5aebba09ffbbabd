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

bool isEditField(HWND h) {
    wchar_t name[8] = L"";
    GetClassNameW(h, name, 8);
    return lstrcmpiW(name, L"Edit") == 0;
}

}  // namespace

HWND ClassPage::markFor(HWND control, bool make) {
    // An edit field's mark stands right of it, past its arrows; a button's or
    // a list's, whose row has no room, at its group box's top right corner.
    HWND anchor = control;
    if (!isEditField(control))
        if (HWND box = boxAround(hwnd_, control)) anchor = box;
    for (const auto& m : marks_)
        if (m.first == anchor) return m.second;
    if (!make) return nullptr;

    // A warning sign the size of 7 dialog units across, at every resolution.
    RECT units{0, 0, 7, 8};
    MapDialogRect(hwnd_, &units);
    const int side = units.right, line = units.bottom;
    static HICON icon = nullptr;
    static int iconSide = 0;
    if (!icon || iconSide != side) {
        icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32515), IMAGE_ICON, side, side, 0));  // OIC_WARNING
        iconSide = side;
    }
    RECT gap{0, 0, 1, 0};
    MapDialogRect(hwnd_, &gap);
    int x = 0, y = 0;
    HWND after = nullptr;  // in the order of the page's controls
    if (anchor == control) {
        HWND beside = GetWindow(control, GW_HWNDNEXT);
        wchar_t name[12] = L"";
        if (beside) GetClassNameW(beside, name, 12);
        after = lstrcmpiW(name, L"ScrollBar") == 0 ? beside : control;
        const RECT r = rectIn(hwnd_, after);
        x = r.right + gap.right;
        y = (r.top + r.bottom - side) / 2;
    } else {
        // Just above the box, whose line is then clipped and leaves it whole.
        after = GetWindow(anchor, GW_HWNDPREV);
        if (!after) after = HWND_TOP;
        SetWindowLongPtrW(anchor, GWL_STYLE, GetWindowLongPtrW(anchor, GWL_STYLE) | WS_CLIPSIBLINGS);
        // On the box's top line, half a caption's height down, clear of its caption.
        const RECT r = rectIn(hwnd_, anchor);
        x = r.right - side - 4 * gap.right;
        y = r.top + (line - side) / 2;
    }
    // WS_GROUP keeps it out of the radio group before it; SS_NOTIFY lets the
    // pointer find it for its tip.
    HWND mark = CreateWindowExW(0, L"Static", nullptr, WS_CHILD | WS_GROUP | SS_ICON | SS_NOTIFY, x, y, side, side,
                                hwnd_, nullptr, nullptr, nullptr);
    if (!mark) return nullptr;
    SendMessageW(mark, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SetWindowPos(mark, after, x, y, side, side, SWP_NOACTIVATE);
    marks_.emplace_back(anchor, mark);
    return mark;
}

void ClassPage::showFindings(const std::vector<Finding>& found) {
    if (!hwnd_) return;
    std::vector<std::pair<HWND, WString>> markTexts;
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        if (id <= 0 || id == 0xFFFF || fw::Button(c).isGroupBox()) continue;
        WString lines;
        for (const Finding& f : found) {
            if (!counts(f)) continue;
            for (const Spot& spot : f.spots)
                if (showsSpotAt(id, spot)) {
                    lines += (lines.empty() ? L"" : L"\n") + widen(f.text);
                    break;
                }
        }
        const bool marked = GetPropW(c, kMarkProperty) != nullptr;
        if (lines.empty() && !marked) continue;
        tips_.setText(c, lines);
        HWND mark = markFor(c, !lines.empty());
        if (lines.empty()) {
            RemovePropW(c, kMarkProperty);
            continue;
        }
        SetPropW(c, kMarkProperty, mark);
        // The mark's tip: each line of the controls it stands for, once.
        auto m = std::find_if(markTexts.begin(), markTexts.end(), [&](const auto& t) { return t.first == mark; });
        if (m == markTexts.end()) m = markTexts.insert(markTexts.end(), {mark, WString()});
        std::size_t start = 0;
        while (start < lines.size()) {
            std::size_t end = lines.find(L'\n', start);
            if (end == WString::npos) end = lines.size();
            const WString line = lines.substr(start, end - start);
            if (m->second.find(line) == WString::npos) m->second += (m->second.empty() ? L"" : L"\n") + line;
            start = end + 1;
        }
    }
    for (const auto& [anchor, mark] : marks_) {
        auto m = std::find_if(markTexts.begin(), markTexts.end(), [&](const auto& t) { return t.first == mark; });
        const WString text = m == markTexts.end() ? WString() : m->second;
        tips_.setText(mark, text);
        ShowWindow(mark, text.empty() ? SW_HIDE : SW_SHOWNA);
    }
}

}  // namespace kestrane
