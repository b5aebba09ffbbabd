#include "class_editor_app.h"

#include "class_sheet.h"

namespace kestrane {

// The one application object, constructed before WinMain runs.
ClassEditorApp theApp;

bool ClassEditorApp::startUp() {
    enable3dControls();
    ClassSheet* sheet = new ClassSheet();
    mainWindow = sheet;
    if (!sheet->initialLoad()) {
        mainWindow = nullptr;
        delete sheet;
        return false;
    }
    if (!sheet->create(ClassSheet::kStyle, ClassSheet::kExStyle)) {
        // A window that was made and destroyed again has deleted its sheet and
        // cleared the reference; otherwise the sheet is still ours to delete.
        if (mainWindow == sheet) {
            mainWindow = nullptr;
            delete sheet;
        }
        return false;
    }
    ShowWindow(sheet->hwnd(), showState());
    return true;
}

}  // namespace kestrane
