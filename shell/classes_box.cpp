#include "classes_box.h"

#include "class_record.h"
#include "file_dialogs.h"
#include "file_io.h"
#include "file_paths.h"
#include "findings.h"
#include "standard_classes.h"
#include "system_library.h"
#include "tally.h"
#include "wide_string.h"

#include <array>
#include <iterator>

namespace kestrane {

const fw::MessageTable ClassesBox::table = {
    &fw::Dialog::table,
    {
        fw::onClicked<&ClassesBox::openClicked>(IDOK),
        fw::onClicked<&ClassesBox::folderClicked>(IDC_CLASSES_FOLDER),
        fw::onMessage<&ClassesBox::onNotify>(WM_NOTIFY),
    }};

namespace {

struct Column {
    const wchar_t* title;
    int width;  // dialog units
};
// "Findings" stands before the last column, the open file's mark.
constexpr Column kColumns[] = {
    {L"File", 58}, {L"Class", 72}, {L"Standard", 78}, {L"Maker", 72}, {L"Findings", 36}, {L"Open", 54},
};
enum { kFileColumn, kClassColumn, kStandardColumn, kMakerColumn, kFindingsColumn, kOpenColumn };
static_assert(std::size(kColumns) == ClassesBox::kColumnCount, "one title per column");

// A column width in the box's dialog units, in pixels at the box's font and resolution.
int pixels(HWND box, int dialogUnits) {
    RECT r{0, 0, dialogUnits, 0};
    MapDialogRect(box, &r);
    return r.right;
}

// The file's record as Open would read it (a short file leaves zeros behind
// its end); without touching the editor's own record or its unsaved flag.
// False with the system's reason when it cannot be read.
bool readRow(const std::string& path, ClassData& record, WString& reason) {
    std::vector<std::uint8_t> bytes;
    unsigned long error = 0;
    try {
        if (!lookAtFile(path, kClassFileSize, bytes, error)) {
            reason = systemErrorText(error);
            return false;
        }
    } catch (const FileError& e) {
        reason = systemErrorText(e.systemError());
        return false;
    }
    record.fromBytes(bytes.data(), bytes.size());
    return true;
}

// The header's items drawn flat, as the system's theme draws a header item at
// rest: a plain field, the title and a thin line at the column's edge. The
// theme's own drawing of six items cost Wine more than all the rows together.
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
    const int oldMode = SetBkMode(draw.hdc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(draw.hdc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(draw.hdc, title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SetTextColor(draw.hdc, oldColour);
    SetBkMode(draw.hdc, oldMode);
}

LRESULT CALLBACK listWithFlatHeader(HWND list, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_NOTIFY) {
        const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(lp);
        HWND header = ListView_GetHeader(list);
        if (draw->hdr.hwndFrom == header && draw->hdr.code == NM_CUSTOMDRAW) {
            if (draw->dwDrawStage == CDDS_PREPAINT) return headerDrawnFlat() ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
            if (draw->dwDrawStage == CDDS_ITEMPREPAINT && !(draw->uItemState & (CDIS_SELECTED | CDIS_HOT))) {
                drawHeaderItem(header, *draw);
                return CDRF_SKIPDEFAULT;
            }
            return CDRF_DODEFAULT;
        }
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(list, listWithFlatHeader, 0);
    }
    return DefSubclassProc(list, msg, wp, lp);
}

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
        Row& cells = l.rows[row];
        cells[kFileColumn] = widen(name);
        ClassData record;
        WString reason;
        if (readRow(path, record, reason)) {
            cells[kClassColumn] = widen(record.nameUtf8());
            cells[kMakerColumn] = widen(makerText(tallyClass(record)));
            cells[kFindingsColumn] = widen(std::to_string(findingCount(record, name)));
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
    SetWindowSubclass(listView, listWithFlatHeader, 0, 0);
    int column = 0;
    for (const Column& c : kColumns) {
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvc.pszText = const_cast<LPWSTR>(c.title);
        lvc.cx = pixels(hwnd_, c.width);
        lvc.iSubItem = column;
        ListView_InsertColumn(listView, column++, &lvc);
    }
    show(folder_, read(folder_, openFile_, unsaved_));
    centreOnOwner();
    SetFocus(listView);
    return false;
}

void ClassesBox::show(const std::string& folder, Listing listing) {
    folder_ = folder;
    shown_ = std::move(listing);
    HWND listView = item(IDC_CLASSES_LIST);
    SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
    // The list asks for each cell's text as it draws it (LVN_GETDISPINFO).
    ListView_SetItemCountEx(listView, static_cast<int>(shown_.rows.size()), 0);
    ListView_SetItemState(listView, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    const int selected = shown_.openRow >= 0 ? shown_.openRow : shown_.rows.empty() ? -1 : 0;
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
    EnableWindow(item(IDOK), !shown_.rows.empty());
}

// The row whose file name starts with (or is) what the user typed, for the
// list's type-ahead; -1 when none does.
int ClassesBox::findRow(const NMLVFINDITEMW& find) const {
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
    const WString typed = find.lvfi.psz;
    const bool partial = (find.lvfi.flags & LVFI_PARTIAL) != 0;
    const std::size_t count = shown_.rows.size();
    const std::size_t start = find.iStart >= 0 && static_cast<std::size_t>(find.iStart) < count
                                  ? static_cast<std::size_t>(find.iStart) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t row = (start + i) % count;
        if (row < start && !(find.lvfi.flags & LVFI_WRAP)) break;
        const WString& name = shown_.rows[row][kFileColumn];
        if (partial ? name.size() < typed.size() : name.size() != typed.size()) continue;
        const int length = static_cast<int>(typed.size());
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.c_str(), length, typed.c_str(), length) ==
            CSTR_EQUAL)
            return static_cast<int>(row);
    }
    return -1;
}

void ClassesBox::openClicked() {
    const int row = ListView_GetNextItem(item(IDC_CLASSES_LIST), -1, LVNI_SELECTED);
    if (row < 0 || row >= static_cast<int>(shown_.rows.size())) return;
    chosen_ = joinPath(folder_, shown_.names[static_cast<std::size_t>(row)]);
    EndDialog(hwnd_, IDOK);
}

void ClassesBox::folderClicked() {
    if (std::optional<std::string> folder = pickFolderDialog(hwnd_, folder_))
        show(*folder, read(*folder, openFile_, unsaved_));
}

bool ClassesBox::onNotify(fw::Message& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->idFrom != IDC_CLASSES_LIST) return false;
    if (header->code == LVN_GETDISPINFOW) {
        LVITEMW& wanted = reinterpret_cast<NMLVDISPINFOW*>(m.lParam)->item;
        const auto row = static_cast<std::size_t>(wanted.iItem);
        const auto column = static_cast<std::size_t>(wanted.iSubItem);
        if ((wanted.mask & LVIF_TEXT) && wanted.pszText && wanted.cchTextMax > 0) {
            const bool known =
                wanted.iItem >= 0 && row < shown_.rows.size() && wanted.iSubItem >= 0 && column < kColumnCount;
            lstrcpynW(wanted.pszText, known ? shown_.rows[row][column].c_str() : L"", wanted.cchTextMax);
        }
        return true;
    }
    if (header->code == LVN_ODFINDITEMW) {
        m.result = findRow(*reinterpret_cast<const NMLVFINDITEMW*>(m.lParam));
        return true;
    }
    if (header->code != NM_DBLCLK) return false;
    // A double click on a row opens it; one beside the rows does nothing.
    if (reinterpret_cast<const NMITEMACTIVATE*>(m.lParam)->iItem >= 0) openClicked();
    return true;
}

}  // namespace kestrane
