#include "tally_box.h"

#include "basic_numbers.h"
#include "controls.h"
#include "engine_play.h"
#include "findings.h"
#include "tally.h"
#include "wide_string.h"

#include <algorithm>
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

int stringWidth(HWND list, const WString& text) {
    return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

// How much of `text` goes in a row at most `limit` wide: all of it when it
// fits, else up to the last space that leaves a start that fits (or the
// first, when even one word does not).
std::size_t breakAt(HWND list, const WString& text, int limit) {
    if (stringWidth(list, text) <= limit) return text.size();
    std::size_t cut = text.find(L' ');
    for (std::size_t next = cut; next != WString::npos && stringWidth(list, text.substr(0, next)) <= limit;
         next = text.find(L' ', next + 1))
        cut = next;
    return cut == WString::npos ? text.size() : cut;
}

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
    measureBox();
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

    // A text wider than the list may grow on the screen goes on in the next
    // row, broken between words: room for the widest points and the list's
    // scroll bar taken off.
    const int wrapWidth = listRoom_.cx - edge_.cx - stringWidth(list, L"-00000") - 2 * kListPadding -
                          GetSystemMetrics(SM_CXVSCROLL);
    int rows = 0, headingWidth = 0;
    // A row of (points, text); a heading row's text is bold, and measured so.
    auto addRow = [&](const WString& points, const WString& text, bool heading) {
        LVITEMW row{};
        row.mask = LVIF_TEXT | LVIF_PARAM;
        row.iItem = rows;
        row.pszText = const_cast<wchar_t*>(L"");
        row.lParam = heading;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
        const WString* cells[] = {&points, &text};
        for (int c : {kPointsColumn, kTextColumn}) {
            row.iSubItem = c;
            row.pszText = const_cast<wchar_t*>(cells[c - kPointsColumn]->c_str());
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(rows), reinterpret_cast<LPARAM>(&row));
        }
        SIZE size{};
        if (heading && GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size))
            headingWidth = std::max<int>(headingWidth, size.cx);
        ++rows;
    };
    // Wide: a finding may quote the class name, UTF-8 text.
    auto add = [&](const wchar_t* points, const std::string& text, bool heading) {
        WString rest = widen(text);
        WString shownPoints = points;
        do {
            const std::size_t cut = heading ? rest.size() : breakAt(list, rest, wrapWidth);
            addRow(shownPoints, rest.substr(0, cut), heading);
            shownPoints.clear();
            rest.erase(0, std::min(cut + 1, rest.size()));
        } while (!rest.empty());
    };
    for (const TallyLine& line : tallyLines(record_, tallyClass(record_))) {
        const bool points = line.kind == TallyLine::Kind::Points;
        wchar_t shown[16] = L"";
        // The user32 formatter, which has no "%+d".
        if (points) wsprintfW(shown, line.points < 0 ? L"%d" : L"+%d", line.points);
        add(shown, line.text, false);
    }
    add(L"", "", false);
    add(L"", kPlayHeading, true);
    for (const std::string& line : playLines(record_, record_.classFilePath)) add(L"", line, false);
    // A clean class shows no findings' part; the status bar says "no findings".
    const std::vector<Finding> found = mostSevereFirst(findClass(record_, record_.classFilePath));
    for (auto group = found.begin(); group != found.end();) {
        const auto end = std::find_if(group, found.end(), [&group](const Finding& f) { return f.game != group->game; });
        add(L"", "", false);
        add(L"", std::string(gameHeading(group->game)) + ": " + findingsHeading(std::vector<Finding>(group, end)), true);
        for (; group != end; ++group) add(L"", counts(*group) ? group->text : "note: " + group->text, false);
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

void TallyBox::measureBox() {
    HWND list = item(IDC_TALLY_LIST);
    // The list's border, without the scroll bars it may show while too small.
    RECT border{0, 0, 0, 0}, button{}, frame{0, 0, 0, 0};
    AdjustWindowRectEx(&border, static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL)),
                       FALSE, static_cast<DWORD>(GetWindowLongPtrW(list, GWL_EXSTYLE)));
    edge_ = {border.right - border.left, border.bottom - border.top};
    GetWindowRect(item(IDOK), &button);
    button_ = {button.right - button.left, button.bottom - button.top};
    units_ = {7, 6, 4, 0};  // margin, the gap above the buttons, between them
    MapDialogRect(hwnd_, &units_);
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    frame_ = {frame.right - frame.left, frame.bottom - frame.top};
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    GetMonitorInfoW(MonitorFromWindow(GetWindow(hwnd_, GW_OWNER), MONITOR_DEFAULTTONEAREST), &screen);
    listRoom_ = {screen.rcWork.right - screen.rcWork.left - frame_.cx - 2 * units_.left,
                 screen.rcWork.bottom - screen.rcWork.top - frame_.cy - 2 * units_.left - units_.top - button_.cy};
}

void TallyBox::fitToContent(int listWidth) {
    HWND list = item(IDC_TALLY_LIST);
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    SIZE listSize{listWidth + edge_.cx, (row.bottom - row.top) * rows + edge_.cy};
    // Up to the work area: past it the list scrolls, with room for its bar.
    if (listSize.cy > listRoom_.cy) {
        listSize.cy = listRoom_.cy;
        listSize.cx += GetSystemMetrics(SM_CXVSCROLL);
    }
    if (listSize.cx > listRoom_.cx) {
        listSize.cx = listRoom_.cx;
        listSize.cy = std::min<LONG>(listSize.cy + GetSystemMetrics(SM_CYHSCROLL), listRoom_.cy);
    }
    listSize.cx = std::max<LONG>(listSize.cx, 2 * button_.cx + units_.right);

    const SIZE client{listSize.cx + 2 * units_.left, listSize.cy + units_.top + button_.cy + 2 * units_.left};
    const int buttonsTop = units_.left + listSize.cy + units_.top;
    const int closeLeft = client.cx - units_.left - button_.cx;
    SetWindowPos(list, nullptr, units_.left, units_.left, listSize.cx, listSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(item(IDOK), nullptr, closeLeft, buttonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(item(IDC_TALLY_USE), nullptr, closeLeft - units_.right - button_.cx, buttonsTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd_, nullptr, 0, 0, client.cx + frame_.cx, client.cy + frame_.cy,
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
