// Commands on the Open and Save As dialogs (Explorer style): the file-name field,
// the file-type list, the entries shown, the OK and Cancel buttons.
#include <windows.h>
#include <commctrl.h>

#include "commands.h"

namespace kestrane {

namespace {

// The file-name field: id 0x47c, an Edit or a ComboBoxEx32 holding one.
HWND fileNameEdit(Driver& d) {
    HWND dlg = d.requireCurrent();
    for (HWND c : children(dlg))
        if (controlId(c) == 0x47c) {
            if (className(c) == "Edit") return c;
            for (HWND e : children(c))
                if (className(e) == "Edit") return e;
        }
    fail(format("%s has no file-name field (id 0x47c)", quote(Driver::caption(dlg)).c_str()));
}

HWND dialogControl(Driver& d, int id, const char* cls) {
    HWND dlg = d.requireCurrent();
    for (HWND c : children(dlg))
        if (controlId(c) == id && lstrcmpiA(className(c).c_str(), cls) == 0 && IsWindowVisible(c)) return c;
    fail(format("%s has no visible %s with id %d", quote(Driver::caption(dlg)).c_str(), cls, id));
}

HWND fileTypes(Driver& d) { return dialogControl(d, 0x470, "ComboBox"); }

}  // namespace

void cmdExpectFilename(Driver& d, const Call& k) {
    HWND e = fileNameEdit(d);
    d.expectValue("file name field", k.a(1), [&] { return d.controlText(e); });
}

void cmdSetFilename(Driver& d, const Call& k) {
    HWND e = fileNameEdit(d);
    std::string p = k.a(1);
    p = winPath(p);  // the dialog refuses '/' in a name
    std::wstring w = widen(p);
    d.send(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
    d.expectValue("file name field after setting it", p, [&] { return d.controlText(e); });
}

void cmdSetFilenameFull(Driver& d, const Call& k) {
    HWND e = fileNameEdit(d);
    std::wstring w = widen(fullPath(k.a(1)));
    d.send(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
}

void cmdExpectFilterSelected(Driver& d, const Call& k) {
    HWND combo = fileTypes(d);
    d.expectValue("selected file type", k.a(1), [&] { return format("%d", int(d.send(combo, CB_GETCURSEL, 0, 0))); });
}

void cmdExpectFilterText(Driver& d, const Call& k) {
    HWND combo = fileTypes(d);
    int index = int(parseNumber(k.a(1), "a list index"));
    d.expectValue(format("file type %d", index), k.a(2), [&] { return comboItem(d, combo, index); });
}

void cmdExpectFilterCount(Driver& d, const Call& k) {
    HWND combo = fileTypes(d);
    d.expectValue("number of file types", k.a(1), [&] { return format("%d", int(d.send(combo, CB_GETCOUNT, 0, 0))); });
}

// How many entries (folders and the files the selected type lets through)
// the file dialog's list shows.
void cmdExpectDialogEntries(Driver& d, const Call& k) {
    HWND dlg = d.requireCurrent();
    d.expectValue("entries in the file list", k.a(1), [&] {
        for (HWND h : children(dlg))
            if (className(h) == "SysListView32" && IsWindowVisible(h))
                return format("%d", int(d.send(h, LVM_GETITEMCOUNT, 0, 0)));
        return std::string("(no file list)");
    });
}

void cmdDialogButton(Driver& d, const Call& k) {
    // Posted: what the click sets off may be a message box or the end of the dialog.
    d.post(dialogControl(d, k.name == "dialog-ok" ? IDOK : IDCANCEL, "Button"), BM_CLICK, 0, 0);
    d.settle(100);
}

}  // namespace kestrane
