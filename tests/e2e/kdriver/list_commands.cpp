// Commands on lists: a combo box's choice and entries, a list-view's rows, cells
// and selection.
#include <windows.h>
#include <commctrl.h>

#include "commands.h"
#include "remote.h"

namespace kestrane {

// The entry's text, through the wide message (the narrow one comes back
// unconverted across processes).
std::string comboItem(Driver& d, HWND combo, int index) {
    LRESULT len = d.send(combo, CB_GETLBTEXTLEN, index, 0);
    if (len == CB_ERR) fail(format("the list has no item %d", index));
    std::wstring buf(size_t(len) + 2, L'\0');
    LRESULT got = d.send(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&buf[0]));
    if (got == CB_ERR) fail(format("CB_GETLBTEXT failed for item %d", index));
    buf.resize(size_t(got));
    return narrow(buf);
}

void cmdChoose(Driver& d, const Call& k) {
    HWND combo = d.control(k.a(1));
    long index = parseNumber(k.a(2), "a list index");
    long count = long(d.send(combo, CB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) fail(format("the list has %ld entries, no %ld", count, index));
    if (d.send(combo, CB_SETCURSEL, index, 0) != index) fail("CB_SETCURSEL failed");
    // CB_SETCURSEL notifies nobody; a user's choice sends CBN_SELCHANGE.
    WPARAM wp = MAKEWPARAM(controlId(combo), CBN_SELCHANGE);
    if (k.name == "choose")
        d.send(GetParent(combo), WM_COMMAND, wp, reinterpret_cast<LPARAM>(combo));
    else
        d.post(GetParent(combo), WM_COMMAND, wp, reinterpret_cast<LPARAM>(combo)), d.settle(100);
}

void cmdExpectSelection(Driver& d, const Call& k) {
    expectAnswer(d, k, "selection of list", CB_GETCURSEL, k.a(2) == "none" ? "-1" : k.a(2));
}

void cmdExpectCount(Driver& d, const Call& k) { expectAnswer(d, k, "entries of list", CB_GETCOUNT, k.a(2)); }

void cmdExpectItem(Driver& d, const Call& k) {
    HWND combo = d.control(k.a(1));
    int index = int(parseNumber(k.a(2), "a list index"));
    d.expectValue(format("entry %d of list %s", index, k.a(1).c_str()), k.a(3),
                  [&] { return comboItem(d, combo, index); });
}

// ---- list-views (a report list's rows and cells) --------------------------------------

namespace {

HWND listView(Driver& d, const std::string& idText) {
    HWND h = d.control(idText);
    if (className(h) != "SysListView32")
        fail(format("control %s is a %s, not a list-view", idText.c_str(), className(h).c_str()));
    return h;
}

// A cell's text.
std::string listCell(Driver& d, HWND lv, int row, int column) {
    LVITEMW item = {};
    item.iSubItem = column;
    std::string text;
    remoteItemText(d, lv, LVM_GETITEMTEXTW, WPARAM(row), item, text);  // the text's length; 0 for an empty cell
    return text;
}

}  // namespace

void cmdExpectListRows(Driver& d, const Call& k) { expectAnswer(d, k, "rows of list-view", LVM_GETITEMCOUNT, k.a(2)); }

void cmdExpectListCell(Driver& d, const Call& k) {
    HWND lv = listView(d, k.a(1));
    int row = int(parseNumber(k.a(2), "a row")), column = int(parseNumber(k.a(3), "a column"));
    d.expectValue(format("cell %d,%d of list-view %s", row, column, k.a(1).c_str()), k.a(4), [&] {
        int rows = int(d.send(lv, LVM_GETITEMCOUNT, 0, 0));
        return row < rows ? listCell(d, lv, row, column) : format("(no row %d: %d rows)", row, rows);
    });
}

void cmdExpectListSelected(Driver& d, const Call& k) {
    HWND lv = listView(d, k.a(1));
    std::string want = k.a(2) == "none" ? "-1" : k.a(2);
    d.expectValue(format("selected row of list-view %s", k.a(1).c_str()), want,
                  [&] { return format("%d", int(d.send(lv, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED))); });
}

// As a user's click on the row: it alone selected, and the focus on it.
void cmdSelectListRow(Driver& d, const Call& k) {
    HWND lv = listView(d, k.a(1));
    long row = parseNumber(k.a(2), "a row");
    long rows = long(d.send(lv, LVM_GETITEMCOUNT, 0, 0));
    if (row < 0 || row >= rows) fail(format("the list-view has %ld rows, no %ld", rows, row));
    Remote mem(d.proc.hProcess, sizeof(LVITEMW));
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    mem.write(&item, sizeof item);
    d.send(lv, LVM_SETITEMSTATE, WPARAM(-1), mem.at());  // every row cleared
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    mem.write(&item, sizeof item);
    if (!d.send(lv, LVM_SETITEMSTATE, row, mem.at())) fail(format("LVM_SETITEMSTATE failed for row %ld", row));
    d.send(lv, LVM_ENSUREVISIBLE, row, FALSE);
}

// ---- a list-view's header and several rows (sorting, comparing) ------------------------

namespace {

HWND listHeader(Driver& d, HWND lv, long column) {
    HWND header = reinterpret_cast<HWND>(d.send(lv, LVM_GETHEADER, 0, 0));
    long columns = header ? long(d.send(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    if (column < 0 || column >= columns) fail(format("the list-view has %ld columns, no %ld", columns, column));
    return header;
}

}  // namespace

// As a user's click on the column's header item: the button pressed and
// released over its middle, so the header itself notifies the list.
void cmdClickHeader(Driver& d, const Call& k) {
    HWND lv = listView(d, k.a(1));
    long column = parseNumber(k.a(2), "a column");
    HWND header = listHeader(d, lv, column);
    Remote mem(d.proc.hProcess, sizeof(RECT));
    RECT r = {};
    if (!d.send(header, HDM_GETITEMRECT, WPARAM(column), mem.at())) fail("HDM_GETITEMRECT failed");
    mem.read(&r, sizeof r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    d.send(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    d.send(header, WM_LBUTTONUP, 0, at);
}

void cmdExpectHeaderSort(Driver& d, const Call& k) {
    HWND lv = listView(d, k.a(1));
    long column = parseNumber(k.a(2), "a column");
    HWND header = listHeader(d, lv, column);
    d.expectValue(format("sort arrow of column %ld", column), k.a(3), [&] {
        Remote mem(d.proc.hProcess, sizeof(HDITEMW));
        HDITEMW item = {};
        item.mask = HDI_FORMAT;
        mem.write(&item, sizeof item);
        d.send(header, HDM_GETITEMW, WPARAM(column), mem.at());
        mem.read(&item, sizeof item);
        return std::string(item.fmt & HDF_SORTUP ? "up" : item.fmt & HDF_SORTDOWN ? "down" : "none");
    });
}

// A column's cells from the top, joined by "|": a sort's order in one line.
void cmdExpectListColumn(Driver& d, const Call& k) {
    HWND lv = listView(d, k.a(1));
    int column = int(parseNumber(k.a(2), "a column"));
    d.expectValue(format("column %d of list-view %s", column, k.a(1).c_str()), k.a(3), [&] {
        std::string all;
        int rows = int(d.send(lv, LVM_GETITEMCOUNT, 0, 0));
        for (int r = 0; r < rows; ++r) all += (r ? "|" : "") + listCell(d, lv, r, column);
        return all;
    });
}

// As Ctrl+clicks: these rows alone selected, the focus on the last.
void cmdSelectRows(Driver& d, const Call& k) {
    HWND lv = listView(d, k.a(1));
    long rows = long(d.send(lv, LVM_GETITEMCOUNT, 0, 0));
    Remote mem(d.proc.hProcess, sizeof(LVITEMW));
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    mem.write(&item, sizeof item);
    d.send(lv, LVM_SETITEMSTATE, WPARAM(-1), mem.at());
    for (size_t i = 2; i <= k.argc; ++i) {
        long row = parseNumber(k.a(i), "a row");
        if (row < 0 || row >= rows) fail(format("the list-view has %ld rows, no %ld", rows, row));
        item.state = LVIS_SELECTED | (i == k.argc ? LVIS_FOCUSED : 0);
        mem.write(&item, sizeof item);
        if (!d.send(lv, LVM_SETITEMSTATE, row, mem.at())) fail(format("LVM_SETITEMSTATE failed for row %ld", row));
    }
}

}  // namespace kestrane
