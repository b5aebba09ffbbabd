#include "classes_box.h"

#include "class_facts.h"
#include "class_record.h"
#include "file_dialogs.h"
#include "file_io.h"
#include "file_paths.h"
#include "findings.h"
#include "standard_classes.h"
#include "system_library.h"
#include "tally.h"
#include "wide_string.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace kestrane {

const fw::MessageTable ClassesBox::table = {
    &fw::Dialog::table,
    {
        fw::onClicked<&ClassesBox::openClicked>(IDOK),
        fw::onClicked<&ClassesBox::folderClicked>(IDC_CLASSES_FOLDER),
        fw::onClicked<&ClassesBox::compareClicked>(IDC_CLASSES_COMPARE),
        fw::onMessage<&ClassesBox::onNotify>(WM_NOTIFY),
    }};

namespace {

struct Column {
    const wchar_t* title;
    int width;  // dialog units
    bool number;
};
// "Findings" stands before the last column, the open file's mark.
constexpr Column kColumns[] = {
    {L"File", 52, false},       {L"Class", 66, false},     {L"Standard", 74, false},
    {L"HP/level", 40, true},    {L"Multiplier", 44, true}, {L"Maker", 70, true},
    {L"Attributes", 46, true},  {L"Findings", 40, true},   {L"Open", 54, false},
};
enum {
    kFileColumn, kClassColumn, kStandardColumn, kHitPointsColumn, kMultiplierColumn,
    kMakerColumn, kAttributesColumn, kFindingsColumn, kOpenColumn
};
static_assert(std::size(kColumns) == ClassesBox::kColumnCount, "one title per column");

// A column width in the box's dialog units, in pixels at the box's font and resolution.
int pixels(HWND box, int dialogUnits) {
    RECT r{0, 0, dialogUnits, 0};
    MapDialogRect(box, &r);
    return r.right;
}

// Up to `cap` bytes of a file, shared as the list reads it; false with the
// system's reason when it cannot be read.
bool fileBytes(const std::string& path, std::size_t cap, std::vector<std::uint8_t>& bytes, WString& reason) {
    unsigned long error = 0;
    try {
        if (lookAtFile(path, cap, bytes, error)) return true;
    } catch (const FileError& e) {
        error = e.systemError();
    }
    reason = systemErrorText(error);
    return false;
}

// The file's record as Open would read it (a short file leaves zeros behind
// its end); without touching the editor's own record or its unsaved flag.
bool readRow(const std::string& path, ClassData& record, WString& reason) {
    std::vector<std::uint8_t> bytes;
    if (!fileBytes(path, kClassFileSize, bytes, reason)) return false;
    record.fromBytes(bytes.data(), bytes.size());
    return true;
}

// Wine's header draws no sort arrow; Windows' does, unless our flat drawing
// stands in for its own.
bool onWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// A header item's format: its title's alignment and its sort arrow.
int formatOf(HWND header, int index) {
    HDITEMW about{};
    about.mask = HDI_FORMAT;
    Header_GetItem(header, index, &about);
    return about.fmt;
}

// Half the width of our sort arrow, from the header's height, so it grows with
// the resolution; a title gives up three times that beside it.
int arrowHalf(int headerHeight) { return headerHeight / 5 > 3 ? headerHeight / 5 : 3; }

// A small triangle pointing up or down at the item's right end, or at its left
// end (`left`) when the platform has drawn a right-aligned title there.
void drawSortArrow(HDC dc, const RECT& field, int margin, int format, bool left) {
    if (!(format & (HDF_SORTUP | HDF_SORTDOWN))) return;
    const int half = arrowHalf(field.bottom - field.top);
    const int x = left ? field.left + margin + half : field.right - margin - half + 1;
    const int y = (field.top + field.bottom) / 2;
    const int tip = format & HDF_SORTUP ? -half / 2 : half / 2;
    const POINT points[3] = {{x - half, y - tip}, {x + half, y - tip}, {x, y + tip}};
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    SetDCBrushColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetDCPenColor(dc, GetSysColor(COLOR_GRAYTEXT));
    Polygon(dc, points, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

// The header's items drawn flat, as the system's theme draws a header item at
// rest: a plain field, the title and a thin line at the column's edge. The
// theme's own drawing of the items cost Wine more than all the rows together.
// An item under the mouse or pressed is left to the theme, and so is the whole
// header under the classic look or in high contrast, which draw it otherwise.
bool headerDrawnFlat() {
    using ThemedFn = BOOL(WINAPI*)();
    const auto themed = fw::systemFunction<ThemedFn>(L"uxtheme.dll", "IsAppThemed");
    if (!themed || !themed()) return false;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           !(contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void drawHeaderItem(HWND header, const NMCUSTOMDRAW& draw) {
    wchar_t title[64] = L"";
    HDITEMW about{};
    about.mask = HDI_TEXT;
    about.pszText = title;
    about.cchTextMax = static_cast<int>(std::size(title));
    Header_GetItem(header, static_cast<int>(draw.dwItemSpec), &about);
    RECT field = draw.rc;
    FillRect(draw.hdc, &field, GetSysColorBrush(COLOR_WINDOW));
    RECT edge{field.right - 1, field.top, field.right, field.bottom};
    FillRect(draw.hdc, &edge, GetSysColorBrush(COLOR_3DLIGHT));
    // The header's own margin, so the titles stand where the theme puts them.
    const int margin = Header_GetBitmapMargin(header);
    RECT text{field.left + margin, field.top, field.right - margin, field.bottom};
    const int format = formatOf(header, static_cast<int>(draw.dwItemSpec));
    if (format & (HDF_SORTUP | HDF_SORTDOWN)) {
        drawSortArrow(draw.hdc, field, margin, format, false);
        text.right -= 3 * arrowHalf(field.bottom - field.top);
    }
    const int oldMode = SetBkMode(draw.hdc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(draw.hdc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(draw.hdc, title, -1, &text,
              (format & HDF_RIGHT ? DT_RIGHT : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SetTextColor(draw.hdc, oldColour);
    SetBkMode(draw.hdc, oldMode);
}

// `sorted` points at the box's sort column (-1: none).
LRESULT CALLBACK listWithFlatHeader(HWND list, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR sorted) {
    if (msg == WM_NOTIFY) {
        const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(lp);
        HWND header = ListView_GetHeader(list);
        if (draw->hdr.hwndFrom == header && draw->hdr.code == NM_CUSTOMDRAW) {
            // Asked once a paint: the system's look and the platform do not
            // change between the items.
            static bool flat, wine;
            if (draw->dwDrawStage == CDDS_PREPAINT) {
                flat = headerDrawnFlat();
                // On Wine only an arrow needs us, and only once a column is sorted.
                wine = *reinterpret_cast<const int*>(sorted) >= 0 && onWine();
                return flat || wine ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
            }
            if (draw->dwDrawStage == CDDS_ITEMPREPAINT && flat && !(draw->uItemState & (CDIS_SELECTED | CDIS_HOT))) {
                drawHeaderItem(header, *draw);
                return CDRF_SKIPDEFAULT;
            }
            // The platform's drawing; on Wine, our arrow over it.
            const int format = wine ? formatOf(header, static_cast<int>(draw->dwItemSpec)) : 0;
            if (draw->dwDrawStage == CDDS_ITEMPREPAINT)
                return format & (HDF_SORTUP | HDF_SORTDOWN) ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
            if (draw->dwDrawStage == CDDS_ITEMPOSTPAINT)
                drawSortArrow(draw->hdc, draw->rc, Header_GetBitmapMargin(header), format, (format & HDF_RIGHT) != 0);
            return CDRF_DODEFAULT;
        }
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(list, listWithFlatHeader, 0);
    }
    return DefSubclassProc(list, msg, wp, lp);
}

// The Compare box: the differences in a read-only text, to copy from.
class CompareBox : public fw::Dialog {
public:
    explicit CompareBox(WString text) : fw::Dialog(IDD_COMPARE), text_(std::move(text)) {}

protected:
    bool onInitDialog() override {
        SetDlgItemTextW(hwnd_, IDC_COMPARE_TEXT, text_.c_str());
        centreOnOwner();
        return true;
    }

private:
    WString text_;
};

}  // namespace

ClassesBox::ClassesBox(const std::string& openFile, bool unsaved)
    : fw::Dialog(IDD_CLASSES), openFile_(fullPath(openFile)), unsaved_(unsaved), folder_(folderOf(openFile_)) {}

ClassesBox::Listing ClassesBox::read(const std::string& folder, const std::string& openFile, bool unsaved) {
    Listing l;
    try {
        l.names = classFilesOf(folder);
    } catch (const FileError& e) {
        l.listed = false;
        l.error = e.systemError();
    }
    l.rows.assign(l.names.size(), Row{});
    for (std::size_t row = 0; row < l.names.size(); ++row) {
        const std::string& name = l.names[row];
        const std::string path = joinPath(folder, name);
        Row& r = l.rows[row];
        auto& cells = r.cells;
        cells[kFileColumn] = widen(name);
        ClassData record;
        WString reason;
        r.read = readRow(path, record, reason);
        if (r.read) {
            const ClassTally tally = tallyClass(record);
            const int findings = findingCount(record, name);
            std::int32_t attributes = 0;
            for (const std::uint16_t a : record.attributes) attributes += a;
            cells[kClassColumn] = widen(record.nameUtf8());
            cells[kHitPointsColumn] = widen(std::to_string(record.hitPointsPerLevel));
            cells[kMultiplierColumn] = widen(multiplierShown(record.advancementMultiplier));
            cells[kMakerColumn] = widen(makerText(tally));
            cells[kAttributesColumn] = widen(std::to_string(attributes));
            cells[kFindingsColumn] = widen(std::to_string(findings));
            r.keys[kHitPointsColumn] = record.hitPointsPerLevel;
            r.keys[kMultiplierColumn] = record.advancementMultiplier;
            r.keys[kMakerColumn] = tally.total;
            r.keys[kAttributesColumn] = attributes;
            r.keys[kFindingsColumn] = findings;
        } else {
            cells[kClassColumn] = reason;
        }
        cells[kStandardColumn] = widen(standardClassFor(name));
        if (samePath(path, openFile)) {
            l.openRow = static_cast<int>(row);
            cells[kOpenColumn] = unsaved ? L"open, unsaved" : L"open";
        }
    }
    l.folderFindings = findFolder(l.names);
    return l;
}

bool ClassesBox::onInitDialog() {
    HWND listView = item(IDC_CLASSES_LIST);
    // Not drawn while its columns and rows are set: a list-view that draws
    // lays out its header and scroll bars again for every column and row.
    SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
    ListView_SetExtendedListViewStyle(listView, LVS_EX_FULLROWSELECT);
    SetWindowSubclass(listView, listWithFlatHeader, 0, reinterpret_cast<DWORD_PTR>(&sortColumn_));
    // Each title whole beside the sort arrow, in whatever font the system
    // gives: measured before the columns are made, as a width set afterwards
    // lays the list out again.
    HWND header = ListView_GetHeader(listView);
    RECT bar{};
    GetClientRect(header, &bar);
    const int room = 2 * Header_GetBitmapMargin(header) + 3 * arrowHalf(bar.bottom) + 1;
    // One device context for all the titles: the list's own measure takes
    // one each.
    HDC dc = GetDC(listView);
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(listView, WM_GETFONT, 0, 0)));
    int column = 0;
    for (const Column& c : kColumns) {
        SIZE title{};
        GetTextExtentPoint32W(dc, c.title, lstrlenW(c.title), &title);
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        lvc.fmt = c.number ? LVCFMT_RIGHT : LVCFMT_LEFT;
        lvc.pszText = const_cast<LPWSTR>(c.title);
        lvc.cx = std::max(pixels(hwnd_, c.width), static_cast<int>(title.cx) + room);
        lvc.iSubItem = column;
        ListView_InsertColumn(listView, column++, &lvc);
    }
    SelectObject(dc, oldFont);
    ReleaseDC(listView, dc);
    show(folder_, read(folder_, openFile_, unsaved_));
    centreOnOwner();
    SetFocus(listView);
    return false;
}

int ClassesBox::rowAt(int place) const {
    return place >= 0 && static_cast<std::size_t>(place) < order_.size() ? order_[static_cast<std::size_t>(place)] : -1;
}

int ClassesBox::placeOf(int row) const {
    for (std::size_t place = 0; place < order_.size(); ++place)
        if (order_[place] == row) return static_cast<int>(place);
    return -1;
}

void ClassesBox::arrange() {
    order_.resize(shown_.rows.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int>(i);
    const int c = sortColumn_;
    if (c >= 0) {
        const bool number = kColumns[c].number;
        const bool down = descending_;
        // Numbers as numbers; a file that could not be read has none and
        // comes after every one that was, either way. Text as the system
        // compares it; such a file's reason in the Class column is text like
        // any other. Equal keys keep the folder's order.
        const auto before = [&](int a, int b) {
            const Row& x = shown_.rows[static_cast<std::size_t>(a)];
            const Row& y = shown_.rows[static_cast<std::size_t>(b)];
            if (number) {
                if (x.read != y.read) return x.read;
                return x.read && (down ? x.keys[c] > y.keys[c] : x.keys[c] < y.keys[c]);
            }
            const int order = lstrcmpiW(x.cells[c].c_str(), y.cells[c].c_str());
            return down ? order > 0 : order < 0;
        };
        // Insertion, which keeps equal rows in order and is a fraction of the
        // library's stable sort in the exe; a folder holds tens of files.
        for (std::size_t i = 1; i < order_.size(); ++i) {
            const int row = order_[i];
            std::size_t j = i;
            for (; j > 0 && before(row, order_[j - 1]); --j) order_[j] = order_[j - 1];
            order_[j] = row;
        }
    }
    // Only a sorted column's item changes: every change of a header item
    // lays the list out again, and the window opens unsorted.
    if (c < 0) return;
    HWND header = ListView_GetHeader(item(IDC_CLASSES_LIST));
    for (int i = 0; i < static_cast<int>(kColumnCount); ++i) {
        HDITEMW about{};
        about.mask = HDI_FORMAT;
        Header_GetItem(header, i, &about);
        const int fmt = (about.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | (i == c ? descending_ ? HDF_SORTDOWN : HDF_SORTUP : 0);
        if (fmt == about.fmt) continue;
        about.fmt = fmt;
        Header_SetItem(header, i, &about);
    }
}

void ClassesBox::sortRows() {
    HWND listView = item(IDC_CLASSES_LIST);
    std::vector<bool> selected(order_.size());
    for (int place = -1; (place = ListView_GetNextItem(listView, place, LVNI_SELECTED)) >= 0;)
        if (rowAt(place) >= 0) selected[static_cast<std::size_t>(rowAt(place))] = true;
    const int focused = rowAt(ListView_GetNextItem(listView, -1, LVNI_FOCUSED));
    arrange();
    ListView_SetItemState(listView, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (std::size_t place = 0; place < order_.size(); ++place) {
        const int row = order_[place];
        const UINT state = (selected[static_cast<std::size_t>(row)] ? LVIS_SELECTED : 0) | (row == focused ? LVIS_FOCUSED : 0);
        if (state) ListView_SetItemState(listView, static_cast<int>(place), state, state);
    }
    if (focused >= 0) ListView_EnsureVisible(listView, placeOf(focused), FALSE);
    InvalidateRect(listView, nullptr, TRUE);
}

void ClassesBox::columnClicked(int column) {
    if (column < 0 || column >= static_cast<int>(kColumnCount)) return;
    // A second click on the same column reverses it.
    descending_ = column == sortColumn_ && !descending_;
    sortColumn_ = column;
    sortRows();
}

void ClassesBox::show(const std::string& folder, Listing listing) {
    folder_ = folder;
    shown_ = std::move(listing);
    arrange();
    HWND listView = item(IDC_CLASSES_LIST);
    SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
    // The list asks for each cell's text as it draws it (LVN_GETDISPINFO).
    ListView_SetItemCountEx(listView, static_cast<int>(shown_.rows.size()), 0);
    ListView_SetItemState(listView, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    const int selected = shown_.openRow >= 0 ? placeOf(shown_.openRow) : shown_.rows.empty() ? -1 : 0;
    if (selected >= 0) {
        ListView_SetItemState(listView, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(listView, selected, FALSE);
    }
    SendMessageW(listView, WM_SETREDRAW, TRUE, 0);
    // Now that the scroll bar is there if the rows need one, the last column
    // reaches the list's right edge: no empty header item beside it to draw.
    const int designed = pixels(hwnd_, kColumns[kOpenColumn].width);
    ListView_SetColumnWidth(listView, kOpenColumn, LVSCW_AUTOSIZE_USEHEADER);
    if (ListView_GetColumnWidth(listView, kOpenColumn) < designed)
        ListView_SetColumnWidth(listView, kOpenColumn, designed);
    InvalidateRect(listView, nullptr, TRUE);

    WString where;
    if (!shown_.listed) {
        where = L"Cannot list " + widen(folder) + L".";
        const WString why = systemErrorText(shown_.error);
        if (!why.empty()) where += L" " + why;
    } else if (shown_.rows.empty()) {
        where = L"No class files in " + widen(folder) + L".";
    } else {
        // The folder's own findings are counted here; `classcfg check` on the
        // folder gives their text.
        const std::vector<Finding>& found = shown_.folderFindings;
        where = L"Class files in " + widen(folder) +
                (found.empty() ? L":" : L" (the folder itself: " + widen(findingsHeading(found)) + L"):");
    }
    SetWindowTextW(item(IDC_CLASSES_WHERE), where.c_str());
    selectionChanged();
}

// Open needs a row; Compare one (against the open class) or two.
void ClassesBox::selectionChanged() {
    const UINT selected = ListView_GetSelectedCount(item(IDC_CLASSES_LIST));
    EnableWindow(item(IDOK), !shown_.rows.empty());
    EnableWindow(item(IDC_CLASSES_COMPARE), selected == 1 || selected == 2);
}

// The row whose file name or class name starts with (or is) what the user
// typed, for the list's type-ahead; -1 when none does.
int ClassesBox::findRow(const NMLVFINDITEMW& find) const {
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
    const WString typed = find.lvfi.psz;
    const bool partial = (find.lvfi.flags & LVFI_PARTIAL) != 0;
    const std::size_t count = order_.size();
    const std::size_t start = find.iStart >= 0 && static_cast<std::size_t>(find.iStart) < count
                                  ? static_cast<std::size_t>(find.iStart) : 0;
    const int length = static_cast<int>(typed.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t place = (start + i) % count;
        if (place < start && !(find.lvfi.flags & LVFI_WRAP)) break;
        const Row& row = shown_.rows[static_cast<std::size_t>(order_[place])];
        for (const WString* name : {&row.cells[kFileColumn], row.read ? &row.cells[kClassColumn] : nullptr}) {
            if (!name || (partial ? name->size() < typed.size() : name->size() != typed.size())) continue;
            if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name->c_str(), length, typed.c_str(), length) ==
                CSTR_EQUAL)
                return static_cast<int>(place);
        }
    }
    return -1;
}

void ClassesBox::openClicked() {
    // The focused row, which the keyboard and the last click leave it on,
    // whether one row is selected or several.
    const int row = rowAt(ListView_GetNextItem(item(IDC_CLASSES_LIST), -1, LVNI_FOCUSED));
    if (row < 0) return;
    chosen_ = joinPath(folder_, shown_.names[static_cast<std::size_t>(row)]);
    EndDialog(hwnd_, IDOK);
}

void ClassesBox::folderClicked() {
    if (std::optional<std::string> folder = pickFolderDialog(hwnd_, folder_))
        show(*folder, read(*folder, openFile_, unsaved_));
}

// Two selected files' differences, upper row to lower, as classcfg diff lists
// them; one selected file against the open class as the editor holds it,
// unsaved changes included.
void ClassesBox::compareClicked() {
    HWND listView = item(IDC_CLASSES_LIST);
    int rows[2] = {-1, -1};
    int count = 0;
    for (int place = -1; (place = ListView_GetNextItem(listView, place, LVNI_SELECTED)) >= 0; ++count)
        if (count < 2) rows[count] = rowAt(place);
    if (count < 1 || count > 2 || rows[0] < 0 || (count == 2 && rows[1] < 0)) return;
    std::vector<std::uint8_t> bytes[2];
    WString sides[2], text;
    for (int i = 0; i < count && text.empty(); ++i) {
        const std::string& name = shown_.names[static_cast<std::size_t>(rows[i])];
        sides[i] = widen(name);
        WString reason;
        if (!fileBytes(joinPath(folder_, name), kCompareCap, bytes[i], reason))
            text = L"Cannot read " + sides[i] + L": " + reason;
    }
    if (count == 1) {
        const auto held = ClassRecord.toBytes();
        bytes[1].assign(held.begin(), held.end());
        sides[1] = unsaved_ ? WString(L"the open class (unsaved)") : widen(fileNameOf(openFile_));
    }
    if (text.empty()) {
        const std::vector<std::string> lines = factChanges(bytes[0], bytes[1]);
        text = lines.empty() ? sides[0] + L" and " + sides[1] + L": no differences."
                             : sides[0] + L" -> " + sides[1] + L":";
        for (const std::string& line : lines) text += L"\r\n" + widen(line);
    }
    CompareBox(std::move(text)).runModal(hwnd_);
    // The box took the focus with it; Enter and the arrows act on the list again.
    SetFocus(item(IDC_CLASSES_LIST));
}

bool ClassesBox::onNotify(fw::Message& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->idFrom != IDC_CLASSES_LIST) return false;
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& wanted = reinterpret_cast<NMLVDISPINFOW*>(m.lParam)->item;
        const int row = rowAt(wanted.iItem);
        const auto column = static_cast<std::size_t>(wanted.iSubItem);
        if ((wanted.mask & LVIF_TEXT) && wanted.pszText && wanted.cchTextMax > 0) {
            const bool known = row >= 0 && wanted.iSubItem >= 0 && column < kColumnCount;
            lstrcpynW(wanted.pszText, known ? shown_.rows[static_cast<std::size_t>(row)].cells[column].c_str() : L"",
                      wanted.cchTextMax);
        }
        return true;
    }
    case LVN_ODFINDITEMW:
        m.result = findRow(*reinterpret_cast<const NMLVFINDITEMW*>(m.lParam));
        return true;
    case LVN_COLUMNCLICK:
        columnClicked(reinterpret_cast<const NMLISTVIEW*>(m.lParam)->iSubItem);
        return true;
    // A click, Ctrl+click or Shift+click (a range, for an owner-data list).
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        selectionChanged();
        return true;
    case NM_DBLCLK:
        // A double click on a row opens it; one beside the rows does nothing.
        if (reinterpret_cast<const NMITEMACTIVATE*>(m.lParam)->iItem >= 0) openClicked();
        return true;
    default:
        return false;
    }
}

}  // namespace kestrane
