#include "class_page.h"

#include "class_name_rules.h"
#include "class_record.h"
#include "resource.h"
#include "wide_string.h"
#include "windows1252.h"

#include <windowsx.h>  // GET_X_LPARAM

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
    return loadControls();
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

}  // namespace kestrane
