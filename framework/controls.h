// Thin wrappers over the standard controls, so page code reads as what it does.
#ifndef KESTRANE_CONTROLS_H
#define KESTRANE_CONTROLS_H

#include "wide_string.h"

#include <windows.h>

#include <string>

namespace kestrane::fw {

class Control {
public:
    explicit Control(HWND h) : h_(h) {}

    // Holds the control's drawing (and, for a list, its scroll bar updates)
    // off while many entries go in, then draws it once.
    void setRedraw(bool on) const { send(WM_SETREDRAW, on); }
    // The control's text: the program's own words, which are ASCII.
    void setText(const std::string& text) const { SetWindowTextA(h_, text.c_str()); }
    // Any text, whatever the system's code page.
    void setText(const WString& text) const { SetWindowTextW(h_, text.c_str()); }

protected:
    LRESULT send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(h_, msg, wp, lp); }
    HWND h_;
};

// The number fields hold ASCII and use the narrow messages; the class name,
// Windows-1252 characters whatever the system's code page, goes through the
// wide ones.
class EditField : public Control {
public:
    using Control::Control;
    void setSel(int start, int end) const { send(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void scrollCaret() const { send(EM_SCROLLCARET); }
    void replaceSel(const std::string& text, bool canUndo = false) const {
        send(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void limitText(std::size_t chars) const { send(EM_LIMITTEXT, chars); }
    std::size_t limit() const { return static_cast<std::size_t>(send(EM_GETLIMITTEXT)); }
    // One tab stop every `dialogUnits` (a multi-line field).
    void setTabStop(int dialogUnits) const { send(EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&dialogUnits)); }
    void replaceSel(const WString& text) const {
        SendMessageW(h_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Which typed characters the field takes: its text, the selection
    // [selStart, selEnd) and the character. One it refuses is not entered; the
    // field beeps and says `why` in a balloon, as a digits-only field does.
    using TypingRule = bool (*)(const std::string& text, std::size_t selStart, std::size_t selEnd, wchar_t typed);
    void keepTypingTo(TypingRule rule, const wchar_t* why) const;
    // Line 0 as EM_GETLINE hands it over: at most maxChars characters.
    std::string line(std::size_t maxChars) const;
    WString wideLine(std::size_t maxChars) const;
};

// Whether `h` is a window of that class ("Edit", "Static", ...); false for none.
bool isOfClass(HWND h, const wchar_t* windowClass);

class Button : public Control {
public:
    using Control::Control;
    // Sets this button's state alone: never the other radio buttons of its group,
    // so a record holding two states of one row shows both.
    void setCheck(bool on) const;
    bool isChecked() const { return send(BM_GETCHECK) != BST_UNCHECKED; }
    // By what the control says of itself: style bits alone mean other things
    // on other kinds of control (an edit field's ES_MULTILINE is BS_RADIOBUTTON).
    bool isRadio() const { return (send(WM_GETDLGCODE) & DLGC_RADIOBUTTON) != 0; }
    bool isGroupBox() const;
};

class ComboBox : public Control {
public:
    using Control::Control;
    void resetContent() const { send(CB_RESETCONTENT); }
    void addString(const char* text) const { send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    void setCurSel(int index) const { send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    int curSel() const { return static_cast<int>(send(CB_GETCURSEL)); }
    int count() const { return static_cast<int>(send(CB_GETCOUNT)); }
};

// One tooltip window for the controls of a page, made on first use: each
// control given a text shows it as the pointer rests on it, one line for
// each line of the text.
class ToolTip {
public:
    ToolTip() = default;
    ~ToolTip();
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;
    // An empty text takes the control's tip away.
    void setText(HWND control, const WString& text);

private:
    HWND h_ = nullptr;
};

}  // namespace kestrane::fw

#endif
