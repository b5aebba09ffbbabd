#include "controls.h"

#include <commctrl.h>

#include <vector>

namespace kestrane::fw {

namespace {

// What keepTypingTo asked for, kept with the field's subclass.
struct TypingFilter {
    EditField::TypingRule rule;
    const wchar_t* why;
};

LRESULT CALLBACK filterTyping(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    const TypingFilter* filter = reinterpret_cast<const TypingFilter*>(data);
    if (msg == WM_CHAR) {
        DWORD start = 0, end = 0;
        SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        // The field's limit bounds its text; the read is capped for safety.
        if (!filter->rule(EditField(h).line(64), start, end, static_cast<wchar_t>(wp))) {
            MessageBeep(MB_OK);
            EDITBALLOONTIP tip{sizeof tip, L"Unacceptable Character", filter->why, TTI_ERROR};
            SendMessageW(h, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
            return 0;
        }
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(h, &filterTyping, id);
        delete filter;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

}  // namespace

void EditField::keepTypingTo(TypingRule rule, const wchar_t* why) const {
    auto* filter = new TypingFilter{rule, why};
    if (!SetWindowSubclass(h_, &filterTyping, 0, reinterpret_cast<DWORD_PTR>(filter))) delete filter;
}

std::string EditField::line(std::size_t maxChars) const {
    // EM_GETLINE takes the buffer's size in its first WORD and copies no NUL;
    // two spare bytes always leave room for that WORD.
    std::vector<char> buf(maxChars + sizeof(WORD), '\0');
    *reinterpret_cast<WORD*>(buf.data()) = static_cast<WORD>(maxChars);
    LRESULT n = send(EM_GETLINE, 0, reinterpret_cast<LPARAM>(buf.data()));
    if (n < 0) n = 0;
    if (static_cast<std::size_t>(n) > maxChars) n = static_cast<LRESULT>(maxChars);
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

WString EditField::wideLine(std::size_t maxChars) const {
    std::vector<wchar_t> buf(maxChars + 1, L'\0');
    buf[0] = static_cast<wchar_t>(maxChars);
    LRESULT n = SendMessageW(h_, EM_GETLINE, 0, reinterpret_cast<LPARAM>(buf.data()));
    if (n < 0) n = 0;
    if (static_cast<std::size_t>(n) > maxChars) n = static_cast<LRESULT>(maxChars);
    return WString(buf.data(), static_cast<std::size_t>(n));
}

void Button::setCheck(bool on) const {
    // Some platforms (Wine) uncheck the rest of an auto radio button's group when
    // it is checked by message; as a plain radio button for that moment it cannot.
    const LONG_PTR style = GetWindowLongPtrW(h_, GWL_STYLE);
    const bool autoRadio = (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
    if (autoRadio) send(BM_SETSTYLE, static_cast<WPARAM>((style & 0xFFFF & ~BS_TYPEMASK) | BS_RADIOBUTTON), FALSE);
    send(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
    if (autoRadio) send(BM_SETSTYLE, static_cast<WPARAM>(style & 0xFFFF), FALSE);
}

bool isOfClass(HWND h, const wchar_t* windowClass) {
    wchar_t kind[16] = L"";
    return h && GetClassNameW(h, kind, 16) && lstrcmpiW(kind, windowClass) == 0;
}

bool Button::isGroupBox() const {
    return isOfClass(h_, L"Button") && (GetWindowLongPtrW(h_, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

ToolTip::~ToolTip() {
    if (h_) DestroyWindow(h_);
}

void ToolTip::setText(HWND control, const WString& text) {
    if (!h_) {
        if (text.empty()) return;
        h_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                             GetParent(control), nullptr, nullptr, nullptr);
        if (!h_) return;
        // A width makes the tip break its text at each line feed.
        HDC dc = GetDC(control);
        SendMessageW(h_, TTM_SETMAXTIPWIDTH, 0, MulDiv(480, GetDeviceCaps(dc, LOGPIXELSX), 96));
        ReleaseDC(control, dc);
        // Long enough to read a few lines.
        SendMessageW(h_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    // Taken away and given anew: the tip never holds a control twice.
    SendMessageW(h_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!text.empty()) SendMessageW(h_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace kestrane::fw
