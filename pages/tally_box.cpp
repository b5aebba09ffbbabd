#include "tally_box.h"

#include "basic_numbers.h"
#include "controls.h"
#include "findings.h"
#include "tally.h"
#include "wide_string.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kestrane {

const fw::MessageTable TallyBox::table = {
    &fw::Dialog::table,
    {
        fw::onClicked<&TallyBox::useClicked>(IDC_TALLY_USE),
        fw::onMessage<&TallyBox::onNotify>(WM_NOTIFY),
    }};

namespace {

// The list's columns: the first, which the platform will not align right,
// stays empty and takes no room.
constexpr int kPointsColumn = 1;
constexpr int kTextColumn = 2;
// What the list adds to a text's width as it sizes a column to fit it.
constexpr int kListPadding = 12;

}  // namespace

TallyBox::~TallyBox() {
    if (bold_) DeleteObject(bold_);
}

bool TallyBox::onInitDialog() {
    const ClassTally t = tallyClass(record_);
    fw::Control(item(IDC_TALLY_USE)).setText("&Use " + twoDecimals(t.makerMultiplier));
    // A class the maker could not make has no maker's multiplier to use.
    EnableWindow(item(IDC_TALLY_USE), t.beyondMaker.empty());
    // The list's scroll bars wait for its final size: one shown while it is
    // filled would stay, taking the room it was shown for.
    const fw::Control list(item(IDC_TALLY_LIST));
    list.setRedraw(false);
    fitToContent(fillList());
    list.setRedraw(true);
    centreOnOwner();
    // The focus on "Close", so no row is shown selected.
    SetFocus(item(IDOK));
    return false;
}

int TallyBox::fillList() {
    HWND list = item(IDC_TALLY_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    for (int fmt : {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_LEFT}) {
        column.fmt = fmt;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column.iSubItem++), reinterpret_cast<LPARAM>(&column));
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    bold_ = CreateFontIndirectW(&font);
    HDC dc = GetDC(list);
    const HGDIOBJ old = SelectObject(dc, bold_);

    int rows = 0, headingWidth = 0;
    // A row of (points, text); a heading row's text is bold, and measured so.
    auto add = [&](const std::string& points, const std::string& text, bool heading) {
        LVITEMW row{};
        row.mask = LVIF_TEXT | LVIF_PARAM;
        row.iItem = rows;
        row.pszText = const_cast<wchar_t*>(L"");
        row.lParam = heading;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
        // Wide: a finding may quote the class name, UTF-8 text.
        WString cells[] = {widen(points), widen(text)};
        for (int c : {kPointsColumn, kTextColumn}) {
            row.iSubItem = c;
            row.pszText = &cells[c - kPointsColumn][0];
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(rows), reinterpret_cast<LPARAM>(&row));
        }
        SIZE size{};
        if (heading && GetTextExtentPoint32W(dc, cells[1].c_str(), static_cast<int>(cells[1].size()), &size))
            headingWidth = std::max<int>(headingWidth, size.cx);
        ++rows;
    };
    for (const TallyLine& line : tallyLines(record_, tallyClass(record_))) {
        char points[16] = "";
        if (line.kind == TallyLine::Kind::Points) std::snprintf(points, sizeof points, "%+d", line.points);
        add(points, line.text, false);
    }
    // A clean class shows the tally alone; the status bar says "no findings".
    const std::vector<Finding> found = mostSevereFirst(findClass(record_, record_.classFilePath));
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (i == 0 || found[i].game != found[i - 1].game) {
            add("", "", false);
            add("", gameHeading(found[i].game), true);
        }
        add("", found[i].text, false);
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);

    // Each column as wide as its widest text and the list's own padding (as
    // its autosize measures it), a bold heading's too.
    int width = 0;
    for (int c : {kPointsColumn, kTextColumn}) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE);
        int w = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0));
        if (c == kTextColumn && w < headingWidth + kListPadding) {
            w = headingWidth + kListPadding;
            SendMessageW(list, LVM_SETCOLUMNWIDTH, c, w);
        }
        width += w;
    }
    return width;
}

void TallyBox::fitToContent(int listWidth) {
    HWND list = item(IDC_TALLY_LIST);
    HWND use = item(IDC_TALLY_USE);
    HWND close = item(IDOK);
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    // The list's border, without the scroll bars it may show while too small.
    RECT border{0, 0, 0, 0}, button{};
    AdjustWindowRectEx(&border, static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL)),
                       FALSE, static_cast<DWORD>(GetWindowLongPtrW(list, GWL_EXSTYLE)));
    GetWindowRect(close, &button);
    const SIZE edge{border.right - border.left, border.bottom - border.top};
    const SIZE buttonSize{button.right - button.left, button.bottom - button.top};
    RECT units{7, 6, 4, 0};  // margin, the gap above the buttons, between them
    MapDialogRect(hwnd_, &units);
    SIZE listSize{listWidth + edge.cx, (row.bottom - row.top) * rows + edge.cy};

    // Up to the work area: past it the list scrolls, with room for its bar.
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    GetMonitorInfoW(MonitorFromWindow(GetWindow(hwnd_, GW_OWNER), MONITOR_DEFAULTTONEAREST), &screen);
    const SIZE room{screen.rcWork.right - screen.rcWork.left - (frame.right - frame.left) - 2 * units.left,
                    screen.rcWork.bottom - screen.rcWork.top - (frame.bottom - frame.top) - 2 * units.left -
                        units.top - buttonSize.cy};
    if (listSize.cy > room.cy) {
        listSize.cy = room.cy;
        listSize.cx += GetSystemMetrics(SM_CXVSCROLL);
    }
    if (listSize.cx > room.cx) {
        listSize.cx = room.cx;
        listSize.cy = std::min<LONG>(listSize.cy + GetSystemMetrics(SM_CYHSCROLL), room.cy);
    }
    listSize.cx = std::max<LONG>(listSize.cx, 2 * buttonSize.cx + units.right);

    const SIZE client{listSize.cx + 2 * units.left, listSize.cy + units.top + buttonSize.cy + 2 * units.left};
    const int buttonsTop = units.left + listSize.cy + units.top;
    const int closeLeft = client.cx - units.left - buttonSize.cx;
    SetWindowPos(list, nullptr, units.left, units.left, listSize.cx, listSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(close, nullptr, closeLeft, buttonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(use, nullptr, closeLeft - units.right - buttonSize.cx, buttonsTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd_, nullptr, 0, 0, client.cx + frame.right - frame.left, client.cy + frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TallyBox::onNotify(fw::Message& m) {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(m.lParam);
    if (draw->nmcd.hdr.idFrom != IDC_TALLY_LIST || draw->nmcd.hdr.code != static_cast<UINT>(NM_CUSTOMDRAW))
        return false;
    m.result = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        m.result = CDRF_NOTIFYITEMDRAW;
    } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.lItemlParam && bold_) {
        SelectObject(draw->nmcd.hdc, bold_);
        m.result = CDRF_NEWFONT;
    }
    return true;
}

void TallyBox::useClicked() {
    useChosen_ = true;
    EndDialog(hwnd_, IDC_TALLY_USE);
}

}  // namespace kestrane
