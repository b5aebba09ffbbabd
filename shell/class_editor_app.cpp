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
    sheet->showFileInCaption();
    ShowWindow(sheet->hwnd(), showState());
    return true;
}

// Whatever a message changed (an edit, Open, Save As, Save), the caption
// follows it.
void ClassEditorApp::afterMessage() {
    if (mainWindow) static_cast<ClassSheet*>(mainWindow)->showFileInCaption();
}

}  // namespace kestrane
